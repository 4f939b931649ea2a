#include "odds_identical.h"

#include <cmath>

namespace rp::odds {

// With v the lowest kept value, b dice below v (at most k), a dice above it
// and the rest on v, the kept sum is (n - k) * v plus the excesses x - v of
// the a dice above, which are independent dice of their own: the chance of
// (v, a) times the a-th power of one such excess. For each v the powers are
// summed by Horner's rule, P = W(0) + u * (W(1) + u * (...)), so the work is
// that of one plain sum of n - k dice, whatever k.

namespace {

// An exponential and its logarithms cost about as much as this many steps.
constexpr double kTermCost = 100;

// log(i!) for i <= n; long double, so that n additions lose nothing a
// double would keep.
std::vector<long double> LogFactorials(int n) {
    std::vector<long double> lf(static_cast<std::size_t>(n) + 1, 0.0L);
    for (int i = 1; i <= n; ++i)
        lf[static_cast<std::size_t>(i)] = lf[static_cast<std::size_t>(i - 1)] + std::log(i * 1.0L);
    return lf;
}

// The counts of one v's dice: below, on and above it, as draws of 32,768.
struct CSplit {
    int below, equal, above;
};

// The chance that, of n dice, a lie above v, at most k below it and the
// rest on it; v is then the lowest kept value (a < n - k is the caller's).
class CCountChance {
public:
    CCountChance(int n, int k) : n(n), k(k), lf(LogFactorials(n)) {}

    double Of(const CSplit& s, int a, CWork& work) const {
        const auto logOf = [](int draws) {
            return std::log(draws / static_cast<long double>(kDraws));
        };
        const long double lb = s.below > 0 ? logOf(s.below) : 0, le = logOf(s.equal),
                          la = s.above > 0 ? logOf(s.above) : 0;
        const int bMax = s.below > 0 ? k : 0;
        const auto at = [&](int i) { return lf[static_cast<std::size_t>(i)]; };
        double sum = 0;
        for (int b = 0; b <= bMax; ++b) {
            const int e = n - a - b;
            if (!work.Spend(static_cast<std::int64_t>(kTermCost)))
                return 0;
            sum += std::exp(
                static_cast<double>(at(n) - at(a) - at(b) - at(e) + a * la + b * lb + e * le));
        }
        return sum;
    }

private:
    int n, k;
    std::vector<long double> lf;
};

template <typename T> struct CWeights;
template <> struct CWeights<double> {
    CWeights(int n, int k) : chance(n, k) {}
    double Of(const CSplit& s, int a, CWork& work) const { return chance.Of(s, a, work); }
    static double Given(int draws, int of) { return draws / static_cast<double>(of); }
    CCountChance chance;
};
template <> struct CWeights<std::uint8_t> {
    CWeights(int, int) {}
    std::uint8_t Of(const CSplit& s, int a, CWork&) const { return a == 0 || s.above > 0; }
    static std::uint8_t Given(int, int) { return 1; }
};

} // namespace

CCost IdenticalKeptCost(const CBlock& block, int n, int k, const CGrid& grid) {
    const std::vector<CValueDraws>& xs = block.values;
    const double kept = n - k;
    CCost cost;
    cost.totals = kept * static_cast<double>((xs.back().value - xs.front().value) / grid.step) + 1;
    double steps = 0, widest = 0;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        const bool above = j + 1 < xs.size();
        const double span = static_cast<double>((xs.back().value - xs[j].value) / grid.step);
        const double w =
            above ? static_cast<double>((xs.back().value - xs[j + 1].value) / grid.step) + 1 : 0;
        const double powers = above ? kept - 1 : 0;
        steps += (powers + 1) * (k + 1) * kTermCost;
        // Convolution t makes a table of about t * span entries, each from w.
        steps += (w + 1) * (powers + span * powers * (powers - 1) / 2) + powers * span + 1;
        widest = std::max(widest, powers * span + 1);
    }
    cost.steps = 2 * steps; // chances, then which totals are possible
    cost.entries = 2 * cost.totals + 2 * widest;
    return cost;
}

template <typename T>
CTable<T> IdenticalKeptSum(const CBlock& block, int n, int k, const CGrid& grid, CWork& work) {
    const std::vector<CValueDraws>& xs = block.values;
    const CWeights<T> weights(n, k);
    CTable<T> kept;
    int below = 0;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        const int v = xs[j].value;
        const CSplit split{below, xs[j].draws, kDraws - below - xs[j].draws};
        below += xs[j].draws;
        // One die's excess over v, given that it is above v.
        CTable<T> u;
        if (split.above > 0) {
            u.first = (xs[j + 1].value - v) / grid.step;
            u.c.assign(static_cast<std::size_t>((xs.back().value - v) / grid.step - u.first + 1),
                       T{});
            for (std::size_t i = j + 1; i < xs.size(); ++i)
                u.c[static_cast<std::size_t>((xs[i].value - v) / grid.step - u.first)] =
                    CWeights<T>::Given(xs[i].draws, split.above);
        }
        const int powers = split.above > 0 ? n - k - 1 : 0;
        CTable<T> p; // always from index 0, where the next weight goes
        for (int a = powers; a >= 0; --a) {
            if (!p.Empty())
                p = Convolve(p, u, work, 0);
            const T w = weights.Of(split, a, work);
            if (work.Stopped())
                return {};
            if (w == T{})
                continue;
            if (p.Empty())
                p = CTable<T>::Point(0, w);
            else
                p.c[0] = Add(p.c[0], w);
        }
        AddScaled(kept, p, T{1}, work, std::int64_t{n - k} * ((v - grid.origin) / grid.step));
        if (work.Stopped())
            return {};
    }
    return kept;
}

template CTable<double> IdenticalKeptSum<double>(const CBlock&, int, int, const CGrid&, CWork&);
template CTable<std::uint8_t> IdenticalKeptSum<std::uint8_t>(const CBlock&, int, int, const CGrid&,
                                                             CWork&);

} // namespace rp::odds
