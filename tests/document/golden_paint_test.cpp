#include "die_picture_folder.h"
#include "doc_state.h"
#include "golden_files.h"
#include "paint_support.h"
#include "test_files.h"
#include "thousand_dice.h"

#include <QFileInfo>
#include <QScreen>
#include <functional>
#include <gtest/gtest.h>

namespace rp {
namespace {

// The example tray as read from its file.
void ReadExample(CDocState& tray) {
    const QString example =
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../examples/adventure.rlp");
    ASSERT_TRUE(tray.ReadTrayXml(test::ReadFile(example).toStdString(), false, true));
}

struct SGoldenTray {
    const char* name;
    std::function<void(CDocState&)> fill;
    // Outlines, every entity selected, and a drag of the selection on its way.
    bool dragged = false;
    // Only the top left this large, to keep the files small.
    QSize crop;
};

const SGoldenTray kTrays[] = {
    {"adventure",
     [](CDocState& tray) {
         CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
         ReadExample(tray);
     },
     false,
     {600, 330}},
    {"adventure_outlines_dragged",
     [](CDocState& tray) {
         const test::CDiePictureFolder none;
         ReadExample(tray);
         tray.SelectAll();
     },
     true,
     {600, 330}},
    {"thousand_dice", bench::FillThousandDice, false, {400, 300}},
};

// Paintings of trays compare pixel for pixel with the stored ones, at device
// ratios 1 and 2. Each is stored for the screen's font resolution, which
// sizes the tray font.
TEST(GoldenPaint, TraysPaintAsStored) {
    const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
    for (const SGoldenTray& golden : kTrays) {
        for (const int ratio : {1, 2}) {
            const QString name =
                QStringLiteral("%1_x%2_dpi%3.png").arg(golden.name).arg(ratio).arg(dpi);
            SCOPED_TRACE(name.toStdString());
            CDocState tray;
            golden.fill(tray);
            const CRect extent = tray.GetExtent();
            const QSize units =
                golden.crop.isValid() ? golden.crop : QSize(extent.right + 10, extent.bottom + 10);
            test::Canvas canvas(units.width(), units.height(), Qt::white, ratio);
            tray.DrawAll(canvas.painter);
            if (golden.dragged) {
                QPoint to(137, 93);
                tray.DrawMoving(canvas.painter, QPoint(90, 60), to);
            }
            CDiePainter::SetImagesFolder({});
            const QImage painted = canvas.Finish();
            const QString path =
                QFileInfo(QStringLiteral(__FILE__)).dir().filePath("golden/" + name);
            if (test::UpdatingGoldenFiles()) {
                ASSERT_TRUE(painted.save(path));
            }
            const QImage stored = QImage(path).convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(stored.size(), painted.size());
            int differ = 0;
            for (int y = 0; y < stored.height(); ++y)
                for (int x = 0; x < stored.width(); ++x)
                    differ += stored.pixel(x, y) != painted.pixel(x, y);
            EXPECT_EQ(differ, 0) << "pixels differ";
        }
    }
}

} // namespace
} // namespace rp
