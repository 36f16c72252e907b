#include "core/geometry/Element.h"

#include <cmath>

#include "core/geometry/Clothoid.h"

namespace vexaline {
namespace {

// Beyond this many turns the loops of NormaliseAngle would take noticeable
// time (or never end: x − 2π == x for huge x). No real element comes near it.
constexpr double kLoopLimit = kTwoPi * 1024.0;

// The divisors of the first terms the series leaves out, 29·14! and 31·15!.
constexpr double kXCut = 29.0 * 87178291200.0, kYCut = 31.0 * 1307674368000.0;
constexpr double kSeriesTolerance = 1e-7;  // metres

// Whether the series is exact to kSeriesTolerance up to arc length l of the
// clothoid with F = 2RL: its first omitted terms, l^29/(29·14!·F^14) in x and
// l^31/(31·15!·F^15) in y, written with the tangent angle b = l²/F so that
// no power overflows. Input that makes no number keeps the series.
bool SeriesHolds(double l, double F) {
    double b = l * l / F;
    double b2 = b * b, b4 = b2 * b2, b14 = b4 * b4 * b4 * b2;
    double xTerm = std::fabs(l * b14 / kXCut), yTerm = std::fabs(l * b14 * b / kYCut);
    return !(xTerm > kSeriesTolerance || yTerm > kSeriesTolerance);
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

ElementGeometry::ElementGeometry(const ElementRequest& q) : q_(q) {
    if (q.nLineType == 0) {
        tau_ = NormaliseAngle(q.ptStart.Azimuth(q.ptEnd));
        cosTau_ = std::cos(tau_);
        sinTau_ = std::sin(tau_);
    } else if (q.nLineType == 1) {
        PrepareCircle();
    } else if (q.nLineType == 2) {
        PrepareTransition();
    }
}

void ElementGeometry::PrepareCircle() {
    const ElementRequest& q = q_;
    // The radius at the start makes (π − φ)/2 with the chord, on the side
    // the curve turns to.
    double R = q.dStartRadius;
    turn_ = static_cast<double>(q.nTurn);
    double phi = (q.dEndStation - q.dStartStation) / R;
    double chord = q.ptStart.Azimuth(q.ptEnd);
    double thetaC = chord + turn_ * (kPi - phi) * 0.5;
    centre_ = CPlanePoint(q.ptStart.X + R * std::cos(thetaC), q.ptStart.Y + R * std::sin(thetaC));
    alpha0_ = centre_.Azimuth(q.ptStart);
    tauBase_ = alpha0_ + turn_ * kPi * 0.5;
}

void ElementGeometry::PrepareTransition() {
    const ElementRequest& q = q_;
    // The near end is the one with the larger radius.
    entering_ = q.dStartRadius > q.dEndRadius;
    nearEnd_ = entering_ ? q.ptStart : q.ptEnd;
    CPlanePoint farEnd = entering_ ? q.ptEnd : q.ptStart;
    double rBig = entering_ ? q.dStartRadius : q.dEndRadius;
    double rSmall = entering_ ? q.dEndRadius : q.dStartRadius;
    double ls = q.dEndStation - q.dStartStation;
    double lFar;
    if (rBig == INFINITE_RADIUS) {
        lNear_ = 0.0;
        lFar = ls;
    } else {
        lNear_ = ls * rSmall / (rBig - rSmall);
        lFar = ls * rBig / (rBig - rSmall);
    }
    // A² = 0 (zero length, or a zero radius): the series would divide by
    // zero. The element shrinks to its near end; the azimuth is the
    // chord's, start to end, so that it faces increasing station.
    if (rSmall * lFar == 0.0) {
        shrunk_ = true;
        tau_ = NormaliseAngle(q.ptStart.Azimuth(q.ptEnd));
        return;
    }
    // Seen from the origin the series bends right; an entering left turn
    // and a leaving right turn bend left, and are mirrored.
    left_ = q.nTurn == -1;
    swap_ = entering_ == left_;
    bool nearHolds = rBig == INFINITE_RADIUS || SeriesHolds(lNear_, 2 * rBig * lNear_);
    if (!nearHolds || !SeriesHolds(lFar, 2 * rSmall * lFar)) {
        PrepareArc(farEnd, rBig, rSmall, ls);
        return;
    }
    CPlanePoint n = rBig == INFINITE_RADIUS ? CPlanePoint(0.0, 0.0) : ClothoidXY(lNear_, rBig, lNear_);
    CPlanePoint f = ClothoidXY(lFar, rSmall, lFar);
    series_ = ClothoidSeries(rSmall, lFar);
    betaDivisor_ = 2 * lFar * rSmall;
    if (swap_) {
        n = CPlanePoint(n.Y, n.X);
        f = CPlanePoint(f.Y, f.X);
    }
    // Turned by the chord, anchored at the near end.
    theta_ = nearEnd_.Azimuth(farEnd) - n.Azimuth(f);
    cosTheta_ = std::cos(theta_);
    sinTheta_ = std::sin(theta_);
    origin_ = CPlanePoint(nearEnd_.X - (n.X * cosTheta_ - n.Y * sinTheta_),
                          nearEnd_.Y - (n.X * sinTheta_ + n.Y * cosTheta_));
}

// Where the series fails (between arcs of nearly equal radius its clothoid
// turns through radians before the element begins), the element alone is
// integrated from its near end, with the heading 0 there; the chord turn
// and the mirroring absorb the frame's rotation against the series' own.
void ElementGeometry::PrepareArc(CPlanePoint farEnd, double rBig, double rSmall, double ls) {
    arc_ = true;
    arcK0_ = rBig == INFINITE_RADIUS ? 0.0 : 1.0 / rBig;
    arcK1_ = (1.0 / rSmall - arcK0_) / ls;
    CPlanePoint f = ClothoidArc(ls, arcK0_, arcK1_);
    if (swap_) f = CPlanePoint(f.Y, f.X);
    theta_ = nearEnd_.Azimuth(farEnd) - CPlanePoint().Azimuth(f);
    cosTheta_ = std::cos(theta_);
    sinTheta_ = std::sin(theta_);
    origin_ = nearEnd_;
}

StakePoint ElementGeometry::At(double station, double offset, double deflection) const {
    const ElementRequest& q = q_;
    if (q.nLineType == 0 || (q.nLineType == 2 && shrunk_)) {
        double x = nearEnd_.X, y = nearEnd_.Y;
        if (q.nLineType == 0) {
            double s = station - q.dStartStation;
            x = q.ptStart.X + s * cosTau_;
            y = q.ptStart.Y + s * sinTau_;
        }
        return StakePoint{x + offset * std::cos(tau_ + deflection), y + offset * std::sin(tau_ + deflection), tau_};
    }
    if (q.nLineType == 1) {
        double R = q.dStartRadius;
        double delta = turn_ * (station - q.dStartStation) / R;
        double x = centre_.X + R * std::cos(alpha0_ + delta);
        double y = centre_.Y + R * std::sin(alpha0_ + delta);
        double tau = NormaliseAngle(tauBase_ + delta);
        return StakePoint{x + offset * std::cos(tau + deflection), y + offset * std::sin(tau + deflection), tau};
    }
    if (q.nLineType != 2) return StakePoint{q.ptStart.X, q.ptStart.Y, 0.0};
    double w = entering_ ? station - q.dStartStation : q.dEndStation - station;
    CPlanePoint p;
    double beta;  // the tangent angle at P
    if (arc_) {
        p = ClothoidArc(w, arcK0_, arcK1_);
        beta = ClothoidArcHeading(w, arcK0_, arcK1_);
    } else {
        double d = w + lNear_;
        p = series_.At(d);
        beta = Power(d, 2) / betaDivisor_;
    }
    double gamma;
    if (entering_) {
        gamma = left_ ? kPi * 0.5 - beta : beta;
    } else {
        gamma = left_ ? beta + kPi : kPi * 1.5 - beta;
    }
    if (swap_) p = CPlanePoint(p.Y, p.X);
    // Offset in the local frame, then into the plane.
    double u = p.X + offset * std::cos(gamma + deflection);
    double v = p.Y + offset * std::sin(gamma + deflection);
    return StakePoint{origin_.X + (u * cosTheta_ - v * sinTheta_), origin_.Y + (u * sinTheta_ + v * cosTheta_),
                      NormaliseAngle(theta_ + gamma)};
}

}  // namespace vexaline
