// Timers re-armed by id, and accelerators translated for a window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <chrono>
#include <thread>

#include "platform/ui/accelerators.h"
#include "platform/ui/dialog.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/win_app.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;

class TimerWnd : public CDialog {
 public:
  TimerWnd() : CDialog(kMainDialog) {}
  std::vector<std::pair<UINT_PTR, std::chrono::steady_clock::time_point>> fired;
  std::vector<UINT> commands;

 protected:
  afx_msg void OnTimer(UINT_PTR id) {
    fired.emplace_back(id, std::chrono::steady_clock::now());
    KillTimer(id);
  }
  afx_msg void OnInfo() { commands.push_back(32776); }
  void OnOK() override { commands.push_back(IDOK); }
  void OnCancel() override { commands.push_back(IDCANCEL); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TimerWnd, CDialog)
ON_WM_TIMER()
ON_COMMAND(32776, OnInfo)
END_MESSAGE_MAP()

class TimerAccelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wnd.Create(kMainDialog, nullptr)); }
  void TearDown() override { wnd.DestroyWindow(); }
  ScopedResources resources{kTable};
  TimerWnd wnd;
};

TEST_F(TimerAccelTest, RearmingAnIdReplacesThePendingTimer) {
  // A long first arming replaced by a short one: the timer fires once, at
  // the short interval; had the first arming stayed, nothing would fire
  // within the wait. No elapsed time is asserted, so a loaded machine passes.
  wnd.SetTimer(2, 60000, nullptr);
  wnd.SetTimer(2, 60000, nullptr);
  wnd.SetTimer(2, 30, nullptr);
  for (int waited = 0; wnd.fired.empty() && waited < 20000; waited += 10) {
    Pump(10);
  }
  Pump(100);
  ASSERT_EQ(wnd.fired.size(), 1u);
  EXPECT_EQ(wnd.fired[0].first, 2u);
}

TEST_F(TimerAccelTest, KilledTimerNeverFires) {
  wnd.SetTimer(7, 30, nullptr);
  EXPECT_TRUE(wnd.KillTimer(7));
  EXPECT_FALSE(wnd.KillTimer(7));
  Pump(100);
  EXPECT_TRUE(wnd.fired.empty());
}

// Also when events are only processed, never run by an event loop (as a
// handler's own pump or a test's does), so the killed timer's deferred
// deletion never comes: it must not fire once its time is past.
TEST_F(TimerAccelTest, KilledTimerNeverFiresUnderAPlainPumpOfEvents) {
  wnd.SetTimer(7, 5, nullptr);
  EXPECT_TRUE(wnd.KillTimer(7));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  for (int i = 0; i < 5; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(wnd.fired.empty());
}

void PressKey(QWidget* target, int key, Qt::KeyboardModifiers mods) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(target, &press);
}

TEST_F(TimerAccelTest, CtrlIBecomesTheInfoCommandOnlyWithTheTableLoaded) {
  wnd.ShowWindow(SW_SHOW);
  QWidget* list = WidgetOfWindow(wnd.GetDlgItem(1034)->m_hWnd);
  list->setFocus();
  Pump(10);
  ASSERT_EQ(QApplication::focusWidget(), list);
  PressKey(list, Qt::Key_I, Qt::ControlModifier);
  EXPECT_TRUE(wnd.commands.empty());
  ASSERT_TRUE(wnd.LoadAccelTable(kAccelerators));
  PressKey(list, Qt::Key_I, Qt::ControlModifier);
  PressKey(list, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);  // not in the table
  PressKey(list, Qt::Key_I, Qt::NoModifier);
  EXPECT_EQ(wnd.commands, (std::vector<UINT>{32776}));
}

TEST_F(TimerAccelTest, EnterAndEscapeGiveOkAndCancel) {
  wnd.ShowWindow(SW_SHOW);
  QWidget* list = WidgetOfWindow(wnd.GetDlgItem(1034)->m_hWnd);
  list->setFocus();
  Pump(10);
  PressKey(list, Qt::Key_Return, Qt::NoModifier);
  PressKey(list, Qt::Key_Escape, Qt::NoModifier);
  EXPECT_EQ(wnd.commands, (std::vector<UINT>{IDOK, IDCANCEL}));
  EXPECT_NE(wnd.m_hWnd, nullptr);
}

TEST(AcceleratorTableTest, MatchesKeyAndExactModifiers) {
  AccelEntryValue entries[] = {{FVIRTKEY | FCONTROL, 'I', 32776}, {FVIRTKEY, VK_F1, 57670}};
  HACCEL table = CreateAcceleratorTable(entries, 2);
  MSG msg{nullptr, WM_KEYDOWN, 'I', 0, 0, {0, 0}};
  SetModifierState(false, false, false);
  EXPECT_FALSE(TranslateAccelerator(nullptr, table, &msg));
  SetModifierState(true, false, false);
  EXPECT_TRUE(TranslateAccelerator(nullptr, table, &msg));
  SetModifierState(true, true, false);
  EXPECT_FALSE(TranslateAccelerator(nullptr, table, &msg));
  SetModifierState(false, false, false);
  msg.wParam = VK_F1;
  EXPECT_TRUE(TranslateAccelerator(nullptr, table, &msg));
  msg.message = WM_KEYUP;
  EXPECT_FALSE(TranslateAccelerator(nullptr, table, &msg));
  DestroyAcceleratorTable(table);
  EXPECT_EQ(LoadAcceleratorTable(4242), nullptr);
}

}  // namespace
