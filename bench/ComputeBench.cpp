// The main window's run as the user starts it: "计算" on an offscreen window
// until the list is filled and laid out, a second run over a full list, a
// setting-out run, and the export of a million lines.
//   build-run/bench/ComputeBench --benchmark_min_time=1
// Peak memory with a million result lines:
//   /usr/bin/time -v build-run/bench/ComputeBench --benchmark_filter='BM_Run/1000000'
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

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

#include "ui/window/AlignmentDlg.h"
#include "ui/window/ResultsPanel.h"
#include "core/text/ControlLine.h"
#include "core/text/AngleText.h"
#include "core/geometry/Element.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"
#include "ui/toolkit/GbkList.h"
#include "core/files/ResultsExport.h"
#include "ui/tools/StationSetupDlg.h"

using namespace vexaline;

namespace {


CAlignmentDlg* g_dlg = nullptr;

template <typename T>
T* Control(int id) {
    return g_dlg->findChild<T*>(QString::number(id));
}

platform::GbkListModel* Results() { return g_dlg->ResultsPart()->m_listResults->Model(); }

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
        if (!WriteResultsFile(path, g_dlg->Document().Results(), ResultsLayout::Ordinary, "bench.txt", std::time(nullptr))) {
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
    std::vector<std::string> lines = benchroad::Road(600);
    lines.insert(lines.begin(), ControlHeaderLine());
    dlg.Document().SetLines(std::move(lines));
    g_dlg = &dlg;
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
