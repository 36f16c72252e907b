#include "geometry/Element.h"

#include <cmath>
#include <utility>

#include "geometry/Clothoid.h"

namespace vexaline {
namespace {

// Beyond this many turns the loops of NormaliseAngle would take noticeable
// time (or never end: x − 2π == x for huge x). No real element comes near it.
constexpr double kLoopLimit = kTwoPi * 1024.0;

StakePoint OffsetInPlane(double x, double y, double tau, double offset, double deflection) {
    StakePoint r;
    r.dX = x + offset * std::cos(tau + deflection);
    r.dY = y + offset * std::sin(tau + deflection);
    r.dAzimuth = tau;
    return r;
}

StakePoint Straight(const ElementRequest& q) {
    double tau = NormaliseAngle(q.ptStart.Azimuth(q.ptEnd));
    double s = q.dStation - q.dStartStation;
    double x = q.ptStart.X + s * std::cos(tau);
    double y = q.ptStart.Y + s * std::sin(tau);
    return OffsetInPlane(x, y, tau, q.dOffset, q.dDeflection);
}

StakePoint Circular(const ElementRequest& q) {
    double R = q.dStartRadius;
    double t = static_cast<double>(q.nTurn);
    double phi = (q.dEndStation - q.dStartStation) / R;
    double chord = q.ptStart.Azimuth(q.ptEnd);
    double thetaC = chord + t * (kPi - phi) * 0.5;
    CPlanePoint centre(q.ptStart.X + R * std::cos(thetaC), q.ptStart.Y + R * std::sin(thetaC));
    double alpha0 = centre.Azimuth(q.ptStart);
    double delta = t * (q.dStation - q.dStartStation) / R;
    double x = centre.X + R * std::cos(alpha0 + delta);
    double y = centre.Y + R * std::sin(alpha0 + delta);
    double tau = NormaliseAngle(alpha0 + t * kPi * 0.5 + delta);
    return OffsetInPlane(x, y, tau, q.dOffset, q.dDeflection);
}

CPlanePoint Swapped(CPlanePoint p) { return CPlanePoint(p.Y, p.X); }

StakePoint Transition(const ElementRequest& q) {
    // T1: the near end is the one with the larger radius.
    bool entering = q.dStartRadius > q.dEndRadius;
    CPlanePoint nearEnd = entering ? q.ptStart : q.ptEnd;
    CPlanePoint farEnd = entering ? q.ptEnd : q.ptStart;
    double rBig = entering ? q.dStartRadius : q.dEndRadius;
    double rSmall = entering ? q.dEndRadius : q.dStartRadius;
    double w = entering ? q.dStation - q.dStartStation : q.dEndStation - q.dStation;
    // T2, T3
    double ls = q.dEndStation - q.dStartStation;
    double lNear, lFar;
    if (rBig == INFINITE_RADIUS) {
        lNear = 0.0;
        lFar = ls;
    } else {
        lNear = ls * rSmall / (rBig - rSmall);
        lFar = ls * rBig / (rBig - rSmall);
    }
    // A² = 0 (zero length, or a zero radius): the series would divide by
    // zero. The element shrinks to its near end; the azimuth is the chord's,
    // start to end, so that it faces the direction of increasing station.
    if (rSmall * lFar == 0.0) {
        double tau = NormaliseAngle(q.ptStart.Azimuth(q.ptEnd));
        return OffsetInPlane(nearEnd.X, nearEnd.Y, tau, q.dOffset, q.dDeflection);
    }
    // T4, T5
    CPlanePoint n = rBig == INFINITE_RADIUS ? CPlanePoint(0.0, 0.0) : ClothoidXY(lNear, rBig, lNear);
    CPlanePoint f = ClothoidXY(lFar, rSmall, lFar);
    double d = w + lNear;
    CPlanePoint p = ClothoidXY(d, rSmall, lFar);
    double beta = Power(d, 2) / (2 * lFar * rSmall);
    // T6, T7: seen from the origin the curve bends left for an entering left
    // turn and for a leaving right turn; there the series is mirrored.
    bool left = q.nTurn == -1;
    double gamma;
    if (entering) {
        gamma = left ? kPi * 0.5 - beta : beta;
    } else {
        gamma = left ? beta + kPi : kPi * 1.5 - beta;
    }
    if (entering == left) {
        n = Swapped(n);
        f = Swapped(f);
        p = Swapped(p);
    }
    // T8: offset in the local frame.
    double u = p.X + q.dOffset * std::cos(gamma + q.dDeflection);
    double v = p.Y + q.dOffset * std::sin(gamma + q.dDeflection);
    // T9 - T11: rotate by the chord and anchor at the near end.
    double theta = nearEnd.Azimuth(farEnd) - n.Azimuth(f);
    double c = std::cos(theta);
    double s = std::sin(theta);
    double ox = nearEnd.X - (n.X * c - n.Y * s);
    double oy = nearEnd.Y - (n.X * s + n.Y * c);
    StakePoint r;
    r.dX = ox + (u * c - v * s);
    r.dY = oy + (u * s + v * c);
    r.dAzimuth = NormaliseAngle(theta + gamma);  // T12
    return r;
}

}  // namespace

double NormaliseAngle(double a) {
    if (!(std::fabs(a) < kLoopLimit)) {
        if (!std::isfinite(a)) return std::nan("");
        a = std::fmod(a, kTwoPi);
    }
    while (a < 0) a += kTwoPi;
    while (a >= kTwoPi) a -= kTwoPi;
    return a;
}

StakePoint PointOnElement(ElementRequest request) {
    switch (request.nLineType) {
        case 0: return Straight(request);
        case 1: return Circular(request);
        case 2: return Transition(request);
        default: return StakePoint{request.ptStart.X, request.ptStart.Y, 0.0};
    }
}

}  // namespace vexaline
