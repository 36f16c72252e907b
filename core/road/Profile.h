#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Chainage.h"

// The road's vertical alignment (纵断面) as designers hand it over: grade
// points (变坡点) in station order, each with its elevation and the radius
// of the vertical curve (竖曲线) that rounds the change of grade there.
//
// Conventions: stations and elevations in metres, stations the continuous
// distance along the road as the control rows give it; a grade i is a
// ratio, positive rising with the station; ω = i_out − i_in at a point is
// positive for a sag (凹) and negative for a crest (凸). A vertical curve
// is the parabola of length L = R·|ω| centred on its point's station.
namespace vexaline {

// One row of the table as typed or read, UTF-8. The first and last rows
// are the ends of the profile; the radius is empty or 0 where there is no
// curve (always at the ends).
struct GradeRow {
    int nLine = 0;  // named in messages: the file line or the table row
    std::string strName, strStation, strElevation, strRadius;
};

enum class CurveKind { None, Crest, Sag };

// A grade point and its vertical curve, worked out. At the ends the grade
// they lack is 0 and so are ω, L, T and E; dStart = dEnd = dStation where
// there is no curve.
struct GradePoint {
    std::string strName;  // UTF-8, never empty
    int nLine = 0;
    double dStation = 0, dElevation = 0;
    double dRadius = 0;                  // 0: no curve
    double dGradeIn = 0, dGradeOut = 0;  // ratios
    double dOmega = 0;                   // dGradeOut − dGradeIn
    double dLength = 0, dTangent = 0, dExternal = 0;  // L = R·|ω|, T = L/2, E = T²/(2R)
    double dStart = 0, dEnd = 0;         // the curve's ends: station ∓ T
    CurveKind kind = CurveKind::None;    // None where R or ω is 0
};

inline constexpr int kMaxGradePoints = 10000;
// Two curves that overlap by no more than this are taken to meet, and so
// is a curve that reaches past an end of the profile by no more.
inline constexpr double kCurveMeetTolerance = 0.001;

struct Profile {
    std::vector<GradePoint> points;  // at least two, stations strictly increasing

    // The design elevation at station s: on the grade line between two
    // points, or inside a vertical curve on its parabola
    // H_BVC + i_in·x + ω·x²/(2L), x = s − (S − T). nullopt outside
    // [first station, last station] (NaN too). Within 1e-9 m of the exact
    // value for stations and elevations below 10⁶ m: a handful of roundings.
    std::optional<double> ElevationAt(double s) const;
};

struct ProfileBuild {
    std::string strMessage;  // UTF-8; empty when built
    Profile profile;
    bool Ok() const { return strMessage.empty(); }
};

// The empty names of a table filled in as 起点, 变坡点1 …, 终点.
std::vector<GradeRow> NamedGradeRows(std::vector<GradeRow> rows);

// From the table to the profile. Refuses, naming the grade point by its
// name and line: fewer than two rows, more than kMaxGradePoints; a station
// or elevation that is no number, a radius that is neither empty nor a
// number (ParseNumber); a station not above the one before; a grade that
// is no finite number; a negative radius; a radius other than 0 on the
// first or last row; two curves whose tangents T_k + T_{k+1} exceed the
// distance between their points by more than kCurveMeetTolerance; a curve
// that begins before the first row or ends after the last by more than that.
ProfileBuild BuildProfile(const std::vector<GradeRow>& rows);

// The table's 桩号 as distances on a road with station equations, in
// place (StationFieldToDistance), before BuildProfile. Refuses, naming the
// line, a 桩号 in no zone or ambiguous; empty when done.
std::string GradeRowsToDistances(std::vector<GradeRow>& rows, const Chainage& chain);

// The table as typed on the road: its 桩号 as distances, then built. Refuses
// what GradeRowsToDistances and BuildProfile refuse; without equations it
// is BuildProfile.
ProfileBuild BuildProfileOn(std::vector<GradeRow> rows, const Chainage& chain);

}  // namespace vexaline
