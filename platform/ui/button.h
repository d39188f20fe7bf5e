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
  [[nodiscard]] int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
  [[nodiscard]] UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
  [[nodiscard]] UINT GetButtonStyle() const { return GetStyle() & 0xFFFFu; }
  HICON SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
  }
  [[nodiscard]] HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }
  // Clicks it as the user would: BN_CLICKED reaches the parent.
  void Click() { SendMessage(BM_CLICK); }
};
