#include "gui_test_main.h"
#include "odds_window.h"
#include "table_doc.h"
#include "without_pictures.h"

#include <QBarSet>
#include <QPointer>
#include <QTest>
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
    CTableDoc doc;
    COddsWindow window;
};

TEST_F(OddsWindowTest, ChartMeanRangeAndTheChanceOfATarget) {
    Read("1d20+5", 1);
    window.SetTray(&doc);
    window.UpdateNow();
    ASSERT_TRUE(window.Bars());
    EXPECT_EQ(window.Bars()->count(), 20);
    EXPECT_EQ(window.SummaryText(), "1d20+5: mean 15.50, 6 to 25");
    window.SetTarget(15); // 18,022 of the 32,768 draws give 10 or more
    EXPECT_EQ(window.ChanceText(), "Chance of 15 or more: 54.9988 %");
    QList<int> shaded = window.Bars()->selectedBars();
    std::sort(shaded.begin(), shaded.end());
    EXPECT_EQ(shaded, QList<int>({9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    window.SetTarget(100); // held to the range
    EXPECT_EQ(window.ChanceText(), "Chance of 25 or more: 4.9988 %");
}

TEST_F(OddsWindowTest, FollowsTheTrayOnceAfterABurstOfChanges) {
    window.show();
    EXPECT_EQ(window.MessageText(),
              "Select one or more dice groups to see the chances of their total.");
    Read("1d4\n1000d6+1d6\n2d6", 1);
    window.SetTray(&doc);
    window.UpdateNow();
    EXPECT_EQ(window.Odds().GetMax(), 4);

    // A roll leaves the odds as they were: nothing is worked out again.
    QPointer<QBarSet> bars = window.Bars();
    window.SetUpdateDelay(0);
    CDocState& rolled = doc.PushState();
    rolled.RollSelected();
    doc.EndEdit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.UpdatePending(); }, 60000));
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
    EXPECT_EQ(window.SummaryText(), "2d6: mean 7.00, 2 to 12");

    state.Entities()[1]->SetSelected(true);
    window.UpdateNow();
    EXPECT_EQ(window.MessageText(), "The chances are not worked out: more than 1,000 dice.");
    EXPECT_EQ(window.SummaryText(), "1001d6 + 2d6: more than 1,000 dice");
    window.SetTray(nullptr);
    window.UpdateNow();
    EXPECT_EQ(window.MessageText(),
              "Select one or more dice groups to see the chances of their total.");
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
