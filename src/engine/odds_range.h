#pragma once

#include <optional>

namespace rp {

class CDiceGroup;

// What is known of a group's total without working out its odds: the
// smallest and largest total a roll can give, exactly, and the mean when it
// is cheap too (no ignored dice, explosions or counts, and a group
// multiplier of 1, which would otherwise round each total).
struct COddsRange {
    int min = 0;
    int max = 0;
    std::optional<double> mean;
};

// Takes a few steps per die, and at most a few hundred thousand for the mean.
COddsRange OddsRangeOf(const CDiceGroup& group);

} // namespace rp
