// CSize, CPoint and CRect: the class library's size, point and rectangle with their operators.
// Their members are laid out as Win32's SIZE, POINT and RECT; in the Windows build they convert to and
// from those (see crect_win32.cpp, which checks the layout).
#pragma once

#include "platform/classlib/cltypes.h"

#ifdef _WIN32
struct tagSIZE;
struct tagPOINT;
struct tagRECT;
#endif

class CSize {
 public:
  LONG cx = 0;
  LONG cy = 0;

  CSize() = default;
  CSize(int initCX, int initCY) : cx(initCX), cy(initCY) {}
#ifdef _WIN32
  CSize(const tagSIZE& size) : CSize(*reinterpret_cast<const CSize*>(&size)) {}
  operator tagSIZE*() { return reinterpret_cast<tagSIZE*>(this); }
  operator const tagSIZE*() const { return reinterpret_cast<const tagSIZE*>(this); }
#endif

  bool operator==(const CSize& s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(const CSize& s) const { return !(*this == s); }
  CSize& operator+=(const CSize& s) { cx += s.cx; cy += s.cy; return *this; }
  CSize& operator-=(const CSize& s) { cx -= s.cx; cy -= s.cy; return *this; }
  CSize operator+(const CSize& s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(const CSize& s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint {
 public:
  LONG x = 0;
  LONG y = 0;

  CPoint() = default;
  CPoint(int initX, int initY) : x(initX), y(initY) {}
  explicit CPoint(const CSize& size) : x(size.cx), y(size.cy) {}
#ifdef _WIN32
  CPoint(const tagPOINT& point) : CPoint(*reinterpret_cast<const CPoint*>(&point)) {}
  operator tagPOINT*() { return reinterpret_cast<tagPOINT*>(this); }
  operator const tagPOINT*() const { return reinterpret_cast<const tagPOINT*>(this); }
#endif

  void Offset(int xOffset, int yOffset) { x += xOffset; y += yOffset; }
  void Offset(const CSize& size) { Offset(size.cx, size.cy); }
  void Offset(const CPoint& point) { Offset(point.x, point.y); }

  bool operator==(const CPoint& p) const { return x == p.x && y == p.y; }
  bool operator!=(const CPoint& p) const { return !(*this == p); }
  CPoint& operator+=(const CSize& s) { Offset(s); return *this; }
  CPoint& operator-=(const CSize& s) { Offset(-s.cx, -s.cy); return *this; }
  CPoint& operator+=(const CPoint& p) { Offset(p); return *this; }
  CPoint& operator-=(const CPoint& p) { Offset(-p.x, -p.y); return *this; }
  CPoint operator+(const CSize& s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(const CSize& s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator+(const CPoint& p) const { return CPoint(x + p.x, y + p.y); }
  CSize operator-(const CPoint& p) const { return CSize(x - p.x, y - p.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect {
 public:
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;

  CRect() = default;
  CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  CRect(const CPoint& topLeft, const CSize& size)
      : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy) {}
  CRect(const CPoint& topLeft, const CPoint& bottomRight)
      : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}
#ifdef _WIN32
  CRect(const tagRECT& rect) : CRect(*reinterpret_cast<const CRect*>(&rect)) {}
  CRect(const tagRECT* rect) : CRect(*reinterpret_cast<const CRect*>(rect)) {}
  operator tagRECT*() { return reinterpret_cast<tagRECT*>(this); }
  operator const tagRECT*() const { return reinterpret_cast<const tagRECT*>(this); }
  // For the calls that take a rectangle by reference (Create of windows and controls).
  operator const tagRECT&() const { return *reinterpret_cast<const tagRECT*>(this); }
#endif

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  // Empty: no area (width or height not positive). Null: all four coordinates zero.
  BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  // The left and top edges belong to the rectangle, the right and bottom ones do not.
  BOOL PtInRect(const CPoint& point) const {
    return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
  }
  BOOL EqualRect(const CRect& r) const { return *this == r; }

  void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
  void SetRectEmpty() { *this = CRect(); }
  void CopyRect(const CRect& r) { *this = r; }

  void InflateRect(int x, int y) { InflateRect(x, y, x, y); }
  void InflateRect(const CSize& size) { InflateRect(size.cx, size.cy); }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void InflateRect(const CRect& r) { InflateRect(r.left, r.top, r.right, r.bottom); }
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(const CSize& size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void DeflateRect(const CRect& r) { DeflateRect(r.left, r.top, r.right, r.bottom); }
  void OffsetRect(int x, int y) { left += x; right += x; top += y; bottom += y; }
  void OffsetRect(const CPoint& point) { OffsetRect(point.x, point.y); }
  void OffsetRect(const CSize& size) { OffsetRect(size.cx, size.cy); }
  void MoveToX(int x) { right = Width() + x; left = x; }
  void MoveToY(int y) { bottom = Height() + y; top = y; }
  void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
  void MoveToXY(const CPoint& point) { MoveToXY(point.x, point.y); }
  // Swaps the edges where right < left or bottom < top.
  void NormalizeRect();

  // The overlap of a and b; when they do not overlap, an empty (all zero) rectangle and FALSE.
  BOOL IntersectRect(const CRect& a, const CRect& b);
  // The smallest rectangle holding a and b, ignoring an empty one; FALSE when both are empty.
  BOOL UnionRect(const CRect& a, const CRect& b);

  bool operator==(const CRect& r) const {
    return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
  }
  bool operator!=(const CRect& r) const { return !(*this == r); }
  CRect& operator+=(const CPoint& p) { OffsetRect(p); return *this; }
  CRect& operator-=(const CPoint& p) { OffsetRect(-p.x, -p.y); return *this; }
  CRect& operator+=(const CSize& s) { OffsetRect(s); return *this; }
  CRect& operator-=(const CSize& s) { OffsetRect(-s.cx, -s.cy); return *this; }
  CRect& operator+=(const CRect& r) { InflateRect(r); return *this; }
  CRect& operator-=(const CRect& r) { DeflateRect(r); return *this; }
  CRect& operator&=(const CRect& r) { IntersectRect(*this, r); return *this; }
  CRect& operator|=(const CRect& r) { UnionRect(*this, r); return *this; }
  CRect operator+(const CPoint& p) const { return CRect(*this) += p; }
  CRect operator-(const CPoint& p) const { return CRect(*this) -= p; }
  CRect operator+(const CSize& s) const { return CRect(*this) += s; }
  CRect operator-(const CSize& s) const { return CRect(*this) -= s; }
  CRect operator+(const CRect& r) const { return CRect(*this) += r; }
  CRect operator-(const CRect& r) const { return CRect(*this) -= r; }
  CRect operator&(const CRect& r) const { return CRect(*this) &= r; }
  CRect operator|(const CRect& r) const { return CRect(*this) |= r; }
};
