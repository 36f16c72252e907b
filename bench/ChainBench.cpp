// A run on a road whose drawings carry station equations against the same
// run on the road without them: 10⁵ stakes at 1 m and 10⁶ at 0.1 m over the
// first 100 km of a 118.5 km road, with 0, 10, 1,000 and 10,000 equations
// spread along it (two 长链 of 2 m, then a 短链 of 3 m, in turn).
//   build/bench/ChainBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include <cmath>
#include <map>

#include "core/road/StakeRun.h"
#include "core/text/ControlLine.h"
#include "core/text/TextFields.h"

using namespace vexaline;

namespace {

constexpr int kElements = 600;
constexpr double kLength = kElements / 4 * 790.0;

struct Road {
    Alignment road;
    std::size_t elements = 0;
};

// The road with `count` equations, its rows' stations written as the
// drawings would: 桩号 = distance − the shift of its zone. Each equation lies
// at a distance ending in 5 m, so no change point (all on whole tens) falls
// within a 长链's repeated 桩号 or a 短链's skipped ones.
Road MakeRoad(int count) {
    std::vector<std::string> list = benchroad::Road(kElements);
    list.insert(list.begin(), ControlHeaderLine());
    std::vector<EquationRow> rows;
    std::map<double, double> shiftAfter;  // equation distance → shift of the zone after it
    double shift = 0;
    for (int k = 0; k < count; ++k) {
        const double at = 10 * std::floor((k + 0.5) * kLength / count / 10) + 5;
        const double back = at - shift, chain = k % 3 == 2 ? -3 : 2;  // back − ahead
        rows.push_back(EquationRow{k + 2, Format("%.0f", back), Format("%.0f", back - chain)});
        shift += chain;
        shiftAfter[at] = shift;
    }
    for (std::size_t i = 1; i < list.size(); ++i) {
        const double d = std::atof(list[i].substr(0, 12).c_str());
        auto zone = shiftAfter.lower_bound(d);
        const double s = d - (zone == shiftAfter.begin() ? 0.0 : std::prev(zone)->second);
        list[i] = PadRight(Format("%.0f", s), 12) + list[i].substr(12);
    }
    const ChainageBuild chain = BuildChainage(rows);
    return Road{Alignment::Parse(list, chain.chain), chain.Ok() ? list.size() - 2 : 0};
}

const Road& RoadWith(int count) {
    static std::map<int, Road> roads;
    auto it = roads.find(count);
    if (it == roads.end()) it = roads.emplace(count, MakeRoad(count)).first;
    return it->second;
}

void BM_ChainRun(benchmark::State& state) {
    const Road& r = RoadWith(static_cast<int>(state.range(0)));
    if (!r.road.Usable() || !r.road.ChainMessage().empty() || r.road.Elements().size() != r.elements) {
        state.SkipWithError("the road with equations does not build");
        return;
    }
    StakeRequest request;
    request.dStartStation = 0, request.dEndStation = 100000, request.dInterval = 1e5 / state.range(1);
    for (auto _ : state) {
        ResultSet set;
        RunStakes(r.road, request, set, 0, nullptr);
        benchmark::DoNotOptimize(set.rows.data());
        state.counters["stakes"] = static_cast<double>(set.rows.size());
    }
}
BENCHMARK(BM_ChainRun)
    ->ArgNames({"equations", "stakes"})
    ->ArgsProduct({{0, 10, 1000, 10000}, {100000, 1000000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
