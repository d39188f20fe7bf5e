// Posts into the user-interface thread: in order with the poster's calls,
// never waited for within the bound, and never run for a killed poster. Later
// steps and posted window messages share their queue, order and kill rule.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/thread_control.h"
#include "platform/ui/cwnd.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_call.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

// A thread that runs as a thread-library thread would, under control.
template <typename Body>
void RunControlled(ThreadControl& control, Body body) {
  std::thread worker([&] {
    ThreadControl::SetCurrent(&control);
    try {
      body();
    } catch (const ThreadKilled&) {
    }
    ThreadControl::SetCurrent(nullptr);
  });
  worker.join();
}

TEST(UiPostTest, PostsAndCallsOfAThreadRunInTheOrderMade) {
  ThreadControl control;
  std::vector<int> seen;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    ThreadControl::SetCurrent(&control);
    for (int i = 0; i < 30; ++i) {
      if (i % 5 == 4) {
        UiCall([&, i] { seen.push_back(i); });
      } else {
        UiPost([&, i] { seen.push_back(i); });
      }
    }
    ThreadControl::SetCurrent(nullptr);
    done = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return done.load() && seen.size() == 30; }));
  worker.join();
  for (int i = 0; i < 30; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
}

TEST(UiPostTest, APosterWaitsOnlyOnceItsBoundIsQueued) {
  // No events are handled here until the worker has left: posts within the
  // bound return at once, and the first one past it would wait forever.
  ThreadControl control;
  std::atomic<int> returned{0};
  std::atomic<int> ran{0};
  std::thread worker([&] {
    ThreadControl::SetCurrent(&control);
    try {
      for (int i = 0; i <= kMaxOutstandingPosts; ++i) {
        UiPost([&] { ++ran; });
        ++returned;
      }
    } catch (const ThreadKilled&) {
    }
    ThreadControl::SetCurrent(nullptr);
  });
  while (returned.load() < kMaxOutstandingPosts) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(returned.load(), kMaxOutstandingPosts);
  // Handling events lets the waiting post through, after the others.
  ASSERT_TRUE(PumpUntil([&] { return returned.load() == kMaxOutstandingPosts + 1; }));
  worker.join();
  EXPECT_EQ(ran.load(), kMaxOutstandingPosts + 1);
}

TEST(UiPostTest, AKilledPostersQueuedPostsNeverRun) {
  ThreadControl control;
  std::atomic<int> ran{0};
  RunControlled(control, [&] {
    for (int i = 0; i < 3; ++i) UiPost([&] { ++ran; });
  });
  control.Kill();
  Pump(20);
  EXPECT_EQ(ran.load(), 0);
  // Once killed, it cannot post at all.
  bool refused = false;
  RunControlled(control, [&] {
    try {
      UiPost([&] { ++ran; });
    } catch (const ThreadKilled&) {
      refused = true;
    }
  });
  Pump(20);
  EXPECT_TRUE(refused);
  EXPECT_EQ(ran.load(), 0);
}

// A window that logs the test message's argument.
constexpr UINT kLogMessage = WM_USER + 0x61;
class LoggingWnd : public CDialog {
 public:
  explicit LoggingWnd(std::vector<std::string>& log) : CDialog(test_resources::kMainDialog), m_log(log) {}

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != kLogMessage) return CDialog::WindowProc(message, wParam, lParam);
    m_log.push_back("message " + std::to_string(wParam));
    return 0;
  }

 private:
  std::vector<std::string>& m_log;
};

class OneQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(wnd.Create(test_resources::kMainDialog, nullptr)); }
  void TearDown() override {
    if (wnd.GetSafeHwnd() != nullptr) wnd.DestroyWindow();
    Pump(0);
  }
  void Note(const char* what) { log.emplace_back(what); }

  ScopedResources resources{test_resources::kTable};
  std::vector<std::string> log;
  LoggingWnd wnd{log};
};

TEST_F(OneQueueTest, OnTheUserInterfaceThreadAPostRunsAtOnceAndTheRestWaitsForTheLoopInOrder) {
  UiLater([&] { Note("later 1"); });
  ASSERT_TRUE(wnd.PostMessage(kLogMessage, 2));
  UiPost([&] { Note("post"); });
  UiLater([&] { Note("later 3"); });
  EXPECT_EQ(log, std::vector<std::string>{"post"});
  ASSERT_TRUE(PumpUntil([&] { return log.size() == 4; }));
  EXPECT_EQ(log, (std::vector<std::string>{"post", "later 1", "message 2", "later 3"}));
}

TEST_F(OneQueueTest, AThreadsPostsLaterStepsAndMessagesRunInTheOrderMade) {
  ThreadControl control;
  const HWND target = wnd.GetSafeHwnd();
  RunControlled(control, [&] {
    UiPost([&] { Note("post 0"); });
    PostMessage(target, kLogMessage, 1, 0);
    UiLater([&] { Note("later 2"); });
    PostMessage(target, kLogMessage, 3, 0);
    UiPost([&] { Note("post 4"); });
  });
  ASSERT_TRUE(PumpUntil([&] { return log.size() == 5; }));
  EXPECT_EQ(log, (std::vector<std::string>{"post 0", "message 1", "later 2", "message 3", "post 4"}));
}

TEST_F(OneQueueTest, AKilledThreadsMessagesAndLaterStepsNeverRunAndItCannotPostMore) {
  ThreadControl control;
  const HWND target = wnd.GetSafeHwnd();
  RunControlled(control, [&] {
    PostMessage(target, kLogMessage, 1, 0);
    UiLater([&] { Note("later"); });
  });
  control.Kill();
  // A step queued after them has run, so they had their turn.
  bool passed = false;
  UiLater([&] { passed = true; });
  ASSERT_TRUE(PumpUntil([&] { return passed; }));
  EXPECT_TRUE(log.empty());
  int refused = 0;
  for (const bool message : {true, false}) {
    RunControlled(control, [&] {
      try {
        if (message) {
          PostMessage(target, kLogMessage, 2, 0);
        } else {
          UiLater([&] { Note("later"); });
        }
      } catch (const ThreadKilled&) {
        ++refused;
      }
    });
  }
  passed = false;
  UiLater([&] { passed = true; });
  ASSERT_TRUE(PumpUntil([&] { return passed; }));
  EXPECT_EQ(refused, 2);
  EXPECT_TRUE(log.empty());
}

TEST_F(OneQueueTest, AMessageToAWindowDestroyedBeforeItRunsIsDropped) {
  ASSERT_TRUE(wnd.PostMessage(kLogMessage, 1));
  wnd.DestroyWindow();
  UiLater([&] { Note("after"); });
  ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
  EXPECT_EQ(log, std::vector<std::string>{"after"});
}

}  // namespace
