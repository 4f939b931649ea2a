#include "gui_test_main.h"
#include "odds_window.h"
#include "table_doc.h"
#include "without_pictures.h"

#include <QAbstractItemModel>
#include <QBarSet>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>

namespace rp {
namespace {

class OddsWindowTest : public test::WithoutDiePictures {
protected:
    // Lines of dice notation, one group each, the first `selected` selected.
    void Read(const char* lines, int selected) {
        doc.GetCurrentState().ReadTrayXml(lines, false, true);
        for (int i = 0; i < selected; ++i)
            doc.GetCurrentState().Entities()[static_cast<std::size_t>(i)]->SetSelected(true);
        doc.UpdateAllViews();
    }
    // Works the odds out and waits for them.
    void UpdateAndWait() {
        window.UpdateNow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.IsWorking(); }, 240000));
    }
    // Ten groups of "2d2000, ignore lowest 1", whose odds take a while, then "1d4".
    void ReadHeavy() {
        Read("2d2000\n2d2000\n2d2000\n2d2000\n2d2000\n2d2000\n2d2000\n2d2000\n2d2000\n2d2000\n1d4",
             10);
        for (int i = 0; i < 10; ++i)
            dynamic_cast<CDiceGroup&>(*doc.GetCurrentState().Entities()[std::size_t(i)])
                .SetIgnoreCount(1);
    }
    CTableDoc doc;
    COddsWindow window;
};

TEST_F(OddsWindowTest, ChartMeanRangeTheChanceOfATargetAndTheTable) {
    Read("1d20+5", 1);
    window.SetTray(&doc);
    UpdateAndWait();
    ASSERT_TRUE(window.Bars());
    EXPECT_EQ(window.Bars()->count(), 20);
    EXPECT_EQ(window.SummaryText(), "1d20+5: mean 15.50, standard deviation 5.77, 6 to 25");
    using Kind = COddsWindow::TargetKind;
    // Faces 1 to 20 of 1d20 come from 1,639 or 1,638 of the 32,768 draws.
    const struct {
        Kind kind;
        int target, second;
        const char* chance;
        QList<int> shaded;
    } cases[] = {
        {Kind::OrMore,
         15,
         0,
         "Chance of 15 or more: 54.9988 %",
         {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},
        {Kind::OrMore, 100, 0, "Chance of 25 or more: 4.9988 %", {19}}, // held to the range
        {Kind::OrLess, 15, 0, "Chance of 15 or less: 50.0000 %", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {Kind::Exactly, 15, 0, "Chance of exactly 15: 4.9988 %", {9}},
        {Kind::Between, 12, 10, "Chance of 10 to 12: 14.9994 %", {4, 5, 6}},
    };
    for (const auto& c : cases) {
        window.SetTargetKind(c.kind);
        window.SetTarget(c.target);
        window.SetSecondTarget(c.second);
        EXPECT_EQ(window.ChanceText(), c.chance);
        QList<int> shaded = window.Bars()->selectedBars();
        std::sort(shaded.begin(), shaded.end());
        EXPECT_EQ(shaded, c.shaded) << c.chance;
    }

    window.CopyTable();
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 22); // the header, 20 totals and the last line's end
    EXPECT_EQ(lines[0], "Total\tExactly %\tAt least %\tAt most %");
    EXPECT_EQ(lines[10], "15\t4.9988\t54.9988\t50.0000");
}

TEST_F(OddsWindowTest, FollowsTheTrayOnceAfterABurstOfChanges) {
    window.show();
    EXPECT_EQ(window.MessageText(),
              "Select one or more dice groups to see the chances of their total.");
    Read("1d4\n1000d10000\n2d6", 1);
    window.SetTray(&doc);
    UpdateAndWait();
    EXPECT_EQ(window.Odds().GetMax(), 4);

    // A roll leaves the odds as they were: nothing is worked out again.
    QPointer<QBarSet> bars = window.Bars();
    window.SetUpdateDelay(0);
    CDocState& rolled = doc.PushState();
    rolled.RollSelected();
    doc.EndEdit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.UpdatePending(); }, 60000));
    EXPECT_FALSE(window.IsWorking());
    EXPECT_EQ(window.Bars(), bars.data());

    // Selecting more shows the new total after the changes stop coming.
    CDocState& state = doc.GetCurrentState();
    state.SelectAll();
    doc.UpdateAllViews();
    state.SelectNone();
    state.Entities()[2]->SetSelected(true);
    doc.UpdateAllViews();
    EXPECT_EQ(window.Odds().GetMax(), 4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Odds().GetMax() == 12; }, 60000));
    EXPECT_EQ(window.SummaryText(), "2d6: mean 7.00, standard deviation 2.42, 2 to 12");

    state.Entities()[1]->SetSelected(true);
    UpdateAndWait();
    EXPECT_EQ(window.MessageText(), "The chances are not worked out: too many totals.");
    EXPECT_EQ(window.SummaryText(), "1000d10000 + 2d6: too many totals");
    window.SetTray(nullptr);
    window.UpdateNow();
    EXPECT_EQ(window.MessageText(),
              "Select one or more dice groups to see the chances of their total.");
}

TEST_F(OddsWindowTest, HeavyOddsLeaveTheWindowFreeAndANewSelectionDropsThem) {
    ReadHeavy();
    window.SetTray(&doc);
    window.show();
    window.UpdateNow();
    ASSERT_TRUE(window.IsWorking());
    EXPECT_FALSE(window.ShowsWorking()); // not before the delay
    window.SetBusyDelay(0);
    window.UpdateNow(); // the same selection: still the same work
    ASSERT_TRUE(window.IsWorking());
    // Queued calls run while the odds are worked out.
    bool ran = false, ranWhileWorking = false;
    QTimer::singleShot(0, &window, [&] {
        ran = true;
        ranWhileWorking = window.IsWorking();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 60000));
    EXPECT_TRUE(ranWhileWorking);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.ShowsWorking(); }, 60000));
    EXPECT_FALSE(window.Bars());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.IsWorking(); }, 240000));
    ASSERT_TRUE(window.Bars());
    EXPECT_EQ(window.Odds().GetMax(), 20000);

    // A new selection while the odds of another are worked out: only the
    // new one's are shown, even once every computation is over.
    CDocState& state = doc.GetCurrentState();
    state.SelectNone();
    state.Entities()[0]->SetSelected(true);
    state.Entities()[1]->SetSelected(true);
    window.UpdateNow();
    ASSERT_TRUE(window.IsWorking());
    state.SelectNone();
    state.Entities()[10]->SetSelected(true);
    UpdateAndWait();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.SummaryText(), "1d4: mean 2.50, standard deviation 1.12, 1 to 4");
    EXPECT_EQ(window.Odds().GetMax(), 4);
}

TEST_F(OddsWindowTest, StopSaysSoAndOnlyAskingAgainStartsAgain) {
    ReadHeavy();
    window.SetTray(&doc);
    window.SetBusyDelay(0);
    window.SetUpdateDelay(0);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ShowsWorking(); }, 60000));
    window.Stop();
    EXPECT_FALSE(window.IsWorking());
    EXPECT_EQ(window.MessageText(), "The chances are not worked out: stopped.");
    EXPECT_EQ(window.SummaryText(), "10 dice groups: stopped");
    EXPECT_FALSE(window.Bars());
    CDocState& rolled = doc.PushState();
    rolled.RollSelected();
    doc.EndEdit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.UpdatePending(); }, 60000));
    EXPECT_FALSE(window.IsWorking());
    EXPECT_EQ(window.MessageText(), "The chances are not worked out: stopped.");
    window.AskAgain();
    EXPECT_TRUE(window.IsWorking());
    window.Stop();
}

TEST_F(OddsWindowTest, TheTableReadsAsTheCopiedOneAndEmptiesWithoutOdds) {
    ReadHeavy();
    Read("2d6\n1000d10000", 0);
    const auto select = [&](std::size_t first, std::size_t end) {
        doc.GetCurrentState().SelectNone();
        for (std::size_t i = first; i < end; ++i)
            doc.GetCurrentState().Entities()[i]->SetSelected(true);
        window.UpdateNow();
    };
    window.SetTray(&doc);
    select(11, 12);
    UpdateAndWait();
    const QAbstractItemModel& table = *window.Table()->model();
    QString text;
    for (int row = -1; row < table.rowCount(); ++row)
        for (int column = 0; column < table.columnCount(); ++column)
            text += (row < 0 ? table.headerData(column, Qt::Horizontal)
                             : table.index(row, column).data())
                        .toString() +
                    (column < 3 ? '\t' : '\n');
    window.CopyTable();
    EXPECT_EQ(text, QGuiApplication::clipboard()->text());
    // A d6's faces come from 5,462 or 5,461 of the 32,768 draws: 7 or more is not 7 or less.
    EXPECT_TRUE(text.contains("\n7\t16.6667\t58.3313\t58.3354\n")) << text.toStdString();
    EXPECT_EQ(window.ChartView()->accessibleDescription(), "Totals from 2 to 12, mean 7.00");

    select(11, 13); // too many totals
    UpdateAndWait();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(window.ChartView()->accessibleDescription(), "");
    select(11, 12);
    UpdateAndWait();
    ASSERT_EQ(table.rowCount(), 11);
    window.SetBusyDelay(0);
    select(0, 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ShowsWorking(); }, 60000));
    EXPECT_EQ(table.rowCount(), 0);
    window.Stop();
}

TEST(OddsBars, EveryVisibleTotalInAtMostTheBarsAllowed) {
    const struct {
        const char* notation;
        std::size_t bars;
        int first;
    } cases[] = {
        {"1d20+5", 20, 6},
        {"3d6", 16, 3},
        {"10d6", 39, 16},      // the tails below a thousandth of the peak are left out
        {"1000d6", 134, 3300}, // 402 totals, three to a bar
    };
    for (const auto& c : cases) {
        CDiceGroup group;
        group.ParseNotation(c.notation);
        const CDiceOdds odds = CDiceOdds::ForGroup(group);
        const std::vector<COddsBar> bars = MakeOddsBars(odds, 200);
        ASSERT_EQ(bars.size(), c.bars) << c.notation;
        EXPECT_EQ(bars.front().first, c.first) << c.notation;
        double sum = 0;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            sum += bars[i].chance;
            if (i > 0) {
                EXPECT_EQ(bars[i].first, bars[i - 1].last + 1) << c.notation;
            }
        }
        EXPECT_NEAR(sum, 1.0, 0.01) << c.notation;
    }
}

} // namespace
} // namespace rp
