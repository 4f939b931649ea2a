#include "commands.h"
#include "flat_spin_button_ctrl.h"
#include "gui_test_main.h"
#include "mod_spin_button_ctrl.h"
#include "random_source.h"
#include "shown_tray_view.h"
#include "table_doc.h"
#include "table_view.h"
#include "title_edit.h"
#include "without_pictures.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace rp {
namespace {

// A fake shell host that also keeps, after each pass of a roll, a hash of
// the window's pixels as the screen shows them. Ten milliseconds pass at
// every look at its clock: a roll of 500 ms makes its passes however slow
// the machine.
struct FrameRecordingHost : test::FakeShellHost {
    FrameRecordingHost() { tick = std::chrono::milliseconds(10); }
    void RepaintActiveView() override {
        FakeShellHost::RepaintActiveView();
        if (!window)
            return;
        const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
        frames.insert(qHashBits(shown.constBits(), std::size_t(shown.sizeInBytes())));
    }
    QWidget* window = nullptr;
    std::set<std::size_t> frames;
};

// The shown view of the small tray, without die pictures, with the focus.
class TableViewTest : public test::ShownTrayView<test::WithoutDiePictures, FrameRecordingHost> {
protected:
    void SetUp() override {
        ShownTrayView::SetUp();
        view.setFocus();
    }
    std::vector<bool> Selection() {
        std::vector<bool> selected;
        for (const auto& entity : State().Entities())
            selected.push_back(entity->IsSelected());
        return selected;
    }
    QPoint Centre(int i) { return Entity(i).GetCenter(); }
    QWidget* Port() { return view.viewport(); }
    void Press(QPoint at, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(Port(), Qt::LeftButton, keys, at);
    }
    // Straight to the view, wherever the point is (QTest moves the cursor);
    // the left button held, as in a drag, unless told otherwise.
    void Move(QPoint to, Qt::MouseButtons buttons = Qt::LeftButton) {
        QMouseEvent event(QEvent::MouseMove, to, Port()->mapToGlobal(to), Qt::NoButton, buttons,
                          {});
        QCoreApplication::sendEvent(Port(), &event);
    }
    void Release(QPoint at, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseRelease(Port(), Qt::LeftButton, keys, at);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {}) {
        Press(from, keys);
        Move(to);
        Release(to, keys);
    }
    QImage Picture() { return Port()->grab().toImage(); }
};

TEST_F(TableViewTest, ClicksSelectAndSmallMovesAreNoDrag) {
    State().SelectAll();
    Press(Centre(1));
    EXPECT_EQ(Selection(), std::vector<bool>({true, true, true})); // the whole selection stays
    Move(Centre(1) + QPoint(5, 0));
    Release(Centre(1) + QPoint(5, 0));
    EXPECT_EQ(Selection(), std::vector<bool>({false, true, false}));
    EXPECT_TRUE(doc.GetUndoLabels().isEmpty());

    // 5.1 units is a drag; snapping to its own place keeps it where it was.
    const CRect before = Entity(1).GetBodyRect();
    Drag(Centre(1), Centre(1) + QPoint(5, 1));
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Move"}));
    EXPECT_EQ(Entity(1).GetBodyRect(), before);

    // Ctrl deselects and starts no drag.
    Drag(Centre(1), Centre(1) + QPoint(60, 90), Qt::ControlModifier);
    EXPECT_EQ(Selection(), std::vector<bool>({false, false, false}));
    EXPECT_EQ(doc.GetUndoLabels().size(), 1);
}

TEST_F(TableViewTest, HoveringADiceGroupTellsItsOdds) {
    const auto hover = [this](QPoint trayPoint) {
        const QPoint at = view.ToViewport(trayPoint);
        QHelpEvent help(QEvent::ToolTip, at, Port()->mapToGlobal(at));
        QCoreApplication::sendEvent(Port(), &help);
        return help.isAccepted();
    };
    view.verticalScrollBar()->setValue(20);
    // At once what is cheap, then, in place, the odds once worked out, then
    // at once from memory.
    const struct {
        int group;
        const char* first;
        const char* known;
    } cases[] = {
        {0, "1d20+5: mean 15.50, 6 to 25; working out the odds", "1d20+5: mean 15.50, 6 to 25"},
        {1, "1/2x2d6+1, ignore lowest 1: 1 to 4; working out the odds",
         "1/2x2d6+1, ignore lowest 1: mean 2.78, 1 to 4"},
        {0, "1d20+5: mean 15.50, 6 to 25", "1d20+5: mean 15.50, 6 to 25"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(hover(Centre(c.group)));
        EXPECT_EQ(QToolTip::text(), c.first);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == c.known; }, 60000)) << c.known;
    }
    EXPECT_FALSE(hover(Centre(2))); // a text
    EXPECT_FALSE(hover({600, 20}));
}

TEST_F(TableViewTest, PaintsTheTrayColourWithContrastingTextWhereScrolled) {
    view.resize(200, 150);
    view.horizontalScrollBar()->setValue(10);
    view.verticalScrollBar()->setValue(100);
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(0, 128, 0)); // the tray's colour, dark: white text
    const QPoint origin = view.ToTray({0, 0});              // scrolled as far as the tray goes
    ASSERT_EQ(origin.x(), 10);
    const CRect text = Entity(2).GetBoundingRect().Offset(-origin.x(), -origin.y());
    int white = 0;
    for (int y = text.top; y < text.bottom && y < picture.height(); ++y)
        for (int x = std::max(text.left, 0); x < text.right; ++x)
            white += picture.pixelColor(x, y).lightness() > 200;
    EXPECT_GT(white, 10);
}

TEST_F(TableViewTest, RubberBandsSelectByCentres) {
    // Damage's body spans x 118 .. 252; its centre is at x 185.
    struct Case {
        QPoint from, to;
        Qt::KeyboardModifiers keys;
        std::vector<bool> expected;
    } cases[] = {
        {{100, 0}, {180, 150}, {}, {false, false, false}},               // centre outside
        {{100, 0}, {300, 150}, Qt::ShiftModifier, {true, true, false}},  // adds to Attack
        {{1, 1}, {300, 150}, Qt::ControlModifier, {false, true, false}}, // inverts both
        {{1, 150}, {200, 260}, {}, {false, false, true}},                // plain: only the text
    };
    for (const Case& c : cases) {
        State().SelectNone();
        Entity(0).SetSelected(true);
        Drag(c.from, c.to, c.keys);
        EXPECT_EQ(Selection(), c.expected) << c.to.x() << "," << c.to.y();
    }
}

TEST_F(TableViewTest, DragSnapsToANeighbourAndMergesOntoAGroup) {
    // Attack's body (left 8) dragged to 7 units right of Damage's left edge (118).
    const QPoint start = Centre(0), drop = start + QPoint(117, 150);
    Press(start);
    Move(drop);
    const QImage picture = Picture();
    const QColor guide = QGuiApplication::palette().color(QPalette::Highlight);
    int guidePixels = 0;
    for (int y = 100; y < 170; ++y)
        guidePixels += picture.pixelColor(118, y) == guide;
    EXPECT_GT(guidePixels, 20); // a dotted line down from Damage's corner
    Release(drop);
    EXPECT_EQ(Entity(0).GetBodyRect().left, 118);

    doc.Undo(1);
    Press(Centre(0));
    Move(Centre(1));
    EXPECT_EQ(Picture().pixelColor(Entity(1).GetBoundingRect().left, Centre(1).y()),
              QColor(0, 255, 0));
    Release(Centre(1));
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Group"}));
    ASSERT_EQ(State().Entities().size(), 2u);
    EXPECT_EQ(Group(0).GetCount(), 3);
}

TEST_F(TableViewTest, PendingDieStaysUntilDroppedInsideOrCancelled) {
    view.SetPendingDie(6);
    Move({-20, 50});
    Release({-20, 50});
    EXPECT_EQ(view.GetPendingDie(), 6);
    Move({300, 300});
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.GetPendingDie(), 0);
    EXPECT_EQ(State().Entities().size(), 3u);

    view.SetPendingDie(20);
    Move({400, 320});
    Release({400, 320});
    EXPECT_EQ(view.GetPendingDie(), 0);
    const auto& added = Group(0);
    EXPECT_EQ(added.PainterAt(0).GetSideCount(), 20);
    EXPECT_EQ(added.PainterAt(0).GetPosition(), QPoint(400, 320));
}

TEST_F(TableViewTest, TitleEditorCommitsOnEnterAndDiscardsOnEscape) {
    CRect title = Group(1).GetTitleRect();
    const QPoint onTitle = title.TopLeft() + QPoint(4, 4);
    QTest::mouseClick(Port(), Qt::LeftButton, {}, onTitle);
    ASSERT_TRUE(view.TitleEditor()->isVisible());
    EXPECT_EQ(view.TitleEditor()->text(), "Damage");
    QTest::keyClicks(view.TitleEditor(), "Escape me");
    QTest::keyClick(view.TitleEditor(), Qt::Key_Escape);
    EXPECT_FALSE(view.TitleEditor()->isVisible());
    EXPECT_TRUE(doc.GetUndoLabels().isEmpty());

    QTest::mouseClick(Port(), Qt::LeftButton, {}, onTitle);
    QTest::keyClicks(view.TitleEditor(), "Sword");
    QTest::keyClick(view.TitleEditor(), Qt::Key_Return);
    EXPECT_TRUE(view.hasFocus());
    EXPECT_EQ(Group(1).GetTitle(), "Sword");
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Title"}));

    // A text in a small font: the editor is still 16 high and at least 80 wide.
    const QFont font = QGuiApplication::font();
    QFont small = font;
    small.setPixelSize(9);
    QGuiApplication::setFont(small);
    QTest::mouseClick(Port(), Qt::LeftButton, {}, Centre(2));
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_EQ(view.TitleEditor()->height(), CTableView::kMinEditorHeight);
    EXPECT_GE(view.TitleEditor()->width(), 80);
    EXPECT_EQ(view.TitleEditor()->text(), "Round 1");
    view.CancelGesture();
    QGuiApplication::setFont(font);
}

TEST_F(TableViewTest, ModifierEditorStepsWithinRangeAndTakesAnyTypedValue) {
    auto& damage = Group(1);
    damage.SetModifier(100);
    const QPoint box = damage.GetModifierBox().Center();
    QTest::mouseClick(Port(), Qt::LeftButton, {}, box);
    CModSpinButtonCtrl* editor = view.ModifierEditor();
    ASSERT_TRUE(editor->isVisible());
    CFlatSpinButtonCtrl* spin = editor->SpinButton();
    ASSERT_TRUE(spin->isVisible());
    EXPECT_EQ(spin->geometry().right() + 1, editor->geometry().left()); // on its left
    EXPECT_EQ(editor->text(), "100");

    QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(spin->grab().toImage().pixelColor(3, 2), QColor(127, 127, 127)); // pressed half
    EXPECT_EQ(spin->grab().toImage().pixelColor(3, spin->height() - 3), QColor(Qt::white));
    QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_EQ(editor->text(), "100");
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(7, spin->height() - 3));
    EXPECT_EQ(editor->text(), "99");

    editor->selectAll();
    QTest::keyClicks(editor, "250");
    QTest::mouseClick(Port(), Qt::LeftButton, {}, {600, 400}); // focus leaves the editor
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(damage.GetModifier(), 100); // the old state; the new one holds 250
    EXPECT_EQ(Group(1).GetModifier(), 250);
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Set Modifier"}));
}

TEST_F(TableViewTest, AddedDiceFindFreeSpotsAndGridsAndCountsAreRecorded) {
    doc.ResetContents();
    view.AddDiceAtFreeSpot(6, 1);
    view.AddDiceAtFreeSpot(6, 1);
    ASSERT_EQ(State().Entities().size(), 2u);
    EXPECT_EQ(Group(1).PainterAt(0).GetPosition(), QPoint(65, 65));
    EXPECT_EQ(Group(0).PainterAt(0).GetPosition(), QPoint(175, 65));

    // A squeezed view: the search still ends.
    view.resize(20, 300);
    view.AddDiceAtFreeSpot(8, 4);
    EXPECT_EQ(State().Entities().size(), 6u);

    doc.ResetContents();
    view.SetPendingDie(6);
    view.AddDiceAtPoint({500, 500}, 4);
    std::set<std::pair<int, int>> positions;
    for (const auto& entity : State().Entities()) {
        const QPoint p = dynamic_cast<CDiceGroupPainter&>(*entity).PainterAt(0).GetPosition();
        positions.insert({p.x(), p.y()});
    }
    EXPECT_EQ(positions,
              (std::set<std::pair<int, int>>{{445, 445}, {555, 445}, {445, 555}, {555, 555}}));

    const std::pair<int, std::array<int, 3>> counts[] = {
        {7, {7, 4, 3}}, {4, {4, 7, 3}}, {2, {4, 7, 3}}, {4, {4, 7, 3}}, {5, {5, 4, 7}}};
    for (const auto& [count, expected] : counts) {
        view.AddDiceAtFreeSpot(4, count);
        EXPECT_EQ(view.GetAddCounts(), expected) << count;
    }
}

TEST_F(TableViewTest, RollsAnimateThenShowTheTotal) {
    State().SelectAll();
    QSignalSpy status(&view, &CTableView::statusMessage);
    host.window = &view;
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_EQ(host.repaints, 1); // no delay: one pass
    host.delay = 500;
    random_source::Seed(3);
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_GE(host.repaints, 40);
    EXPECT_GE(host.frames.size(), 20u); // the faces change on screen
    int sum = 0;
    for (CDiceGroupPainter* group : State().GetSelectedGroups())
        sum += group->GetTotal();
    ASSERT_EQ(status.count(), 2);
    EXPECT_EQ(status.last().at(0).toString(), QString("Total: %1").arg(sum));
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Roll", "Roll"}));
}

TEST_F(TableViewTest, CountedSuccessesAreShownApartFromTheTotal) {
    QSignalSpy status(&view, &CTableView::statusMessage);
    // Counting at 1+, the attack's d20 always makes one success, plus its
    // modifier of 5; the damage (entity 1) sums.
    const struct {
        bool attackCounts;
        std::vector<int> selected;
        QString expected; // %1: the damage's total
    } rows[] = {
        {true, {0, 1}, "Total: %1, successes: 6"},
        {true, {0}, "Successes: 6"},
        {false, {1}, "Total: %1"},
    };
    for (const auto& row : rows) {
        Group(0).SetCountAtLeast(row.attackCounts ? 1 : 0);
        State().SelectNone();
        for (const int i : row.selected)
            Entity(i).SetSelected(true);
        view.RollAndShowTotal();
        EXPECT_EQ(status.last().at(0).toString(), row.expected.arg(Group(1).GetTotal()));
    }
}

TEST_F(TableViewTest, GesturesOutsideScrollByNineUnits) {
    view.resize(200, 150);
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 30);
    Press({190, 140});
    Move({230, 100}); // right of the client area
    Move({235, 100});
    EXPECT_EQ(view.horizontalScrollBar()->value(), 2 * CTableView::kAutoScrollStep);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    Release({235, 100});
}

TEST_F(TableViewTest, ClickOnATextOverATitleEditsNothing) {
    // A text lying over Damage's title: a click selects the text and opens no
    // group editor, so the text cannot be replaced by a title.
    const CRect title = Group(1).GetTitleRect();
    doc.PushState().AddText("Note", title.left + 2, title.top + 2);
    doc.EndEdit();
    QTest::mouseClick(Port(), Qt::LeftButton, {}, title.TopLeft() + QPoint(4, 4));
    EXPECT_FALSE(view.TitleEditor()->isVisible());
    EXPECT_EQ(Selection(), std::vector<bool>({true, false, false, false}));
}

TEST_F(TableViewTest, AGestureWhoseReleaseIsLostEndsWithoutAStep) {
    // Attack dragged over Damage: a release there would merge them.
    const std::pair<const char*, std::function<void()>> interruptions[] = {
        {"moved with the button up", [&] { Move(Centre(1), Qt::NoButton); }},
        {"right press",
         [&] {
             QTest::mousePress(Port(), Qt::RightButton, {}, Centre(1));
             QTest::mouseRelease(Port(), Qt::RightButton, {}, Centre(1));
         }},
        {"a popup takes the focus",
         [&] {
             QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
             QCoreApplication::sendEvent(&view, &out);
         }},
        {"pressed anew", [&] { Press(Centre(1)); }},
        {"selection changed", [&] { view.OnCommand(cmd::kSelectAll); }},
    };
    for (const auto& [name, interrupt] : interruptions) {
        State().SelectNone();
        Press(Centre(0));
        Move(Centre(1));
        interrupt();
        Release(Centre(1));
        Press(Centre(1)); // the next click only selects
        Release(Centre(1));
        EXPECT_TRUE(doc.GetUndoLabels().isEmpty()) << name;
        EXPECT_EQ(State().Entities().size(), 3u) << name;
    }
    // Delete mid-drag deletes, and the release over Damage leaves it whole.
    Press(Centre(0));
    Move(Centre(1));
    QTest::keyClick(&view, Qt::Key_Delete);
    Release(Centre(1));
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Delete"}));
    EXPECT_EQ(Group(0).GetIgnoreCount(), 1);
}

TEST_F(TableViewTest, EachEditorEditsWhatItWasOpenedFor) {
    // The modifier editor commits to Damage before the selection changes.
    for (const int command : {cmd::kSelectAll, cmd::kSelectNone, cmd::kInvertSelection}) {
        QTest::mouseClick(Port(), Qt::LeftButton, {}, Group(1).GetModifierBox().Center());
        ASSERT_TRUE(view.ModifierEditor()->isVisible());
        view.ModifierEditor()->setText("7");
        view.OnCommand(command);
        EXPECT_EQ(Group(0).GetModifier(), 5) << command;
        EXPECT_EQ(Group(1).GetModifier(), 7) << command;
        doc.Undo(1);
    }
    // A context menu ends text placement: no editor opens on the next release.
    view.OnCommand(cmd::kAddText);
    QTest::mousePress(Port(), Qt::RightButton, {}, {600, 400});
    QContextMenuEvent menu(QContextMenuEvent::Mouse, {600, 400},
                           Port()->mapToGlobal(QPoint(600, 400)));
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QCoreApplication::sendEvent(Port(), &menu);
    Release({600, 400});
    EXPECT_FALSE(view.TitleEditor()->isVisible());
    // A new text's editor only ever adds a text, whatever is selected meanwhile.
    view.EditNewText({400, 300});
    QTest::keyClicks(view.TitleEditor(), "Note");
    Entity(1).SetSelected(true);
    view.CommitTitleEdit();
    EXPECT_EQ(doc.GetUndoLabels(), QStringList({"Add Text"}));
    EXPECT_EQ(Group(2).GetTitle(), "Damage");
}

TEST_F(TableViewTest, EditorsOpenInViewAndTheirArrowsStopWhenHidden) {
    view.resize(200, 150);
    Entity(2).SetSelected(true);
    view.verticalScrollBar()->setValue(0);
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    QTest::keyClick(&view, Qt::Key_Space); // the text, below and left of the client area
    ASSERT_TRUE(view.TitleEditor()->isVisible());
    EXPECT_TRUE(Port()->rect().contains(view.TitleEditor()->geometry()));
    view.CancelGesture();

    // Enter while an arrow is held: the repeat ends with the editor.
    view.resize(640, 480);
    const auto box = [&] { return view.ToViewport(Group(1).GetModifierBox().Center()); };
    QTest::mouseClick(Port(), Qt::LeftButton, {}, box());
    CFlatSpinButtonCtrl* spin = view.ModifierEditor()->SpinButton();
    QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(7, 3));
    QTest::keyClick(view.ModifierEditor(), Qt::Key_Return);
    QTest::mouseClick(Port(), Qt::LeftButton, {}, box());
    ASSERT_TRUE(view.ModifierEditor()->isVisible());
    EXPECT_FALSE(spin->IsRepeating());
    EXPECT_EQ(view.ModifierEditor()->text(), "1");
}

TEST_F(TableViewTest, APendingDieEndsCleanly) {
    const QImage plain = Picture();
    // After its menu (asked for outside the view, where none opens) the die
    // is no longer drawn, and the next move ends it.
    view.SetPendingDie(6);
    Move({300, 300}, Qt::NoButton);
    EXPECT_NE(Picture(), plain);
    view.ShowContextMenu({-5, -5});
    EXPECT_EQ(Picture(), plain);
    // A die brought in meanwhile is not ended by that mark.
    view.SetPendingDie(8);
    Move({310, 300}, Qt::NoButton);
    EXPECT_EQ(view.GetPendingDie(), 8);
}

} // namespace
} // namespace rp
