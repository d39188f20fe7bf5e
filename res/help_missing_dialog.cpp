// Dialog template 503, "Glimra Help": shown when help cannot be displayed,
// offering the on-line help page instead.

#include "platform/ui/common_controls.h"
#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

// The first text runs "system.This" together as the dialog has always shown
// it.
constexpr DialogItemTemplate kItems[] = {
    {0, 0, WS_VISIBLE | SS_LEFT | WS_GROUP, 47, 11, 143, 24, static_cast<DWORD>(-1), "STATIC",
     "Glimra is using HTML Help as help system.This feature does not seem to be installed."},
    {0, 0, WS_VISIBLE | SS_CENTER | WS_GROUP, 47, 35, 88, 8, static_cast<DWORD>(-1), "STATIC",
     "Would you like to access the "},
    {0, 0, WS_VISIBLE | SS_CENTER, 135, 35, 60, 8, IDC_HELP_LINK, "STATIC", "on-line help system."},
    {0, 0, WS_VISIBLE | WS_DISABLED | BS_OWNERDRAW, 11, 11, 30, 30, IDC_HELP_BIG_ICON, "BUTTON", ""},
};

}  // namespace

const DialogTemplate kHelpMissingDialogTemplate = {
    .extended = false,
    .helpId = 0,
    .exStyle = 0,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CONTEXTHELP | DS_MODALFRAME | DS_SETFONT,
    .x = 0,
    .y = 0,
    .cx = 212,
    .cy = 57,
    .menuId = 0,
    .windowClass = nullptr,
    .caption = "Glimra Help",
    .pointSize = 8,
    .weight = 0,
    .italic = 0,
    .charset = 0,
    .typeface = "MS Sans Serif",
    .items = kItems,
};
