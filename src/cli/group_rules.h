#pragma once

#include "dice_group.h"

#include <cstdio>
#include <string>

namespace rp::cli {

// Reads `text` into `group` and sets the rules on it; on text that is not
// dice notation, says so on `err` and returns false.
inline bool ReadRuledGroup(const std::string& text, const SGroupRules& rules, CDiceGroup& group,
                           std::FILE* err) {
    if (!group.ParseNotation(text)) {
        std::fprintf(err, "error: not dice notation: %s\n", text.c_str());
        return false;
    }
    group.SetRules(rules);
    return true;
}

} // namespace rp::cli
