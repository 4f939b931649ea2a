#include "add_count_dlg.h"
#include "dice_properties_dlg.h"
#include "die_picture_folder.h"
#include "gui_test_main.h"
#include "shown_tray_view.h"
#include "title_edit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace rp {
namespace {

// A menu as one line: "-" for a separator, "*" after the default entry, "!"
// after a disabled one, "+" after a checked one, a pop-up's entries in [].
QString Describe(const QMenu& menu) {
    QStringList entries;
    for (const QAction* a : menu.actions()) {
        QString text = a->isSeparator() ? "-" : a->text();
        if (a == menu.defaultAction())
            text += "*";
        if (!a->isEnabled())
            text += "!";
        if (a->isChecked())
            text += "+";
        if (a->menu())
            text += "[" + Describe(*a->menu()) + "]";
        entries.append(text);
    }
    return entries.join('|');
}

// The shown view of the small tray, titled "Tray". Die pictures from a
// folder of two colours: Alpha with d6 and d20, Beta with d6.
class TableViewMenusTest : public test::ShownTrayView<> {
protected:
    void SetUp() override {
        doc.SetTitle("Tray");
        ShownTrayView::SetUp();
    }
    void Select(std::initializer_list<int> entities) {
        State().SelectNone();
        for (const int i : entities)
            State().Entities()[std::size_t(i)]->SetSelected(true);
    }
    QString ContextMenu() {
        QMenu menu;
        view.BuildContextMenu(menu);
        return Describe(menu);
    }
    // Carries out the context menu's entry (or its pop-up's) with this text.
    void Choose(const QString& text) {
        QMenu menu;
        view.BuildContextMenu(menu);
        QList<QAction*> entries = menu.actions();
        for (const QAction* a : menu.actions())
            if (a->menu())
                entries += a->menu()->actions();
        for (const QAction* a : entries)
            if (a->text() == text)
                return (void)view.OnCommand(CommandOf(a));
        ADD_FAILURE() << "no entry " << text.toStdString();
    }

    test::CDiePictureFolder pictures{{{"Alpha", 20}, {"Alpha", 6}, {"Beta", 6}}};
};

TEST_F(TableViewMenusTest, ContextMenusFollowTheSelection) {
    Select({1});
    EXPECT_EQ(ContextMenu(), "Cut|Copy|Delete|-|Roll*|-|Group!|Ungroup|Increment Modifiers|"
                             "Decrement Modifiers|-|Properties...|-|Colors[Alpha|Beta]|-|"
                             "Ignore Lowest Die+|Ignore Highest Die");
    // One colour checks its entry, whatever its case; a d20 leaves out Beta.
    State().SetColors("beta");
    Select({0, 1});
    EXPECT_EQ(ContextMenu(), "Cut|Copy|Delete|-|Roll*|-|Group|Ungroup|Increment Modifiers|"
                             "Decrement Modifiers|-|Properties...|-|Colors[Alpha]");
    Choose("Alpha");
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Color (Alpha)"}));
    EXPECT_EQ(Group(1).PainterAt(0).GetColor(), "Alpha");
    Select({0});
    EXPECT_EQ(ContextMenu(), "Cut|Copy|Delete|-|Roll*|-|Group!|Ungroup!|Increment Modifiers|"
                             "Decrement Modifiers|-|Properties...|-|Colors[Alpha+]");

    State().AddText("Note", 300, 300); // in front: entities 0 and 3 are texts
    Select({0, 3});
    EXPECT_EQ(ContextMenu(), "Cut|Copy|Delete");
    Select({3});
    EXPECT_EQ(ContextMenu(), "Cut|Copy|Delete|-|Edit Text*");
    Select({});
    EXPECT_EQ(ContextMenu(), "Paste|-|Select All|-|Add &Text|-|Set Background Color...");
    view.SetPendingDie(6);
    EXPECT_EQ(ContextMenu(), "Add 1|Add 2|-|Add n...|-|Add 3|Add 4|Add 5|-|Cancel");
}

TEST_F(TableViewMenusTest, IgnoreLowestDieTogglesAndTheKeyboardOpensAtTheSelection) {
    Select({1});
    Choose("Ignore Lowest Die");
    EXPECT_EQ(Group(1).GetIgnoreCount(), 0);
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Ignore Count"}));

    const QPoint centre = view.ToViewport(Group(1).GetBoundingRect().Center());
    EXPECT_EQ(view.KeyboardMenuPoint(), centre);
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        shownAt = popup->pos();
        popup->close();
    });
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(shownAt, view.viewport()->mapToGlobal(centre));
}

TEST_F(TableViewMenusTest, IgnoreHighestDieTogglesBesideTheLowest) {
    Select({1});
    Choose("Ignore Highest Die");
    EXPECT_EQ(Group(1).GetIgnoreHighestCount(), 1);
    EXPECT_EQ(Group(1).GetIgnoreCount(), 1);
    EXPECT_TRUE(ContextMenu().endsWith("|Ignore Lowest Die+|Ignore Highest Die+"));
    Choose("Ignore Highest Die");
    EXPECT_EQ(Group(1).GetIgnoreHighestCount(), 0);
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Ignore Count", "Set Ignore Count"}));
}

TEST_F(TableViewMenusTest, PasteIsAStepAndItsRollAnother) {
    Select({0, 1});
    ASSERT_TRUE(view.OnCommand(cmd::kCopy));
    view.OnCommand(cmd::kPaste);
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Roll", "Paste"}));
    EXPECT_EQ(State().GetSelectedCount(), 2);
    EXPECT_EQ(State().Entities().size(), 5u);

    // Pasted at a point, the pasted block is centred on it.
    Select({4}); // the text, behind the pasted groups
    view.OnCommand(cmd::kCopy);
    Select({});
    view.SetPendingDie(0);
    QMouseEvent move(QEvent::MouseMove, QPointF(400, 300), QPointF(400, 300), Qt::NoButton,
                     Qt::NoButton, {});
    QCoreApplication::sendEvent(view.viewport(), &move);
    Choose("Paste");
    ASSERT_EQ(State().GetSelectedCount(), 1);
    EXPECT_EQ(State().GetSelectedEntities().front()->GetBoundingRect().Center(),
              view.ToTray({400, 300}));
    EXPECT_EQ(doc.GetUndoLabels().front(), "Paste"); // a text is not rolled

    // A paste that has to leave dice out says so.
    QGuiApplication::clipboard()->setText("<dicegroup>" + QString("<t>1000d6</t>").repeated(11) +
                                          "</dicegroup>");
    EXPECT_EQ(test::AnsweringMessages([&] { view.OnCommand(cmd::kPaste); }),
              QStringList({QString::fromLatin1(kDiceLeftOutText)}));
    EXPECT_EQ(doc.GetUndoLabels().mid(0, 2), QStringList({"Roll", "Paste"}));
}

TEST_F(TableViewMenusTest, EditCommandsActOnTheOpenTitleEditor) {
    Select({2});
    view.EditSelectedText(); // "Round 1", all of it selected
    CTitleEdit& editor = *view.TitleEditor();
    view.OnCommand(cmd::kCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Round 1");
    view.OnCommand(cmd::kSelectNone);
    EXPECT_FALSE(editor.hasSelectedText());
    EXPECT_EQ(editor.cursorPosition(), 0);
    editor.setSelection(5, 2);
    view.OnCommand(cmd::kDelete);
    EXPECT_EQ(editor.text(), "Round");
    view.OnCommand(cmd::kSelectAll);
    view.OnCommand(cmd::kPaste);
    EXPECT_EQ(editor.text(), "Round 1");
    EXPECT_TRUE(doc.GetUndoLabels().isEmpty()); // the tray is untouched meanwhile
    EXPECT_EQ(State().Entities().size(), 3u);
}

TEST_F(TableViewMenusTest, DialogsRecordOnlyWhatChanged) {
    // A title being typed is committed before the dialog shows it.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      Group(1).GetTitleRect().TopLeft() + QPoint(4, 4));
    QTest::keyClicks(view.TitleEditor(), "Sword");
    test::WithDialogs([&] { view.OnCommand(cmd::kProperties); },
                      [](QWidget* modal) {
                          auto* dlg = qobject_cast<CDicePropertiesDlg*>(modal);
                          ASSERT_NE(dlg, nullptr);
                          EXPECT_EQ(dlg->TitleEdit()->text(), "Sword");
                          dlg->reject();
                      });
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Title"}));
    doc.Undo(1);

    // Properties of two groups whose multipliers and ignore counts differ:
    // only the title and two rules are new, in one step.
    Select({0, 1});
    test::WithDialogs([&] { view.OnCommand(cmd::kProperties); },
                      [](QWidget* modal) {
                          auto* dlg = qobject_cast<CDicePropertiesDlg*>(modal);
                          ASSERT_NE(dlg, nullptr);
                          EXPECT_EQ(dlg->MultiplierEdit()->text(), "");
                          EXPECT_EQ(dlg->IgnoreLowestEdit()->text(), "");
                          EXPECT_EQ(dlg->ExplodeCheck()->checkState(), Qt::Unchecked);
                          dlg->TitleEdit()->setText("Both");
                          dlg->IgnoreHighestEdit()->setText("1");
                          dlg->ExplodeCheck()->setChecked(true);
                          dlg->accept();
                      });
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Properties"}));
    EXPECT_EQ(Group(0).GetTitle(), "Both");
    EXPECT_EQ(Group(1).GetTitle(), "Both");
    EXPECT_EQ(Group(1).GetMultiplierText(), "1/2");
    EXPECT_EQ(Group(0).GetModifier(), 5);
    for (const int i : {0, 1}) {
        EXPECT_EQ(Group(i).GetIgnoreCount(), i);
        EXPECT_EQ(Group(i).GetIgnoreHighestCount(), 1);
        EXPECT_TRUE(Group(i).GetExplode());
    }

    // "Add n..." from 30: the upper arrow stays there, 0 is refused, 2 is taken.
    view.SetPendingDie(4);
    view.AddDiceAtPoint({500, 400}, 30);
    view.SetPendingDie(4);
    QStringList steps;
    test::WithDialogs(
        [&] { view.OnCommand(cmd::kAddN); },
        [&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                steps.append(box->text());
                box->accept();
            } else if (auto* dlg = qobject_cast<CAddCountDlg*>(modal); dlg && steps.isEmpty()) {
                steps.append(dlg->CountEdit()->text());
                QTest::keyClick(dlg->CountEdit(), Qt::Key_Up);
                steps.append(dlg->CountEdit()->text());
                dlg->CountEdit()->setText("0");
                // Later: its message box is answered by this timer too.
                QMetaObject::invokeMethod(dlg, &QDialog::accept, Qt::QueuedConnection);
            } else if (dlg) {
                dlg->CountEdit()->setText("2");
                dlg->accept();
            }
        });
    EXPECT_EQ(steps, QStringList({"30", "30", "Please enter an integer between 1 and 30."}));
    EXPECT_EQ(doc.GetUndoLabels().front(), "Add 2 4-sided Dice");

    // The colour dialog starts from the tray's colour.
    test::WithDialogs([&] { view.OnCommand(cmd::kSetBackgroundColor); },
                      [](QWidget* modal) {
                          auto* dlg = qobject_cast<QColorDialog*>(modal);
                          ASSERT_NE(dlg, nullptr);
                          EXPECT_EQ(dlg->currentColor(), QColor(0, 128, 0));
                          dlg->setCurrentColor(QColor(200, 10, 10));
                          dlg->accept();
                      });
    EXPECT_EQ(doc.GetUndoLabels().front(), "Set Background Color");
    EXPECT_EQ(State().GetBackgroundColor(), QColor(200, 10, 10));
}

TEST_F(TableViewMenusTest, TheMiniTrayRollsItsOwnCopies) {
    view.OnCommand(cmd::kMiniClattermat);
    CMiniClattermatDlg* mini = view.MiniTray();
    ASSERT_NE(mini, nullptr);
    EXPECT_TRUE(mini->isVisible());
    EXPECT_EQ(mini->windowTitle(), "Mini Clattermat (Tray)");
    QListWidget* list = mini->GroupList();
    ASSERT_EQ(list->count(), 2);
    list->selectAll();
    const QByteArray before = view.GetTrayXml();
    mini->RollAction()->trigger();
    EXPECT_FALSE(mini->GetResultsText().isEmpty());
    EXPECT_EQ(view.GetTrayXml(), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.GetUndoLabels().isEmpty());

    // Launching a visible mini tray only focuses it; its update reloads.
    Select({0});
    view.DeleteSelected();
    view.OnCommand(cmd::kMiniClattermat);
    EXPECT_EQ(list->count(), 2);
    mini->UpdateAction()->trigger();
    EXPECT_EQ(list->count(), 1);
    EXPECT_TRUE(mini->GetResultsText().isEmpty());
    EXPECT_EQ(mini->windowTitle(), "Mini Clattermat (Tray *)");

    // Escape only hides it; launched again it is the same window, reloaded.
    doc.Undo(1);
    QTest::keyClick(mini, Qt::Key_Escape);
    EXPECT_FALSE(mini->isVisible());
    view.OnCommand(cmd::kMiniClattermat);
    EXPECT_EQ(view.MiniTray(), mini);
    EXPECT_TRUE(mini->isVisible());
    EXPECT_EQ(list->count(), 2);
}

} // namespace
} // namespace rp
