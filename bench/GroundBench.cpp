// The ground: a TIN of a million surveyed points along 7.5 km of road (a
// drone survey of a 120 m corridor, 1.1 points a square metre) built, and
// 10,000 sections 100 m wide cut from it (the aims: under 5 s and under
// 1 s); and the command `section --json --ground` over 10,000 stations with
// ground sections of 40 points, files read and JSON written (aim: 2 s).
//   build/bench/GroundBench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchCli.h"

#include "BenchRoad.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "core/files/AlignmentFile.h"
#include "core/files/GroundFile.h"
#include "core/files/ProfileCsv.h"
#include "core/files/SectionCsv.h"
#include "core/files/TextFile.h"
#include "core/road/GroundModel.h"
#include "core/text/ControlLine.h"
#include "core/text/TextFields.h"

using namespace vexaline;

namespace {

constexpr int kElements = 40;  // 7.9 km
constexpr int kStations = 10000;
constexpr double kInterval = 0.75;  // 7.5 km of stations
constexpr int kSurveyPoints = 1000000;

const Alignment& Road() {
    static const Alignment road = [] {
        std::vector<std::string> list = benchroad::Road(kElements);
        list.insert(list.begin(), ControlHeaderLine());
        return Alignment::Parse(list);
    }();
    return road;
}

// Rolling ground: a few metres either side of 105.
double GroundAt(double x, double y) {
    return 105 + 3 * std::sin(x / 90) + 2 * std::cos(y / 70) + 0.3 * std::sin(x / 7);
}

std::vector<SectionLine> Lines() {
    std::vector<SectionLine> lines;
    for (int i = 0; i < kStations; ++i) lines.push_back(SectionLineAt(Road(), i * kInterval));
    return lines;
}

const std::vector<MeasuredPoint>& Survey() {
    static const std::vector<MeasuredPoint> points = [] {
        std::mt19937_64 random(42);
        std::uniform_real_distribution<double> along(0, kStations * kInterval), across(-60, 60);
        std::vector<MeasuredPoint> p;
        p.reserve(kSurveyPoints);
        for (int k = 0; k < kSurveyPoints; ++k) {
            const SectionLine l = SectionLineAt(Road(), along(random));
            const double o = across(random), a = l.dAzimuth + kPi / 2;
            const double x = l.centre.X + o * std::cos(a), y = l.centre.Y + o * std::sin(a);
            p.push_back({"", x, y, GroundAt(x, y)});
        }
        return p;
    }();
    return points;
}

}  // namespace

static void BM_TinBuild(benchmark::State& state) {
    const std::vector<MeasuredPoint>& points = Survey();
    for (auto _ : state) {
        const GroundModelBuild b = GroundModel::Build(points);
        if (!b.Ok()) return state.SkipWithError(b.strMessage.c_str());
        benchmark::DoNotOptimize(b.model.Triangles());
    }
    state.SetItemsProcessed(state.iterations() * kSurveyPoints);
}
BENCHMARK(BM_TinBuild)->Unit(benchmark::kMillisecond);

static void BM_TinCut(benchmark::State& state) {
    const GroundModelBuild b = GroundModel::Build(Survey());
    const std::vector<SectionLine> lines = Lines();
    std::size_t points = 0;
    for (auto _ : state) {
        const std::vector<GroundSection> sections = b.model.Cut(lines, 50);
        points = 0;
        for (const GroundSection& s : sections) points += s.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points/section"] = static_cast<double>(points) / kStations;
    state.SetItemsProcessed(state.iterations() * kStations);
}
BENCHMARK(BM_TinCut)->Unit(benchmark::kMillisecond);

#ifdef VEXALINE_CLI
namespace {

// The sample road's template with fixed falls: carriageway, shoulders, verge, slopes.
std::vector<TemplateRow> TemplateRows() {
    const std::vector<std::vector<std::string>> cells = {
        {"行车道", "7.5", "-2", "", "", ""}, {"硬路肩", "2.5", "-2", "", "", ""}, {"土路肩", "0.75", "-4", "", "", ""},
        {"填方边坡", "", "", "1.5", "8", "2"}, {"挖方边坡", "", "", "1", "", ""}};
    std::vector<TemplateRow> rows;
    for (const char* side : {"左", "右"})
        for (const auto& c : cells)
            rows.push_back(TemplateRow{static_cast<int>(rows.size()) + 2, side, c[0], c[1], c[2], c[3], c[4], c[5]});
    return rows;
}

// Each station's ground from −60 to +60 m, every 3 m: 41 points.
std::string GroundFile() {
    std::vector<GroundSection> sections;
    for (const SectionLine& l : Lines()) {
        GroundSection s{l.dStation, {}};
        const double a = l.dAzimuth + kPi / 2;
        for (int o = -60; o <= 60; o += 3)
            s.points.push_back({double(o), GroundAt(l.centre.X + o * std::cos(a), l.centre.Y + o * std::sin(a))});
        sections.push_back(std::move(s));
    }
    return GroundFileText(sections, Chainage());
}

}  // namespace

static void BM_CliSectionGroundJson(benchmark::State& state) {
    char folder[] = "/tmp/vexaline-bench-XXXXXX";
    if (!::mkdtemp(folder)) return state.SkipWithError("no temporary folder");
    const std::string dir = folder, road = dir + "/road.vxa", out = dir + "/sections.json";
    std::vector<std::string> list = benchroad::Road(kElements);
    list.insert(list.begin(), ControlHeaderLine());
    const std::vector<std::pair<std::string, std::string>> files = {
        {road, SavedAlignmentFile(list, TimeStampNow())}, {dir + "/road.vxt", TemplateCsvText(TemplateRows())},
        {dir + "/road.vxz", GradeCsvText(benchroad::Grades(16, 500))}, {dir + "/road.hdm", GroundFile()}};
    for (const auto& [path, bytes] : files)
        if (!WriteFileAtomically(path, bytes)) return state.SkipWithError("cannot write the tables");
    const std::string to = Format("%.17g", (kStations - 1) * kInterval), interval = Format("%.17g", kInterval);
    const std::string t = dir + "/road.vxt", z = dir + "/road.vxz", g = dir + "/road.hdm";
    std::vector<const char*> argv = {VEXALINE_CLI, "section", road.c_str(), "--template", t.c_str(), "--profile",
                                     z.c_str(), "--ground", g.c_str(), "--from", "0", "--to", to.c_str(),
                                     "--interval", interval.c_str(), "--json", "-o", out.c_str(), nullptr};
    if (!benchcli::TimeRuns(state, argv)) return;
    state.SetItemsProcessed(state.iterations() * kStations);
    for (const auto& f : files) std::remove(f.first.c_str());
    std::remove(out.c_str()), ::rmdir(folder);
}
BENCHMARK(BM_CliSectionGroundJson)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif
BENCHMARK_MAIN();
