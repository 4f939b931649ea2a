#include "dice_group_painter.h"
#include "die_shapes.h"
#include "gui_test_main.h"
#include "paint_support.h"
#include "text_metrics.h"
#include "text_painter.h"
#include "without_pictures.h"

#include <QPalette>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

using test::Canvas;

class GroupPainterTest : public test::WithoutDiePictures {
protected:
    // A group of d6 dice in a row from x = 100, showing the given faces.
    static std::unique_ptr<CDiceGroupPainter> Row(std::initializer_list<int> faces) {
        auto group = std::make_unique<CDiceGroupPainter>();
        int x = 100;
        for (const int face : faces) {
            group->AddDieBack(std::make_unique<C6Sider>(x, 100, face));
            x += 70;
        }
        return group;
    }
};

TEST_F(GroupPainterTest, LoneDieShowsNoFrameNorTotal) {
    auto group = Row({4});
    EXPECT_FALSE(group->ShowsTotal());
    const QSize title = MeasureClientText("");
    EXPECT_EQ(group->GetBodyRect(), (CRect{68, 68, 132, 132}));
    EXPECT_EQ(group->GetBoundingRect(), (CRect{68, 68 - std::max(title.height(), 18), 132, 132}));
    EXPECT_GE(group->GetTitleRect().Height(), 18);

    group->SetModifier(2);
    EXPECT_TRUE(group->ShowsTotal());
    const CRect bounds = group->GetBoundingRect();
    EXPECT_EQ(bounds.right, 132 + MeasureClientText("+2").width());
    EXPECT_EQ(bounds.bottom, 132 + MeasureClientText("= 99").height());
    Canvas canvas;
    group->Draw(canvas.painter);
    // "= 6" right-aligned under the body; no frame around a lone die.
    const QSize total = MeasureClientText("= 6");
    EXPECT_GT(canvas.CountDark(132 - total.width(), 132, 132, 132 + total.height()), 5);
    const QColor button = QGuiApplication::palette().color(QPalette::Button);
    EXPECT_EQ(canvas.Count(68, 68, 132, 69, button), 0);
}

TEST_F(GroupPainterTest, IgnoredDiceAreCrossedAndTheFrameIsButtonFace) {
    auto group = Row({1, 2, 3, 4});
    group->SetIgnoreCount(1);
    Canvas canvas(500, 300);
    group->Draw(canvas.painter);
    const QColor red(255, 0, 0);
    // The die showing 1 (the first, at x = 100) is crossed out, the others not.
    EXPECT_EQ(canvas.At(78, 78), red);
    EXPECT_EQ(canvas.At(122, 78), red);
    EXPECT_EQ(canvas.Count(140, 68, 340, 132, red), 0);
    const QColor button = QGuiApplication::palette().color(QPalette::Button);
    const CRect body = group->GetBodyRect();
    EXPECT_EQ(canvas.At(body.left, body.top + 5), button);
    EXPECT_EQ(canvas.At(body.right - 1, body.top + 5), button);
    EXPECT_EQ(group->GetTotal(), 9);

    // Ignoring every die leaves the modifier; a negative count crosses nothing.
    group->SetIgnoreCount(4);
    group->SetModifier(3);
    EXPECT_EQ(group->GetTotal(), 3);
    group->SetIgnoreCount(-1);
    Canvas none(500, 300);
    group->Draw(none.painter);
    EXPECT_EQ(none.Count(60, 60, 400, 140, red), 0);
    EXPECT_TRUE(group->ShowsTotal());
}

TEST_F(GroupPainterTest, RulesShowTheTotalAndTheHighestAreCrossed) {
    void (*const rules[])(CDiceGroup&) = {
        [](CDiceGroup& g) { g.SetIgnoreHighestCount(1); },
        [](CDiceGroup& g) { g.SetRerollBelow(2); },
        [](CDiceGroup& g) { g.SetExplode(true); },
        [](CDiceGroup& g) { g.SetCountAtLeast(4); },
    };
    for (const auto rule : rules) {
        auto lone = Row({4});
        rule(*lone);
        EXPECT_TRUE(lone->ShowsTotal()) << lone->GetDescription();
    }

    auto group = Row({1, 2, 3, 4});
    group->SetIgnoreHighestCount(1);
    Canvas canvas(500, 300);
    group->Draw(canvas.painter);
    const QColor red(255, 0, 0);
    EXPECT_EQ(canvas.At(288, 78), red); // the 4, at x = 310
    EXPECT_EQ(canvas.Count(60, 60, 270, 140, red), 0);
}

TEST_F(GroupPainterTest, ExplodedDiceAreMarkedAndCountedDiceFramed) {
    auto group = Row({1, 5, 3});
    group->SetCountAtLeast(5);
    const int draws[] = {32767, 32767, 5462}; // 6, 6, 2
    std::size_t next = 0;
    group->PainterAt(0).Roll(SRollRules{0, true, 100}, [&] { return draws[next++]; });
    ASSERT_EQ(group->PainterAt(0).GetRawResult(), 14);
    EXPECT_EQ(group->DieAt({100, 100}), &group->PainterAt(0));
    EXPECT_EQ(group->DieAt({100, 140}), nullptr);
    Canvas canvas(500, 300);
    group->Draw(canvas.painter);
    // The exploded 14 (at x = 100) has the corner mark; 14 and 5 count.
    const QColor orange(230, 120, 0), green(0, 160, 0);
    EXPECT_EQ(canvas.At(130, 69), orange);
    EXPECT_EQ(canvas.Count(140, 60, 300, 140, orange), 0);
    EXPECT_EQ(canvas.At(69, 100), green);
    EXPECT_EQ(canvas.At(139, 100), green);
    EXPECT_EQ(canvas.Count(205, 60, 300, 140, green), 0);
    EXPECT_EQ(group->GetTotal(), 2);
}

TEST_F(GroupPainterTest, SelectionMarksAreDottedInTheHighlightColour) {
    auto group = Row({1, 2});
    group->SetTitle("Attack");
    group->SetSelected(true);
    Canvas canvas(500, 300);
    group->Draw(canvas.painter);
    const QColor highlight = QGuiApplication::palette().color(QPalette::Highlight);
    const CRect bounds = group->GetBoundingRect();
    const int marked =
        canvas.Count(bounds.left, bounds.top, bounds.right, bounds.top + 1, highlight);
    EXPECT_GT(marked, bounds.Width() / 4);
    EXPECT_LT(marked, bounds.Width()); // dotted, not solid
    const CRect box = group->GetModifierBox();
    EXPECT_GT(canvas.Count(box.left, box.top, box.right, box.top + 1, highlight), 2);
}

TEST_F(GroupPainterTest, ModifierBoxAndHitTests) {
    auto group = Row({1, 2});
    group->SetModifier(1);
    const CRect bounds = group->GetBoundingRect();
    const CRect body = group->GetBodyRect();
    const CRect box = group->GetModifierBox();
    EXPECT_EQ(box, (CRect{bounds.right, body.top, bounds.right + 14, body.top + 21}));
    EXPECT_TRUE(group->HitTest({box.left + 3, box.top + 3}));
    EXPECT_FALSE(bounds.Contains({box.left + 3, box.top + 3}));
    EXPECT_TRUE(group->HitTest(bounds.TopLeft()));
    EXPECT_FALSE(group->HitTest({bounds.left, bounds.bottom}));
    EXPECT_FALSE(group->HitTest({bounds.left - 1, bounds.top}));

    // A total wider than the room reserved for "= 99" is still drawn.
    group->SetModifier(500);
    Canvas canvas(500, 300);
    group->Draw(canvas.painter);
    const QSize total = MeasureClientText(QStringLiteral("= %1").arg(group->GetTotal()));
    EXPECT_GT(total.width(), MeasureClientText("= 99").width());
    EXPECT_GT(canvas.CountDark(body.right - total.width(), body.bottom,
                               body.right - total.width() + 6, body.bottom + total.height()),
              0);
}

TEST_F(GroupPainterTest, DragImagesAndDeepCopies) {
    auto pair = Row({3, 5});
    pair->SetTitle("Pair");
    pair->SetSelected(true);
    pair->PainterAt(1).SetColor("Blue");
    Canvas dragged(500, 300);
    pair->DrawDragImage(dragged.painter, 10, 0);
    const CRect frame = pair->GetBoundingRect().Offset(10, 0);
    EXPECT_GT(dragged.Count(frame.left, frame.top, frame.right, frame.top + 1, Qt::black), 10);
    EXPECT_EQ(dragged.At(84, 74), Qt::black); // the first die's square, 10 to the right

    auto lone = Row({3});
    Canvas single(500, 300);
    lone->DrawDragImage(single.painter, 10, 0);
    const CRect loneFrame = lone->GetBoundingRect().Offset(10, 0);
    EXPECT_EQ(
        single.Count(loneFrame.left, loneFrame.top, loneFrame.right, loneFrame.top + 1, Qt::black),
        0);

    auto copy = std::unique_ptr<CDiceGroupPainter>(
        static_cast<CDiceGroupPainter*>(pair->Clone().release()));
    EXPECT_TRUE(copy->IsSelected());
    EXPECT_EQ(copy->GetTitle(), "Pair");
    ASSERT_EQ(copy->GetCount(), 2);
    EXPECT_NE(dynamic_cast<C6Sider*>(&copy->PainterAt(0)), nullptr);
    EXPECT_EQ(copy->PainterAt(1).GetColor(), "Blue");
    EXPECT_EQ(copy->PainterAt(1).GetRawResult(), 5);
    copy->Offset(5, 5);
    EXPECT_EQ(pair->PainterAt(0).GetPosition(), QPoint(100, 100));
    EXPECT_EQ(copy->PainterAt(0).GetPosition(), QPoint(105, 105));
}

TEST_F(GroupPainterTest, FactoryEffectiveSettersAndFileRoundTrip) {
    CDiceGroupPainter group;
    group.AddNewDie(20, "", 50, 60);
    CDiePainter* top = group.AddNewDie(6, "Red", 120, 60);
    EXPECT_EQ(&group.PainterAt(0), top);
    EXPECT_EQ(group.PainterAt(1).GetColor(), kDefaultDieColor);
    EXPECT_NE(dynamic_cast<C20Sider*>(&group.PainterAt(1)), nullptr);

    group.SetEffectiveModifier(2);
    EXPECT_EQ(group.GetModifier(), 2);
    group.SetEffectiveMultiplier("1/2");
    EXPECT_EQ(group.GetMultiplierText(), "1/2");
    QSet<QString> colours;
    group.CollectColors(colours);
    EXPECT_EQ(colours, (QSet<QString>{"Red", kDefaultDieColor}));

    auto die = group.RemoveFirstPainter();
    EXPECT_EQ(die.get(), top);
    group.SetEffectiveModifier(-4); // where the getter reads: the group's own
    EXPECT_EQ(group.GetModifier(), -4);
    EXPECT_EQ(group.GetFirstDie()->GetModifier(), 0);

    pugi::xml_document doc;
    pugi::xml_node element = group.Save(doc, true);
    EXPECT_STREQ(element.name(), "dicegroup");
    EXPECT_STREQ(element.child("die").child("position").attribute("x").value(), "50");

    doc.load_string(
        R"(<dicegroup multiplier="1"><die sideCount="8" multiplier="1"><position x="7" y="9"/></die>)"
        R"(<die sideCount="4" multiplier="1"><position x="1" y="2"/><color>Green</color></die></dicegroup>)");
    CDiceGroupPainter loaded;
    ASSERT_TRUE(loaded.Load(doc.first_child()));
    EXPECT_EQ(loaded.PainterAt(0).GetColor(), kDefaultDieColor);
    EXPECT_EQ(loaded.PainterAt(0).GetPosition(), QPoint(7, 9));
    EXPECT_EQ(loaded.PainterAt(1).GetColor(), "Green");
    EXPECT_NE(dynamic_cast<C4Sider*>(&loaded.PainterAt(1)), nullptr);
}

TEST(TextPainter, GeometryDrawingAndFile) {
    CTextPainter text("Round 1", 20, 200);
    const QSize extent = MeasureClientText("Round 1");
    EXPECT_EQ(text.GetBoundingRect(),
              CRect::FromPointSize(20, 200, extent.width(), extent.height()));
    EXPECT_TRUE(text.HitTest({20, 200}));
    EXPECT_FALSE(text.HitTest({20 + extent.width(), 200}));
    text.Offset(15, -5);
    EXPECT_EQ(text.GetBodyRect(), CRect::FromPointSize(35, 195, extent.width(), extent.height()));

    CTextPainter empty("", 10, 10);
    EXPECT_EQ(empty.GetBoundingRect().Width(), 0);
    EXPECT_FALSE(empty.HitTest({10, 10}));

    Canvas canvas;
    text.SetSelected(true);
    text.Draw(canvas.painter);
    EXPECT_GT(canvas.CountDark(35, 195, 35 + extent.width(), 195 + extent.height()), 10);
    Canvas ghost;
    text.DrawDragImage(ghost.painter, 0, 50);
    EXPECT_GT(ghost.CountWhere(35, 245, 35 + extent.width(), 245 + extent.height(),
                               [](QColor c) {
                                   return c.red() == c.blue() && c.lightness() < 200 &&
                                          c.lightness() > 100;
                               }),
              5);

    pugi::xml_document doc;
    const pugi::xml_node element = text.Save(doc, true);
    EXPECT_STREQ(element.attribute("value").value(), "Round 1");
    CTextPainter back;
    ASSERT_TRUE(back.Load(element));
    EXPECT_EQ(back.GetText(), "Round 1");
    EXPECT_EQ(back.GetBodyRect(), text.GetBodyRect());
    doc.load_string(R"(<dicegroup><position x="1" y="1"/></dicegroup>)");
    EXPECT_FALSE(back.Load(doc.first_child()));
    EXPECT_EQ(back.GetText(), "Round 1");
}

} // namespace
} // namespace rp
