#pragma once

#include <QPoint>
#include <QRect>
#include <algorithm>

namespace rp {

// A tray rectangle: left and top inclusive, right and bottom exclusive.
// Integer divisions truncate toward zero.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    constexpr QPoint Center() const { return QPoint((left + right) / 2, (top + bottom) / 2); }
    constexpr QPoint TopLeft() const { return QPoint(left, top); }

    constexpr CRect Offset(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr CRect Inflate(int d) const { return {left - d, top - d, right + d, bottom + d}; }
    // The smallest rectangle holding both; an empty side adds nothing.
    constexpr CRect Union(const CRect& o) const {
        if (IsEmpty())
            return o;
        if (o.IsEmpty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    // Plain bounds union, keeping even empty rectangles (and points) in.
    constexpr CRect Join(const CRect& o) const {
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    constexpr CRect Intersect(const CRect& o) const {
        const CRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                      std::min(bottom, o.bottom)};
        return r.IsEmpty() ? CRect{} : r;
    }
    constexpr bool Intersects(const CRect& o) const { return !Intersect(o).IsEmpty(); }
    // With left <= right and top <= bottom.
    constexpr CRect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    constexpr bool operator==(const CRect&) const = default;

    static constexpr CRect FromPointSize(int x, int y, int w, int h) {
        return {x, y, x + w, y + h};
    }
    // For drawing a one-unit outline exactly over the rectangle's pixels.
    QRect OutlineRect() const { return QRect(left, top, Width() - 1, Height() - 1); }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
};

} // namespace rp
