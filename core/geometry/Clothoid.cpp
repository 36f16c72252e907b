#include "core/geometry/Clothoid.h"

#include <cmath>
#include <initializer_list>

namespace vexaline {

double Power(double x, int n) {
    double r = 1.0;
    if (n < 1) return 1.0;
    for (int i = 0; i < n; ++i) r *= x;
    return r;
}

double Factorial(int n) {
    double r = 1.0;
    if (n <= 0) return 1.0;
    for (int i = 1; i <= n; ++i) r *= static_cast<double>(i);
    return r;
}

CPlanePoint ClothoidXY(double l, double R, double L) {
    double E = R * L;  // A²
    double F = E + E;  // 2A²
    // Every divisor is factorial × power × constant, in that order; the
    // terms are summed in order of increasing power of l.
    double x = l;
    x = x - Power(l, 5) / (Factorial(2) * Power(F, 2) * 5);
    x = x + Power(l, 9) / (Factorial(4) * Power(F, 4) * 9);
    x = x - Power(l, 13) / (Factorial(6) * Power(F, 6) * 13);
    x = x + Power(l, 17) / (Factorial(8) * Power(F, 8) * 17);
    x = x - Power(l, 21) / (Factorial(10) * Power(F, 10) * 21);
    x = x + Power(l, 25) / (Factorial(12) * Power(F, 12) * 25);

    double y = Power(l, 3) / (Power(E, 1) * 6);
    y = y - Power(l, 7) / (Power(E, 3) * 336);
    y = y + Power(l, 11) / (Power(E, 5) * 42240);
    y = y - Power(l, 15) / (Factorial(7) * Power(F, 7) * 15);
    y = y + Power(l, 19) / (Factorial(9) * Power(F, 9) * 19);
    y = y - Power(l, 23) / (Factorial(11) * Power(F, 11) * 23);
    y = y + Power(l, 27) / (Factorial(13) * Power(F, 13) * 27);
    return CPlanePoint(x, y);
}

ClothoidSeries::ClothoidSeries(double R, double L) {
    double E = R * L;
    double F = E + E;
    xDivisor_[0] = 1;  // unused: the first term is l itself
    for (int k = 1; k < 7; ++k) xDivisor_[k] = Factorial(2 * k) * Power(F, 2 * k) * (4 * k + 1);
    yDivisor_[0] = Power(E, 1) * 6;
    yDivisor_[1] = Power(E, 3) * 336;
    yDivisor_[2] = Power(E, 5) * 42240;
    for (int k = 3; k < 7; ++k) yDivisor_[k] = Factorial(2 * k + 1) * Power(F, 2 * k + 1) * (4 * k + 3);
}

CPlanePoint ClothoidSeries::At(double l) const {
    double p[28];
    p[0] = 1.0;
    for (int n = 1; n < 28; ++n) p[n] = p[n - 1] * l;
    double x = l;
    double y = p[3] / yDivisor_[0];
    for (int k = 1; k < 7; ++k) {
        double tx = p[4 * k + 1] / xDivisor_[k];
        double ty = p[4 * k + 3] / yDivisor_[k];
        if (k % 2) {
            x = x - tx;
            y = y - ty;
        } else {
            x = x + tx;
            y = y + ty;
        }
    }
    return CPlanePoint(x, y);
}

namespace {

// Eight-point Gauss–Legendre nodes and weights on [−1, 1], positive half.
constexpr double kNode[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
constexpr double kWeight[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
constexpr int kMaxPanels = 4096;

}  // namespace

CPlanePoint ClothoidArc(double t, double k0, double k1) {
    // The heading's rate is linear in t, so its largest size is at an end;
    // a panel that turns by at most a radian leaves the eight-point rule an
    // error far below a micrometre per kilometre.
    if (!(std::isfinite(t) && std::isfinite(k0) && std::isfinite(k1))) return CPlanePoint(std::nan(""), std::nan(""));
    double rate = std::fmax(std::fabs(k0), std::fabs(k0 + k1 * t));
    double turn = std::ceil(rate * std::fabs(t));
    int panels = turn < 1.0 ? 1 : (turn < kMaxPanels ? static_cast<int>(turn) : kMaxPanels);
    double h = t / panels, half = 0.5 * h;
    double x = 0.0, y = 0.0;
    for (int p = 0; p < panels; ++p) {
        double mid = (p + 0.5) * h;
        for (int i = 0; i < 4; ++i) {
            for (double s : {mid - half * kNode[i], mid + half * kNode[i]}) {
                double a = ClothoidArcHeading(s, k0, k1);
                x += kWeight[i] * std::cos(a);
                y += kWeight[i] * std::sin(a);
            }
        }
    }
    return CPlanePoint(x * half, y * half);
}

}  // namespace vexaline
