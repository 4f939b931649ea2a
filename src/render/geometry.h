#pragma once

#include <QPoint>
#include <QRect>
#include <algorithm>
#include <climits>

namespace rp {

// Positions read from files and pastes stay within this distance of the
// origin, far from where rectangle arithmetic could leave the int range.
inline constexpr int kMaxTrayPosition = 1 << 28;

constexpr int ClampTrayPosition(int value) {
    return std::clamp(value, -kMaxTrayPosition, kMaxTrayPosition);
}

// A sum or difference of two ints brought back into the int range: the
// rectangle arithmetic below stays defined at any position.
constexpr int SaturatedInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// A tray rectangle: left and top inclusive, right and bottom exclusive.
// Integer divisions truncate toward zero.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return SaturatedInt(0LL + right - left); }
    constexpr int Height() const { return SaturatedInt(0LL + bottom - top); }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    constexpr QPoint Center() const {
        return QPoint(static_cast<int>((0LL + left + right) / 2),
                      static_cast<int>((0LL + top + bottom) / 2));
    }
    constexpr QPoint TopLeft() const { return QPoint(left, top); }

    constexpr CRect Offset(int dx, int dy) const {
        return {SaturatedInt(0LL + left + dx), SaturatedInt(0LL + top + dy),
                SaturatedInt(0LL + right + dx), SaturatedInt(0LL + bottom + dy)};
    }
    constexpr CRect Inflate(int d) const {
        return {SaturatedInt(0LL + left - d), SaturatedInt(0LL + top - d),
                SaturatedInt(0LL + right + d), SaturatedInt(0LL + bottom + d)};
    }
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
        return {x, y, SaturatedInt(0LL + x + w), SaturatedInt(0LL + y + h)};
    }
    // For drawing a one-unit outline exactly over the rectangle's pixels.
    QRect OutlineRect() const {
        return QRect(left, top, SaturatedInt(Width() - 1LL), SaturatedInt(Height() - 1LL));
    }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
};

} // namespace rp
