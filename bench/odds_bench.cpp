#include "dice_group.h"
#include "dice_odds.h"

#include <benchmark/benchmark.h>

namespace rp {
namespace {

// Times the exact distribution of a group's total.
void TimeOdds(benchmark::State& state, const CDiceGroup& group) {
    bool refused = false;
    for (auto _ : state) {
        const CDiceOdds odds = CDiceOdds::ForGroup(group);
        refused = odds.IsRefused();
        benchmark::DoNotOptimize(odds.GetMean());
    }
    if (refused)
        state.SetLabel("refused");
}

// From notation and an ignore count.
void BM_Odds(benchmark::State& state, const char* notation, int ignore) {
    CDiceGroup group;
    group.ParseNotation(notation);
    group.SetIgnoreCount(ignore);
    TimeOdds(state, group);
}
BENCHMARK_CAPTURE(BM_Odds, 4d6_ignore_lowest_1, "4d6", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 100d6, "100d6", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 10d100_ignore_lowest_3, "10d100", 3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d6, "1000d6", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d6_ignore_lowest_1, "1000d6", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d6_ignore_lowest_20, "1000d6", 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d16_ignore_lowest_999, "1000d16", 999)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d2_ignore_lowest_500, "1000d2", 500)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1d1500_1d1499_ignore_lowest_1, "1d1500+1d1499", 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 1000d20, "1000d20", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 4d10000, "4d10000", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Odds, 2000d20_ignore_lowest_1000, "2000d20", 1000)
    ->Unit(benchmark::kMillisecond);

// The same with the rules of game systems: ignore highest, count at least, explode.
void BM_RuleOdds(benchmark::State& state, const char* notation, int ignoreHighest, int countAtLeast,
                 bool explode) {
    CDiceGroup group;
    group.ParseNotation(notation);
    group.SetIgnoreHighestCount(ignoreHighest);
    group.SetCountAtLeast(countAtLeast);
    group.SetExplode(explode);
    TimeOdds(state, group);
}
BENCHMARK_CAPTURE(BM_RuleOdds, 2d20_ignore_highest_1, "2d20", 1, 0, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RuleOdds, 10d10_count_8, "10d10", 0, 8, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RuleOdds, 8d6_explode, "8d6", 0, 0, true)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace rp
