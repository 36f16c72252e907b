#pragma once
#include "core/geometry/Clothoid.h"
#include "core/geometry/PlanePoint.h"

// The stake on one element of the centreline: straight, circular curve or
// transition curve.
namespace vexaline {

// The radius texts "∞" and "-∞"; recognised by exact equality.
inline constexpr double INFINITE_RADIUS = 4294967295.0;

struct ElementRequest {
    int nLineType;         // 0 straight, 1 circular curve, 2 transition curve
    int nTurn;             // -1 turns left; anything else turns right
    double dStartStation;  // station of the element's first control line
    CPlanePoint ptStart;
    double dStartRadius;   // magnitude; INFINITE_RADIUS for ∞
    double dEndStation;    // station of the next control line
    CPlanePoint ptEnd;
    double dEndRadius;     // magnitude; INFINITE_RADIUS for ∞
    double dStation;       // where the stake is wanted
    double dOffset;        // metres along the deflected direction
    double dDeflection;    // radians added to the tangent azimuth
};

struct StakePoint {
    double dX;
    double dY;
    double dAzimuth;  // tangent azimuth at dStation, [0, 2π), without the deflection
};

// Brings an angle into [0, 2π): add 2π while negative, then subtract 2π while
// 2π or more. An angle that is not finite gives NaN, and one so large that the
// loops would run for ever (only degenerate control data makes one) is first
// reduced with fmod, so the call always ends.
double NormaliseAngle(double a);

// One element worked out once (anchor, chord turn, centre, clothoid ends:
// all that does not hang on the station) and then evaluated at many
// stations, with the same operations in the same order as a single call.
// A transition is the series' clothoid wherever the series is exact to
// 1e-7 m up to the far end's arc length from the clothoid's origin (every
// output then as the series gives it); beyond that the element's own piece
// is integrated (ClothoidArc), held on the same near end and turned by the
// same chord: within 0.1 mm of the true clothoid through the same control
// points for radius ratios down to 1.001 and turns past π (tested; the
// integration itself is good to about 1e-12 of the length).
// Other line types give the start point with azimuth 0. A transition of zero
// length (A² = 0) gives the near end point, set off by the offset, with the
// azimuth of the chord from ptStart to ptEnd.
class ElementGeometry {
public:
    ElementGeometry() = default;
    explicit ElementGeometry(const ElementRequest& q);  // dStation, dOffset, dDeflection unused
    StakePoint At(double station, double offset, double deflection) const;

private:
    ElementRequest q_{};
    // Straight, and a transition with A² = 0: a fixed tangent.
    double tau_ = 0, cosTau_ = 0, sinTau_ = 0;
    bool shrunk_ = false;  // transition with A² = 0
    CPlanePoint nearEnd_;
    // Circular curve.
    CPlanePoint centre_;
    double alpha0_ = 0, tauBase_ = 0, turn_ = 0;
    // Transition curve.
    bool entering_ = false, left_ = false, swap_ = false;
    double lNear_ = 0, betaDivisor_ = 0, theta_ = 0, cosTheta_ = 0, sinTheta_ = 0;
    CPlanePoint origin_;
    ClothoidSeries series_;
    // Transition beyond the series' reach: the element's own clothoid piece.
    bool arc_ = false;
    double arcK0_ = 0, arcK1_ = 0;  // curvature at the near end, and its growth per metre
    void PrepareCircle();
    void PrepareTransition();
    void PrepareArc(CPlanePoint farEnd, double rBig, double rSmall, double ls);
};

inline StakePoint PointOnElement(ElementRequest request) {
    return ElementGeometry(request).At(request.dStation, request.dOffset, request.dDeflection);
}

}  // namespace vexaline
