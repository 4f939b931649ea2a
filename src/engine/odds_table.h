#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace rp::odds {

// The arithmetic of the tables: chances (double) add and multiply; the
// possible-totals pass (std::uint8_t) does the same with "or" and "and", so
// that totals whose chance underflows to 0 are still known to be possible.
inline double Add(double a, double b) {
    return a + b;
}
inline double Mul(double a, double b) {
    return a * b;
}
inline std::uint8_t Add(std::uint8_t a, std::uint8_t b) {
    return a | b;
}
inline std::uint8_t Mul(std::uint8_t a, std::uint8_t b) {
    return a & b;
}

// Caps the work of one computation, so that a huge group is refused
// instead of freezing the program.
class CWorkBudget {
public:
    // At most this many multiply-adds, and this many entries in one table.
    static constexpr std::int64_t kMaxWork = 1'000'000'000;
    static constexpr std::int64_t kMaxEntries = 4'000'000;

    // False (and from then on refused) when `work` more would go beyond the cap.
    bool Spend(std::int64_t work, std::int64_t entries = 0) {
        left -= work;
        if (left < 0 || entries > kMaxEntries)
            Refuse();
        return Ok();
    }
    bool Ok() const { return left >= 0; }
    // Whether `work` more would still be within the cap.
    bool Affords(std::int64_t work) const { return work <= left; }
    void Refuse() { left = -1; }

private:
    std::int64_t left = kMaxWork;
};

// Totals are computed on a grid origin + step * index, so that dice whose
// values are far apart (multipliers) need no room for the gaps.
struct CGrid {
    std::int64_t origin = 0;
    std::int64_t step = 1;
    std::int64_t Index(std::int64_t value) const { return (value - origin) / step; }
};

// The grid step that every difference of two values is a multiple of.
inline CGrid GridOf(const std::vector<std::int64_t>& values) {
    CGrid grid;
    if (values.empty())
        return grid;
    grid.origin = values.front();
    std::int64_t step = 0;
    for (const std::int64_t v : values)
        step = std::gcd(step, std::abs(v - grid.origin));
    grid.step = step == 0 ? 1 : step;
    return grid;
}

// Weights of consecutive grid indexes first, first + 1, ...; empty means
// nothing is possible.
template <typename T> struct CTable {
    std::int64_t first = 0;
    std::vector<T> c;

    bool Empty() const { return c.empty(); }
    std::int64_t End() const { return first + static_cast<std::int64_t>(c.size()); }
    static CTable Point(std::int64_t index, T weight) { return CTable{index, {weight}}; }
};

// The weights of the sum of two independent tables.
template <typename T>
CTable<T> Convolve(const CTable<T>& a, const CTable<T>& b, CWorkBudget& work) {
    if (a.Empty() || b.Empty())
        return {};
    const CTable<T>& wide = a.c.size() >= b.c.size() ? a : b;
    const CTable<T>& narrow = &wide == &a ? b : a;
    const std::size_t n = wide.c.size(), size = n + narrow.c.size() - 1;
    if (!work.Spend(static_cast<std::int64_t>(n * narrow.c.size()),
                    static_cast<std::int64_t>(size)))
        return {};
    CTable<T> out{a.first + b.first, std::vector<T>(size, T{})};
    for (std::size_t j = 0; j < narrow.c.size(); ++j) {
        const T w = narrow.c[j];
        if (w == T{})
            continue;
        T* to = out.c.data() + j;
        const T* from = wide.c.data();
        for (std::size_t i = 0; i < n; ++i)
            to[i] = Add(to[i], Mul(from[i], w));
    }
    return out;
}

// to += w * from, the indexes of `from` moved by `shift`.
template <typename T>
void AddScaled(CTable<T>& to, const CTable<T>& from, T w, CWorkBudget& work,
               std::int64_t shift = 0) {
    if (from.Empty() || w == T{})
        return;
    const std::int64_t first = from.first + shift, end = from.End() + shift;
    if (to.Empty()) {
        to.first = first;
        to.c.assign(from.c.size(), T{});
    } else if (first < to.first || end > to.End()) {
        const std::int64_t newFirst = std::min(first, to.first);
        const std::int64_t newEnd = std::max(end, to.End());
        if (!work.Spend(newEnd - newFirst, newEnd - newFirst))
            return;
        std::vector<T> grown(static_cast<std::size_t>(newEnd - newFirst), T{});
        std::copy(to.c.begin(), to.c.end(), grown.begin() + (to.first - newFirst));
        to.first = newFirst;
        to.c = std::move(grown);
    }
    if (!work.Spend(static_cast<std::int64_t>(from.c.size())))
        return;
    T* out = to.c.data() + (first - to.first);
    for (std::size_t i = 0; i < from.c.size(); ++i)
        out[i] = Add(out[i], Mul(from.c[i], w));
}

} // namespace rp::odds
