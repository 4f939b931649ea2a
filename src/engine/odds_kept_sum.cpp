#include "odds_kept_sum.h"

#include "dice_group.h"

#include <algorithm>
#include <map>
#include <span>
#include <tuple>
#include <vector>

namespace rp::odds {

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

} // namespace

CKeptSums KeptSumsOf(const CDiceGroup& group) {
    CKeptSums sums;
    if (group.GetCount() > CDiceOdds::kMaxDice) {
        sums.refusal = OddsRefusal::TooManyDice;
        return sums;
    }
    std::vector<CBlock> blocks;
    if (!MakeBlocks(group, blocks)) {
        sums.refusal = OddsRefusal::TooManyFaces;
        return sums;
    }
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
    sums.grid = GridOf(values);
    sums.base = std::int64_t{n - k} * sums.grid.origin;

    CWorkBudget work;
    sums.chance = KeptSum<double>(blocks, n, k, sums.grid, work);
    sums.possible = KeptSum<std::uint8_t>(blocks, n, k, sums.grid, work);
    if (!work.Ok())
        sums.refusal = OddsRefusal::TooManyOutcomes;
    return sums;
}

} // namespace rp::odds
