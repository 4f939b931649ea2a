#include "commands.h"
#include "dice_group_painter.h"
#include "gui_test_main.h"
#include "main_frame.h"
#include "rollpouch_app.h"
#include "rollpouch_ctrl.h"
#include "sample_trays.h"
#include "settings.h"
#include "shown_menu_text.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"
#include "without_pictures.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace rp {
namespace {

// Accessible names of an interface's children.
QStringList ChildNames(QAccessibleInterface* parent) {
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        names.append(parent->child(i)->text(QAccessible::Name));
    return names;
}

// Runs `open`, which shows a pop-up menu, and chooses its entry `choice`.
void ChooseInPopup(const std::function<void()>& open, const QString& choice) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            poll.stop();
            for (QAction* entry : menu->actions())
                if (entry->text() == choice)
                    menu->setActiveAction(entry);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    poll.start(5);
    open();
}

// A shown, active main window with the small tray, its roll log shown.
class FrameKeyboardTest : public test::WithoutDiePictures {
protected:
    void SetUp() override {
        WithoutDiePictures::SetUp();
        CRollpouchApp::Instance()->Settings().SetDelayRoll(0);
        ASSERT_TRUE(test::ShowActive(frame));
        tray = frame.NewTray();
        State().ReadTrayXml(test::kSmallTray, false, true);
        tray->Document()->UpdateAllViews();
        frame.RollLogDock()->show();
        View().setFocus();
    }
    CDocState& State() { return tray->Document()->GetCurrentState(); }
    CTableView& View() { return *tray->View(); }
    CRollpouchCtrl& Bar() { return *frame.DieBar(); }
    static void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    // The side count of the die added last, and how many entities the tray holds.
    std::pair<int, std::size_t> Newest() {
        const auto& group = dynamic_cast<const CDiceGroupPainter&>(*State().Entities().front());
        return {group.PainterAt(0).GetSideCount(), State().Entities().size()};
    }

    CMainFrame frame{*CRollpouchApp::Instance()};
    CTableFrame* tray = nullptr;
};

TEST(CommandTextTest, MenusShowTheTableTextWithTheKeyAsTheShortcut) {
    const CCommands commands([] { return std::vector<ICommandTarget*>{}; });
    for (const CommandInfo& info : CommandTable())
        EXPECT_EQ(test::ShownMenuText(*commands.Action(info.id)), info.text) << info.id;
}

TEST_F(FrameKeyboardTest, SpaceAndDeleteReachTheViewAndTheStatusLabelReadsTheTotal) {
    struct KeyLog : QObject {
        QList<int> keys;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress)
                keys.append(static_cast<QKeyEvent*>(event)->key());
            return false;
        }
    } log;
    View().installEventFilter(&log);
    State().SelectNone();
    State().Entities()[0]->SetSelected(true);
    tray->Document()->UpdateAllViews();
    // In a menu opened from the keyboard they are the menu's.
    QTest::keyClick(&frame, Qt::Key_E, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Delete);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(State().Entities().size(), 3u);
    View().setFocus();

    Press(Qt::Key_Space);
    Press(Qt::Key_Delete);
    EXPECT_EQ(log.keys, QList<int>({Qt::Key_Space, Qt::Key_Delete}));
    EXPECT_TRUE(frame.MessageText().startsWith("Total: "));
    EXPECT_EQ(State().Entities().size(), 2u);

    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(frame.statusBar());
    EXPECT_TRUE(ChildNames(status).contains(frame.MessageText()));
}

TEST_F(FrameKeyboardTest, F6GoesFromTheTrayToTheDieBarToTheLogAndSkipsHiddenOnes) {
    QWidget* view = &View();
    QWidget* bar = &Bar();
    QWidget* log = frame.RollLogText();
    const struct {
        bool back;
        QWidget* next;
    } steps[] = {{false, bar}, {false, log}, {false, view}, {true, log}, {true, bar}, {true, view}};
    for (const auto& [back, next] : steps) {
        Press(Qt::Key_F6, back ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(QApplication::focusWidget(), next) << back;
    }
    frame.DieBarDock()->hide();
    Press(Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), log);
    Press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), view);
}

TEST_F(FrameKeyboardTest, TheDieBarIsAToolBarOfDieButtons) {
    // Names and descriptions are read over AT-SPI (tests/a11y).
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&Bar());
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    QAccessibleInterface* d8 = bar->child(2);
    EXPECT_EQ(d8->text(QAccessible::Name), "8-sided die");
    EXPECT_EQ(bar->indexOfChild(d8), 2);
    EXPECT_EQ(bar->childAt(d8->rect().center().x(), d8->rect().center().y()), d8);
    d8->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Newest(), std::pair(8, std::size_t(4)));

    Bar().setFocus();
    Bar().Choose(5);
    ASSERT_EQ(bar->focusChild(), bar->child(5));
    EXPECT_TRUE(bar->focusChild()->state().focused);
}

TEST_F(FrameKeyboardTest, TheDieBarChoosesByArrowsAddsByEnterAndSpaceAndOpensItsMenu) {
    const QImage unfocused = Bar().grab().toImage();
    Bar().setFocus();
    EXPECT_NE(Bar().grab().toImage(), unfocused); // the chosen die's frame

    const struct {
        int key;
        int chosen;
    } moves[] = {{Qt::Key_Up, 0},   {Qt::Key_Down, 1}, {Qt::Key_Right, 2}, {Qt::Key_End, 6},
                 {Qt::Key_Down, 6}, {Qt::Key_Home, 0}, {Qt::Key_Down, 1}};
    for (const auto& [key, chosen] : moves) {
        QTest::keyClick(&Bar(), Qt::Key(key));
        EXPECT_EQ(Bar().Chosen(), chosen) << key;
    }
    QTest::keyClick(&Bar(), Qt::Key_Return);
    EXPECT_EQ(Newest(), std::pair(6, std::size_t(4)));
    QTest::keyClick(&Bar(), Qt::Key_Down);
    QTest::keyClick(&Bar(), Qt::Key_Space);
    EXPECT_EQ(Newest(), std::pair(8, std::size_t(5)));
    ChooseInPopup([this] { QTest::keyClick(&Bar(), Qt::Key_Menu); }, "Add 2");
    EXPECT_EQ(Newest(), std::pair(8, std::size_t(7)));
    QTest::keyClick(&Bar(), Qt::Key_Up);
    ChooseInPopup([this] { QTest::keyClick(&Bar(), Qt::Key_F10, Qt::ShiftModifier); }, "Add 1");
    EXPECT_EQ(Newest(), std::pair(6, std::size_t(8)));
}

} // namespace
} // namespace rp
