#pragma once
// Internal to platform/ui (Qt): what the control classes share.

#include <QObject>
#include <cstring>
#include <string>
#include <utility>

#include "platform/ui/live_call.h"
#include "platform/ui/ui_layer.h"

// Turns the right-click and mouse-button events of a control's widgets into
// the control's own WM_CONTEXTMENU and button messages (which climb to the
// parent by default), without taking them from the control.
void InstallControlEvents(WindowRecord& record, QWidget* surface);

inline std::string TextOf(LPCTSTR text) { return text ? text : ""; }
inline std::string TextArg(LPARAM lParam) { return TextOf(reinterpret_cast<LPCTSTR>(lParam)); }

// Case-insensitive comparison of UTF-8 texts as list boxes sort and search.
[[nodiscard]] int CompareNoCase(const std::string& a, const std::string& b);
[[nodiscard]] bool StartsWithNoCase(const std::string& whole, const std::string& prefix);

// Blocks the control's own notifications while a message changes it: the
// platform notifies the parent only of the user's changes.
class NotifyGuard {
 public:
  explicit NotifyGuard(int& counter) : m_counter(counter) { ++m_counter; }
  ~NotifyGuard() { --m_counter; }
  NotifyGuard(const NotifyGuard&) = delete;
  NotifyGuard& operator=(const NotifyGuard&) = delete;

 private:
  int& m_counter;
};

// A control object's typed operation, run as a message to the control would
// run it: on the user-interface thread and noted as activity for the idle
// pass. A gone control, or one of another class, answers fallback (0 is
// what a message to it answers).
template <typename Behavior, typename Fallback, typename Op>
auto ControlCall(const HWND& hWnd, Fallback&& fallback, Op&& op) {
  return WithBehavior<Behavior>(hWnd, std::forward<Fallback>(fallback), [&](Behavior& control) {
    NoteUiActivity();
    return op(control);
  });
}
