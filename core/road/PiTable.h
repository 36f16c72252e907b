#pragma once
#include <string>
#include <vector>

#include "core/geometry/PlanePoint.h"
#include "core/road/Alignment.h"
#include "core/text/ControlLine.h"
#include "core/text/StationText.h"  // KStation: the curve table's stations

// The road as designers draw it: a table of intersection points (交点), made
// into the change points of the control list and the curve table (直曲表).
//
// Conventions: X north, Y east, metres; azimuths clockwise from north; a
// deflection is the outgoing azimuth minus the incoming one in (−π, π],
// positive turning right. Stations run along the road from the start.
namespace vexaline {

// One row of the table as typed or read, UTF-8. The first row is the start
// point, the last the end point (radius and lengths empty there); every row
// between is an intersection point with radius R > 0 and the transition
// lengths Ls1 (entering) and Ls2 (leaving), empty meaning 0.
struct PiRow {
    int nLine = 0;  // named in messages: the file line or the table row
    std::string strName, strX, strY, strRadius, strLs1, strLs2;
};

// One line of the curve table: stations in metres, angles in radians.
struct CurveRecord {
    std::string strName;  // UTF-8
    CPlanePoint jd;
    double dDeflection = 0;  // signed, positive turning right
    double dRadius = 0, dLs1 = 0, dLs2 = 0;
    double dT1 = 0, dT2 = 0, dLength = 0, dExternal = 0;
    double dZH = 0, dHY = 0, dQZ = 0, dYH = 0, dHZ = 0;
};

// A change point before its texts are rounded to the millimetre.
struct PiChange {
    double dStation = 0;
    LineType type = LineType::Straight;
    Turn turn = Turn::Right;
    double dRadius = INFINITE_RADIUS;  // magnitude
    CPlanePoint point;
};

struct PiRoad {
    std::string strMessage;           // UTF-8; empty when the table was made
    std::vector<PiChange> changes;    // in station order, the 终点 last
    std::vector<ControlRow> rows;     // the same, as the window writes them (GBK)
    std::vector<CurveRecord> curves;  // one per intersection point
    bool Ok() const { return strMessage.empty(); }
};

// Where two points, a curve end and a straight, or two curve ends are taken
// to meet: closer than this they share one change point.
inline constexpr double kPiMeetTolerance = 0.0005;

// From the table and the start station to the change points and the curve
// table. ZH lies T1 before each intersection point, HZ T2 after it; the
// clothoid ends are exact (ClothoidPoint), so each change point lies within
// 1e-9 m of the true road. Where a curve's HZ meets the next ZH, the start
// or the end (within kPiMeetTolerance), they share one row at their
// midpoint: no straight of zero length.
//
// Refuses, with a message naming the point(s) and no rows: a start station
// that is no survey coordinate (IsSurveyCoordinate: it would not fit its
// field); fewer than three rows; a coordinate, radius or length that is no
// number, or a coordinate that is no survey coordinate (naming its line);
// a radius or length at the start or end; a missing or non-positive radius;
// a negative length; two consecutive points less than 1 mm apart; a
// deflection within half a second of 0 or 180°; β1 + β2 > |α|, or an arc
// shorter than kPiMeetTolerance without a leaving transition; curves that
// overlap, or a tangent longer than the line from the start or to the end
// (beyond kPiMeetTolerance); a leaving transition meeting an arc that
// begins without one, or an arc that ends without one meeting an entering
// transition; a curve any of whose figures or change points is not finite
// or no survey coordinate (a transition of 1e-320 m); a row wider than its
// column of the control line.
// (With β1 + β2 ≤ |α| both tangents are positive: no further check.)
//
// With station equations the start station is a distance (the caller maps
// its 桩号), the rows' stations are written as 桩号 (ChainStationText, with
// the occurrence in a 长链), and equations before the start or after the
// end are refused (Chainage::SetEnds).
PiRoad BuildPiRoad(const std::vector<PiRow>& table, double startStation, const Chainage& chain = Chainage());

// A number as typed: blanks around it allowed, nothing else; finite.
bool ParsePiNumber(const std::string& text, double& value);

// "右12.3456" or "左3.0000": the side, then |α| in D.MMSS (UTF-8).
std::string DeflectionText(double deflection);

}  // namespace vexaline
