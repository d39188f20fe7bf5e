#pragma once
// Toolbars from toolbar resources: a bitmap of buttons side by side and the
// command ids. A button's tooltip and its status-bar prompt come from the
// string of its command ("prompt\ntooltip"). Buttons are enabled and checked
// by the owner's update handlers in the idle pass; a click sends the command
// to the owner as WM_COMMAND.

#include "platform/ui/cwnd.h"

inline constexpr UINT TBBS_BUTTON = 0x0000;
inline constexpr UINT TBBS_SEPARATOR = 0x0001;
inline constexpr UINT TBBS_CHECKED = 0x0100;
inline constexpr UINT TBBS_DISABLED = 0x0400;

class CToolBar : public CWnd {
  DECLARE_DYNAMIC(CToolBar)

 public:
  CToolBar() = default;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = 0xE800);
  // Loads the toolbar resource and its bitmap (same id).
  BOOL LoadToolBar(UINT resourceId);
  // Lays the buttons out in this order, 0 being a separator; images are
  // taken in order from the loaded bitmap for the non-separators.
  BOOL SetButtons(const UINT* ids, int count);
  [[nodiscard]] int GetCount() const;
  [[nodiscard]] UINT GetItemID(int index) const;
  [[nodiscard]] int CommandToIndex(UINT id) const;
  [[nodiscard]] UINT GetButtonStyle(int index) const;
  void SetButtonStyle(int index, UINT style);
  [[nodiscard]] CString GetButtonTooltip(int index) const;
  [[nodiscard]] int GetBarHeight() const;
  // Runs the update handlers of target for each button (disabling buttons
  // whose command has no handler when disableIfNoHandler is set).
  void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler);
  // Presses button index as a click would.
  void ClickButton(int index);
};
