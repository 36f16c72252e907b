#include "core/road/StakeHeight.h"

#include <cmath>

#include "core/road/ReverseLookup.h"

namespace vexaline {

std::optional<double> SurfaceElevation(const Profile& profile, const CrossSlopes& slopes, double station,
                                       double offset) {
    const std::optional<double> h = profile.ElevationAt(station);
    if (!h || offset == 0) return h;
    const std::pair<double, double> slope = slopes.At(station);
    return *h + std::fabs(offset) * (offset < 0 ? slope.first : slope.second) / 100;
}

std::optional<double> StakeElevation(const Alignment& road, const Profile& profile, const CrossSlopes& slopes,
                                     const StakeResult& row) {
    if (row.IsMessage()) return std::nullopt;
    if (row.dOffset == 0) return profile.ElevationAt(row.dStation);
    if (std::fabs(row.dOffset * std::cos(row.dDeflection)) <= kSquareStake)
        return SurfaceElevation(profile, slopes, row.dStation, row.dOffset * std::sin(row.dDeflection));
    const LookupResult at = ReverseLookupFrom(road, row.point, row.dStation);
    if (at.status != LookupStatus::Converged) return std::nullopt;
    return SurfaceElevation(profile, slopes, at.dStation, at.dOffset);
}

void AddHeights(ResultSet& set, const Alignment& road, const Profile& profile, const CrossSlopes& slopes) {
    set.bHeights = true;
    for (StakeResult& row : set.rows) row.elevation = StakeElevation(road, profile, slopes, row);
}

}  // namespace vexaline
