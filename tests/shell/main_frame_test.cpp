#include "gui_test_main.h"
#include "main_frame.h"
#include "odds_window.h"
#include "roll_log.h"
#include "rollpouch_app.h"
#include "settings.h"
#include "shown_menu_text.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "test_files.h"
#include "title_edit.h"
#include "without_pictures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace rp {
namespace {

class MainFrameTest : public test::WithoutDiePictures {
protected:
    // Answers the message boxes to come, in turn, keeping their texts.
    void Respond(QWidget* modal) {
        if (auto* files = qobject_cast<QFileDialog*>(modal); files && !names.isEmpty()) {
            // Typed, then the dialog's own button, as a user would.
            files->findChild<QLineEdit*>("fileNameEdit")->setText(names.takeFirst());
            QCoreApplication::processEvents();
            const bool saving = files->acceptMode() == QFileDialog::AcceptSave;
            QPushButton* button = files->findChild<QDialogButtonBox*>()->button(
                saving ? QDialogButtonBox::Save : QDialogButtonBox::Open);
            buttonsEnabled.append(button && button->isEnabled());
            if (button && button->isEnabled())
                button->click();
            else
                files->reject();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || answers.isEmpty())
            return test::FailUnexpectedDialog(modal);
        asked.append(box->text());
        box->button(answers.takeFirst())->click();
    }
    void Answer(QList<QMessageBox::StandardButton> buttons) { answers = buttons; }
    QString Write(const QString& name, const QByteArray& bytes) {
        return test::WriteFile(dir.filePath(name), bytes);
    }
    CMainFrame frame{*CRollpouchApp::Instance()};
    QTemporaryDir dir;
    QStringList asked;
    QList<QMessageBox::StandardButton> answers;
    // Names typed into file dialogs, in turn; whether their button could be clicked.
    QStringList names;
    QList<bool> buttonsEnabled;
    test::CDialogAnswerer answerer{[this](QWidget* modal) { Respond(modal); }};
};

TEST_F(MainFrameTest, NewTrayWithUndoRedoTextsAndTheTotal) {
    frame.show();
    CTableFrame* tray = frame.NewTray();
    CTableView* view = tray->View();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.windowTitle(), "Clattermat - [Rollpouch1]"); // the first opens maximised
    EXPECT_EQ(frame.MessageText(), "Ready");
    EXPECT_FALSE(frame.UndoAction()->isEnabled());
    EXPECT_EQ(test::ShownMenuText(*frame.UndoAction()), "&Undo\tCtrl+Z");

    view->AddDiceAtFreeSpot(6, 1);
    EXPECT_EQ(test::ShownMenuText(*frame.UndoAction()), "&Undo Add 6-sided Die\tCtrl+Z");
    EXPECT_TRUE(frame.UndoAction()->isEnabled());
    tray->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.windowTitle(), "Clattermat - Rollpouch1 *");
    view->GetDocument()->GetCurrentState().SelectAll();
    view->RollAndShowTotal();
    const int total = view->GetDocument()->GetCurrentState().GetSelectedGroups()[0]->GetTotal();
    EXPECT_EQ(frame.MessageText(), QString("Total: %1").arg(total));

    frame.UndoAction()->trigger();
    EXPECT_EQ(frame.MessageText(), "Ready");
    EXPECT_EQ(test::ShownMenuText(*frame.RedoAction()), "&Redo Roll\tCtrl+Y");
    EXPECT_TRUE(frame.RedoAction()->isEnabled());
    EXPECT_EQ(frame.NewTray()->Document()->GetTitle(), "Rollpouch2");
}

TEST_F(MainFrameTest, RollsGoToTheRollLogAndTheOddsFollowTheActiveTray) {
    EXPECT_EQ(frame.RollLogDock()->objectName(), "RollLogDock");
    EXPECT_EQ(frame.RollLogAction()->text(), "Roll Log");
    frame.show();
    EXPECT_FALSE(frame.RollLogDock()->isVisible());
    CSettings& settings = CRollpouchApp::Instance()->Settings();
    settings.SetDelayRoll(0);
    CTableView* view = frame.NewTray()->View();
    view->AddDiceAtFreeSpot(20, 1);
    view->GetDocument()->GetCurrentState().SelectAll();
    const CRollLog& log = CDiceApp::Instance()->RollLog();
    const int before = log.Count();
    QStringList totals;
    for (int i = 0; i < 2; ++i) {
        view->RollAndShowTotal();
        totals.append(frame.MessageText().mid(7)); // "Total: N"
    }
    ASSERT_EQ(log.Count(), before + 2);
    const QRegularExpression entry(
        R"(^(?:\d{4}-\d\d-\d\d )?\d\d:\d\d:\d\d  Rollpouch1\n  1d20: (\d+) = \1\n  Total: (\d+)$)");
    for (int i = 0; i < 2; ++i) {
        const QRegularExpressionMatch match = entry.match(log.EntryText(before + i));
        ASSERT_TRUE(match.hasMatch()) << log.EntryText(before + i).toStdString();
        EXPECT_EQ(match.captured(2), totals[i]);
    }
    settings.SetDelayRoll(CSettings::kDefaultDelayRoll);

    EXPECT_EQ(frame.Action(cmd::kOdds)->shortcut(), QKeySequence("Ctrl+Shift+O"));
    frame.Action(cmd::kOdds)->trigger();
    ASSERT_TRUE(frame.OddsWindow() && frame.OddsWindow()->isVisible());
    const auto worked = [&] {
        return QTest::qWaitFor([&] { return !frame.OddsWindow()->IsWorking(); }, 60000);
    };
    ASSERT_TRUE(worked());
    const QString summary = "1d20: mean 10.50, standard deviation 5.77, 1 to 20";
    EXPECT_EQ(frame.OddsWindow()->SummaryText(), summary);
    frame.NewTray();
    frame.OddsWindow()->UpdateNow();
    EXPECT_FALSE(frame.OddsWindow()->MessageText().isEmpty());
    frame.CloseTray();
    QCoreApplication::processEvents();
    frame.OddsWindow()->UpdateNow();
    ASSERT_TRUE(worked());
    EXPECT_EQ(frame.OddsWindow()->SummaryText(), summary);
}

TEST_F(MainFrameTest, AFileThatCannotBeOpenedIsReportedAndTheRestOpen) {
    const QString good = Write("good.rlp", "Attack: 1d20+5\n");
    const QString pipe = dir.filePath("pipe.rlp");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    EXPECT_EQ(frame.OpenTray(dir.filePath("missing.rlp")), nullptr);
    EXPECT_EQ(frame.OpenTray(pipe), nullptr); // at once, not waiting for a writer
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].contains("missing.rlp")) << asked[0].toStdString();
    EXPECT_TRUE(asked[1].endsWith("not a regular file.")) << asked[1].toStdString();
    CTableFrame* opened = frame.OpenTray(good);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->windowTitle(), "good.rlp");
    EXPECT_EQ(frame.OpenTray(good), opened); // already open: activated
    EXPECT_EQ(frame.TrayFrames().size(), 1);

    // Many at once: one message for all, the first 20 named.
    QStringList many{good};
    for (int i = 0; i < 25; ++i)
        many.append(dir.filePath(QString("gone%1.rlp").arg(i)));
    Answer({QMessageBox::Ok});
    frame.OpenTrays(many, 3);
    ASSERT_EQ(asked.size(), 3);
    EXPECT_TRUE(asked[2].contains("gone19.rlp: ")) << asked[2].toStdString();
    EXPECT_FALSE(asked[2].contains("gone20.rlp"));
    EXPECT_TRUE(asked[2].endsWith("and 5 more.\n\n3 more files were not opened."));
}

TEST_F(MainFrameTest, ClosingAModifiedTrayAsksAndAFailedSaveKeepsItOpen) {
    frame.show();
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    CTableFrame* tray = frame.OpenTray(Write("sub/a.rlp", ""));
    ASSERT_NE(tray, nullptr);
    tray->View()->AddDiceAtFreeSpot(4, 1);

    Answer({QMessageBox::Cancel});
    EXPECT_FALSE(tray->close());
    EXPECT_EQ(asked.value(0), "Save changes to a.rlp?");

    ASSERT_TRUE(QDir(dir.filePath("sub")).removeRecursively());
    Answer({QMessageBox::Yes, QMessageBox::Ok}); // the save fails: its reason is shown
    EXPECT_FALSE(frame.close());
    ASSERT_EQ(asked.size(), 3);
    EXPECT_TRUE(asked[2].startsWith("Cannot save")) << asked[2].toStdString();
    EXPECT_EQ(frame.TrayFrames().size(), 1);

    Answer({QMessageBox::No});
    EXPECT_TRUE(tray->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.TrayFrames().isEmpty());
}

TEST_F(MainFrameTest, ATextBeingTypedWhenTheWindowClosesIsPartOfTheTray) {
    ASSERT_TRUE(test::ShowActive(frame));
    CTableFrame* tray = frame.OpenTray(Write("t.rlp", "Attack: 1d20\n"));
    ASSERT_NE(tray, nullptr);
    tray->View()->EditNewText({300, 200});
    QTest::keyClicks(tray->View()->TitleEditor(), "Note");
    Answer({QMessageBox::No});
    EXPECT_TRUE(tray->close());
    EXPECT_EQ(asked, QStringList({"Save changes to t.rlp?"}));
}

TEST_F(MainFrameTest, WhatEveryWindowsEditorHoldsIsSavedAndAskedAbout) {
    ASSERT_TRUE(test::ShowActive(frame));
    const QString path = Write("t.rlp", "Attack: 1d20\n");
    ASSERT_NE(frame.OpenTray(path), nullptr);
    CTableView* second = frame.NewWindow()->View();
    second->EditNewText({300, 200});
    QTest::keyClicks(second->TitleEditor(), "Note");
    // Ctrl+S while the second window's editor has the focus; then closing
    // asks about the tray through its first window.
    frame.Action(cmd::kSave)->trigger();
    EXPECT_TRUE(test::ReadFile(path).contains("Note"));

    second->EditNewText({300, 260});
    QTest::keyClicks(second->TitleEditor(), "More");
    Answer({QMessageBox::Cancel});
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(asked, QStringList({"Save changes to t.rlp?"}));
}

TEST_F(MainFrameTest, SaveAsAsksBeforeReplacingTheFileWithItsExtension) {
    frame.show();
    const QString existing = Write("adventure.rlp", "kept");
    frame.NewTray()->View()->AddDiceAtFreeSpot(6, 1);
    names = {dir.filePath("adventure"), dir.filePath("other")};
    Answer({QMessageBox::No});
    frame.SaveAs();
    EXPECT_EQ(asked, QStringList({"adventure.rlp already exists. Do you want to replace it?"}));
    EXPECT_EQ(test::ReadFile(existing), "kept");
    EXPECT_TRUE(QFile::exists(dir.filePath("other.rlp")));

    // Open takes a name that does not exist by its button too: a new tray file.
    names = {dir.filePath("fresh.rlp")};
    frame.Open();
    EXPECT_EQ(buttonsEnabled, QList<bool>({true, true, true}));
    EXPECT_TRUE(QFile::exists(dir.filePath("fresh.rlp")));
}

TEST_F(MainFrameTest, TheSessionEndingAsksOnlyWhenItMayAndNeverSavesUnasked) {
    frame.show();
    CTableFrame* tray = frame.OpenTray(Write("s.rlp", "Attack: 1d20\n"));
    ASSERT_NE(tray, nullptr);
    tray->View()->EditNewText({300, 200});
    QTest::keyClicks(tray->View()->TitleEditor(), "Note");
    CSettings& settings = CRollpouchApp::Instance()->Settings();
    settings.SetOpenLast(true);
    settings.ClearOpenFileList();
    EXPECT_TRUE(frame.QueryEnd(false));
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_TRUE(tray->Document()->IsModified()); // the typed text, kept but not saved
    EXPECT_EQ(settings.ReadOpenFileList().paths, QStringList({dir.filePath("s.rlp")}));
    Answer({QMessageBox::Cancel});
    EXPECT_FALSE(frame.QueryEnd(true)); // Cancel stops the logout
    EXPECT_EQ(asked, QStringList({"Save changes to s.rlp?"}));
    settings.SetOpenLast(false);
}

TEST_F(MainFrameTest, TheCaptionNamesTheTrayOnceEvenDuringARoll) {
    frame.show();
    CTableFrame* tray = frame.OpenTray(Write("a.rlp", "Attack: 1d20\n"));
    ASSERT_NE(tray, nullptr);
    tray->showMaximized();
    QCoreApplication::processEvents();
    tray->View()->GetDocument()->GetCurrentState().SelectAll();
    tray->View()->RollAndShowTotal(); // no event is handled in between
    EXPECT_EQ(frame.windowTitle(), "Clattermat - [a.rlp *]");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(QGuiApplication::desktopFileName(), "rollpouch");
}

} // namespace
} // namespace rp
