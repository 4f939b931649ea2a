#include "die_picture_folder.h"
#include "die_shapes.h"
#include "gui_test_main.h"
#include "paint_support.h"
#include "text_metrics.h"
#include "without_pictures.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp {
namespace {

using test::Canvas;

// A square picture of one colour, with another in its middle quarter.
QImage Face(int size, QColor colour, QColor middle) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(size * 3 / 8, size * 3 / 8, size / 4, size / 4, middle);
    return image;
}

// Writes a JPEG that stores `dpi` as its resolution, or none for 0.
void WriteJpeg(const QString& path, QImage image, int dpi = 96) {
    image.setDotsPerMeterX(qRound((dpi > 0 ? dpi : 300) / 0.0254));
    image.setDotsPerMeterY(qRound((dpi > 0 ? dpi : 300) / 0.0254));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "JPG", 100));
    if (dpi == 0)
        bytes[bytes.indexOf("JFIF") + 7] = 0; // units: an aspect ratio only
    test::WriteFile(path, bytes);
}

// Dice without pictures unless a test points at a picture folder.
class DiePainterTest : public test::WithoutDiePictures {};

TEST_F(DiePainterTest, SixSiderSquareOnItsGrid) {
    C6Sider die(100, 100, 3);
    Canvas canvas;
    EXPECT_EQ(die.GetRect(), (CRect{68, 68, 132, 132}));
    die.Draw(canvas.painter);
    EXPECT_EQ(canvas.At(74, 74), Qt::black);
    EXPECT_EQ(canvas.At(123, 123), Qt::black);
    EXPECT_EQ(canvas.At(74, 100), Qt::black);
    EXPECT_EQ(canvas.At(73, 73), Qt::white);
    EXPECT_EQ(canvas.At(124, 124), Qt::white);
    EXPECT_EQ(canvas.At(80, 80), Qt::white);
    // The value "3" is written in the middle.
    EXPECT_GT(canvas.CountDark(90, 90, 110, 110), 5);
}

TEST_F(DiePainterTest, FourSiderValueSitsInTheLowerTwoThirds) {
    C4Sider die(32, 32, 1);
    Canvas canvas;
    EXPECT_EQ(die.GetValueRect(), (CRect{0, 21, 64, 64}));
}

TEST_F(DiePainterTest, OtherSideCountsAreCirclesShowingTheCount) {
    for (const int sides : {2, 3, 7, 30})
        EXPECT_EQ(typeid(*MakeDiePainter(sides, 0, 0, 1)), typeid(CDiePainter)) << sides;
    EXPECT_EQ(typeid(*MakeDiePainter(20, 0, 0, 1)), typeid(C20Sider));

    CDiePainter seven(7, 100, 100, 5);
    Canvas canvas;
    seven.Draw(canvas.painter);
    // Circle inscribed in (72, 72)-(128, 128), a dividing line at y = 100.
    EXPECT_EQ(canvas.At(72, 100), Qt::black);
    EXPECT_EQ(canvas.At(100, 72), Qt::black);
    EXPECT_EQ(canvas.At(71, 100), Qt::white);
    EXPECT_EQ(canvas.At(85, 100), Qt::black);
    EXPECT_EQ(canvas.At(110, 100), Qt::black);
    const int textHeight = MeasureClientText("7").height();
    // The side count below the line, the value above it.
    EXPECT_GT(canvas.CountDark(90, 101, 110, 101 + textHeight), 5);
    EXPECT_GT(canvas.CountDark(90, 99 - textHeight, 110, 99), 5);
}

TEST_F(DiePainterTest, LabelsAndBoundingRectangle) {
    C6Sider die(100, 100, 2);
    EXPECT_FALSE(die.HasLabels());
    EXPECT_EQ(die.GetBoundingRect(), (CRect{68, 68, 132, 132}));
    EXPECT_TRUE(die.HitTest({68, 68}));
    EXPECT_FALSE(die.HitTest({132, 100}));

    die.SetModifier(-2);
    const QSize minus = MeasureClientText("-2");
    EXPECT_EQ(die.GetBoundingRect(),
              (CRect{68, 68, 132 + minus.width(), std::max(132, 68 + minus.height())}));
    die.SetModifier(3);
    EXPECT_EQ(die.GetBoundingRect().right, 132 + MeasureClientText("+3").width());
    die.SetModifier(0);
    die.SetMultiplier("1/2");
    EXPECT_TRUE(die.HasLabels());
    EXPECT_EQ(die.GetBoundingRect().left, 68 - MeasureClientText("1/2 x").width());
    EXPECT_EQ(die.GetBoundingRect().top, 68);

    Canvas canvas;
    die.Draw(canvas.painter);
    EXPECT_GT(
        canvas.CountDark(68 - MeasureClientText("1/2 x").width(), 68, 68, 68 + minus.height()), 5);
}

TEST_F(DiePainterTest, SavesAndLoadsPositionAndColour) {
    pugi::xml_document doc;
    C8Sider die(40, -60, 5);
    die.SetColor("No Such Colour");
    pugi::xml_node element = doc.append_child("die");
    ASSERT_TRUE(die.Save(element, true));
    EXPECT_STREQ(element.child("position").attribute("x").value(), "40");
    EXPECT_STREQ(element.child("position").attribute("y").value(), "-60");
    EXPECT_STREQ(element.child("color").text().get(), "No Such Colour");

    C8Sider back(0, 0, 1);
    ASSERT_TRUE(back.Load(element));
    EXPECT_EQ(back.GetPosition(), QPoint(40, -60));
    EXPECT_EQ(back.GetColor(), "No Such Colour");
    EXPECT_EQ(back.GetRawResult(), 5);

    C8Sider plain(0, 0, 1);
    pugi::xml_node bare = doc.append_child("die");
    plain.Save(bare, false);
    EXPECT_FALSE(bare.child("color"));
}

class DiePicturesTest : public ::testing::Test {
protected:
    void SetUp() override { CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR); }
    void TearDown() override { CDiePainter::SetImagesFolder({}); }
};

TEST_F(DiePicturesTest, PicturesSetTheRectangleAndTheValueColour) {
    C6Sider black(100, 100, 6);
    black.SetColor("Black");
    Canvas canvas;
    EXPECT_EQ(black.GetRect(), (CRect{68, 68, 132, 132}));
    black.Draw(canvas.painter);
    // A light number on the dark face, on a box of the face's own colour.
    EXPECT_GT(canvas.CountLight(92, 90, 108, 110), 5);
    EXPECT_EQ(canvas.At(80, 80), QColor(40, 40, 40));

    C6Sider grey(100, 100, 6);
    grey.SetColor("light gray"); // folder names match as the file system does
    Canvas other;
    grey.Draw(other.painter);
    EXPECT_EQ(other.At(80, 80), Qt::white) << "no picture: drawn as an outline";

    // Copies share the picture and draw the same.
    CDiePainter copy(black);
    Canvas copied;
    copy.Draw(copied.painter);
    EXPECT_EQ(copied.Finish(), canvas.Finish());
}

TEST(DiePictures, StretchedOutlinesOversizedAndBrokenFiles) {
    const test::CDiePictureFolder folder;
    QImage big(96, 96, QImage::Format_RGB32);
    big.fill(QColor(200, 30, 30));
    big.setDotsPerMeterX(3780);
    big.setDotsPerMeterY(3780);
    QDir().mkpath(folder.FilePath("Big"));
    ASSERT_TRUE(big.save(folder.FilePath("Big/d8.jpg")));
    test::WriteFile(folder.FilePath("Broken/d8.gif"), "GIF89a not really");
    QFile huge(test::WriteFile(folder.FilePath("Huge/d8.gif")));
    ASSERT_TRUE(huge.resize(kMaxPictureBytes + 1));

    // 2540 x 2540 hundredths of a millimetre at 96 dots per inch: 96 x 96.
    C8Sider die(100, 100, 3);
    die.SetColor("Big");
    Canvas canvas;
    const CRect rect = die.GetRect();
    EXPECT_EQ(rect, (CRect{52, 52, 148, 148}));
    die.DrawOutline(canvas.painter, 0, 0);
    EXPECT_EQ(canvas.At(rect.left + 48, rect.top + 1), Qt::black);

    // A picture smaller than the value: the colour sample stays on the picture.
    QImage tiny(4, 4, QImage::Format_RGB32);
    tiny.fill(QColor(0, 0, 200));
    tiny.setDotsPerMeterX(3780);
    tiny.setDotsPerMeterY(3780);
    QDir().mkpath(folder.FilePath("Tiny"));
    ASSERT_TRUE(tiny.save(folder.FilePath("Tiny/d6.jpg"), "JPG", 100));
    C6Sider small(100, 100, 5);
    small.SetColor("Tiny");
    Canvas tinyCanvas;
    EXPECT_EQ(small.GetRect(), (CRect{98, 98, 102, 102}));
    small.Draw(tinyCanvas.painter);
    // The value's box takes the picture's blue, and the digit is drawn light on it.
    EXPECT_GT(tinyCanvas.CountWhere(90, 90, 110, 110,
                                    [](QColor c) { return c.blue() > 180 && c.red() < 20; }),
              20);
    EXPECT_GT(tinyCanvas.CountLight(90, 90, 110, 110), 3);

    for (const char* colour : {"Broken", "Huge"}) {
        C8Sider plain(100, 100, 3);
        plain.SetColor(colour);
        Canvas c;
        EXPECT_EQ(plain.GetRect(), (CRect{68, 68, 132, 132})) << colour;
        EXPECT_EQ(plain.GetColor(), colour);
    }
    // A die that had a picture keeps it when the new colour has none.
    die.SetColor("Nowhere");
    Canvas again;
    EXPECT_EQ(die.GetRect().Width(), 96);
}

TEST(DiePictures, ResolutionLabelColourAndDoublePictures) {
    const QColor brown(120, 70, 20), green(30, 160, 40), blue(0, 0, 220);
    const test::CDiePictureFolder folder;
    WriteJpeg(folder.FilePath("Seventy-two/d6.jpg"), Face(64, brown, green), 72);
    WriteJpeg(folder.FilePath("Unknown/d6.jpg"), Face(64, brown, green), 0);
    WriteJpeg(folder.FilePath("Unknown/d6@2x.jpg"), Face(128, blue, blue));
    WriteJpeg(folder.FilePath("Unknown/d8.jpg"), Face(64, brown, green));
    test::WriteFile(folder.FilePath("Unknown/d8@2x.jpg"), "no picture");
    const struct {
        const char* colour;
        int sides, width;
        qreal ratio;
        bool doubled;
    } cases[] = {{"Seventy-two", 6, 85, 1, false}, {"Unknown", 6, 64, 1, false},
                 {"Unknown", 6, 64, 1.25, false},  {"Unknown", 6, 64, 1.5, true},
                 {"Unknown", 6, 64, 2, true},      {"Unknown", 8, 64, 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.colour << " d" << c.sides << " at " << c.ratio);
        auto die = MakeDiePainter(c.sides, 100, 100, 5);
        die->SetColor(c.colour);
        EXPECT_EQ(die->GetRect().Width(), c.width);
        Canvas canvas(200, 200, Qt::white, c.ratio);
        die->Draw(canvas.painter);
        const auto at = [&](int units) { return qRound(units * c.ratio); };
        EXPECT_EQ(canvas.At(at(74), at(74)).blue() > 150, c.doubled);
        // The value's box takes the colour of the face's middle, not brown.
        EXPECT_EQ(canvas.CountWhere(
                      at(94), at(92), at(106), at(108),
                      [](QColor p) { return p.red() > 80 && p.green() < 120 && p.blue() < 60; }),
                  0);
    }
    // Without its double picture a die is drawn from the plain one again.
    QFile::remove(folder.FilePath("Unknown/d6@2x.jpg"));
    C6Sider die(100, 100, 5);
    die.SetColor("Unknown");
    Canvas canvas(200, 200, Qt::white, 2);
    die.Draw(canvas.painter);
    EXPECT_LT(canvas.At(148, 148).blue(), 100);
}

TEST(DiePictures, LookupFollowsTheFolderAndStaysInside) {
    const test::CDiePictureFolder root; // pictures from its "images" folder only
    CDiePainter::SetImagesFolder(root.FilePath("images"));
    const auto write = [&](const QString& path, int size) {
        WriteJpeg(root.FilePath(path), Face(size, Qt::red, Qt::red));
    };
    C6Sider die(100, 100, 1);
    const auto widthAfter = [&](const QString& colour) {
        die.SetColor(colour);
        return die.GetRect().Width();
    };
    write("images/C/d6.jpg", 40);
    EXPECT_EQ(widthAfter("C"), 40);

    // Names that are no folder names draw outlines and read nothing elsewhere.
    for (const char* path : {"d6.jpg", "images/d6.jpg", "outside/d6.jpg", "images/a\\b/d6.jpg"})
        write(path, 20);
    for (const QString name : {"..", ".", "", "../outside", "a\\b"}) {
        EXPECT_EQ(widthAfter("C"), 40);
        EXPECT_EQ(widthAfter(name), CDiePainter::kPlainSize) << name.toStdString();
        EXPECT_EQ(die.GetColor(), name);
    }

    // Each colour change looks again: ".gif" first, then ".jpg".
    const QString gif = root.FilePath("images/C/d6.gif");
    write("images/C/d6.gif", 50);
    EXPECT_EQ(widthAfter("C"), 50);
    QFile::remove(gif);
    EXPECT_EQ(widthAfter("C"), 40);
    QDir().mkpath(gif); // found, but does not open
    EXPECT_EQ(widthAfter("C"), 40);
    write("images/C/d6.jpg", 30);
    EXPECT_EQ(widthAfter("C"), 30);
    QFile::remove(root.FilePath("images/C/d6.jpg"));
    EXPECT_EQ(widthAfter("C"), 30) << "nothing opens: the die keeps its picture";
}

TEST(DiePictures, TheFolderIsBesideTheProgramOrWhereItIsInstalled) {
    QTemporaryDir root;
    QDir(root.path()).mkpath("bin");
    const QString bin = root.filePath("bin");
    EXPECT_EQ(FindImagesFolder(bin), bin + "/images"); // neither exists
    QDir(root.path()).mkpath("share/rollpouch/images");
    EXPECT_EQ(FindImagesFolder(bin), root.filePath("share/rollpouch/images"));
    QDir(root.path()).mkpath("bin/images");
    EXPECT_EQ(FindImagesFolder(bin), bin + "/images");
}

} // namespace
} // namespace rp
