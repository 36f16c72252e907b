#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "core/geometry/PlanePoint.h"
#include "core/plan/ViewTransform.h"

// The centreline as a polyline for drawing: as few points as keep the
// drawing within a chord error, more where it bends, none wasted outside
// what is shown.
namespace vexaline {

struct PlanSample {
    double dStation = 0;
    CPlanePoint point;
    double dAzimuth = 0;  // tangent azimuth, radians
};

// The centreline point and tangent azimuth at a station of one element.
using CentrelineAt = std::function<PlanSample(double station)>;

// An upper bound on the points of one element, whatever the tolerance.
inline constexpr std::size_t kMaxSamplesPerElement = 1 << 16;

// Points of one element from station `from` to `to`, both ends included,
// in station order. Between two consecutive points the element strays from
// the chord by at most about `tolerance` metres wherever the stretch can
// reach `window` (as measured at the stretch's middle and estimated from
// the turn of its tangent, L·|Δθ|/8; exact for arcs to first order).
// Stretches that cannot reach the window (a curve between two stations lies
// within half its length's excess over the chord of that chord) are left
// as single chords. The element is taken to bend one way (straight, arc,
// transition), as elements do.
// Refuses: stations that are not finite (no points); to <= from (the point
// at `from` alone); a tolerance that is not positive (the two ends). Never more than
// kMaxSamplesPerElement points: a window too fine for that gets chords.
std::vector<PlanSample> SampleElement(const CentrelineAt& at, double from, double to, double tolerance,
                                      const PlaneBox& window);

}  // namespace vexaline
