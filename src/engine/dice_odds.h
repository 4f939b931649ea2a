#pragma once

#include <atomic>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rp {

class CDiceGroup;

// Why a distribution was not computed.
enum class OddsRefusal {
    None,
    TooManyTotals, // more possible totals than are listed
    TooMuchWork,   // more steps than are done in a couple of seconds
    TooMuchMemory, // larger tables than are kept in memory
    Cancelled,     // stopped from another thread before it was done
};

// Set (from any thread) to stop a computation at its next check; the
// computation then ends refused as Cancelled.
using OddsCancelFlag = std::atomic<bool>;

// A short English reason, e.g. "too much work"; empty for None.
const char* OddsRefusalText(OddsRefusal refusal);

// One possible total of a roll.
struct COddsOutcome {
    int total;
    double chance;     // of exactly this total
    double atLeast;    // of this total or more
    double atMost = 0; // of this total or less
};

// The exact distribution of a roll's total under the roller's own rules: each
// of the generator's 32,768 draws equally likely for every die, dice
// independent. Chances of extremely unlikely totals may underflow to 0; such
// totals are still listed, so the list and the range hold every possible total.
class CDiceOdds {
public:
    // One group's total: faces, die and group multipliers and modifiers, and
    // the ignore count, exactly as a roll of the group totals them. A group
    // whose work, tables or totals would pass fixed limits is refused before
    // any work; `cancel` stops the work within 100,000 steps.
    static CDiceOdds ForGroup(const CDiceGroup& group, const OddsCancelFlag* cancel = nullptr);
    // The sum of several groups' totals, as rolling them together shows it.
    static CDiceOdds ForGroups(std::span<const CDiceGroup* const> groups,
                               const OddsCancelFlag* cancel = nullptr);
    // The sum of independent totals; refused when any part is. No parts: 0.
    static CDiceOdds Sum(std::span<const CDiceOdds> parts, const OddsCancelFlag* cancel = nullptr);

    OddsRefusal GetRefusal() const { return refusal; }
    bool IsRefused() const { return refusal != OddsRefusal::None; }
    // Every possible total, ascending; empty when refused.
    const std::vector<COddsOutcome>& GetOutcomes() const { return outcomes; }
    // Mean, standard deviation, smallest and largest total; 0 when refused.
    double GetMean() const { return mean; }
    double GetStdDev() const { return stdDev; }
    int GetMin() const { return outcomes.empty() ? 0 : outcomes.front().total; }
    int GetMax() const { return outcomes.empty() ? 0 : outcomes.back().total; }
    // The chance of exactly `total`, of `target` or more, of `target` or
    // less, and of a total from `low` to `high`, both included.
    double ChanceOf(int total) const;
    double ChanceAtLeast(int target) const;
    double ChanceAtMost(int target) const;
    double ChanceBetween(int low, int high) const;

    // The distribution as a table: a header line "Total", "Exactly %",
    // "At least %", "At most %", then one line per possible total,
    // ascending, chances in percent with 4 decimals; fields separated by
    // `separator`, every line ended by '\n'. Empty when refused.
    std::string Table(char separator) const;

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
    double stdDev = 0;
};

// What a group's distribution depends on, as a text: groups with equal keys
// have equal odds, whatever their faces, titles or places.
std::string OddsKey(const CDiceGroup& group);

} // namespace rp
