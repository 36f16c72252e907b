#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/PlanePoint.h"

// The four-parameter transformation (四参数) between two plane grids, as
// a construction grid (施工坐标系) is tied to the design grid:
//
//   X' = ΔX + K·(X·cosα − Y·sinα)
//   Y' = ΔY + K·(Y·cosα + X·sinα)
//
// X north, Y east, metres; α > 0 turns north towards east (clockwise on a
// map drawn with X up); K the scale. Source is the grid the points come
// from (the design's), target the one they go to.
namespace vexaline {

struct FourParam {
    double dDx = 0, dDy = 0;  // metres
    double dRotation = 0;     // α, radians
    double dScale = 1;        // K
};

// A scale outside these is refused: a real tie between two grids of one
// site is within a few hundred ppm of 1; beyond 1 % the points are paired
// wrongly or a grid's X and Y are exchanged.
inline constexpr double kMinFourScale = 0.99, kMaxFourScale = 1.01;

// Source to target, and back (exactly the inverse to rounding).
CPlanePoint ApplyFour(const FourParam& p, CPlanePoint source);
CPlanePoint InverseFour(const FourParam& p, CPlanePoint target);
// The points carried in place, source to target or (inverse) back, as
// GridTransform::Apply carries them between grids: the index of the first
// that comes out as no survey coordinate (the rest are then unspecified).
std::optional<std::size_t> ApplyFour(const FourParam& p, std::vector<CPlanePoint>& points, bool inverse = false);

// An azimuth (clockwise from north, radians) of the source grid in the
// target grid: turned by α, in [0, 2π). Angles between two directions and
// the sense of turning are the same in both grids; lengths are K times.
double TurnAzimuth(const FourParam& p, double azimuth);

// Why the parameters cannot be used (UTF-8), or empty: a scale outside
// kMinFourScale..kMaxFourScale, a shift that is no survey coordinate, or a
// figure that is not finite.
std::string FourParamRefusal(const FourParam& p);

struct CommonPoint {
    std::string strName;  // UTF-8
    CPlanePoint source, target;
};

struct FourResidual {
    std::string strName;
    double vx = 0, vy = 0;  // target − transformed source, metres
};

struct FourSolve {
    FourParam params;
    std::vector<FourResidual> residuals;  // the points' order
    std::optional<double> rms;            // √(VᵀV / (2n − 4)); none for two points
    std::vector<std::string> outliers;    // points whose residual √(vx² + vy²) exceeds 3 × rms
    std::string strMessage;               // UTF-8; empty when solved
    bool Ok() const { return strMessage.empty(); }
};

inline constexpr std::size_t kMaxCommonPoints = 10000;

// Least squares over two or more common points, the coordinates reduced
// to their centroids (so that 8-digit eastings lose nothing): exact for
// points that fit a four-parameter transformation, to rounding (below
// 1e-9 m on a site of 10 km). Refuses, saying why: fewer than two points
// or more than kMaxCommonPoints, two points within a millimetre of each
// other in either grid (naming both), a scale outside 0.99–1.01
// (FourParamRefusal).
FourSolve SolveFourParam(const std::vector<CommonPoint>& points);

}  // namespace vexaline
