#include "fraction.h"
#include "int_text.h"

#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>

namespace rp {
namespace {

TEST(ReadInt, ReadsLikeTheUsualConversionAndSaturates) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},
        {"  -7x", -7},
        {"+3", 3},
        {"", 0},
        {"abc", 0},
        {"- 5", 0},
        {"12.9", 12},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseInteger, TakesASignAndDigitsWithinTheBoundsOnly) {
    constexpr std::nullopt_t no = std::nullopt;
    // Between 0 and 9.
    const std::pair<const char*, std::optional<std::int64_t>> digits[] = {
        {"0", 0},   {"+7", 7},   {"-0", 0},  {"007", 7},  {"", no},   {"+", no}, {" 7", no},
        {"7 ", no}, {"+-7", no}, {"7x", no}, {"0x7", no}, {"10", no}, {"-1", no}};
    for (const auto& [text, value] : digits)
        EXPECT_EQ(ParseInteger(text, 0, 9), value) << '"' << text << '"';
    // At the limits of the generator's seeds and of the 64-bit range.
    EXPECT_EQ(ParseInteger("4294967295", 0, UINT32_MAX), UINT32_MAX);
    EXPECT_EQ(ParseInteger("4294967296", 0, UINT32_MAX), no);
    for (const char* text : {"-7", "-9223372036854775808", "9223372036854775807"})
        EXPECT_EQ(ParseInteger(text, INT64_MIN, INT64_MAX), std::stoll(text));
    for (const char* text : {"-9223372036854775809", "9223372036854775808", "99999999999999999999"})
        EXPECT_EQ(ParseInteger(text, INT64_MIN, INT64_MAX), no) << text;
}

TEST(Fraction, ParsesAndFormats) {
    const struct {
        const char* text;
        int numerator, denominator;
        const char* formatted;
    } cases[] = {
        {"3", 3, 1, "3"},     {"1/2", 1, 2, "1/2"},    {"3/0", 0, 1, "0"},   {"3/", 0, 1, "0"},
        {"", 0, 1, "0"},      {"-3/2", -3, 2, "-3/2"}, {"2/4", 2, 4, "2/4"}, {"/2", 0, 2, "0/2"},
        {"3/abc", 0, 1, "0"}, {" 5 / 3", 5, 3, "5/3"},
    };
    for (const auto& c : cases) {
        const CFraction f = CFraction::FromText(c.text);
        EXPECT_EQ(f.numerator, c.numerator) << c.text;
        EXPECT_EQ(f.denominator, c.denominator) << c.text;
        EXPECT_EQ(f.Format(), c.formatted) << c.text;
    }
    EXPECT_EQ(CFraction().Format(), "1");
}

TEST(Fraction, ApplyRoundsAwayFromZeroOnInexactValues) {
    const CFraction half(1, 2);
    const int halves[] = {1, 1, 2, 2, 3, 3};
    for (int v = 1; v <= 6; ++v)
        EXPECT_EQ(half.Apply(v), halves[v - 1]) << v;
    EXPECT_EQ(half.Apply(-3), -2);
    EXPECT_EQ(half.Apply(0), 0);

    const CFraction threeHalves(3, 2);
    EXPECT_EQ(threeHalves.Apply(1), 2);
    EXPECT_EQ(threeHalves.Apply(2), 3);
    EXPECT_EQ(threeHalves.Apply(3), 5);

    // The test looks at v, not the product, and the fraction is not reduced.
    EXPECT_EQ(CFraction(2, 4).Apply(2), 2);
    EXPECT_EQ(CFraction(0, 1).Apply(6), 0);
}

TEST(Fraction, TheExtraStepFollowsTheSignOfTheQuotient) {
    const struct {
        int n, d, v, result;
    } cases[] = {
        {-1, 2, 1, -1}, {-1, 2, 3, -2}, {-1, 2, -3, 2}, {1, -2, 3, -2},
        {-1, -2, 3, 2}, {1, 2, -3, -2}, {0, 2, 3, 0},   {-3, 2, 3, -5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFraction(c.n, c.d).Apply(c.v), c.result) << c.n << '/' << c.d << " of " << c.v;
}

TEST(Fraction, ApplyNeverOverflows) {
    // Every input is defined: the lowest value over -1 included.
    EXPECT_EQ(CFraction(1, -1).Apply64(INT64_MIN), INT64_MAX);
    EXPECT_EQ(CFraction(-1, -1).Apply64(INT64_MIN), INT64_MIN);
    EXPECT_EQ(CFraction(3, -1).Apply64(INT64_MIN), INT64_MAX);

    const CFraction minOverMinusOne = CFraction::FromText("-2147483648/-1");
    EXPECT_EQ(minOverMinusOne.numerator, INT_MIN);
    EXPECT_EQ(minOverMinusOne.denominator, -1);
    EXPECT_EQ(minOverMinusOne.Apply(1), INT_MAX);
    EXPECT_EQ(minOverMinusOne.Apply(-1), INT_MIN);
    EXPECT_EQ(minOverMinusOne.Apply(INT_MIN), INT_MIN);
    EXPECT_EQ(CFraction(2, 1).Apply(INT_MAX), INT_MAX);
    EXPECT_EQ(CFraction(INT_MAX, 1).Apply(INT_MIN), INT_MIN);
    EXPECT_EQ(CFraction(1, INT_MIN).Apply(INT_MIN), 1);
    EXPECT_EQ(CFraction(INT_MAX, 1).Apply64(INT64_MAX), INT64_MAX);
    EXPECT_EQ(CFraction(INT_MIN, -1).Apply64(INT64_MIN + 1), INT64_MIN); // far below

    // A zero denominator set directly counts as 1.
    CFraction zero;
    zero.numerator = 5;
    zero.denominator = 0;
    EXPECT_EQ(zero.Apply(3), 15);
}

} // namespace
} // namespace rp
