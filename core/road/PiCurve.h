#pragma once
#include "core/geometry/PlanePoint.h"

// One curve at an intersection point (交点): an entering transition of length
// Ls1 from the incoming straight to radius R, the circular arc, and a leaving
// transition of length Ls2 back to the outgoing straight (either length may
// be 0). Conventions: X north, Y east, azimuths clockwise from north; the
// deflection is signed, positive turning right.
namespace vexaline {

// Local (x, y) of the point at arc length l on the clothoid A² = R·Ls that
// starts at the origin heading along +x and bends towards +y: ClothoidArc
// (Gauss–Legendre, about 1e-12·l), exact where the stake evaluation's seven
// term series and the usual truncated p and q formulas are not. Accepts
// 0 ≤ l ≤ Ls, R > 0, Ls > 0.
CPlanePoint ClothoidPoint(double l, double R, double Ls);

// The shape of the curve, independent of where it lies: tangent lengths,
// shift p and q on each side, lengths. Valid once Build succeeds.
struct CurveShape {
    double dRadius = 0, dLs1 = 0, dLs2 = 0;
    double dDeflection = 0;  // signed, (−π, π]
    double dBeta1 = 0, dBeta2 = 0;
    CPlanePoint end1, end2;  // clothoid ends at Ls1 and Ls2 (0, 0 without one)
    double dP1 = 0, dQ1 = 0, dP2 = 0, dQ2 = 0;
    double dT1 = 0, dT2 = 0;
    double dArc = 0;     // R(|α| − β1 − β2)
    double dLength = 0;  // Ls1 + arc + Ls2

    // T1 = q1 + (R + p1) tan(|α|/2) − (p1 − p2)/sin|α|, T2 likewise with
    // + (p1 − p2)/sin|α|. Needs R > 0, Ls ≥ 0, 0 < |α| < π; the caller
    // refuses β1 + β2 > |α| and negative tangents.
    static CurveShape Build(double radius, double ls1, double ls2, double deflection);
    // Every figure Build worked out is finite: false where the numbers, each
    // sound, make none (a transition of 1e-320 m turns at an infinite rate).
    bool Finite() const;

    // The point at distance d from ZH along the curve (0 ≤ d ≤ dLength), in
    // the frame of ZH: +x along the incoming straight, +y towards the side
    // the road turns to.
    CPlanePoint Local(double d) const;
};

// A curve placed at its intersection point: ZH lies T1 before it on the
// incoming straight, HZ T2 after it on the outgoing one.
struct PlacedCurve {
    CurveShape shape;
    CPlanePoint jd;
    double dAzimuthIn = 0;  // of the incoming straight

    CPlanePoint ZH() const;
    CPlanePoint HZ() const;
    // The point at distance d from ZH along the curve, in the plane.
    CPlanePoint At(double d) const;
};

}  // namespace vexaline
