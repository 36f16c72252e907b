#include "core/plan/LabelPlacement.h"

#include <algorithm>
#include <cmath>

namespace vexaline {
namespace {

constexpr double kMaxCells = 32.0 * 1024 * 1024;  // 4 MB of bits

double Sane(double size) { return std::isfinite(size) ? std::max(size, 1.0) : 1.0; }

// Bits from..to (0..63, inclusive) of a word.
std::uint64_t Bits(int from, int to) { return (~std::uint64_t(0) >> (63 - to)) & (~std::uint64_t(0) << from); }

}  // namespace

ScreenBox LabelBox(ScreenPoint a, double w, double h, double c, LabelSpot spot) {
    switch (spot) {
    case LabelSpot::Right: return {a.u + c, a.v - h / 2, a.u + c + w, a.v + h / 2};
    case LabelSpot::AboveRight: return {a.u + c, a.v - c - h, a.u + c + w, a.v - c};
    case LabelSpot::BelowRight: return {a.u + c, a.v + c, a.u + c + w, a.v + c + h};
    case LabelSpot::Above: return {a.u - w / 2, a.v - c - h, a.u + w / 2, a.v - c};
    case LabelSpot::Below: return {a.u - w / 2, a.v + c, a.u + w / 2, a.v + c + h};
    case LabelSpot::Left: return {a.u - c - w, a.v - h / 2, a.u - c, a.v + h / 2};
    case LabelSpot::AboveLeft: return {a.u - c - w, a.v - c - h, a.u - c, a.v - c};
    case LabelSpot::BelowLeft: return {a.u - c - w, a.v + c, a.u - c, a.v + c + h};
    case LabelSpot::AboveSlidLeft: return {a.u - w * 0.75, a.v - c - h, a.u + w * 0.25, a.v - c};
    case LabelSpot::AboveSlidRight: return {a.u - w * 0.25, a.v - c - h, a.u + w * 0.75, a.v - c};
    case LabelSpot::BelowSlidLeft: return {a.u - w * 0.75, a.v + c, a.u + w * 0.25, a.v + c + h};
    case LabelSpot::BelowSlidRight: return {a.u - w * 0.25, a.v + c, a.u + w * 0.75, a.v + c + h};
    }
    return {};
}

LabelPlacer::LabelPlacer(double width, double height)
    : width_(Sane(width)), height_(Sane(height)),
      cell_(std::max(1.0, std::ceil(std::sqrt(width_ * height_ / kMaxCells)))) {
    columns_ = static_cast<int>(std::ceil(width_ / cell_));
    rows_ = static_cast<int>(std::ceil(height_ / cell_));
    words_ = (columns_ + 63) / 64;
    taken_.assign(static_cast<std::size_t>(words_) * rows_, 0);
    crossed_ = taken_;
}

// The cells a box covers, clipped to the grid. A box from u0 to u1 covers
// the cells from floor(u0 / cell) to ceil(u1 / cell) - 1: two boxes whose
// insides share a point share that point's cell, and boxes that only touch
// share none.
LabelPlacer::Span LabelPlacer::Cells(const ScreenBox& b) const {
    if (!(b.u0 < b.u1 && b.v0 < b.v1)) return {0, -1, 0, -1};  // empty or not a number
    const auto first = [this](double x, int n) { return static_cast<int>(std::clamp(std::floor(x / cell_), 0.0, double(n))); };
    const auto last = [this](double x, int n) { return static_cast<int>(std::clamp(std::ceil(x / cell_), 0.0, double(n))) - 1; };
    return {first(b.u0, columns_), last(b.u1, columns_), first(b.v0, rows_), last(b.v1, rows_)};
}

void LabelPlacer::Set(const Span& s, Plane& plane) {
    for (int r = s.r0; r <= s.r1; ++r)
        for (int w = s.c0 / 64; w <= s.c1 / 64; ++w)
            plane[static_cast<std::size_t>(r) * words_ + w] |= Bits(w == s.c0 / 64 ? s.c0 % 64 : 0, w == s.c1 / 64 ? s.c1 % 64 : 63);
}

bool LabelPlacer::Clear(const ScreenBox& box, const Plane& plane) const {
    if (!(box.u0 >= 0 && box.v0 >= 0 && box.u1 <= width_ && box.v1 <= height_)) return false;
    const Span s = Cells(box);
    for (int r = s.r0; r <= s.r1; ++r)
        for (int w = s.c0 / 64; w <= s.c1 / 64; ++w)
            if (plane[static_cast<std::size_t>(r) * words_ + w] &
                Bits(w == s.c0 / 64 ? s.c0 % 64 : 0, w == s.c1 / 64 ? s.c1 % 64 : 63))
                return false;
    return true;
}

void LabelPlacer::Block(const ScreenBox& box) {
    const Span s = Cells(box);
    if (s.c0 <= s.c1) Set(s, taken_);
}

void LabelPlacer::Cross(ScreenPoint a, ScreenPoint b) {
    if (!ClipToBox(a, b, {0, 0, width_, height_})) return;
    // Steps of half a cell: every cell the line passes through gets a point.
    const int steps = static_cast<int>(std::ceil(std::max(std::abs(b.u - a.u), std::abs(b.v - a.v)) / cell_ * 2));
    for (int i = 0; i <= steps; ++i) {
        const double t = steps ? double(i) / steps : 0, u = a.u + (b.u - a.u) * t, v = a.v + (b.v - a.v) * t;
        const int c = std::min(columns_ - 1, static_cast<int>(u / cell_)), r = std::min(rows_ - 1, static_cast<int>(v / cell_));
        crossed_[static_cast<std::size_t>(r) * words_ + c / 64] |= std::uint64_t(1) << (c % 64);
    }
}

std::optional<ScreenBox> LabelPlacer::Place(ScreenPoint anchor, double width, double height, double clearance) {
    for (bool overLines : {false, true})
        for (int i = 0; i < kLabelSpots; ++i) {
            const ScreenBox box = LabelBox(anchor, width, height, clearance, static_cast<LabelSpot>(i));
            if (!(box.u0 < box.u1 && box.v0 < box.v1)) return std::nullopt;  // not a number
            if (!Free(box) || (!overLines && !Clear(box, crossed_))) continue;
            Set(Cells(box), taken_);
            return box;
        }
    return std::nullopt;
}

}  // namespace vexaline
