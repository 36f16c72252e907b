#include "core/road/PiCurve.h"

#include <cmath>

#include "core/geometry/Clothoid.h"

namespace vexaline {
namespace {

// A unit step along the azimuth, and the one a quarter turn to its right.
CPlanePoint Along(double azimuth) { return CPlanePoint(std::cos(azimuth), std::sin(azimuth)); }
CPlanePoint RightOf(double azimuth) { return CPlanePoint(-std::sin(azimuth), std::cos(azimuth)); }

}  // namespace

CPlanePoint ClothoidPoint(double l, double R, double Ls) {
    if (l <= 0) return CPlanePoint(0.0, 0.0);
    return ClothoidArc(l, 0.0, 1.0 / (R * Ls));
}

CurveShape CurveShape::Build(double radius, double ls1, double ls2, double deflection) {
    CurveShape c;
    const double R = radius;
    c.dRadius = R;
    c.dLs1 = ls1;
    c.dLs2 = ls2;
    c.dDeflection = deflection;
    const double a = std::fabs(deflection);
    c.dBeta1 = ls1 / (2 * R);
    c.dBeta2 = ls2 / (2 * R);
    if (ls1 > 0) c.end1 = ClothoidPoint(ls1, R, ls1);
    if (ls2 > 0) c.end2 = ClothoidPoint(ls2, R, ls2);
    c.dP1 = c.end1.Y - R * (1 - std::cos(c.dBeta1));
    c.dQ1 = c.end1.X - R * std::sin(c.dBeta1);
    c.dP2 = c.end2.Y - R * (1 - std::cos(c.dBeta2));
    c.dQ2 = c.end2.X - R * std::sin(c.dBeta2);
    const double shift = (c.dP1 - c.dP2) / std::sin(a);
    c.dT1 = c.dQ1 + (R + c.dP1) * std::tan(a / 2) - shift;
    c.dT2 = c.dQ2 + (R + c.dP2) * std::tan(a / 2) + shift;
    c.dArc = R * (a - c.dBeta1 - c.dBeta2);
    c.dLength = ls1 + c.dArc + ls2;
    return c;
}

bool CurveShape::Finite() const {
    const double figures[] = {end1.X, end1.Y, end2.X, end2.Y, dP1, dQ1, dP2, dQ2, dT1, dT2, dArc, dLength};
    for (double v : figures)
        if (!std::isfinite(v)) return false;
    return true;
}

CPlanePoint CurveShape::Local(double d) const {
    const double R = dRadius;
    if (d <= dLs1) return ClothoidPoint(d, R, dLs1);
    if (d <= dLs1 + dArc) {
        // The arc's centre sits q1 along the straight and R + p1 beside it.
        const double phi = dBeta1 + (d - dLs1) / R;
        return CPlanePoint(dQ1 + R * std::sin(phi), R + dP1 - R * std::cos(phi));
    }
    // The leaving transition, measured back from HZ along the outgoing
    // straight, whose direction in this frame is the deflection.
    const double a = std::fabs(dDeflection);
    const CPlanePoint c = ClothoidPoint(dLength - d, R, dLs2);
    const double t1 = dT1, t2 = dT2;
    const CPlanePoint hz(t1 + t2 * std::cos(a), t2 * std::sin(a));
    return CPlanePoint(hz.X - c.X * std::cos(a) - c.Y * std::sin(a), hz.Y - c.X * std::sin(a) + c.Y * std::cos(a));
}

CPlanePoint PlacedCurve::ZH() const {
    const CPlanePoint u = Along(dAzimuthIn);
    return CPlanePoint(jd.X - shape.dT1 * u.X, jd.Y - shape.dT1 * u.Y);
}

CPlanePoint PlacedCurve::HZ() const {
    const CPlanePoint u = Along(dAzimuthIn + shape.dDeflection);
    return CPlanePoint(jd.X + shape.dT2 * u.X, jd.Y + shape.dT2 * u.Y);
}

CPlanePoint PlacedCurve::At(double d) const {
    const CPlanePoint local = shape.Local(d);
    const CPlanePoint zh = ZH();
    const CPlanePoint u = Along(dAzimuthIn);
    const CPlanePoint n = RightOf(dAzimuthIn);
    const double side = shape.dDeflection > 0 ? local.Y : -local.Y;
    return CPlanePoint(zh.X + local.X * u.X + side * n.X, zh.Y + local.X * u.Y + side * n.Y);
}

}  // namespace vexaline
