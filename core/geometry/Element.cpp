#include "core/geometry/Element.h"

#include <cmath>

#include "core/geometry/Clothoid.h"

namespace vexaline {
namespace {

// Beyond this many turns the loops of NormaliseAngle would take noticeable
// time (or never end: x − 2π == x for huge x). No real element comes near it.
constexpr double kLoopLimit = kTwoPi * 1024.0;

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
    } else if (q.nLineType == 2) {
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
        CPlanePoint n = rBig == INFINITE_RADIUS ? CPlanePoint(0.0, 0.0) : ClothoidXY(lNear_, rBig, lNear_);
        CPlanePoint f = ClothoidXY(lFar, rSmall, lFar);
        series_ = ClothoidSeries(rSmall, lFar);
        betaDivisor_ = 2 * lFar * rSmall;
        // Seen from the origin the series bends right; an entering left turn
        // and a leaving right turn bend left, and are mirrored.
        left_ = q.nTurn == -1;
        swap_ = entering_ == left_;
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
    double d = w + lNear_;
    CPlanePoint p = series_.At(d);
    double beta = Power(d, 2) / betaDivisor_;  // the tangent angle at P
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
