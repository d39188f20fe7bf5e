#pragma once
// Push buttons, check boxes, radio buttons and group boxes ("BUTTON").

#include "platform/ui/cwnd.h"

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  CButton() = default;
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_BUTTON, caption, style, rect, parent, id);
  }
  [[nodiscard]] int GetCheck() const;
  void SetCheck(int check);
  [[nodiscard]] UINT GetState() const;
  [[nodiscard]] UINT GetButtonStyle() const { return GetStyle() & 0xFFFFu; }
  HICON SetIcon(HICON icon);
  [[nodiscard]] HICON GetIcon() const;
  // Clicks it as the user would: BN_CLICKED reaches the parent.
  void Click();
};
