#pragma once
#include "core/geometry/PlanePoint.h"
#include "core/road/Alignment.h"
#include "core/road/Results.h"

// Station and offset of a point given by its X and Y.
namespace vexaline {

enum class LookupStatus {
    Converged,       // dStation and dOffset hold the answer
    NoControl,       // fewer than two rows
    NotFound,        // left the station range, or did not converge in time
    BadStationLine,  // a row's station is not a number (nBadLine)
    Failed,          // an evaluation gave a message (already reported)
};

struct LookupResult {
    LookupStatus status = LookupStatus::NotFound;
    double dStation = 0;  // the station found, unrounded
    double dOffset = 0;   // distance from the centreline: negative on the left (-0 too)
    int nBadLine = 0;
    int nEvaluations = 0;  // evaluations made (one per correction step)
};

inline constexpr int kMaxLookupSteps = 100;

// Starts at the nearest change point and moves along the tangent by the
// point's distance along it until the step is at most 1 mm; at most
// kMaxLookupSteps steps. Each step takes the centre point to the millimetre
// and its azimuth to the microradian, as the answer has always been
// computed, so every answer keeps its last digit. Answers to the
// millimetre: render with LookupStationText and LookupOffsetText.
LookupResult ReverseLookup(const Alignment& road, CPlanePoint q, const MessageSink& report = MessageSink());

// The same walk started at a station the caller knows to lie near the
// answer (a side stake's own station) instead of the nearest change point:
// a stake set off square to the road converges at the first step.
LookupResult ReverseLookupFrom(const Alignment& road, CPlanePoint q, double startStation,
                               const MessageSink& report = MessageSink());

}  // namespace vexaline
