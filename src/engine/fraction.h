#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rp {

// A multiplier n/d, never reduced: 2/4 stays 2/4.
class CFraction {
public:
    CFraction() = default;
    explicit CFraction(int whole) : numerator(whole) {}
    CFraction(int n, int d) : numerator(n), denominator(d) {}

    // Reads "n" or "n/d"; a zero denominator becomes 1 (and zeroes the
    // numerator when a "/" was present).
    void Parse(std::string_view text);
    static CFraction FromText(std::string_view text);

    // "%i" when the denominator is 1, otherwise "%i/%i".
    std::string Format() const;

    // Multiplies v by n/d, truncating, then, when v is not a whole multiple
    // of d, moves one step further in the direction of the exact quotient
    // (away from zero for a positive fraction). Saturates at the 32-bit limits.
    int Apply(int v) const;
    // The same on a 64-bit value (sums of many dice); saturates at the 64-bit limits.
    std::int64_t Apply64(std::int64_t v) const { return IsOne() ? v : Scale64(v); }

    bool IsOne() const { return numerator == 1 && denominator == 1; }
    bool operator==(const CFraction&) const = default;

    int numerator = 1;
    int denominator = 1;

private:
    // Apply64 for any fraction; most are 1, which leaves the value as it is.
    std::int64_t Scale64(std::int64_t v) const;
};

} // namespace rp
