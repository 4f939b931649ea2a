#include "dice_group.h"
#include "golden_files.h"
#include "random_source.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

// Groups as notation makes them, under every rule, multiplier and modifier.
struct SGoldenGroup {
    const char* notation;
    SGroupRules rules;
    const char* multiplier = "1";
    int modifier = 0;
};

const SGoldenGroup kGroups[] = {
    {"4d6", {.ignoreLowest = 1}},
    {"4d6", {.ignoreHighest = 1}},
    {"6d6", {.ignoreLowest = 2, .ignoreHighest = 2}},
    {"20d6", {.ignoreLowest = 7}},
    {"20d6", {.ignoreLowest = 3, .ignoreHighest = 9}},
    {"5d10", {.rerollBelow = 3}},
    {"6d6", {.explode = true}},
    {"8d10", {.countAtLeast = 7}},
    {"10d6", {.ignoreLowest = 3, .countAtLeast = 5}},
    {"12d4", {.ignoreLowest = 5, .ignoreHighest = 1, .explode = true}},
    {"7d12", {.ignoreHighest = 2, .rerollBelow = 4, .explode = true, .countAtLeast = 8}},
    {"3d6+2", {}},
    {"2d6+1d8+3", {}},
    {"1d20+5", {}},
    {"1d6", {.ignoreLowest = 1}},
    {"4d8", {}, "3/2", -4},
    {"3d100", {.ignoreLowest = 1}, "2"},
    {"2d6 - 1d4 + (3d8)", {.ignoreLowest = 2}, "-1/3", 7},
};

// One line per state of a group: the faces (an exploded die's rolls joined
// by "+"), the places of the ignored dice in the order they are given, the total.
std::string Line(const CDiceGroup& group) {
    std::string line = "faces";
    for (const auto& die : group.Dice()) {
        line += ' ';
        if (die->GetRolls().empty())
            line += std::to_string(die->GetRawResult());
        for (std::size_t r = 0; r < die->GetRolls().size(); ++r)
            line += (r ? "+" : "") + std::to_string(die->GetRolls()[r]);
    }
    std::vector<const CDie*> ignored;
    group.GetIgnoredDice(ignored);
    line += " | ignored";
    for (const CDie* die : ignored)
        for (std::size_t i = 0; i < group.Dice().size(); ++i)
            if (group.Dice()[i].get() == die)
                line += ' ' + std::to_string(i);
    return line + " | total " + std::to_string(group.GetTotal()) + '\n';
}

// Seeded parses and rolls give the same faces, ignored dice and totals as
// when the table was written.
TEST(GoldenRolls, FacesIgnoredDiceAndTotalsStayAsWritten) {
    std::string table;
    for (std::size_t g = 0; g < std::size(kGroups); ++g) {
        const SGoldenGroup& c = kGroups[g];
        random_source::Seed(static_cast<std::uint32_t>(100 + g));
        CDiceGroup group;
        group.ParseNotation(c.notation);
        group.SetRules(c.rules);
        group.SetMultiplier(c.multiplier);
        if (c.modifier != 0)
            group.SetModifier(c.modifier);
        table += "# " + std::string(c.notation) + ", " + group.GetDescription() + '\n';
        table += "parsed: " + Line(group);
        for (int roll = 1; roll <= 4; ++roll) {
            group.Roll();
            table += "roll " + std::to_string(roll) + ": " + Line(group);
        }
    }
    const auto path = std::filesystem::path(__FILE__).parent_path() / "golden" / "rolls.txt";
    if (test::UpdatingGoldenFiles())
        test::WriteTextFile(path, table);
    EXPECT_EQ(table, test::ReadTextFile(path));
}

} // namespace
} // namespace rp
