#include "commands.h"
#include "gui_test_main.h"
#include "main_frame.h"
#include "rollpouch_app.h"
#include "sample_trays.h"
#include "shown_menu_text.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "test_files.h"
#include "title_edit.h"
#include "without_pictures.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace rp {
namespace {

// A shown main window with one tray: Attack (a d20), Damage (two d6, ignoring
// the lowest), and the text "Round 1".
class CommandsTest : public test::WithoutDiePictures {
protected:
    void SetUp() override {
        WithoutDiePictures::SetUp();
        Settings().SetDelayRoll(0);
        ASSERT_TRUE(test::ShowActive(frame));
        tray = frame.NewTray();
        State().ReadTrayXml(test::kSmallTray, false, true);
        Doc().UpdateAllViews();
    }
    static CSettings& Settings() { return CRollpouchApp::Instance()->Settings(); }
    CTableDoc& Doc() { return *tray->Document(); }
    CDocState& State() { return Doc().GetCurrentState(); }
    CTableView& View() { return *tray->View(); }
    void Select(std::initializer_list<int> entities) {
        State().SelectNone();
        for (const int i : entities)
            State().Entities()[std::size_t(i)]->SetSelected(true);
        Doc().UpdateAllViews();
    }
    QStringList MenuTitles() {
        QStringList titles;
        for (const QMenu* menu : frame.CurrentMenus())
            titles.append(menu->title());
        return titles;
    }
    bool Enabled(int id) { return frame.Action(id)->isEnabled(); }

    CMainFrame frame{*CRollpouchApp::Instance()};
    CTableFrame* tray = nullptr;
};

TEST_F(CommandsTest, MenusFollowTheActiveTrayWithTheirTexts) {
    EXPECT_EQ(MenuTitles(),
              QStringList({"&File", "&Edit", "&View", "&Dice", "&Options", "&Window", "&Help"}));
    QStringList edit;
    for (const QAction* entry : frame.CurrentMenus()[1]->actions())
        edit.append(entry->isSeparator() ? "-" : test::ShownMenuText(*entry));
    EXPECT_EQ(edit,
              QStringList({"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                           "&Paste\tCtrl+V", "Delete\tDel", "-", "Select &All\tCtrl+A",
                           "Select &None", "&Invert Selection", "-", "Add &Text\tCtrl+T",
                           "&Edit Text\tCtrl+E", "-", "Set Background Color..."}));
    EXPECT_EQ(frame.Action(cmd::kIncrementModifier)->statusTip(),
              "Increment the modifiers of the selected dice");
    EXPECT_EQ(frame.Action(cmd::kIncrementModifier)->toolTip(), "Increment Selected Modifiers");

    tray->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MenuTitles(), QStringList({"&File", "&View", "&Help"}));
    EXPECT_FALSE(Enabled(cmd::kUndo)); // nothing takes it without a tray
    EXPECT_TRUE(Enabled(cmd::kNew));
}

TEST_F(CommandsTest, EnablingFollowsTheSelectionAndTheTitleEditor) {
    // Entities: 0 Attack (one d20), 1 Damage (two d6), 2 the text.
    struct Case {
        std::initializer_list<int> selected;
        bool group, ungroup, editText, cut, roll;
    } cases[] = {
        {{}, false, false, false, false, false},    {{0}, false, false, false, true, true},
        {{1}, false, true, false, true, true},      {{0, 1}, true, true, false, true, true},
        {{2}, false, false, true, true, false},     {{0, 2}, false, false, false, true, true},
        {{0, 1, 2}, true, true, false, true, true},
    };
    for (const Case& c : cases) {
        Select(c.selected);
        const auto at = c.selected.size();
        EXPECT_EQ(Enabled(cmd::kGroup), c.group) << at;
        EXPECT_EQ(Enabled(cmd::kUngroup), c.ungroup) << at;
        EXPECT_EQ(Enabled(cmd::kEditText), c.editText) << at;
        EXPECT_EQ(Enabled(cmd::kCut), c.cut) << at;
        EXPECT_EQ(Enabled(cmd::kRollSelected), c.roll) << at;
    }
    // The open title editor: its text selection rules Cut; no Edit Text, no Invert.
    Select({2});
    View().EditSelectedText();
    EXPECT_FALSE(Enabled(cmd::kEditText));
    EXPECT_FALSE(Enabled(cmd::kInvertSelection));
    EXPECT_TRUE(Enabled(cmd::kCut));
    View().TitleEditor()->deselect();
    EXPECT_FALSE(Enabled(cmd::kCut));
}

TEST_F(CommandsTest, OptionsTakeEffectAtOnce) {
    Settings().SetPlaySound(true);
    Select({0, 1});
    test::TakePlayedSounds();
    frame.Action(cmd::kPlaySound)->trigger();
    EXPECT_FALSE(Settings().GetPlaySound());
    EXPECT_FALSE(frame.Action(cmd::kPlaySound)->isChecked());
    frame.Action(cmd::kRollSelected)->trigger();
    EXPECT_TRUE(test::TakePlayedSounds().isEmpty());
    frame.Action(cmd::kPlaySound)->trigger();
    frame.Action(cmd::kRollSelected)->trigger();
    EXPECT_EQ(test::TakePlayedSounds(), QStringList({CDiceApp::kRollManySound}));

    EXPECT_FALSE(frame.Action(cmd::kDelayRoll)->isChecked());
    frame.Action(cmd::kDelayRoll)->trigger();
    EXPECT_EQ(Settings().GetDelayRoll(), 500);
    EXPECT_TRUE(frame.Action(cmd::kDelayRoll)->isChecked());
    frame.Action(cmd::kRollSelected)->trigger(); // the loop itself: the roll-loop tests
    int total = 0;
    for (const CDiceGroupPainter* group : State().GetSelectedGroups())
        total += group->GetTotal();
    EXPECT_EQ(frame.MessageText(), QString("Total: %1").arg(total));

    frame.Action(cmd::kOpenLast)->trigger();
    EXPECT_TRUE(Settings().GetOpenLast());
    EXPECT_TRUE(frame.Action(cmd::kOpenLast)->isChecked());
    frame.Action(cmd::kOpenLast)->trigger();
}

TEST_F(CommandsTest, KeysAndTheHistoryLists) {
    Select({1});
    const auto modifier = [this] {
        return dynamic_cast<CDiceGroupPainter&>(*State().Entities()[1]).GetEffectiveModifier();
    };
    QTest::keyClick(&View(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(&View(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(modifier(), 2);
    // Alt+1 adds only while a die is pending.
    QTest::keyClick(&View(), Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(State().Entities().size(), 3u);
    View().SetPendingDie(8);
    QTest::keyClick(&View(), Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(State().Entities().size(), 4u);

    EXPECT_EQ(frame.UndoAction()->toolTip(), "Undo Add 8-sided Die");
    QMenu undoList;
    frame.FillHistoryMenu(undoList, false);
    ASSERT_EQ(undoList.actions().size(), 5);
    EXPECT_EQ(undoList.actions()[0]->text(), "Add 8-sided Die");
    EXPECT_EQ(CommandOf(undoList.actions()[2]), 36867);
    undoList.actions()[2]->trigger(); // three steps at once
    EXPECT_EQ(Doc().GetUndoLabels(), QStringList({"Increment Modifier", "Increment Modifier"}));
    EXPECT_EQ(modifier(), 2);
    EXPECT_FALSE(Enabled(36867));
    frame.Commands().Execute(36886);
    EXPECT_EQ(Doc().GetRedoLabels(), QStringList({"Add 8-sided Die"}));
}

TEST_F(CommandsTest, RecentFilesShowNamesLiterallyAndDropWhatCannotOpen) {
    QTemporaryDir dir;
    const QString path = test::WriteFile(dir.filePath("a&b.rlp"), "Attack: 1d20\n");
    ASSERT_NE(frame.OpenTray(path), nullptr);
    frame.Commands().UpdateAll();
    EXPECT_EQ(frame.Action(cmd::kFirstRecentFile)->text(),
              "&1 " + QDir::toNativeSeparators(dir.filePath("a&&b.rlp")));

    for (CTableFrame* open : frame.TrayFrames())
        open->Document()->ResetContents(); // nothing to ask about
    for (CTableFrame* open : frame.TrayFrames())
        open->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QFile::remove(path));
    test::WithDialogs([&] { frame.Action(cmd::kFirstRecentFile)->trigger(); },
                      [](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Enter); });
    EXPECT_FALSE(frame.RecentFiles().Paths().contains(QFileInfo(path).absoluteFilePath()));
}

} // namespace
} // namespace rp
