#include "core/plan/Paper.h"

#include <algorithm>
#include <cmath>

namespace vexaline {

namespace {
constexpr double kA4[2] = {210, 297};  // short and long side, mm
constexpr double kA3[2] = {297, 420};
const double* Sides(PaperSize size) { return size == PaperSize::A3 ? kA3 : kA4; }
}  // namespace

double Paper::WidthMm() const { return Sides(size)[bLandscape ? 1 : 0]; }
double Paper::HeightMm() const { return Sides(size)[bLandscape ? 0 : 1]; }

int PaperPixels(double millimetres, int dpi) { return static_cast<int>(std::lround(millimetres * dpi / 25.4)); }

double ScaleDenominatorToFit(const PlaneBox& box, double widthMm, double heightMm) {
    if (box.Empty() || !(widthMm > 0) || !(heightMm > 0)) return 1;
    // Metres of plane per metre of paper, each way; the larger one rules.
    const double across = (box.maxY - box.minY) * 1000 / widthMm, along = (box.maxX - box.minX) * 1000 / heightMm;
    if (!std::isfinite(across) || !std::isfinite(along)) return 1;
    const double least = std::max(across, along);
    if (!(least > 1)) return 1;
    for (double decade = 1;; decade *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (m * decade >= least) return m * decade;
}

}  // namespace vexaline
