#include "dice_group.h"
#include "dice_odds.h"

#include <benchmark/benchmark.h>

namespace rp {
namespace {

// The exact distribution of a group's total, from notation and an ignore count.
void BM_Odds(benchmark::State& state, const char* notation, int ignore) {
    CDiceGroup group;
    group.ParseNotation(notation);
    group.SetIgnoreCount(ignore);
    for (auto _ : state) {
        const CDiceOdds odds = CDiceOdds::ForGroup(group);
        benchmark::DoNotOptimize(odds.GetMean());
    }
}
BENCHMARK_CAPTURE(BM_Odds, 4d6_ignore_lowest_1, "4d6", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 100d6, "100d6", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 10d100_ignore_lowest_3, "10d100", 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d6, "1000d6", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d6_ignore_lowest_1, "1000d6", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d20, "1000d20", 0)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rp
