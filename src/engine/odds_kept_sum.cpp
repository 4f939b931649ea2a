#include "odds_kept_sum.h"

#include "dice_group.h"
#include "odds_identical.h"
#include "odds_rules.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <tuple>
#include <vector>

namespace rp::odds {

namespace {

// How many distinct faces a side count shows over the 32,768 draws.
std::int64_t FaceCount(int sideCount) {
    return std::clamp<std::int64_t>(std::abs(std::int64_t{sideCount}), 1, kDraws);
}

// A table of the given values (ascending) and weights, indexed on the grid
// relative to `from`.
template <typename T>
CTable<T> KernelOf(std::span<const CValueDraws> values, std::int64_t from, const CGrid& grid) {
    if (values.empty())
        return {};
    const std::int64_t first = (values.front().value - from) / grid.step;
    const std::int64_t size = (values.back().value - from) / grid.step - first + 1;
    CTable<T> kernel{first, std::vector<T>(static_cast<std::size_t>(size), T{})};
    for (const CValueDraws& v : values)
        kernel.c[static_cast<std::size_t>((v.value - from) / grid.step - first)] =
            Weight<T>(v.draws);
    return kernel;
}

// part / whole as a chance; a possibility stays what it is.
double Ratio(double part, double whole) {
    return part / whole;
}
std::uint8_t Ratio(std::uint8_t part, std::uint8_t) {
    return part;
}

std::int64_t WidthOf(const CBlock& block, const CGrid& grid) {
    return (block.values.back().value - block.values.front().value) / grid.step + 1;
}

CCost PlainSumCost(const std::vector<CBlock>& blocks, const CGrid& grid) {
    double size = 1, steps = 0;
    for (const CBlock& block : blocks) {
        const auto width = static_cast<double>(WidthOf(block, grid));
        for (int i = 0; i < block.count && steps <= CCost::kMaxSteps; ++i) {
            steps += (size + 1) * width;
            size += width - 1;
        }
    }
    CCost cost;
    cost.steps = 2 * steps;
    cost.entries = 3 * size; // the chances, their next table, the possible totals
    cost.totals = size;
    return cost;
}

template <typename T>
CTable<T> PlainSum(const std::vector<CBlock>& blocks, const CGrid& grid, CWork& work) {
    CTable<T> sum = CTable<T>::Point(0, T{1});
    for (const CBlock& block : blocks) {
        const CTable<T> kernel = KernelOf<T>(block.values, grid.origin, grid);
        for (int i = 0; i < block.count; ++i)
            sum = Convolve(sum, kernel, work);
    }
    return sum;
}

// With v the value of the highest ignored die (the k-th lowest), the kept
// sum is (n - k) * v plus the excess max(x - v, 0) of every die x. Each pass
// over a threshold v tracks, for the dice so far, a = how many are below v
// (fewer than k) and q = min(how many are at most v, k); the sum of excesses
// is a table per state (a, q). v is the k-th lowest exactly when q reaches k.
template <typename T> class CKeptSum {
public:
    // Making, visiting and freeing a state's table costs about as much as
    // this many steps; one step of counting dice about as much as this.
    static constexpr double kStateCost = 16, kCountCost = 4;

    CKeptSum(int diceCount, int ignoreCount, const CGrid& grid, CWork& work)
        : n(diceCount), k(ignoreCount), grid(grid), work(work) {}

    // The kept sum, on the grid relative to (n - k) * grid.origin.
    CTable<T> Compute(const std::vector<CBlock>& blocks) {
        CTable<T> kept;
        const auto stateCount = static_cast<std::size_t>(k) * static_cast<std::size_t>(k + 1);
        for (const int v : Thresholds(blocks)) {
            if (!work.Spend(static_cast<std::int64_t>(stateCount)))
                return {};
            std::vector<CTable<T>> states(stateCount);
            states[0] = CTable<T>::Point(0, T{1});
            for (const CBlock& block : blocks)
                states = Step(states, block, v);
            const std::int64_t shift = std::int64_t{n - k} * ((v - grid.origin) / grid.step);
            for (int a = 0; a < k; ++a)
                AddScaled(kept, states[At(a, k)], T{1}, work, shift);
            if (work.Stopped())
                return {};
        }
        return kept;
    }

    // Every value a die can take, ascending.
    static std::vector<int> Thresholds(const std::vector<CBlock>& blocks) {
        std::vector<int> thresholds;
        for (const CBlock& block : blocks)
            for (const CValueDraws& v : block.values)
                thresholds.push_back(v.value);
        std::sort(thresholds.begin(), thresholds.end());
        thresholds.erase(std::unique(thresholds.begin(), thresholds.end()), thresholds.end());
        return thresholds;
    }

private:
    std::size_t At(int a, int q) const { return static_cast<std::size_t>(a * (k + 1) + q); }

    // Adds one block of m identical dice: of them, l fall below v, g above
    // and the rest on v, with the chance counts[l][g].
    std::vector<CTable<T>> Step(const std::vector<CTable<T>>& states, const CBlock& block, int v) {
        T below{}, equal{}, above{};
        for (const CValueDraws& x : block.values) {
            T& side = x.value < v ? below : x.value == v ? equal : above;
            side = Add(side, Weight<T>(x.draws));
        }
        const auto firstAbove =
            std::upper_bound(block.values.begin(), block.values.end(), v,
                             [](int value, const CValueDraws& x) { return value < x.value; });
        // The excess of one die above v, as a chance given that it is above.
        CTable<T> excess = KernelOf<T>(std::span(firstAbove, block.values.end()), v, grid);
        for (T& w : excess.c)
            w = Ratio(w, above);

        const int m = block.count;
        const int lows = std::min(m, k - 1) + 1, highs = std::min(m, n - k) + 1;
        std::vector<T> counts(static_cast<std::size_t>(lows * highs), T{});
        counts[0] = T{1};
        for (int die = 0; die < m; ++die) {
            if (!work.Spend(std::int64_t{lows} * highs))
                return std::vector<CTable<T>>(states.size());
            for (int l = lows - 1; l >= 0; --l)
                for (int g = highs - 1; g >= 0; --g) {
                    T& c = counts[static_cast<std::size_t>(l * highs + g)];
                    c = Mul(c, equal);
                    if (l > 0)
                        c = Add(c,
                                Mul(counts[static_cast<std::size_t>((l - 1) * highs + g)], below));
                    if (g > 0)
                        c = Add(c, Mul(counts[static_cast<std::size_t>(l * highs + g - 1)], above));
                }
        }

        std::vector<CTable<T>> next(states.size());
        for (int a = 0; a < k; ++a)
            for (int q = a; q <= k; ++q) {
                CTable<T> sum = states[At(a, q)]; // the state's table plus g excesses
                for (int g = 0; g < highs && !sum.Empty(); ++g) {
                    if (g > 0)
                        sum = Convolve(sum, excess, work);
                    for (int l = 0; l < lows && a + l < k && l + g <= m; ++l)
                        AddScaled(next[At(a + l, std::min(q + m - g, k))], sum,
                                  counts[static_cast<std::size_t>(l * highs + g)], work);
                }
            }
        return next;
    }

    int n, k;
    const CGrid& grid;
    CWork& work;
};

// What CKeptSum takes, pass by pass as it goes. The states' tables are
// bounded by the sum of the largest excesses so far; the count stops as
// soon as it is past the limit.
CCost KeptSumCost(const std::vector<CBlock>& blocks, int n, int k, const CGrid& grid) {
    using K = CKeptSum<double>;
    const std::vector<int> thresholds = K::Thresholds(blocks);
    const double stateCount = double{1} * k * (k + 1);
    CCost cost;
    cost.entries = 2 * stateCount;
    double steps = static_cast<double>(thresholds.size()) * stateCount * K::kStateCost *
                   static_cast<double>(blocks.size() + 1);
    for (std::size_t t = 0; t < thresholds.size() && steps <= CCost::kMaxSteps; ++t) {
        const int v = thresholds[t];
        double size = 1, live = 1;
        int dice = 0;
        for (const CBlock& block : blocks) {
            const int m = block.count;
            const auto firstAbove =
                std::upper_bound(block.values.begin(), block.values.end(), v,
                                 [](int value, const CValueDraws& x) { return value < x.value; });
            const bool above = firstAbove != block.values.end();
            const double reach =
                above ? static_cast<double>((block.values.back().value - v) / grid.step) : 0;
            const double width =
                above ? static_cast<double>(
                            (block.values.back().value - firstAbove->value) / grid.step + 1)
                      : 0;
            const double lows = std::min(m, k - 1) + 1, highs = std::min(m, n - k) + 1;
            const double gs = above ? highs : 1;
            live = (std::min(dice, k - 1) + 1.0) * (std::min(dice, k) + 1.0);
            const double convolutions =
                (gs - 1) * size * width + reach * width * (gs - 1) * (gs - 2) / 2;
            const double adds = lows * (gs * size + reach * gs * (gs - 1) / 2);
            steps += K::kCountCost * m * lows * highs + live * (convolutions + adds);
            size += m * reach;
            dice += m;
        }
        cost.entries = std::max(cost.entries, 2 * stateCount + 2 * live * size);
    }
    cost.steps = 2 * steps;
    return cost;
}

template <typename T> CTable<T> KeptSum(const CKeptPlan& plan, CWork& work) {
    if (plan.k == 0)
        return PlainSum<T>(plan.blocks, plan.grid, work);
    if (plan.blocks.size() == 1)
        return IdenticalKeptSum<T>(plan.blocks.front(), plan.n, plan.k, plan.grid, work);
    return CKeptSum<T>(plan.n, plan.k, plan.grid, work).Compute(plan.blocks);
}

} // namespace

std::vector<CValueDraws> FaceDraws(int sideCount) {
    const std::int64_t sides = std::abs(std::int64_t{sideCount});
    std::vector<CValueDraws> faces;
    if (sides > kDraws) { // one face per draw
        for (int r = 0; r < kDraws; ++r)
            faces.push_back(CValueDraws{CDie::FaceFor(sideCount, r), 1});
        return faces;
    }
    if (sides <= 1)
        return {CValueDraws{1, kDraws}};
    // Face i + 1 (1 - i for negative side counts) for the draws r with
    // i <= sides * r / 32768 < i + 1.
    const auto firstDraw = [&](std::int64_t i) { return (kDraws * i + sides - 1) / sides; };
    for (std::int64_t i = 0; i < sides; ++i)
        faces.push_back(CValueDraws{static_cast<int>(sideCount > 0 ? i + 1 : 1 - i),
                                    static_cast<int>(firstDraw(i + 1) - firstDraw(i))});
    return faces;
}

CDieKinds DieKindsOf(const CDiceGroup& group) {
    CDieKinds out;
    std::map<std::tuple<int, int, int, int>, std::size_t> blockOf;
    for (const auto& die : group.Dice()) {
        const CFraction& m = die->GetMultiplier();
        const auto key =
            std::make_tuple(die->GetSideCount(), m.numerator, m.denominator, die->GetModifier());
        const auto [it, added] = blockOf.emplace(key, out.kinds.size());
        if (added) {
            out.kinds.push_back(die.get());
            out.counts.push_back(0);
        }
        ++out.counts[it->second];
    }
    return out;
}

CKeptPlan PlanKeptSums(const CDiceGroup& group) {
    if (group.HasRules())
        return PlanRuleSums(group);
    CKeptPlan plan;
    plan.n = group.GetCount();
    plan.k = std::max(group.GetIgnoreCount(), 0);
    plan.cost.totals = 1;
    if (plan.k >= plan.n) { // nothing kept: the kept sum is 0
        plan.n = plan.k = 0;
        return plan;
    }

    // Identical dice together, their faces not yet looked at.
    auto [kinds, counts] = DieKindsOf(group);
    // Reading the faces is work too: absurd groups are refused before it.
    std::set<int> sides;
    for (const CDie* die : kinds) {
        const double faces = static_cast<double>(FaceCount(die->GetSideCount()));
        plan.cost.steps += sides.insert(die->GetSideCount()).second ? 2 * faces : faces;
    }
    if ((plan.refusal = plan.cost.Refusal()) != OddsRefusal::None)
        return plan;

    std::map<int, std::vector<CValueDraws>> facesOf;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const int sideCount = kinds[i]->GetSideCount();
        auto faces = facesOf.find(sideCount);
        if (faces == facesOf.end())
            faces = facesOf.emplace(sideCount, FaceDraws(sideCount)).first;
        CBlock block{{}, counts[i]};
        for (const CValueDraws& face : faces->second)
            block.values.push_back(CValueDraws{kinds[i]->GetValueFor(face.value), face.draws});
        std::sort(block.values.begin(), block.values.end(),
                  [](const CValueDraws& a, const CValueDraws& b) { return a.value < b.value; });
        std::vector<CValueDraws> merged;
        for (const CValueDraws& v : block.values) {
            if (!merged.empty() && merged.back().value == v.value)
                merged.back().draws += v.draws;
            else
                merged.push_back(v);
        }
        block.values = std::move(merged);
        plan.blocks.push_back(std::move(block));
    }
    // The heaviest block first: it is convolved while the sum is still short.
    std::stable_sort(plan.blocks.begin(), plan.blocks.end(), [](const CBlock& a, const CBlock& b) {
        return double{1} * a.count * static_cast<double>(a.values.size()) >
               double{1} * b.count * static_cast<double>(b.values.size());
    });

    std::vector<std::int64_t> values;
    for (const CBlock& block : plan.blocks)
        for (const CValueDraws& v : block.values)
            values.push_back(v.value);
    plan.grid = GridOf(values);
    plan.base = std::int64_t{plan.n - plan.k} * plan.grid.origin;

    // The kept sum runs from the n - k highest lowest values to the n - k
    // highest highest values.
    std::vector<std::int64_t> lows, highs;
    for (const CBlock& block : plan.blocks) {
        lows.insert(lows.end(), static_cast<std::size_t>(block.count), block.values.front().value);
        highs.insert(highs.end(), static_cast<std::size_t>(block.count), block.values.back().value);
    }
    std::sort(lows.begin(), lows.end(), std::greater<>());
    std::sort(highs.begin(), highs.end(), std::greater<>());
    std::int64_t range = 0;
    for (int i = 0; i < plan.n - plan.k; ++i)
        range += highs[static_cast<std::size_t>(i)] - lows[static_cast<std::size_t>(i)];
    CCost work;
    work.totals = static_cast<double>(range / plan.grid.step) + 1;
    if (work.Refusal() == OddsRefusal::None) {
        if (plan.k == 0)
            work = PlainSumCost(plan.blocks, plan.grid);
        else if (plan.blocks.size() == 1)
            work = IdenticalKeptCost(plan.blocks.front(), plan.n, plan.k, plan.grid);
        else
            work.Then(KeptSumCost(plan.blocks, plan.n, plan.k, plan.grid));
    }
    plan.cost.Then(work);
    plan.refusal = plan.cost.Refusal();
    return plan;
}

CKeptSums ComputeKeptSums(const CKeptPlan& plan, const OddsCancelFlag* cancel) {
    CKeptSums sums;
    sums.refusal = plan.refusal;
    sums.grid = plan.grid;
    sums.base = plan.base;
    if (plan.refusal != OddsRefusal::None)
        return sums;
    CWork work(cancel);
    sums.chance = plan.rules ? RuleChances(plan, work) : KeptSum<double>(plan, work);
    if (!work.Stopped())
        sums.possible = plan.rules ? RulePossible(plan, work) : KeptSum<std::uint8_t>(plan, work);
    if (work.Stopped())
        sums.refusal = OddsRefusal::Cancelled;
    return sums;
}

} // namespace rp::odds
