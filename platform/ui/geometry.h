#pragma once
// The class library's point, size and rectangle wrappers over the platform's
// plain structures.

#include "platform/ui/win_user.h"

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int px, int py) : POINT{px, py} {}
  CPoint(POINT p) : POINT(p) {}  // NOLINT: implicit as in the class library
  // A point packed in a message parameter (signed 16-bit halves).
  explicit CPoint(LPARAM packed) : POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)} {}
  void Offset(int dx, int dy) {
    x += dx;
    y += dy;
  }
  friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
  friend bool operator!=(const CPoint& a, const CPoint& b) { return !(a == b); }
};

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int w, int h) : SIZE{w, h} {}
  CSize(SIZE s) : SIZE(s) {}  // NOLINT
  friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}  // NOLINT
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  operator LPRECT() { return this; }         // NOLINT
  operator LPCRECT() const { return this; }  // NOLINT
  [[nodiscard]] int Width() const { return right - left; }
  [[nodiscard]] int Height() const { return bottom - top; }
  [[nodiscard]] CSize Size() const { return CSize(Width(), Height()); }
  [[nodiscard]] CPoint TopLeft() const { return CPoint(left, top); }
  [[nodiscard]] CPoint BottomRight() const { return CPoint(right, bottom); }
  [[nodiscard]] CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  [[nodiscard]] BOOL IsRectEmpty() const { return (right <= left || bottom <= top) ? TRUE : FALSE; }
  [[nodiscard]] BOOL PtInRect(POINT p) const {
    return (p.x >= left && p.x < right && p.y >= top && p.y < bottom) ? TRUE : FALSE;
  }
  void SetRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  void OffsetRect(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  void DeflateRect(int dx, int dy) {
    left += dx;
    right -= dx;
    top += dy;
    bottom -= dy;
  }
  void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }
  friend bool operator==(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend bool operator!=(const CRect& a, const CRect& b) { return !(a == b); }
};
