// The shape of a handle operation: the live record on the user-interface
// thread, or the fallback without running the operation.

#include "platform/ui/live_call.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/core/thread_control.h"
#include "platform/ui/button.h"
#include "platform/ui/dialog.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;

class NeverThisBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord&, QWidget*) override { return nullptr; }
};

class LiveCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dlg.Create(kMainDialog, nullptr));
    live = ::GetDlgItem(dlg.m_hWnd, 1000);
    CButton doomed;
    ASSERT_TRUE(doomed.Create("gone", BS_PUSHBUTTON, RECT{0, 0, 10, 10}, &dlg, 1234));
    gone = doomed.m_hWnd;
    ASSERT_TRUE(doomed.DestroyWindow());
    ASSERT_FALSE(::IsWindow(gone));
  }
  void TearDown() override { dlg.DestroyWindow(); }
  ScopedResources resources{kTable};
  CDialog dlg{kMainDialog};
  HWND live = nullptr;
  HWND gone = nullptr;
};

TEST_F(LiveCallTest, AWorkerReachesTheLiveRecordOnTheUiThreadAndGetsTheFallbackOtherwise) {
  ASSERT_NE(live, nullptr);
  QThread* ui = QThread::currentThread();
  std::atomic<int> opsRun{0};
  std::atomic<int> opsOffUi{0};
  auto idOf = [&](WindowRecord& rec) {
    ++opsRun;
    if (QThread::currentThread() != ui) ++opsOffUi;
    return static_cast<int>(rec.id);
  };
  auto seen = [&](auto&) {
    ++opsRun;
    return 1;
  };
  std::vector<int> answers;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    answers.push_back(WithWindow(live, -1, idOf));
    answers.push_back(WithWindow(gone, -1, idOf));
    answers.push_back(WithWindow(nullptr, -1, idOf));
    answers.push_back(WithBehavior<WindowBehavior>(live, -1, seen));
    answers.push_back(WithBehavior<NeverThisBehavior>(live, -1, seen));
    WithWindow(gone, [&](WindowRecord&) { ++opsRun; });
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(answers, (std::vector<int>{1000, -1, -1, 1, -1}));
  EXPECT_EQ(opsRun, 2);
  EXPECT_EQ(opsOffUi, 0);
}

TEST_F(LiveCallTest, AKilledWorkerLeavesWithThreadKilledAndTheOpNeverRuns) {
  ThreadControl control;
  control.Kill();
  std::atomic<bool> ran{false};
  std::atomic<bool> killedOut{false};
  std::thread worker([&] {
    ThreadControl::SetCurrent(&control);
    try {
      static_cast<void>(WithWindow(live, FALSE, [&](WindowRecord&) -> BOOL {
        ran = true;
        return TRUE;
      }));
    } catch (const ThreadKilled&) {
      killedOut = true;
    }
    ThreadControl::SetCurrent(nullptr);
  });
  worker.join();
  EXPECT_TRUE(killedOut);
  EXPECT_FALSE(ran);
}

}  // namespace
