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

// The sum of the `kept` largest values.
std::int64_t SumOfLargest(std::vector<std::int64_t> values, std::size_t kept) {
    std::sort(values.begin(), values.end(), std::greater<>());
    return std::accumulate(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(kept),
                           std::int64_t{0});
}

} // namespace

COddsRange OddsRangeOf(const CDiceGroup& group) {
    // A die's value only grows, or only shrinks, with its face, and the
    // kept sum only grows with each die's value: every die at its lowest
    // value gives the lowest kept sum, every die at its highest the highest.
    std::vector<std::int64_t> lows, highs;
    for (const auto& die : group.Dice()) {
        const int first = die->GetValueFor(CDie::FaceFor(die->GetSideCount(), 0));
        const int last = die->GetValueFor(CDie::FaceFor(die->GetSideCount(), kDraws - 1));
        lows.push_back(std::min(first, last));
        highs.push_back(std::max(first, last));
    }
    const std::size_t ignored =
        std::min(lows.size(), static_cast<std::size_t>(std::max(group.GetIgnoreCount(), 0)));
    const std::int64_t lowSum = SumOfLargest(lows, lows.size() - ignored);
    const std::int64_t highSum = SumOfLargest(highs, highs.size() - ignored);
    // The group multiplier may be negative and turn the order round.
    const int a = group.GetTotalOfKept(lowSum), b = group.GetTotalOfKept(highSum);
    COddsRange range{std::min(a, b), std::max(a, b), std::nullopt};

    // Without ignored dice and multiplier the mean is the sum of the dice's
    // means, unless a total would have to be brought back into 32 bits.
    constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
    constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
    if (ignored > 0 || !group.GetMultiplier().IsOne() || lowSum + group.GetModifier() < kIntMin ||
        highSum + group.GetModifier() > kIntMax)
        return range;
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
            std::int64_t sum = 0;
            for (int r = 0; r < kDraws; ++r)
                sum += die->GetValueFor(CDie::FaceFor(die->GetSideCount(), r));
            found = kinds.emplace(kind, static_cast<double>(sum) / kDraws).first;
        }
        mean += found->second;
    }
    range.mean = mean;
    return range;
}

} // namespace rp
