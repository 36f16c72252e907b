// Redrawing the plan view with a million stakes in the results, at the zoom
// it opens with, zoomed in on the road and zoomed in far, in setting-out
// mode (rays to every stake) as well. The budget is 100 ms a redraw; the
// "of_budget" column is the redraw's time as a share of it.
//   QT_QPA_PLATFORM=offscreen build/bench/PlanViewBench
#include <benchmark/benchmark.h>

#include "BenchRoad.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "core/road/Alignment.h"
#include "core/road/Results.h"
#include "core/text/Texts.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanPainter.h"

using namespace vexaline;

namespace {

constexpr double kBudgetSeconds = 0.1;

struct Scene {
    Alignment road;
    ResultSet results;
    plan::PlanScene scene;
};

// A road of 200 elements (about 40 km) with `stakes` centre and side stakes
// spread evenly over it.
const Scene& Road(std::size_t stakes, ResultMode mode) {
    static Scene s[2];
    Scene& scene = s[mode == ResultMode::SettingOut];
    if (scene.results.rows.size() == stakes) return scene;
    std::vector<std::string> list{Gbk(text::kControlHeader)};
    for (std::string& line : benchroad::Road(200)) list.push_back(std::move(line));
    scene.road = Alignment::Parse(list);
    scene.results = ResultSet();
    scene.results.mode = mode;
    const CPlanePoint mid = scene.road.At((scene.road.MinStation() + scene.road.MaxStation()) / 2, 0, 0).point;
    if (mode == ResultMode::SettingOut)
        scene.results.AddSetup({"D1", CPlanePoint(mid.X + 120, mid.Y - 80), "D2", CPlanePoint(mid.X + 300, mid.Y)});
    const double step = (scene.road.MaxStation() - scene.road.MinStation()) / (stakes / 2);
    scene.results.rows.reserve(stakes);
    for (std::size_t i = 0; i < stakes / 2; ++i) {
        const double station = scene.road.MinStation() + step * i;
        for (double offset : {0.0, 7.5}) {
            const Stake k = scene.road.At(station, offset, kPi / 2);
            StakeResult r;
            r.dStation = station, r.point = k.point, r.dAzimuth = k.dAzimuth, r.dOffset = offset;
            r.nSetup = mode == ResultMode::SettingOut ? 0 : -1;
            scene.results.rows.push_back(r);
        }
    }
    scene.scene = plan::PlanScene{&scene.road, &scene.results, nullptr, {}};
    return scene;
}

// args: zoom factor over the fitted view (1: the whole road), mode.
void BM_Redraw(benchmark::State& state) {
    const ResultMode mode = state.range(1) ? ResultMode::SettingOut : ResultMode::Coordinates;
    const Scene& s = Road(1000000, mode);
    QImage image(1200, 800, QImage::Format_RGB32);
    const ViewTransform fitted = ViewTransform::Fit(plan::SceneBounds(s.scene), 1200, 800, 24);
    // Zoom about a point on the road, in the middle of the picture.
    const CPlanePoint on = s.results.rows[s.results.rows.size() / 3].point;
    const ViewTransform view = ViewTransform(1200, 800, on, fitted.Scale()).ZoomedAbout({600, 400}, state.range(0));
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        plan::PaintScene(painter, s.scene, view);
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["of_budget"] = benchmark::Counter(kBudgetSeconds, benchmark::Counter::kIsIterationInvariantRate |
                                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_Redraw)
    ->ArgsProduct({{1, 30, 1000, 100000}, {0, 1}})
    ->ArgNames({"zoom", "settingout"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
