// Hot paths of the geometry: points on elements, angle texts, evaluation by
// station (classic and on the typed road), the stake run (also the command
// line's, into a file) and the reverse lookup.
//   build-geo/bench/GeometryBench --benchmark_min_time=0.5
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "core/files/AlignmentFile.h"
#include "core/files/TextFile.h"
#include "core/text/AngleText.h"
#include "core/road/Alignment.h"
#include "core/geometry/Clothoid.h"
#include "core/geometry/Element.h"
#include "core/road/Evaluate.h"
#include "core/text/Gbk.h"
#include "core/road/ReverseLookup.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "core/road/StakeRun.h"
#include "core/road/ResultText.h"

using namespace vexaline;

namespace {

const double I = INFINITE_RADIUS;

const std::vector<std::string>& ControlList() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> lines = benchroad::Road(998);
        lines.insert(lines.begin(), Gbk(text::kControlHeader));
        return lines;
    }();
    return list;
}

// The plain evaluation written out as one would first write it: sscanf for
// the fields, snprintf for the numbers, strings joined with PadRight.
std::string LiteralEvaluate(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName) {
    static const std::string inf = Gbk(text::kInfinity), minusInf = Gbk(text::kMinusInfinity);
    static const std::string types[3] = {Gbk(text::kStraight), Gbk(text::kCircular), Gbk(text::kTransition)};
    static const std::string remarks[3] = {Gbk(text::kRemarkStraight), Gbk(text::kRemarkCircular),
                                           Gbk(text::kRemarkTransition)};
    static const std::string mismatch = Gbk(text::kElementMismatch);
    ElementRequest q{};
    std::string type = Field(startLine, 12, 10);
    std::string remark;
    for (int t = 0; t < 3; ++t)
        if (type == types[t]) q.nLineType = t, remark = remarks[t];
    auto radius = [&](const std::string& line, double& magnitude, int& turn) {
        std::string f = Field(line, 22, 12);
        if (f == inf) magnitude = I, turn = 1;
        else if (f == minusInf) magnitude = I, turn = -1;
        else {
            double r = 0;
            std::sscanf(f.c_str(), "%lf", &r);
            magnitude = r < 0 ? -r : r;
            turn = r < 0 ? -1 : 1;
        }
    };
    int endTurn;
    std::sscanf(Field(startLine, 0, 12).c_str(), "%lf", &q.dStartStation);
    radius(startLine, q.dStartRadius, q.nTurn);
    std::sscanf(Field(startLine, 34, 12).c_str(), "%lf", &q.ptStart.X);
    std::sscanf(Field(startLine, 46, 12).c_str(), "%lf", &q.ptStart.Y);
    std::sscanf(Field(endLine, 0, 12).c_str(), "%lf", &q.dEndStation);
    radius(endLine, q.dEndRadius, endTurn);
    std::sscanf(Field(endLine, 34, 12).c_str(), "%lf", &q.ptEnd.X);
    std::sscanf(Field(endLine, 46, 12).c_str(), "%lf", &q.ptEnd.Y);
    if (q.nLineType == 2 && q.dEndRadius == q.dStartRadius) return Format(mismatch.c_str(), q.dStartStation, q.dEndStation);
    q.dStation = station;
    q.dOffset = offset;
    q.dDeflection = deflection;
    StakePoint p = PointOnElement(q);
    char b[64];
    std::string line;
    if (mode == 101) {
        std::snprintf(b, sizeof b, "%.3lf", p.dX);
        line = PadRight(b, 14);
        std::snprintf(b, sizeof b, "%.3lf", p.dY);
        line += PadRight(b, 12);
        std::snprintf(b, sizeof b, "%lf", p.dAzimuth);
        return line + b;
    }
    std::snprintf(b, sizeof b, "%.3lf", station);
    line = PadRight(b, 12);
    if (mode == 0) {
        std::snprintf(b, sizeof b, "%.3lf", p.dX);
        line += PadRight(b, 14);
        std::snprintf(b, sizeof b, "%.3lf", p.dY);
        line += PadRight(b, 12);
        std::snprintf(b, sizeof b, "%lf", p.dAzimuth);
        line += PadRight(RadiansToDms(b), 10);
        return line + PadRight(remark, 10);
    }
    double angle = instrument.Azimuth(p.dX, p.dY) - instrument.Azimuth(backsight);
    if (angle < 0) angle += kTwoPi;
    std::snprintf(b, sizeof b, "%.15lf", angle);
    line += PadRight(RadiansToDms(b), 12);
    std::snprintf(b, sizeof b, "%.3lf", instrument.Distance(p.dX, p.dY));
    line += PadRight(b, 10);
    return line + PadRight(stationName, 10) + PadRight(backsightName, 10);
}

// Rows 1 to 4 of the alignment begin a straight, a transition in, a curve
// and a transition out; row 8 a transition in turning left.
struct BenchElement { const char* name; int row; };
const BenchElement kElements[] = {{"straight", 1}, {"transitionIn", 2}, {"circular", 3}, {"transitionOut", 4}};

double StationOf(int row) { return std::atof(ControlList()[row].c_str()); }

void CheckLiteral() {
    static bool checked = false;
    if (checked) return;
    checked = true;
    const auto& a = ControlList();
    for (int row = 1; row + 1 < static_cast<int>(a.size()); ++row) {
        double s0 = StationOf(row), s1 = StationOf(row + 1);
        for (int mode : {0, 1, 101}) {
            for (int k = 0; k <= 10; ++k) {
                double s = s0 + (s1 - s0) * k / 10;
                CPlanePoint st(3800100, 500100), bs(3800000, 500000);
                std::string want = LiteralEvaluate(s, a[row], a[row + 1], 5, 1.570796, mode, st, bs, "A", "B");
                if (EvaluateStation(s, a[row], a[row + 1], 5, 1.570796, mode, st, bs, "A", "B") != want) {
                    std::fprintf(stderr, "EvaluateStation differs from the literal one at %f\n", s);
                    std::abort();
                }
            }
        }
    }
}

}  // namespace

// ---------------------------------------------------------------- elements

static void BM_PointOnElement(benchmark::State& state) {
    const ElementRequest requests[] = {
        {0, 1, 0, {0, 0}, I, 100, {30, 40}, I, 37.5, 5, 1.570796},
        {1, 1, 0, {0, 0}, 100, 157.08, {100, 100}, 100, 60, 5, 1.570796},
        {2, 1, 0, {0, 0}, I, 100, {99.722579, 5.544542}, 300, 60, 5, 1.570796},
        {2, 1, 500, {1000, 2000}, 600, 550, {1024.621142, 2043.480131}, 300, 525, 5, 1.570796},
        // Between arcs of nearly equal radius: beyond the series, integrated.
        {2, 1, 500, {1000, 2000}, 260, 580, {1056.551, 2056.374}, 250, 525, 5, 1.570796},
    };
    ElementRequest q = requests[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(PointOnElement(q));
        q.dStation += 1e-9;
    }
}
BENCHMARK(BM_PointOnElement)->ArgName("straight0_circular1_transition2_arcs3_nearlyEqualArcs4")->DenseRange(0, 4);

// One transition prepared once and evaluated along its length, as a run
// does: 0 from a straight, 1 between arcs (both by the series), 2 between
// arcs of nearly equal radius, 3 from a straight through 3.3 rad (both
// integrated).
static void BM_TransitionAt(benchmark::State& state) {
    const ElementRequest requests[] = {
        {2, 1, 0, {0, 0}, I, 100, {99.722579, 5.544542}, 300, 0, 0, 0},
        {2, 1, 500, {1000, 2000}, 600, 550, {1024.621142, 2043.480131}, 300, 0, 0, 0},
        {2, 1, 500, {1000, 2000}, 260, 580, {1056.551, 2056.374}, 250, 0, 0, 0},
        {2, 1, 0, {0, 0}, I, 2000, {100, 500}, 300, 0, 0, 0},
    };
    const ElementRequest& q = requests[state.range(0)];
    ElementGeometry element(q);
    double s = q.dStartStation, step = (q.dEndStation - q.dStartStation) / 997;
    for (auto _ : state) {
        benchmark::DoNotOptimize(element.At(s, 5, 1.570796));
        s += step;
        if (s > q.dEndStation) s = q.dStartStation;
    }
}
BENCHMARK(BM_TransitionAt)->ArgName("straight0_arcs1_nearlyEqualArcs2_pastPi3")->DenseRange(0, 3);

static void BM_RadiansToDms(benchmark::State& state) {
    std::string text = "1.570796";
    for (auto _ : state) benchmark::DoNotOptimize(RadiansToDms(text));
}
BENCHMARK(BM_RadiansToDms);

// ---------------------------------------------------------------- evaluation

template <int Which>
static void BM_Evaluate(benchmark::State& state) {
    CheckLiteral();
    const BenchElement& e = kElements[state.range(0)];
    const auto& a = ControlList();
    const std::string &start = a[e.row], &end = a[e.row + 1];
    double s0 = StationOf(e.row), s1 = StationOf(e.row + 1), s = s0;
    int mode = static_cast<int>(state.range(1));
    const vexaline::Alignment road = vexaline::Alignment::Parse(a);
    const std::size_t element = static_cast<std::size_t>(e.row - 1);
    std::string line;
    const CPlanePoint st(3800100, 500100), bs(3800000, 500000);
    ResultSet set;
    set.mode = mode ? ResultMode::SettingOut : ResultMode::Coordinates;
    const int setup = mode ? set.AddSetup({"A", st, "B", bs}) : -1;
    for (auto _ : state) {
        if (Which == 0) {
            benchmark::DoNotOptimize(LiteralEvaluate(s, start, end, 5, 1.570796, mode, st, bs, "A", "B"));
        } else if (Which == 1) {
            benchmark::DoNotOptimize(EvaluateStation(s, start, end, 5, 1.570796, mode, st, bs, "A", "B"));
        } else {
            set.rows.clear();
            line.clear();
            AppendStake(set, road, element, s, 5, 1.570796, setup);
            AppendResultLine(line, set, set.rows.front());
            benchmark::DoNotOptimize(line.data());
        }
        s += 0.37;
        if (s > s1) s = s0;
    }
    state.SetLabel(e.name);
}
static void Elements(benchmark::internal::Benchmark* b) {
    for (int mode : {0, 1})
        for (int e = 0; e < 4; ++e) b->Args({e, mode});
    b->ArgNames({"element", "mode"});
}
BENCHMARK_TEMPLATE(BM_Evaluate, 0)->Name("BM_EvaluateLiteral")->Apply(Elements);
BENCHMARK_TEMPLATE(BM_Evaluate, 1)->Name("BM_EvaluateStation")->Apply(Elements);
BENCHMARK_TEMPLATE(BM_Evaluate, 2)->Name("BM_EvaluateOnRoad")->Apply(Elements);

// ---------------------------------------------------------------- runs

static StakeRequest RunRequest(int64_t stakes) {
    StakeRequest r;
    r.dStartStation = 0;
    r.dEndStation = StationOf(static_cast<int>(ControlList().size()) - 1);
    r.dInterval = r.dEndStation / static_cast<double>(stakes - 1) * (1 - 1e-9);  // exactly `stakes`
    r.dDeflection = *ParseDeflection("90.0000");
    r.setup = {"A", CPlanePoint(3800100, 500100), "B", CPlanePoint(3800000, 500000)};
    return r;
}

// The run to values, and with every line rendered (what an export does).
static void BM_RunStakes(benchmark::State& state) {
    const auto& a = ControlList();
    StakeRequest r = RunRequest(state.range(0));
    const bool render = state.range(2) != 0;
    for (auto _ : state) {
        const vexaline::Alignment road = vexaline::Alignment::Parse(a);
        if (CheckStakeRun(road, r) != StakeCheck::Ok) std::abort();
        ResultSet set;
        set.mode = state.range(1) ? ResultMode::SettingOut : ResultMode::Coordinates;
        RunStakes(road, r, set, 0, [](int) {});
        if (render) {
            std::string out;
            out.reserve(set.rows.size() * 60);
            for (const StakeResult& row : set.rows) AppendResultLine(out, set, row);
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::DoNotOptimize(set.rows.data());
        state.counters["lines"] = static_cast<double>(set.rows.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunStakes)->ArgNames({"stakes", "mode", "render"})->Args({100000, 0, 0})->Args({1000000, 0, 0})
    ->Args({1000000, 1, 0})->Args({1000000, 0, 1})->Unit(benchmark::kMillisecond);

// The same run with the literal evaluation per stake: the baseline.
static void BM_RunLiteral(benchmark::State& state) {
    const auto& a = ControlList();
    StakeRequest r = RunRequest(state.range(0));
    for (auto _ : state) {
        const vexaline::Alignment road = vexaline::Alignment::Parse(a);
        std::vector<std::string> out;
        for (double s = r.dStartStation;; ) {
            const vexaline::Element& e = road.Elements()[road.ElementAt(s)];
            out.push_back(LiteralEvaluate(s, a[e.nStartRow], a[e.nEndRow], r.dOffset, r.dDeflection, 0, {}, {}, "", ""));
            s += r.dInterval;
            if (s > r.dEndStation) break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunLiteral)->ArgName("stakes")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The command line's run into a file, as a surveyor starts it: the program
// itself on this road saved as a .vxa, a million side stakes 7.5 m right in
// the window's list layout. Time is the program's wall time, to compare
// with BM_RunLiteral in the same run; peak_MB its peak resident memory.
// The program built beside the bench, or another build's named in
// $VEXALINE_CLI (to compare two):
//   GeometryBench --benchmark_filter='BM_RunLiteral/stakes:1000000|BM_CliStakesToFile'
static void BM_CliStakesToFile(benchmark::State& state) {
    char folder[] = "/tmp/vexaline-bench-XXXXXX";
    if (!::mkdtemp(folder)) return state.SkipWithError("no temporary folder");
    const std::string road = std::string(folder) + "/road.vxa", out = std::string(folder) + "/stakes.txt";
    if (!WriteFileAtomically(road, SavedAlignmentFile(ControlList(), TimeStampNow())))
        return state.SkipWithError("cannot write the road");
    const StakeRequest r = RunRequest(state.range(0));
    const std::string to = Format("%.17g", r.dEndStation), interval = Format("%.17g", r.dInterval);
    const char* named = std::getenv("VEXALINE_CLI");
    const char* program = named && *named ? named : VEXALINE_CLI;
    std::vector<const char*> argv = {program, "stakes", road.c_str(), "--from", "0", "--to", to.c_str(),
                                     "--interval", interval.c_str(), "--offset", "7.5", "-o", out.c_str(), nullptr};
    // Its one message (the road's last element is refused) not once a run.
    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    long peak = 0;
    for (auto _ : state) {
        // A spawned program's peak counts the memory of the process that
        // started it: give back what the loops before left and restart this
        // process's peak from what it holds now (a few MB).
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        int status = -1;
        struct rusage usage {};
        if (::posix_spawn(&pid, argv[0], &quiet, nullptr, const_cast<char* const*>(argv.data()), environ) == 0)
            ::wait4(pid, &status, 0, &usage);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        // Exit status 1: the last element's stakes are its message.
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
            state.SkipWithError("the program did not run through");
            break;
        }
        peak = std::max(peak, usage.ru_maxrss);
    }
    ::posix_spawn_file_actions_destroy(&quiet);
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::remove(out.c_str()), std::remove(road.c_str()), ::rmdir(folder);
}
BENCHMARK(BM_CliStakesToFile)->ArgName("stakes")->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- lookup

static void BM_ReverseLookup(benchmark::State& state) {
    const vexaline::Alignment road = vexaline::Alignment::Parse(ControlList());
    // 200 points spread along the whole road, alternately right and left,
    // up to 40 m off the centreline.
    std::vector<CPlanePoint> points;
    double length = road.MaxStation();
    for (int i = 0; i < 200; ++i) {
        double s = length * (i + 0.5) / 200;
        double offset = (i % 2 ? -1 : 1) * (0.5 + (i * 7) % 40);
        points.push_back(road.At(s, offset, kPi * 0.5).point);
    }
    std::size_t i = 0;
    int converged = 0, evaluations = 0, queries = 0;
    for (auto _ : state) {
        LookupResult r = ReverseLookup(road, points[i]);
        converged += r.status == LookupStatus::Converged;
        evaluations += r.nEvaluations;
        ++queries;
        i = (i + 1) % points.size();
    }
    state.counters["converged"] = static_cast<double>(converged) / queries;
    state.counters["evaluations"] = static_cast<double>(evaluations) / queries;
    state.SetLabel("1000 rows");
}
BENCHMARK(BM_ReverseLookup)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
