#include "core/geometry/PlanePoint.h"

#include <cmath>

namespace vexaline {

double CPlanePoint::Distance(double x, double y) const {
    double dX = x - X;
    double dY = y - Y;
    return std::sqrt(dY * dY + dX * dX);
}

double CPlanePoint::Distance(CPlanePoint other) const { return Distance(other.X, other.Y); }

double CPlanePoint::Azimuth(double x, double y) const {
    // Exact comparisons: a due north/south/east/west target must give the
    // exact quadrant angle, not one off by rounding.
    if (x == X) {
        if (y == Y) return 0.0;
        if (y > Y) return kPi * 0.5;
        return kPi * 1.5;
    }
    double dX = x - X;
    double dY = y - Y;
    double a = std::atan(std::fabs(dY / dX));
    if (dY >= 0) return dX > 0 ? a : kPi - a;
    return dX < 0 ? kPi + a : kTwoPi - a;
}

double CPlanePoint::Azimuth(CPlanePoint to) const { return Azimuth(to.X, to.Y); }

}  // namespace vexaline
