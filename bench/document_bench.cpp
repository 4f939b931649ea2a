#include "hostile_files.h"
#include "random_source.h"
#include "table_doc.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace rp {
namespace {

// A tray of `groups` groups of ten dice with pictures, in rows.
void FillTray(CDocState& state, int groups) {
    random_source::Seed(1);
    const int sides[] = {4, 6, 8, 10, 12, 20, 100};
    for (int g = 0; g < groups; ++g) {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle("Group " + std::to_string(g));
        for (int d = 0; d < 10; ++d)
            group->AddNewDie(sides[(g + d) % 7], "Light Gray", 40 + d * 70 + (g % 4) * 800,
                             60 + (g / 4) * 110);
        state.AddBack(std::move(group));
    }
}

void BM_PushStateThousandDice(benchmark::State& state) {
    CTableDoc doc;
    FillTray(doc.GetCurrentState(), 100);
    for (auto _ : state) {
        CDocState& pushed = doc.PushState();
        benchmark::DoNotOptimize(&pushed);
        state.PauseTiming();
        doc.Undo(1); // an unlabelled state: dropped by the next push's trim
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PushStateThousandDice)->Unit(benchmark::kMicrosecond);

class TenThousandDieFile {
public:
    TenThousandDieFile() : path(folder.filePath("big.rlp")) {
        CTableDoc doc;
        FillTray(doc.GetCurrentState(), 1000);
        doc.Save(path);
    }
    QTemporaryDir folder;
    QString path;
};

void BM_OpenTenThousandDieTray(benchmark::State& state) {
    const TenThousandDieFile file;
    CTableDoc doc;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.Open(file.path));
}
BENCHMARK(BM_OpenTenThousandDieTray)->Unit(benchmark::kMillisecond);

void BM_SaveTenThousandDieTray(benchmark::State& state) {
    const TenThousandDieFile file;
    CTableDoc doc;
    doc.Open(file.path);
    const QString out = file.folder.filePath("saved.rlp");
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.Save(out));
}
BENCHMARK(BM_SaveTenThousandDieTray)->Unit(benchmark::kMillisecond);

// The heap a history of 200 edits on a 1,000-die tray holds.
void BM_HistoryOfTwoHundredEdits(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto doc = std::make_unique<CTableDoc>();
        FillTray(doc->GetCurrentState(), 100);
        doc->GetCurrentState().SelectAll();
        for (int i = 0; i < 200; ++i)
            doc->PushState().IncrementModifiers();
        const std::size_t after = mallinfo2().uordblks;
        state.counters["MB"] = static_cast<double>(after - before) / (1 << 20);
        doc.reset();
    }
}
BENCHMARK(BM_HistoryOfTwoHundredEdits)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening 64 MiB hostile files as Rollpouch does, with the peak memory.
void BM_OpenHostileFile(benchmark::State& state, bench::HostileKind kind) {
    const QTemporaryDir folder;
    const std::string path = bench::WriteHostileFile(kind, folder.path().toStdString());
    bench::MeasureRead(state, [&] {
        CTableDoc doc;
        QString warning;
        doc.Open(QString::fromStdString(path), nullptr, &warning);
        benchmark::DoNotOptimize(warning.size());
    });
}
void OnceEach(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
}
using bench::HostileKind;
BENCHMARK_CAPTURE(BM_OpenHostileFile, NotationChildren, HostileKind::NotationChildren)
    ->Apply(OnceEach);
BENCHMARK_CAPTURE(BM_OpenHostileFile, NotationGroups, HostileKind::NotationGroups)->Apply(OnceEach);
BENCHMARK_CAPTURE(BM_OpenHostileFile, SlashLine, HostileKind::SlashLine)->Apply(OnceEach);
BENCHMARK_CAPTURE(BM_OpenHostileFile, TitledSlashLine, HostileKind::TitledSlashLine)
    ->Apply(OnceEach);
BENCHMARK_CAPTURE(BM_OpenHostileFile, LineOfD, HostileKind::LineOfD)->Apply(OnceEach);
BENCHMARK_CAPTURE(BM_OpenHostileFile, ModifierPieces, HostileKind::ModifierPieces)->Apply(OnceEach);

// Pasting 320,000 texts (9.6 MB of tray XML) and 100,000 lines of "d6".
void BM_Paste(benchmark::State& state, bool texts) {
    std::string text = texts ? "<dicegroups>" : "";
    for (int i = 0; i < (texts ? 320000 : 100000); ++i)
        text += texts ? "<text value=\"t\"><position x=\"10\" y=\"10\"/></text>" : "d6\n";
    if (texts)
        text += "</dicegroups>";
    for (auto _ : state) {
        CDocState tray(nullptr);
        tray.PasteText(text, std::nullopt);
        benchmark::DoNotOptimize(tray.Entities().size());
    }
}
BENCHMARK_CAPTURE(BM_Paste, Texts, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK_CAPTURE(BM_Paste, LinesOfD6, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

} // namespace
} // namespace rp

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    rp::CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
