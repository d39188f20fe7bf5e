#pragma once
// The thread rule: a window operation from another thread is a synchronous
// call into the user-interface thread. On that thread the operation runs
// directly. From another thread it is queued, run in order by the
// user-interface thread's event loop (nested modal loops included, never
// while that thread blocks in a kernel wait), and the caller waits for it.
//
// The wait is cancellable: a thread of the thread library that is killed
// before the call never queues it, and one killed while waiting is released
// at once, its operation then never runs; both leave with ThreadKilled.

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
