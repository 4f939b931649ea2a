#include "cli_odds.h"

#include "dice_group.h"
#include "dice_odds.h"

#include <string>
#include <vector>

namespace rp::cli {

namespace {

void PrintOdds(std::FILE* out, const CDiceGroup& group, const CDiceOdds& odds, bool csv) {
    if (csv) {
        std::fputs(odds.Table(',').c_str(), out);
        return;
    }
    std::fprintf(out, "%s: mean %.4f, min %i, max %i, sd %.4f\n", group.GetDescription().c_str(),
                 odds.GetMean(), odds.GetMin(), odds.GetMax(), odds.GetStdDev());
    for (const COddsOutcome& o : odds.GetOutcomes())
        std::fprintf(out, "%i\t%.4f\t%.4f\n", o.total, o.chance * 100, o.atLeast * 100);
}

} // namespace

int Odds(const std::vector<std::string>& texts, const SGroupRules& rules, bool csv, std::FILE* out,
         std::FILE* err) {
    int status = 0;
    for (const std::string& text : texts) {
        CDiceGroup group;
        if (!ReadRuledGroup(text, rules, group, err)) {
            status = 1;
            continue;
        }
        const CDiceOdds odds = CDiceOdds::ForGroup(group);
        if (odds.IsRefused()) {
            std::fprintf(err, "error: %s: %s\n", OddsRefusalText(odds.GetRefusal()), text.c_str());
            status = 1;
            continue;
        }
        PrintOdds(out, group, odds, csv);
    }
    return status;
}

} // namespace rp::cli
