#include "core/road/ReverseLookup.h"

#include <cmath>

#include "core/road/StakeRun.h"
#include "core/text/FixedText.h"

namespace vexaline {
namespace {

// Whether the road can be walked at all; status set when not.
bool Walkable(const Alignment& road, LookupResult& result) {
    if (road.Rows().size() < 2) {
        result.status = LookupStatus::NoControl;
        return false;
    }
    if (road.BadStationRow() != 0) {
        result.nBadLine = road.BadStationRow();
        result.status = LookupStatus::BadStationLine;
        return false;
    }
    return true;
}

// The walk along the tangent from station s.
LookupResult WalkFrom(const Alignment& road, CPlanePoint q, double s, const MessageSink& report) {
    LookupResult result;
    const double min = road.MinStation(), max = road.MaxStation();
    const std::vector<Element>& elements = road.Elements();
    for (int step = 0; step < kMaxLookupSteps; ++step) {
        if (!(s >= min && s <= max)) break;  // NaN leaves too
        ++result.nEvaluations;
        StakeResult c;
        const std::size_t e = road.ElementAt(s);
        const std::string message = StakeOn(elements[e], road.Geometry(e), s, 0.0, kPi * 0.5, nullptr, c);
        if (!message.empty()) {
            if (report) report(message);
            result.status = LookupStatus::Failed;  // a message: no point to step from
            return result;
        }
        // The centre to the millimetre and the azimuth to six decimals, as
        // the lookup has always taken them from its printed text.
        CPlanePoint centre(FixedRoundTrip(c.point.X, 3), FixedRoundTrip(c.point.Y, 3));
        double a = FixedRoundTrip(c.dAzimuth, 6);
        double delta = centre.Azimuth(q) - a;
        if (delta < 0) delta += kTwoPi;
        double distance = centre.Distance(q);
        double along = distance * std::cos(delta);
        s = s + along;
        if (std::fabs(along) <= 0.001) {
            result.status = LookupStatus::Converged;
            result.dStation = s;
            result.dOffset = delta < kPi ? distance : -distance;
            return result;
        }
    }
    result.status = LookupStatus::NotFound;
    return result;
}

}  // namespace

LookupResult ReverseLookup(const Alignment& road, CPlanePoint q, const MessageSink& report) {
    LookupResult result;
    if (!Walkable(road, result)) return result;
    // Start at the nearest change point; the first in list order wins a tie.
    // A row whose X or Y is no number is nobody's nearest point; when no
    // point is nearer than the bound, start at the smallest station.
    double best = 4294967295.0;
    double s = road.MinStation();
    for (const ChangePoint& row : road.Rows()) {
        if (!row.HasPoint()) continue;
        double d = q.Distance(*row.x, *row.y);
        if (best > d) {
            best = d;
            s = *row.station;
        }
    }
    return WalkFrom(road, q, s, report);
}

LookupResult ReverseLookupFrom(const Alignment& road, CPlanePoint q, double startStation, const MessageSink& report) {
    LookupResult result;
    if (!Walkable(road, result)) return result;
    return WalkFrom(road, q, startStation, report);
}

}  // namespace vexaline
