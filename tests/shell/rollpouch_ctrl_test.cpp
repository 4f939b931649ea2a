#include "dice_group_painter.h"
#include "die_picture_folder.h"
#include "gui_test_main.h"
#include "main_frame.h"
#include "rollpouch_app.h"
#include "rollpouch_ctrl.h"
#include "sample_trays.h"
#include "table_doc.h"
#include "table_frame.h"
#include "table_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace rp {
namespace {

// The main window with its die bar, over a picture folder of two colours:
// "Full" has a picture of every die, "Partial" none of the d100. Settings
// start cleared: the first tray window is maximised.
class DieBarTest : public ::testing::Test {
protected:
    static std::vector<std::pair<QString, int>> Pictures() {
        std::vector<std::pair<QString, int>> pictures;
        for (const int sides : CRollpouchCtrl::kSideCounts) {
            pictures.emplace_back("Full", sides);
            if (sides != 100)
                pictures.emplace_back("Partial", sides);
        }
        return pictures;
    }
    void SetUp() override {
        QSettings().clear();
        frame = std::make_unique<CMainFrame>(*CRollpouchApp::Instance());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    CRollpouchCtrl& Bar() { return *frame->DieBar(); }
    QPoint Centre(int die) { return Bar().Die(die).GetPosition(); }
    CTableView* NewTray() {
        CTableView* view = frame->NewTray()->View();
        QCoreApplication::processEvents();
        return view;
    }
    static const CDocState& State(const CTableView* view) {
        return view->GetDocument()->GetCurrentState();
    }
    static const CDiceGroupPainter& Group(const CTableView* view, std::size_t index) {
        return dynamic_cast<const CDiceGroupPainter&>(*State(view).Entities().at(index));
    }

    test::CDiePictureFolder pictures{Pictures()};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(DieBarTest, AClickAddsAtTheFirstFreeBlockAndAPressReleasedElsewhereAddsNothing) {
    QTest::mousePress(&Bar(), Qt::LeftButton, {}, Centre(1));
    EXPECT_EQ(Bar().Pressed(), -1); // no tray: the left button does nothing
    QTest::mouseRelease(&Bar(), Qt::LeftButton, {}, Centre(1));

    CTableView* view = NewTray();
    QTest::mouseClick(&Bar(), Qt::LeftButton, {}, Centre(1));
    ASSERT_EQ(State(view).Entities().size(), 1u);
    EXPECT_EQ(Group(view, 0).PainterAt(0).GetSideCount(), 6);
    EXPECT_EQ(Group(view, 0).PainterAt(0).GetPosition(), QPoint(65, 65));
    EXPECT_EQ(view->GetPendingDie(), 0);

    QTest::mousePress(&Bar(), Qt::LeftButton, {}, Centre(0));
    EXPECT_EQ(view->GetPendingDie(), 4);
    QTest::mouseMove(&Bar(), Centre(2));
    QTest::mouseRelease(&Bar(), Qt::LeftButton, {}, Centre(2));
    EXPECT_EQ(State(view).Entities().size(), 1u);
    EXPECT_EQ(view->GetPendingDie(), 0);
}

TEST_F(DieBarTest, ADragCarriesTheDieIntoTheViewForEitherButton) {
    CTableView* view = NewTray();
    CDocState& state = view->GetDocument()->GetCurrentState();
    state.ReadTrayXml(test::kSmallTray, false, true);
    view->GetDocument()->UpdateAllViews();
    // Where tray point p lies, in the bar's coordinates.
    const auto over = [&](QPoint p) {
        return Bar().mapFromGlobal(view->viewport()->mapToGlobal(view->ToViewport(p)));
    };
    // Left: the d20 follows the pointer and drops onto "Damage" (d6 at 150, 60).
    QTest::mousePress(&Bar(), Qt::LeftButton, {}, Centre(5));
    QTest::mouseMove(&Bar(), over({300, 300}));
    EXPECT_EQ(Bar().Pressed(), -1); // the bar forgets the press once the pointer has left it
    EXPECT_EQ(view->GetCurrentPoint(), QPoint(300, 300));
    QTest::mouseMove(&Bar(), over({150, 60}));
    QTest::mouseRelease(&Bar(), Qt::LeftButton, {}, over({150, 60}));
    EXPECT_EQ(view->GetPendingDie(), 0);
    const auto& damage = Group(view, 1);
    ASSERT_EQ(damage.GetTitle(), "Damage");
    ASSERT_EQ(damage.GetCount(), 3);
    int d20s = 0;
    for (std::size_t i = 0; i < 3; ++i)
        d20s += damage.PainterAt(i).GetSideCount() == 20;
    EXPECT_EQ(d20s, 1);

    // Right: the view is asked for its menu where the button comes up.
    QList<QPoint> requests;
    struct Recorder : QObject {
        QList<QPoint>* requests;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() != QEvent::ContextMenu)
                return false;
            requests->append(static_cast<QContextMenuEvent*>(event)->pos());
            return true;
        }
    } recorder;
    recorder.requests = &requests;
    view->viewport()->installEventFilter(&recorder);
    QTest::mousePress(&Bar(), Qt::RightButton, {}, Centre(2));
    EXPECT_EQ(view->GetPendingDie(), 8);
    QTest::mouseMove(&Bar(), over({400, 300}));
    QTest::mouseRelease(&Bar(), Qt::RightButton, {}, over({400, 300}));
    EXPECT_EQ(requests, QList<QPoint>{view->ToViewport({400, 300})});
    EXPECT_EQ(view->GetPendingDie(), 8); // the view's menu adds it or ends it
}

TEST_F(DieBarTest, ItsMenuAddsSeveralAndRecoloursEvenWithNoTray) {
    const auto texts = [](const QMenu& menu) {
        QStringList shown;
        for (const QAction* item : menu.actions())
            shown.append(item->text() + (item->isEnabled() ? "" : " (grayed)"));
        return shown;
    };
    QMenu none;
    EXPECT_FALSE(Bar().BuildContextMenu(none, {1, 1}));
    EXPECT_TRUE(none.isEmpty());

    QMenu menu;
    ASSERT_TRUE(Bar().BuildContextMenu(menu, Centre(3)));
    EXPECT_EQ(texts(menu), QStringList({"Add 1 (grayed)", "Add 2 (grayed)", "", "Add n... (grayed)",
                                        "", "Colors"}));
    QMenu* colours = menu.actions().last()->menu();
    ASSERT_EQ(texts(*colours), QStringList({"Full"})); // "Partial" lacks the d100
    Bar().OnCommand(colours->actions()[0]->data().toInt());
    EXPECT_EQ(Bar().GetColor(), "Full");
    EXPECT_EQ(Bar().Die(6).GetColor(), "Full");
    EXPECT_EQ(QSettings().value("Settings/DieColor"), "Full");

    CTableView* view = NewTray();
    QMenu bag;
    ASSERT_TRUE(Bar().BuildContextMenu(bag, Centre(3)));
    EXPECT_EQ(texts(bag).mid(5, 4), QStringList({"Add 3", "Add 4", "Add 5", ""}));
    Bar().OnCommand(cmd::kAddCountBase + 4);
    ASSERT_EQ(State(view).Entities().size(), 4u);
    EXPECT_EQ(Group(view, 0).PainterAt(0).GetSideCount(), 10);
    EXPECT_EQ(Group(view, 0).PainterAt(0).GetColor(), "Full");
    Bar().OnCommand(cmd::kAddOne); // the menu's die is used up
    EXPECT_EQ(State(view).Entities().size(), 4u);
}

TEST_F(DieBarTest, TheHoveredDieStandsOutAtEveryPixelRatio) {
    NewTray();
    QTest::mouseMove(&Bar(), Centre(0));
    ASSERT_EQ(Bar().Hover(), 0);
    const CRect shadow = Bar().Die(0).GetRect().Inflate(1);
    const QRgb face = Bar().palette().color(QPalette::Button).rgb();
    const QRgb dark = Bar().palette().color(QPalette::Dark).rgb();
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    for (const int ratio : {1, 2}) {
        QImage image(Bar().size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        Bar().render(&image);
        const auto at = [&](int x, int y) { return image.pixel(x * ratio, y * ratio); };
        EXPECT_EQ(at(2, 2), face) << ratio;
        // The box's border is one unit wide.
        EXPECT_EQ(image.pixel(5 * ratio + ratio - 1, 100 * ratio), black) << ratio;
        EXPECT_EQ(at(6, 100), white) << ratio;
        // Below and right of the raised box, one unit of border, the shadow.
        const int raise = CRollpouchCtrl::kRaise;
        EXPECT_EQ(at(shadow.right - 1, shadow.bottom - 1), dark) << ratio;
        EXPECT_EQ(at(shadow.right - raise - 1, shadow.bottom - 10), black) << ratio;
        EXPECT_EQ(at(shadow.right - raise, shadow.bottom - 10), dark) << ratio;
    }
}

} // namespace
} // namespace rp
