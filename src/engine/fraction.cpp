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

std::int64_t CFraction::Apply64(std::int64_t v) const {
    // A zero denominator can only come from a caller setting the fields
    // directly; treat it as 1 rather than divide by zero.
    const std::int64_t d = denominator == 0 ? 1 : denominator;
    std::int64_t product = 0;
    if (__builtin_mul_overflow(v, std::int64_t{numerator}, &product)) {
        const bool negative = (v < 0) != (numerator < 0);
        product = negative ? std::numeric_limits<std::int64_t>::min()
                           : std::numeric_limits<std::int64_t>::max();
    }
    if (d == 1)
        return product;
    std::int64_t q = d == -1 ? (product == std::numeric_limits<std::int64_t>::min()
                                    ? std::numeric_limits<std::int64_t>::max()
                                    : -product)
                             : product / d;
    if (v % d != 0) {
        if (v > 0 && q < std::numeric_limits<std::int64_t>::max())
            ++q;
        else if (v < 0 && q > std::numeric_limits<std::int64_t>::min())
            --q;
    }
    return q;
}

int CFraction::Apply(int v) const {
    return ClampToInt(Apply64(v));
}

} // namespace rp
