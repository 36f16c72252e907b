#pragma once
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/Profile.h"

// The road and its profile as the segments of an IFC alignment layout, in
// IFC's frame: x east (our Y), y north (our X), directions in radians
// counter-clockwise from +x, curvature positive turning left. Distances
// along run from the road's first station.
namespace vexaline::ifc {

enum class Join { Continuous, SameGradient, SameCurvature, End };

// One horizontal segment: where and how the road's own evaluation starts
// it, so that a reader evaluates the stakes.
struct PlanSegment {
    LineType type = LineType::Straight;
    double x = 0, y = 0, direction = 0;
    double k0 = 0, k1 = 0;  // signed curvature at the start and the end
    double length = 0;
    double dStation = 0;    // the road's station at its start
    Join join = Join::End;  // to the next segment
};

// One vertical segment: a grade line or a parabola, over distance along.
struct GradeSegment {
    double distance = 0, height = 0;
    double g0 = 0, g1 = 0;  // gradients at its ends
    double length = 0;      // horizontal
    bool parabola = false;
    Join join = Join::End;
};

struct PlanLayout {
    std::vector<PlanSegment> segments;  // the last one of length 0, the road's end
    std::string strMessage;             // UTF-8, naming the row; empty when laid out
};

// Every element of the road with a length, and the closing segment. Refuses
// (naming the element's first row and station): an element fault, an arc of
// radius 0 or ∞, a transition with an end of radius 0, an evaluation that
// is no finite number. Needs a usable road.
PlanLayout LayPlan(const Alignment& road);

// The profile's grade lines and vertical curves where it overlaps the
// road, as ElevationAt takes them, and the closing segment; empty where
// it does not overlap.
std::vector<GradeSegment> LayProfile(const Profile& profile, double startStation, double endStation);

}  // namespace vexaline::ifc
