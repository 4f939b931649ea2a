#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rp {

class CDiceGroup;

// Why a distribution was not computed.
enum class OddsRefusal {
    None,
    TooManyDice,     // a group of more than CDiceOdds::kMaxDice dice
    TooManyFaces,    // a die with more than CDiceOdds::kMaxFaces distinct faces
    TooManyOutcomes, // more totals, or more work, than is counted in a moment
};

// A short English reason, e.g. "more than 1,000 dice"; empty for None.
const char* OddsRefusalText(OddsRefusal refusal);

// One possible total of a roll.
struct COddsOutcome {
    int total;
    double chance;  // of exactly this total
    double atLeast; // of this total or more
};

// The exact distribution of a roll's total under the roller's own rules: each
// of the generator's 32,768 draws equally likely for every die, dice
// independent. Chances of extremely unlikely totals may underflow to 0; such
// totals are still listed, so the list and the range hold every possible total.
class CDiceOdds {
public:
    static constexpr int kMaxDice = 1000;
    static constexpr int kMaxFaces = 10000;

    // One group's total: faces, die and group multipliers and modifiers, and
    // the ignore count, exactly as a roll of the group totals them.
    static CDiceOdds ForGroup(const CDiceGroup& group);
    // The sum of several groups' totals, as rolling them together shows it.
    static CDiceOdds ForGroups(std::span<const CDiceGroup* const> groups);
    // The sum of independent totals; refused when any part is. No parts: 0.
    static CDiceOdds Sum(std::span<const CDiceOdds> parts);

    OddsRefusal GetRefusal() const { return refusal; }
    bool IsRefused() const { return refusal != OddsRefusal::None; }
    // Every possible total, ascending; empty when refused.
    const std::vector<COddsOutcome>& GetOutcomes() const { return outcomes; }
    // Mean, smallest and largest total; 0 when refused.
    double GetMean() const { return mean; }
    int GetMin() const { return outcomes.empty() ? 0 : outcomes.front().total; }
    int GetMax() const { return outcomes.empty() ? 0 : outcomes.back().total; }
    // The chance of exactly `total`, and of `target` or more.
    double ChanceOf(int total) const;
    double ChanceAtLeast(int target) const;

    // "3d6+2: mean 12.50, 5 to 20" with `label` in front; when refused,
    // the label and the reason.
    std::string Summary(std::string_view label) const;

private:
    static CDiceOdds Refused(OddsRefusal why);
    // Sorts, merges equal totals and fills in atLeast and the mean.
    static CDiceOdds FromTotals(std::vector<COddsOutcome> totals);

    OddsRefusal refusal = OddsRefusal::None;
    std::vector<COddsOutcome> outcomes;
    double mean = 0;
};

// What a group's distribution depends on, as a text: groups with equal keys
// have equal odds, whatever their faces, titles or places.
std::string OddsKey(const CDiceGroup& group);

} // namespace rp
