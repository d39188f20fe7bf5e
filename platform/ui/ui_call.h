#pragma once
// The thread rule: a window operation from another thread is a synchronous
// call into the user-interface thread. On that thread the operation runs
// directly. From another thread it is queued, run in order by the
// user-interface thread's event loop (nested modal loops included, never
// while that thread blocks in a kernel wait), and the caller waits for it.
//
// Calls, posts, later steps and posted window messages share one queue, so
// its order and its kill rule hold for all of them alike.
//
// The wait is cancellable: a thread of the thread library that is killed
// before the call never queues it; one killed while its operation waits in
// the queue is released at once and the operation never runs; one killed
// while its operation runs waits for it to finish (it uses the caller's
// stack). All of them leave with ThreadKilled, as does a call that
// completes after its thread was killed.

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/core/thread_control.h"

// Marks the calling thread as the user-interface thread (AfxWinMain and the
// GUI test main do it after creating the QApplication).
void SetUiThread();
[[nodiscard]] bool IsUiThread();

// Runs op on the user-interface thread and waits; rethrows what op threw.
void UiCallVoid(const std::function<void()>& op);

// Queues op for the user-interface thread and returns without waiting.
// Posts and calls of one thread run in the order they were made. Whatever
// op uses must stay valid until it has run: it should own its data. Posts
// of a thread-library thread that is killed before they run never run; a
// post made after the kill throws ThreadKilled instead. Such a thread keeps
// at most kMaxOutstandingPosts posts queued; past that a post waits like a
// call, so a producer faster than the user-interface thread is held back
// instead of filling memory. What a queued op throws is dropped: nobody
// waits for it. On the user-interface thread op runs at once, in place, and
// what it throws reaches the caller of UiPost.
inline constexpr int kMaxOutstandingPosts = 8;
void UiPost(std::function<void()> op);

// A post that waits for a later turn of the user-interface thread's event
// loop even when made on that thread, where it runs after everything queued
// before it: a long job cut into steps lets input and timers through, and a
// posted window message reaches its window after the handler that posted
// it. From another thread it is a post in every rule above. What it changes
// earns the idle pass that follows a posted message, not the deferred one
// of another thread's calls. Dropped when there is no application.
void UiLater(std::function<void()> op);

template <typename F>
auto UiCall(F&& op) -> std::invoke_result_t<F&> {
  using R = std::invoke_result_t<F&>;
  if constexpr (std::is_void_v<R>) {
    UiCallVoid([&] { op(); });
  } else {
    std::optional<R> result;
    UiCallVoid([&] { result.emplace(op()); });
    return std::move(*result);
  }
}
