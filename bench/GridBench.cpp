// A million points carried between grids: BM_Grid the core's share (PROJ,
// each point checked by carrying it back), BM_CliTransform the command
// itself, a CSV file of a million points read, carried and written (the
// aim: under 2 s either way).
//   build/bench/GridBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchCli.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "core/files/TextFile.h"
#include "core/grid/FourParam.h"
#include "core/grid/Grid.h"
#include "core/text/DmsText.h"
#include "core/text/TextFields.h"

using namespace vexaline;

namespace {

constexpr int kPoints = 1000000;

// A site 20 km by 20 km beside the meridian 114°E, in the zone's grid or
// in latitude and longitude.
CPlanePoint SitePoint(int i, bool latLon) {
    const double u = (i % 1000) / 1000.0, v = (i / 1000) / 1000.0;
    return latLon ? CPlanePoint(30 + 0.18 * u, 113.9 + 0.2 * v) : CPlanePoint(3320000 + 20000 * u, 490000 + 20000 * v);
}

GridTransform Transform(const char* from, const char* to) {
    return std::move(*GridTransform::Between(*ReadGrid(from).grid, *ReadGrid(to).grid).transform);
}

}  // namespace

// Arg 0: zone to latitude and longitude; 1: back; 2: a custom grid to a zone.
static void BM_Grid(benchmark::State& state) {
    const int way = static_cast<int>(state.range(0));
    const GridTransform t = way == 2 ? Transform("GK:114.3000,50", "EPSG:4526") : Transform("EPSG:4547", "EPSG:4490");
    std::vector<CPlanePoint> points(kPoints);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kPoints; ++i) points[i] = SitePoint(i, way == 1);
        state.ResumeTiming();
        if (t.Apply(points, way == 1)) return state.SkipWithError("a point was refused");
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_Grid)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

static void BM_FourParam(benchmark::State& state) {
    const FourParam four{-2743000, -2681000, 0.6435011087932844, 1.000012};
    std::vector<CPlanePoint> points(kPoints);
    for (int i = 0; i < kPoints; ++i) points[i] = SitePoint(i, false);
    for (auto _ : state) {
        for (CPlanePoint& p : points) p = ApplyFour(four, p);
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_FourParam)->Unit(benchmark::kMillisecond);

#ifdef VEXALINE_CLI
// Arg 0: `transform` of a CSV in the zone's grid to D.MMSS latitudes and
// longitudes; 1: of D.MMSS ones back to the grid.
static void BM_CliTransform(benchmark::State& state) {
    const bool back = state.range(0) == 1;
    char folder[] = "/tmp/vexaline-bench-XXXXXX";
    if (!::mkdtemp(folder)) return state.SkipWithError("no temporary folder");
    const std::string dir = folder, in = dir + "/in.csv", out = dir + "/out.csv";
    std::string bytes = "点名,X,Y,H\r\n";
    bytes.reserve(48 * kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const CPlanePoint p = SitePoint(i, back);
        bytes += back ? Format("P%d,%s,%s,100.000\r\n", i, DmsDegreesText(p.X).c_str(), DmsDegreesText(p.Y).c_str())
                      : Format("P%d,%.3f,%.3f,100.000\r\n", i, p.X, p.Y);
    }
    if (!WriteFileAtomically(in, bytes)) return state.SkipWithError("cannot write the points");
    const char* from = back ? "EPSG:4490" : "EPSG:4547";
    const char* to = back ? "EPSG:4547" : "EPSG:4490";
    std::vector<const char*> argv = {VEXALINE_CLI, "transform", in.c_str(), out.c_str(), "--from", from, "--to", to, nullptr};
    if (!benchcli::TimeRuns(state, argv)) return;
    state.SetItemsProcessed(state.iterations() * kPoints);
    std::remove(in.c_str()), std::remove(out.c_str()), ::rmdir(folder);
}
BENCHMARK(BM_CliTransform)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif
BENCHMARK_MAIN();
