#include "fuzz_support.h"

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
