#pragma once

#include "dice_odds.h"
#include "odds_table.h"

namespace rp {

class CDiceGroup;

namespace odds {

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

CKeptSums KeptSumsOf(const CDiceGroup& group);

} // namespace odds
} // namespace rp
