#pragma once
#include <optional>

#include "core/road/Alignment.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"
#include "core/road/Results.h"

// The design elevation (设计高程) of a point of the road surface: the
// profile's elevation at the point's own station, raised or lowered by the
// cross slope of its side over its distance from the centreline.
namespace vexaline {

// H(station) + |offset| · slope / 100, the left slope for a negative offset
// (−0 counts as 0). nullopt where the profile has no elevation (outside its
// stations). As exact as Profile::ElevationAt and CrossSlopes::At.
std::optional<double> SurfaceElevation(const Profile& profile, const CrossSlopes& slopes, double station,
                                       double offset);

// A stake's design elevation: a centre stake (offset 0) is H(station); a
// side stake is the surface at its point's own station and signed offset
// (a skewed side stake lies at another station than it was set out from),
// found by the reverse lookup from the stake's station, so to the
// millimetre in station (about 0.05 mm of height on a 5 % grade). A stake
// set off square to the road lies on the normal at its station, whose foot
// is that station: where |offset · cos deflection| ≤ kSquareStake (a "90"
// deflection reads 1.570796, 2.4 µm along for 7.5 m) it is taken as
// station, offset · sin deflection without the walk, ten times finer than
// the walk's millimetre. nullopt for a message row, and where the lookup
// finds no station or the profile no elevation.
inline constexpr double kSquareStake = 1e-4;
std::optional<double> StakeElevation(const Alignment& road, const Profile& profile, const CrossSlopes& slopes,
                                     const StakeResult& row);

// Every row's elevation, and the set marked as having heights (its lines
// and files then carry them).
void AddHeights(ResultSet& set, const Alignment& road, const Profile& profile, const CrossSlopes& slopes);

}  // namespace vexaline
