#include "dice_group.h"
#include "dice_odds.h"
#include "odds_range.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

// The cheap range is the exact one, and the cheap mean the odds' own.
TEST(OddsRange, AgreesWithTheOddsAndGivesTheMeanOnlyWhenCheap) {
    const struct {
        const char* notation;
        const char* multiplier;
        int ignore;
        bool mean;
        int ignoreHigh = 0, rerollBelow = 0;
        bool explode = false;
        int countAtLeast = 0;
    } cases[] = {
        {"3d6+2", "1", 0, true},
        {"1d20+5", "1", 0, true},
        {"1d4+1d6-3", "1", 0, true},
        {"4d6", "1", 1, false},
        {"2d6+1d4", "1", 2, false},
        {"3d6", "1", 5, false},
        {"2d6+1", "1/2", 0, false},
        {"2d6-1", "-3", 1, false},
        {"1d1+1d100", "1", 0, true},
        // The rules: an exploding d4 reaches 101 * 4, a count runs over the kept dice.
        {"3d6+1", "1", 0, true, 0, 3},
        {"2d4+1d6", "1", 0, false, 1, 0, true},
        {"4d6", "2", 1, false, 1, 2, true, 3},
        {"1d20+2d8", "1", 0, false, 2, 0, false, 5},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        ASSERT_TRUE(group.ParseNotation(c.notation)) << c.notation;
        group.SetMultiplier(c.multiplier);
        group.SetRules({c.ignore, c.ignoreHigh, c.rerollBelow, c.explode, c.countAtLeast});
        // Dice of their own multipliers and modifiers, one of them negative.
        group.Dice().back()->SetMultiplier("-2");
        group.Dice().front()->SetModifier(4);
        const CDiceOdds odds = CDiceOdds::ForGroup(group);
        ASSERT_FALSE(odds.IsRefused()) << c.notation;
        const COddsRange range = OddsRangeOf(group);
        EXPECT_EQ(range.min, odds.GetMin()) << c.notation;
        EXPECT_EQ(range.max, odds.GetMax()) << c.notation;
        ASSERT_EQ(range.mean.has_value(), c.mean) << c.notation;
        if (c.mean) {
            EXPECT_NEAR(*range.mean, odds.GetMean(), 1e-9) << c.notation;
        }
    }
    // Far beyond what the odds take, still at once.
    CDiceGroup huge;
    huge.ParseNotation("1000d10000+1000d10000");
    huge.SetIgnoreCount(1);
    const COddsRange range = OddsRangeOf(huge);
    EXPECT_EQ(range.min, 1999);
    EXPECT_EQ(range.max, 19990000);
}

} // namespace
} // namespace rp
