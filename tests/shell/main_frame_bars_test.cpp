#include "gui_test_main.h"
#include "main_frame.h"
#include "rollpouch_app.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "without_pictures.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <tuple>

namespace rp {
namespace {

// A main window made with cleared settings; dice added land without the
// roll's delay. The settings are cleared again afterwards.
class MainFrameBarsTest : public test::WithoutDiePictures {
protected:
    void SetUp() override {
        WithoutDiePictures::SetUp();
        QSettings().clear();
        Settings().SetDelayRoll(0);
        frame = std::make_unique<CMainFrame>(*CRollpouchApp::Instance());
    }
    void TearDown() override {
        frame.reset();
        QSettings().clear();
        WithoutDiePictures::TearDown();
    }
    static CSettings& Settings() { return CRollpouchApp::Instance()->Settings(); }
    static QStringList Entries(const QList<QAction*>& actions) {
        QStringList entries;
        for (const QAction* action : actions)
            entries.append(action->isSeparator() ? "|" : action->text().section('\t', 0, 0));
        return entries;
    }
    // Whether the dice toolbar and the roll log are hidden, and where the die bar is.
    using Layout = std::tuple<bool, bool, Qt::DockWidgetArea>;
    static Layout LayoutOf(const CMainFrame& window) {
        return {window.DiceToolBar()->isHidden(), window.RollLogDock()->isHidden(),
                window.dockWidgetArea(window.DieBarDock())};
    }
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameBarsTest, ToolbarsHoldTheirButtonsInOrderDockedAtTheTop) {
    EXPECT_EQ(Entries(frame->MainToolBar()->actions()),
              QStringList({"&New", "&Open...", "&Save", "|", "Cu&t", "&Copy", "&Paste", "Delete",
                           "|", "&Undo", "&Redo", "|", "Add &Text", "&Edit Text", "|",
                           "&About Clattermat..."}));
    EXPECT_EQ(Entries(frame->DiceToolBar()->actions()),
              QStringList({"Roll Selected", "|", "Group Selected", "Ungroup Selected", "|",
                           "Increment Modifier", "Decrement Modifier", "|", "Properties..."}));
    EXPECT_EQ(frame->toolBarArea(frame->DiceToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->DiceToolBar()->windowTitle(), "Dice");
}

TEST_F(MainFrameBarsTest, TheUndoDropDownListsNineStepsAndTakesBackSeveral) {
    frame->show();
    CTableView* view = frame->NewTray()->View();
    auto* undo =
        qobject_cast<QToolButton*>(frame->MainToolBar()->widgetForAction(frame->UndoAction()));
    ASSERT_EQ(undo->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(undo->toolTip(), "Undo"); // no step yet
    for (int i = 1; i <= 11; ++i)
        view->AddDiceAtFreeSpot(i % 2 ? 6 : 8, 1);
    EXPECT_EQ(undo->toolTip(), "Undo Add 6-sided Die");
    EXPECT_EQ(undo->statusTip(), "Undo Add 6-sided Die");
    emit undo->menu()->aboutToShow();
    const QList<QAction*> steps = undo->menu()->actions();
    ASSERT_EQ(steps.size(), 9);
    EXPECT_EQ(steps[1]->text(), "Add 8-sided Die");
    steps[2]->trigger();
    EXPECT_EQ(view->GetDocument()->GetRedoLabels().size(), 3);
    EXPECT_EQ(view->GetDocument()->GetCurrentState().Entities().size(), 8u);
}

TEST_F(MainFrameBarsTest, ViewTogglesShowAndHideTheirBarsWithCheckMarks) {
    frame->show();
    const QStringList view{"Main &Toolbar", "Dice Toolbar", "Rollpouch",
                           "&Status Bar",   "Roll Log",     "|",
                           "Properties..."};
    EXPECT_EQ(Entries(frame->CurrentMenus()[1]->actions()), view); // no tray
    frame->NewTray();
    EXPECT_EQ(Entries(frame->CurrentMenus()[2]->actions()), view);
    const QList<QAction*> dice = frame->CurrentMenus()[3]->actions();
    EXPECT_EQ(Entries(dice.mid(dice.size() - 2)), QStringList({"|", "&Odds..."}));

    const struct {
        QAction* toggle;
        QWidget* bar;
    } toggles[] = {
        {frame->Action(cmd::kMainToolbar), frame->MainToolBar()},
        {frame->Action(cmd::kDiceToolbar), frame->DiceToolBar()},
        {frame->Action(cmd::kDieBar), frame->DieBarDock()},
        {frame->Action(cmd::kStatusBar), frame->statusBar()},
        {frame->RollLogAction(), frame->RollLogDock()},
    };
    for (const auto& [toggle, bar] : toggles) {
        frame->Commands().UpdateAll();
        const bool shown = bar->isVisible();
        EXPECT_EQ(toggle->isChecked(), shown) << bar->objectName().toStdString();
        for (const bool expected : {!shown, shown}) {
            toggle->trigger();
            EXPECT_EQ(bar->isVisible(), expected) << toggle->text().toStdString();
            EXPECT_EQ(toggle->isChecked(), expected) << toggle->text().toStdString();
        }
    }
}

TEST_F(MainFrameBarsTest, TheBarLayoutComesBackAndADamagedOneChangesNothing) {
    const Layout defaults{false, true, Qt::RightDockWidgetArea};
    EXPECT_EQ(LayoutOf(*frame), defaults);
    frame->show();
    frame->DiceToolBar()->hide();
    frame->RollLogDock()->show();
    frame->addDockWidget(Qt::LeftDockWidgetArea, frame->DieBarDock());
    ASSERT_TRUE(frame->close());
    const QByteArray stored = Settings().GetBarState();
    EXPECT_EQ(LayoutOf(CMainFrame(*CRollpouchApp::Instance())),
              Layout(true, false, Qt::LeftDockWidgetArea));

    for (const QByteArray& damaged : {QByteArray("not a layout"), stored.left(stored.size() / 2)}) {
        Settings().SetBarState(damaged);
        EXPECT_EQ(LayoutOf(CMainFrame(*CRollpouchApp::Instance())), defaults) << damaged.size();
    }
}

TEST_F(MainFrameBarsTest, NewWindowShowsTheTrayAgainNumbered) {
    frame->show();
    CTableFrame* first = frame->NewTray();
    CTableFrame* second = frame->NewWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Document(), first->Document());
    EXPECT_EQ(first->windowTitle(), "Rollpouch1:1");
    EXPECT_EQ(second->windowTitle(), "Rollpouch1:2");
    second->View()->AddDiceAtFreeSpot(4, 1);
    EXPECT_EQ(first->windowTitle(), "Rollpouch1:1 *");

    second->close(); // not the tray's last window: nothing is asked
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(first->windowTitle(), "Rollpouch1 *");
}

} // namespace
} // namespace rp
