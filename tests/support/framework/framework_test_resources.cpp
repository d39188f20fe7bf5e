#include "framework_test_resources.h"

#include <array>
#include <cstdint>
#include <string>

#include "platform/ui/common_controls.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/win_app.h"

namespace fw_test {
namespace {

constexpr std::array<DialogItemTemplate, 4> kMainItems = {{
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 150, 10, 40, 14, kButtonId, WC_BUTTON, "&List"},
    {0, WS_EX_CLIENTEDGE, WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS, 10, 10, 60, 60, kTreeId, WC_TREEVIEW,
     "Tree1"},
    {0, 0, WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT, 80, 10, 60, 60, kListId, WC_LISTBOX, ""},
    {0, 0, WS_VISIBLE | BS_GROUPBOX, 5, 75, 190, 20, kGroupId, WC_BUTTON, "Group"},
}};

constexpr DialogTemplate kMainDialog = {
    true,
    0,
    WS_EX_APPWINDOW,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT,
    0,
    0,
    200,
    100,
    kMainMenuId,
    nullptr,
    "Framework Test",
    8,
    400,
    0,
    0,
    "MS Sans Serif",
    kMainItems};

constexpr std::array<DialogItemTemplate, 1> kPopupItems = {{
    {0, 0, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 10, 40, 14, static_cast<DWORD>(IDOK), WC_BUTTON, "OK"},
}};

constexpr DialogTemplate kPopupDialog = {
    true,       0,       0,       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,          0,       80,      40,
    0,          nullptr, "Popup", 8,
    400,        0,       0,       "MS Sans Serif",
    kPopupItems};

constexpr std::array<MenuItemTemplate, 1> kFileItems = {{{0, ID_APP_EXIT, "E&xit", {}}}};
constexpr std::array<MenuItemTemplate, 2> kIconItems = {{{0, kCmdClear, "&Clear", {}}, {0, kCmdSave, "&Save", {}}}};
constexpr std::array<MenuItemTemplate, 2> kMenuBar = {
    {{MF_POPUP, 0, "&File", kFileItems}, {MF_POPUP, 0, "&Icons", kIconItems}}};
constexpr MenuTemplate kMainMenu = {kMenuBar};

constexpr std::array<WORD, 3> kToolbarItems = {static_cast<WORD>(ID_APP_EXIT), static_cast<WORD>(kCmdClear),
                                               static_cast<WORD>(kCmdSave)};
constexpr ToolbarTemplate kToolbar = {16, 16, kToolbarItems};

constexpr std::array<std::uint32_t, 2> kPalette = {0xFFC0C0C0u, 0xFF000080u};
const std::string kIndices(std::size_t{48} * 16, '1');
const BitmapResource kToolbarBitmap = {48, 16, {}, kPalette, kIndices.c_str()};

constexpr std::array<StringResource, 4> kStrings = {{
    {ID_APP_EXIT, "Exit the test\nExit"},
    {kCmdClear, "Clear the list\nClear list"},
    {kCmdSave, "Save the icons\nSave icons"},
    {AFX_IDS_APP_TITLE, "Framework Test"},
}};

constexpr std::array<ResourceEntry<DialogTemplate>, 2> kDialogs = {
    {{kMainDialogId, &kMainDialog}, {kPopupDialogId, &kPopupDialog}}};
constexpr std::array<ResourceEntry<MenuTemplate>, 1> kMenus = {{{kMainMenuId, &kMainMenu}}};
constexpr std::array<ResourceEntry<ToolbarTemplate>, 1> kToolbars = {{{kToolbarId, &kToolbar}}};
const std::array<ResourceEntry<BitmapResource>, 1> kBitmaps = {{{kToolbarId, &kToolbarBitmap}}};

const ResourceTable kTable = {kStrings, kDialogs, kMenus, {}, kToolbars, kBitmaps, {}};

}  // namespace

const ResourceTable& Resources() { return kTable; }

}  // namespace fw_test
