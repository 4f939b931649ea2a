#include "fraction.h"

#include "int_text.h"

#include <cstdio>
#include <limits>

namespace rp {

void CFraction::Parse(std::string_view text) {
    const auto slash = text.find('/');
    numerator = ReadInt(text.substr(0, slash));
    denominator = slash == std::string_view::npos ? 0 : ReadInt(text.substr(slash + 1));
    if (denominator == 0) {
        denominator = 1;
        if (slash != std::string_view::npos)
            numerator = 0;
    }
}

CFraction CFraction::FromText(std::string_view text) {
    CFraction f;
    f.Parse(text);
    return f;
}

std::string CFraction::Format() const {
    char buffer[32];
    if (denominator == 1)
        std::snprintf(buffer, sizeof buffer, "%i", numerator);
    else
        std::snprintf(buffer, sizeof buffer, "%i/%i", numerator, denominator);
    return buffer;
}

std::int64_t CFraction::Scale64(std::int64_t v) const {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    // A zero denominator can only come from a caller setting the fields
    // directly; treat it as 1 rather than divide by zero.
    const std::int64_t d = denominator == 0 ? 1 : denominator;
    const auto sign = [](std::int64_t x) { return (x > 0) - (x < 0); };
    // The sign of the exact quotient v * n / d.
    const int direction = sign(v) * sign(numerator) * sign(d);
    const std::int64_t saturated = direction < 0 ? kMin : kMax;
    std::int64_t q = 0;
    // A denominator of 1 or -1 divides everything: v times n or -n, exactly.
    if (d == 1 || d == -1)
        return __builtin_mul_overflow(v, std::int64_t{numerator} * d, &q) ? saturated : q;
    std::int64_t product = 0;
    if (__builtin_mul_overflow(v, std::int64_t{numerator}, &product))
        product = direction * sign(d) < 0 ? kMin : kMax;
    q = product / d;
    // v not a whole multiple of d: one step further in the quotient's direction.
    if (v % d != 0) {
        if (direction > 0 && q < kMax)
            ++q;
        else if (direction < 0 && q > kMin)
            --q;
    }
    return q;
}

int CFraction::Apply(int v) const {
    return ClampToInt(Apply64(v));
}

} // namespace rp
