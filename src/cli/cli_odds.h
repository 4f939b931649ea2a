#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace rp::cli {

// "odds [--ignore N] TEXT...": the exact chance of every total of each text,
// leaving out the `ignore` lowest dice. Returns the exit status.
int Odds(const std::vector<std::string>& texts, int ignore, std::FILE* out, std::FILE* err);

} // namespace rp::cli
