#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rp {

// The usual decimal text-to-integer reading: leading white space, an optional
// sign, then digits up to the first non-digit; no digits reads 0. Values past
// the 32-bit range saturate at its limits instead of overflowing.
int ReadInt(std::string_view text);
// The same, with the characters in `skipped` passed over wherever they stand,
// as if they had been taken out of the text first.
int ReadInt(std::string_view text, std::string_view skipped);

// The strict reading for numbers typed by a user (command line, environment):
// an optional '+' or '-' and one or more decimal digits, nothing else (no
// blanks), whose value lies within [lowest, highest]; nothing otherwise.
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t lowest,
                                         std::int64_t highest);

// Brings a 64-bit intermediate back into the 32-bit signed range.
int ClampToInt(std::int64_t value);

} // namespace rp
