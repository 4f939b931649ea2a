#include "doc_state.h"
#include "random_source.h"
#include "strokes.h"
#include "text_metrics.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace rp {
namespace {

// 200 groups of five dice in a 1920 x 1080 tray: titles, totals, one
// ignored die each, dice drawn from their pictures.
std::unique_ptr<CDocState> ThousandDice() {
    random_source::Seed(1);
    CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
    const int sides[] = {4, 6, 8, 10, 12, 20, 100};
    auto tray = std::make_unique<CDocState>();
    for (int g = 0; g < 200; ++g) {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle("Group " + std::to_string(g));
        group->SetIgnoreCount(1);
        const int left = (g % 5) * 380 + 40, top = (g / 5) * 26 + 40;
        for (int d = 0; d < 5; ++d)
            group->AddNewDie(sides[(g + d) % 7], "Light Gray", left + d * 66, top);
        tray->AddBack(std::move(group));
    }
    return tray;
}

// Paints the tray as the tray view does, at a device pixel ratio.
void PaintThousandDice(benchmark::State& state, int ratio) {
    const auto tray = ThousandDice();
    QImage image(1920 * ratio, 1080 * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter dc(&image);
        dc.setFont(TrayFont());
        dc.setPen(TrayPen(Qt::black));
        dc.setBackground(Qt::white);
        dc.setBackgroundMode(Qt::OpaqueMode);
        tray->DrawAll(dc);
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
