#pragma once
// Shared helpers of the layer's GUI tests: running the event loop for a
// while, and a resource table with a main-window-like template.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>

#include "platform/ui/common_controls.h"
#include "platform/ui/resources.h"

// Runs the event loop for ms milliseconds (it blocks in between, so the idle pass runs).
inline void Pump(int ms = 0) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until done() or the time-out; answers done().
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  poll.start(5);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
  return done();
}

namespace test_resources {

inline constexpr UINT kMainDialog = 500;
inline constexpr UINT kMainMenu = 130;
inline constexpr UINT kPopupMenu = 129;
inline constexpr UINT kAccelerators = 137;
inline constexpr UINT kToolbar = 128;

inline const DialogItemTemplate kMainItems[] = {
    {0, 0, BS_GROUPBOX | WS_VISIBLE, 7, 3, 293, 88, 1088, "BUTTON", "&Path selector"},
    {0, WS_EX_CLIENTEDGE,
     WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 12, 12,
     144, 73, 1001, "SysTreeView32", "Tree1"},
    {0, 0,
     WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL,
     160, 12, 84, 73, 1034, "LISTBOX", ""},
    {0, 0, BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 248, 12, 39, 14, 1000, "BUTTON", "&List Icon"},
    {0, 0, SS_CENTER | WS_GROUP | WS_VISIBLE, 248, 33, 46, 8, 1091, "STATIC", "File &type:"},
    {0, 0, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE, 248, 44, 46, 52, 1089, "COMBOBOX", ""},
    {0, 0, BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE, 248, 64, 48, 10, 1017, "BUTTON", "&Recursive"},
    {0, 0, BS_GROUPBOX | WS_VISIBLE, 7, 95, 293, 88, 1090, "BUTTON", "I&con List"},
    {0, 0, LVS_ICON | LVS_AUTOARRANGE | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 12, 104, 281, 72, 1002, "SysListView32",
     "List1"},
};

inline const DialogTemplate kMain{
    true,
    0,
    WS_EX_APPWINDOW,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT,
    0,
    0,
    307,
    190,
    kMainMenu,
    nullptr,
    "Glimra",
    8,
    400,
    0,
    0,
    "MS Sans Serif",
    kMainItems};

inline const MenuItemTemplate kFileItems[] = {{MF_STRING, 57665, "E&xit", {}}};
inline const MenuItemTemplate kIconItems[] = {
    {MF_STRING, 32771, "&Clear", {}}, {MF_STRING, 32772, "Save &As...", {}}, {MF_STRING, 32776, "&Info", {}}};
inline const MenuItemTemplate kHelpItems[] = {
    {MF_STRING, 57667, "&Help Topics", {}}, {MF_SEPARATOR, 0, nullptr, {}}, {MF_STRING, 57664, "&About Glimra...", {}}};
inline const MenuItemTemplate kBar[] = {
    {MF_POPUP, 0, "&File", kFileItems}, {MF_POPUP, 0, "&Icons", kIconItems}, {MF_POPUP, 0, "&Help", kHelpItems}};
inline const MenuItemTemplate kPop[] = {{MF_POPUP, 0, "Pop", kIconItems}};
inline const MenuTemplate kBarMenu{kBar};
inline const MenuTemplate kPopMenu{kPop};

inline const AcceleratorEntry kAccelEntries[] = {{FVIRTKEY | FCONTROL, 'I', 32776}};
inline const AcceleratorTable kAccel{kAccelEntries};

inline const WORD kToolbarItems[] = {57665, 32771, 0, 32772, 32776, 57664};
inline const ToolbarTemplate kToolbarTemplate{16, 16, kToolbarItems};
inline const std::uint32_t kPalette[] = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
// Five 16 x 16 buttons side by side, each one colour.
inline const std::string kToolbarPixels = [] {
  std::string s;
  for (int y = 0; y < 16; ++y)
    for (int b = 0; b < 5; ++b) s += std::string(16, static_cast<char>('0' + b));
  return s;
}();
inline const BitmapResource kToolbarBitmap{80, 16, {}, kPalette, kToolbarPixels.c_str()};

inline const StringResource kStrings[] = {
    {57344, "Glimra"},
    {101, "&About Glimra..."},
    {32771, "Clear Icon list\nClear list"},
    {32772, "Save selected icons\nSave icons"},
    {32776, "Display Icon info\nDisplay Icon Info"},
    {57664, "Display information about application\nAbout"},
    {57665, "Exit Glimra\nExit"},
    {57667, "List Help topics\nHelp Topics"},
};

inline const ResourceEntry<DialogTemplate> kDialogs[] = {{kMainDialog, &kMain}};
inline const ResourceEntry<MenuTemplate> kMenus[] = {{kMainMenu, &kBarMenu}, {kPopupMenu, &kPopMenu}};
inline const ResourceEntry<AcceleratorTable> kAccels[] = {{kAccelerators, &kAccel}};
inline const ResourceEntry<ToolbarTemplate> kToolbars[] = {{kToolbar, &kToolbarTemplate}};
inline const ResourceEntry<BitmapResource> kBitmaps[] = {{kToolbar, &kToolbarBitmap}};

inline const ResourceTable kTable{kStrings, kDialogs, kMenus, kAccels, kToolbars, kBitmaps, {}};

}  // namespace test_resources
