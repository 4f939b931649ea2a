#include "dice_odds.h"

#include "dice_group.h"
#include "int_text.h"
#include "odds_kept_sum.h"

#include <algorithm>
#include <cstdio>

namespace rp {

using odds::CGrid;
using odds::CTable;
using odds::CWorkBudget;

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

} // namespace

const char* OddsRefusalText(OddsRefusal refusal) {
    switch (refusal) {
    case OddsRefusal::None:
        return "";
    case OddsRefusal::TooManyDice:
        return "more than 1,000 dice";
    case OddsRefusal::TooManyFaces:
        return "a die with more than 10,000 faces";
    case OddsRefusal::TooManyOutcomes:
        break;
    }
    return "too many outcomes";
}

CDiceOdds CDiceOdds::ForGroup(const CDiceGroup& group) {
    const odds::CKeptSums sums = odds::KeptSumsOf(group);
    if (sums.refusal != OddsRefusal::None)
        return Refused(sums.refusal);
    return FromTotals(Totals(sums.chance, sums.possible, [&](std::int64_t index) {
        return group.GetTotalOfKept(sums.base + index * sums.grid.step);
    }));
}

CDiceOdds CDiceOdds::ForGroups(std::span<const CDiceGroup* const> groups) {
    std::vector<CDiceOdds> parts;
    for (const CDiceGroup* group : groups) {
        parts.push_back(ForGroup(*group));
        if (parts.back().IsRefused())
            return parts.back();
    }
    return Sum(parts);
}

CDiceOdds CDiceOdds::Sum(std::span<const CDiceOdds> parts) {
    std::vector<std::int64_t> values;
    for (const CDiceOdds& part : parts) {
        if (part.IsRefused())
            return Refused(part.refusal);
        for (const COddsOutcome& o : part.outcomes)
            values.push_back(o.total);
    }
    const CGrid grid = odds::GridOf(values);
    CWorkBudget work;
    CTable<double> chance = CTable<double>::Point(0, 1.0);
    CTable<std::uint8_t> possible = CTable<std::uint8_t>::Point(0, 1);
    for (const CDiceOdds& part : parts) {
        const std::int64_t first = grid.Index(part.GetMin());
        const std::int64_t size = grid.Index(part.GetMax()) - first + 1;
        if (!work.Spend(size, size))
            break;
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
    if (!work.Ok())
        return Refused(OddsRefusal::TooManyOutcomes);
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
    for (const auto& die : group.Dice())
        key += ';' + std::to_string(die->GetSideCount()) + ' ' +
               std::to_string(die->GetModifier()) + ' ' + die->GetMultiplierText();
    return key;
}

} // namespace rp
