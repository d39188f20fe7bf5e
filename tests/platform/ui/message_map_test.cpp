// Message maps, command routing to the application, and update handlers.

#include "platform/ui/message_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/cmd_ui.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/tool_bar.h"
#include "platform/ui/win_app.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;
std::vector<std::string> g_log;

class BaseWnd : public CDialog {
 public:
  BaseWnd() : CDialog(kMainDialog) {}

 protected:
  afx_msg void OnTimer(UINT_PTR id) { g_log.push_back("base-timer " + std::to_string(id)); }
  afx_msg LRESULT OnPrivate(WPARAM w, LPARAM) {
    g_log.push_back("base-private " + std::to_string(w));
    return 7;
  }
  afx_msg void OnBaseOnly() { g_log.push_back("base-cmd"); }
  void OnOK() override {}
  void OnCancel() override {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CDialog)
ON_WM_TIMER()
ON_MESSAGE(0xBE10, OnPrivate)
ON_COMMAND(40001, OnBaseOnly)
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
 protected:
  afx_msg LRESULT OnPrivate(WPARAM w, LPARAM) {
    g_log.push_back("derived-private " + std::to_string(w));
    return 9;
  }
  afx_msg LRESULT OnPrivateLater(WPARAM, LPARAM) {
    g_log.push_back("never");
    return 0;
  }
  afx_msg void OnSysCommand(UINT id, LPARAM lParam) {
    g_log.push_back("syscommand " + std::to_string(id));
    if (id != 0x0010) CWnd::OnSysCommand(id, lParam);
  }
  afx_msg void OnClicked() { g_log.push_back("clicked 1000"); }
  afx_msg void OnTreeSel(NMHDR* header, LRESULT* result) {
    g_log.push_back("tree-selchanged " + std::to_string(header->idFrom));
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
ON_MESSAGE(0xBE10, OnPrivate)
ON_MESSAGE(0xBE10, OnPrivateLater)
ON_WM_SYSCOMMAND()
ON_BN_CLICKED(1000, OnClicked)
ON_NOTIFY(TVN_SELCHANGED, 1001, OnTreeSel)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("Glimra") {}
  bool hasSelection = false;

 protected:
  afx_msg void OnIconsInfo() { g_log.push_back("app-info"); }
  afx_msg void OnUpdateSelection(CCmdUI* ui) { ui->Enable(hasSelection); }
  afx_msg void OnIconsClear() { g_log.push_back("app-clear"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_COMMAND(32776, OnIconsInfo)
ON_UPDATE_COMMAND_UI(32776, OnUpdateSelection)
ON_COMMAND(32771, OnIconsClear)
ON_UPDATE_COMMAND_UI(32772, OnUpdateSelection)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    ASSERT_TRUE(wnd.Create(kMainDialog, nullptr));
    app.m_pMainWnd = &wnd;
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    wnd.DestroyWindow();
    SetModalHook(nullptr);
  }
  ScopedResources resources{kTable};
  TestApp app;
  DerivedWnd wnd;
};

TEST_F(MessageMapTest, FirstMatchingEntryWinsThenTheBaseMapAnswers) {
  EXPECT_EQ(wnd.SendMessage(0xBE10, 516, 0), 9);
  wnd.SendMessage(WM_TIMER, 2, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"derived-private 516", "base-timer 2"}));
}

TEST_F(MessageMapTest, ControlNotificationsReachTheirEntries) {
  wnd.GetDlgItem(1000)->SendMessage(BM_CLICK);
  NMHDR header{wnd.GetDlgItem(1001)->m_hWnd, 1001, TVN_SELCHANGED};
  LRESULT result = 5;
  wnd.SendMessage(WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&header));
  (void)result;
  EXPECT_EQ(g_log, (std::vector<std::string>{"clicked 1000", "tree-selchanged 1001"}));
}

TEST_F(MessageMapTest, CommandsWithoutAWindowEntryFallThroughToTheApplication) {
  wnd.SendMessage(WM_COMMAND, 40001, 0);  // the window's base map
  wnd.SendMessage(WM_COMMAND, 32771, 0);  // the application's map
  EXPECT_EQ(g_log, (std::vector<std::string>{"base-cmd", "app-clear"}));
}

TEST_F(MessageMapTest, MenuCommandsDisabledByTheirUpdateHandlerAreNotCarriedOut) {
  app.hasSelection = false;
  wnd.SendMessage(WM_COMMAND, 32776, 0);
  EXPECT_TRUE(g_log.empty());
  app.hasSelection = true;
  wnd.SendMessage(WM_COMMAND, 32776, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"app-info"}));
}

TEST_F(MessageMapTest, UpdateHandlersRunWhenAMenuOpensAndItemsWithoutHandlersAreGrayed) {
  CMenu popup;
  ASSERT_TRUE(popup.LoadMenu(kPopupMenu));
  CMenu* items = popup.GetSubMenu(0);
  ASSERT_NE(items, nullptr);
  // 32771 has a handler and no update handler: enabled. 32772 and 32776
  // follow the selection.
  for (bool selection : {false, true}) {
    app.hasSelection = selection;
    std::vector<UINT> states;
    SetModalHook([&](const ModalRun& run) -> std::optional<int> {
      EXPECT_EQ(run.kind, ModalKind::PopupMenu);
      for (UINT id : {32771u, 32772u, 32776u}) states.push_back(items->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED);
      return 0;
    });
    items->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &wnd);
    UINT gray = selection ? 0 : MF_GRAYED;
    EXPECT_EQ(states, (std::vector<UINT>{0, gray, gray})) << selection;
  }
  // An item whose command nobody handles is grayed.
  items->AppendMenu(MF_STRING, 40999, "Orphan");
  UINT orphan = 99;
  SetModalHook([&](const ModalRun&) -> std::optional<int> {
    orphan = items->GetMenuState(40999, MF_BYCOMMAND) & MF_GRAYED;
    return 0;
  });
  items->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &wnd);
  EXPECT_EQ(orphan, MF_GRAYED);
}

TEST_F(MessageMapTest, ChosenPopupCommandArrivesAfterThePopupClosed) {
  CMenu popup;
  ASSERT_TRUE(popup.LoadMenu(kPopupMenu));
  app.hasSelection = true;
  SetModalHook([](const ModalRun&) -> std::optional<int> { return 32776; });
  EXPECT_TRUE(popup.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &wnd));
  EXPECT_TRUE(g_log.empty());
  Pump(10);
  EXPECT_EQ(g_log, (std::vector<std::string>{"app-info"}));
}

TEST_F(MessageMapTest, ToolbarButtonsFollowUpdateHandlersInTheIdlePass) {
  CToolBar bar;
  ASSERT_TRUE(bar.Create(&wnd));
  ASSERT_TRUE(bar.LoadToolBar(kToolbar));
  const UINT buttons[] = {57665, 0, 32771, 32772, 32776, 0, 57664};
  ASSERT_TRUE(bar.SetButtons(buttons, 7));
  EXPECT_EQ(bar.GetButtonTooltip(4), "Display Icon Info");
  wnd.ShowWindow(SW_SHOW);
  auto disabled = [&](UINT id) { return (bar.GetButtonStyle(bar.CommandToIndex(id)) & TBBS_DISABLED) != 0; };
  app.hasSelection = false;
  AfxRunIdle();
  EXPECT_TRUE(disabled(32776));
  EXPECT_TRUE(disabled(32772));
  EXPECT_FALSE(disabled(32771));  // handled, no update handler
  EXPECT_FALSE(disabled(57665));  // the application's exit command
  EXPECT_TRUE(disabled(57664));   // nobody handles About here
  app.hasSelection = true;
  // Through the event loop this time: the idle pass runs when it runs dry.
  wnd.SendMessage(WM_NULL);
  EXPECT_TRUE(PumpUntil([&] { return !disabled(32776); }));
  bar.ClickButton(bar.CommandToIndex(32776));
  EXPECT_EQ(g_log, (std::vector<std::string>{"app-info"}));
}

TEST_F(MessageMapTest, SystemMenuEntriesReachOnSysCommandAndDefaultsActOnTheWindow) {
  CMenu* system = wnd.GetSystemMenu(FALSE);
  ASSERT_NE(system, nullptr);
  ASSERT_EQ(system->GetMenuItemCount(), 7);
  EXPECT_EQ(system->GetMenuItemID(0), SC_RESTORE);
  EXPECT_EQ(system->GetMenuItemID(5), 0u);
  EXPECT_EQ(system->GetMenuItemID(6), SC_CLOSE);
  system->AppendMenu(MF_SEPARATOR);
  system->AppendMenu(MF_STRING, 0x0010, "&About Glimra...");
  EXPECT_EQ(wnd.GetSystemMenu(FALSE)->GetMenuItemCount(), 9);
  wnd.ShowWindow(SW_SHOW);
  SetModalHook([](const ModalRun& run) -> std::optional<int> {
    EXPECT_EQ(run.kind, ModalKind::PopupMenu);
    return 0x0010;
  });
  wnd.ShowSystemMenu();
  SetModalHook([](const ModalRun&) -> std::optional<int> { return static_cast<int>(SC_MINIMIZE); });
  wnd.ShowSystemMenu();
  EXPECT_TRUE(PumpUntil([&] { return wnd.IsIconic() != FALSE; }));
  EXPECT_EQ(g_log, (std::vector<std::string>{"syscommand 16", "syscommand " + std::to_string(SC_MINIMIZE)}));
  wnd.ShowWindow(SW_RESTORE);
  EXPECT_TRUE(PumpUntil([&] { return wnd.IsIconic() == FALSE; }));
}

}  // namespace
