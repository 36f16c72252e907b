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

}  // namespace vexaline
