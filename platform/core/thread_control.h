#pragma once
// What a thread started by the thread library carries so it can be ended
// without asynchronous cancellation: a killed mark, and the release of a
// synchronous cross-thread call it may be waiting in.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// Thrown inside a killed thread at its next window call or post, or where
// the thread checks its own mark, and caught by the thread library's entry,
// so the thread leaves at once with its own stack unwound.
struct ThreadKilled {};

class ThreadControl {
 public:
  // The calling thread's control, or null for threads the library did not start.
  static ThreadControl* Current();
  static void SetCurrent(ThreadControl* control);

  bool IsKilled() const;
  // Set once the thread is killed, and readable after the thread and this
  // control are gone: work the thread left queued checks it before running.
  [[nodiscard]] std::shared_ptr<const std::atomic<bool>> KilledMark() const { return m_killedMark; }
  // Marks the thread killed and releases the call it waits in, if any.
  void Kill();
  // Runs step unless the thread is killed, in one step with Kill: a kill
  // comes either before (then step never runs, and the answer is FALSE) or
  // after step has finished, so once Kill has returned no step starts.
  // step must not use this control.
  bool RunUnlessKilled(const std::function<void()>& step);

  // A synchronous call registers how to release its waiter. FALSE when the
  // thread is already killed: the call must then not be made at all.
  bool BeginWait(std::function<void()> release);
  // Returns only once a release that Kill started has finished, so the
  // waiter's frame outlives everything the release touches.
  void EndWait();

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_releaseDone;
  // Written under m_mutex; read without it by queued work.
  std::shared_ptr<std::atomic<bool>> m_killedMark = std::make_shared<std::atomic<bool>>(false);
  bool m_releasing = false;
  std::function<void()> m_release;
};
