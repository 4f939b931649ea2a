#include "mini_list.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace rp {
namespace {

std::vector<std::string> Labels(const MiniGroups& groups) {
    std::vector<std::string> labels;
    for (const auto& group : groups)
        labels.push_back(group ? GetGroupLabel(*group) : "<empty>");
    return labels;
}

TEST(MiniList, LabelAppendsTheDescriptionUnlessTheTitleReadsAsNotation) {
    const struct {
        const char* title;
        std::string label;
    } cases[] = {
        {"Fire d6", "Fire d6 (1d20+5)"}, {"d6", "d6 (1d20+5)"},   {"2d6", "2d6"},
        {"3d6 fire", "3d6 fire"},        {"2d0", "2d0 (1d20+5)"}, {"Attack", "Attack (1d20+5)"},
        {"2d", "2d (1d20+5)"},           {"", "1d20+5"},
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        group.ParseNotation("1d20");
        group.SetModifier(5);
        group.SetTitle(c.title);
        EXPECT_EQ(GetGroupLabel(group), c.label) << c.title;
    }
    CDiceGroup untitled;
    untitled.ParseNotation("4d6");
    untitled.SetIgnoreCount(1);
    EXPECT_EQ(GetGroupLabel(untitled), "4d6, ignore lowest 1");
}

TEST(MiniList, LabelOrderIgnoresCaseThenUsesBytes) {
    std::vector<std::string> labels = {"c", "B", "a", "abc", "ABC", "Abc", "ab", "_x", "1"};
    std::sort(labels.begin(), labels.end(), MiniLabelLess);
    EXPECT_EQ(labels,
              (std::vector<std::string>{"1", "_x", "a", "ab", "ABC", "Abc", "abc", "B", "c"}));
    EXPECT_FALSE(MiniLabelLess("same", "same"));
}

TEST(MiniList, ReadsOneSlotPerChildOfTheRoot) {
    const MiniGroups groups = ReadMiniGroupsFromText(R"(<dicegroups bkColor="255">
	<dicegroup ignoreCount="0" modifier="0" multiplier="1" title="b">
		<die modifier="0" multiplier="1" sideCount="6" rawResult="2"><position x="1" y="2"/></die>
	</dicegroup>
	<text value="Round 1"><position x="20" y="200"/></text>
	<dicegroup title="split">2d6/1d4</dicegroup>
	<dicegroup title="no multiplier" modifier="2">3d6</dicegroup>
	<dicegroup title="a"><die sideCount=""/></dicegroup>
</dicegroups>)");
    EXPECT_EQ(Labels(groups), (std::vector<std::string>{"b (1d6)", "<empty>", "split (0x1d4+2d6)",
                                                        "no multiplier (0x3d6+2)", "<empty>"}));
}

TEST(MiniList, ReadsASingleGroupOrDieRootAsOneGroup) {
    EXPECT_EQ(Labels(ReadMiniGroupsFromText(
                  R"(<dicegroup title="Solo" modifier="1" multiplier="1">3d6</dicegroup>)")),
              std::vector<std::string>{"Solo (3d6+1)"});
    EXPECT_EQ(Labels(ReadMiniGroupsFromText(R"(<die sideCount="20" multiplier="1"/>)")),
              std::vector<std::string>{"1d20"});
    // Not XML, and plain notation: the quick-roll list has no plain-text reading.
    EXPECT_EQ(Labels(ReadMiniGroupsFromText("Attack: 1d20+5")),
              std::vector<std::string>{"<empty>"});
    EXPECT_EQ(Labels(ReadMiniGroupsFromText("<dicegroup>1d6</dicegroup><x/>")),
              std::vector<std::string>{"<empty>"});
}

} // namespace
} // namespace rp
