#pragma once

#include <cstdio>
#include <optional>

namespace rp::cli {

// "odds [--ignore N] TEXT...": the exact chance of every total of each TEXT.
// Returns the exit status, or nothing when the command line is wrong.
std::optional<int> Odds(int argc, char** argv, std::FILE* out, std::FILE* err);

} // namespace rp::cli
