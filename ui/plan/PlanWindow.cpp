#include "ui/plan/PlanWindow.h"

#include <memory>

#include "core/road/ControlCheck.h"
#include "core/road/ResultText.h"
#include "core/road/ReverseLookup.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanPainter.h"
#include "ui/plan/PlanView.h"
#include "ui/toolkit/Screen.h"

namespace vexaline::plan {

namespace {

// What the open plan view draws besides the results, which it reads from
// the document at each paint.
struct PlanFeed {
    Alignment road;
    std::vector<bool> flagged;
    std::vector<PointRecord> points;
    bool staleResults = false;
};

// The read-out's station and offset: the lookup's answer, or nothing.
QString Describe(const Alignment& road, CPlanePoint where) {
    const LookupResult found = ReverseLookup(road, where);
    if (found.status != LookupStatus::Converged) return {};
    return QString::fromStdString(Format(text::kPlanReadoutStation, KStationOf(road.Chain(), found.dStation).c_str(),
                                         GbkToUtf8(LookupOffsetText(found.dOffset)).c_str()));
}

}  // namespace

CPlanView* MakePlanView(const RoadDocument& document, const std::vector<PointRecord>& points, QWidget* owner,
                        std::function<void(QPainter&, const ViewTransform&)> overlay,
                        std::function<void(CPlanePoint)> clicked) {
    auto* view = new CPlanView(owner);
    auto feed = std::make_shared<PlanFeed>();
    CPlanCanvas* canvas = view->Canvas();
    const RoadDocument* doc = &document;
    canvas->SetPainter([doc, feed, overlay](QPainter& painter, const ViewTransform& t) {
        PaintScene(painter, PlanScene{&feed->road, &doc->Results(), &feed->points, feed->flagged, feed->staleResults}, t);
        overlay(painter, t);
    });
    view->SetDescriber([feed](CPlanePoint where) { return Describe(feed->road, where); });
    auto refresh = [doc, &points, feed, canvas, view] {
        view->SetRoadFile(QString::fromStdString(GbkToUtf8(doc->Name())));
        feed->road = doc->Road();
        feed->flagged = FlaggedElements(feed->road, CheckControl(feed->road));
        feed->points = points;
        feed->staleResults = doc->ResultsStale();
        canvas->SetBounds(SceneBounds(PlanScene{&feed->road, &doc->Results(), &feed->points, {}}));
        canvas->update();
    };
    QObject::connect(doc, &RoadDocument::RowsChanged, view, refresh);
    QObject::connect(doc, &RoadDocument::ResultsChanged, view, refresh);
    QObject::connect(canvas, &CPlanCanvas::Clicked, owner, std::move(clicked));
    refresh();
    platform::PlaceBeside(view, owner);
    return view;
}

}  // namespace vexaline::plan
