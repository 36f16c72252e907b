#pragma once

// A point of the surveying plane: X north, Y east, metres. Azimuths run
// clockwise from +X towards +Y, in radians.
namespace vexaline {

// π as the system uses it everywhere; 2π is formed as kPi + kPi.
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = kPi + kPi;

// A small value type, copied freely in hot loops: no virtual destructor, so
// it stays trivially copyable and two doubles wide.
class CPlanePoint {
public:
    double X;
    double Y;

    CPlanePoint() : X(0.0), Y(0.0) {}
    CPlanePoint(double x, double y) : X(x), Y(y) {}

    // √(ΔY² + ΔX²) to the other point.
    double Distance(double x, double y) const;
    double Distance(CPlanePoint other) const;

    // Bearing of the target seen from this point, in [0, 2π] (2π only by
    // rounding of 2π − a for a vanishing a). Coincident points give 0.
    double Azimuth(double x, double y) const;
    double Azimuth(CPlanePoint to) const;
};

}  // namespace vexaline
