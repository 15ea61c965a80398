#pragma once

// CPoint, CSize and CRect: zero-initialised point, size and rectangle with the usual helpers.

#include "corekit80/types/TCWinTypes.h"

// Point, size and rectangle with the constructors and helpers hosts are used to; the
// fields are those of POINT, SIZE and RECT, so they pass wherever those are expected.
// Unlike the window system's own classes they start out zeroed.

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int32_t x0, int32_t y0) : POINT{x0, y0} {}
    constexpr CPoint(const POINT& p) : POINT(p) {}

    constexpr bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
};

class CSize : public SIZE {
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(int32_t cx0, int32_t cy0) : SIZE{cx0, cy0} {}
    constexpr CSize(const SIZE& s) : SIZE(s) {}

    constexpr bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
};

class CRect : public RECT {
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int32_t l, int32_t t, int32_t r, int32_t b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& r) : RECT(r) {}
    constexpr CRect(const POINT& topLeft, const SIZE& size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    constexpr int32_t Width() const { return right - left; }
    constexpr int32_t Height() const { return bottom - top; }
    constexpr CSize Size() const { return CSize(Width(), Height()); }
    constexpr CPoint TopLeft() const { return CPoint(left, top); }
    constexpr CPoint BottomRight() const { return CPoint(right, bottom); }

    constexpr bool operator==(const RECT& r) const
    {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
};
