#include "odds_rules.h"

#include "dice_group.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>
#include <type_traits>

namespace rp::odds {

namespace {

constexpr int kMaxExtra = CDiceGroup::kMaxExtraRolls;
// Listing, valuing and merging one face, and the totals it leads to, costs
// about as much as this many steps.
constexpr double kFaceCost = 6000;

// Sorted by value, the chances of equal values added up.
std::vector<CValueChance> Merged(std::vector<CValueChance> values) {
    const auto less = [](const CValueChance& a, const CValueChance& b) {
        return a.value < b.value;
    };
    // Faces mostly come in order, or in reverse (negative multipliers).
    if (std::is_sorted(values.rbegin(), values.rend(), less))
        std::reverse(values.begin(), values.end());
    if (!std::is_sorted(values.begin(), values.end(), less))
        std::sort(values.begin(), values.end(), less);
    std::vector<CValueChance> merged;
    merged.reserve(values.size());
    for (const CValueChance& v : values) {
        if (!merged.empty() && merged.back().value == v.value)
            merged.back().chance += v.chance;
        else
            merged.push_back(v);
    }
    return merged;
}

template <typename T> T ChanceAs(double chance);
template <> double ChanceAs<double>(double chance) {
    return chance;
}
template <> std::uint8_t ChanceAs<std::uint8_t>(double) {
    return 1;
}

// Values (grid indexes) with their chances as a table from the lowest, moved by -from.
template <typename T>
CTable<T> KernelOf(const std::vector<CValueChance>& values, std::int64_t from) {
    if (values.empty())
        return {};
    CTable<T> kernel{
        values.front().value - from,
        std::vector<T>(static_cast<std::size_t>(values.back().value - values.front().value + 1),
                       T{})};
    for (const CValueChance& v : values)
        kernel.c[static_cast<std::size_t>(v.value - values.front().value)] = ChanceAs<T>(v.chance);
    return kernel;
}

// The blocks with their values as grid indexes.
std::vector<CRuleBlock> Indexed(const std::vector<CRuleBlock>& blocks, const CGrid& grid) {
    std::vector<CRuleBlock> indexed = blocks;
    for (CRuleBlock& block : indexed)
        for (CValueChance& v : block.values)
            v.value = grid.Index(v.value);
    return indexed;
}

template <typename T> CTable<T> PlainSum(const std::vector<CRuleBlock>& blocks, CWork& work) {
    CTable<T> sum = CTable<T>::Point(0, T{1});
    for (const CRuleBlock& block : blocks) {
        const CTable<T> kernel = KernelOf<T>(block.values, 0);
        for (int i = 0; i < block.count; ++i)
            sum = Convolve(sum, kernel, work);
    }
    return sum;
}

// Kept values are sorted as their successes (value >= T) are, so of s
// successes among n dice the kept positions k+1..n-h hold clamp(s - h, 0, kept).
template <typename T> CTable<T> KeptCount(const CRulesPlan& plan, CWork& work) {
    CTable<T> successes = CTable<T>::Point(0, T{1});
    for (const CRuleBlock& block : plan.blocks) {
        std::vector<CValueChance> sides(2, CValueChance{0, 0});
        bool fail = false, success = false;
        for (const CValueChance& v : block.values) {
            const bool hit = v.value >= plan.countAtLeast;
            sides[hit].chance += v.chance;
            (hit ? success : fail) = true;
        }
        sides[1].value = 1;
        if (!success)
            sides.pop_back();
        if (!fail)
            sides.erase(sides.begin());
        const CTable<T> kernel = KernelOf<T>(sides, 0);
        for (int i = 0; i < block.count; ++i)
            successes = Convolve(successes, kernel, work);
    }
    if (work.Stopped())
        return {};
    const std::int64_t kept = plan.n - plan.k - plan.h;
    CTable<T> count{0, std::vector<T>(static_cast<std::size_t>(kept + 1), T{})};
    for (std::size_t s = 0; s < successes.c.size(); ++s) {
        const std::int64_t c = std::clamp<std::int64_t>(
            successes.first + static_cast<std::int64_t>(s) - plan.h, 0, kept);
        count.c[static_cast<std::size_t>(c)] =
            Add(count.c[static_cast<std::size_t>(c)], successes.c[s]);
    }
    return count;
}

// Every value a die can take (grid indexes), ascending.
std::vector<std::int64_t> Levels(const std::vector<CRuleBlock>& blocks) {
    std::vector<std::int64_t> levels;
    for (const CRuleBlock& block : blocks)
        for (const CValueChance& v : block.values)
            levels.push_back(v.value);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    return levels;
}

// With L the k-th lowest value and H the (n - h + 1)-th lowest, the kept sum
// is the sum of every value clamped to L..H, less k * L and h * H. A pass per
// pair (L, H) sums (clamped value - L) over the dice, with states counting
// a = dice below L (fewer than k), q = min(dice at most L, k), b = dice above
// H (fewer than h) and r = min(dice at least H, h): L and H are those order
// values exactly when q reaches k and r reaches h. Without ignored lowest
// dice L is the least value (no count); without ignored highest H the largest.
template <typename T> class CBothEnds {
public:
    // Making, visiting and freeing a state's table costs about as much as this many steps.
    static constexpr double kStateCost = 16;

    CBothEnds(int n, int k, int h, CWork& work)
        : n(n), k(k), h(h), dimQ(k + 1), dimB(std::max(h, 1)), dimR(h + 1),
          stateCount(static_cast<std::size_t>(std::max(k, 1)) * static_cast<std::size_t>(dimQ) *
                     static_cast<std::size_t>(dimB) * static_cast<std::size_t>(dimR)),
          work(work) {}

    CTable<T> Compute(const std::vector<CRuleBlock>& blocks) {
        const std::vector<std::int64_t> levels = Levels(blocks);
        CTable<T> kept;
        for (std::size_t i = 0; i < (k > 0 ? levels.size() : 1); ++i)
            for (std::size_t j = h > 0 ? i : levels.size() - 1; j < levels.size(); ++j) {
                Pass(blocks, levels[i], levels[j], kept);
                if (work.Stopped())
                    return {};
            }
        return kept;
    }

    // What Compute takes, pass by pass, stopping once past the limit.
    static CCost Cost(const std::vector<CRuleBlock>& blocks, int n, int k, int h) {
        const std::vector<std::int64_t> levels = Levels(blocks);
        const double states = std::max(k, 1) * (k + 1.0) * std::max(h, 1) * (h + 1.0);
        const auto m = static_cast<double>(levels.size());
        const double pairs = k > 0 && h > 0 ? m * (m + 1) / 2 : k > 0 || h > 0 ? m : 1;
        CCost cost;
        cost.steps = pairs * states * n * kStateCost;
        for (std::size_t i = 0; i < (k > 0 ? levels.size() : 1) && cost.steps <= CCost::kMaxSteps;
             ++i)
            for (std::size_t j = h > 0 ? i : levels.size() - 1;
                 j < levels.size() && cost.steps <= CCost::kMaxSteps; ++j) {
                const auto d = static_cast<double>(levels[j] - levels[i]);
                const double middle = std::max(d - 1, 0.0);
                cost.steps += states * n * (n * d / 2 + 1) * (middle + 4);
                // A table takes as much room as a few entries, even empty.
                cost.entries = std::max(cost.entries, 2 * states * (n * d + 5));
            }
        cost.steps *= 2; // chances, then which totals are possible
        return cost;
    }

private:
    // One die's weights below L, on L, on H (above L), above H, and its
    // values between them as a table of (value - L).
    struct CSplit {
        T below{}, onLow{}, onHigh{}, above{};
        CTable<T> middle;
    };

    std::size_t At(int a, int q, int b, int r) const {
        return static_cast<std::size_t>(((a * dimQ + q) * dimB + b) * dimR + r);
    }

    static CSplit Split(const CRuleBlock& block, std::int64_t low, std::int64_t high) {
        CSplit split;
        std::vector<CValueChance> middle;
        for (const CValueChance& v : block.values) {
            const T w = ChanceAs<T>(v.chance);
            if (v.value < low)
                split.below = Add(split.below, w);
            else if (v.value == low)
                split.onLow = Add(split.onLow, w);
            else if (v.value < high)
                middle.push_back(v);
            else if (v.value == high)
                split.onHigh = Add(split.onHigh, w);
            else
                split.above = Add(split.above, w);
        }
        split.middle = KernelOf<T>(middle, low);
        return split;
    }

    void Pass(const std::vector<CRuleBlock>& blocks, std::int64_t low, std::int64_t high,
              CTable<T>& kept) {
        std::vector<CTable<T>> states(stateCount);
        states[0] = CTable<T>::Point(0, T{1});
        for (const CRuleBlock& block : blocks) {
            const CSplit split = Split(block, low, high);
            for (int i = 0; i < block.count; ++i) {
                if (!work.Spend(static_cast<std::int64_t>(stateCount)))
                    return;
                states = Step(states, split, high - low);
            }
        }
        const std::int64_t shift = std::int64_t{n - k} * low - std::int64_t{h} * high;
        for (int a = 0; a < std::max(k, 1); ++a)
            for (int b = 0; b < dimB; ++b)
                AddScaled(kept, states[At(a, k, b, h)], T{1}, work, shift);
    }

    std::vector<CTable<T>> Step(const std::vector<CTable<T>>& states, const CSplit& s,
                                std::int64_t d) {
        std::vector<CTable<T>> next(states.size());
        for (int a = 0; a < std::max(k, 1); ++a)
            for (int q = a; q <= k; ++q)
                for (int b = 0; b < dimB; ++b)
                    for (int r = b; r <= h; ++r) {
                        const CTable<T>& t = states[At(a, q, b, r)];
                        if (t.Empty())
                            continue;
                        const int q1 = std::min(q + 1, k), r1 = std::min(r + 1, h);
                        if (a + 1 < k)
                            AddScaled(next[At(a + 1, q1, b, r)], t, s.below, work);
                        AddScaled(next[At(a, q1, b, d == 0 ? r1 : r)], t, s.onLow, work);
                        if (!s.middle.Empty())
                            AddScaled(next[At(a, q, b, r)], Convolve(t, s.middle, work), T{1},
                                      work);
                        AddScaled(next[At(a, q, b, r1)], t, s.onHigh, work, d);
                        if (b + 1 < h)
                            AddScaled(next[At(a, q, b + 1, r1)], t, s.above, work, d);
                    }
        return next;
    }

    int n, k, h, dimQ, dimB, dimR;
    std::size_t stateCount;
    CWork& work;
};

// Dice placed in ascending order of value: at each value v, j more dice of
// a block with r not yet placed take it, in C(r, j) * p(v)^j ways, and fill
// the next sorted positions; those of positions k+1..n-h add v to the kept
// sum. A state is how many dice of each block are placed. Cheap for few
// kinds of dice of many values (explosions), where CBothEnds is not.
template <typename T> class CSortedFill {
public:
    static constexpr double kStateCost = 16;

    CSortedFill(int n, int k, int h, CWork& work) : n(n), k(k), h(h), work(work) {}

    CTable<T> Compute(const std::vector<CRuleBlock>& blocks) {
        std::vector<std::size_t> stride(blocks.size() + 1, 1), next(blocks.size(), 0);
        for (std::size_t b = 0; b < blocks.size(); ++b)
            stride[b + 1] = stride[b] * static_cast<std::size_t>(blocks[b].count + 1);
        std::vector<CTable<T>> states(stride.back());
        states[0] = CTable<T>::Point(0, T{1});
        std::vector<int> placed(blocks.size()), j(blocks.size());
        std::vector<T> w(blocks.size());
        std::vector<std::size_t> present;
        for (const std::int64_t v : Levels(blocks)) {
            // The blocks that can show v, and their chances of it.
            present.clear();
            for (std::size_t b = 0; b < blocks.size(); ++b)
                if (next[b] < blocks[b].values.size() && blocks[b].values[next[b]].value == v) {
                    w[b] = ChanceAs<T>(blocks[b].values[next[b]++].chance);
                    present.push_back(b);
                }
            if (!work.Spend(static_cast<std::int64_t>(states.size())))
                return {};
            // From the fullest state down, so that every state gives before it takes.
            for (std::size_t s = states.size(); s-- > 0;) {
                if (states[s].Empty())
                    continue;
                int before = 0;
                for (std::size_t b = 0; b < blocks.size(); ++b) {
                    placed[b] = static_cast<int>(s / stride[b] % (stride[b + 1] / stride[b]));
                    before += placed[b];
                }
                for (const std::size_t b : present)
                    j[b] = 0;
                // Every j over the present blocks but all zeros, odometer-wise.
                for (;;) {
                    std::size_t i = 0;
                    while (i < present.size() &&
                           j[present[i]] == blocks[present[i]].count - placed[present[i]])
                        j[present[i++]] = 0;
                    if (i == present.size() || !work.Spend(1))
                        break;
                    ++j[present[i]];
                    T weight{1};
                    int more = 0;
                    std::size_t to = s;
                    for (const std::size_t b : present) {
                        if (j[b] == 0)
                            continue;
                        weight = Mul(weight, Ways(blocks[b].count - placed[b], j[b], w[b]));
                        more += j[b];
                        to += static_cast<std::size_t>(j[b]) * stride[b];
                    }
                    const int kept =
                        std::max(0, std::min(before + more, n - h) - std::max(before, k));
                    AddScaled(states[to], states[s], weight, work, std::int64_t{kept} * v);
                }
                if (work.Stopped())
                    return {};
            }
            // A block past its last value has placed all its dice, or never will.
            for (const std::size_t b : present)
                if (next[b] == blocks[b].values.size())
                    for (std::size_t s = 0; s < states.size(); ++s)
                        if (static_cast<int>(s / stride[b] % (stride[b + 1] / stride[b])) <
                            blocks[b].count)
                            states[s] = {};
        }
        return std::move(states.back());
    }

    // The tables hold sums of at most `kept` values up to the level so far.
    static CCost Cost(const std::vector<CRuleBlock>& blocks, int kept, double totals) {
        double states = 1;
        for (const CRuleBlock& block : blocks)
            states *= block.count + 1.0;
        CCost cost;
        std::vector<std::size_t> next(blocks.size(), 0);
        const std::vector<std::int64_t> levels = Levels(blocks);
        for (const std::int64_t v : levels) {
            const double size = std::min(
                totals, static_cast<double>(kept) * static_cast<double>(v - levels[0]) + 1);
            double moves = 1;
            for (std::size_t b = 0; b < blocks.size(); ++b) {
                const double c = blocks[b].count;
                const bool shows =
                    next[b] < blocks[b].values.size() && blocks[b].values[next[b]].value == v;
                next[b] += shows;
                moves *= shows ? (c + 1) * (c + 2) / 2 : c + 1;
            }
            cost.steps += states * kStateCost + moves * (size + kStateCost);
            if (cost.steps > CCost::kMaxSteps)
                break;
        }
        cost.steps *= 2; // chances, then which totals are possible
        cost.entries = states * (totals + 4);
        return cost;
    }

private:
    // C(r, j) * p^j, in logarithms once the binomial is past 2^53.
    static T Ways(int r, int j, T p) {
        if constexpr (std::is_same_v<T, std::uint8_t>) {
            return p;
        } else {
            if (p == 0)
                return 0;
            if (r <= 56) {
                double ways = 1;
                for (int i = 1; i <= j; ++i)
                    ways = ways * (r - j + i) / i;
                return ways * std::pow(p, j);
            }
            return static_cast<double>(std::exp(std::lgamma(r + 1.0L) - std::lgamma(j + 1.0L) -
                                                std::lgamma(r - j + 1.0L) +
                                                j * std::log(static_cast<long double>(p))));
        }
    }

    int n, k, h;
    CWork& work;
};

template <typename T> CTable<T> RuleSum(const CRulesPlan& plan, const CGrid& grid, CWork& work) {
    if (plan.n - plan.k - plan.h <= 0) // nothing kept
        return CTable<T>::Point(0, T{1});
    if (plan.countAtLeast > 0)
        return KeptCount<T>(plan, work);
    const std::vector<CRuleBlock> blocks = Indexed(plan.blocks, grid);
    if (plan.k == 0 && plan.h == 0)
        return PlainSum<T>(blocks, work);
    if (plan.sortedFill)
        return CSortedFill<T>(plan.n, plan.k, plan.h, work).Compute(blocks);
    return CBothEnds<T>(plan.n, plan.k, plan.h, work).Compute(blocks);
}

CCost PlainCost(const std::vector<CRuleBlock>& blocks) {
    double size = 1, steps = 0;
    for (const CRuleBlock& block : blocks) {
        const auto width =
            static_cast<double>(block.values.back().value - block.values.front().value + 1);
        for (int i = 0; i < block.count && steps <= CCost::kMaxSteps; ++i) {
            steps += (size + 1) * width;
            size += width - 1;
        }
    }
    CCost cost;
    cost.steps = 2 * steps;
    cost.entries = 3 * size;
    return cost;
}

} // namespace

double RuleFaceCount(int sideCount, bool explode) {
    const double faces =
        static_cast<double>(std::clamp<std::int64_t>(std::abs(std::int64_t{sideCount}), 1, kDraws));
    return explode && sideCount >= 2 ? faces * (kMaxExtra + 1) + 1 : faces;
}

std::vector<CValueChance> RuleFaces(int sideCount, int rerollBelow, bool explode) {
    const std::vector<CValueDraws> plain = FaceDraws(sideCount);
    const auto weight = [](const CValueDraws& f) { return f.draws / double{kDraws}; };
    const bool reroll = rerollBelow > 1;
    double below = 0;
    for (const CValueDraws& f : plain)
        if (reroll && f.value < rerollBelow)
            below += weight(f);
    // A face below the mark only comes from the second roll.
    std::vector<CValueChance> first;
    double top = 0, topFirst = 0; // the side count's chance on any roll, and on the first
    for (const CValueDraws& f : plain) {
        const double w = weight(f);
        first.push_back(
            CValueChance{f.value, (reroll && f.value < rerollBelow ? 0 : w) + below * w});
        if (f.value == sideCount)
            top = w, topFirst = first.back().chance;
    }
    if (!explode || sideCount < 2 || top == 0)
        return Merged(std::move(first));
    // t extra rolls: t - 1 of them showing the side count, the last anything
    // else, unless it is the last one allowed.
    std::erase_if(first, [&](const CValueChance& f) { return f.value == sideCount; });
    first.reserve(first.size() + plain.size() * kMaxExtra);
    double chain = topFirst;
    for (int t = 1; t <= kMaxExtra; ++t, chain *= top)
        for (const CValueDraws& e : plain)
            if (e.value != sideCount || t == kMaxExtra)
                first.push_back(
                    CValueChance{std::int64_t{t} * sideCount + e.value, chain * weight(e)});
    return Merged(std::move(first));
}

CKeptPlan PlanRuleSums(const CDiceGroup& group) {
    auto rules = std::make_shared<CRulesPlan>();
    CKeptPlan plan;
    plan.cost.totals = 1;
    rules->n = plan.n = group.GetCount();
    rules->k = plan.k = std::clamp(group.GetIgnoreCount(), 0, rules->n);
    rules->h = std::clamp(group.GetIgnoreHighestCount(), 0, rules->n - rules->k);
    rules->countAtLeast = std::max(group.GetCountAtLeast(), 0);
    plan.rules = rules;
    const int kept = rules->n - rules->k - rules->h;
    if (kept == 0) // nothing kept: the kept sum is 0
        return plan;

    // Identical dice together, their faces not yet looked at.
    auto [kinds, counts] = DieKindsOf(group);
    // Reading the faces is work too: absurd groups are refused before it.
    // Every kind's values are kept at once, as are the faces of a side count.
    // Summed, dice of distinct values (a small whole multiplier) make at least
    // one total more per value past the first.
    const bool summed = rules->countAtLeast == 0 && rules->k == 0 && rules->h == 0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const double faces = RuleFaceCount(kinds[i]->GetSideCount(), group.GetExplode());
        plan.cost.steps += kFaceCost * faces;
        plan.cost.entries += 2 * faces;
        const CFraction& m = kinds[i]->GetMultiplier();
        if (summed && m.denominator == 1 && m.numerator != 0 && m.numerator >= -300 &&
            m.numerator <= 300 && std::abs(kinds[i]->GetModifier()) < (1 << 30))
            plan.cost.totals += counts[i] * (faces - 1);
    }
    if ((plan.refusal = plan.cost.Refusal()) != OddsRefusal::None)
        return plan;

    std::map<int, std::vector<CValueChance>> facesOf;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const int sideCount = kinds[i]->GetSideCount();
        auto faces = facesOf.find(sideCount);
        if (faces == facesOf.end())
            faces = facesOf
                        .emplace(sideCount,
                                 RuleFaces(sideCount, group.GetRerollBelow(), group.GetExplode()))
                        .first;
        CRuleBlock block{{}, counts[i]};
        for (const CValueChance& face : faces->second)
            block.values.push_back(
                CValueChance{kinds[i]->GetValueFor(static_cast<int>(face.value)), face.chance});
        block.values = Merged(std::move(block.values));
        rules->blocks.push_back(std::move(block));
    }

    CCost work;
    if (rules->countAtLeast > 0) {
        const double n = rules->n;
        work.totals = kept + 1;
        work.steps = 2 * n * (n + 3);
        work.entries = 3 * (n + 1);
    } else {
        std::vector<std::int64_t> values, lows, highs;
        for (const CRuleBlock& block : rules->blocks) {
            for (const CValueChance& v : block.values)
                values.push_back(v.value);
            lows.insert(lows.end(), static_cast<std::size_t>(block.count),
                        block.values.front().value);
            highs.insert(highs.end(), static_cast<std::size_t>(block.count),
                         block.values.back().value);
        }
        if (!std::is_sorted(values.begin(), values.end()))
            std::sort(values.begin(), values.end());
        plan.grid = GridOf(values);
        plan.base = std::int64_t{kept} * plan.grid.origin;
        // The kept sum runs from the kept positions of the lowest values to
        // those of the highest.
        std::sort(lows.begin(), lows.end());
        std::sort(highs.begin(), highs.end());
        std::int64_t range = 0;
        for (int i = rules->k; i < rules->k + kept; ++i)
            range += highs[static_cast<std::size_t>(i)] - lows[static_cast<std::size_t>(i)];
        work.totals = static_cast<double>(range / plan.grid.step) + 1;
        if (work.Refusal() == OddsRefusal::None) {
            const std::vector<CRuleBlock> blocks = Indexed(rules->blocks, plan.grid);
            const double totals = work.totals;
            if (rules->k == 0 && rules->h == 0) {
                work = PlainCost(blocks);
            } else {
                // Whichever of the two ways of ignoring dice takes fewer steps.
                work = CBothEnds<double>::Cost(blocks, rules->n, rules->k, rules->h);
                const CCost fill = CSortedFill<double>::Cost(blocks, kept, totals);
                if (fill.steps < work.steps) {
                    work = fill;
                    rules->sortedFill = true;
                }
            }
            work.totals = totals;
        }
    }
    plan.cost.Then(work);
    plan.refusal = plan.cost.Refusal();
    return plan;
}

CTable<double> RuleChances(const CKeptPlan& plan, CWork& work) {
    return RuleSum<double>(*plan.rules, plan.grid, work);
}

CTable<std::uint8_t> RulePossible(const CKeptPlan& plan, CWork& work) {
    return RuleSum<std::uint8_t>(*plan.rules, plan.grid, work);
}

} // namespace rp::odds
