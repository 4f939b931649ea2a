#include "fuzz_support.h"

#include "dice_group.h"
#include "int_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

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

bool SkipKnownFaults() {
    static const bool skip = [] {
        const char* value = std::getenv("ROLLPOUCH_FUZZ_SKIP_KNOWN");
        return value && std::string_view(value) == "1";
    }();
    return skip;
}

std::int64_t NotationDiceBound(std::string_view text) {
    // Digits right after a "d" (spaces and brackets are dropped) are a side
    // count; any other number may be a count.
    std::int64_t bound = 0;
    std::int64_t number = 0;
    bool sides = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (!sides)
                number = std::min<std::int64_t>(number * 10 + (c - '0'), CDiceGroup::kMaxTermDice);
            continue;
        }
        if (c == ' ' || c == '(' || c == ')')
            continue;
        bound += number;
        number = 0;
        sides = c == 'd';
        if (sides)
            ++bound;
    }
    return bound + number;
}

std::int64_t TrayDiceBound(std::string_view bytes) {
    xml::CXmlDocument document;
    if (!document.ParseText(bytes))
        return NotationDiceBound(bytes);
    // Text nodes only: attributes never hold notation. An element's text is
    // read as one, so leading digits may continue the number before them.
    std::int64_t bound = 0;
    AnyNode(document.Root().root(), [&bound](pugi::xml_node node) {
        if (node.type() != pugi::node_pcdata && node.type() != pugi::node_cdata)
            return false;
        const std::string_view text = node.value();
        const std::size_t first = text.find_first_not_of(" ()");
        const bool digit =
            first != std::string_view::npos && text[first] >= '0' && text[first] <= '9';
        bound += NotationDiceBound(text) + (digit ? CDiceGroup::kMaxTermDice : 0);
        return false;
    });
    return bound;
}

bool IsKnownUnfaithfulText(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos ||
           (!text.empty() && text.find_first_not_of(" \t") == std::string_view::npos);
}

bool HasHugeMultiplier(std::string_view bytes) {
    return AnyNode(bytes, [](pugi::xml_node node) {
        const std::int64_t numerator = ReadInt(xml::AttributeText(node, "multiplier"));
        return numerator >= 65536 || numerator <= -65536;
    });
}

} // namespace rp::fuzz
