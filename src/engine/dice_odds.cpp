#include "dice_odds.h"

#include "dice_group.h"
#include "int_text.h"
#include "odds_kept_sum.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

namespace rp {

using odds::CCost;
using odds::CGrid;
using odds::CTable;
using odds::CWork;

namespace {

// Every index that `possible` marks, with its chance, as a total.
template <typename TotalOf>
std::vector<COddsOutcome> Totals(const CTable<double>& chance, const CTable<std::uint8_t>& possible,
                                 TotalOf totalOf) {
    std::vector<COddsOutcome> totals;
    for (std::size_t i = 0; i < possible.c.size(); ++i) {
        if (!possible.c[i])
            continue;
        const std::int64_t index = possible.first + static_cast<std::int64_t>(i);
        const double p = index >= chance.first && index < chance.End()
                             ? chance.c[static_cast<std::size_t>(index - chance.first)]
                             : 0.0;
        totals.push_back(COddsOutcome{totalOf(index), p, 0.0});
    }
    return totals;
}

// What summing independent totals takes: `sum` so far, then a part of
// `size` grid points (two passes, chances and possible totals).
CCost SumCost(const CCost& sum, double size) {
    CCost next;
    next.totals = sum.totals + size - 1;
    next.steps = sum.steps + 2 * sum.totals * size + 2 * next.totals;
    next.entries = 3 * next.totals;
    return next;
}
// The sum of no parts: 0, for nothing.
CCost NoSum() {
    CCost cost;
    cost.totals = 1;
    return cost;
}

} // namespace

const char* OddsRefusalText(OddsRefusal refusal) {
    switch (refusal) {
    case OddsRefusal::None:
        return "";
    case OddsRefusal::TooManyTotals:
        return "too many totals";
    case OddsRefusal::TooMuchWork:
        return "too much work";
    case OddsRefusal::TooMuchMemory:
        return "too much memory";
    case OddsRefusal::Cancelled:
        break;
    }
    return "stopped";
}

CDiceOdds CDiceOdds::ForGroup(const CDiceGroup& group, const OddsCancelFlag* cancel) {
    const CDiceGroup* groups[] = {&group};
    return ForGroups(groups, cancel);
}

CDiceOdds CDiceOdds::ForGroups(std::span<const CDiceGroup* const> groups,
                               const OddsCancelFlag* cancel) {
    // Every group is planned, and the whole refused, before any work.
    std::vector<odds::CKeptPlan> plans;
    CCost cost, sum = NoSum();
    for (const CDiceGroup* group : groups) {
        plans.push_back(odds::PlanKeptSums(*group));
        if (plans.back().refusal != OddsRefusal::None)
            return Refused(plans.back().refusal);
        cost.Then(plans.back().cost);
        sum = SumCost(sum, plans.back().cost.totals);
    }
    if (groups.size() > 1)
        cost.Then(sum);
    if (cost.Refusal() != OddsRefusal::None)
        return Refused(cost.Refusal());

    std::vector<CDiceOdds> parts;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const CDiceGroup& group = *groups[i];
        const odds::CKeptSums sums = odds::ComputeKeptSums(plans[i], cancel);
        if (sums.refusal != OddsRefusal::None)
            return Refused(sums.refusal);
        parts.push_back(FromTotals(Totals(sums.chance, sums.possible, [&](std::int64_t index) {
            return group.GetTotalOfKept(sums.base + index * sums.grid.step);
        })));
    }
    return parts.size() == 1 ? parts.front() : Sum(parts, cancel);
}

CDiceOdds CDiceOdds::Sum(std::span<const CDiceOdds> parts, const OddsCancelFlag* cancel) {
    std::vector<std::int64_t> values;
    for (const CDiceOdds& part : parts) {
        if (part.IsRefused())
            return Refused(part.refusal);
        for (const COddsOutcome& o : part.outcomes)
            values.push_back(o.total);
    }
    const CGrid grid = odds::GridOf(values);
    CCost cost = NoSum();
    for (const CDiceOdds& part : parts)
        cost = SumCost(
            cost, static_cast<double>(grid.Index(part.GetMax()) - grid.Index(part.GetMin()) + 1));
    if (cost.Refusal() != OddsRefusal::None)
        return Refused(cost.Refusal());

    CWork work(cancel);
    CTable<double> chance = CTable<double>::Point(0, 1.0);
    CTable<std::uint8_t> possible = CTable<std::uint8_t>::Point(0, 1);
    for (const CDiceOdds& part : parts) {
        const std::int64_t first = grid.Index(part.GetMin());
        const std::int64_t size = grid.Index(part.GetMax()) - first + 1;
        CTable<double> c{first, std::vector<double>(static_cast<std::size_t>(size), 0.0)};
        CTable<std::uint8_t> p{first, std::vector<std::uint8_t>(c.c.size(), 0)};
        for (const COddsOutcome& o : part.outcomes) {
            const auto i = static_cast<std::size_t>(grid.Index(o.total) - first);
            c.c[i] = o.chance;
            p.c[i] = 1;
        }
        chance = Convolve(chance, c, work);
        possible = Convolve(possible, p, work);
    }
    if (work.Stopped())
        return Refused(OddsRefusal::Cancelled);
    const std::int64_t base = static_cast<std::int64_t>(parts.size()) * grid.origin;
    return FromTotals(Totals(chance, possible, [&](std::int64_t index) {
        return ClampToInt(base + index * grid.step);
    }));
}

CDiceOdds CDiceOdds::Refused(OddsRefusal why) {
    CDiceOdds odds;
    odds.refusal = why;
    return odds;
}

CDiceOdds CDiceOdds::FromTotals(std::vector<COddsOutcome> totals) {
    std::sort(totals.begin(), totals.end(),
              [](const COddsOutcome& a, const COddsOutcome& b) { return a.total < b.total; });
    CDiceOdds odds;
    for (const COddsOutcome& o : totals) {
        if (!odds.outcomes.empty() && odds.outcomes.back().total == o.total)
            odds.outcomes.back().chance += o.chance;
        else
            odds.outcomes.push_back(o);
    }
    // Summed from the top, so that the small chances of the tail are not lost.
    double atLeast = 0;
    for (auto it = odds.outcomes.rbegin(); it != odds.outcomes.rend(); ++it) {
        atLeast += it->chance;
        it->atLeast = atLeast;
        odds.mean += it->total * it->chance;
    }
    // And from the bottom, so that those of the lower tail are not lost either.
    double atMost = 0, variance = 0;
    for (COddsOutcome& o : odds.outcomes) {
        atMost += o.chance;
        o.atMost = atMost;
        variance += (o.total - odds.mean) * (o.total - odds.mean) * o.chance;
    }
    odds.stdDev = std::sqrt(variance);
    return odds;
}

double CDiceOdds::ChanceOf(int total) const {
    const auto it =
        std::lower_bound(outcomes.begin(), outcomes.end(), total,
                         [](const COddsOutcome& o, int value) { return o.total < value; });
    return it != outcomes.end() && it->total == total ? it->chance : 0.0;
}

double CDiceOdds::ChanceAtLeast(int target) const {
    const auto it =
        std::lower_bound(outcomes.begin(), outcomes.end(), target,
                         [](const COddsOutcome& o, int value) { return o.total < value; });
    return it != outcomes.end() ? it->atLeast : 0.0;
}

double CDiceOdds::ChanceAtMost(int target) const {
    const auto it =
        std::upper_bound(outcomes.begin(), outcomes.end(), target,
                         [](int value, const COddsOutcome& o) { return value < o.total; });
    return it == outcomes.begin() ? 0.0 : std::prev(it)->atMost;
}

double CDiceOdds::ChanceBetween(int low, int high) const {
    // Added up over the range itself: a difference of two cumulative chances
    // would lose a small range in a tail.
    double chance = 0;
    for (auto it =
             std::lower_bound(outcomes.begin(), outcomes.end(), low,
                              [](const COddsOutcome&o, int value) { return o.total < value; });
         it != outcomes.end() && it->total <= high; ++it)
        chance += it->chance;
    return chance;
}

std::string CDiceOdds::Table(char separator) const {
    if (IsRefused())
        return {};
    const char s = separator;
    std::string text =
        std::string("Total") + s + "Exactly %" + s + "At least %" + s + "At most %\n";
    char line[128];
    for (const COddsOutcome& o : outcomes) {
        std::snprintf(line, sizeof line, "%i%c%.4f%c%.4f%c%.4f\n", o.total, s, 100 * o.chance, s,
                      100 * o.atLeast, s, 100 * o.atMost);
        text += line;
    }
    return text;
}

std::string CDiceOdds::Summary(std::string_view label) const {
    std::string text(label);
    char buffer[96];
    if (IsRefused())
        std::snprintf(buffer, sizeof buffer, ": %s", OddsRefusalText(refusal));
    else
        std::snprintf(buffer, sizeof buffer, ": mean %.2f, %i to %i", mean, GetMin(), GetMax());
    return text + buffer;
}

std::string OddsKey(const CDiceGroup& group) {
    std::string key = std::to_string(group.GetIgnoreCount()) + ' ' +
                      std::to_string(group.GetModifier()) + ' ' + group.GetMultiplierText();
    // The rules only when set, so that the keys of groups without them stay as they were.
    if (group.HasRules())
        key += " rules " + std::to_string(group.GetIgnoreHighestCount()) + ' ' +
               std::to_string(group.GetRerollBelow()) + ' ' + std::to_string(group.GetExplode()) +
               ' ' + std::to_string(group.GetCountAtLeast());
    for (const auto& die : group.Dice())
        key += ';' + std::to_string(die->GetSideCount()) + ' ' +
               std::to_string(die->GetModifier()) + ' ' + die->GetMultiplierText();
    return key;
}

} // namespace rp
