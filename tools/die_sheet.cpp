// Paints every die picture set and a sample tray into one PNG, for looking
// at what the dice and groups draw: rollpouch-die-sheet OUT.png [SCALE], SCALE
// being the device pixel ratio (1 or 2; default 1).
#include "colour.h"
#include "die_shapes.h"
#include "doc_state.h"
#include "random_source.h"
#include "strokes.h"
#include "text_metrics.h"
#include "text_painter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace rp;

const int kSides[] = {4, 6, 8, 10, 12, 20, 100};

// One row per colour folder, one die per side count, on the given background.
void PaintSets(QPainter& dc, const QStringList& colours, int left, const QColor& background) {
    const int width = 640, height = 80 * static_cast<int>(colours.size() + 1) + 40;
    dc.fillRect(left, 0, width, height, background);
    dc.setPen(TrayPen(ContrastColor(background)));
    dc.setBackground(background);
    int y = 60;
    for (const QString& colour : colours) {
        dc.drawText(left + 4, y - 4, colour.left(10));
        int x = left + 120;
        for (const int sides : kSides) {
            auto die = MakeDiePainter(sides, x, y, sides == 100 ? 88 : sides);
            die->SetColor(colour);
            die->Draw(dc);
            x += 74;
        }
        y += 80;
    }
    // The outline drawings, with a label.
    int x = left + 120;
    for (const int sides : kSides) {
        auto die = MakeDiePainter(sides, x, y, 3);
        if (sides == 6)
            die->SetModifier(2);
        die->Draw(dc);
        x += 74;
    }
}

void PaintTray(QPainter& dc, int top) {
    dc.fillRect(0, top, 1280, 420, Qt::white);
    dc.setPen(TrayPen(Qt::black));
    dc.setBackground(Qt::white);
    CDocState state;
    auto attack = std::make_unique<CDiceGroupPainter>();
    attack->SetTitle("Attack");
    attack->AddNewDie(20, "Red", 80, top + 90);
    attack->SetModifier(5);
    auto stats = std::make_unique<CDiceGroupPainter>();
    stats->SetTitle("Stats");
    for (int i = 0; i < 4; ++i)
        stats->AddNewDie(6, "Ivory", 420 - 70 * i, top + 90);
    stats->SetIgnoreCount(1);
    stats->SetSelected(true);
    auto damage = std::make_unique<CDiceGroupPainter>();
    damage->SetTitle("Damage");
    damage->AddNewDie(8, "Blue", 560, top + 90);
    damage->AddNewDie(4, "Green", 640, top + 90);
    damage->SetMultiplier("1/2");
    damage->PainterAt(0).SetModifier(1);
    auto plain = std::make_unique<CDiceGroupPainter>();
    plain->AddNewDie(7, "", 820, top + 90);
    plain->AddNewDie(12, "Nowhere", 900, top + 90);
    plain->SetModifier(-3);
    auto black = std::make_unique<CDiceGroupPainter>();
    black->SetTitle("Shadow");
    black->AddNewDie(100, "Black", 1060, top + 90);
    black->AddNewDie(10, "Purple", 1140, top + 90);
    auto note = std::make_unique<CTextPainter>("Round 1: the goblins attack", 40, top + 250);
    note->SetSelected(true);
    state.AddBack(std::move(attack));
    state.AddBack(std::move(stats));
    state.AddBack(std::move(damage));
    state.AddBack(std::move(plain));
    state.AddBack(std::move(black));
    state.AddBack(std::move(note));
    state.DrawAll(dc);
    QPoint drop(565, top + 330); // snaps to the left edge of "Damage"
    state.DrawNewDie(dc, 20, drop);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    random_source::Seed(7);
    const int scale = argc == 3 ? std::atoi(argv[2]) : 1;
    if ((argc != 2 && argc != 3) || (scale != 1 && scale != 2)) {
        std::fprintf(stderr, "usage: rollpouch-die-sheet OUT.png [SCALE]\n");
        return 2;
    }
    const QStringList colours =
        QDir(CDiePainter::ImagesFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const int setsHeight = 80 * static_cast<int>(colours.size()) + 120;
    QImage image(1280 * scale, (setsHeight + 420) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter dc(&image);
    dc.setFont(TrayFont());
    dc.setBackgroundMode(Qt::OpaqueMode);
    PaintSets(dc, colours, 0, Qt::white);
    PaintSets(dc, colours, 640, QColor(40, 40, 40));
    PaintTray(dc, setsHeight);
    dc.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[1]);
        return 2;
    }
    return 0;
}
