#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"
#include "core/road/SectionTemplate.h"

// A design cross-section at one station: the template's break points laid
// square to the road, each at its offset and design elevation, as a stake
// is computed from the typed road.
namespace vexaline {

// The deflection of every break point: exactly square to the road (not the
// six decimals of a typed "90", 2.4 µm along over 7.5 m).
inline constexpr double kSquareToRoad = 1.5707963267948966;

// The template, its widening and, for heights, the vertical alignment and
// the cross slopes (the slopes of 路拱 rows; empty: 0, 0).
struct SectionDesign {
    SectionTemplate tmpl;
    Widening widening;
    std::optional<Profile> profile;
    CrossSlopes slopes;
};

struct SectionPoint {
    RoadSide side = RoadSide::Left;
    std::string strName;  // the template row's, UTF-8
    double dOffset = 0;   // negative on the left
    CPlanePoint point;
    std::optional<double> elevation;
};

struct CrossSection {
    double dStation = 0;  // continuous distance
    CPlanePoint centre;
    std::optional<double> centreElevation;
    std::vector<SectionPoint> points;  // the left side outward, then the right side outward
    std::string strMessage;            // GBK: why there are no points; empty for a section
    bool IsMessage() const { return !strMessage.empty(); }
};

// The section at station s, which must lie on a usable road
// (CheckSingleStake). Outward on each side, element i's break point lies at
// offset o_i = ±(w_1 + … + w_i), w_1 with the side's widening at s, and
// elevation h_i = h_{i−1} + w_i·p_i/100 from h_0 = the profile at s, p_i the
// element's cross fall or, for 路拱, its side's slope of the table at s.
// Points: the side stake at the offset square to the road (Alignment::At,
// kSquareToRoad), so as exact as the element's geometry; offsets exact
// sums; heights a few roundings from the profile's (Profile::ElevationAt).
// Elevations are nullopt without a profile or outside it.
// A message instead of points, naming the station (and the point): the
// element's fault or a point that is no survey coordinate (StakeOn); a
// break point on the inside of a curve as far out as its centre of
// curvature or beyond, where the section would fold over itself.
CrossSection SectionAt(const Alignment& road, const SectionDesign& design, double s);

// One point across the road as SectionAt lays a break point: at the signed
// offset square to the road at s, on element e = road.ElementAt(s).
// strMessage (GBK) instead, naming the station, the side and name: on the
// inside of a curve as far out as its centre of curvature or beyond; the
// element's fault or no survey coordinate (StakeOn).
struct SquarePoint {
    CPlanePoint point;
    std::string strMessage;
};
SquarePoint StakeAcross(const Alignment& road, std::size_t e, double s, double offset, const std::string& name);

// The line across the road at s: its centre stake and the centreline's
// azimuth there; the offset o lies at centre + o·(cos, sin)(azimuth + π/2)
// (X north, Y east). s must lie on a usable road; strMessage (GBK) holds
// the element's fault instead.
struct SectionLine {
    double dStation = 0;
    CPlanePoint centre;
    double dAzimuth = 0;
    std::string strMessage;
};
SectionLine SectionLineAt(const Alignment& road, double s);

}  // namespace vexaline
