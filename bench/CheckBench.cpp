// The control-data check of a 1,000-row road: clean, and with one typing
// fault so that the suggestion search runs (the aim: well under 0.5 s).
//   build/bench/CheckBench
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include "core/road/ControlCheck.h"
#include "core/text/ControlLine.h"

using namespace vexaline;

static void BM_CheckControl(benchmark::State& state) {
    std::vector<std::string> list = benchroad::Road(999);
    list.insert(list.begin(), ControlHeaderLine());
    if (state.range(0) == 1) {  // two digits of X exchanged on row 502
        ControlRow row = SplitControlLine(list[502]);
        std::swap(row.strField[kFieldX][5], row.strField[kFieldX][6]);
        list[502] = BuildControlLine(row);
    }
    const Alignment road = Alignment::Parse(list);
    for (auto _ : state) {
        CheckReport report = CheckControl(road);
        benchmark::DoNotOptimize(report.elements.data());
        state.counters["flagged"] = static_cast<double>(report.flaggedRows.size());
        state.counters["suggested"] = report.suggestion ? 1 : 0;
    }
    state.SetLabel("1000 rows");
}
BENCHMARK(BM_CheckControl)->ArgName("fault")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
