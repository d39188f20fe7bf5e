#pragma once
// Internal to platform/ui (Qt): what the control classes share.

#include <QObject>
#include <cstring>
#include <string>

#include "platform/ui/ui_call.h"
#include "platform/ui/window_record.h"

// Turns the right-click and mouse-button events of a control's widgets into
// the control's own WM_CONTEXTMENU and button messages (which climb to the
// parent by default), without taking them from the control.
void InstallControlEvents(WindowRecord& record, QWidget* surface);

// Copies text to a caller's buffer the way list and combo boxes do (the
// caller sized it from the item's length): answers the length copied.
inline LRESULT CopyOut(const std::string& text, LPARAM buffer) {
  if (!buffer) return -1;
  std::memcpy(reinterpret_cast<char*>(buffer), text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

inline std::string TextArg(LPARAM lParam) { return lParam ? reinterpret_cast<const char*>(lParam) : ""; }

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
