#include "fuzz_support.h"

#include "dice_group.h"
#include "xml_dom.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace rp::fuzz {

namespace {

// Control characters and bytes past ASCII as \xNN, so a report stays one line.
void PrintEscaped(std::string_view text) {
    constexpr std::size_t kShown = 1 << 16;
    for (const char c : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\')
            std::fputc(c, stderr);
        else
            std::fprintf(stderr, "\\x%02X", byte);
    }
    if (text.size() > kShown)
        std::fprintf(stderr, "... (%zu bytes)", text.size());
    std::fputc('\n', stderr);
}

} // namespace

// Counts at least as many dice as the text could make: every number outside
// the tags counts as a count (no term makes more than kMaxTermDice) unless
// it follows a "d" (a side count), every "d" and every "<die" as one more.
// Tags (in a text that is XML), spaces and brackets are passed over without
// ending a number, as the reader joins the text around tags and notation
// drops the others.
bool CouldMakeMoreDice(std::string_view text, int limit) {
    const bool isXml = xml::CXmlDocument().ParseText(text);
    long long bound = 0, number = 0;
    bool inTag = false, sides = false;
    for (std::size_t i = 0; i < text.size() && bound <= limit; ++i) {
        const char c = text[i];
        if (inTag) {
            inTag = c != '>';
        } else if (c == '<' && isXml) {
            inTag = text.substr(i, 9) != "<![CDATA[";
            bound += text.substr(i, 4) == "<die";
        } else if (c >= '0' && c <= '9') {
            if (!sides)
                number = std::min<long long>(number * 10 + (c - '0'), CDiceGroup::kMaxTermDice);
        } else if (c != ' ' && c != '(' && c != ')') {
            bound += number;
            number = 0;
            sides = c == 'd' || c == 'D';
            bound += sides;
        }
    }
    return bound + number > limit;
}

void Fail(const char* what, std::string_view first, std::string_view second) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    if (!first.empty() || !second.empty()) {
        std::fputs("  first:  ", stderr);
        PrintEscaped(first);
        std::fputs("  second: ", stderr);
        PrintEscaped(second);
    }
    std::abort();
}

} // namespace rp::fuzz
