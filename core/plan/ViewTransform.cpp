#include "core/plan/ViewTransform.h"

#include <algorithm>
#include <cmath>

namespace vexaline {

void PlaneBox::Add(CPlanePoint p) {
    if (Empty()) {
        *this = {p.X, p.Y, p.X, p.Y};
        return;
    }
    minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
}

void PlaneBox::Add(const PlaneBox& other) {
    if (other.Empty()) return;
    Add(CPlanePoint(other.minX, other.minY));
    Add(CPlanePoint(other.maxX, other.maxY));
}

bool PlaneBox::Intersects(const PlaneBox& o) const {
    return !Empty() && !o.Empty() && minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
}

ViewTransform::ViewTransform(double width, double height, CPlanePoint centre, double scale)
    : width_(std::max(width, 1.0)), height_(std::max(height, 1.0)), centre_(centre),
      scale_(std::clamp(std::isfinite(scale) ? scale : 1.0, kMinScale, kMaxScale)) {}

ViewTransform ViewTransform::Fit(const PlaneBox& box, double width, double height, double across, double down) {
    if (box.Empty()) return ViewTransform(width, height, CPlanePoint(), 1);
    const CPlanePoint centre((box.minX + box.maxX) * 0.5, (box.minY + box.maxY) * 0.5);
    const double w = std::max(width - 2 * across, width * 0.5), h = std::max(height - 2 * down, height * 0.5);
    const double dx = box.maxX - box.minX, dy = box.maxY - box.minY;
    double scale = 1;
    if (dx > 0 || dy > 0) scale = std::min(dy > 0 ? w / dy : INFINITY, dx > 0 ? h / dx : INFINITY);
    return ViewTransform(width, height, centre, scale);
}

ViewTransform ViewTransform::ZoomedAbout(ScreenPoint at, double factor) const {
    const CPlanePoint fixed = ToPlane(at);
    ViewTransform z(width_, height_, centre_, scale_ * factor);
    // Put the centre where `fixed` lands back on `at`.
    z.centre_ = CPlanePoint(fixed.X + (at.v - height_ * 0.5) / z.scale_, fixed.Y - (at.u - width_ * 0.5) / z.scale_);
    return z;
}

ViewTransform ViewTransform::Panned(double du, double dv) const {
    ViewTransform p = *this;
    p.centre_ = CPlanePoint(centre_.X + dv / scale_, centre_.Y - du / scale_);
    return p;
}

ViewTransform ViewTransform::Resized(double width, double height) const {
    return ViewTransform(width, height, centre_, scale_);
}

PlaneBox ViewTransform::Visible() const {
    PlaneBox box;
    box.Add(ToPlane({0, 0}));
    box.Add(ToPlane({width_, height_}));
    return box;
}

double RoundScaleLength(double maxMetres) {
    if (!(maxMetres >= 1e-6) || !std::isfinite(maxMetres)) return 0;
    double n = std::min(std::floor(std::log10(maxMetres)), 9.0);
    if (std::pow(10.0, n) > maxMetres) n -= 1;  // log10 rounded up across a decade
    const double decade = std::pow(10.0, n);
    for (double m : {5.0, 2.0})
        if (m * decade <= maxMetres) return m * decade;
    return decade;
}

}  // namespace vexaline
