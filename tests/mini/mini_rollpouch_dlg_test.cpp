#include "about_mini_dialog.h"
#include "gui_test_main.h"
#include "mini_rollpouch_dlg.h"
#include "roll_log_view.h"
#include "test_files.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace rp {
namespace {

class MiniRollpouchTest : public ::testing::Test {
protected:
    void SetUp() override { QSettings().remove("Recent File List"); }
    QString Write(const QString& name, const QByteArray& bytes) {
        return test::WriteFile(dir.filePath(name), bytes);
    }
    static QStringList Labels(const CMiniRollpouchDlg& dlg) {
        QStringList labels;
        for (int i = 0; i < dlg.GroupList()->count(); ++i)
            labels.append(dlg.GroupList()->item(i)->text());
        return labels;
    }
    QTemporaryDir dir;
};

TEST_F(MiniRollpouchTest, OpensTrayFilesAndRemembersThem) {
    CMiniRollpouchDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Mini Clattermat");
    EXPECT_FALSE(dlg.RollAction()->isEnabled());
    EXPECT_EQ(dlg.OpenAction()->toolTip(), "Open");
    EXPECT_EQ(dlg.RollAction()->toolTip(), "Roll Selected");

    const QString tray = Write("four.rlp", R"(<dicegroups>
	<dicegroup title="Sword" modifier="2" multiplier="1"><die sideCount="8" multiplier="1"/></dicegroup>
	<dicegroup modifier="0" multiplier="1"><die sideCount="6" multiplier="1"/><die sideCount="6" multiplier="1"/></dicegroup>
	<dicegroup title="axe" multiplier="1"><die sideCount="12" multiplier="1"/></dicegroup>
	<dicegroup ignoreCount="1" multiplier="1">4d6</dicegroup>
</dicegroups>)");
    dlg.OpenPath(tray);
    EXPECT_EQ(Labels(dlg),
              QStringList({"2d6", "4d6, ignore lowest 1", "axe (1d12)", "Sword (1d8+2)"}));
    EXPECT_EQ(dlg.windowTitle(), "Mini Clattermat");

    const QString plain = Write("plain.rlp", "Attack: 1d20+5\n");
    dlg.OpenPath(plain);
    EXPECT_TRUE(Labels(dlg).isEmpty());
    const QString missing = dir.filePath("missing.rlp"), pipe = dir.filePath("pipe.rlp");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& unread : {missing, pipe}) { // a pipe at once, never waited on
        dlg.OpenPath(tray);
        dlg.OpenPath(unread);
        EXPECT_TRUE(Labels(dlg).isEmpty());
    }
    EXPECT_EQ(dlg.RecentFiles().Paths(), QStringList({pipe, tray, missing, plain}));

    const QString single =
        Write("single.xml", R"(<dicegroup title="Solo" multiplier="1">3d6</dicegroup>)");
    dlg.OpenPath(single);
    EXPECT_EQ(Labels(dlg), QStringList({"Solo (3d6)"}));
    dlg.OpenPath(Write("five.rlp", "<dicegroups/>"));
    EXPECT_EQ(dlg.RecentFiles().Paths().size(), 4);
    EXPECT_EQ(dlg.RecentFiles().Paths().first(), dir.filePath("five.rlp"));
    EXPECT_EQ(dlg.RecentFiles().Paths().last(), tray);
}

TEST_F(MiniRollpouchTest, OversizedFileIsRefusedWithAMessage) {
    CMiniRollpouchDlg dlg;
    dlg.OpenPath(Write("small.rlp", R"(<dicegroup multiplier="1">1d6</dicegroup>)"));
    ASSERT_EQ(Labels(dlg).size(), 1);

    const QString huge = dir.filePath("huge.rlp");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize((qint64{64} << 20) + 1)); // sparse: nothing is written
    file.close();
    dlg.OpenPath(huge);
    EXPECT_TRUE(Labels(dlg).isEmpty());
    auto* box = dlg.findChild<QMessageBox*>();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->text().contains("larger than 64 MiB"));
    EXPECT_EQ(dlg.RecentFiles().Paths().first(), huge);
}

TEST_F(MiniRollpouchTest, SaysWhenDiceWereLeftOutAndShowsFileNamesAsTheyAre) {
    CMiniRollpouchDlg dlg;
    QByteArray many = "<dicegroup multiplier=\"1\">";
    for (int i = 0; i < 11; ++i)
        many += "<t>1000d6</t>";
    const QString path = Write("a&b.rlp", many + "</dicegroup>");
    dlg.OpenPath(path);
    EXPECT_EQ(Labels(dlg), QStringList({"10000d6"}));
    auto* box = dlg.findChild<QMessageBox*>();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), path + "\n" + kDiceLeftOutText);

    auto* bar = dlg.findChild<QToolBar*>();
    QMenu* recent = qobject_cast<QToolButton*>(bar->widgetForAction(dlg.OpenAction()))->menu();
    ASSERT_TRUE(recent);
    emit recent->aboutToShow();
    ASSERT_FALSE(recent->actions().isEmpty());
    EXPECT_EQ(recent->actions().first()->text(), "&1 " + dir.filePath("a&&b.rlp"));
}

TEST_F(MiniRollpouchTest, ToolbarAndAboutBox) {
    CMiniRollpouchDlg dlg;
    auto* bar = dlg.findChild<QToolBar*>();
    ASSERT_TRUE(bar);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0], dlg.OpenAction());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2], dlg.RollAction());
    auto* open = qobject_cast<QToolButton*>(bar->widgetForAction(dlg.OpenAction()));
    ASSERT_TRUE(open);
    EXPECT_EQ(open->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_FALSE(dlg.windowIcon().isNull());

    CAboutMiniDialog about;
    EXPECT_EQ(about.windowTitle(), "About MiniRollpouch");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "MiniRollpouch Version 1.1 (r86)");
}

TEST_F(MiniRollpouchTest, RollLogOpensUnderTheResultsAndKeepsTheMinimumSize) {
    CMiniRollpouchDlg dlg;
    dlg.show();
    EXPECT_FALSE(dlg.RollLogView()->isVisible());
    EXPECT_EQ(dlg.minimumSize(), QSize(175, 200));
    dlg.OpenPath(Write("hit.rlp", R"(<dicegroup title="Hit" multiplier="1">1d1</dicegroup>)"));
    dlg.GroupList()->item(0)->setSelected(true);
    QTest::keyClick(dlg.GroupList(), Qt::Key_Return);
    QTest::keyClick(dlg.GroupList(), Qt::Key_Return);

    const int height = dlg.height();
    dlg.RollLogButton()->click();
    ASSERT_TRUE(dlg.RollLogView()->isVisible());
    EXPECT_EQ(dlg.height(), height + CMiniRollpouchDlg::kLogGrowth);
    const QString entry = "  hit.rlp\n  Hit (1d1): 1 = 1\n  Total: 1";
    const QString text = dlg.RollLogView()->TextView()->toPlainText();
    EXPECT_EQ(text.count(entry), 2);
    EXPECT_TRUE(text.endsWith(entry));
    const auto bottom = [](const QWidget* w) { return w->y() + w->height(); };
    for (const int tall : {900, 0}) {
        dlg.resize(300, tall);
        EXPECT_EQ(dlg.height(), std::max(tall, 200 + CMiniRollpouchDlg::kMinLogHeight +
                                                   CMiniRollpouchDlg::kLogGap));
        EXPECT_LT(bottom(dlg.ResultsText()), dlg.RollLogView()->y());
        EXPECT_EQ(bottom(dlg.RollLogView()), dlg.height() - 12);
        EXPECT_GT(dlg.GroupList()->height(), 30);
    }
    dlg.RollLogButton()->click();
    EXPECT_FALSE(dlg.RollLogView()->isVisible());
    EXPECT_EQ(dlg.minimumSize(), QSize(175, 200));
    EXPECT_EQ(bottom(dlg.ResultsText()), dlg.height() - 12);
}

} // namespace
} // namespace rp
