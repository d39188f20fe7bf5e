#pragma once
// Fonts and brushes: small records of this layer behind HFONT and HBRUSH.

#include "platform/ui/cobject.h"
#include "platform/ui/cstring.h"

// A font by face name, point size and weight; the widget boundary maps it
// to the nearest installed font.
HFONT CreatePointFont(int pointSizeTenths, LPCTSTR faceName, int weight = 400, BOOL italic = FALSE);
BOOL DeleteFontRecord(HFONT font);
[[nodiscard]] HBRUSH CreateSolidBrush(COLORREF color);
[[nodiscard]] HBRUSH GetSysColorBrush(int index);
BOOL DeleteBrush(HBRUSH brush);
[[nodiscard]] COLORREF BrushColor(HBRUSH brush);

class CGdiObject : public CObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
};

class CFont : public CGdiObject {
 public:
  CFont() = default;
  ~CFont() override;
  // pointSize in tenths of a point, as the class library takes it.
  BOOL CreatePointFont(int pointSize, LPCTSTR faceName);
  BOOL Attach(HFONT font);
  HFONT Detach();
  BOOL DeleteObject();
  operator HFONT() const { return m_hObject; }  // NOLINT
  [[nodiscard]] HFONT GetSafeHandle() const { return m_hObject; }
  // A wrapper the layer keeps for the handle (valid while the font lives).
  static CFont* FromHandle(HFONT font);
  HFONT m_hObject = nullptr;

 private:
  bool m_owned = false;
};

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color);
  ~CBrush() override;
  BOOL CreateSolidBrush(COLORREF color);
  BOOL DeleteObject();
  operator HBRUSH() const { return m_hObject; }  // NOLINT
  HBRUSH m_hObject = nullptr;
};
