#include "dice_group_painter.h"
#include "die_picture_folder.h"
#include "die_shapes.h"
#include "gui_test_main.h"
#include "paint_support.h"
#include "text_metrics.h"
#include "text_painter.h"

#include <QPalette>
#include <gtest/gtest.h>

namespace rp {
namespace {

using test::Canvas;

struct Device {
    qreal ratio;
    int dpi;
};
constexpr Device kDevices[] = {{1, 96}, {2, 96}, {1, 144}, {2, 144}};

QColor Button() {
    return QGuiApplication::palette().color(QPalette::Button);
}

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override { CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR); }
    void TearDown() override { CDiePainter::SetImagesFolder({}); }

    // A titled d6 and d20 from their pictures, a die label and a total.
    static std::unique_ptr<CDiceGroupPainter> SmallGroup() {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle("Attack roll");
        group->AddNewDie(6, "Light Gray", 100, 120);
        group->AddNewDie(20, "Light Gray", 170, 120)->SetModifier(2);
        group->SetModifier(3);
        return group;
    }
};

TEST_F(ScreensTest, DrawnWhereMeasuredOnEveryDevice) {
    for (const Device& device : kDevices) {
        SCOPED_TRACE(testing::Message() << "ratio " << device.ratio << ", dpi " << device.dpi);
        const auto group = SmallGroup();
        Canvas canvas(400, 300, Qt::white, device.ratio, device.dpi);
        group->Draw(canvas.painter);
        const QImage& image = canvas.Finish();
        const qreal r = device.ratio;
        const auto px = [r](int units) { return qRound(units * r); };

        // Nothing is drawn outside the bounding rectangle.
        const CRect b = group->GetBoundingRect();
        const auto drawn = [](QColor c) { return c != Qt::white; };
        EXPECT_EQ(canvas.CountWhere(0, 0, image.width(), image.height(), drawn),
                  canvas.CountWhere(px(b.left), px(b.top), px(b.right), px(b.bottom), drawn));

        // The frame runs on the body's edges, and the d6 inside it is drawn
        // at its rectangle: its picture's edge is 6 units in.
        const CRect body = group->GetBodyRect();
        const int middle = px(body.Center().y());
        EXPECT_EQ(canvas.At(px(body.left), middle), Button());
        EXPECT_EQ(canvas.At(px(body.right) - 1, middle), Button());
        const CRect die = group->PainterAt(1).GetRect();
        ASSERT_EQ(die.left, body.left);
        int edge = px(body.left) + px(1);
        while (edge < image.width() && canvas.At(edge, middle) == Qt::white)
            ++edge;
        EXPECT_EQ(edge, px(die.left + 6));
        // A click 2 units inside the die's edge as drawn hits the group.
        const int drawnLeft = qFloor(edge / r) - 6;
        EXPECT_TRUE(group->HitTest({drawnLeft + 2, die.Center().y()}));
        EXPECT_FALSE(group->HitTest({drawnLeft - 1, die.Center().y()}));

        // Title above, total below the body.
        const CRect title = group->GetTitleRect();
        EXPECT_GT(canvas.CountDark(px(title.left), px(title.top), px(title.right), px(body.top)),
                  10);
        const QSize total = MeasureClientText("= 21");
        EXPECT_GT(canvas.CountDark(px(body.right - total.width()), px(body.bottom), px(body.right),
                                   px(body.bottom + total.height())),
                  10);
    }
}

TEST_F(ScreensTest, EveryLineScalesAlike) {
    const test::CDiePictureFolder noPictures;
    const QColor highlight = QGuiApplication::palette().color(QPalette::Highlight);
    CDiceGroupPainter group; // outlines, a frame, a cross, selection marks
    group.AddNewDie(6, "", 100, 120);
    group.AddNewDie(20, "", 170, 120);
    group.SetIgnoreCount(1);
    group.SetSelected(true);
    const auto paint = [&](qreal ratio) {
        auto canvas = std::make_unique<Canvas>(400, 300, Qt::white, ratio);
        group.Draw(canvas->painter);
        DrawTrayLine(canvas->painter, {20, 280}, {380, 280}, Qt::green, Qt::DotLine);
        return canvas;
    };
    auto one = paint(1), two = paint(2);
    // Each kind of line covers four times the pixels or more (diagonals) at
    // twice the ratio; one device pixel wide, it would cover twice as many.
    // Outlines are counted above the face values.
    const CRect top = group.GetBodyRect(), all{0, 0, 400, 300};
    const struct {
        QColor colour;
        CRect area;
    } lines[] = {{Qt::black, {top.left, top.top, top.right, top.top + 20}},
                 {Button(), all},
                 {Qt::red, all},
                 {highlight, all},
                 {Qt::green, all}};
    for (const auto& line : lines) {
        const CRect a = line.area;
        const int small = one->Count(a.left, a.top, a.right, a.bottom, line.colour);
        const int large = two->Count(2 * a.left, 2 * a.top, 2 * a.right, 2 * a.bottom, line.colour);
        ASSERT_GT(small, 20) << line.colour.name().toStdString();
        EXPECT_GE(large, 3.5 * small) << line.colour.name().toStdString();
    }
    // The frame's top edge is as thick as the d6 square's top edge: 2 pixels.
    const int squareTop = 2 * (group.PainterAt(1).GetRect().top + 6);
    const auto thickness = [&](int x, int y, QColor colour) {
        int n = 0;
        while (two->At(x, y + n) == colour)
            ++n;
        return n;
    };
    EXPECT_EQ(thickness(2 * 135, 2 * top.top, Button()), 2);
    EXPECT_EQ(thickness(2 * 100, squareTop, Qt::black), 2);
}

TEST_F(ScreensTest, OutlinesAfterAMovingTextKeepThePen) {
    CTextPainter text("Moving", 10, 10);
    auto group = SmallGroup();
    Canvas canvas(400, 300);
    text.DrawDragImage(canvas.painter, 0, 100);
    group->DrawDragImage(canvas.painter, 0, 0);
    const CRect die = group->PainterAt(1).GetRect();
    EXPECT_EQ(canvas.At(die.left + 6, die.Center().y()), Qt::black);
}

} // namespace
} // namespace rp
