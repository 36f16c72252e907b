#include "core/files/IfcLayout.h"

#include <algorithm>
#include <cmath>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::ifc {
namespace {

// Two tangents closer than this meet smoothly: the 20″ a design program's
// rounded rows turn a tangent by.
constexpr double kSmoothTurn = 20.0 / 3600.0 * kPi / 180.0;

// Our azimuth (clockwise from north) as IFC's direction (counter-clockwise
// from east).
double Direction(double azimuth) { return NormaliseAngle(kPi / 2 - azimuth); }

double Curvature(double radius, Turn turn) {
    if (radius == INFINITE_RADIUS) return 0.0;
    return turn == Turn::Left ? 1.0 / radius : -1.0 / radius;
}

bool Finite(const Stake& s) {
    return std::isfinite(s.point.X) && std::isfinite(s.point.Y) && std::isfinite(s.dAzimuth);
}

// Why the element cannot be written, or empty.
std::string Refusal(const Element& el, const Stake& start, const Stake& end) {
    bool ok = el.fault == ElementFault::None && Finite(start) && Finite(end);
    if (el.type == LineType::Circular) ok = ok && el.dStartRadius > 0 && el.dStartRadius < INFINITE_RADIUS;
    if (el.type == LineType::Transition) ok = ok && el.dStartRadius > 0 && el.dEndRadius > 0;
    if (ok) return std::string();
    return Format(text::kIfcElementFault, el.nStartRow, GbkToUtf8(el.strStartStation).c_str());
}

Join JoinOf(double turn, bool sameCurvature) {
    if (std::fabs(turn) > kSmoothTurn) return Join::Continuous;
    return sameCurvature ? Join::SameCurvature : Join::SameGradient;
}

// A stretch of the profile governed by one rule: a point's vertical curve
// (curve >= 0) or the grade line after point `line`.
struct Piece {
    double s0, s1;
    int curve;
    std::size_t line;
};

double CurveHeight(const GradePoint& p, double s) {
    const double x = s - p.dStart;
    return p.dElevation - p.dGradeIn * p.dTangent + p.dGradeIn * x + p.dOmega * x * x / (2 * p.dLength);
}
double CurveGradient(const GradePoint& p, double s) { return p.dGradeIn + p.dOmega * (s - p.dStart) / p.dLength; }

// The pieces in station order, as Profile::ElevationAt chooses between a
// curve and the grade line on each span between two points.
std::vector<Piece> Pieces(const Profile& profile) {
    std::vector<Piece> pieces;
    auto add = [&pieces](double s0, double s1, int curve, std::size_t line) {
        if (!(s1 > s0)) return;
        if (curve >= 0 && !pieces.empty() && pieces.back().curve == curve) pieces.back().s1 = s1;
        else pieces.push_back(Piece{s0, s1, curve, line});
    };
    for (std::size_t k = 0; k + 1 < profile.points.size(); ++k) {
        const GradePoint& a = profile.points[k];
        const GradePoint& b = profile.points[k + 1];
        const double aEnd = a.dLength > 0 ? std::min(a.dEnd, b.dStation) : a.dStation;
        const double bStart = b.dLength > 0 ? std::max(b.dStart, aEnd) : b.dStation;
        add(a.dStation, aEnd, static_cast<int>(k), 0);
        add(aEnd, bStart, -1, k);
        add(bStart, b.dStation, static_cast<int>(k + 1), 0);
    }
    return pieces;
}

}  // namespace

PlanLayout LayPlan(const Alignment& road) {
    PlanLayout out;
    const std::vector<Element>& elements = road.Elements();
    Stake last = road.At(0, road.MinStation(), 0, 0);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& el = elements[i];
        const Stake start = road.At(i, el.dStartStation, 0, 0), end = road.At(i, el.dEndStation, 0, 0);
        out.strMessage = Refusal(el, start, end);
        if (!out.strMessage.empty()) return out;
        if (!(el.dEndStation > el.dStartStation)) continue;  // two rows at one station: nothing to draw
        PlanSegment s;
        s.type = el.type;
        s.x = start.point.Y;
        s.y = start.point.X;
        s.direction = Direction(start.dAzimuth);
        s.length = el.dEndStation - el.dStartStation;
        s.dStation = el.dStartStation;
        if (el.type != LineType::Straight) {
            s.k0 = Curvature(el.dStartRadius, el.turn);
            s.k1 = el.type == LineType::Circular ? s.k0 : Curvature(el.dEndRadius, el.turn);
        }
        if (!out.segments.empty()) {
            PlanSegment& before = out.segments.back();
            before.join = JoinOf(std::remainder(last.dAzimuth - start.dAzimuth, kTwoPi), before.k1 == s.k0);
        }
        out.segments.push_back(s);
        last = end;
    }
    PlanSegment close;
    close.x = last.point.Y;
    close.y = last.point.X;
    close.direction = Direction(last.dAzimuth);
    close.dStation = road.MaxStation();
    if (!out.segments.empty()) out.segments.back().join = JoinOf(0, out.segments.back().k1 == 0);
    out.segments.push_back(close);
    return out;
}

std::vector<GradeSegment> LayProfile(const Profile& profile, double startStation, double endStation) {
    std::vector<GradeSegment> out;
    for (const Piece& p : Pieces(profile)) {
        const double s0 = std::max(p.s0, startStation), s1 = std::min(p.s1, endStation);
        if (!(s1 > s0)) continue;
        GradeSegment g;
        g.distance = s0 - startStation;
        g.length = s1 - s0;
        g.parabola = p.curve >= 0;
        if (g.parabola) {
            const GradePoint& c = profile.points[static_cast<std::size_t>(p.curve)];
            g.height = CurveHeight(c, s0);
            g.g0 = CurveGradient(c, s0);
            g.g1 = CurveGradient(c, s1);
        } else {
            const GradePoint& a = profile.points[p.line];
            g.height = a.dElevation + a.dGradeOut * (s0 - a.dStation);
            g.g0 = g.g1 = a.dGradeOut;
        }
        if (!out.empty()) {
            GradeSegment& before = out.back();
            const double k0 = before.parabola ? (before.g1 - before.g0) / before.length : 0;
            const double k1 = g.parabola ? (g.g1 - g.g0) / g.length : 0;
            before.join = std::fabs(before.g1 - g.g0) > 1e-12 ? Join::Continuous
                          : k0 == k1                        ? Join::SameCurvature
                                                            : Join::SameGradient;
        }
        out.push_back(g);
    }
    if (out.empty()) return out;
    const GradeSegment& last = out.back();
    GradeSegment close;
    close.distance = last.distance + last.length;
    close.height = last.height + last.length * (last.g0 + last.g1) / 2;  // a parabola's mean gradient
    close.g0 = close.g1 = last.g1;
    out.back().join = last.parabola ? Join::SameGradient : Join::SameCurvature;
    out.push_back(close);
    return out;
}

}  // namespace vexaline::ifc
