#pragma once
// Device contexts over a painter: CPaintDC inside WM_PAINT, CClientDC for
// measuring and drawing outside it, and the plain functions the program
// calls on an HDC.

#include "platform/ui/cstring.h"
#include "platform/ui/geometry.h"

class CWnd;
class CFont;
class CBrush;

BOOL FillRect(HDC dc, LPCRECT rect, HBRUSH brush);
// Draws the icon's pixels scaled to cx x cy (0 0: the icon's own size).
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length);
inline BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) { return TextOut(dc, x, y, text, length); }
BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int length, SIZE* size);
inline BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
  return GetTextExtentPointA(dc, text, length, size);
}
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
HFONT SelectFont(HDC dc, HFONT font);
int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
[[nodiscard]] HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC dc);

class CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  operator HDC() const { return m_hDC; }  // NOLINT
  [[nodiscard]] HDC GetSafeHdc() const { return m_hDC; }
  // A wrapper the layer keeps while the context lives.
  static CDC* FromHandle(HDC dc);

  void FillRect(LPCRECT rect, CBrush* brush);
  void FillSolidRect(LPCRECT rect, COLORREF color);
  BOOL DrawIcon(int x, int y, HICON icon);
  BOOL TextOut(int x, int y, LPCTSTR text, int length);
  BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
  int DrawText(LPCTSTR text, int length, LPRECT rect, UINT format);
  COLORREF SetTextColor(COLORREF color);
  COLORREF SetBkColor(COLORREF color);
  int SetBkMode(int mode);
  CFont* SelectObject(CFont* font);
  [[nodiscard]] CSize GetTextExtent(LPCTSTR text, int length) const;
  [[nodiscard]] CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
  LRESULT ReleaseHandle();
};

// Paints the window's client area inside WM_PAINT.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  HWND m_hWnd;
};

// Draws or measures on the window's client area outside WM_PAINT.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;
  HWND m_hWnd;
};
