// Input a player could paste or a damaged file could hold must never crash,
// hang or exhaust memory.
#include "dice_group.h"
#include "mini_list.h"
#include "random_source.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <climits>
#include <gtest/gtest.h>
#include <random>

namespace rp {
namespace {

TEST(HostileInput, EmptyText) {
    CDiceGroup group;
    EXPECT_FALSE(group.ParseNotation(""));
    EXPECT_EQ(LayOutXmlText(""), "");
    const MiniGroups groups = ReadMiniGroupsFromText("");
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_FALSE(groups[0]);
}

TEST(HostileInput, TenMegabytesOfRandomBytes) {
    std::mt19937 generator(7);
    std::string bytes(10u << 20, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    const MiniGroups groups = ReadMiniGroupsFromText(bytes);
    EXPECT_LE(groups.size(), 1u);
    CDiceGroup group;
    group.ParseNotation(bytes);
    EXPECT_LE(group.GetCount(), CDiceGroup::kMaxParsedDice);
    EXPECT_EQ(LayOutXmlText(bytes).size() >= bytes.size(), true);
}

TEST(HostileInput, DeeplyNestedXml) {
    constexpr int kDepth = 100000;
    std::string text;
    text += "<dicegroup multiplier=\"1\">";
    for (int i = 1; i < kDepth; ++i)
        text += "<dicegroup>";
    text += "2d6";
    for (int i = 0; i < kDepth; ++i)
        text += "</dicegroup>";
    const MiniGroups groups = ReadMiniGroupsFromText(text);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_TRUE(groups[0]);
    // The innermost text is reached through every level.
    EXPECT_EQ(groups[0]->GetDescription(), "2d6");

    std::string open;
    for (int i = 0; i < kDepth; ++i)
        open += "<a>";
    EXPECT_EQ(LayOutXmlText(open).size(), open.size() + kDepth - 1);
}

TEST(HostileInput, ExtremeSideCounts) {
    random_source::Seed(99);
    const MiniGroups groups = ReadMiniGroupsFromText(
        R"(<dicegroups><die sideCount="-5" multiplier="1"/><die sideCount="2147483647" multiplier="1"/>)"
        R"(<die sideCount="99999999999" multiplier="1" rawResult="2147483647"/></dicegroups>)");
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_TRUE(groups[0] && groups[1] && groups[2]);
    for (int i = 0; i < 1000; ++i) {
        groups[0]->Roll();
        groups[1]->Roll();
        const int face = groups[1]->GetFirstDie()->GetRawResult();
        ASSERT_GE(face, 1);
        ASSERT_LE(face, INT_MAX);
    }
    EXPECT_EQ(groups[2]->GetFirstDie()->GetSideCount(), INT_MAX);
    EXPECT_EQ(groups[2]->GetFirstDie()->GetRawResult(), INT_MAX);
    EXPECT_EQ(groups[1]->GetDescription(), "1d2147483647");
}

TEST(HostileInput, HugeNumbersInGroups) {
    const MiniGroups groups = ReadMiniGroupsFromText(
        R"(<dicegroup modifier="2147483647" multiplier="-2147483648/-1" ignoreCount="-2147483648">)"
        R"(<die sideCount="6" rawResult="6" modifier="2147483647" multiplier="2147483647"/>)"
        R"(<die sideCount="6" rawResult="6" modifier="2147483647" multiplier="2147483647"/></dicegroup>)");
    ASSERT_TRUE(groups[0]);
    EXPECT_EQ(groups[0]->GetTotal(), INT_MAX);
    EXPECT_EQ(groups[0]->GetFirstDie()->GetValue(), INT_MAX);
    EXPECT_FALSE(groups[0]->GetDescription().empty());

    CDiceGroup negative;
    negative.ParseNotation("2d6");
    negative.SetModifier(INT_MIN);
    negative.SetMultiplier("-2147483648");
    EXPECT_EQ(negative.GetTotal(), INT_MIN);
}

TEST(HostileInput, EnormousDiceCounts) {
    CDiceGroup group;
    EXPECT_FALSE(group.ParseNotation("1000000000d6"));
    EXPECT_EQ(group.GetCount(), 0);
    EXPECT_FALSE(group.ParseNotation("99999999999999999999d6"));
    EXPECT_TRUE(group.ParseNotation("1000d6"));
    EXPECT_EQ(group.GetCount(), 1000);

    // A term past the limit ends the walk but keeps what came before.
    CDiceGroup partial;
    EXPECT_TRUE(partial.ParseNotation("2d6+1001d4+1d8"));
    EXPECT_EQ(partial.GetDescription(), "2d6");
}

TEST(HostileInput, MillionCharacterNotation) {
    std::string text;
    while (text.size() < 1000000)
        text += "1000d6+";
    CDiceGroup group;
    EXPECT_TRUE(group.ParseNotation(text));
    EXPECT_EQ(group.GetCount(), CDiceGroup::kMaxParsedDice);
    EXPECT_EQ(group.GetDescription(), "10000d6");

    std::string digits(1000000, '9');
    CDiceGroup other;
    EXPECT_FALSE(other.ParseNotation(digits + "d" + digits));
    EXPECT_EQ(other.GetCount(), 0);
}

} // namespace
} // namespace rp
