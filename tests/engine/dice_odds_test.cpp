#include "dice_group.h"
#include "dice_odds.h"

#include <gtest/gtest.h>
#include <map>

namespace rp {
namespace {

struct DieRecipe {
    int sides;
    const char* multiplier;
    int modifier;
};

struct GroupRecipe {
    std::vector<DieRecipe> dice;
    const char* multiplier;
    int modifier;
    int ignore;
};

// Draws 0..32767 that show each face of a side count.
std::map<int, int> FaceDraws(int sides) {
    std::map<int, int> draws;
    for (int r = 0; r < 32768; ++r)
        ++draws[static_cast<int>(std::int64_t{sides} * r / 32768 + 1)];
    return draws;
}

std::unique_ptr<CDiceGroup> MakeGroup(const GroupRecipe& recipe, const std::vector<int>& faces) {
    auto group = std::make_unique<CDiceGroup>();
    for (std::size_t i = 0; i < recipe.dice.size(); ++i) {
        auto die = std::make_unique<CDie>(recipe.dice[i].sides, faces[i]);
        die->SetMultiplier(recipe.dice[i].multiplier);
        die->SetModifier(recipe.dice[i].modifier);
        group->AddDieBack(std::move(die));
    }
    group->SetMultiplier(recipe.multiplier);
    group->SetModifier(recipe.modifier);
    group->SetIgnoreCount(recipe.ignore);
    return group;
}

// Every combination of faces, totalled by the group itself, weighted by draws.
std::map<int, double> BruteForce(const GroupRecipe& recipe) {
    std::map<int, double> chances;
    std::vector<std::map<int, int>> draws;
    for (const DieRecipe& d : recipe.dice)
        draws.push_back(FaceDraws(d.sides));
    std::vector<std::map<int, int>::const_iterator> at;
    for (const auto& d : draws)
        at.push_back(d.begin());
    for (;;) {
        std::vector<int> faces;
        double chance = 1;
        for (const auto& it : at) {
            faces.push_back(it->first);
            chance *= it->second / 32768.0;
        }
        chances[MakeGroup(recipe, faces)->GetTotal()] += chance;
        std::size_t i = 0;
        while (i < at.size() && ++at[i] == draws[i].end())
            at[i] = draws[i].begin(), ++i;
        if (i == at.size())
            return chances;
    }
}

void ExpectSame(const CDiceOdds& odds, const std::map<int, double>& expected) {
    ASSERT_FALSE(odds.IsRefused());
    ASSERT_EQ(odds.GetOutcomes().size(), expected.size());
    double sum = 0, mean = 0;
    auto it = expected.begin();
    for (const COddsOutcome& o : odds.GetOutcomes()) {
        EXPECT_EQ(o.total, it->first);
        EXPECT_NEAR(o.chance, it->second, 1e-14) << "total " << o.total;
        sum += o.chance;
        mean += it->first * it->second;
        ++it;
    }
    EXPECT_NEAR(sum, 1.0, 1e-12);
    EXPECT_NEAR(odds.GetMean(), mean, 1e-9);
    EXPECT_EQ(odds.GetMin(), expected.begin()->first);
    EXPECT_EQ(odds.GetMax(), expected.rbegin()->first);
    EXPECT_NEAR(odds.GetOutcomes().front().atLeast, 1.0, 1e-12);
}

TEST(DiceOdds, MatchesEveryCombinationOfFaces) {
    const GroupRecipe cases[] = {
        {{{6, "1", 0}, {6, "1", 0}, {6, "1", 0}, {6, "1", 0}}, "1", 0, 1},
        {{{4, "1", 0}, {6, "2", 0}, {8, "1", -1}, {6, "1", 0}}, "3/2", 2, 1},
        {{{6, "-1", 0}, {6, "1", 0}, {10, "1", 3}, {5, "1", 0}}, "-1/2", 0, 2},
        {{{20, "1/2", 3}, {3, "1", 0}, {5, "1", 0}}, "1", -4, 0},
        {{{6, "1", 1}, {6, "1", 0}, {4, "2", 0}, {7, "1", 0}}, "1", 0, 3},
        {{{12, "1", 0}, {6, "-2", 5}}, "-3", 1, -1},
        {{{6, "1", 0}, {6, "1", 0}}, "2", 7, 5},
        {{{20, "1", 0}, {20, "1", 0}, {20, "1", 0}}, "1", 0, 1},
    };
    for (const GroupRecipe& recipe : cases) {
        const auto group = MakeGroup(recipe, std::vector<int>(recipe.dice.size(), 1));
        SCOPED_TRACE(group->GetDescription());
        ExpectSame(CDiceOdds::ForGroup(*group), BruteForce(recipe));
    }

    // Two groups rolled together: every pair of their totals.
    const GroupRecipe a = cases[1], b = cases[5];
    std::map<int, double> both;
    for (const auto& [ta, pa] : BruteForce(a))
        for (const auto& [tb, pb] : BruteForce(b))
            both[ta + tb] += pa * pb;
    const auto ga = MakeGroup(a, {1, 1, 1, 1}), gb = MakeGroup(b, {1, 1});
    const CDiceGroup* groups[] = {ga.get(), gb.get()};
    ExpectSame(CDiceOdds::ForGroups(groups), both);
}

TEST(DiceOdds, ChancesSummaryAndOddSideCounts) {
    CDiceGroup attack;
    ASSERT_TRUE(attack.ParseNotation("1d20+5"));
    const CDiceOdds odds = CDiceOdds::ForGroup(attack);
    EXPECT_EQ(odds.GetOutcomes().size(), 20u);
    EXPECT_DOUBLE_EQ(odds.ChanceAtLeast(15), 18022 / 32768.0);
    EXPECT_DOUBLE_EQ(odds.ChanceAtLeast(-100), 1.0);
    EXPECT_EQ(odds.ChanceAtLeast(26), 0.0);
    EXPECT_DOUBLE_EQ(odds.ChanceOf(6), 1639 / 32768.0);
    EXPECT_EQ(odds.ChanceOf(5), 0.0);

    CDiceGroup damage;
    damage.ParseNotation("3d6+2");
    EXPECT_EQ(CDiceOdds::ForGroup(damage).Summary(damage.GetDescription()),
              "3d6+2: mean 12.50, 5 to 20");

    // Side counts no die bar makes: -3 shows 1, 0 or -1; 0 always 1.
    CDiceGroup odd;
    odd.AddDieBack(std::make_unique<CDie>(-3, 0));
    odd.AddDieBack(std::make_unique<CDie>(0, 0));
    const CDiceOdds oddOdds = CDiceOdds::ForGroup(odd);
    EXPECT_EQ(oddOdds.GetMin(), 0);
    EXPECT_EQ(oddOdds.GetMax(), 2);
    EXPECT_DOUBLE_EQ(oddOdds.ChanceOf(0), 10922 / 32768.0);
    EXPECT_DOUBLE_EQ(oddOdds.ChanceOf(2), 10923 / 32768.0);
}

TEST(DiceOdds, ThousandDiceKeepEveryPossibleTotal) {
    CDiceGroup group;
    group.ParseNotation("1000d6");
    const CDiceOdds odds = CDiceOdds::ForGroup(group);
    // The chance of 1,000 ones underflows, but the total is still listed.
    EXPECT_EQ(odds.GetOutcomes().size(), 5001u);
    EXPECT_EQ(odds.GetMin(), 1000);
    EXPECT_EQ(odds.GetMax(), 6000);
    EXPECT_EQ(odds.ChanceOf(1000), 0.0);
    EXPECT_NEAR(odds.GetMean(), 1000 * 114686 / 32768.0, 1e-6);
    EXPECT_NEAR(odds.GetOutcomes().front().atLeast, 1.0, 1e-12);
}

TEST(DiceOdds, RefusesWhatCannotBeCountedQuickly) {
    CDiceGroup many;
    many.ParseNotation("1000d6+1d4");
    CDiceGroup wide;
    wide.AddDieBack(std::make_unique<CDie>(10001, 0));
    CDiceGroup spread;
    spread.ParseNotation("2d6");
    spread.GetFirstDie()->SetMultiplier("1000000000");
    CDiceGroup fine;
    fine.AddDieBack(std::make_unique<CDie>(10000, 0));
    CDiceGroup small;
    small.ParseNotation("1d4");
    const struct {
        const CDiceGroup* group;
        OddsRefusal expected;
        const char* summary;
    } cases[] = {
        {&many, OddsRefusal::TooManyDice, "x: more than 1,000 dice"},
        {&wide, OddsRefusal::TooManyFaces, "x: a die with more than 10,000 faces"},
        {&spread, OddsRefusal::TooManyOutcomes, "x: too many outcomes"},
        {&fine, OddsRefusal::None, "x: mean 5000.35, 1 to 10000"},
    };
    for (const auto& c : cases) {
        const CDiceOdds odds = CDiceOdds::ForGroup(*c.group);
        EXPECT_EQ(odds.GetRefusal(), c.expected);
        EXPECT_EQ(odds.Summary("x"), c.summary);
        const CDiceGroup* both[] = {&small, c.group};
        EXPECT_EQ(CDiceOdds::ForGroups(both).GetRefusal(), c.expected);
    }
}

TEST(DiceOdds, KeyChangesWithWhatTheOddsDependOn) {
    const auto key = [](const char* notation, auto change) {
        CDiceGroup group;
        group.ParseNotation(notation);
        change(group);
        return OddsKey(group);
    };
    const auto same = [](CDiceGroup&) {};
    const std::string plain = key("2d6+1", same);
    // Faces and titles play no part.
    EXPECT_EQ(key("2d6+1",
                  [](CDiceGroup& g) {
                      g.SetTitle("Fire");
                      g.Roll();
                  }),
              plain);
    EXPECT_NE(key("1d6+1d8+1", same), plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.SetIgnoreCount(1); }), plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.SetMultiplier("1/2"); }), plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.GetFirstDie()->SetModifier(1); }), plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.GetFirstDie()->SetMultiplier("2"); }), plain);
}

} // namespace
} // namespace rp
