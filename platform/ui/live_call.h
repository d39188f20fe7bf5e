#pragma once
// Internal to platform/ui (includes Qt): the shape of most operations on a
// handle, "on the user-interface thread, look the record up, answer a
// fallback when it is gone", written once.

#include <type_traits>
#include <utility>

#include "platform/ui/ui_call.h"
#include "platform/ui/window_record.h"

// Runs find() on the user-interface thread. When it answers a record, runs
// op on that record and answers what op answers; when it answers null (a
// null or destroyed handle, or no record that find accepts), op does not
// run and fallback, converted to op's result type, is the answer. Waiting,
// order, what op throws and ThreadKilled are as for UiCall.
template <typename Find, typename Fallback, typename Op>
auto UiCallOnLive(Find&& find, Fallback&& fallback, Op&& op) {
  using Record = std::remove_pointer_t<std::invoke_result_t<Find&>>;
  using Result = std::invoke_result_t<Op&, Record&>;
  return UiCall([&]() -> Result {
    if (Record* record = find()) return op(*record);
    return static_cast<Result>(std::forward<Fallback>(fallback));
  });
}

// The same for an op with no result: nothing happens when find() answers null.
template <typename Find, typename Op>
void UiCallOnLive(Find&& find, Op&& op) {
  UiCall([&] {
    if (auto* record = find()) op(*record);
  });
}

// The class procedure of the live window hWnd when it is a Behavior, else null.
template <typename Behavior>
[[nodiscard]] Behavior* LiveBehavior(HWND hWnd) {
  WindowRecord* rec = LiveRecord(hWnd);
  return rec ? dynamic_cast<Behavior*>(rec->behavior.get()) : nullptr;
}

// UiCallOnLive on the window hWnd's record: WithWindow(hWnd, [fallback,] op).
// The handle is read on the user-interface thread, where a window object's
// handle member changes.
template <typename... FallbackAndOp>
auto WithWindow(const HWND& hWnd, FallbackAndOp&&... fallbackAndOp) {
  return UiCallOnLive([&] { return LiveRecord(hWnd); }, std::forward<FallbackAndOp>(fallbackAndOp)...);
}

// UiCallOnLive on the window hWnd's class procedure, when it is a Behavior.
template <typename Behavior, typename... FallbackAndOp>
auto WithBehavior(const HWND& hWnd, FallbackAndOp&&... fallbackAndOp) {
  return UiCallOnLive([&] { return LiveBehavior<Behavior>(hWnd); }, std::forward<FallbackAndOp>(fallbackAndOp)...);
}
