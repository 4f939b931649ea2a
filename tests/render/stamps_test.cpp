#include "dice_group_painter.h"
#include "gui_test_main.h"
#include "paint_support.h"
#include "random_source.h"
#include "stamps.h"
#include "strokes.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

using test::Canvas;

constexpr int kCentred =
    Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
constexpr int kPlain = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;

// A canvas half coloured, so that pixels a drawing leaves alone, or paints
// in part, tell.
struct HalfDark : Canvas {
    explicit HalfDark(qreal ratio) : Canvas(90, 50, Qt::white, ratio) {
        painter.fillRect(0, 0, 45, 50, QColor(90, 160, 60));
    }
};

// A text painted through its stamp looks as one painted directly, when the
// stamp is made and when it is copied: opaque boxes, letters reaching out of
// them, box edges painted in part (at ratio 2) over other colours, letters
// on those edges, transparent backgrounds, empty texts and texts that are
// no line.
TEST(Stamps, TextsPaintAsDrawTextDoes) {
    const struct {
        QString text;
        int flags;
        QRect rect;
        bool grey = false; // black on white: partly painted pixels pass as grey
    } texts[] = {
        {"7", kCentred, {30, 10, 30, 30}},
        {"100", kCentred, {40, 17, 11, 10}},
        {"= 17  ", kPlain, {35, 20, 30, 15}},
        {QString::fromUtf8("ƒjÅ_"), kPlain, {38, 10, 9, 9}},
        {"", kPlain, {30, 30, 10, 10}},
        {"a\tb\nc", kCentred, {20, 5, 50, 40}},
        {QString::fromUtf8("שלום 12"), kCentred, {20, 5, 50, 40}},
        {"Longsword attack", kPlain, {-80, 20, 110, 18}, true},
    };
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        for (const Qt::BGMode mode : {Qt::OpaqueMode, Qt::TransparentMode}) {
            for (const auto& [text, flags, rect, grey] : texts) {
                SCOPED_TRACE(testing::Message() << text.toStdString() << " at " << ratio);
                const QColor colour = grey ? Qt::black : Qt::darkRed;
                const QColor background = grey ? QColor(Qt::white) : QColor(230, 210, 120);
                HalfDark direct(ratio);
                direct.painter.setBackgroundMode(mode);
                direct.painter.setPen(colour);
                direct.painter.setBackground(background);
                direct.painter.drawText(rect, flags, text);
                for (int copy = 0; copy < 2; ++copy) {
                    HalfDark stamped(ratio);
                    stamped.painter.setBackgroundMode(mode);
                    DrawTextStamp(stamped.painter, rect, flags, text, colour, background);
                    EXPECT_EQ(stamped.Finish(), direct.Finish()) << "copy " << copy;
                }
            }
        }
    }
}

// Lines drawn through a stamp look as lines drawn directly, whole or cut
// by the edge of the painting, solid or dotted on an opaque background.
TEST(Stamps, StrokesPaintAsDrawnDirectly) {
    const auto zigzag = [](QRect box) {
        return [box](QPainter& p) {
            const CLinesOnPixels onPixels(p);
            const QPoint points[] = {box.topLeft(), box.bottomRight(), box.topRight(),
                                     box.bottomLeft() + QPoint(box.width() / 3, 0)};
            p.drawPolyline(points, 4);
        };
    };
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        for (const QRect box :
             {QRect(20, 10, 41, 23), QRect(60, 30, 40, 30), QRect(-7, 1, 20, 9)}) {
            for (const Qt::PenStyle style : {Qt::SolidLine, Qt::DotLine}) {
                SCOPED_TRACE(testing::Message() << ratio << " " << box.x() << " " << style);
                const QPen pen = TrayPen(Qt::darkGreen, style);
                HalfDark direct(ratio);
                direct.painter.setPen(pen);
                zigzag(box)(direct.painter);
                for (int copy = 0; copy < 2; ++copy) {
                    HalfDark stamped(ratio);
                    DrawStrokeStamp(stamped.painter, box, EStrokeKind::Frame, 0, pen, zigzag(box));
                    EXPECT_EQ(stamped.Finish(), direct.Finish()) << "copy " << copy;
                }
            }
        }
    }
}

// After the device ratio, a die's colour or the font changes, a group paints
// as a fresh one does with nothing kept from before.
TEST(Stamps, FollowTheRatioTheColourAndTheFont) {
    CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
    const auto group = [](const QString& colour) {
        random_source::Seed(5); // the same faces every time
        auto made = std::make_unique<CDiceGroupPainter>();
        made->SetTitle("Save");
        made->AddNewDie(6, colour, 50, 50);
        made->AddNewDie(20, colour, 120, 50);
        made->SetModifier(2);
        return made;
    };
    const auto paint = [](const CDiceGroupPainter& painted, qreal ratio) {
        Canvas canvas(200, 110, Qt::white, ratio);
        painted.Draw(canvas.painter);
        return QImage(canvas.Finish());
    };
    const QFont font = QGuiApplication::font();
    QFont larger = font;
    larger.setPixelSize(TrayFont().pixelSize() + 3);
    const struct {
        qreal ratio;
        QString colour;
        QFont font;
    } states[] = {{1, "Light Gray", font},
                  {2, "Light Gray", font},
                  {2, "Red", font},
                  {1, "Red", font},
                  {1, "Red", larger}};
    const auto changing = group("Light Gray");
    for (const auto& [ratio, colour, applicationFont] : states) {
        SCOPED_TRACE(testing::Message() << ratio << " " << colour.toStdString());
        QGuiApplication::setFont(applicationFont);
        changing->SetDiceColor(colour);
        const QImage changed = paint(*changing, ratio);
        DropStamps();
        EXPECT_EQ(changed, paint(*group(colour), ratio));
    }
    QGuiApplication::setFont(font);
    CDiePainter::SetImagesFolder({});
}

} // namespace
} // namespace rp
