// Heights on a run: a million stakes with and without their design
// elevations (the aim: at most 1.3× the run without), centre stakes and
// side stakes 7.5 m square to the road; and the vertical curve table of
// 10,000 grade points, built and rendered (the aim: under 50 ms).
//   build/bench/HeightBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include "core/files/ProfileCsv.h"
#include "core/road/StakeHeight.h"
#include "core/road/StakeRun.h"
#include "core/text/ControlLine.h"

using namespace vexaline;

namespace {

constexpr int kElements = 400;  // 79 km
constexpr double kLength = kElements / 4 * 790.0;

struct Road {
    Alignment road;
    Profile profile;
    CrossSlopes slopes;
};

const Road& TheRoad() {
    static const Road r = [] {
        std::vector<std::string> list = benchroad::Road(kElements);
        list.insert(list.begin(), ControlHeaderLine());
        std::vector<SlopeRow> slopes;
        for (int k = 0; k * 395.0 <= kLength; ++k)
            slopes.push_back(SlopeRow{k + 2, std::to_string(k * 395.0), k % 2 ? "4" : "-2", k % 2 ? "-4" : "-2"});
        return Road{Alignment::Parse(list), BuildProfile(benchroad::Grades(static_cast<int>(kLength / 500), 500)).profile,
                    BuildCrossSlopes(slopes).slopes};
    }();
    return r;
}

// A million stakes over the road; with heights when range(1) is 1.
void BM_Run(benchmark::State& state) {
    const Road& r = TheRoad();
    StakeRequest request;
    request.dStartStation = 0, request.dEndStation = 1e6 * 0.075, request.dInterval = 0.075;
    request.dOffset = static_cast<double>(state.range(0)) / 10;
    request.dDeflection = *ParseDeflection("90.0000");
    for (auto _ : state) {
        ResultSet set;
        RunStakes(r.road, request, set, 0, nullptr);
        if (state.range(1)) AddHeights(set, r.road, r.profile, r.slopes);
        benchmark::DoNotOptimize(set.rows.data());
        state.counters["stakes"] = static_cast<double>(set.rows.size());
    }
}
BENCHMARK(BM_Run)
    ->ArgNames({"offset_dm", "heights"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({75, 0})
    ->Args({75, 1})
    ->Unit(benchmark::kMillisecond);

// The heights alone, on a run made once: what they add to it.
void BM_HeightsAlone(benchmark::State& state) {
    const Road& r = TheRoad();
    StakeRequest request;
    request.dStartStation = 0, request.dEndStation = 1e6 * 0.075, request.dInterval = 0.075;
    request.dOffset = static_cast<double>(state.range(0)) / 10;
    request.dDeflection = *ParseDeflection("90.0000");
    ResultSet set;
    RunStakes(r.road, request, set, 0, nullptr);
    for (auto _ : state) {
        AddHeights(set, r.road, r.profile, r.slopes);
        benchmark::DoNotOptimize(set.rows.data());
    }
}
BENCHMARK(BM_HeightsAlone)->ArgName("offset_dm")->Arg(0)->Arg(75)->Unit(benchmark::kMillisecond);

// The vertical curve table of 10,000 grade points: built from the rows and
// rendered as its file.
void BM_CurveTable(benchmark::State& state) {
    const std::vector<GradeRow> rows = benchroad::Grades(10000, 500);
    for (auto _ : state) {
        const ProfileBuild b = BuildProfile(rows);
        std::string csv = VerticalCurveTableCsv(b.profile);
        benchmark::DoNotOptimize(csv.data());
    }
}
BENCHMARK(BM_CurveTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
