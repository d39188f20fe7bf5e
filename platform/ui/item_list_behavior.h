#pragma once
// Internal to platform/ui (Qt): what list boxes and combo boxes share, the
// class procedure's typed operations and the way the control objects reach
// them.

#include <utility>

#include "platform/ui/control_support.h"
#include "platform/ui/item_texts.h"

// A list of item texts, searched, sorted and copied out by the same rules in
// both controls; the parent hears only of the user's changes.
class ItemListBehavior : public WindowBehavior {
 public:
  [[nodiscard]] virtual ItemTexts Texts() const = 0;

  // Runs op with the control's notifications held back: what the program
  // itself changes is not notified, as on the platform.
  template <typename Op>
  decltype(auto) Quietly(Op&& op) {
    NotifyGuard quiet(m_quiet);
    return op();
  }

 protected:
  [[nodiscard]] bool Quiet() const { return m_quiet > 0; }

 private:
  int m_quiet = 0;
};

// ControlCall with the control's notifications held back, as for a message.
template <typename Behavior, typename Fallback, typename Op>
auto QuietControlCall(const HWND& hWnd, Fallback&& fallback, Op&& op) {
  return ControlCall<Behavior>(hWnd, std::forward<Fallback>(fallback),
                               [&](Behavior& control) { return control.Quietly([&] { return op(control); }); });
}

// The operations both controls answer alike, whichever of the two hWnd is.
[[nodiscard]] int FindItemText(HWND control, int startAfter, LPCTSTR text, TextMatch match);
[[nodiscard]] int ItemTextLength(HWND control, int index);
int CopyItemText(HWND control, int index, LPTSTR buffer);
[[nodiscard]] CString ItemText(HWND control, int index);
