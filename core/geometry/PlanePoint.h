#pragma once

// A point of the surveying plane: X north, Y east, metres. Azimuths run
// clockwise from +X towards +Y, in radians.
namespace vexaline {

// π as the system uses it everywhere; 2π is formed as kPi + kPi.
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = kPi + kPi;

// No survey coordinate lies this far from its origin: projected eastings
// with the zone number in front stay below 1e8 m, and 1e8 is the first
// value whose "%.3f" no longer fits the 12-byte field of a control row. A
// number beyond it is a typing fault or a hostile file, and no field of a
// file or a result line could show it: it is no coordinate.
inline constexpr double kMaxCoordinate = 1e8;

// |v| < kMaxCoordinate; false for NaN and the infinities.
inline bool IsSurveyCoordinate(double v) { return v > -kMaxCoordinate && v < kMaxCoordinate; }

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

    // Both X and Y are survey coordinates.
    bool IsSurveyPoint() const { return IsSurveyCoordinate(X) && IsSurveyCoordinate(Y); }
};

}  // namespace vexaline
