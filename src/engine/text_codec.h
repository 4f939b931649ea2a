#pragma once

#include <string>
#include <string_view>

namespace rp {

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// The bytes with every one that starts no well-formed sequence replaced by
// U+FFFD.
std::string ToValidUtf8(std::string_view bytes);

// File text as UTF-8: valid UTF-8 is taken as it is (less a byte-order mark);
// anything else is taken as Windows-1252, the code page trays are written in
// on Windows, and converted.
std::string DecodeFileText(std::string_view bytes);

} // namespace rp
