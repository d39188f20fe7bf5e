#include "support/framework/sizing_modeless_main.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "framework_test_resources.h"
#include "platform/ui/cmd_ui.h"
#include "platform/ui/menu.h"
#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"
#include "support/framework/zu_win_app.h"

namespace {

constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
constexpr UINT kButtons[] = {ID_APP_EXIT, ID_SEPARATOR, fw_test::kCmdClear, fw_test::kCmdSave};

// Counts deletions and runs the program's kind of DestroyWindow.
class CountingMain : public CSizingModelessMain {
 public:
  explicit CountingMain(int& deletions) : CSizingModelessMain(fw_test::kMainDialogId), m_deletions(deletions) {}
  ~CountingMain() override { ++m_deletions; }
  BOOL DestroyWindow() override {
    while (!Header.IsEmpty()) {
      delete Header.GetHead();
    }
    return CSizingModelessMain::DestroyWindow();
  }
  BOOL OnInitDialog() override {
    CSizingModelessMain::OnInitDialog();
    AddSzControl(fw_test::kButtonId, 2, 0);
    AddSzControlEx(fw_test::kGroupId, 0, 100, 0, 100);
    return TRUE;
  }

 private:
  int& m_deletions;
};

// The application whose map the update requests end in: Clear has a
// handler that enables it, Save has none.
class TestApp : public CZUWinApp {
 public:
  void OnClear() {}
  void OnUpdateClear(CCmdUI* ui) { ui->Enable(m_bClearEnabled); }
  BOOL m_bClearEnabled = TRUE;

 protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CZUWinApp)
ON_COMMAND(fw_test::kCmdClear, OnClear)
ON_UPDATE_COMMAND_UI(fw_test::kCmdClear, OnUpdateClear)
END_MESSAGE_MAP()

class ModelessMainTest : public testing::Test {
 protected:
  void SetUp() override {
    m_main = new CountingMain(m_deletions);
    m_app.m_pMainWnd = m_main;
    ASSERT_TRUE(m_main->Create(kIndicators, 4, kButtons, 4, fw_test::kToolbarId));
    m_main->ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (m_app.m_pMainWnd != nullptr) {
      m_app.m_pMainWnd->DestroyWindow();
    }
  }
  CRect ChildRect(UINT id) const {
    CRect rect;
    m_main->GetDlgItem(static_cast<int>(id))->GetWindowRect(&rect);
    m_main->ScreenToClient(&rect);
    return rect;
  }

  ScopedResources m_resources{fw_test::Resources()};
  TestApp m_app;
  int m_deletions = 0;
  CountingMain* m_main = nullptr;
};

TEST_F(ModelessMainTest, StatusBarTextIsItsFirstPaneWithLockKeyPanes) {
  CStatusBar& bar = m_main->m_wndStatusBar;
  ASSERT_EQ(bar.GetCount(), 4);
  EXPECT_EQ(bar.GetItemID(1), ID_INDICATOR_CAPS);
  EXPECT_EQ(bar.GetItemID(3), ID_INDICATOR_SCRL);
  bar.SetWindowText("Listing from /tmp/a.exe");
  EXPECT_EQ(bar.GetPaneText(0), CString("Listing from /tmp/a.exe"));
  CString text;
  bar.GetWindowText(text);
  EXPECT_EQ(text, CString("Listing from /tmp/a.exe"));
}

TEST_F(ModelessMainTest, ToolbarButtonsSeparatorsAndTooltipsFromStrings) {
  CToolBar& bar = m_main->m_wndToolBar;
  ASSERT_EQ(bar.GetCount(), 4);
  EXPECT_EQ(bar.GetItemID(0), ID_APP_EXIT);
  EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_SEPARATOR, TBBS_SEPARATOR);
  EXPECT_EQ(bar.GetItemID(2), fw_test::kCmdClear);
  EXPECT_EQ(bar.GetButtonTooltip(2), CString("Clear list"));
  EXPECT_EQ(bar.GetButtonTooltip(3), CString("Save icons"));
}

TEST_F(ModelessMainTest, PromptOfACommandGoesToTheMessagePane) {
  m_main->SendMessage(WM_SETMESSAGESTRING, fw_test::kCmdSave, 0);
  EXPECT_EQ(m_main->m_wndStatusBar.GetPaneText(0), CString("Save the icons"));
}

TEST_F(ModelessMainTest, IdleUpdateSetsToolbarStatesFromHandlers) {
  CToolBar& bar = m_main->m_wndToolBar;
  m_main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_EQ(bar.GetButtonStyle(2) & TBBS_DISABLED, 0u);
  EXPECT_NE(bar.GetButtonStyle(3) & TBBS_DISABLED, 0u);  // no handler anywhere
  m_app.m_bClearEnabled = FALSE;
  m_main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
  EXPECT_NE(bar.GetButtonStyle(2) & TBBS_DISABLED, 0u);
}

TEST_F(ModelessMainTest, MenuFromTheTemplateTakesItsStatesWhenOpened) {
  CMenu* bar = m_main->GetMenu();
  ASSERT_NE(bar, nullptr);
  CMenu* icons = bar->GetSubMenu(1);
  ASSERT_NE(icons, nullptr);
  m_app.m_bClearEnabled = FALSE;
  m_main->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(icons->GetSafeHmenu()), 1);
  EXPECT_NE(icons->GetMenuState(fw_test::kCmdClear, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(icons->GetMenuState(fw_test::kCmdSave, MF_BYCOMMAND) & MF_GRAYED, 0u);
  m_app.m_bClearEnabled = TRUE;
  m_main->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(icons->GetSafeHmenu()), 1);
  EXPECT_EQ(icons->GetMenuState(fw_test::kCmdClear, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(ModelessMainTest, ControlsSitBetweenTheBarsAtTheirDesignedSize) {
  const int toolHeight = m_main->m_wndToolBar.GetBarHeight();
  const int statusHeight = m_main->m_wndStatusBar.GetBarHeight();
  ASSERT_GT(toolHeight, 0);
  ASSERT_GT(statusHeight, 0);
  RECT designed{150, 10, 190, 24};
  m_main->MapDialogRect(&designed);
  const CRect button = ChildRect(fw_test::kButtonId);
  EXPECT_EQ(button.top, designed.top + toolHeight);
  EXPECT_EQ(button.Width(), designed.right - designed.left);
  EXPECT_EQ(button.Height(), designed.bottom - designed.top);

  RECT dialog{0, 0, 200, 100};
  m_main->MapDialogRect(&dialog);
  CRect client;
  m_main->GetClientRect(&client);
  EXPECT_EQ(client.Height(), dialog.bottom + toolHeight + statusHeight);

  CRect status;
  m_main->m_wndStatusBar.GetWindowRect(&status);
  m_main->ScreenToClient(&status);
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_GE(status.top, ChildRect(fw_test::kGroupId).bottom);
}

TEST_F(ModelessMainTest, ResizingMovesRegisteredControlsAndKeepsBarsAtTheEdges) {
  const CRect button = ChildRect(fw_test::kButtonId);
  const CRect group = ChildRect(fw_test::kGroupId);
  CRect window;
  m_main->GetWindowRect(&window);
  m_main->SetWindowPos(nullptr, 0, 0, window.Width() + 100, window.Height() + 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ChildRect(fw_test::kButtonId), CRect(button.left + 100, button.top, button.right + 100, button.bottom));
  EXPECT_EQ(ChildRect(fw_test::kGroupId), CRect(group.left, group.top, group.right + 100, group.bottom + 60));
  CRect client, status;
  m_main->GetClientRect(&client);
  m_main->m_wndStatusBar.GetWindowRect(&status);
  m_main->ScreenToClient(&status);
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.Width(), client.Width());
}

TEST_F(ModelessMainTest, EnterAndEscapeLeaveItOpen) {
  m_main->SendMessage(WM_COMMAND, IDOK, 0);
  m_main->SendMessage(WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindow(m_main->GetSafeHwnd()));
  EXPECT_EQ(m_deletions, 0);
}

struct CloseCase {
  const char* how;
  void (*close)(CWnd& main, CWinApp& app);
};

std::string CloseCaseName(const testing::TestParamInfo<CloseCase>& info) {
  std::string name;
  for (const char* c = info.param.how; *c != '\0'; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) {
      name += *c;
    }
  }
  return name;
}

class ModelessMainCloseTest : public ModelessMainTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(ModelessMainCloseTest, DestroysAndDeletesExactlyOnce) {
  HWND hWnd = m_main->GetSafeHwnd();
  GetParam().close(*m_main, m_app);
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(m_deletions, 1);
  EXPECT_EQ(m_app.m_pMainWnd, nullptr);
  // Shutdown finds nothing left to delete.
  m_app.ExitInstance();
  EXPECT_EQ(m_deletions, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ModelessMainCloseTest,
    testing::Values(CloseCase{"WM_CLOSE", [](CWnd& main, CWinApp&) { main.SendMessage(WM_CLOSE); }},
                    CloseCase{"File/Exit", [](CWnd& main, CWinApp&) { main.SendMessage(WM_COMMAND, ID_APP_EXIT, 0); }},
                    CloseCase{"close box", [](CWnd& main, CWinApp&) { main.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }},
                    CloseCase{"DestroyWindow", [](CWnd& main, CWinApp&) { main.DestroyWindow(); }}),
    CloseCaseName);

}  // namespace
