// The tray view on the offscreen platform: a full repaint of a 1920 x 1080
// viewport, and one frame of dragging the whole selection.
#include "random_source.h"
#include "table_doc.h"
#include "table_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace rp {
namespace {

// 200 groups of five dice, each titled with one ignored die: 1,000 dice
// filling a 1920 x 1080 view.
struct ThousandDiceView {
    ThousandDiceView() {
        random_source::Seed(1);
        CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
        const int sides[] = {4, 6, 8, 10, 12, 20, 100};
        CDocState& tray = doc.GetCurrentState();
        for (int g = 0; g < 200; ++g) {
            auto group = std::make_unique<CDiceGroupPainter>();
            group->SetTitle("Group " + std::to_string(g));
            group->SetIgnoreCount(1);
            const int left = (g % 5) * 380 + 40, top = (g / 5) * 26 + 40;
            for (int d = 0; d < 5; ++d)
                group->AddNewDie(sides[(g + d) % 7], "Light Gray", left + d * 66, top);
            tray.AddBack(std::move(group));
        }
        doc.UpdateAllViews();
        view.viewport()->resize(1920, 1080);
        view.resize(1920 + view.width() - view.viewport()->width(),
                    1080 + view.height() - view.viewport()->height());
        view.show();
        QCoreApplication::processEvents();
    }
    void Send(QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QCoreApplication::sendEvent(view.viewport(), &event);
    }
    CTableDoc doc;
    CTableView view{&doc};
};

void BM_PaintViewport(benchmark::State& state) {
    ThousandDiceView tray;
    for (auto _ : state)
        tray.view.viewport()->repaint();
}
BENCHMARK(BM_PaintViewport)->Unit(benchmark::kMillisecond);

void BM_DragFrame(benchmark::State& state) {
    ThousandDiceView tray;
    tray.doc.GetCurrentState().SelectAll();
    const QPoint grip = tray.doc.GetCurrentState().Entities()[0]->GetCenter();
    tray.Send(QEvent::MouseButtonPress, grip);
    int step = 0;
    for (auto _ : state) {
        // Each move paints the moving selection at once.
        tray.Send(QEvent::MouseMove, grip + QPoint(40 + step % 7, 30));
        ++step;
    }
    tray.Send(QEvent::MouseButtonRelease, grip);
}
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rp

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
