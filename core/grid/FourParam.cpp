#include "core/grid/FourParam.h"

#include <cmath>

#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

CPlanePoint ApplyFour(const FourParam& p, CPlanePoint s) {
    const double c = std::cos(p.dRotation), n = std::sin(p.dRotation);
    return CPlanePoint(p.dDx + p.dScale * (s.X * c - s.Y * n), p.dDy + p.dScale * (s.Y * c + s.X * n));
}

CPlanePoint InverseFour(const FourParam& p, CPlanePoint t) {
    const double c = std::cos(p.dRotation), n = std::sin(p.dRotation);
    const double x = t.X - p.dDx, y = t.Y - p.dDy;
    return CPlanePoint((x * c + y * n) / p.dScale, (y * c - x * n) / p.dScale);
}

std::optional<std::size_t> ApplyFour(const FourParam& p, std::vector<CPlanePoint>& points, bool inverse) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = inverse ? InverseFour(p, points[i]) : ApplyFour(p, points[i]);
        if (!points[i].IsSurveyPoint()) return i;
    }
    return std::nullopt;
}

double TurnAzimuth(const FourParam& p, double azimuth) {
    double turned = std::fmod(azimuth + p.dRotation, kTwoPi);
    if (turned < 0) turned += kTwoPi;
    return turned < kTwoPi ? turned : 0.0;  // −1e-17 + 2π rounds to 2π
}

std::string FourParamRefusal(const FourParam& p) {
    if (!IsSurveyCoordinate(p.dDx) || !IsSurveyCoordinate(p.dDy) || !std::isfinite(p.dRotation) ||
        !std::isfinite(p.dScale))
        return text::kFourNotFinite;
    if (!(p.dScale >= kMinFourScale && p.dScale <= kMaxFourScale))
        return Format(text::kFourScale, p.dScale, (p.dScale - 1) * 1e6);
    return std::string();
}

namespace {

// Why the points cannot make a solution before any is tried, or empty.
std::string PointsRefusal(const std::vector<CommonPoint>& points) {
    if (points.size() < 2) return Format(text::kFourTooFew, points.size());
    if (points.size() > kMaxCommonPoints) return Format(text::kFourTooMany, kMaxCommonPoints);
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            const CommonPoint &a = points[i], &b = points[j];
            if (a.source.Distance(b.source) < 0.001 || a.target.Distance(b.target) < 0.001)
                return Format(text::kFourCoincident, a.strName.c_str(), b.strName.c_str());
        }
    return std::string();
}

}  // namespace

FourSolve SolveFourParam(const std::vector<CommonPoint>& points) {
    FourSolve out;
    out.strMessage = PointsRefusal(points);
    if (!out.Ok()) return out;
    const double n = static_cast<double>(points.size());
    CPlanePoint s0, t0;  // the centroids
    for (const CommonPoint& p : points) s0.X += p.source.X, s0.Y += p.source.Y, t0.X += p.target.X, t0.Y += p.target.Y;
    s0 = CPlanePoint(s0.X / n, s0.Y / n), t0 = CPlanePoint(t0.X / n, t0.Y / n);
    // With a = K·cosα, b = K·sinα the model is linear: x' = a·x − b·y,
    // y' = a·y + b·x on reduced coordinates; the normal equations part.
    double sum = 0, sa = 0, sb = 0;
    for (const CommonPoint& p : points) {
        const double x = p.source.X - s0.X, y = p.source.Y - s0.Y, u = p.target.X - t0.X, v = p.target.Y - t0.Y;
        sum += x * x + y * y;
        sa += x * u + y * v;
        sb += x * v - y * u;
    }
    const double a = sa / sum, b = sb / sum;
    FourParam& f = out.params;
    f.dScale = std::hypot(a, b);
    f.dRotation = std::atan2(b, a);
    f.dDx = t0.X - (a * s0.X - b * s0.Y);
    f.dDy = t0.Y - (a * s0.Y + b * s0.X);
    out.strMessage = FourParamRefusal(f);
    if (!out.Ok()) return out;
    double vv = 0;
    for (const CommonPoint& p : points) {
        const double x = p.source.X - s0.X, y = p.source.Y - s0.Y;
        const FourResidual r{p.strName, p.target.X - t0.X - (a * x - b * y), p.target.Y - t0.Y - (a * y + b * x)};
        vv += r.vx * r.vx + r.vy * r.vy;
        out.residuals.push_back(r);
    }
    if (points.size() > 2) out.rms = std::sqrt(vv / (2 * n - 4));
    for (const FourResidual& r : out.residuals)
        if (out.rms && std::hypot(r.vx, r.vy) > 3 * *out.rms) out.outliers.push_back(r.strName);
    return out;
}

}  // namespace vexaline
