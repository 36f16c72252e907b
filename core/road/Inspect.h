#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"

// Measured points against the design (实测检核): stakes measured back after
// setting out, or points of the finished surface. A point named as the
// stake exports name stakes (ParseStakeName) is compared with that stake
// in plan and height; any other point is placed by the reverse lookup and
// compared in height. Conventions: X north, Y east, metres; deviations are
// measured − design; along is + towards increasing station, across + to
// the right of the road.
namespace vexaline {

struct MeasuredPoint {
    std::string strName;            // GBK, as read
    double dX = 0, dY = 0;
    std::optional<double> height;   // none in a file without heights
};

// Tolerances in metres; nullopt: not judged.
struct Tolerances {
    std::optional<double> plan = 0.020;
    std::optional<double> height = 0.010;
};

struct InspectRow {
    MeasuredPoint point;
    bool bNamed = false;   // a stake name: station and offset are the name's
    bool bFound = false;   // false: 查找不到 (not placed, or the named stake is off the road)
    double dStation = 0, dOffset = 0;  // offset + right; from the name or the lookup
    std::optional<ChainStation> chain;  // the 桩号 of dStation, on a road with station equations
    std::optional<double> dx, dy, d, dAlong, dAcross;  // named stakes only
    std::optional<double> designH, dh;  // with a profile (and for dh a measured height)
    bool bIn = false;
};

struct InspectSummary {
    int nPoints = 0, nIn = 0, nOut = 0;
    std::optional<double> maxD, rmsD;    // over the named stakes placed
    std::optional<double> maxDh, rmsDh;  // |ΔH| over the points that have one
};

struct Inspection {
    std::vector<InspectRow> rows;  // in the points' order
    InspectSummary summary;
    bool bZeroHeightsIgnored = false;  // the file's heights were all 0.000: taken as not measured
};

// The road's heights, when it has them.
struct DesignHeights {
    const Profile* profile = nullptr;
    const CrossSlopes* slopes = nullptr;  // may be null: no cross fall
};

// Each point compared with the design. A named stake's design point is the
// stake at its station and offset set off exactly square to the road, its design elevation the
// surface there (SurfaceElevation); its plan deviation is split along the
// centreline's azimuth at that station. Any other point is placed by
// ReverseLookup (to the millimetre) and gets the surface's elevation at
// its station and offset. Judging: a figure is in when, rounded to the
// millimetre as it is shown, its size is at most the tolerance; a point is
// in when every figure it has and whose tolerance is on is in; a point not
// placed is out. Needs road.Usable(); a named stake outside the road's
// stations, on an element that cannot be evaluated, or an unnamed point the
// lookup cannot place is not found.
//
// Heights of 0.000 throughout: stakes exported without a profile carry
// height 0.000, which no reader can tell from a measured one. With a
// profile, when every point that has a height has exactly 0, no height
// was measured (HeightsNotMeasured): the rows' heights are dropped (no ΔH,
// not judged) and bZeroHeightsIgnored says so. A single other height
// keeps them all.
Inspection Inspect(const Alignment& road, const std::vector<MeasuredPoint>& points, const DesignHeights& heights,
                   const Tolerances& tolerances);

// True when at least one point has a height and every height is exactly 0.
bool HeightsNotMeasured(const std::vector<MeasuredPoint>& points);

}  // namespace vexaline
