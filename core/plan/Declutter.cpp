#include "core/plan/Declutter.h"

#include <algorithm>
#include <cmath>

namespace vexaline {

PixelSieve::PixelSieve(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      bits_((static_cast<std::size_t>(width_) * height_ + 63) / 64) {}

bool ClipToBox(ScreenPoint& a, ScreenPoint& b, const ScreenBox& box) {
    if (!std::isfinite(a.u) || !std::isfinite(a.v) || !std::isfinite(b.u) || !std::isfinite(b.v)) return false;
    const double du = b.u - a.u, dv = b.v - a.v;
    double t0 = 0, t1 = 1;
    // Each edge as p·t <= q.
    const double p[4] = {-du, du, -dv, dv};
    const double q[4] = {a.u - box.u0, box.u1 - a.u, a.v - box.v0, box.v1 - a.v};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;  // parallel to the edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const ScreenPoint from = a;
    if (t0 > 0) a = {from.u + t0 * du, from.v + t0 * dv};
    if (t1 < 1) b = {from.u + t1 * du, from.v + t1 * dv};
    return true;
}

}  // namespace vexaline
