// CPoint, CSize, CRect: 32-bit integer geometry in the layout of POINT, SIZE and RECT, so a
// pointer to one may be handed to any Win32 call that takes the other.
#pragma once

#include <windows.h>

class CPoint : public POINT {
 public:
  CPoint() { x = 0; y = 0; }
  CPoint(int px, int py) { x = px; y = py; }
  CPoint(POINT p) { x = p.x; y = p.y; }
  explicit CPoint(LPARAM lp) { x = static_cast<short>(LOWORD(lp)); y = static_cast<short>(HIWORD(lp)); }
  void Offset(int dx, int dy) { x += dx; y += dy; }
  bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
  bool operator!=(const POINT& p) const { return !(*this == p); }
};

class CSize : public SIZE {
 public:
  CSize() { cx = 0; cy = 0; }
  CSize(int w, int h) { cx = w; cy = h; }
  CSize(SIZE s) { cx = s.cx; cy = s.cy; }
  bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const SIZE& s) const { return !(*this == s); }
};

class CRect : public RECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
  CRect(POINT p, SIZE s) { left = p.x; top = p.y; right = p.x + s.cx; bottom = p.y + s.cy; }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetRectEmpty() { left = top = right = bottom = 0; }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void MoveToXY(int x, int y) { int w = Width(), h = Height(); left = x; top = y; right = x + w; bottom = y + h; }
  void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  bool IntersectRect(const RECT& a, const RECT& b) {
    left = a.left > b.left ? a.left : b.left;
    top = a.top > b.top ? a.top : b.top;
    right = a.right < b.right ? a.right : b.right;
    bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    if (IsRectEmpty()) { SetRectEmpty(); return false; }
    return true;
  }
  bool operator==(const RECT& r) const { return left == r.left && top == r.top && right == r.right && bottom == r.bottom; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};
