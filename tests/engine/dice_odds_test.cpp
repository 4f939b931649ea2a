#include "dice_group.h"
#include "dice_odds.h"
#include "odds_kept_sum.h"
#include "odds_rules.h"

#include <cmath>
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
    int ignoreHigh = 0, rerollBelow = 0;
    bool explode = false;
    int countAtLeast = 0;
    bool HasRules() const { return ignoreHigh || rerollBelow || explode || countAtLeast; }
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
    group->SetRules({recipe.ignore, recipe.ignoreHigh, recipe.rerollBelow, recipe.explode,
                     recipe.countAtLeast});
    return group;
}

// One die's faces under the rules, by following every sequence of rolls: a
// first face below the mark rolled once more; a face of the side count
// rolling on, at most 100 extra rolls.
std::map<int, long double> RuleFaces(int sides, const GroupRecipe& recipe) {
    const std::map<int, int> draws = FaceDraws(sides);
    std::map<int, long double> faces;
    const auto extra = [&](auto& self, int sum, long double chance, int rolls) -> void {
        for (const auto& [e, d] : draws) {
            if (e == sides && rolls + 1 < 100)
                self(self, sum + e, chance * d / 32768, rolls + 1);
            else
                faces[sum + e] += chance * d / 32768;
        }
    };
    const auto kept = [&](int face, long double chance) {
        if (recipe.explode && sides >= 2 && face == sides)
            extra(extra, face, chance, 0);
        else
            faces[face] += chance;
    };
    for (const auto& [f, d] : draws) {
        if (recipe.rerollBelow > 1 && f < recipe.rerollBelow)
            for (const auto& [g, e] : draws)
                kept(g, static_cast<long double>(d) * e / 32768 / 32768);
        else
            kept(f, d / 32768.0L);
    }
    return faces;
}

// Every combination of faces, weighted by their chances. Without rules the
// group itself totals them; with rules the values are sorted, the ignored
// ones dropped and the rest summed or counted here.
std::map<int, double> BruteForce(const GroupRecipe& recipe) {
    std::map<int, long double> chances; // many small terms: a double sum would drift
    const auto group = MakeGroup(recipe, std::vector<int>(recipe.dice.size(), 1));
    std::vector<std::map<int, long double>> faces;
    for (const DieRecipe& d : recipe.dice)
        faces.push_back(RuleFaces(d.sides, recipe));
    std::vector<std::map<int, long double>::const_iterator> at;
    for (const auto& d : faces)
        at.push_back(d.begin());
    std::vector<int> rolled(at.size());
    std::vector<std::int64_t> values(at.size());
    for (;;) {
        long double chance = 1;
        for (std::size_t i = 0; i < at.size(); ++i) {
            rolled[i] = at[i]->first;
            values[i] = group->Dice()[i]->GetValueFor(at[i]->first);
            chance *= at[i]->second;
        }
        if (!recipe.HasRules()) {
            chances[MakeGroup(recipe, rolled)->GetTotal()] += chance;
        } else {
            std::sort(values.begin(), values.end());
            std::int64_t kept = 0;
            for (int i = recipe.ignore; i < static_cast<int>(values.size()) - recipe.ignoreHigh;
                 ++i)
                kept += recipe.countAtLeast > 0 ? values[i] >= recipe.countAtLeast : values[i];
            chances[group->GetTotalOfKept(kept)] += chance;
        }
        std::size_t i = 0;
        while (i < at.size() && ++at[i] == faces[i].end())
            at[i] = faces[i].begin(), ++i;
        if (i == at.size())
            return {chances.begin(), chances.end()};
    }
}

// The kept sums a plan gives, every possible one with its chance.
std::map<std::int64_t, double> PossibleSums(const odds::CKeptPlan& plan) {
    const odds::CKeptSums sums = odds::ComputeKeptSums(plan, nullptr);
    std::map<std::int64_t, double> possible;
    for (std::size_t i = 0; i < sums.possible.c.size(); ++i) {
        const std::int64_t at = sums.possible.first + static_cast<std::int64_t>(i);
        if (sums.possible.c[i])
            possible[at] = at >= sums.chance.first && at < sums.chance.End()
                               ? sums.chance.c[static_cast<std::size_t>(at - sums.chance.first)]
                               : 0.0;
    }
    return possible;
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
        // Identical dice with ignored ones; d7 and d12 faces are not equally likely.
        {std::vector<DieRecipe>(5, {7, "1", 0}), "1", 0, 2},
        {std::vector<DieRecipe>(4, {12, "-1", 2}), "1", 1, 3},
        {std::vector<DieRecipe>(7, {3, "2", 0}), "1/3", 0, 3},
        {std::vector<DieRecipe>(5, {6, "0", 4}), "1", 0, 1},
        // Ignoring the highest dice, alone and after the lowest.
        {std::vector<DieRecipe>(4, {6, "1", 0}), "1", 0, 0, 1},
        {std::vector<DieRecipe>(5, {7, "1", 0}), "1", 0, 1, 2},
        {{{4, "1", 0}, {6, "2", 0}, {8, "1", -1}, {6, "1", 0}}, "3/2", 2, 1, 1},
        {{{6, "-1", 0}, {10, "1", 3}, {5, "1", 0}}, "1", 0, 0, 2},
        {{{4, "1", 0}, {6, "1", 0}, {6, "1", 1}, {8, "1", 0}, {3, "-2", 0}}, "1", 0, 2, 1},
        {{{2, "1", 0}, {2, "1", 1}, {3, "1", 0}, {2, "2", 0}, {3, "1", -1}, {2, "-1", 3}},
         "1",
         0,
         2,
         1,
         2},
        // Rerolls and explosions (capped at 100 extra rolls: d2 chains show it).
        {{{6, "1", 0}, {6, "1", 0}, {7, "1", 0}}, "1", 0, 0, 0, 3},
        {{{4, "1", 0}, {4, "1", 0}}, "1", 0, 0, 0, 0, true},
        {{{2, "-1", 0}, {3, "2", 1}}, "1/2", 1, 0, 0, 0, true},
        {{{2, "1", 0}, {2, "3", 0}, {2, "1", 0}}, "1", 0, 1, 1, 2, true},
        {{{-3, "1", 0}, {1, "1", 0}, {5, "1", 0}}, "1", 0, 0, 0, 3, true},
        // Counts of kept values at least a mark.
        {std::vector<DieRecipe>(5, {10, "1", 0}), "1", 0, 1, 1, 0, false, 8},
        {{{6, "2", 0}, {8, "1", 1}, {12, "-1", 10}}, "2", 1, 0, 0, 0, false, 7},
        {{{4, "1", 0}, {4, "1", 0}}, "1", 0, 0, 0, 2, true, 5},
        {std::vector<DieRecipe>(2, {2, "1", 0}), "1", -1, 1, 0, 0, true, 3},
    };
    for (const GroupRecipe& recipe : cases) {
        const auto group = MakeGroup(recipe, std::vector<int>(recipe.dice.size(), 1));
        SCOPED_TRACE(group->GetDescription());
        ExpectSame(CDiceOdds::ForGroup(*group), BruteForce(recipe));
        // The way of ignoring dice the plan did not pick agrees with the one it
        // did (but for explosions, where clamping is slow).
        odds::CKeptPlan plan = odds::PlanKeptSums(*group);
        if (!recipe.HasRules() || recipe.explode || recipe.countAtLeast > 0 ||
            recipe.ignore + recipe.ignoreHigh == 0)
            continue;
        const std::map<std::int64_t, double> picked = PossibleSums(plan);
        auto other = std::make_shared<odds::CRulesPlan>(*plan.rules);
        other->sortedFill = !other->sortedFill;
        plan.rules = other;
        const std::map<std::int64_t, double> sums = PossibleSums(plan);
        ASSERT_EQ(sums.size(), picked.size());
        for (const auto& [sum, chance] : picked)
            EXPECT_NEAR(sums.at(sum), chance, 1e-14) << sum;
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

TEST(DiceOdds, SpreadTailsRangesAndTable) {
    CDiceGroup two;
    two.ParseNotation("2d4"); // fair: 32,768 draws split evenly
    const CDiceOdds odds = CDiceOdds::ForGroup(two);
    EXPECT_DOUBLE_EQ(odds.GetStdDev(), std::sqrt(2.5));
    const struct {
        int low, high;
        double atMost, between; // of high or less; from low to high
    } rows[] = {{2, 3, 3 / 16.0, 3 / 16.0},
                {4, 6, 13 / 16.0, 10 / 16.0},
                {1, 1, 0, 0},
                {8, 9, 1, 1 / 16.0},
                {6, 4, 6 / 16.0, 0}};
    for (const auto& r : rows) {
        EXPECT_DOUBLE_EQ(odds.ChanceAtMost(r.high), r.atMost) << r.high;
        EXPECT_DOUBLE_EQ(odds.ChanceBetween(r.low, r.high), r.between) << r.low;
    }
    EXPECT_EQ(odds.Table(',').substr(0, 62), "Total,Exactly %,At least %,At most %\n"
                                             "2,6.2500,100.0000,6.2500\n");
    // A lower tail far below rounding of 1 - P(at least): the highest of 100 d16 is 1.
    CDiceGroup highest;
    highest.ParseNotation("100d16");
    highest.SetIgnoreCount(99);
    EXPECT_NEAR(CDiceOdds::ForGroup(highest).ChanceAtMost(1) / std::pow(16.0, -100), 1.0, 1e-12);
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

TEST(DiceOdds, RefusesOnlyWhatIsTooBigAndBeforeAnyWork) {
    const auto make = [](const char* notation, int ignore) {
        auto group = std::make_unique<CDiceGroup>();
        group->ParseNotation(notation);
        group->SetIgnoreCount(ignore);
        return group;
    };
    auto spread = make("2d6", 0);
    spread->GetFirstDie()->SetMultiplier("1000000000");
    auto different = make("", 0); // 1,000 dice of 1,000 to 1,999 sides
    for (int sides = 1000; sides < 2000; ++sides)
        different->AddDieBack(std::make_unique<CDie>(sides, 1));
    different->SetIgnoreCount(1);
    const auto small = make("1d4", 0), huge = make("300d10000", 0),
               mixed = make("1000d20+1000d19", 900);
    const struct {
        const CDiceGroup* group;
        OddsRefusal expected;
        const char* summary;
    } cases[] = {
        {spread.get(), OddsRefusal::TooManyTotals, "x: too many totals"},
        {different.get(), OddsRefusal::TooMuchWork, "x: too much work"},
        {huge.get(), OddsRefusal::TooMuchWork, "x: too much work"},
        {mixed.get(), OddsRefusal::TooMuchMemory, "x: too much memory"},
    };
    for (const auto& c : cases) {
        // Planning alone tells: nothing is computed for these.
        EXPECT_EQ(odds::PlanKeptSums(*c.group).refusal, c.expected);
        EXPECT_EQ(CDiceOdds::ForGroup(*c.group).Summary("x"), c.summary);
        const CDiceGroup* both[] = {small.get(), c.group};
        EXPECT_EQ(CDiceOdds::ForGroups(both).GetRefusal(), c.expected);
    }

    // Accepted now, though not all of them are cheap (some only planned here).
    const struct {
        const char* notation;
        int ignore;
        bool compute;
        int min, max;
        std::size_t count;
    } accepted[] = {
        {"1d1500+1d1499", 1, false, 1, 1500, 1500},
        {"4d10000", 0, false, 4, 40000, 39997},
        {"1d10000", 0, true, 1, 10000, 10000},
        {"1d20000", 1, true, 7, 7, 1},
        {"", 0, true, 7, 7, 1},
        {"10000d2", 9999, true, 1, 2, 2},
        {"1000d6", 20, true, 980, 5880, 4901},
    };
    for (const auto& a : accepted) {
        auto group = make(a.notation, a.ignore);
        if (a.min == 7)
            group->SetModifier(7);
        SCOPED_TRACE(group->GetDescription());
        EXPECT_EQ(odds::PlanKeptSums(*group).refusal, OddsRefusal::None);
        if (!a.compute)
            continue;
        const CDiceOdds odds = CDiceOdds::ForGroup(*group);
        EXPECT_EQ(odds.GetMin(), a.min);
        EXPECT_EQ(odds.GetMax(), a.max);
        EXPECT_EQ(odds.GetOutcomes().size(), a.count);
        EXPECT_NEAR(odds.ChanceAtMost(a.max), 1.0, 1e-12);
    }
}

TEST(DiceOdds, ManyIdenticalDiceMatchClosedForms) {
    const auto make = [](const char* notation, int ignore) {
        CDiceGroup group;
        group.ParseNotation(notation);
        group.SetIgnoreCount(ignore);
        return CDiceOdds::ForGroup(group);
    };
    // The highest of 1,000 fair d16: P(max <= m) = (m / 16)^1000.
    const CDiceOdds highest = make("1000d16", 999);
    ASSERT_EQ(highest.GetOutcomes().size(), 16u);
    double atMost = 0;
    for (int m = 1; m <= 16; ++m) {
        atMost += highest.ChanceOf(m);
        if (m >= 8) {
            EXPECT_NEAR(atMost / std::pow(m / 16.0, 1000), 1.0, 1e-9) << m;
        }
    }
    EXPECT_EQ(highest.ChanceOf(1), 0.0); // underflows, still listed

    // The top 500 of 1,000 fair d2: 500 plus the twos, t of 1,000, at most 500.
    const CDiceOdds top = make("1000d2", 500);
    ASSERT_EQ(top.GetOutcomes().size(), 501u);
    const auto twos = [](int t) {
        return std::exp(std::lgamma(1001.0) - std::lgamma(t + 1.0) - std::lgamma(1001.0 - t) -
                        1000 * std::log(2.0));
    };
    double halfOrMore = 0;
    for (int t = 500; t <= 1000; ++t)
        halfOrMore += twos(t);
    for (const int t : {300, 450, 499})
        EXPECT_NEAR(top.ChanceOf(500 + t) / twos(t), 1.0, 1e-9) << t;
    EXPECT_NEAR(top.ChanceOf(1000) / halfOrMore, 1.0, 1e-9);
    EXPECT_EQ(top.GetMin(), 500);
}

TEST(DiceOdds, CancelStopsTheWork) {
    OddsCancelFlag cancel{true};
    const struct {
        const char* notation;
        int ignore, ignoreHigh = 0, rerollBelow = 0;
        bool explode = false;
    } cases[] = {{"1000d6", 0},           {"1000d6", 20},          {"500d6+500d5", 1},
                 {"20d6", 0, 0, 0, true}, {"30d6", 2, 2, 0, true}, {"1000d6", 1, 0, 2}};
    CDiceGroup small;
    small.ParseNotation("1d4");
    for (const auto& c : cases) {
        CDiceGroup group;
        group.ParseNotation(c.notation);
        group.SetRules({c.ignore, c.ignoreHigh, c.rerollBelow, c.explode});
        EXPECT_EQ(CDiceOdds::ForGroup(group, &cancel).GetRefusal(), OddsRefusal::Cancelled);
        EXPECT_EQ(CDiceOdds::ForGroup(group, &cancel).Summary("x"), "x: stopped");
    }
    // Summing: 60 parts of 1,000 totals each.
    CDiceGroup wide;
    wide.ParseNotation("1d1000");
    const std::vector<CDiceOdds> parts(60, CDiceOdds::ForGroup(wide));
    EXPECT_EQ(CDiceOdds::Sum(parts, &cancel).GetRefusal(), OddsRefusal::Cancelled);
    cancel = false;
    EXPECT_EQ(CDiceOdds::Sum(std::span(parts).first(3), &cancel).GetMax(), 3000);
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
    const std::string high = key("2d6+1", [](CDiceGroup& g) { g.SetIgnoreHighestCount(1); });
    EXPECT_NE(high, plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.SetRerollBelow(2); }), plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.SetExplode(true); }), plain);
    EXPECT_NE(key("2d6+1", [](CDiceGroup& g) { g.SetCountAtLeast(5); }), plain);
    EXPECT_NE(key("2d6+1",
                  [](CDiceGroup& g) {
                      g.SetIgnoreHighestCount(1);
                      g.SetCountAtLeast(5);
                  }),
              high);
}

} // namespace
} // namespace rp
