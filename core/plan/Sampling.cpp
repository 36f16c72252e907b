#include "core/plan/Sampling.h"

#include <algorithm>
#include <cmath>

namespace vexaline {
namespace {

// Distance of p from the segment a-b.
double FromChord(CPlanePoint p, CPlanePoint a, CPlanePoint b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

double Turn(double from, double to) { return std::fabs(std::remainder(to - from, kTwoPi)); }

struct Sampler {
    const CentrelineAt& at;
    double tolerance;
    const PlaneBox& window;
    std::vector<PlanSample>& out;

    // Appends the points after a up to and including b.
    void Refine(const PlanSample& a, const PlanSample& b, int depth) {
        const double length = b.dStation - a.dStation;
        const PlanSample mid = at(a.dStation + length * 0.5);
        const double deviation = FromChord(mid.point, a.point, b.point);
        const double turn = Turn(a.dAzimuth, b.dAzimuth);
        const bool fine = deviation <= tolerance && length * turn / 8 <= tolerance && turn <= kPi / 4;
        const bool last = depth >= 40 || out.size() + 64 >= kMaxSamplesPerElement ||
                          !(mid.dStation > a.dStation && mid.dStation < b.dStation);
        if (fine || last || !Reaches(a, b, mid, deviation)) {
            out.push_back(b);
            return;
        }
        Refine(a, mid, depth + 1);
        Refine(mid, b, depth + 1);
    }

    bool Reaches(const PlanSample& a, const PlanSample& b, const PlanSample& mid, double deviation) const {
        const double length = b.dStation - a.dStation, chord = a.point.Distance(b.point);
        // The ellipse with foci a and b through which a curve of that length
        // runs, widened where the data do not make station arc length.
        const double reach = std::max(std::sqrt(std::max(length * length - chord * chord, 0.0)) * 0.5,
                                      2 * deviation) + tolerance;
        PlaneBox box;
        box.Add(a.point), box.Add(b.point), box.Add(mid.point);
        return box.Grown(reach).Intersects(window);
    }
};

}  // namespace

std::vector<PlanSample> SampleElement(const CentrelineAt& at, double from, double to, double tolerance,
                                      const PlaneBox& window) {
    std::vector<PlanSample> out;
    if (!std::isfinite(from) || !std::isfinite(to)) return out;
    out.push_back(at(from));
    if (to <= from) return out;
    const PlanSample end = at(to);
    if (tolerance > 0 && std::isfinite(tolerance))
        Sampler{at, tolerance, window, out}.Refine(out.front(), end, 0);
    else
        out.push_back(end);
    return out;
}

}  // namespace vexaline
