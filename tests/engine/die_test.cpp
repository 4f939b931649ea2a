#include "die.h"
#include "random_source.h"

#include <climits>
#include <gtest/gtest.h>

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

} // namespace
} // namespace rp
