#pragma once
// Static text, icon and frame controls ("STATIC").

#include "platform/ui/cwnd.h"

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  CStatic() = default;
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF) {
    return CWnd::Create(WC_STATIC, text, style, rect, parent, id);
  }
  HICON SetIcon(HICON icon);
  [[nodiscard]] HICON GetIcon() const;
};
