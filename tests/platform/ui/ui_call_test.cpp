// The cross-thread call: a worker's window operation runs on the
// user-interface thread, and a killed worker is released without it.

#include "platform/ui/ui_call.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/core/kernel_object.h"
#include "platform/ui/button.h"
#include "platform/ui/dialog.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;
using namespace std::chrono_literals;

class UiCallTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dlg.Create(kMainDialog, nullptr)); }
  void TearDown() override { dlg.DestroyWindow(); }
  ScopedResources resources{kTable};
  CDialog dlg{kMainDialog};
};

TEST_F(UiCallTest, WorkerCallRunsOnTheUiThreadOnlyWhenItHandlesEvents) {
  CWnd* button = dlg.GetDlgItem(1000);
  std::atomic<bool> returned{false};
  std::atomic<bool> ranOnUi{false};
  QThread* ui = QThread::currentThread();
  std::thread worker([&] {
    UiCall([&] { ranOnUi = QThread::currentThread() == ui; });
    button->SetWindowText("Stop &Listing");
    returned = true;
  });
  // The user-interface thread is busy (not handling events): the worker waits.
  std::this_thread::sleep_for(150ms);
  EXPECT_FALSE(returned);
  CString caption;
  button->GetWindowText(caption);
  EXPECT_EQ(caption, "&List Icon");
  EXPECT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(ranOnUi);
  button->GetWindowText(caption);
  EXPECT_EQ(caption, "Stop &Listing");
}

TEST_F(UiCallTest, NotRunWhileTheUiThreadWaitsOnAnEvent) {
  // The launch handshake: the launcher waits on the event without handling
  // messages; the worker sets it first, then its first window call must
  // complete only after the launcher is back in its loop.
  HANDLE started = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> order{0};
  std::atomic<int> callDoneAt{0};
  CWnd* button = dlg.GetDlgItem(1000);
  std::thread worker([&] {
    SetEvent(started);
    button->SetWindowText("Stop &Listing");
    callDoneAt = ++order;
  });
  ASSERT_EQ(WaitForSingleObject(started, 500), WAIT_OBJECT_0);
  std::this_thread::sleep_for(50ms);
  const int launcherStoredAt = ++order;
  EXPECT_TRUE(PumpUntil([&] { return callDoneAt.load() != 0; }));
  worker.join();
  EXPECT_LT(launcherStoredAt, callDoneAt.load());
  CloseHandle(started);
}

TEST_F(UiCallTest, KilledWorkerWaitingInACallIsReleasedAndTheCallNeverRuns) {
  ThreadControl control;
  std::atomic<bool> entered{false};
  std::atomic<bool> ran{false};
  std::atomic<bool> killedOut{false};
  std::thread worker([&] {
    ThreadControl::SetCurrent(&control);
    entered = true;
    try {
      UiCall([&] { ran = true; });
    } catch (const ThreadKilled&) {
      killedOut = true;
    }
    ThreadControl::SetCurrent(nullptr);
  });
  while (!entered) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(50ms);  // now waiting in the call
  const auto before = std::chrono::steady_clock::now();
  control.Kill();
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
  EXPECT_TRUE(killedOut);
  Pump(20);  // the queued operation comes up and is skipped
  EXPECT_FALSE(ran);
}

TEST_F(UiCallTest, KilledThreadDoesNotQueueAtAll) {
  ThreadControl control;
  control.Kill();
  std::atomic<bool> ran{false};
  std::atomic<bool> killedOut{false};
  CWnd* button = dlg.GetDlgItem(1000);
  std::thread worker([&] {
    ThreadControl::SetCurrent(&control);
    try {
      button->EnableWindow(FALSE);
      ran = true;
    } catch (const ThreadKilled&) {
      killedOut = true;
    }
    ThreadControl::SetCurrent(nullptr);
  });
  worker.join();
  Pump(20);
  EXPECT_TRUE(killedOut);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(button->IsWindowEnabled());
}

TEST_F(UiCallTest, QueuedCallsRunInOrderAndExceptionsReachTheCaller) {
  std::vector<int> seen;
  std::atomic<bool> done{false};
  bool caught = false;
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) UiCall([&, i] { seen.push_back(i); });
    try {
      UiCall([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error&) {
      caught = true;
    }
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  worker.join();
  ASSERT_EQ(seen.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
  EXPECT_TRUE(caught);
}

}  // namespace
