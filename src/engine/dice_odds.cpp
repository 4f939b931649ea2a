#include "dice_odds.h"

#include "dice_group.h"
#include "int_text.h"
#include "odds_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <tuple>

namespace rp {

using odds::Add;
using odds::CTable;
using odds::CWorkBudget;
using odds::Mul;

namespace {

constexpr int kDraws = 32768;

struct CValueDraws {
    int value;
    int draws; // of the 32,768
};

// Identical dice: their distinct values, ascending, and how many dice.
struct CBlock {
    std::vector<CValueDraws> values;
    int count = 0;
};

// Totals are computed on a grid origin + step * index, so that dice whose
// values are far apart (multipliers) need no room for the gaps.
struct CGrid {
    std::int64_t origin = 0;
    std::int64_t step = 1;
    std::int64_t Index(std::int64_t value) const { return (value - origin) / step; }
};

template <typename T> T Weight(int draws);
template <> double Weight<double>(int draws) {
    return draws / double{kDraws};
}
template <> std::uint8_t Weight<std::uint8_t>(int) {
    return 1;
}

// part / whole as a chance; a possibility stays what it is.
double Ratio(double part, double whole) {
    return part / whole;
}
std::uint8_t Ratio(std::uint8_t part, std::uint8_t) {
    return part;
}

// The faces of a side count, by the roller's own formula, with the number of
// draws giving each (the formula is monotonic in the draw, so faces come in runs).
std::vector<CValueDraws> FaceDraws(int sideCount) {
    std::vector<CValueDraws> faces;
    for (int r = 0; r < kDraws; ++r) {
        const int face = CDie::FaceFor(sideCount, r);
        if (faces.empty() || faces.back().value != face)
            faces.push_back(CValueDraws{face, 1});
        else
            ++faces.back().draws;
    }
    return faces;
}

// Sorts the dice into blocks of identical dice; false if a die has too many faces.
bool MakeBlocks(const CDiceGroup& group, std::vector<CBlock>& blocks) {
    std::map<int, std::vector<CValueDraws>> facesOf;
    std::map<std::tuple<int, int, int, int>, std::size_t> blockOf;
    for (const auto& die : group.Dice()) {
        const CFraction& m = die->GetMultiplier();
        const auto key =
            std::make_tuple(die->GetSideCount(), m.numerator, m.denominator, die->GetModifier());
        if (const auto it = blockOf.find(key); it != blockOf.end()) {
            ++blocks[it->second].count;
            continue;
        }
        auto faces = facesOf.find(die->GetSideCount());
        if (faces == facesOf.end())
            faces = facesOf.emplace(die->GetSideCount(), FaceDraws(die->GetSideCount())).first;
        if (faces->second.size() > static_cast<std::size_t>(CDiceOdds::kMaxFaces))
            return false;
        std::map<int, int> values;
        for (const CValueDraws& face : faces->second)
            values[die->GetValueFor(face.value)] += face.draws;
        CBlock block{{}, 1};
        for (const auto& [value, draws] : values)
            block.values.push_back(CValueDraws{value, draws});
        blockOf.emplace(key, blocks.size());
        blocks.push_back(std::move(block));
    }
    // The heaviest block first: it is convolved while the sum is still short.
    std::stable_sort(blocks.begin(), blocks.end(), [](const CBlock& a, const CBlock& b) {
        return a.count * a.values.size() > b.count * b.values.size();
    });
    return true;
}

// The grid step that every difference of two values is a multiple of.
CGrid GridOf(const std::vector<std::int64_t>& values) {
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

// A table of the given values (ascending) and weights, indexed on the grid
// relative to `from`.
template <typename T>
CTable<T> KernelOf(std::span<const CValueDraws> values, std::int64_t from, const CGrid& grid,
                   CWorkBudget& work) {
    if (values.empty())
        return {};
    const std::int64_t first = (values.front().value - from) / grid.step;
    const std::int64_t size = (values.back().value - from) / grid.step - first + 1;
    if (!work.Spend(size, size))
        return {};
    CTable<T> kernel{first, std::vector<T>(static_cast<std::size_t>(size), T{})};
    for (const CValueDraws& v : values)
        kernel.c[static_cast<std::size_t>((v.value - from) / grid.step - first)] =
            Weight<T>(v.draws);
    return kernel;
}

template <typename T>
CTable<T> PlainSum(const std::vector<CBlock>& blocks, const CGrid& grid, CWorkBudget& work) {
    // The work is known beforehand: a group far too large is refused at once.
    std::int64_t size = 1, estimate = 0;
    for (const CBlock& block : blocks) {
        const std::int64_t width =
            (block.values.back().value - block.values.front().value) / grid.step + 1;
        for (int i = 0; i < block.count && estimate <= CWorkBudget::kMaxWork; ++i) {
            estimate += size * width;
            size += width - 1;
        }
    }
    if (!work.Affords(estimate)) {
        work.Refuse();
        return {};
    }
    CTable<T> sum = CTable<T>::Point(0, T{1});
    for (const CBlock& block : blocks) {
        const CTable<T> kernel = KernelOf<T>(block.values, grid.origin, grid, work);
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
    CKeptSum(int diceCount, int ignoreCount, const CGrid& grid, CWorkBudget& work)
        : n(diceCount), k(ignoreCount), grid(grid), work(work) {}

    // The kept sum, on the grid relative to (n - k) * grid.origin.
    CTable<T> Compute(const std::vector<CBlock>& blocks) {
        std::vector<int> thresholds;
        for (const CBlock& block : blocks)
            for (const CValueDraws& v : block.values)
                thresholds.push_back(v.value);
        std::sort(thresholds.begin(), thresholds.end());
        thresholds.erase(std::unique(thresholds.begin(), thresholds.end()), thresholds.end());

        CTable<T> kept;
        const auto stateCount = static_cast<std::size_t>(k) * static_cast<std::size_t>(k + 1);
        for (const int v : thresholds) {
            if (!work.Spend(kStateCost *
                            static_cast<std::int64_t>(stateCount * (blocks.size() + 1))))
                break;
            std::vector<CTable<T>> states(stateCount);
            states[0] = CTable<T>::Point(0, T{1});
            for (const CBlock& block : blocks)
                states = Step(states, block, v);
            const std::int64_t shift = std::int64_t{n - k} * ((v - grid.origin) / grid.step);
            for (int a = 0; a < k; ++a)
                AddScaled(kept, states[At(a, k)], T{1}, work, shift);
        }
        return kept;
    }

private:
    // Making, visiting and freeing a state's table costs about as much as
    // this many multiply-adds; one step of counting dice about as much as this.
    static constexpr std::int64_t kStateCost = 16, kCountCost = 4;

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
        CTable<T> excess = KernelOf<T>(std::span(firstAbove, block.values.end()), v, grid, work);
        for (T& w : excess.c)
            w = Ratio(w, above);

        const int m = block.count;
        const int lows = std::min(m, k - 1) + 1, highs = std::min(m, n - k) + 1;
        std::vector<T> counts(static_cast<std::size_t>(lows * highs), T{});
        counts[0] = T{1};
        if (!work.Spend(kCountCost * m * lows * highs))
            return std::vector<CTable<T>>(states.size());
        for (int die = 0; die < m; ++die)
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
    CWorkBudget& work;
};

// The kept sum of n dice, k of them ignored, on `grid` relative to (n - k) * grid.origin.
template <typename T>
CTable<T> KeptSum(const std::vector<CBlock>& blocks, int n, int k, const CGrid& grid,
                  CWorkBudget& work) {
    if (k == 0)
        return PlainSum<T>(blocks, grid, work);
    return CKeptSum<T>(n, k, grid, work).Compute(blocks);
}

// Every index that `possible` marks, with its chance, as a total.
template <typename TotalOf>
std::vector<COddsOutcome> Totals(const CTable<double>& chance, const CTable<std::uint8_t>& possible,
                                 TotalOf totalOf) {
    std::vector<COddsOutcome> totals;
    for (std::size_t i = 0; i < possible.c.size(); ++i) {
        if (!possible.c[i])
            continue;
        const std::int64_t index = possible.first + static_cast<std::int64_t>(i);
        const double p = index >= chance.first && index < chance.End()
                             ? chance.c[static_cast<std::size_t>(index - chance.first)]
                             : 0.0;
        totals.push_back(COddsOutcome{totalOf(index), p, 0.0});
    }
    return totals;
}

} // namespace

const char* OddsRefusalText(OddsRefusal refusal) {
    switch (refusal) {
    case OddsRefusal::None:
        return "";
    case OddsRefusal::TooManyDice:
        return "more than 1,000 dice";
    case OddsRefusal::TooManyFaces:
        return "a die with more than 10,000 faces";
    case OddsRefusal::TooManyOutcomes:
        break;
    }
    return "too many outcomes";
}

CDiceOdds CDiceOdds::ForGroup(const CDiceGroup& group) {
    if (group.GetCount() > kMaxDice)
        return Refused(OddsRefusal::TooManyDice);
    std::vector<CBlock> blocks;
    if (!MakeBlocks(group, blocks))
        return Refused(OddsRefusal::TooManyFaces);
    int n = group.GetCount();
    int k = std::max(group.GetIgnoreCount(), 0);
    if (k >= n) { // everything left out: the kept sum is 0
        blocks.clear();
        n = k = 0;
    }
    std::vector<std::int64_t> values;
    for (const CBlock& block : blocks)
        for (const CValueDraws& v : block.values)
            values.push_back(v.value);
    const CGrid grid = GridOf(values);

    CWorkBudget work;
    const CTable<double> chance = KeptSum<double>(blocks, n, k, grid, work);
    const CTable<std::uint8_t> possible = KeptSum<std::uint8_t>(blocks, n, k, grid, work);
    if (!work.Ok())
        return Refused(OddsRefusal::TooManyOutcomes);
    const std::int64_t base = std::int64_t{n - k} * grid.origin;
    return FromTotals(Totals(chance, possible, [&](std::int64_t index) {
        return group.GetTotalOfKept(base + index * grid.step);
    }));
}

CDiceOdds CDiceOdds::ForGroups(std::span<const CDiceGroup* const> groups) {
    std::vector<CDiceOdds> parts;
    for (const CDiceGroup* group : groups) {
        parts.push_back(ForGroup(*group));
        if (parts.back().IsRefused())
            return parts.back();
    }
    return Sum(parts);
}

CDiceOdds CDiceOdds::Sum(std::span<const CDiceOdds> parts) {
    std::vector<std::int64_t> values;
    for (const CDiceOdds& part : parts) {
        if (part.IsRefused())
            return Refused(part.refusal);
        for (const COddsOutcome& o : part.outcomes)
            values.push_back(o.total);
    }
    const CGrid grid = GridOf(values);
    CWorkBudget work;
    CTable<double> chance = CTable<double>::Point(0, 1.0);
    CTable<std::uint8_t> possible = CTable<std::uint8_t>::Point(0, 1);
    for (const CDiceOdds& part : parts) {
        const std::int64_t first = grid.Index(part.GetMin());
        const std::int64_t size = grid.Index(part.GetMax()) - first + 1;
        if (!work.Spend(size, size))
            break;
        CTable<double> c{first, std::vector<double>(static_cast<std::size_t>(size), 0.0)};
        CTable<std::uint8_t> p{first, std::vector<std::uint8_t>(c.c.size(), 0)};
        for (const COddsOutcome& o : part.outcomes) {
            const auto i = static_cast<std::size_t>(grid.Index(o.total) - first);
            c.c[i] = o.chance;
            p.c[i] = 1;
        }
        chance = Convolve(chance, c, work);
        possible = Convolve(possible, p, work);
    }
    if (!work.Ok())
        return Refused(OddsRefusal::TooManyOutcomes);
    const std::int64_t base = static_cast<std::int64_t>(parts.size()) * grid.origin;
    return FromTotals(Totals(chance, possible, [&](std::int64_t index) {
        return ClampToInt(base + index * grid.step);
    }));
}

CDiceOdds CDiceOdds::Refused(OddsRefusal why) {
    CDiceOdds odds;
    odds.refusal = why;
    return odds;
}

CDiceOdds CDiceOdds::FromTotals(std::vector<COddsOutcome> totals) {
    std::sort(totals.begin(), totals.end(),
              [](const COddsOutcome& a, const COddsOutcome& b) { return a.total < b.total; });
    CDiceOdds odds;
    for (const COddsOutcome& o : totals) {
        if (!odds.outcomes.empty() && odds.outcomes.back().total == o.total)
            odds.outcomes.back().chance += o.chance;
        else
            odds.outcomes.push_back(o);
    }
    // Summed from the top, so that the small chances of the tail are not lost.
    double atLeast = 0;
    for (auto it = odds.outcomes.rbegin(); it != odds.outcomes.rend(); ++it) {
        atLeast += it->chance;
        it->atLeast = atLeast;
        odds.mean += it->total * it->chance;
    }
    return odds;
}

double CDiceOdds::ChanceOf(int total) const {
    const auto it =
        std::lower_bound(outcomes.begin(), outcomes.end(), total,
                         [](const COddsOutcome& o, int value) { return o.total < value; });
    return it != outcomes.end() && it->total == total ? it->chance : 0.0;
}

double CDiceOdds::ChanceAtLeast(int target) const {
    const auto it =
        std::lower_bound(outcomes.begin(), outcomes.end(), target,
                         [](const COddsOutcome& o, int value) { return o.total < value; });
    return it != outcomes.end() ? it->atLeast : 0.0;
}

std::string CDiceOdds::Summary(std::string_view label) const {
    std::string text(label);
    char buffer[96];
    if (IsRefused())
        std::snprintf(buffer, sizeof buffer, ": %s", OddsRefusalText(refusal));
    else
        std::snprintf(buffer, sizeof buffer, ": mean %.2f, %i to %i", mean, GetMin(), GetMax());
    return text + buffer;
}

} // namespace rp
