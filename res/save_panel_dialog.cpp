// Dialog template 136: the panel the save dialog shows above its own
// controls, with a preview of the icon being saved, its source and its
// identifier. The standard controls take the place of the placeholder
// stc32, below the preview row.

#include "platform/ui/common_controls.h"
#include "platform/ui/save_file_dialog.h"
#include "res/resource_data.h"
#include "res/resource_ids.h"

namespace {

constexpr DialogItemTemplate kItems[] = {
    {0, 0, WS_VISIBLE | SS_GRAYFRAME | SS_SUNKEN, 11, 11, 20, 20, IDC_SAVE_ICON_FRAME, "STATIC", ""},
    {0, 0, WS_VISIBLE | SS_LEFT, 36, 13, 41, 8, static_cast<DWORD>(-1), "STATIC", "Source path:"},
    {0, 0, WS_VISIBLE | SS_LEFT, 81, 13, 168, 8, IDC_SAVE_SOURCE, "STATIC", ""},
    {0, 0, WS_VISIBLE | SS_LEFT, 7, 39, 247, 22, static_cast<DWORD>(stc32), "STATIC", ""},
    {0, 0, WS_VISIBLE | SS_LEFT, 51, 22, 26, 8, static_cast<DWORD>(-1), "STATIC", "Icon ID:"},
    {0, 0, WS_VISIBLE | SS_LEFT, 82, 22, 168, 8, IDC_SAVE_ICON_ID, "STATIC", ""},
};

}  // namespace

const DialogTemplate kSavePanelDialogTemplate = {
    .extended = false,
    .helpId = 0,
    .exStyle = 0,
    .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | DS_3DLOOK | DS_CONTROL | DS_SETFONT,
    .x = 0,
    .y = 0,
    .cx = 261,
    .cy = 69,
    .menuId = 0,
    .windowClass = nullptr,
    .caption = "",
    .pointSize = 8,
    .weight = 0,
    .italic = 0,
    .charset = 0,
    .typeface = "MS Sans Serif",
    .items = kItems,
};
