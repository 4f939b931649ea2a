#include "dice_app.h"
#include "gui_test_main.h"
#include "mini_clattermat.h"
#include "roll_log.h"
#include "window_placement.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rp {
namespace {

class TestMini : public CMiniClattermat {
public:
    explicit TestMini(const QString& section = QStringLiteral("TestMiniPos"))
        : CMiniClattermat(section) {
        auto* bar = new QToolBar(this);
        bar->addAction(QStringLiteral("Roll"));
        InitialiseDialog(bar);
    }
    void EnableRollCommand(bool enable) override { rollEnabled = enable; }
    QStringList Labels() const {
        QStringList labels;
        for (int i = 0; i < GroupList()->count(); ++i)
            labels.append(GroupList()->item(i)->text());
        return labels;
    }
    void Select(std::initializer_list<int> rows) {
        GroupList()->clearSelection();
        for (const int row : rows)
            GroupList()->item(row)->setSelected(true);
    }
    bool rollEnabled = true;
};

// Groups of one one-sided die, so each always totals 1 + its modifier.
const char* kThreeGroups = R"(<dicegroups>
  <dicegroup title="b" modifier="20" multiplier="1"><die sideCount="1" multiplier="1"/></dicegroup>
  <dicegroup title="a" modifier="10" multiplier="1"><die sideCount="1" multiplier="1"/></dicegroup>
  <text value="ignored"/>
  <dicegroup title="C" modifier="30" multiplier="1"><die sideCount="1" multiplier="1"/><die sideCount="1" multiplier="1"/></dicegroup>
</dicegroups>)";

TEST(MiniClattermat, ListsSortedLabelsAndRollsTheRightGroups) {
    TestMini mini;
    EXPECT_FALSE(mini.rollEnabled);
    mini.LoadMiniList(kThreeGroups);
    EXPECT_EQ(mini.Labels(), QStringList({"a (1d1+10)", "b (1d1+20)", "C (2d1+30)"}));

    test::TakePlayedSounds();
    mini.Select({0});
    EXPECT_TRUE(mini.rollEnabled);
    mini.RollSelected();
    EXPECT_EQ(mini.GetResultsText(), "11");
    EXPECT_EQ(test::TakePlayedSounds(), QStringList({"IDR_WAVE_ROLL_1"}));

    mini.Select({0, 2});
    mini.RollSelected();
    EXPECT_EQ(mini.GetResultsText(), "11 + 32 = 43");
    EXPECT_EQ(test::TakePlayedSounds(), QStringList({"IDR_WAVE_ROLL_MANY"}));

    mini.Select({});
    EXPECT_FALSE(mini.rollEnabled);
    mini.RollSelected();
    EXPECT_EQ(mini.GetResultsText(), "11 + 32 = 43");
    EXPECT_TRUE(test::TakePlayedSounds().isEmpty());

    // Reloading replaces everything and empties the results.
    mini.LoadMiniList("not xml");
    EXPECT_TRUE(mini.Labels().isEmpty());
    EXPECT_EQ(mini.GetResultsText(), "");
    EXPECT_FALSE(mini.rollEnabled);
}

TEST(MiniClattermat, RollsAreLoggedAndEntriesTellTheirOdds) {
    TestMini mini;
    mini.LoadMiniList(kThreeGroups);
    mini.SetTrayName("three.rlp");
    const CRollLog& log = CDiceApp::Instance()->RollLog();
    const int before = log.Count();
    mini.Select({0, 2});
    mini.RollSelected();
    ASSERT_EQ(log.Count(), before + 1);
    EXPECT_TRUE(log.EntryText(before).endsWith(
        "  three.rlp\n  a (1d1+10): 1 = 11\n  C (2d1+30): 1 1 = 32\n  Total: 43"));

    mini.show();
    QListWidget* list = mini.GroupList();
    const QPoint at = list->visualItemRect(list->item(2)).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list->viewport(), &help);
    // What is cheap at once; the odds in place once worked out.
    EXPECT_EQ(list->item(2)->toolTip(), "2d1+30: mean 32.00, 32 to 32; working out the odds");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return list->item(2)->toolTip() == "2d1+30: mean 32.00, 32 to 32"; }, 60000));
}

TEST(MiniClattermat, CountedSuccessesFollowTheSum) {
    TestMini mini;
    mini.LoadMiniList(R"(<dicegroups>
  <dicegroup title="b" modifier="20" multiplier="1"><die sideCount="1" multiplier="1"/></dicegroup>
  <dicegroup title="a" modifier="10" multiplier="1"><die sideCount="1" multiplier="1"/></dicegroup>
  <dicegroup title="hits" modifier="0" multiplier="1" countAtLeast="1">3d1</dicegroup>
  <dicegroup title="one" modifier="0" multiplier="1" countAtLeast="1">1d1</dicegroup>
</dicegroups>)");
    const std::pair<std::vector<int>, QString> rows[] = {
        {{0, 1, 2}, "11 + 21 = 32; 3 successes"},
        {{0, 3}, "11; 1 success"},
        {{2, 3}, "4 successes"},
    };
    for (const auto& [selected, expected] : rows) {
        mini.Select({});
        for (const int row : selected)
            mini.GroupList()->item(row)->setSelected(true);
        mini.RollSelected();
        EXPECT_EQ(mini.GetResultsText(), expected);
    }
}

TEST(MiniClattermat, GroupsWithoutDiceRollSilently) {
    TestMini mini;
    mini.LoadMiniList(R"(<dicegroup title="none" modifier="4" multiplier="1">-2d6</dicegroup>)");
    ASSERT_EQ(mini.Labels(), QStringList({"none (+4)"}));
    test::TakePlayedSounds();
    mini.Select({0});
    mini.RollSelected();
    EXPECT_EQ(mini.GetResultsText(), "4");
    EXPECT_TRUE(test::TakePlayedSounds().isEmpty());
}

TEST(MiniClattermat, EnterRollsWithoutClosingAndDoubleClickRolls) {
    TestMini mini;
    mini.LoadMiniList(kThreeGroups);
    mini.show();
    mini.Select({1, 2});
    QTest::keyClick(mini.GroupList(), Qt::Key_Return);
    EXPECT_EQ(mini.GetResultsText(), "21 + 32 = 53");
    EXPECT_TRUE(mini.isVisible());
    // The keypad's Enter, on the dialog itself, rolls too.
    mini.Select({2});
    QTest::keyClick(&mini, Qt::Key_Enter);
    EXPECT_EQ(mini.GetResultsText(), "32");
    EXPECT_TRUE(mini.isVisible());

    mini.Select({0});
    QListWidget* list = mini.GroupList();
    const QPoint centre = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(mini.GetResultsText(), "11");
}

TEST(MiniClattermat, ResizingKeepsTheGapsAndTheMinimumSize) {
    TestMini mini;
    mini.show();
    auto* list = mini.GroupList();
    const auto* resultsLabel = mini.findChild<QLabel*>("resultsLabel");
    const auto* results = mini.findChild<QLabel*>("resultsText");
    ASSERT_TRUE(resultsLabel && results);
    EXPECT_EQ(resultsLabel->text(), "Results");
    auto bottom = [](const QWidget* w) { return w->y() + w->height(); };
    auto right = [](const QWidget* w) { return w->x() + w->width(); };
    const int labelToResults = results->y() - bottom(resultsLabel);
    const int listToLabel = resultsLabel->y() - bottom(list);
    const int listTop = list->y();

    mini.resize(500, 600);
    EXPECT_EQ(bottom(results), 600 - 12);
    EXPECT_EQ(right(results), 500 - 10);
    EXPECT_EQ(right(resultsLabel), 500 - 10);
    EXPECT_EQ(right(list), 500 - 10);
    EXPECT_EQ(results->y() - bottom(resultsLabel), labelToResults);
    EXPECT_EQ(resultsLabel->y() - bottom(list), listToLabel);
    EXPECT_EQ(list->y(), listTop);
    EXPECT_EQ(mini.findChild<QToolBar*>()->width(), 500);

    mini.resize(50, 50);
    EXPECT_GE(mini.width(), CMiniClattermat::kMinimumWidth);
    EXPECT_GE(mini.height(), CMiniClattermat::kMinimumHeight);
}

TEST(MiniClattermat, TenThousandGroupsFillTheListQuicklyAndInOrder) {
    // Titles in descending order; two equal labels keep their file order.
    std::string text = "<dicegroups>";
    for (int i = 9999; i >= 0; --i)
        text += "<dicegroup title=\"g" + std::to_string(10000 + i) +
                "\" multiplier=\"1\"><die sideCount=\"1\" multiplier=\"1\"/></dicegroup>";
    text += R"(<dicegroup title="2d6" modifier="1" multiplier="1">1d1</dicegroup>)"
            R"(<dicegroup title="2d6" modifier="2" multiplier="1">1d1</dicegroup></dicegroups>)";
    TestMini mini;
    mini.LoadMiniList(text); // how fast: BM_ReadTenThousandDieTrayForMiniList
    const QStringList labels = mini.Labels();
    ASSERT_EQ(labels.size(), 10002);
    EXPECT_EQ(labels[2], "g10000 (1d1)");
    EXPECT_EQ(labels.last(), "g19999 (1d1)");
    mini.Select({0});
    mini.RollSelected();
    EXPECT_EQ(mini.GetResultsText(), "2");
}

TEST(MiniClattermat, FirstStartLeavesThePlaceToTheWindowManager) {
    QSettings().remove("FirstPos");
    TestMini first(QStringLiteral("FirstPos"));
    EXPECT_FALSE(first.testAttribute(Qt::WA_Moved));
    QSettings().setValue("FirstPos/WindowWidth", 321);
    TestMini sized(QStringLiteral("FirstPos"));
    EXPECT_FALSE(sized.testAttribute(Qt::WA_Moved));
    EXPECT_EQ(sized.width(), 321);
}

TEST(MiniClattermat, WindowPositionIsSavedAndRestored) {
    QSettings().remove("TestPos");
    {
        TestMini mini(QStringLiteral("TestPos"));
        mini.setGeometry(30, 40, 300, 350);
    }
    QSettings settings;
    EXPECT_EQ(settings.value("TestPos/WindowLeft").toInt(), 30);
    EXPECT_EQ(settings.value("TestPos/WindowHeight").toInt(), 350);
    TestMini again(QStringLiteral("TestPos"));
    EXPECT_EQ(again.geometry(), QRect(30, 40, 300, 350));

    // A position on no screen keeps only the size.
    settings.setValue("TestPos/WindowLeft", -50000);
    settings.sync();
    TestMini offScreen(QStringLiteral("TestPos"));
    EXPECT_EQ(offScreen.size(), QSize(300, 350));
    EXPECT_NE(offScreen.x(), -50000);

    // Larger than its screen: shrunk to it, in its place.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    WriteWindowRect(settings, QStringLiteral("TestPos"), room.adjusted(-100, -100, 100, 100));
    settings.sync();
    TestMini large(QStringLiteral("TestPos"));
    EXPECT_EQ(large.geometry(), QRect(room.topLeft() - QPoint(100, 100), room.size()));
}

} // namespace
} // namespace rp
