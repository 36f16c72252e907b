#pragma once
#include <string>
#include <utility>
#include <vector>

#include "core/road/Chainage.h"

// Cross slopes (横坡) by station: the crown of a normal section and the
// superelevation (超高) of curves as the design's table lists them. A slope
// is in percent, the rise going outward from the centreline on its side: a
// normal crown is −2, −2; a right-hand curve superelevated 4 % is +4, −4.
namespace vexaline {

// One row as typed or read, UTF-8.
struct SlopeRow {
    int nLine = 0;
    std::string strStation, strLeft, strRight;
};

inline constexpr int kMaxSlopeRows = 10000;
inline constexpr int kMaxSlopePercent = 20;

struct SlopePoint {
    double dStation = 0, dLeft = 0, dRight = 0;  // percent
};

struct CrossSlopes {
    std::vector<SlopePoint> points;  // stations strictly increasing; may be empty

    // The left and right slopes (percent) at station s: linear in station
    // between rows, the first row's before it and the last row's after it,
    // 0, 0 without rows (a NaN station gets the first row's). Within a few
    // roundings of the exact line.
    std::pair<double, double> At(double s) const;
};

struct SlopesBuild {
    std::string strMessage;  // UTF-8; empty when built
    CrossSlopes slopes;
    bool Ok() const { return strMessage.empty(); }
};

// From the table (no rows: both slopes 0 everywhere). Refuses, naming the
// line: more than kMaxSlopeRows rows; a station or slope that is no number
// (ParseNumber); a station not above the one before; a slope outside
// ±kMaxSlopePercent.
SlopesBuild BuildCrossSlopes(const std::vector<SlopeRow>& rows);

// The table's 桩号 as distances on a road with station equations, as
// GradeRowsToDistances does for the vertical alignment.
std::string SlopeRowsToDistances(std::vector<SlopeRow>& rows, const Chainage& chain);

// The table as typed on the road, as BuildProfileOn builds the vertical
// alignment.
SlopesBuild BuildSlopesOn(std::vector<SlopeRow> rows, const Chainage& chain);

}  // namespace vexaline
