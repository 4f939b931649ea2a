#include "die_shapes.h"
#include "doc_state.h"
#include "gui_test_main.h"
#include "text_metrics.h"
#include "text_painter.h"
#include "without_pictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

class DocStateTest : public test::WithoutDiePictures {
protected:
    // A group of d6 dice centred at the given points, added at the back.
    CDiceGroupPainter* AddGroup(std::initializer_list<QPoint> centres, const char* title = "") {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle(title);
        for (const QPoint& c : centres)
            group->AddDieBack(std::make_unique<C6Sider>(c.x(), c.y(), 1));
        CDiceGroupPainter* raw = group.get();
        state.AddBack(std::move(group));
        return raw;
    }
    CTextPainter* AddText(const QString& text, int x, int y) {
        auto painter = std::make_unique<CTextPainter>(text, x, y);
        CTextPainter* raw = painter.get();
        state.AddBack(std::move(painter));
        return raw;
    }
    std::vector<CDocEntity*> Selected() const { return state.GetSelectedEntities(); }

    CDocState state;
};

TEST_F(DocStateTest, ClickSelection) {
    CDiceGroupPainter* a = AddGroup({{100, 100}});
    CDiceGroupPainter* b = AddGroup({{300, 100}});
    const QPoint onA(100, 100), onB(300, 100), nowhere(600, 600);

    EXPECT_EQ(state.SelectAt(onA, false, false), 1);
    EXPECT_EQ(Selected(), std::vector<CDocEntity*>{a});
    EXPECT_EQ(state.SelectAt(onB, true, false), 1); // Shift adds
    EXPECT_EQ(state.GetSelectedCount(), 2);
    EXPECT_EQ(state.SelectAt(onA, false, false), 1); // a plain click keeps a multiple selection
    EXPECT_EQ(state.GetSelectedCount(), 2);
    EXPECT_EQ(state.SelectAt(nowhere, true, false), 0); // Shift on empty tray keeps it
    EXPECT_EQ(state.GetSelectedCount(), 2);
    EXPECT_EQ(state.SelectAt(onB, false, true), 2); // Ctrl toggles off
    EXPECT_EQ(Selected(), std::vector<CDocEntity*>{a});
    EXPECT_EQ(state.SelectAt(onA, false, true), 2);
    EXPECT_EQ(state.GetSelectedCount(), 0);
    state.SelectAll();
    EXPECT_EQ(state.SelectAt(nowhere, false, false), 0); // a plain click on empty tray clears
    EXPECT_EQ(state.GetSelectedCount(), 0);

    a->SetSelected(true);
    state.InvertSelection();
    EXPECT_EQ(Selected(), std::vector<CDocEntity*>{b});
}

TEST_F(DocStateTest, RubberBandSelectsByCentres) {
    CDiceGroupPainter* a = AddGroup({{100, 100}});
    CDiceGroupPainter* b = AddGroup({{300, 100}});
    // Crosses b's rectangle but not its centre.
    state.SelectInRect(CRect{0, 0, 290, 200}, false);
    EXPECT_EQ(Selected(), std::vector<CDocEntity*>{a});
    state.SelectInRect(CRect{0, 0, 400, 200}, true);
    EXPECT_EQ(Selected(), std::vector<CDocEntity*>{b});

    QImage image(500, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter dc(&image);
    dc.setPen(Qt::black);
    state.DrawRubberBand(dc, CRect{0, 0, 400, 200}, true);
    dc.end();
    const CRect aBounds = a->GetBoundingRect(), bBounds = b->GetBoundingRect();
    EXPECT_EQ(image.pixelColor(aBounds.left, aBounds.bottom - 1), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(bBounds.left, bBounds.bottom - 1), QColor(255, 0, 0));
}

TEST_F(DocStateTest, HitTestingPrefersTheTopAndGroupsUnderTexts) {
    AddText("below", 90, 95);
    state.AddFront(std::make_unique<CTextPainter>("top", 90, 95));
    CDiceGroupPainter* group = AddGroup({{100, 100}});
    EXPECT_NE(state.EntityAt({92, 97}), group);
    EXPECT_EQ(dynamic_cast<CTextPainter*>(state.EntityAt({92, 97}))->GetText(), "top");
    EXPECT_EQ(state.GroupAt({92, 97}), group);
    EXPECT_EQ(state.GroupAt({600, 600}), nullptr);
    EXPECT_TRUE(state.IntersectsAny(CRect{130, 130, 140, 140}));
    EXPECT_FALSE(state.IntersectsAny(CRect{400, 400, 410, 410}));
}

TEST_F(DocStateTest, ExtentAndNormalize) {
    EXPECT_EQ(state.GetExtent(), CRect{});
    CDiceGroupPainter* group = AddGroup({{100, 100}}, "Title");
    EXPECT_EQ(state.GetExtent().TopLeft(), QPoint(0, 0));
    EXPECT_EQ(state.Normalize(), QPoint(0, 0));
    EXPECT_EQ(group->PainterAt(0).GetPosition(), QPoint(100, 100));

    CTextPainter* text = AddText("left", -30, 5);
    EXPECT_EQ(state.Normalize(), QPoint(30, 0));
    EXPECT_EQ(text->GetBodyRect().TopLeft(), QPoint(0, 5));
    EXPECT_EQ(group->PainterAt(0).GetPosition(), QPoint(130, 100));
}

TEST_F(DocStateTest, ArrangeInRows) {
    CTextPainter* wide = AddText(QString(200, 'W'), -50, -40);
    CTextPainter* next = AddText("next", 500, 500);
    const int viewWidth = wide->GetBoundingRect().Width() / 2;
    state.ArrangeInRows(viewWidth);
    EXPECT_EQ(wide->GetBodyRect().TopLeft(), QPoint(10, 10));
    EXPECT_EQ(next->GetBodyRect().TopLeft(),
              QPoint(10, 10 + wide->GetBoundingRect().Height() + 10));

    CDocState row;
    auto* first = new CTextPainter("a", 300, 300);
    auto* second = new CTextPainter("b", 0, 0);
    row.AddBack(std::unique_ptr<CDocEntity>(first));
    row.AddBack(std::unique_ptr<CDocEntity>(second));
    row.ArrangeInRows(1000);
    EXPECT_EQ(second->GetBodyRect().TopLeft(), QPoint(10 + first->GetBodyRect().Width() + 20, 10));
}

TEST_F(DocStateTest, SnappingToTheNearestEdgeWithinNineUnits) {
    QImage image(600, 600, QImage::Format_RGB32);
    QPainter dc(&image);
    // The moving text's left edge lands at 100; neighbours 6 and 4 away.
    CTextPainter* moving = AddText("move", 0, 300);
    AddText("six", 106, 0);
    AddText("four", 104, 50);
    moving->SetSelected(true);
    QPoint point(100, 0);
    state.DrawMoving(dc, QPoint(0, 0), point);
    EXPECT_EQ(point, QPoint(104, 0));

    CDocState far;
    auto* mover = new CTextPainter("move", 0, 300);
    mover->SetSelected(true);
    far.AddBack(std::unique_ptr<CDocEntity>(mover));
    far.AddBack(std::make_unique<CTextPainter>("ten", 110, 0));
    QPoint unchanged(100, 0);
    far.DrawMoving(dc, QPoint(0, 0), unchanged);
    EXPECT_EQ(unchanged, QPoint(100, 0));

    // A new die snaps its bounding rectangle the same way.
    CDocState dice;
    dice.AddBack(std::make_unique<CTextPainter>("edge", 205, 400));
    QPoint drop(240, 100); // a 64-wide die centred here has its left edge at 208
    dice.DrawNewDie(dc, 6, drop);
    EXPECT_EQ(drop, QPoint(237, 100));
}

TEST_F(DocStateTest, MovingOntoAnotherGroupMarksItInsteadOfSnapping) {
    CDiceGroupPainter* target = AddGroup({{300, 100}});
    CDiceGroupPainter* moving = AddGroup({{100, 100}});
    moving->SetSelected(true);
    QImage image(500, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter dc(&image);
    QPoint point(302, 100);
    state.DrawMoving(dc, QPoint(100, 100), point);
    dc.end();
    EXPECT_EQ(point, QPoint(302, 100));
    const CRect bounds = target->GetBoundingRect();
    EXPECT_EQ(image.pixelColor(bounds.left, bounds.bottom - 1), QColor(0, 255, 0));
}

TEST_F(DocStateTest, SelectionQueries) {
    CDiceGroupPainter* a = AddGroup({{100, 100}, {170, 100}}, "Attack");
    CDiceGroupPainter* b = AddGroup({{300, 100}}, "Attack");
    CTextPainter* text = AddText("note", 10, 300);
    a->SetModifier(2);
    a->SetMultiplier("1/2");
    a->SetIgnoreCount(1);
    b->GetFirstDie()->SetModifier(2); // a one-die group reports its die's modifier
    b->PainterAt(0).SetColor("Red");
    a->AddDieBack(std::make_unique<C20Sider>(240, 100, 1));
    state.SelectAll();

    QString title, multiplier;
    int modifier = -1;
    state.GetCommonProperties(&title, &modifier, &multiplier);
    EXPECT_EQ(title, "Attack");
    EXPECT_EQ(modifier, 2);
    EXPECT_EQ(multiplier, "");
    EXPECT_EQ(state.GetFirstIgnoreCount(), 1);
    EXPECT_EQ(state.GetSelectedCount(), 3);
    EXPECT_EQ(state.GetSelectedGroupCount(), 2);
    EXPECT_EQ(state.GetSelectedDiceCount(), 4);
    EXPECT_EQ(state.GetSelectedSideCounts(), (QList<int>{6, 20}));
    EXPECT_EQ(state.GetSelectedColors(),
              (QSet<QString>{"", "Red"})); // dice made here have no colour yet

    QString selectedText;
    CRect rect;
    EXPECT_FALSE(state.GetSelectedText(selectedText, rect)); // the frontmost selected is a group
    state.SelectNone();
    text->SetSelected(true);
    ASSERT_TRUE(state.GetSelectedText(selectedText, rect));
    EXPECT_EQ(selectedText, "note");
    EXPECT_EQ(rect, text->GetBoundingRect());

    const CRect titleRect = a->GetTitleRect();
    EXPECT_TRUE(state.IsOnTitle(titleRect.TopLeft(), rect));
    EXPECT_EQ(rect.right, a->GetBoundingRect().right);
    EXPECT_FALSE(state.IsOnTitle({100, 100}, rect));
    const CRect box = a->GetModifierBox();
    EXPECT_TRUE(state.IsOnModifierBox({box.left, box.top}, rect));
    EXPECT_EQ(rect, box);
    EXPECT_FALSE(state.IsOnModifierBox({600, 600}, rect));

    const CDocState copy(state);
    ASSERT_EQ(copy.Entities().size(), 3u);
    EXPECT_TRUE(copy.Entities()[2]->IsSelected());
    EXPECT_NE(copy.Entities()[0].get(), state.Entities()[0].get());
}

} // namespace
} // namespace rp
