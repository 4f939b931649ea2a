#include "thousand_dice.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace rp {
namespace {

void BM_PaintThousandDice(benchmark::State& state) {
    CDocState tray;
    bench::FillThousandDice(tray);
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter dc(&image);
        dc.setFont(QGuiApplication::font());
        dc.setPen(Qt::black);
        dc.setBackground(Qt::white);
        dc.setBackgroundMode(Qt::OpaqueMode);
        tray.DrawAll(dc);
    }
}
BENCHMARK(BM_PaintThousandDice)->Unit(benchmark::kMillisecond);

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
