// The main window as the application creates it: controls, menus, bars,
// the system menu, the sizing rules, Enter and Escape, the About box from
// every place it opens from, and the command states.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "mainwnd/glimra_dlg.h"
#include "mainwnd/main_bars.h"
#include "mainwnd/minimized_icon.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/menu.h"
#include "platform/ui/qt_bridge.h"
#include "tests/program_support/app_test_support.h"

namespace {

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(50);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override { DestroyMainWindow(); }
  [[nodiscard]] bool Alive() const { return theApp.m_pMainWnd == dlg && IsWindow(dlg->GetSafeHwnd()); }

  CGlimraDlg* dlg = nullptr;
};

void PressKey(HWND target, int key) {
  QWidget* widget = WidgetOfWindow(target);
  ASSERT_NE(widget, nullptr);
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

std::vector<std::string> MenuLines(const CMenu& menu, const std::string& indent = "") {
  std::vector<std::string> lines;
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    const auto pos = static_cast<UINT>(i);
    CString text;
    // MF_BYPOSITION says how the first argument is read; the check takes its
    // likeness to the parameter's name "idOrPosition" for a swap.
    menu.GetMenuString(pos, text, MF_BYPOSITION);                // NOLINT(readability-suspicious-call-argument)
    if (menu.GetMenuState(pos, MF_BYPOSITION) & MF_SEPARATOR) {  // NOLINT(readability-suspicious-call-argument)
      lines.push_back(indent + "-");
    } else if (CMenu* sub = menu.GetSubMenu(i)) {
      lines.push_back(indent + text.str());
      for (const std::string& line : MenuLines(*sub, indent + "  ")) lines.push_back(line);
    } else {
      lines.push_back(indent + text.str() + "=" + std::to_string(menu.GetMenuItemID(i)));
    }
  }
  return lines;
}

bool UpdateEnables(UINT id) {
  RecordingCmdUI cmdUI(id);
  EXPECT_TRUE(theApp.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &cmdUI, nullptr)) << id;
  return cmdUI.enabled;
}

TEST_F(MainWindow, ControlsAreBoundWithTheirCaptionsAndStyles) {
  struct Row {
    int id;
    const CWnd& member;
    const char* text;  // null: not compared (the views show no caption)
    DWORD style;
  };
  const Row rows[] = {
      {1017, dlg->m_chkRecursive, "&Recursive", WS_TABSTOP | BS_AUTOCHECKBOX},
      {1001, dlg->m_treeFolders, nullptr, WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT},
      {1088, dlg->m_grpPathSelector, "&Path selector", BS_GROUPBOX},
      {1090, dlg->m_grpIconList, "I&con List", BS_GROUPBOX},
      {1091, dlg->m_lblFileType, "File &type:", SS_CENTER},
      {1002, dlg->m_lvIcons, nullptr, WS_TABSTOP | LVS_AUTOARRANGE},
      {1034, dlg->m_lstFiles, nullptr, WS_VSCROLL | LBS_SORT | LBS_EXTENDEDSEL | LBS_NOTIFY},
      {1089, dlg->m_cboFileType, nullptr, WS_TABSTOP | CBS_DROPDOWN},
      {1000, dlg->m_btnListIcon, "&List Icon", WS_TABSTOP},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    CWnd* control = dlg->GetDlgItem(row.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(row.member.GetSafeHwnd(), control->GetSafeHwnd());
    EXPECT_TRUE(control->IsWindowVisible());
    // "List Icon" waits for a pattern and files or "Recursive".
    EXPECT_EQ(control->IsWindowEnabled() != FALSE, row.id != 1000);
    EXPECT_EQ(control->GetStyle() & row.style, row.style);
    if (row.text != nullptr) {
      CString text;
      control->GetWindowText(text);
      EXPECT_EQ(text.str(), row.text);
    }
  }
}

TEST_F(MainWindow, FrameCaptionIconAndInitialState) {
  CString caption;
  dlg->GetWindowText(caption);
  EXPECT_EQ(caption.str(), "Glimra");
  const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  EXPECT_EQ(dlg->GetStyle() & frame, frame);
  EXPECT_EQ(dlg->GetExStyle() & WS_EX_APPWINDOW, WS_EX_APPWINDOW);

  ASSERT_NE(dlg->m_hIcon, nullptr);
  EXPECT_EQ(dlg->GetIcon(TRUE), dlg->m_hIcon);
  EXPECT_EQ(dlg->SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg->m_hIcon));

  EXPECT_EQ(dlg->m_chkRecursive.GetCheck(), static_cast<int>(BST_UNCHECKED));
  EXPECT_FALSE(dlg->m_bCanList);
  EXPECT_EQ(dlg->m_hWorkerThread, nullptr);
  EXPECT_NE(dlg->m_hStartedEvent, nullptr);
  EXPECT_NE(dlg->m_hStopEvent, nullptr);
  EXPECT_EQ(WaitForSingleObject(dlg->m_hStartedEvent, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(dlg->m_hStopEvent, 0), WAIT_TIMEOUT);
  EXPECT_GT(dlg->m_treeFolders.GetCount(), 0u);

  ASSERT_NE(dlg->m_pImageList, nullptr);
  EXPECT_EQ(dlg->m_lvIcons.GetImageList(LVSIL_NORMAL), dlg->m_pImageList);
  int cx = 0;
  int cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(*dlg->m_pImageList, &cx, &cy));
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
  EXPECT_EQ(dlg->m_pImageList->GetImageCount(), 0);
  // Setting the spacing answers the one set before: the window's 48 x 48.
  const CSize spacing = dlg->m_lvIcons.SetIconSpacing(48, 48);
  EXPECT_EQ(spacing.cx, 48);
  EXPECT_EQ(spacing.cy, 48);
}

TEST_F(MainWindow, MenuBarToolbarAndStatusBar) {
  CMenu* menu = dlg->GetMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(MenuLines(*menu),
            (std::vector<std::string>{"&File", "  E&xit=57665", "&Icons", "  &Clear=32771", "  Save &As...=32772",
                                      "  &Info=32776", "  -", "  C&opy=32777", "  &Export...=32778", "&Help",
                                      "  &Help Topics=57667", "  -", "  &About Glimra...=57664"}));

  ASSERT_EQ(dlg->m_wndToolBar.GetCount(), 7);
  std::vector<UINT> buttons;
  buttons.reserve(7);
  for (int i = 0; i < 7; ++i) buttons.push_back(dlg->m_wndToolBar.GetItemID(i));
  EXPECT_EQ(buttons, (std::vector<UINT>{57665, 0, 32771, 32772, 32776, 0, 57664}));
  EXPECT_EQ(dlg->m_wndToolBar.GetButtonTooltip(dlg->m_wndToolBar.CommandToIndex(32771)).str(), "Clear list");

  ASSERT_EQ(dlg->m_wndStatusBar.GetCount(), 4);
  std::vector<UINT> panes;
  panes.reserve(4);
  for (int i = 0; i < 4; ++i) panes.push_back(dlg->m_wndStatusBar.GetItemID(i));
  EXPECT_EQ(panes, (std::vector<UINT>{0, 0xE701, 0xE702, 0xE703}));
}

TEST_F(MainWindow, SystemMenuEndsWithSeparatorAndAbout) {
  CMenu* sys = dlg->GetSystemMenu(FALSE);
  ASSERT_NE(sys, nullptr);
  const int count = sys->GetMenuItemCount();
  ASSERT_GE(count, 2);
  EXPECT_TRUE(sys->GetMenuState(static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(sys->GetMenuItemID(count - 1), IDM_ABOUTBOX);
  CString text;
  sys->GetMenuString(static_cast<UINT>(count - 1), text, MF_BYPOSITION);
  EXPECT_EQ(text.str(), "&About Glimra...");
}

TEST_F(MainWindow, ResizingMovesAndStretchesTheControls) {
  const int ids[] = {1000, 1091, 1089, 1017, 1088, 1001, 1034, 1090, 1002};
  std::vector<RECT> before;
  for (int id : ids) before.push_back(ChildRect(*dlg, id));
  CRect client;
  dlg->GetClientRect(&client);
  CRect window;
  dlg->GetWindowRect(&window);

  dlg->MoveWindow(window.left, window.top, window.Width() + 100, window.Height() + 60);
  PumpEvents(100);
  CRect grown;
  dlg->GetClientRect(&grown);
  ASSERT_EQ(grown.Width() - client.Width(), 100);
  ASSERT_EQ(grown.Height() - client.Height(), 60);

  // Edge moves (left, top, right, bottom) for a 100 x 60 growth.
  const RECT moves[] = {
      {100, 0, 100, 0}, {100, 0, 100, 0}, {100, 0, 100, 0}, {100, 0, 100, 0}, {0, 0, 100, 0},
      {0, 0, 50, 0},    {50, 0, 100, 0},  {0, 0, 100, 60},  {0, 0, 100, 60},
  };
  for (std::size_t i = 0; i < std::size(ids); ++i) {
    SCOPED_TRACE(ids[i]);
    const RECT after = ChildRect(*dlg, ids[i]);
    EXPECT_EQ(after.left - before[i].left, moves[i].left);
    EXPECT_EQ(after.top - before[i].top, moves[i].top);
    EXPECT_EQ(after.right - before[i].right, moves[i].right);
    EXPECT_EQ(after.bottom - before[i].bottom, moves[i].bottom);
  }
}

TEST_F(MainWindow, EnterAndEscapeLeaveItOpen) {
  for (HWND target : {dlg->m_lvIcons.GetSafeHwnd(), dlg->m_lstFiles.GetSafeHwnd(), dlg->m_btnListIcon.GetSafeHwnd()}) {
    PressKey(target, Qt::Key_Return);
    PressKey(target, Qt::Key_Escape);
    PumpEvents(30);
    ASSERT_TRUE(Alive());
    EXPECT_TRUE(dlg->IsWindowVisible());
  }
}

TEST_F(MainWindow, AboutBoxOpensFromMenuToolbarAndSystemMenu) {
  const ModalSeen fromMenu = RunAndCloseModal([&] { dlg->SendMessage(WM_COMMAND, ID_APP_ABOUT); });
  EXPECT_EQ(fromMenu.className, "CZUAboutDlg");

  const int button = dlg->m_wndToolBar.CommandToIndex(ID_APP_ABOUT);
  ASSERT_GE(button, 0);
  const ModalSeen fromToolbar = RunAndCloseModal([&] { dlg->m_wndToolBar.ClickButton(button); });
  EXPECT_EQ(fromToolbar.className, "CZUAboutDlg");

  CMenu* sys = dlg->GetSystemMenu(FALSE);
  ASSERT_NE(sys, nullptr);
  const UINT aboutEntry = sys->GetMenuItemID(sys->GetMenuItemCount() - 1);
  const ModalSeen fromSystemMenu = RunAndCloseModal([&] { dlg->SendMessage(WM_SYSCOMMAND, aboutEntry); });
  EXPECT_EQ(fromSystemMenu.className, "CZUAboutDlg");
  ASSERT_TRUE(Alive());
}

TEST_F(MainWindow, OtherSystemCommandsGetTheDefaultProcessing) {
  // The low four bits are the platform's own; they do not make another command.
  const ModalSeen none = RunAndCloseModal([&] { dlg->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE); });
  EXPECT_TRUE(none.className.empty());
  EXPECT_TRUE(PumpUntil([&] { return dlg->IsIconic() != FALSE; }, 1000));
  dlg->SendMessage(WM_SYSCOMMAND, SC_RESTORE);
  EXPECT_TRUE(PumpUntil([&] { return dlg->IsIconic() == FALSE; }, 1000));

  dlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
  PumpEvents(30);
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);  // destroyed, and the object with it
}

TEST_F(MainWindow, CommandStatesFollowTheIconList) {
  EXPECT_FALSE(UpdateEnables(ID_ICONS_CLEAR));
  EXPECT_FALSE(UpdateEnables(ID_ICONS_SAVEAS));
  EXPECT_FALSE(UpdateEnables(ID_ICONS_INFO));
  EXPECT_TRUE(UpdateEnables(ID_APP_ABOUT));
  EXPECT_TRUE(UpdateEnables(ID_HELP_FINDER));

  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  ASSERT_EQ(dlg->m_lvIcons.InsertItem(1, ""), 1);
  EXPECT_TRUE(UpdateEnables(ID_ICONS_CLEAR));
  EXPECT_FALSE(UpdateEnables(ID_ICONS_SAVEAS));
  EXPECT_FALSE(UpdateEnables(ID_ICONS_INFO));

  dlg->m_lvIcons.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(UpdateEnables(ID_ICONS_SAVEAS));
  EXPECT_TRUE(UpdateEnables(ID_ICONS_INFO));

  // While a worker runs the list may not be cleared; the selection commands stay.
  HANDLE running = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  dlg->m_hWorkerThread = running;
  EXPECT_FALSE(UpdateEnables(ID_ICONS_CLEAR));
  EXPECT_TRUE(UpdateEnables(ID_ICONS_SAVEAS));
  dlg->m_hWorkerThread = nullptr;
  CloseHandle(running);

  theApp.m_pMainWnd = nullptr;
  EXPECT_FALSE(UpdateEnables(ID_ICONS_CLEAR));
  EXPECT_FALSE(UpdateEnables(ID_ICONS_SAVEAS));
  EXPECT_FALSE(UpdateEnables(ID_ICONS_INFO));
  EXPECT_TRUE(UpdateEnables(ID_APP_ABOUT));
  theApp.m_pMainWnd = dlg;
}

TEST_F(MainWindow, ToolbarTakesItsStatesFromTheApplication) {
  auto disabled = [&](UINT id) {
    return (dlg->m_wndToolBar.GetButtonStyle(dlg->m_wndToolBar.CommandToIndex(id)) & TBBS_DISABLED) != 0;
  };
  AfxRunIdle();
  EXPECT_TRUE(disabled(ID_ICONS_CLEAR));
  EXPECT_TRUE(disabled(ID_ICONS_SAVEAS));
  EXPECT_FALSE(disabled(ID_APP_ABOUT));
  EXPECT_FALSE(disabled(ID_APP_EXIT));

  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  AfxRunIdle();
  EXPECT_FALSE(disabled(ID_ICONS_CLEAR));
}

TEST(MinimizedIcon, CentredWithTheOddPixelOnTheLeftAndTop) {
  struct Case {
    int clientWidth, clientHeight, x, y;
  };
  const Case cases[] = {{37, 37, 3, 3}, {32, 32, 0, 0}, {33, 36, 1, 2}, {100, 20, 34, -5}};
  for (const Case& c : cases) {
    const CPoint at = MinimizedIconOrigin(CRect(0, 0, c.clientWidth, c.clientHeight), 32, 32);
    EXPECT_EQ(at.x, c.x) << c.clientWidth;
    EXPECT_EQ(at.y, c.y) << c.clientHeight;
  }
}

}  // namespace
