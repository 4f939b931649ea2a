#pragma once

#include <cstdint>
#include <string_view>

namespace rp {

// The usual decimal text-to-integer reading: leading white space, an optional
// sign, then digits up to the first non-digit; no digits reads 0. Values past
// the 32-bit range saturate at its limits instead of overflowing.
int ReadInt(std::string_view text);
// The same, with the characters in `skipped` passed over wherever they stand,
// as if they had been taken out of the text first.
int ReadInt(std::string_view text, std::string_view skipped);

// Brings a 64-bit intermediate back into the 32-bit signed range.
int ClampToInt(std::int64_t value);

} // namespace rp
