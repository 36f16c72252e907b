#pragma once
#include <cstdint>
#include <vector>

#include "core/plan/ViewTransform.h"

// Drawing only what the pixels can show: one mark per pixel, in screen
// pixels of a picture width × height, the first comer kept: feed marks in
// order of importance. Labels are set by LabelPlacer.
namespace vexaline {

// Which pixels of the picture already hold a mark.
class PixelSieve {
public:
    PixelSieve(int width, int height);
    // True when (u, v) lies in the picture and its pixel held no mark yet
    // (it holds one now). Points outside the picture, or not finite: false.
    // Inline: a million stakes pass through here on every redraw.
    bool Take(double u, double v) {
        // Written so that NaN fails every comparison and is refused.
        if (!(u >= 0 && u < width_ && v >= 0 && v < height_)) return false;
        const std::size_t i = static_cast<std::size_t>(v) * width_ + static_cast<std::size_t>(u);
        const std::uint64_t bit = std::uint64_t(1) << (i % 64);
        if (bits_[i / 64] & bit) return false;
        bits_[i / 64] |= bit;
        return true;
    }

private:
    int width_, height_;
    std::vector<std::uint64_t> bits_;
};

struct ScreenBox {
    double u0 = 0, v0 = 0, u1 = 0, v1 = 0;  // left, top, right, bottom

    bool Overlaps(const ScreenBox& o) const { return u0 < o.u1 && o.u0 < u1 && v0 < o.v1 && o.v0 < v1; }
};

// The part of the segment a-b inside the box (Liang-Barsky): a and b are
// moved onto its edges; false, and both unchanged, when no part is inside
// or an end is not finite.
// Painters are slow with ends millions of pixels away; clipped, a line costs
// what it shows.
bool ClipToBox(ScreenPoint& a, ScreenPoint& b, const ScreenBox& box);

}  // namespace vexaline
