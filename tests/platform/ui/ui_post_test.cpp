// Posts into the user-interface thread: in order with the poster's calls,
// never waited for within the bound, and never run for a killed poster.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/core/thread_control.h"
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

}  // namespace
