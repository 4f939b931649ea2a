#pragma once

#include "odds_kept_sum.h"

#include <vector>

namespace rp::odds {

// One possible face or value and its chance; everything listed is possible,
// even when its chance underflows to 0.
struct CValueChance {
    std::int64_t value;
    double chance;
};

// The faces of one die rolled under a group's rules (a face below
// `rerollBelow` rolled once more; a face of the side count rolling again and
// adding, at most CDiceGroup::kMaxExtraRolls times), ascending.
std::vector<CValueChance> RuleFaces(int sideCount, int rerollBelow, bool explode);

// How many faces RuleFaces lists for a side count, at most.
double RuleFaceCount(int sideCount, bool explode);

// Identical dice under the rules: their values, ascending, and how many dice.
struct CRuleBlock {
    std::vector<CValueChance> values;
    int count = 0;
};

// What the kept sum (or count) of a group with rules is computed from.
struct CRulesPlan {
    std::vector<CRuleBlock> blocks;
    int n = 0, k = 0, h = 0; // dice, ignored lowest, then ignored highest
    int countAtLeast = 0;    // > 0: kept dice of at least this value are counted
    bool sortedFill = false; // dice ignored by filling sorted positions (else by clamping)
};

// For a group with rules (CDiceGroup::HasRules); PlanKeptSums hands such
// groups here, and ComputeKeptSums works out their plans' chances and
// possible totals with the two below.
CKeptPlan PlanRuleSums(const CDiceGroup& group);
CTable<double> RuleChances(const CKeptPlan& plan, CWork& work);
CTable<std::uint8_t> RulePossible(const CKeptPlan& plan, CWork& work);

} // namespace rp::odds
