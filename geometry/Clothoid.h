#pragma once
#include "geometry/PlanePoint.h"

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

}  // namespace vexaline
