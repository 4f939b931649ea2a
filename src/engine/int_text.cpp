#include "int_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace rp {

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
} // namespace

int ReadInt(std::string_view text) {
    return ReadInt(text, {});
}

int ReadInt(std::string_view text, std::string_view skipped) {
    std::size_t i = 0;
    // The character at i after any skipped ones; 0 past the end.
    const auto isSkipped = [skipped](char c) {
        return std::any_of(skipped.begin(), skipped.end(), [c](char s) { return s == c; });
    };
    const auto at = [&] {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
        return i < text.size() ? text[i] : '\0';
    };
    while (IsSpace(at()))
        ++i;
    bool negative = false;
    if (const char sign = at(); sign == '+' || sign == '-') {
        negative = sign == '-';
        ++i;
    }
    // Stop accumulating once past the range and just consume the digits.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t value = 0;
    for (char c = at(); c >= '0' && c <= '9'; ++i, c = at()) {
        if (value <= kLimit)
            value = value * 10 + (c - '0');
    }
    return ClampToInt(negative ? -value : value);
}

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t lowest,
                                         std::int64_t highest) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Unsigned from_chars takes digits only: no second sign, no blanks.
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, magnitude);
    if (text.empty() || error != std::errc() || at != end)
        return std::nullopt;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > kMax + (negative ? 1 : 0))
        return std::nullopt;
    // Modular conversion, so that -2^63 comes out right.
    const auto value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

int ClampToInt(std::int64_t value) {
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace rp
