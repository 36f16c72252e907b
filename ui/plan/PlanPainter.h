#pragma once
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "core/files/PointFile.h"
#include "core/plan/Declutter.h"
#include "core/plan/ViewTransform.h"
#include "core/road/Alignment.h"
#include "core/road/Results.h"
#include "ui/plan/PlanDecor.h"

class QPainter;

// The road drawn from values: the typed alignment, the result values and
// the traverse points. Nothing here reads a text line.
namespace vexaline::plan {

// What one picture shows. The pointers are borrowed for the call; any may be
// null (nothing of that kind drawn).
struct PlanScene {
    const Alignment* road = nullptr;
    const ResultSet* results = nullptr;
    const std::vector<PointRecord>* points = nullptr;  // traverse points of the point file
    std::vector<bool> flagged;  // per element: the data check found fault with it (drawn red)
    bool staleResults = false;  // the results are another road's: stakes and setups drawn grey
};

// Colours of the drawing, one per kind, shared with the sheet and the tests.
struct PlanColours {
    static constexpr unsigned kStraight = 0x1f5fd0;    // blue
    static constexpr unsigned kCircular = 0x00963c;    // green
    static constexpr unsigned kTransition = 0xe68200;  // orange
    static constexpr unsigned kFlagged = 0xdc0000;     // red
    static constexpr unsigned kUnusable = 0x909090;    // grey: an element that cannot be evaluated
    static constexpr unsigned kCentreStake = 0x282828;
    static constexpr unsigned kSideStake = 0x9a009a;
    static constexpr unsigned kRay = 0xb4c8e6;
    static constexpr unsigned kPoint = 0x0050a0;
    static constexpr unsigned kStale = 0xb0b4b8;  // light grey: stakes of results that are out of date
};

// Everything the scene holds: change points, stakes, setups and points.
PlaneBox SceneBounds(const PlanScene& scene);

// What the legend of the scene explains: the line types drawn, and the
// flagged elements and stale stakes when there are any.
std::vector<LegendEntry> LegendEntries(const PlanScene& scene);

// A label as set: its box in the picture's pixels (halo included), its
// text and where the text's baseline starts.
struct PlacedLabel {
    ScreenBox box;
    QString text;
    QPointF baseline;
};

// The room, in pixels, fitting leaves round the road for labels: across,
// half a change point's label and a gap; down, a label's height and a gap.
// A label whose mark stands at the edge then still fits centred above or
// below it.
QSizeF LabelRoom(const QFont& font);

// Paints the scene for the view: centreline sampled to half a pixel, change
// points with their K station and line type, stakes one per pixel, the
// setting-out station, backsight and rays (one per 4-pixel cell of the
// stakes they reach), traverse points, and the legend at the bottom right.
// Labels are set by LabelPlacer in order of importance (change points,
// station and backsight, traverse points, then stakes, one tried per
// label-high cell; a traverse point that is the station or the backsight
// only as such), clear of every mark, of the legend and of `keepClear`,
// inside the picture, where they can off the centreline, and drawn last on
// a light halo. Without `keepClear`,
// labels keep clear of the north arrow and scale bar where StandardDecor
// puts them. Draws only what falls in the view; returns the labels set.
std::vector<PlacedLabel> PaintScene(QPainter& painter, const PlanScene& scene, const ViewTransform& view);
std::vector<PlacedLabel> PaintScene(QPainter& painter, const PlanScene& scene, const ViewTransform& view,
                                    const std::vector<ScreenBox>& keepClear);

}  // namespace vexaline::plan
