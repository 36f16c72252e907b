// Cross-sections: 10,000 stations of a 12-point template (carriageway,
// shoulders, verge, kerb and two more strips a side) with heights and a
// widening. BM_Sections is the core's share; BM_CliSectionJson the
// command itself, `section --json` into a file, files read and JSON
// written (the aim: under 1 s).
//   build/bench/SectionBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "BenchCli.h"

#include "BenchRoad.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "core/files/AlignmentFile.h"
#include "core/files/ProfileCsv.h"
#include "core/files/SectionCsv.h"
#include "core/files/TextFile.h"
#include "core/road/Section.h"
#include "core/text/ControlLine.h"
#include "core/text/TextFields.h"

using namespace vexaline;

namespace {

constexpr int kElements = 40;  // 7.9 km
constexpr int kStations = 10000;
constexpr double kInterval = 0.75;  // 7.5 km of stations

std::vector<std::string> ControlList() {
    std::vector<std::string> list = benchroad::Road(kElements);
    list.insert(list.begin(), ControlHeaderLine());
    return list;
}

std::vector<TemplateRow> TemplateRows() {
    const char* names[6] = {"行车道", "路缘带", "硬路肩", "土路肩", "护栏带", "边沟"};
    const char* widths[6] = {"7.5", "0.5", "2.5", "0.75", "0.5", "1.2"};
    const char* slopes[6] = {"路拱", "路拱", "路拱", "-4", "-4", "-30"};
    std::vector<TemplateRow> rows;
    for (const char* side : {"左", "右"})
        for (int k = 0; k < 6; ++k)
            rows.push_back(TemplateRow{static_cast<int>(rows.size()) + 2, side, names[k], widths[k], slopes[k], "", "", ""});
    return rows;
}

std::vector<SlopeRow> Slopes() {
    std::vector<SlopeRow> rows;
    for (int k = 0; k * 395 <= 7900; ++k)
        rows.push_back(SlopeRow{k + 2, std::to_string(k * 395), k % 2 ? "4" : "-2", k % 2 ? "-4" : "-2"});
    return rows;
}

std::vector<WideningRow> Widenings() {
    std::vector<WideningRow> rows;
    for (int k = 0; k * 395 <= 7900; ++k) rows.push_back(WideningRow{k + 2, std::to_string(k * 395), "0", k % 2 ? "0.8" : "0"});
    return rows;
}

}  // namespace

static void BM_Sections(benchmark::State& state) {
    const Alignment road = Alignment::Parse(ControlList());
    SectionDesign d;
    d.tmpl = BuildTemplate(TemplateRows()).value;
    d.profile = BuildProfile(benchroad::Grades(16, 500)).profile;
    d.slopes = BuildCrossSlopes(Slopes()).slopes;
    d.widening = BuildWidening(Widenings()).value;
    for (auto _ : state) {
        std::vector<CrossSection> sections;
        sections.reserve(kStations);
        for (int i = 0; i < kStations; ++i) sections.push_back(SectionAt(road, d, i * kInterval));
        benchmark::DoNotOptimize(sections.data());
    }
    state.SetItemsProcessed(state.iterations() * kStations);
}
BENCHMARK(BM_Sections)->Unit(benchmark::kMillisecond);

#ifdef VEXALINE_CLI
static void BM_CliSectionJson(benchmark::State& state) {
    char folder[] = "/tmp/vexaline-bench-XXXXXX";
    if (!::mkdtemp(folder)) return state.SkipWithError("no temporary folder");
    const std::string dir = folder, road = dir + "/road.vxa", out = dir + "/sections.json";
    const std::vector<std::pair<std::string, std::string>> files = {
        {road, SavedAlignmentFile(ControlList(), TimeStampNow())}, {dir + "/road.vxt", TemplateCsvText(TemplateRows())},
        {dir + "/road.vxz", GradeCsvText(benchroad::Grades(16, 500))}, {dir + "/road.vxh", SlopeCsvText(Slopes())},
        {dir + "/road.vxw", WideningCsvText(Widenings())}};
    for (const auto& [path, bytes] : files)
        if (!WriteFileAtomically(path, bytes)) return state.SkipWithError("cannot write the tables");
    const std::string to = Format("%.17g", (kStations - 1) * kInterval), interval = Format("%.17g", kInterval);
    const std::string t = dir + "/road.vxt", z = dir + "/road.vxz", h = dir + "/road.vxh", w = dir + "/road.vxw";
    std::vector<const char*> argv = {VEXALINE_CLI, "section", road.c_str(), "--template", t.c_str(), "--profile",
                                     z.c_str(), "--slopes", h.c_str(), "--widening", w.c_str(), "--from", "0", "--to",
                                     to.c_str(), "--interval", interval.c_str(), "--json", "-o", out.c_str(), nullptr};
    if (!benchcli::TimeRuns(state, argv)) return;
    state.SetItemsProcessed(state.iterations() * kStations);
    for (const auto& f : files) std::remove(f.first.c_str());
    std::remove(out.c_str()), ::rmdir(folder);
}
BENCHMARK(BM_CliSectionJson)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif
BENCHMARK_MAIN();
