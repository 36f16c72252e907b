#include "core/road/Inspect.h"

#include <cmath>

#include "core/road/ReverseLookup.h"
#include "core/road/StakeHeight.h"
#include "core/road/StakeRun.h"
#include "core/text/FixedText.h"
#include "core/text/StationText.h"

namespace vexaline {
namespace {

// In when, rounded to the millimetre as it is shown, the size is at most
// the tolerance (or there is no figure, or no tolerance).
bool Within(const std::optional<double>& value, const std::optional<double>& tolerance) {
    return !value || !tolerance || std::fabs(FixedRoundTrip(*value, 3)) <= *tolerance;
}

// The stake the name names, exactly square to the road (a stake set out
// with "90" lies 1.570796 rad off the tangent: 2.4 µm along at 7.5 m); false when it is off the
// road or cannot be computed.
bool CompareWithStake(const Alignment& road, const NamedStake& stake, InspectRow& row) {
    row.dStation = stake.dStation, row.dOffset = stake.dOffset;
    if (!(stake.dStation >= road.MinStation() && stake.dStation <= road.MaxStation())) return false;
    const std::size_t e = road.ElementAt(stake.dStation);
    StakeResult design;
    if (!StakeOn(road.Elements()[e], road.Geometry(e), stake.dStation, stake.dOffset, kPi / 2, nullptr, design)
             .empty())
        return false;
    const double dx = row.point.dX - design.point.X, dy = row.point.dY - design.point.Y;
    const double c = std::cos(design.dAzimuth), s = std::sin(design.dAzimuth);
    row.dx = dx, row.dy = dy, row.d = std::hypot(dx, dy);
    row.dAlong = dx * c + dy * s;
    row.dAcross = dy * c - dx * s;
    return true;
}

InspectRow InspectOne(const Alignment& road, const MeasuredPoint& point, const DesignHeights& heights,
                      const Tolerances& tolerances) {
    static const CrossSlopes kLevel;
    InspectRow row;
    row.point = point;
    std::vector<double> places;
    const std::optional<NamedStake> stake = ReadStakeName(point.strName, road.Chain(), &places);
    row.bNamed = stake.has_value();
    if (stake && places.empty()) {
        row.bFound = CompareWithStake(road, *stake, row);
    } else if (stake) {
        // A 桩号 of a 长链 named without its occurrence: the place nearest the point.
        for (double place : places) {
            InspectRow at = row;
            if (CompareWithStake(road, NamedStake{place, stake->dOffset}, at) && (!row.bFound || *at.d < *row.d))
                row = at, row.bFound = true;
        }
    } else {
        const LookupResult at = ReverseLookup(road, CPlanePoint(point.dX, point.dY));
        row.bFound = at.status == LookupStatus::Converged;
        if (row.bFound) row.dStation = at.dStation, row.dOffset = at.dOffset;
    }
    if (!row.bFound) return row;
    if (!road.Chain().Empty()) row.chain = road.Chain().StationAt(row.dStation);
    if (heights.profile)
        row.designH = SurfaceElevation(*heights.profile, heights.slopes ? *heights.slopes : kLevel, row.dStation,
                                       row.dOffset);
    if (row.designH && point.height) row.dh = *point.height - *row.designH;
    row.bIn = Within(row.d, tolerances.plan) && Within(row.dh, tolerances.height);
    return row;
}

// Largest size and root mean square of the values; none without values.
void Spread(const std::vector<double>& values, std::optional<double>& max, std::optional<double>& rms) {
    if (values.empty()) return;
    double largest = 0, squares = 0;
    for (double v : values) largest = std::fmax(largest, std::fabs(v)), squares += v * v;
    max = largest;
    rms = std::sqrt(squares / static_cast<double>(values.size()));
}

}  // namespace

bool HeightsNotMeasured(const std::vector<MeasuredPoint>& points) {
    bool any = false;
    for (const MeasuredPoint& p : points) {
        if (p.height && *p.height != 0) return false;
        any = any || p.height;
    }
    return any;
}

Inspection Inspect(const Alignment& road, const std::vector<MeasuredPoint>& points, const DesignHeights& heights,
                   const Tolerances& tolerances) {
    Inspection out;
    out.bZeroHeightsIgnored = heights.profile && HeightsNotMeasured(points);
    out.rows.reserve(points.size());
    std::vector<double> d, dh;
    for (MeasuredPoint p : points) {
        if (out.bZeroHeightsIgnored) p.height.reset();
        out.rows.push_back(InspectOne(road, p, heights, tolerances));
        const InspectRow& row = out.rows.back();
        if (row.d) d.push_back(*row.d);
        if (row.dh) dh.push_back(*row.dh);
        ++(row.bIn ? out.summary.nIn : out.summary.nOut);
    }
    out.summary.nPoints = static_cast<int>(points.size());
    Spread(d, out.summary.maxD, out.summary.rmsD);
    Spread(dh, out.summary.maxDh, out.summary.rmsDh);
    return out;
}

}  // namespace vexaline
