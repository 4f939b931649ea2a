#pragma once

#include "dice_odds.h"
#include "odds_table.h"

#include <memory>
#include <vector>

namespace rp {

class CDie;
class CDiceGroup;

namespace odds {

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

// The faces of a side count with the number of draws giving each, by the
// roller's own formula (CDie::FaceFor); they need not be equally likely.
std::vector<CValueDraws> FaceDraws(int sideCount);

struct CRulesPlan;

template <typename T> T Weight(int draws);
template <> inline double Weight<double>(int draws) {
    return draws / double{kDraws};
}
template <> inline std::uint8_t Weight<std::uint8_t>(int) {
    return 1;
}

// How a group's kept sum is to be computed, and what that will take; a
// group beyond the limits is refused here, before any work.
struct CKeptPlan {
    OddsRefusal refusal = OddsRefusal::None;
    std::vector<CBlock> blocks;
    int n = 0, k = 0; // dice, and how many of them are ignored
    CGrid grid;
    std::int64_t base = 0; // the kept sum at index 0
    CCost cost;
    std::shared_ptr<const CRulesPlan> rules; // set for a group with rules
};

// The sums of a group's kept dice values, before its multiplier and modifier:
// their chances, and which of them are possible at all, on a grid where
// index i stands for the sum base + grid.step * i.
struct CKeptSums {
    OddsRefusal refusal = OddsRefusal::None;
    CGrid grid;
    std::int64_t base = 0;
    CTable<double> chance;
    CTable<std::uint8_t> possible;
};

// A group's dice of equal side count, multiplier and modifier, together:
// one die of each kind, in order of first appearance, and how many there are.
struct CDieKinds {
    std::vector<const CDie*> kinds;
    std::vector<int> counts;
};
CDieKinds DieKindsOf(const CDiceGroup& group);

CKeptPlan PlanKeptSums(const CDiceGroup& group);
// Refused as Cancelled when `cancel` is set before the end.
CKeptSums ComputeKeptSums(const CKeptPlan& plan, const OddsCancelFlag* cancel);

} // namespace odds
} // namespace rp
