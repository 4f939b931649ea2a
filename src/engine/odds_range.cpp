#include "odds_range.h"

#include "dice_group.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <numeric>
#include <tuple>
#include <vector>

namespace rp {

namespace {

// Dice of more kinds than this give no cheap mean: each kind takes one
// pass over the generator's draws.
constexpr std::size_t kMaxMeanKinds = 16;
constexpr int kDraws = 32768;

// The kept dice of these values (those left when the `low` lowest, then the
// `high` highest, are ignored): their sum, or with `atLeast` > 0 how many of
// them are at least that.
std::int64_t KeptOf(std::vector<std::int64_t> values, int low, int high, int atLeast) {
    std::sort(values.begin(), values.end());
    const auto n = static_cast<std::ptrdiff_t>(values.size());
    const std::ptrdiff_t from = std::min<std::ptrdiff_t>(low, n);
    const std::ptrdiff_t to = std::max(from, n - high);
    if (atLeast > 0)
        return std::count_if(values.begin() + from, values.begin() + to,
                             [&](std::int64_t v) { return v >= atLeast; });
    return std::accumulate(values.begin() + from, values.begin() + to, std::int64_t{0});
}

} // namespace

COddsRange OddsRangeOf(const CDiceGroup& group) {
    // A die's value only grows, or only shrinks, with its face, and the
    // kept sum (or count) only grows with each die's value: every die at its
    // lowest value gives the lowest, every die at its highest the highest.
    // A reroll leaves every face possible; an explosion reaches the side
    // count once more for each extra roll, the last showing it too.
    std::vector<std::int64_t> lows, highs;
    for (const auto& die : group.Dice()) {
        const int sides = die->GetSideCount();
        int top = CDie::FaceFor(sides, kDraws - 1);
        if (group.GetExplode() && sides >= 2 && top == sides)
            top = sides * (CDiceGroup::kMaxExtraRolls + 1);
        const int first = die->GetValueFor(CDie::FaceFor(sides, 0));
        const int last = die->GetValueFor(top);
        lows.push_back(std::min(first, last));
        highs.push_back(std::max(first, last));
    }
    const int ignored = std::max(group.GetIgnoreCount(), 0);
    const int ignoredHigh = std::max(group.GetIgnoreHighestCount(), 0);
    const int atLeast = std::max(group.GetCountAtLeast(), 0);
    const std::int64_t lowSum = KeptOf(lows, ignored, ignoredHigh, atLeast);
    const std::int64_t highSum = KeptOf(highs, ignored, ignoredHigh, atLeast);
    // The group multiplier may be negative and turn the order round.
    const int a = group.GetTotalOfKept(lowSum), b = group.GetTotalOfKept(highSum);
    COddsRange range{std::min(a, b), std::max(a, b), std::nullopt};

    // Without ignored dice, multiplier, explosions and counts the mean is the
    // sum of the dice's means, unless a total would have to be brought back
    // into 32 bits.
    constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    if (ignored > 0 || ignoredHigh > 0 || atLeast > 0 || group.GetExplode() ||
        !group.GetMultiplier().IsOne() || lowSum + group.GetModifier() < kIntMin ||
        highSum + group.GetModifier() > kIntMax)
        return range;
    const int rerollBelow = group.GetRerollBelow();
    std::map<std::tuple<int, int, int, int>, double> kinds;
    double mean = group.GetModifier();
    for (const auto& die : group.Dice()) {
        const CFraction& m = die->GetMultiplier();
        const auto kind =
            std::make_tuple(die->GetSideCount(), die->GetModifier(), m.numerator, m.denominator);
        auto found = kinds.find(kind);
        if (found == kinds.end()) {
            if (kinds.size() == kMaxMeanKinds)
                return range;
            // A face below the reroll mark is rolled once more: the mean is
            // (32768 * sum of the kept first faces + rerolled draws * sum of
            // all faces) / 32768^2, exact in 64 bits.
            std::int64_t sum = 0, kept = 0, rerolled = 0;
            for (int r = 0; r < kDraws; ++r) {
                const int face = CDie::FaceFor(die->GetSideCount(), r);
                const int value = die->GetValueFor(face);
                sum += value;
                if (rerollBelow > 1 && face < rerollBelow)
                    ++rerolled;
                else
                    kept += value;
            }
            found = kinds
                        .emplace(kind, static_cast<double>(kDraws * kept + rerolled * sum) /
                                           (double{kDraws} * kDraws))
                        .first;
        }
        mean += found->second;
    }
    range.mean = mean;
    return range;
}

} // namespace rp
