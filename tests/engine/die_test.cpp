#include "die.h"
#include "random_source.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <sanitizer/asan_interface.h>
#include <thread>

namespace rp {
namespace {

TEST(RandomSource, IsTheClassicLinearCongruentialGenerator) {
    random_source::Seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (const int r : expected)
        EXPECT_EQ(random_source::Draw(), r);

    random_source::Seed(12345);
    const int first = random_source::Draw();
    random_source::Seed(12345);
    EXPECT_EQ(random_source::Draw(), first);
}

// Dropped dice that a thread keeps are whole again when made anew, go back
// to the heap when their thread ends (else the leak checker fails this
// test), and read as freed memory while kept.
TEST(Die, KeptDiceOutliveNoThread) {
    std::vector<std::unique_ptr<CDie>> dice;
    std::thread maker([&dice] {
        for (int i = 0; i < 100; ++i)
            dice.push_back(std::make_unique<CDie>(6, 1 + i % 6));
        dice.resize(20); // more dropped than a thread keeps
    });
    maker.join();
    const void* dropped = dice.back().get();
    dice.pop_back();
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_TRUE(__asan_address_is_poisoned(dropped));
#endif
    const auto again = std::make_unique<CDie>(4, 3);
    EXPECT_EQ(static_cast<const void*>(again.get()), dropped);
    EXPECT_EQ(again->GetSideCount(), 4);
    EXPECT_EQ(again->GetRawResult(), 3);
    EXPECT_TRUE(again->GetRolls().empty());
}

TEST(Die, FaceIsScaledFromTheDraw) {
    const struct {
        int sides, draw, face;
    } cases[] = {{6, 0, 1},     {6, 5461, 1},    {6, 5462, 2}, {6, 10922, 2}, {6, 10923, 3},
                 {6, 32767, 6}, {20, 32767, 20}, {0, 0, 1},    {0, 32767, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CDie::FaceFor(c.sides, c.draw), c.face) << c.sides << " " << c.draw;
    // Large side counts stay within 1..sideCount.
    for (const int sides : {65538, 65539, 1 << 20, INT_MAX}) {
        EXPECT_EQ(CDie::FaceFor(sides, 0), 1) << sides;
        EXPECT_GE(CDie::FaceFor(sides, 32767), sides - sides / 32768) << sides;
        EXPECT_LE(CDie::FaceFor(sides, 32767), sides) << sides;
    }
}

TEST(Die, ConstructionRollsOnlyAFaceOutOfRange) {
    random_source::Seed(1); // draws 41, 18467, 6334
    const CDie zero(6, 0);
    EXPECT_EQ(zero.GetRawResult(), 1);
    const CDie seven(6, 7);
    EXPECT_EQ(seven.GetRawResult(), 4);
    const CDie six(6, 6);
    EXPECT_EQ(six.GetRawResult(), 6);
    EXPECT_EQ(random_source::Draw(), 6334) << "CDie(6, 6) must not draw";

    CDie copy(seven);
    EXPECT_EQ(copy.GetRawResult(), 4);
    EXPECT_EQ(copy.GetSideCount(), 6);
}

TEST(Die, ValueAppliesMultiplierThenModifier) {
    CDie die(6, 5);
    EXPECT_EQ(die.GetValue(), 5);
    die.SetMultiplier("1/2");
    die.SetModifier(2);
    EXPECT_EQ(die.GetValue(), 5); // 5 halves up to 3, plus 2
    EXPECT_EQ(die.GetMultiplierText(), "1/2");
    die.SetMultiplier("");
    EXPECT_EQ(die.GetValue(), 2);
    die.SetMultiplier("2147483647");
    die.SetModifier(INT_MAX);
    EXPECT_EQ(die.GetValue(), INT_MAX);
}

TEST(Die, SavesAndLoadsItsAttributes) {
    pugi::xml_document doc;
    CDie die(6, 3);
    die.SetModifier(-1);
    die.SetMultiplier("1/2");

    pugi::xml_node other = doc.append_child("dice");
    EXPECT_FALSE(die.Save(other, true));
    EXPECT_FALSE(other.first_attribute());

    pugi::xml_node element = doc.append_child("die");
    ASSERT_TRUE(die.Save(element, true));
    std::string names;
    for (pugi::xml_attribute a : element.attributes())
        names += std::string(a.name()) + "=" + a.value() + " ";
    EXPECT_EQ(names, "modifier=-1 multiplier=1/2 sideCount=6 rawResult=3 ");

    pugi::xml_node noRaw = doc.append_child("die");
    die.Save(noRaw, false);
    EXPECT_FALSE(noRaw.attribute("rawResult"));

    CDie loaded(4, 1);
    ASSERT_TRUE(loaded.Load(element));
    EXPECT_EQ(loaded.GetSideCount(), 6);
    EXPECT_EQ(loaded.GetRawResult(), 3);
    EXPECT_EQ(loaded.GetModifier(), -1);
    EXPECT_EQ(loaded.GetMultiplierText(), "1/2");
    EXPECT_FALSE(loaded.Load(other));
    EXPECT_EQ(loaded.GetSideCount(), 6);
}

TEST(Die, LoadRollsAMissingOrOutOfRangeFace) {
    pugi::xml_document doc;
    doc.load_string(R"(<r><die sideCount="6" rawResult="4"/><die sideCount="6"/>)"
                    R"(<die sideCount="6" rawResult="9" modifier="2"/></r>)");
    pugi::xml_node first = doc.first_child().first_child();

    CDie die(6, 1);
    ASSERT_TRUE(die.Load(first));
    EXPECT_EQ(die.GetRawResult(), 4);
    // An absent multiplier reads as 0/1: the value is just the modifier.
    EXPECT_EQ(die.GetMultiplierText(), "0");
    EXPECT_EQ(die.GetValue(), 0);

    random_source::Seed(1); // 41 -> face 1, 18467 -> face 4
    ASSERT_TRUE(die.Load(first.next_sibling()));
    EXPECT_EQ(die.GetRawResult(), 1);
    ASSERT_TRUE(die.Load(first.next_sibling().next_sibling()));
    EXPECT_EQ(die.GetRawResult(), 4);
    EXPECT_EQ(die.GetValue(), 2);
}

TEST(Die, RulesRerollLowFacesAndAddExplosions) {
    // Draws for a d6: 0 -> 1, 5462 -> 2, 10923 -> 3, 32767 -> 6; the last
    // draw repeats once the list runs out.
    constexpr int k1 = 0, k2 = 5462, k3 = 10923, k6 = 32767;
    const struct {
        int sides, rerollBelow;
        bool explode;
        std::vector<int> draws;
        int face;
        std::vector<int> rolls;
        std::size_t drawsUsed;
    } cases[] = {
        {6, 3, false, {k1, k3}, 3, {}, 2},
        {6, 3, false, {k3}, 3, {}, 1},
        {6, 3, false, {k1, k1}, 1, {}, 2}, // the second face stands
        {6, 1, false, {k1}, 1, {}, 1},
        {6, 0, true, {k6, k6, k2}, 14, {6, 6, 2}, 3},
        {6, 0, true, {k2}, 2, {}, 1},
        {6, 2, true, {k1, k6, k1}, 7, {6, 1}, 3}, // a reroll is no chain
        {1, 0, true, {k1}, 1, {}, 1},
        {6, 0, true, {k6}, 6 * 101, std::vector<int>(101, 6), 101}, // 100 extra rolls at most
    };
    for (const auto& c : cases) {
        std::size_t used = 0;
        const auto draw = [&] { return c.draws[std::min(used++, c.draws.size() - 1)]; };
        CDie die(c.sides, 1);
        die.SetModifier(1);
        EXPECT_EQ(die.Roll(SRollRules{c.rerollBelow, c.explode, 100}, draw), c.face + 1);
        EXPECT_EQ(die.GetRawResult(), c.face) << c.draws.front();
        EXPECT_EQ(die.GetRolls(), c.rolls) << c.face;
        EXPECT_EQ(used, c.drawsUsed) << c.face;
    }
}

TEST(Die, RollsOfAChainAreWrittenAndReadWhenTheyMakeTheFace) {
    // n sixes: a chain as long as a roll makes (101), and one longer.
    const auto sixes = [](int n) {
        std::string rolls;
        for (int i = 0; i < n; ++i)
            rolls += i == 0 ? "6" : " 6";
        return "rawResult=\"" + std::to_string(6 * n) + "\" rolls=\"" + rolls + '"';
    };
    const struct {
        std::string attributes;
        int face; // 1 here: rolled again, as the seed's first draw gives 1
        std::vector<int> rolls;
    } cases[] = {
        {R"(rawResult="14" rolls="6 6 2")", 14, {6, 6, 2}},
        {R"(rawResult="4" rolls="2  2")", 4, {2, 2}},
        {R"(rawResult="14" rolls="6 6 3")", 1, {}},
        {R"(rawResult="14" rolls="6 8")", 1, {}},
        {R"(rawResult="12" rolls="6 6 x")", 1, {}},
        {R"(rawResult="6" rolls="6")", 6, {}},
        {R"(rawResult="3" rolls="1 2")", 3, {1, 2}},
        {sixes(101), 606, std::vector<int>(101, 6)},
        {sixes(102), 1, {}},
    };
    for (const auto& c : cases) {
        pugi::xml_document doc;
        const std::string text = std::string(R"(<die sideCount="6" )") + c.attributes + "/>";
        ASSERT_TRUE(doc.load_string(text.c_str()));
        random_source::Seed(1); // 41 -> face 1
        CDie die(2, 1);
        ASSERT_TRUE(die.Load(doc.first_child()));
        EXPECT_EQ(die.GetRawResult(), c.face) << text;
        EXPECT_EQ(die.GetRolls(), c.rolls) << text;

        // Written right after the face, and never without it (a copy).
        pugi::xml_document out;
        die.Save(out.append_child("die"), true);
        EXPECT_STREQ(out.first_child().attribute("rawResult").next_attribute().name(),
                     c.rolls.empty() ? "" : "rolls");
        die.Save(out.append_child("die"), false);
        EXPECT_FALSE(out.last_child().attribute("rolls")) << text;
        die.Roll(); // a new roll ends the chain
        EXPECT_TRUE(die.GetRolls().empty());
    }
}

} // namespace
} // namespace rp
