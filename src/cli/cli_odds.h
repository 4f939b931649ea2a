#pragma once

#include "group_rules.h"

#include <cstdio>
#include <string>
#include <vector>

namespace rp::cli {

// "odds [RULES] [--csv] TEXT...": the exact chance of every total of each
// text under `rules`; with `csv`, each text's table as comma-separated values
// only. Returns the exit status.
int Odds(const std::vector<std::string>& texts, const SGroupRules& rules, bool csv, std::FILE* out,
         std::FILE* err);

} // namespace rp::cli
