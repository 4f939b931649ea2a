#include "dice_group.h"
#include "gui_test_main.h"
#include "odds_summary.h"
#include "roll_log.h"
#include "roll_log_view.h"
#include "test_files.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

// A group of d6s showing the given faces.
std::unique_ptr<CDiceGroup> Group(const char* title, std::vector<int> faces, int ignore = 0) {
    auto group = std::make_unique<CDiceGroup>();
    group->SetTitle(title);
    for (const int face : faces)
        group->AddDieBack(std::make_unique<CDie>(6, face));
    group->SetIgnoreCount(ignore);
    return group;
}

const QDateTime kAt(QDate(2024, 5, 1), QTime(21, 14, 5));

void AddOne(CRollLog& log, const QString& tray, int face, const QDateTime& when = kAt) {
    const auto group = Group("", {face});
    const CDiceGroup* groups[] = {group.get()};
    log.AddRoll(tray, groups, when);
}

// The view's text as the log's Text(); a carriage return breaks a line in both.
QString ViewText(const CRollLogView& view) {
    return view.TextView()->toPlainText() + "\n";
}

TEST(RollLog, EntriesInTheWordsOfARollAndTheirText) {
    CRollLog log;
    const auto damage = Group("Damage", {3, 1, 5, 6}, 1);
    const auto plain = Group("", {2});
    const CDiceGroup* both[] = {damage.get(), plain.get()};
    log.AddRoll(QStringLiteral("Zauberstäbe.rlp"), both, kAt);
    AddOne(log, QStringLiteral("Rollpouch1"), 4);
    ASSERT_EQ(log.Count(), 2);
    EXPECT_EQ(log.EntryText(0), "21:14:05  Zauberstäbe.rlp\n"
                                "  Damage (4d6, ignore lowest 1): 3 (1) 5 6 = 14\n"
                                "  1d6: 2 = 2\n"
                                "  Total: 16");
    EXPECT_EQ(log.data(log.index(1)).toString(), "21:14:05  Rollpouch1\n  1d6: 4 = 4\n  Total: 4");
    EXPECT_EQ(log.Text(), log.EntryText(0) + "\n\n" + log.EntryText(1) + "\n");

    // An exploded die shows its rolls after its face.
    const auto exploded = Group("", {4, 2});
    const int draws[] = {32767, 32767, 5462}; // 6, 6, 2
    std::size_t next = 0;
    exploded->GetFirstDie()->Roll(SRollRules{0, true, 100}, [&] { return draws[next++]; });
    const CDiceGroup* one[] = {exploded.get()};
    log.AddRoll("Rollpouch1", one, kAt);
    EXPECT_EQ(log.EntryText(2), "21:14:05  Rollpouch1\n  2d6: 14[6+6+2] 2 = 16\n  Total: 16");

    // Saved as UTF-8; a file that cannot be written says why.
    QTemporaryDir dir;
    QString reason;
    ASSERT_TRUE(log.SaveText(dir.filePath("log.txt"), &reason));
    EXPECT_EQ(QString::fromUtf8(test::ReadFile(dir.filePath("log.txt"))), log.Text());
    EXPECT_FALSE(log.SaveText(dir.filePath("missing/log.txt"), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(RollLog, KeepsTheNewestEntriesAndTheViewFollows) {
    const struct {
        int maxEntries;
        qsizetype maxCharacters;
        int adds;
        int expectedCount;
    } cases[] = {
        {3, CRollLog::kMaxCharacters, 5, 3},
        {100, 100, 5, 2}, // each entry is 38 characters
        {100, 10, 3, 1},  // the newest stays, however long
    };
    for (const auto& c : cases) {
        CRollLog log(c.maxEntries, c.maxCharacters);
        CRollLogView view(&log);
        // A name that breaks its line in the view too.
        for (int i = 1; i <= c.adds; ++i)
            AddOne(log, QStringLiteral("T%1\rx").arg(i), 1);
        ASSERT_EQ(log.Count(), c.expectedCount) << c.maxEntries << " " << c.maxCharacters;
        EXPECT_TRUE(log.EntryText(c.expectedCount - 1).contains(QStringLiteral("T%1").arg(c.adds)));
        EXPECT_EQ(ViewText(view), QString(log.Text()).replace('\r', '\n'));
        EXPECT_EQ(view.TextView()->document()->availableUndoSteps(), 0);
        view.Copy();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), log.Text());
    }
    CRollLog full;
    for (int i = 0; i <= CRollLog::kMaxEntries; ++i)
        AddOne(full, QString::number(i), 1);
    EXPECT_EQ(full.Count(), CRollLog::kMaxEntries);
    EXPECT_TRUE(full.EntryText(0).startsWith("21:14:05  1\n"));
}

TEST(RollLog, TimesShowTheirDatesWhileTheLogSpansDays) {
    const struct {
        std::vector<int> days; // of May, in the order added
        int maxEntries;
        const char* firstLine;
    } cases[] = {
        {{1, 1}, 10, "21:14:05  T1"},
        {{1, 2}, 10, "2024-05-01 21:14:05  T1"},
        {{1, 1, 2}, 2, "2024-05-01 21:14:05  T2"},
        {{1, 2, 2}, 2, "21:14:05  T2"}, // the day before dropped
        {{1, 2}, 1, "21:14:05  T2"},
    };
    for (const auto& c : cases) {
        CRollLog log(c.maxEntries);
        CRollLogView view(&log);
        for (std::size_t i = 0; i < c.days.size(); ++i)
            AddOne(log, QStringLiteral("T%1").arg(i + 1), 1,
                   QDateTime(QDate(2024, 5, c.days[i]), kAt.time()));
        EXPECT_EQ(log.EntryText(0).section('\n', 0, 0), c.firstLine);
        // Every entry alike, the view too.
        const bool dated = log.EntryText(0).startsWith("2024");
        EXPECT_EQ(log.Text().count("2024-05-0"), dated ? log.Count() : 0) << c.firstLine;
        EXPECT_EQ(ViewText(view), log.Text());
    }
}

TEST(RollLog, ClearAsksFirst) {
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        CRollLog log;
        CRollLogView view(&log);
        AddOne(log, "T1", 1, kAt.addDays(-1));
        AddOne(log, "T2", 2);
        QStringList asked;
        QPushButton* clear = nullptr;
        for (QPushButton* button : view.findChildren<QPushButton*>())
            if (button->text() == "Clear")
                clear = button;
        ASSERT_NE(clear, nullptr);
        test::WithDialogs([&] { clear->click(); },
                          [&](QWidget* modal) {
                              auto* box = qobject_cast<QMessageBox*>(modal);
                              if (!box)
                                  return test::FailUnexpectedDialog(modal);
                              asked.append(box->text());
                              EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
                              box->button(answer)->click();
                          });
        EXPECT_EQ(asked, QStringList{"Clear the roll log?"});
        EXPECT_EQ(log.Count(), answer == QMessageBox::Yes ? 0 : 2);
        // Afterwards new entries show without dates; still no undo history.
        AddOne(log, "T3", 3);
        EXPECT_EQ(ViewText(view), log.Text());
        EXPECT_EQ(log.EntryText(0).startsWith("2024"), answer == QMessageBox::No);
        EXPECT_EQ(view.TextView()->document()->availableUndoSteps(), 0);
    }
}

TEST(RollLog, OddsSummaryOfAGroup) {
    CDiceGroup group;
    group.ParseNotation("3d6+2");
    EXPECT_EQ(GroupOddsSummary(group), "3d6+2: mean 12.50, 5 to 20");
    EXPECT_EQ(GroupOddsSummary(group), "3d6+2: mean 12.50, 5 to 20"); // again, from memory
    group.SetIgnoreCount(1);
    EXPECT_EQ(GroupOddsSummary(group), "3d6+2, ignore lowest 1: mean 10.46, 4 to 14");
    CDiceGroup many;
    many.ParseNotation("10000d1000");
    EXPECT_EQ(GroupOddsSummary(many), "10000d1000: too many totals");
}

} // namespace
} // namespace rp
