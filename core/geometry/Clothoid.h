#pragma once
#include "core/geometry/PlanePoint.h"

// The transition curve (clothoid) by the seven-term Fresnel series.
namespace vexaline {

// xⁿ as n successive products starting from 1.0 (1.0 for n < 1). No library
// pow and no squaring: the series depends on these exact roundings.
double Power(double x, int n);

// n! as the product 1·2·…·n in doubles (1.0 for n ≤ 0).
double Factorial(int n);

// Local (x, y) of the point at arc length l from the clothoid's origin, for
// the clothoid with A² = R × L; the curve bends to the right (towards +y).
CPlanePoint ClothoidXY(double l, double R, double L);

// ClothoidXY for one clothoid at many arc lengths: the divisors (which hang
// only on R and L) are formed once, and the powers of l come from one chain
// of products, whose n-th link is Power(l, n) exactly. At(l) is bit for bit
// ClothoidXY(l, R, L).
class ClothoidSeries {
public:
    ClothoidSeries() = default;
    ClothoidSeries(double R, double L);
    CPlanePoint At(double l) const;

private:
    double xDivisor_[7] = {};  // index k: the divisor of the l^(4k+1) term
    double yDivisor_[7] = {};  // index k: the divisor of the l^(4k+3) term
};

// Local (x, y) at arc length t along a piece of clothoid that starts at the
// origin heading along +x, with curvature k0 there, growing by k1 per metre
// (positive curvature bends towards +y, as the series does). Gauss–Legendre
// integration of the heading k0·t + k1·t²/2, in panels over which the heading
// turns by at most a radian: accurate to about 1e-12 of t whatever the total
// turn, unlike the series, which fails once its own clothoid turns through
// several radians. t may be negative (the piece extended backwards). The
// panels are capped at 4096, so degenerate input (a heading turning through
// thousands of radians) still ends, inaccurately; no finite t, k0, k1 are
// refused, and a non-finite one gives NaN.
CPlanePoint ClothoidArc(double t, double k0, double k1);

// The heading of that piece at arc length t: k0·t + k1·t²/2.
inline double ClothoidArcHeading(double t, double k0, double k1) { return (k0 + 0.5 * k1 * t) * t; }

}  // namespace vexaline
