#include "core/road/ReverseLookup.h"

#include <cmath>

#include "core/road/StakeRun.h"
#include "core/text/FixedText.h"

namespace vexaline {

LookupResult ReverseLookup(const Alignment& road, CPlanePoint q, const MessageSink& report) {
    LookupResult result;
    const std::vector<ChangePoint>& rows = road.Rows();
    if (rows.size() < 2) {
        result.status = LookupStatus::NoControl;
        return result;
    }
    if (road.BadStationRow() != 0) {
        result.nBadLine = road.BadStationRow();
        result.status = LookupStatus::BadStationLine;
        return result;
    }
    const double min = road.MinStation(), max = road.MaxStation();

    // Start at the nearest change point; the first in list order wins a tie.
    // A row whose X or Y is no number is nobody's nearest point; when no
    // point is nearer than the bound, start at the smallest station.
    double best = 4294967295.0;
    double s = min;
    for (const ChangePoint& row : rows) {
        if (!row.HasPoint()) continue;
        double d = q.Distance(*row.x, *row.y);
        if (best > d) {
            best = d;
            s = *row.station;
        }
    }

    ResultSet set;
    for (int step = 0; step < kMaxLookupSteps; ++step) {
        if (!(s >= min && s <= max)) break;  // NaN leaves too
        ++result.nEvaluations;
        set.rows.clear();
        if (!AppendStake(set, road, road.ElementAt(s), s, 0.0, kPi * 0.5, -1, report)) {
            result.status = LookupStatus::Failed;  // a message: no point to step from
            return result;
        }
        // The centre to the millimetre and the azimuth to six decimals, as
        // the lookup has always taken them from its printed text.
        const StakeResult& c = set.rows.front();
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

}  // namespace vexaline
