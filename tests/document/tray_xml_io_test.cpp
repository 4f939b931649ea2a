#include "die_shapes.h"
#include "doc_state.h"
#include "gui_test_main.h"
#include "random_source.h"
#include "text_painter.h"
#include "without_pictures.h"

#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>

namespace rp {
namespace {

class TrayXmlTest : public test::WithoutDiePictures {
protected:
    CDiceGroupPainter* GroupAt(std::size_t i) {
        return dynamic_cast<CDiceGroupPainter*>(state.Entities().at(i).get());
    }
    std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (const auto& entity : state.Entities())
            if (auto* group = dynamic_cast<CDiceGroupPainter*>(entity.get()))
                titles.push_back(group->GetTitle());
        return titles;
    }
    CDocState state;
};

TEST_F(TrayXmlTest, PlainLinesOfNotation) {
    state.ReadTrayXml("Attack: 1d20+5\n\n3d6\r\n", false, true);
    ASSERT_EQ(state.Entities().size(), 2u);
    CDiceGroupPainter* attack = GroupAt(0);
    EXPECT_EQ(attack->GetTitle(), "Attack");
    EXPECT_EQ(attack->GetCount(), 1);
    EXPECT_EQ(attack->GetFirstDie()->GetModifier(), 5);
    CDiceGroupPainter* plain = GroupAt(1);
    EXPECT_EQ(plain->GetTitle(), "");
    EXPECT_EQ(plain->GetDescription(), "3d6");
    EXPECT_EQ(plain->PainterAt(0).GetPosition().y() - attack->PainterAt(0).GetPosition().y(), 110);
    EXPECT_FALSE(attack->IsSelected());

    CDocState stats;
    stats.ReadTrayXml("Stats: 4d6/4d6/4d6\nMore: 4d6/x/4d6\nnothing here", false, false);
    std::vector<std::string> titles;
    for (const auto& entity : stats.Entities())
        titles.push_back(dynamic_cast<CDiceGroupPainter&>(*entity).GetTitle());
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Stats 1", "Stats 2", "Stats 3", "More 1", "More 2"}));
}

TEST_F(TrayXmlTest, GroupFormsTheReaderAccepts) {
    state.ReadTrayXml(R"(<dicegroups>
	<dicegroup title="Attack" modifier="9"><die sideCount="20" multiplier="1" modifier="1;2;3"/></dicegroup>
	<dicegroup modifier="4" title="Text">2d6+1</dicegroup>
	<dicegroup title="Split">1d4/2d8</dicegroup>
	<dicegroup title="Lost"><die sideCount="x"/></dicegroup>
	<other/>
</dicegroups>)",
                      false, true);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Attack 1", "Attack 2", "Attack 3", "Text",
                                                  "Split 1", "Split 2"}));
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(GroupAt(static_cast<std::size_t>(k))->GetFirstDie()->GetModifier(), k + 1);
        EXPECT_EQ(GroupAt(static_cast<std::size_t>(k))->GetModifier(), 9);
    }
    EXPECT_EQ(GroupAt(3)->GetModifier(), 1); // the element's own attributes are not used
    EXPECT_EQ(GroupAt(3)->GetDescription(), "2d6+1");

    CDocState single;
    single.ReadTrayXml(R"(<text value="Alone"><position x="3" y="4"/></text>)", false, true);
    ASSERT_EQ(single.Entities().size(), 1u);
    EXPECT_EQ(dynamic_cast<CTextPainter&>(*single.Entities()[0]).GetText(), "Alone");
}

TEST_F(TrayXmlTest, DiceWithoutPositionsAreSpread) {
    state.ReadTrayXml(
        R"(<dicegroups><dicegroup multiplier="1"><die sideCount="6" multiplier="1"/><die sideCount="6" multiplier="1"/></dicegroup>
                         <dicegroup multiplier="1"><die sideCount="6"><position x="200" y="200"/></die>
                         <die sideCount="6"><position x="200" y="200"/></die></dicegroup></dicegroups>)",
        false, true);
    EXPECT_EQ(GroupAt(0)->PainterAt(1).GetPosition(), QPoint(64, 0));
    EXPECT_EQ(GroupAt(1)->PainterAt(1).GetPosition(), QPoint(200, 200));
}

TEST_F(TrayXmlTest, BackgroundIsWrittenWhenNotWhiteAndReadWhenAsked) {
    state.AddBack(std::make_unique<CTextPainter>("note", 1, 2));
    EXPECT_FALSE(state.WriteTrayXml(true, false, true).contains("bkColor"));
    state.SetBackgroundColor(32768);
    const QByteArray text = state.WriteTrayXml(true, false, true);
    EXPECT_TRUE(text.startsWith("<dicegroups bkColor=\"32768\">\n"));
    EXPECT_FALSE(state.WriteTrayXml(true, false, false).contains("bkColor"));

    CDocState opened;
    opened.ReadTrayXml(text.toStdString(), false, true);
    EXPECT_EQ(opened.GetBackgroundValue(), 32768u);
    CDocState pasted;
    pasted.ReadTrayXml(text.toStdString(), true, false);
    EXPECT_EQ(pasted.GetBackgroundValue(), kWhite);
    EXPECT_TRUE(pasted.Entities()[0]->IsSelected());
}

TEST_F(TrayXmlTest, WriteThenReadKeepsEverything) {
    random_source::Seed(5);
    auto group = std::make_unique<CDiceGroupPainter>();
    group->SetTitle("Mixed & <odd> \"title\"");
    group->AddNewDie(8, "Red", 50, 60)->SetModifier(-1);
    group->AddNewDie(7, "", 120, 60)->SetMultiplier("1/2");
    group->SetIgnoreCount(1);
    group->SetModifier(3);
    state.AddBack(std::move(group));
    state.AddBack(std::make_unique<CTextPainter>("Round 1", 20, 200));
    const QByteArray text = state.WriteTrayXml(true, false, true);

    CDocState back;
    back.ReadTrayXml(text.toStdString(), false, true);
    EXPECT_EQ(back.WriteTrayXml(true, false, true), text);
    // Without results (the clipboard), dice read back are rolled afresh.
    const QByteArray clip = state.WriteTrayXml(false, false, false);
    EXPECT_FALSE(clip.contains("rawResult"));
}

TEST_F(TrayXmlTest, TitlesAreNumberedOnceAndPlainTextIsDecodedLikeFiles) {
    state.ReadTrayXml("<dicegroups><dicegroup title=\"50%1\"><die sideCount=\"6\" "
                      "modifier=\"1;2\"/></dicegroup></dicegroups>",
                      false, true);
    state.ReadTrayXml("W\xFCrfel %2: 1d4/1d6\n", false, true);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"50%1 1", "50%1 2", "W\xC3\xBCrfel %2 1",
                                                  "W\xC3\xBCrfel %2 2"}));

    // One long line of pieces (how fast: the hostile-file benchmarks).
    std::string line = "Long:";
    while (line.size() < (2u << 20))
        line += "x/";
    line += "1d6";
    CDocState longLine;
    longLine.ReadTrayXml(line, false, true);
    ASSERT_EQ(longLine.Entities().size(), 1u);
    EXPECT_EQ(dynamic_cast<CDiceGroupPainter&>(*longLine.Entities()[0]).GetTitle(), "Long 1");
}

TEST_F(TrayXmlTest, AReadMakesAtMostOneHundredThousandDiceAndSaysSo) {
    std::string line = "A: ";
    for (int i = 0; i < 101; ++i)
        line += "1000d6/";
    EXPECT_FALSE(state.ReadTrayXml(line, false, true));
    int dice = 0;
    for (const auto& entity : state.Entities())
        dice += dynamic_cast<CDiceGroupPainter&>(*entity).GetCount();
    EXPECT_EQ(dice, CDiceBudget::kMaxReadDice);
    EXPECT_TRUE(CDocState().ReadTrayXml("B: 2d6/1d4", false, true));
}

TEST_F(TrayXmlTest, PositionsAreClampedAndTextComesBackAsItWent) {
    state.ReadTrayXml(R"(<dicegroups>
	<dicegroup><die sideCount="6"><position x="2147483647" y="-2147483648"/><color>A
B</color></die></dicegroup>
	<text value="far"><position x="-2147483648" y="2147483647"/></text>
</dicegroups>)",
                      false, true);
    ASSERT_EQ(state.Entities().size(), 2u);
    EXPECT_EQ(GroupAt(0)->PainterAt(0).GetPosition(), QPoint(1 << 28, -(1 << 28)));
    EXPECT_EQ(GroupAt(0)->PainterAt(0).GetColor(), "A\nB");
    EXPECT_EQ(state.Entities()[1]->GetBodyRect().TopLeft(), QPoint(-(1 << 28), 1 << 28));
    // Rectangle arithmetic stays defined at the very ends of the range.
    const CRect extreme{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_EQ(extreme.Width(), INT_MAX);
    EXPECT_EQ(extreme.Offset(5, -5).right, INT_MAX);
    EXPECT_EQ(extreme.Inflate(1).left, INT_MIN);
    EXPECT_EQ(extreme.Center(), QPoint(0, 0));

    auto text = std::make_unique<CTextPainter>(QString("tab\tline\nbell\a."), 1, 2);
    state.AddBack(std::move(text));
    const QByteArray written = state.WriteTrayXml(true, false, true);
    CDocState back;
    back.ReadTrayXml(written.toStdString(), false, true);
    EXPECT_EQ(back.WriteTrayXml(true, false, true), written);
    EXPECT_EQ(dynamic_cast<CDiceGroupPainter&>(*back.Entities()[0]).PainterAt(0).GetColor(),
              "A\nB");
    EXPECT_EQ(dynamic_cast<CTextPainter&>(*back.Entities()[2]).GetText(), "tab\tline\nbell.");
}

} // namespace
} // namespace rp
