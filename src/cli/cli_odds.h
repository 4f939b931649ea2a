#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace rp::cli {

// "odds [--ignore N] [--csv] TEXT...": the exact chance of every total of
// each text, leaving out the `ignore` lowest dice; with `csv`, each text's
// table as comma-separated values only. Returns the exit status.
int Odds(const std::vector<std::string>& texts, int ignore, bool csv, std::FILE* out,
         std::FILE* err);

} // namespace rp::cli
