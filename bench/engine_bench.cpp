#include "dice_group.h"
#include "hostile_files.h"
#include "mini_list.h"
#include "random_source.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace rp {
namespace {

void BM_Roll3d6Plus2(benchmark::State& state) {
    random_source::Seed(1);
    CDiceGroup group;
    group.ParseNotation("3d6+2");
    for (auto _ : state)
        benchmark::DoNotOptimize(group.Roll());
}
BENCHMARK(BM_Roll3d6Plus2);

void BM_Roll4d6IgnoreLowest(benchmark::State& state) {
    random_source::Seed(1);
    CDiceGroup group;
    group.ParseNotation("4d6");
    group.SetIgnoreCount(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(group.Roll());
}
BENCHMARK(BM_Roll4d6IgnoreLowest);

void BM_ParseNotation(benchmark::State& state) {
    random_source::Seed(1);
    for (auto _ : state) {
        CDiceGroup group;
        benchmark::DoNotOptimize(group.ParseNotation("2d6+1d8+3"));
    }
}
BENCHMARK(BM_ParseNotation);

// Typed notation rolled once: a fresh group is read and rolled each time.
void BM_ParseAndRoll(benchmark::State& state, const char* notation, int ignoreLowest) {
    random_source::Seed(1);
    for (auto _ : state) {
        CDiceGroup group;
        group.ParseNotation(notation);
        group.SetIgnoreCount(ignoreLowest);
        benchmark::DoNotOptimize(group.Roll());
    }
}
BENCHMARK_CAPTURE(BM_ParseAndRoll, 4d6IgnoreLowest, "4d6", 1);
BENCHMARK_CAPTURE(BM_ParseAndRoll, 3d6Plus2, "3d6+2", 0);
BENCHMARK_CAPTURE(BM_ParseAndRoll, 2d6Plus1d8Plus3, "2d6+1d8+3", 0);

// A tray of 1,000 groups of 10 dice each, with positions and colours.
std::string TenThousandDieTray() {
    random_source::Seed(1);
    xml::CXmlDocument doc;
    pugi::xml_node root = doc.CreateRoot("dicegroups");
    for (int g = 0; g < 1000; ++g) {
        CDiceGroup group;
        group.SetTitle("Group " + std::to_string(g));
        group.ParseNotation("4d6+3d8+2d10+1d20+2");
        group.SetIgnoreCount(1);
        pugi::xml_node element = group.SaveElement(root, true);
        int x = 40;
        for (pugi::xml_node die : element.children("die")) {
            pugi::xml_node position = die.append_child("position");
            position.append_attribute("x") = x += 70;
            position.append_attribute("y") = g * 110;
            die.append_child("color").text() = "Light Gray";
        }
    }
    return LayOutXmlText(doc.Serialize());
}

void BM_ReadTenThousandDieTrayForMiniList(benchmark::State& state) {
    const std::string text = TenThousandDieTray();
    for (auto _ : state) {
        MiniGroups groups = ReadMiniGroupsFromText(text);
        benchmark::DoNotOptimize(groups.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadTenThousandDieTrayForMiniList)->Unit(benchmark::kMillisecond);

void BM_WriteTenThousandDieTray(benchmark::State& state) {
    random_source::Seed(1);
    std::vector<std::unique_ptr<CDiceGroup>> groups;
    for (int g = 0; g < 1000; ++g) {
        groups.push_back(std::make_unique<CDiceGroup>());
        groups.back()->SetTitle("Group " + std::to_string(g));
        groups.back()->ParseNotation("4d6+3d8+2d10+1d20+2");
    }
    for (auto _ : state) {
        xml::CXmlDocument doc;
        pugi::xml_node root = doc.CreateRoot("dicegroups");
        for (const auto& group : groups)
            group->SaveElement(root, true);
        const std::string text = LayOutXmlText(doc.Serialize());
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_WriteTenThousandDieTray)->Unit(benchmark::kMillisecond);

// A group of plain dice of the given side counts, rolled.
std::unique_ptr<CDiceGroup> PlainGroup(int count, int sides, bool distinct) {
    random_source::Seed(1);
    auto group = std::make_unique<CDiceGroup>();
    for (int i = 0; i < count; ++i)
        group->AddDieBack(std::make_unique<CDie>(distinct ? i + 1 : sides, 0));
    return group;
}

// Medians of five runs.
void FiveRuns(benchmark::internal::Benchmark* b) {
    b->Repetitions(5)->ReportAggregatesOnly(true);
}

void BM_RollTenThousandDiceIgnoringFiveThousand(benchmark::State& state) {
    const auto group = PlainGroup(10000, 6, false);
    group->SetIgnoreCount(5000);
    for (auto _ : state)
        benchmark::DoNotOptimize(group->Roll());
}
BENCHMARK(BM_RollTenThousandDiceIgnoringFiveThousand)
    ->Unit(benchmark::kMicrosecond)
    ->Apply(FiveRuns);

void BM_IgnoredDiceOfTwoHundredThousandD1000(benchmark::State& state) {
    const auto group = PlainGroup(200000, 1000, false);
    group->SetIgnoreCount(200000);
    std::vector<const CDie*> ignored;
    for (auto _ : state) {
        group->GetIgnoredDice(ignored);
        benchmark::DoNotOptimize(ignored.data());
    }
}
BENCHMARK(BM_IgnoredDiceOfTwoHundredThousandD1000)->Unit(benchmark::kMillisecond)->Apply(FiveRuns);

void BM_DescribeThreeHundredThousandSideCounts(benchmark::State& state) {
    const auto group = PlainGroup(300000, 0, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(group->GetDescription());
}
BENCHMARK(BM_DescribeThreeHundredThousandSideCounts)
    ->Unit(benchmark::kMillisecond)
    ->Apply(FiveRuns);

// Reading 64 MiB hostile files as MiniRollpouch does, with the peak memory.
void BM_MiniReadsHostileFile(benchmark::State& state, bench::HostileKind kind) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string path = bench::WriteHostileFile(kind, folder);
    bench::MeasureRead(state, [&] {
        xml::CXmlDocument document;
        document.ParseFile(path);
        bool leftOut = false;
        MiniGroups groups = ReadMiniGroups(document.Root(), &leftOut);
        benchmark::DoNotOptimize(groups.data());
    });
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_MiniReadsHostileFile, NotationChildren, bench::HostileKind::NotationChildren)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK_CAPTURE(BM_MiniReadsHostileFile, NotationGroups, bench::HostileKind::NotationGroups)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

// A 64 MiB line of "d" as notation: the walk stops at the group's cap.
void BM_ParseNotationOfLineOfD(benchmark::State& state) {
    const std::string text = bench::HostileText(bench::HostileKind::LineOfD);
    bench::MeasureRead(state, [&] {
        CDiceGroup group;
        benchmark::DoNotOptimize(group.ParseNotation(text));
    });
}
BENCHMARK(BM_ParseNotationOfLineOfD)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace
} // namespace rp
