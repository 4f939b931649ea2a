#include "strokes.h"
#include "text_metrics.h"
#include "thousand_dice.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace rp {
namespace {

// Paints the tray as the tray view does, at a device pixel ratio.
void PaintThousandDice(benchmark::State& state, int ratio) {
    CDocState tray;
    bench::FillThousandDice(tray);
    QImage image(1920 * ratio, 1080 * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter dc(&image);
        dc.setFont(TrayFont());
        dc.setPen(TrayPen(Qt::black));
        dc.setBackground(Qt::white);
        dc.setBackgroundMode(Qt::OpaqueMode);
        tray.DrawAll(dc);
    }
}

void BM_PaintThousandDice(benchmark::State& state) {
    PaintThousandDice(state, 1);
}
BENCHMARK(BM_PaintThousandDice)->Unit(benchmark::kMillisecond);

// The same tray into 3840 x 2160 pixels, with the double pictures.
void BM_PaintThousandDiceAt2x(benchmark::State& state) {
    PaintThousandDice(state, 2);
}
BENCHMARK(BM_PaintThousandDiceAt2x)->Unit(benchmark::kMillisecond);

// Colouring 10,000 dice: every die looks its picture up on disk again.
void BM_ColourTenThousandDice(benchmark::State& state) {
    CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
    CDiceGroupPainter group;
    for (int d = 0; d < 10000; ++d)
        group.AddNewDie(6, "Light Gray", 0, 0);
    bool red = false;
    for (auto _ : state) {
        red = !red;
        group.SetDiceColor(red ? "Red" : "Light Gray");
    }
}
BENCHMARK(BM_ColourTenThousandDice)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rp

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
