#include "cli_odds.h"

#include "dice_group.h"
#include "dice_odds.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

namespace rp::cli {

namespace {

// A whole 32-bit number and nothing else.
bool ParseCount(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end;
}

void PrintOdds(std::FILE* out, const CDiceGroup& group, const CDiceOdds& odds) {
    std::fprintf(out, "%s: mean %.4f, min %i, max %i\n", group.GetDescription().c_str(),
                 odds.GetMean(), odds.GetMin(), odds.GetMax());
    for (const COddsOutcome& o : odds.GetOutcomes())
        std::fprintf(out, "%i\t%.4f\t%.4f\n", o.total, o.chance * 100, o.atLeast * 100);
}

} // namespace

std::optional<int> Odds(int argc, char** argv, std::FILE* out, std::FILE* err) {
    int ignore = 0;
    std::vector<std::string> texts;
    bool optionsDone = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsDone || !arg.starts_with("--"))
            texts.emplace_back(arg);
        else if (arg == "--")
            optionsDone = true;
        else if (arg == "--ignore" && i + 1 < argc && ParseCount(argv[i + 1], ignore))
            ++i;
        else
            return std::nullopt;
    }
    if (texts.empty())
        return std::nullopt;

    int status = 0;
    for (const std::string& text : texts) {
        CDiceGroup group;
        if (!group.ParseNotation(text)) {
            std::fprintf(err, "error: not dice notation: %s\n", text.c_str());
            status = 1;
            continue;
        }
        group.SetIgnoreCount(ignore);
        const CDiceOdds odds = CDiceOdds::ForGroup(group);
        if (odds.IsRefused()) {
            std::fprintf(err, "error: too many outcomes: %s\n", text.c_str());
            status = 1;
            continue;
        }
        PrintOdds(out, group, odds);
    }
    return status;
}

} // namespace rp::cli
