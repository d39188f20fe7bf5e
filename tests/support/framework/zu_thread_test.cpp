#include "support/framework/zu_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/core/kernel_object.h"
#include "platform/core/thread_control.h"

namespace {

struct Shared {
  std::atomic<int> runs{0};
  std::atomic<bool> waiting{false};
  std::atomic<bool> afterKill{false};
  std::atomic<bool> selfOk{false};
  HANDLE self = nullptr;
};

DWORD CountRun(void* arg) {
  auto* s = static_cast<Shared*>(arg);
  ++s->runs;
  return 0;
}

// Stands in for a synchronous window call: registers a release and waits
// for it, then does what the window layer does in a killed thread.
DWORD WaitInReleasedCall(void* arg) {
  auto* s = static_cast<Shared*>(arg);
  ThreadControl* control = ThreadControl::Current();
  if (control == nullptr) return 1;
  // The releaser may still be inside the release when the waiter is let go,
  // so what it touches is shared, not owned by this frame.
  auto released = std::make_shared<EventObject>(false, false);
  if (control->BeginWait([released] { released->Set(); })) {
    s->waiting = true;
    released->Wait(INFINITE);
    control->EndWait();
  }
  if (control->IsKilled()) throw ThreadKilled{};
  s->afterKill = true;
  return 0;
}

DWORD YieldAndCheckSelf(void* arg) {
  auto* s = static_cast<Shared*>(arg);
  const HANDLE self = ZU_ThreadSelf();
  for (int i = 0; i < 100; ++i) ZU_ThreadYield(self);
  s->self = self;
  s->selfOk = self != nullptr;
  return 0;
}

template <typename Pred>
bool WaitUntil(Pred pred) {
  for (int i = 0; i < 2000 && !pred(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return pred();
}

TEST(ZuThread, RunsTheEntryAndCanBeWaitedFor) {
  Shared s;
  HANDLE h = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&h, CountRun, &s, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(s.runs, 1);
}

TEST(ZuThread, RefusesOtherFlagsAndNullArguments) {
  Shared s;
  HANDLE h = reinterpret_cast<HANDLE>(&s);
  EXPECT_FALSE(ZU_ThreadCreate(&h, CountRun, &s, 0));
  EXPECT_EQ(h, nullptr);
  EXPECT_FALSE(ZU_ThreadCreate(&h, nullptr, &s, ZU_THREAD_LIBRARY_HANDLE));
  EXPECT_FALSE(ZU_ThreadCreate(nullptr, CountRun, &s, ZU_THREAD_LIBRARY_HANDLE));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(s.runs, 0);
}

TEST(ZuThread, KillReleasesAThreadWaitingInACall) {
  Shared s;
  HANDLE h = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&h, WaitInReleasedCall, &s, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_TRUE(WaitUntil([&] { return s.waiting.load(); }));
  EXPECT_EQ(WaitForSingleObject(h, 50), WAIT_TIMEOUT);
  EXPECT_TRUE(ZU_ThreadKill(h));
  EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
  EXPECT_FALSE(s.afterKill);
}

TEST(ZuThread, SelfIsTheThreadsOwnHandleAndYieldReturns) {
  Shared s;
  HANDLE h = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&h, YieldAndCheckSelf, &s, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(s.selfOk);
  EXPECT_EQ(s.self, h);
  // The user-interface thread is not one of the library's.
  EXPECT_EQ(ZU_ThreadSelf(), nullptr);
  ZU_ThreadYield(ZU_ThreadSelf());
}

TEST(ZuThread, EndedHandlesStayValidUntilTheNextCreate) {
  Shared s;
  HANDLE h = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&h, CountRun, &s, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // A late kill and a second wait, as the main window may make them.
  EXPECT_TRUE(ZU_ThreadKill(h));
  EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
  HANDLE next = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&next, CountRun, &s, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_EQ(WaitForSingleObject(next, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(s.runs, 2);
  // The ended thread was freed by that create; its handle is no longer known.
  if (next != h) {
    EXPECT_FALSE(ZU_ThreadKill(h));
  }
  EXPECT_FALSE(ZU_ThreadKill(nullptr));
}

TEST(ZuThread, KilledBeforeItRunsNeverRunsTheEntry) {
  // Many threads, each killed at once: whichever had not reached its entry
  // must skip it, and every one must leave.
  Shared s;
  for (int i = 0; i < 50; ++i) {
    HANDLE h = nullptr;
    ASSERT_TRUE(ZU_ThreadCreate(&h, WaitInReleasedCall, &s, ZU_THREAD_LIBRARY_HANDLE));
    EXPECT_TRUE(ZU_ThreadKill(h));
    EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
  }
  EXPECT_FALSE(s.afterKill);
}

}  // namespace
