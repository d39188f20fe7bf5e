#pragma once
// Status bars: panes from an indicator array. Pane 0 is the window text
// (the message pane); the lock-key indicators show CAP, NUM and SCRL while
// the key's state is on; other ids show their string.

#include <vector>

#include "platform/ui/cwnd.h"

inline constexpr UINT SBPS_NORMAL = 0x0000;
inline constexpr UINT SBPS_NOBORDERS = 0x0100;
inline constexpr UINT SBPS_STRETCH = 0x0800;

class CStatusBar : public CWnd {
  DECLARE_DYNAMIC(CStatusBar)

 public:
  CStatusBar() = default;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = 0xE801);
  BOOL SetIndicators(const UINT* ids, int count);
  [[nodiscard]] int GetCount() const;
  [[nodiscard]] UINT GetItemID(int index) const;
  [[nodiscard]] int CommandToIndex(UINT id) const;
  BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
  [[nodiscard]] CString GetPaneText(int index) const;
  // The bar's height for the current font, for placing it.
  [[nodiscard]] int GetBarHeight() const;
};

// The lock keys' states as the status bar shows them; tests and the key
// handling keep them (there is no portable query of the keyboard's lights).
enum class LockKey { Caps, Num, Scroll };
void SetLockKeyState(LockKey key, bool on);
[[nodiscard]] bool GetLockKeyState(LockKey key);
