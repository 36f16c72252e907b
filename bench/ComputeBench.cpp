// The main window's run as the user starts it: "计算" on an offscreen window
// until the list is filled and laid out, a second run over a full list, a
// setting-out run, and the export of a million lines.
//   build-run/bench/ComputeBench --benchmark_min_time=1
// Peak memory with a million result lines:
//   /usr/bin/time -v build-run/bench/ComputeBench --benchmark_filter='BM_Run/1000000'
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

#include "controldata/AlignmentDlg.h"
#include "geometry/AngleText.h"
#include "geometry/Element.h"
#include "geometry/Gbk.h"
#include "geometry/Texts.h"
#include "platform/GbkList.h"
#include "results/ResultsExport.h"
#include "station/StationSetupDlg.h"

using namespace vexaline;

namespace {

const double I = INFINITE_RADIUS;

std::string Num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.3f", v);
    return b;
}

std::string Line(double station, const char* type, const std::string& radius, CPlanePoint p) {
    char s[32];
    std::snprintf(s, sizeof s, "%.0f", station);
    return PadRight(s, 12) + PadRight(Gbk(type), 10) + PadRight(radius, 12) + PadRight(Num(p.X), 12) +
           PadRight(Num(p.Y), 12);
}

std::string RadiusText(double r, int turn) {
    if (r == I) return turn < 0 ? Gbk(text::kMinusInfinity) : Gbk(text::kInfinity);
    char b[32];
    std::snprintf(b, sizeof b, "%.0f", r * turn);
    return b;
}

// A consistent alignment of about 118 km: straight, transition in, curve,
// transition out, turning right and left in turn; each change point is where
// the element before it ends.
std::vector<std::string> MakeAlignment(int rows) {
    std::vector<std::string> list;
    const double radii[] = {600, 400, 800, 500};
    CPlanePoint p(3800000, 500000);
    double tangent = 0.7, station = 0;
    for (int i = 0; static_cast<int>(list.size()) < rows; ++i) {
        int group = i / 4, turn = group % 2 ? -1 : 1;
        double R = radii[group % 4];
        struct Kind {
            int type;
            double r0, r1, length;
            const char* text;
        };
        const Kind kinds[4] = {{0, I, I, 300, text::kStraight},
                               {2, I, R, 120, text::kTransition},
                               {1, R, R, 250, text::kCircular},
                               {2, R, I, 120, text::kTransition}};
        const Kind& k = kinds[i % 4];
        ElementRequest q{k.type, turn, station, p, k.r0, station + k.length, {}, k.r1, station, 0, 0};
        const double trial = 1.0;
        q.ptEnd = CPlanePoint(p.X + std::cos(trial), p.Y + std::sin(trial));
        double chord = trial + (tangent - PointOnElement(q).dAzimuth);
        q.ptEnd = CPlanePoint(p.X + std::cos(chord), p.Y + std::sin(chord));
        q.dStation = q.dEndStation;
        StakePoint end = PointOnElement(q);
        list.push_back(Line(station, k.text, RadiusText(k.r0, turn), p));
        p = CPlanePoint(std::atof(Num(end.dX).c_str()), std::atof(Num(end.dY).c_str()));
        tangent = end.dAzimuth;
        station += k.length;
    }
    list.push_back(Line(station, text::kEndPoint, Gbk(text::kInfinity), p));
    return list;
}

CAlignmentDlg* g_dlg = nullptr;

template <typename T>
T* Control(int id) {
    return g_dlg->findChild<T*>(QString::number(id));
}

platform::GbkListModel* Results() { return g_dlg->m_listResults->Model(); }

void SetFields(double interval) {
    Control<QLineEdit>(1014)->setText("0");
    Control<QLineEdit>(1015)->setText("100000");
    Control<QLineEdit>(1016)->setText(QString::number(interval));
}

// Both mode switches leave the list holding its header alone.
void Mode(int id) { Control<QRadioButton>(id)->click(); }

// Click to filled and laid-out list.
void ClickCompute() {
    Control<QPushButton>(1018)->click();
    QApplication::processEvents();
}

// Stakes by argument: 10⁵ at 1 m or 10⁶ at 0.1 m over the first 100 km.
double IntervalFor(int64_t stakes) { return 100000.0 / static_cast<double>(stakes); }

// A fresh run each time: the list holds only its header when "计算" is clicked.
void BM_Run(benchmark::State& state) {
    Mode(1030);
    SetFields(IntervalFor(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Mode(1030);
        state.ResumeTiming();
        ClickCompute();
    }
    state.counters["lines"] = Results()->Count() - 1;
}
BENCHMARK(BM_Run)->ArgName("stakes")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same run again: each click first empties the million lines of the last.
void BM_Rerun(benchmark::State& state) {
    Mode(1030);
    SetFields(IntervalFor(state.range(0)));
    ClickCompute();
    for (auto _ : state) ClickCompute();
    state.counters["lines"] = Results()->Count() - 1;
}
BENCHMARK(BM_Rerun)->ArgName("stakes")->Arg(1000000)->Unit(benchmark::kMillisecond);

// Setting-out run: "设置测站" is answered at once by the event loop it runs.
void BM_SettingOutRun(benchmark::State& state) {
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [] {
        auto* setup = qobject_cast<CStationSetupDlg*>(QApplication::activeModalWidget());
        if (!setup || !setup->isVisible()) return;
        const char* fields[][2] = {{"1032", "A"}, {"1033", "3800100"}, {"1034", "500100"},
                                   {"1038", "B"}, {"1039", "3800000"}, {"1040", "500000"}};
        for (auto& f : fields) setup->findChild<QLineEdit*>(f[0])->setText(f[1]);
        setup->findChild<QPushButton*>("1")->click();
    });
    answer.start();
    SetFields(IntervalFor(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Mode(1031);
        state.ResumeTiming();
        ClickCompute();
    }
    state.counters["lines"] = Results()->Count() - 1;
    Mode(1030);
}
BENCHMARK(BM_SettingOutRun)->ArgName("stakes")->Arg(1000000)->Unit(benchmark::kMillisecond);

// The ordinary report of a million lines, as "保存" writes it.
void BM_Export(benchmark::State& state) {
    Mode(1030);
    SetFields(IntervalFor(state.range(0)));
    ClickCompute();
    const std::string path = "/tmp/vexaline-bench-" + std::to_string(::getpid()) + ".txt";
    for (auto _ : state) {
        if (!WriteResultsFile(path, Results()->Lines(), 0, 1, "bench.txt", std::time(nullptr))) {
            state.SkipWithError("write failed");
            break;
        }
    }
    std::remove(path.c_str());
    state.counters["lines"] = Results()->Count() - 1;
}
BENCHMARK(BM_Export)->ArgName("lines")->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CAlignmentDlg dlg;
    dlg.show();
    dlg.m_listControl->Model()->AppendAll(MakeAlignment(600));
    g_dlg = &dlg;
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
