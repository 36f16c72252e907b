#include "core/road/PiTable.h"

#include <cmath>

#include "core/road/PiCurve.h"
#include "core/text/AngleText.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// Consecutive points closer than this give no direction to the road.
constexpr double kSamePoint = 0.001;
// Half a second of arc: a smaller deflection shows as 0.0000.
constexpr double kLeastDeflection = 0.5 / 3600.0 * kPi / 180.0;

struct PiPoint {
    std::string name;  // UTF-8, never empty
    int line = 0;
    CPlanePoint pt;
    double radius = 0, ls1 = 0, ls2 = 0;
};

std::string PointName(const PiRow& row, std::size_t i, std::size_t count) {
    const std::string name = TrimBlanks(row.strName);
    if (!name.empty()) return name;
    if (i == 0) return text::kPiStartName;
    if (i + 1 == count) return text::kPiEndName;
    return "JD" + std::to_string(i);
}

// One row to a point: its numbers read and checked. Empty when sound.
std::string ReadPoint(const PiRow& row, bool isEnd, PiPoint& p) {
    const std::string* fields[5] = {&row.strX, &row.strY, &row.strRadius, &row.strLs1, &row.strLs2};
    double values[5] = {0, 0, 0, 0, 0};
    for (int f = 0; f < 5; ++f) {
        const bool empty = TrimBlanks(*fields[f]).empty();
        if (f >= 2 && empty) continue;  // an empty length is 0; a missing radius is named below
        if (f >= 2 && isEnd) return Format(text::kPiEndHasCurve, row.nLine, p.name.c_str());
        if (empty || !ParsePiNumber(*fields[f], values[f]))
            return Format(text::kPiNotANumber, row.nLine, p.name.c_str(), text::kPiColumns[f + 1]);
    }
    for (int f = 0; f < 2; ++f) {
        if (!IsSurveyCoordinate(values[f]))
            return Format(text::kPiNotACoordinate, row.nLine, p.name.c_str(), text::kPiColumns[f + 1]);
    }
    p.line = row.nLine;
    p.pt = CPlanePoint(values[0], values[1]);
    if (isEnd) return std::string();
    if (TrimBlanks(row.strRadius).empty()) return Format(text::kPiRadiusMissing, row.nLine, p.name.c_str());
    if (!(values[2] > 0)) return Format(text::kPiRadiusNotPositive, row.nLine, p.name.c_str());
    if (values[3] < 0 || values[4] < 0) return Format(text::kPiNegativeLength, row.nLine, p.name.c_str());
    p.radius = values[2];
    p.ls1 = values[3];
    p.ls2 = values[4];
    return std::string();
}

std::string ReadPoints(const std::vector<PiRow>& table, std::vector<PiPoint>& points) {
    if (table.size() < 3) return text::kPiTooFewPoints;
    points.resize(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        points[i].name = PointName(table[i], i, table.size());
        const std::string m = ReadPoint(table[i], i == 0 || i + 1 == table.size(), points[i]);
        if (!m.empty()) return m;
    }
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (points[i].pt.Distance(points[i + 1].pt) < kSamePoint)
            return Format(text::kPiSamePoint, points[i].name.c_str(), points[i + 1].name.c_str());
    }
    return std::string();
}

double Fold(double a) {
    while (a > kPi) a -= kTwoPi;
    while (a <= -kPi) a += kTwoPi;
    return a;
}

// The curve at each intersection point, shaped and placed. Empty when sound.
std::string PlaceCurves(const std::vector<PiPoint>& points, std::vector<PlacedCurve>& curves) {
    for (std::size_t j = 1; j + 1 < points.size(); ++j) {
        const PiPoint& p = points[j];
        const double in = points[j - 1].pt.Azimuth(p.pt);
        const double alpha = Fold(p.pt.Azimuth(points[j + 1].pt) - in);
        const char* name = p.name.c_str();
        if (std::fabs(alpha) < kLeastDeflection) return Format(text::kPiNoDeflection, name);
        if (std::fabs(alpha) > kPi - kLeastDeflection) return Format(text::kPiReversal, name);
        PlacedCurve c;
        c.jd = p.pt;
        c.dAzimuthIn = in;
        c.shape = CurveShape::Build(p.radius, p.ls1, p.ls2, alpha);
        if (!c.shape.Finite()) return Format(text::kPiCannotCompute, name);
        // An arc too short for a row of its own would leave the entering
        // transition ending on a straight's row: no radius to end at.
        if (c.shape.dBeta1 + c.shape.dBeta2 > std::fabs(alpha) ||
            (c.shape.dArc <= kPiMeetTolerance && p.ls2 == 0))
            return Format(text::kPiNoRoomForArc, name);
        curves.push_back(c);
    }
    return std::string();
}

// Adds a change point; one that falls on the last (within the tolerance, or
// on the same millimetre) takes its place at their midpoint: the later
// row begins the next element, so its type and radius win.
void AddChange(std::vector<PiChange>& changes, PiChange c) {
    if (!changes.empty()) {
        PiChange& last = changes.back();
        if (c.dStation - last.dStation <= kPiMeetTolerance ||
            std::llround(c.dStation * 1000.0) == std::llround(last.dStation * 1000.0)) {
            c.dStation = (last.dStation + c.dStation) / 2;
            c.point = CPlanePoint((last.point.X + c.point.X) / 2, (last.point.Y + c.point.Y) / 2);
            last = c;
            return;
        }
    }
    changes.push_back(c);
}

PiChange Change(double station, LineType type, Turn turn, double radius, CPlanePoint point) {
    PiChange c;
    c.dStation = station;
    c.type = type;
    c.turn = turn;
    c.dRadius = radius;
    c.point = point;
    return c;
}

// Every figure of the curve's table line and its change points from first
// on is finite, every point a survey coordinate.
bool Computed(const CurveRecord& r, const std::vector<PiChange>& changes, std::size_t first) {
    const double figures[] = {r.dDeflection, r.dRadius, r.dLs1, r.dLs2, r.dT1, r.dT2, r.dLength,
                              r.dExternal,   r.dZH,     r.dHY,  r.dQZ,  r.dYH, r.dHZ};
    for (double v : figures)
        if (!std::isfinite(v)) return false;
    for (std::size_t i = first; i < changes.size(); ++i)
        if (!std::isfinite(changes[i].dStation) || !changes[i].point.IsSurveyPoint()) return false;
    return true;
}

// The curve's change points from ZH on, and its line of the curve table.
CurveRecord WalkCurve(const PiPoint& p, const PlacedCurve& c, double zh, std::vector<PiChange>& changes) {
    const CurveShape& s = c.shape;
    const Turn turn = s.dDeflection > 0 ? Turn::Right : Turn::Left;
    CurveRecord r;
    r.strName = p.name;
    r.jd = p.pt;
    r.dDeflection = s.dDeflection;
    r.dRadius = s.dRadius;
    r.dLs1 = s.dLs1;
    r.dLs2 = s.dLs2;
    r.dT1 = s.dT1;
    r.dT2 = s.dT2;
    r.dLength = s.dLength;
    r.dZH = zh;
    r.dHY = zh + s.dLs1;
    r.dYH = r.dHY + s.dArc;
    r.dHZ = r.dYH + s.dLs2;
    r.dQZ = (r.dZH + r.dHZ) / 2;
    r.dExternal = p.pt.Distance(c.At(s.dLength / 2));
    if (s.dLs1 > 0) {
        AddChange(changes, Change(zh, LineType::Transition, turn, INFINITE_RADIUS, c.ZH()));
        AddChange(changes, Change(r.dHY, LineType::Circular, turn, s.dRadius, c.At(s.dLs1)));
    } else {
        AddChange(changes, Change(zh, LineType::Circular, turn, s.dRadius, c.ZH()));
    }
    if (s.dLs2 > 0) AddChange(changes, Change(r.dYH, LineType::Transition, turn, s.dRadius, c.At(s.dLs1 + s.dArc)));
    AddChange(changes, Change(r.dHZ, LineType::Straight, Turn::Right, INFINITE_RADIUS, c.HZ()));
    return r;
}

// Stations along the road, the change points and the curve table.
std::string Walk(const std::vector<PiPoint>& points, const std::vector<PlacedCurve>& curves, double start,
                 PiRoad& road) {
    AddChange(road.changes, Change(start, LineType::Straight, Turn::Right, INFINITE_RADIUS, points[0].pt));
    double station = start;  // where the current straight begins
    double lastT2 = 0;
    for (std::size_t j = 1; j + 1 < points.size(); ++j) {
        const PlacedCurve& c = curves[j - 1];
        const double leg = points[j - 1].pt.Distance(points[j].pt);
        const double gap = leg - lastT2 - c.shape.dT1;
        const char* prev = points[j - 1].name.c_str();
        const char* name = points[j].name.c_str();
        if (gap < -kPiMeetTolerance) {
            if (j == 1) return Format(text::kPiFirstTooLong, name, c.shape.dT1, leg);
            return Format(text::kPiOverlap, prev, name, -gap);
        }
        const bool meet = gap <= kPiMeetTolerance;
        if (meet && j > 1 && points[j - 1].ls2 > 0 && points[j].ls1 == 0)
            return Format(text::kPiTransitionMeetsArc, prev, name, name);
        // The mirror case could be written (the arc ends on a row that
        // begins a transition from ∞), but the curvature would jump from
        // the arc's to a straight's: a fault the control check flags.
        if (meet && j > 1 && points[j - 1].ls2 == 0 && points[j].ls1 > 0)
            return Format(text::kPiArcMeetsTransition, prev, name, prev);
        const double zh = meet ? station : station + gap;
        const std::size_t first = road.changes.size() - 1;  // the last row may move
        road.curves.push_back(WalkCurve(points[j], c, zh, road.changes));
        if (!Computed(road.curves.back(), road.changes, first)) return Format(text::kPiCannotCompute, name);
        station = road.curves.back().dHZ;
        lastT2 = c.shape.dT2;
    }
    const PiPoint& end = points.back();
    const double leg = points[points.size() - 2].pt.Distance(end.pt);
    const double gap = leg - lastT2;
    if (gap < -kPiMeetTolerance)
        return Format(text::kPiLastTooLong, points[points.size() - 2].name.c_str(), lastT2, leg);
    const double last = gap <= kPiMeetTolerance ? station : station + gap;
    AddChange(road.changes, Change(last, LineType::EndPoint, Turn::Right, INFINITE_RADIUS, end.pt));
    return std::string();
}

ControlRow RowOf(const PiChange& c, const Chainage& chain) {
    const char* types[] = {text::kStraight, text::kCircular, text::kTransition, text::kEndPoint};
    ControlRow row;
    row.strField[kFieldStation] = chain.Empty() ? MillimetreText(c.dStation) : ChainStationText(chain.StationAt(c.dStation));
    row.strField[kFieldLineType] = Gbk(types[static_cast<int>(c.type)]);
    const bool left = c.turn == Turn::Left;
    if (c.dRadius == INFINITE_RADIUS)
        row.strField[kFieldRadius] = Gbk(left ? text::kMinusInfinity : text::kInfinity);
    else
        row.strField[kFieldRadius] = MillimetreText(left ? -c.dRadius : c.dRadius);
    row.strField[kFieldX] = MillimetreText(c.point.X);
    row.strField[kFieldY] = MillimetreText(c.point.Y);
    return row;
}

}  // namespace

bool ParsePiNumber(const std::string& text, double& value) {
    const std::optional<double> v = ParseNumber(text);
    if (v) value = *v;
    return v.has_value();
}

PiRoad BuildPiRoad(const std::vector<PiRow>& table, double startStation, const Chainage& chain) {
    PiRoad road;
    std::vector<PiPoint> points;
    std::vector<PlacedCurve> curves;
    // A station is held in the same 12-byte field as a coordinate.
    std::string m = IsSurveyCoordinate(startStation) ? ReadPoints(table, points) : text::kPiStartStationTooLarge;
    if (m.empty()) m = PlaceCurves(points, curves);
    if (m.empty()) m = Walk(points, curves, startStation, road);
    if (m.empty()) m = Chainage(chain).SetEnds(road.changes.front().dStation, road.changes.back().dStation);
    for (std::size_t i = 0; m.empty() && i < road.changes.size(); ++i) {
        road.rows.push_back(RowOf(road.changes[i], chain));
        if (OverflowingField(road.rows.back()) >= 0)
            m = Format(text::kPiRowTooWide, static_cast<int>(i + 1), road.rows.back().strField[kFieldStation].c_str());
    }
    if (!m.empty()) {
        PiRoad refused;
        refused.strMessage = m;
        return refused;
    }
    return road;
}

std::string DeflectionText(double deflection) {
    std::string out = deflection < 0 ? text::kPiLeft : text::kPiRight;
    AppendDms(out, std::fabs(deflection));
    return out;
}

}  // namespace vexaline
