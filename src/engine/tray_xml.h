#pragma once

#include <string>
#include <string_view>

namespace rp {

// Lays out serialised XML one tag (or one element with text content) per
// line, lines ending in "\n" and indented with one tab per level.
std::string LayOutXmlText(std::string_view text);

} // namespace rp
