#include "dice_group.h"
#include "mini_list.h"
#include "random_source.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <benchmark/benchmark.h>

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

} // namespace
} // namespace rp
