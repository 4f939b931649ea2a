// The tray view on the offscreen platform: a full repaint of a 1920 x 1080
// viewport, one frame of dragging the whole selection, and a die-bar click
// on a tall tray.
#include "fake_shell_host.h"
#include "table_doc.h"
#include "table_view.h"
#include "thousand_dice.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace rp {
namespace {

// A 1920 x 1080 view of 1,000 dice.
struct ThousandDiceView {
    ThousandDiceView() {
        bench::FillThousandDice(doc.GetCurrentState());
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
    test::FakeShellHost host;
    CTableDoc doc;
    CTableView view{&doc, host};
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

// A die-bar click on a tray whose one group of 1,000 dice, ten across and
// a hundred down, spans the view's width: the free spot is below it.
void BM_ClickAddsBelowATallGroup(benchmark::State& state) {
    CTableDoc doc;
    auto group = std::make_unique<CDiceGroupPainter>();
    for (int d = 0; d < 1000; ++d)
        group->AddNewDie(6, "Light Gray", 65 + (d % 10) * 110, 65 + (d / 10) * 110);
    doc.GetCurrentState().AddBack(std::move(group));
    test::FakeShellHost host;
    CTableView view(&doc, host);
    view.viewport()->resize(1100, 800);
    view.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        view.AddDiceAtFreeSpot(6, 1);
        doc.Undo(1);
    }
}
BENCHMARK(BM_ClickAddsBelowATallGroup)->Unit(benchmark::kMillisecond);

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
