// The IFC file of a 1,000-row road (197.5 km) with its profile, a grade
// point every 500 m (the aim: under 1 s).
//   build/bench/IfcBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include "core/files/IfcExport.h"
#include "core/text/ControlLine.h"

using namespace vexaline;

namespace {

constexpr int kElements = 999;  // 1,000 rows
constexpr double kLength = kElements / 4 * 790.0 + 300 + 120 + 250;

void BM_IfcWithProfile(benchmark::State& state) {
    std::vector<std::string> list = benchroad::Road(kElements);
    list.insert(list.begin(), ControlHeaderLine());
    const Alignment road = Alignment::Parse(list);
    // Grade points every 500 m, the last at the road's end.
    std::vector<GradeRow> rows = benchroad::Grades(static_cast<int>(kLength / 500) + 1, 500);
    rows.back().strStation = std::to_string(kLength);
    const Profile profile = BuildProfile(rows).profile;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const IfcExport out = ExportIfc(road, "bench", 0, &profile);
        if (!out.strMessage.empty()) return state.SkipWithError(out.strMessage.c_str());
        bytes = out.bytes.size();
        benchmark::DoNotOptimize(out.bytes.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_IfcWithProfile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
