// Dialog template 500, the main window: rectangles in dialog units, controls
// in tab order.

#include "platform/ui/common_controls.h"
#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

// Every control is visible: the resource compiler adds WS_VISIBLE to each
// control statement unless told otherwise.
constexpr DialogItemTemplate kItems[] = {
    {0, 0, WS_VISIBLE | BS_GROUPBOX, 7, 3, 293, 88, IDC_PATH_SELECTOR, "BUTTON", "&Path selector"},
    {0, WS_EX_CLIENTEDGE,
     WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 12, 12,
     144, 73, IDC_FOLDER_TREE, "SysTreeView32", "Tree1"},
    {0, 0,
     WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL,
     160, 12, 84, 73, IDC_FILE_LIST, "LISTBOX", ""},
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 248, 12, 39, 14, IDC_LIST_ICON, "BUTTON", "&List Icon"},
    {0, 0, WS_VISIBLE | WS_GROUP | SS_CENTER, 248, 33, 46, 8, IDC_FILE_TYPE_LABEL, "STATIC", "File &type:"},
    {0, 0, WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 248, 44, 46, 52, IDC_FILE_TYPE, "COMBOBOX", ""},
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 248, 64, 48, 10, IDC_RECURSIVE, "BUTTON", "&Recursive"},
    {0, 0, WS_VISIBLE | BS_GROUPBOX, 7, 95, 293, 88, IDC_ICON_LIST_GROUP, "BUTTON", "I&con List"},
    {0, 0, WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE, 12, 104, 281, 72, IDC_ICON_LIST,
     "SysListView32", "List1"},
};

}  // namespace

const DialogTemplate kMainDialogTemplate = {
    .extended = true,
    .helpId = 0,
    .exStyle = WS_EX_APPWINDOW,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT,
    .x = 0,
    .y = 0,
    .cx = 307,
    .cy = 190,
    .menuId = IDR_MAIN_MENU,
    .windowClass = nullptr,
    .caption = "Glimra",
    .pointSize = 8,
    .weight = 0,
    .italic = 0,
    .charset = 0,
    .typeface = "MS Sans Serif",
    .items = kItems,
};
