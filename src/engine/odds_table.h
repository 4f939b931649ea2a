#pragma once

#include "dice_odds.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
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

// What a computation will take, estimated before it starts: basic steps
// (multiply-adds and the like), table entries alive at once, and possible
// totals. Doubles, so that absurd groups cannot overflow the count.
struct CCost {
    // The limits: a group beyond them is refused before any work. The
    // largest group within them takes about 2 s (Release).
    static constexpr double kMaxSteps = 1e10; // about 5e9 steps a second at the slowest
    static constexpr double kMaxEntries = 16e6;
    static constexpr double kMaxTotals = 4e6;

    double steps = 0;
    double entries = 0;
    double totals = 0;

    // Work done one after the other: steps add up, the largest tables count.
    void Then(const CCost& next) {
        steps += next.steps;
        entries = std::max(entries, next.entries);
        totals = std::max(totals, next.totals);
    }
    OddsRefusal Refusal() const {
        if (totals > kMaxTotals)
            return OddsRefusal::TooManyTotals;
        if (entries > kMaxEntries)
            return OddsRefusal::TooMuchMemory;
        if (steps > kMaxSteps)
            return OddsRefusal::TooMuchWork;
        return OddsRefusal::None;
    }
};

// Counts the steps of a computation and looks at its cancel flag between
// chunks of them: loops spend at most kChunk steps at a time, so the flag is
// seen at least every 2 * kChunk steps.
class CWork {
public:
    static constexpr std::int64_t kChunk = 50'000;

    explicit CWork(const OddsCancelFlag* cancel = nullptr) : cancel(cancel) {}

    // False once the computation is to stop.
    bool Spend(std::int64_t steps) {
        pending += steps;
        if (pending >= kChunk) {
            pending = 0;
            if (cancel && cancel->load(std::memory_order_relaxed))
                stopped = true;
        }
        return !stopped;
    }
    bool Stopped() const { return stopped; }

private:
    const OddsCancelFlag* cancel;
    std::int64_t pending = 0;
    bool stopped = false;
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

// to[i] += from[i] * w for i < n, in chunks between looks at the cancel flag.
template <typename T> bool MulAdd(T* to, const T* from, T w, std::size_t n, CWork& work) {
    for (std::size_t start = 0; start < n; start += CWork::kChunk) {
        const std::size_t end = std::min(n, start + static_cast<std::size_t>(CWork::kChunk));
        if (!work.Spend(static_cast<std::int64_t>(end - start)))
            return false;
        for (std::size_t i = start; i < end; ++i)
            to[i] = Add(to[i], Mul(from[i], w));
    }
    return true;
}

// The weights of the sum of two independent tables; the result reaches down
// to index `reach` at least (zeros), so that a caller may add there. Empty
// when stopped.
template <typename T>
CTable<T> Convolve(const CTable<T>& a, const CTable<T>& b, CWork& work,
                   std::int64_t reach = std::numeric_limits<std::int64_t>::max()) {
    if (a.Empty() || b.Empty())
        return {};
    const CTable<T>& wide = a.c.size() >= b.c.size() ? a : b;
    const CTable<T>& narrow = &wide == &a ? b : a;
    const std::int64_t first = std::min(a.first + b.first, reach);
    const std::size_t n = wide.c.size(), lead = static_cast<std::size_t>(a.first + b.first - first);
    CTable<T> out{first, std::vector<T>(lead + n + narrow.c.size() - 1, T{})};
    for (std::size_t j = 0; j < narrow.c.size(); ++j) {
        const T w = narrow.c[j];
        if (w != T{} && !MulAdd(out.c.data() + lead + j, wide.c.data(), w, n, work))
            return {};
    }
    return out;
}

// to += w * from, the indexes of `from` moved by `shift`.
template <typename T>
void AddScaled(CTable<T>& to, const CTable<T>& from, T w, CWork& work, std::int64_t shift = 0) {
    if (from.Empty() || w == T{})
        return;
    const std::int64_t first = from.first + shift, end = from.End() + shift;
    if (to.Empty()) {
        to.first = first;
        to.c.assign(from.c.size(), T{});
    } else if (first < to.first || end > to.End()) {
        const std::int64_t newFirst = std::min(first, to.first);
        const std::int64_t newEnd = std::max(end, to.End());
        if (!work.Spend(static_cast<std::int64_t>(to.c.size())))
            return;
        std::vector<T> grown(static_cast<std::size_t>(newEnd - newFirst), T{});
        std::copy(to.c.begin(), to.c.end(), grown.begin() + (to.first - newFirst));
        to.first = newFirst;
        to.c = std::move(grown);
    }
    MulAdd(to.c.data() + (first - to.first), from.c.data(), w, from.c.size(), work);
}

} // namespace rp::odds
