// Measured points against the design: 100,000 points (half named side
// stakes, half other points placed by the lookup) against a 1,000-row road
// with its heights (the aim: under 1 s), the inspection alone and with the
// file read and the table rendered. Each point lies 7 mm off its stake;
// the heights are not the design's, so most points are out (the same work).
//   build/bench/InspectBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include "core/files/InspectReport.h"
#include "core/files/PointImport.h"
#include "core/road/Inspect.h"
#include "core/road/StakeRun.h"
#include "core/text/ControlLine.h"
#include "core/text/FixedText.h"
#include "core/text/StationText.h"

using namespace vexaline;

namespace {

constexpr int kRows = 1000;  // 999 elements and the end point: 197 km
constexpr int kPoints = 100000;

struct Setup {
    Alignment road;
    Profile profile;
    CrossSlopes slopes;
    std::string cass;  // the points as a CASS file
};

const Setup& TheSetup() {
    static const Setup s = [] {
        std::vector<std::string> list = benchroad::Road(kRows - 1);
        list.insert(list.begin(), ControlHeaderLine());
        Setup setup{Alignment::Parse(list), {}, {}, {}};
        const double length = setup.road.MaxStation();
        std::vector<GradeRow> grades;
        for (int k = 0; k * 500.0 <= length; ++k)
            grades.push_back(GradeRow{k + 2, "", std::to_string(k * 500.0), k % 2 ? "110" : "100", ""});
        setup.profile = BuildProfile(grades).profile;
        setup.slopes = BuildCrossSlopes({{2, "0", "-2", "-2"}}).slopes;
        StakeRequest request;
        request.dEndStation = length - 1, request.dInterval = (length - 1) / (kPoints - 1);
        request.dOffset = 7.5, request.dDeflection = kPi / 2;
        ResultSet set;
        RunStakes(setup.road, request, set, 0, nullptr);
        for (std::size_t i = 0; i < set.rows.size(); ++i) {
            const StakeResult& r = set.rows[i];
            const std::string name =
                i % 2 ? StakeName(FixedRoundTrip(r.dStation, 3), 7.5, kPi / 2) : "P" + std::to_string(i);
            setup.cass += name + ",," + MillimetreText(r.point.Y + 0.004) + "," + MillimetreText(r.point.X - 0.006) +
                          "," + MillimetreText(100 + (i % 7) * 0.003) + "\r\n";
        }
        return setup;
    }();
    return s;
}

void BM_Inspect(benchmark::State& state) {
    const Setup& s = TheSetup();
    const std::vector<MeasuredPoint> points = ImportMeasuredPoints(s.cass, PointFormat::CassDat).points;
    for (auto _ : state) {
        const Inspection result = Inspect(s.road, points, {&s.profile, &s.slopes}, Tolerances());
        benchmark::DoNotOptimize(result.rows.data());
        state.counters["points"] = static_cast<double>(result.rows.size());
        state.counters["out"] = result.summary.nOut;
    }
}
BENCHMARK(BM_Inspect)->Unit(benchmark::kMillisecond);

// From the file's bytes to the text table.
void BM_FileToTable(benchmark::State& state) {
    const Setup& s = TheSetup();
    for (auto _ : state) {
        const MeasuredImport read = ImportMeasuredPoints(s.cass, PointFormat::CassDat);
        const Inspection result = Inspect(s.road, read.points, {&s.profile, &s.slopes}, Tolerances());
        std::string text = InspectText(result, Tolerances());
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_FileToTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
