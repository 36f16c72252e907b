#pragma once
#include <vector>

#include "core/files/PointFile.h"
#include "core/plan/ViewTransform.h"
#include "core/road/Alignment.h"
#include "core/road/Results.h"

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

// Paints the scene for the view: centreline sampled to half a pixel, change
// points with their K station and line type, stakes one per pixel with
// labels that do not overlap, setting-out station, backsight and rays,
// traverse points. Draws only what falls in the view.
void PaintScene(QPainter& painter, const PlanScene& scene, const ViewTransform& view);

}  // namespace vexaline::plan
