#include "doc_state.h"
#include "random_source.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace rp {
namespace {

// 200 groups of five dice in a 1920 x 1080 tray: titles, totals, one
// ignored die each, dice drawn from their pictures.
void BM_PaintThousandDice(benchmark::State& state) {
    random_source::Seed(1);
    CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
    const int sides[] = {4, 6, 8, 10, 12, 20, 100};
    CDocState tray;
    for (int g = 0; g < 200; ++g) {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle("Group " + std::to_string(g));
        group->SetIgnoreCount(1);
        const int left = (g % 5) * 380 + 40, top = (g / 5) * 26 + 40;
        for (int d = 0; d < 5; ++d)
            group->AddNewDie(sides[(g + d) % 7], "Light Gray", left + d * 66, top);
        tray.AddBack(std::move(group));
    }
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
