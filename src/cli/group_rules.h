#pragma once

#include "dice_group.h"

#include <cstdio>
#include <string>

namespace rp::cli {

// The game-system rules given on the command line, applied alike to every
// TEXT of describe, roll and odds.
struct GroupRules {
    int ignoreLowest = 0;
    int ignoreHighest = 0;
    int rerollBelow = 0;
    bool explode = false;
    int countAtLeast = 0;
};

// Reads `text` into `group` and sets the rules on it; on text that is not
// dice notation, says so on `err` and returns false.
inline bool ReadRuledGroup(const std::string& text, const GroupRules& rules, CDiceGroup& group,
                           std::FILE* err) {
    if (!group.ParseNotation(text)) {
        std::fprintf(err, "error: not dice notation: %s\n", text.c_str());
        return false;
    }
    group.SetIgnoreCount(rules.ignoreLowest);
    group.SetIgnoreHighestCount(rules.ignoreHighest);
    group.SetRerollBelow(rules.rerollBelow);
    group.SetExplode(rules.explode);
    group.SetCountAtLeast(rules.countAtLeast);
    return true;
}

} // namespace rp::cli
