// Dialog template 501, "Icon Info": one icon group's source, identifier and
// image count, and the chosen image's size, depth and preview. The numbers
// in the texts are placeholders the dialog replaces before it shows.

#include "platform/ui/common_controls.h"
#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

// Text statics carry WS_GROUP as the resource compiler gives them; only OK
// and the combo box are tab stops.
constexpr DWORD kLabel = WS_VISIBLE | WS_GROUP;

constexpr DialogItemTemplate kItems[] = {
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 178, 7, 50, 14, IDOK, "BUTTON", "OK"},
    {0, 0, kLabel | SS_RIGHT, 31, 9, 31, 8, static_cast<DWORD>(-1), "STATIC", "Source:"},
    {0, 0, kLabel | SS_LEFT, 66, 9, 108, 8, IDC_INFO_SOURCE, "STATIC", ""},
    {0, 0, kLabel | SS_RIGHT, 52, 45, 10, 8, static_cast<DWORD>(-1), "STATIC", "ID:"},
    {0, 0, kLabel | SS_LEFT, 66, 45, 29, 8, IDC_INFO_ID, "STATIC", "12345"},
    {0, 0, kLabel | SS_RIGHT, 42, 54, 20, 8, static_cast<DWORD>(-1), "STATIC", "Width:"},
    {0, 0, kLabel | SS_LEFT, 66, 54, 22, 8, IDC_INFO_WIDTH, "STATIC", "166"},
    {0, 0, kLabel | SS_RIGHT, 40, 63, 22, 8, static_cast<DWORD>(-1), "STATIC", "Height:"},
    {0, 0, kLabel | SS_LEFT, 66, 63, 22, 8, IDC_INFO_HEIGHT, "STATIC", "123"},
    {0, 0, kLabel | SS_RIGHT, 40, 73, 22, 8, static_cast<DWORD>(-1), "STATIC", "Bit/Pix:"},
    {0, 0, kLabel | SS_LEFT, 66, 73, 22, 8, IDC_INFO_BITS, "STATIC", "7"},
    {0, 0, kLabel | SS_LEFT, 10, 19, 54, 8, static_cast<DWORD>(-1), "STATIC", "Number of Image:"},
    {0, 0, kLabel | SS_LEFT, 68, 19, 22, 8, IDC_INFO_COUNT, "STATIC", "1"},
    {0, 0, WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL, 10, 29, 93, 51, IDC_INFO_IMAGES,
     "COMBOBOX", ""},
    {0, 0, WS_VISIBLE | SS_ETCHEDFRAME | SS_SUNKEN, 108, 20, 60, 60, IDC_INFO_PREVIEW, "STATIC", ""},
};

}  // namespace

const DialogTemplate kIconInfoDialogTemplate = {
    .extended = false,
    .helpId = 0,
    .exStyle = 0,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    .x = 0,
    .y = 0,
    .cx = 235,
    .cy = 93,
    .menuId = 0,
    .windowClass = nullptr,
    .caption = "Icon Info",
    .pointSize = 8,
    .weight = 0,
    .italic = 0,
    .charset = 0,
    .typeface = "MS Sans Serif",
    .items = kItems,
};
