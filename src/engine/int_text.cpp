#include "int_text.h"

#include <algorithm>
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

int ClampToInt(std::int64_t value) {
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace rp
