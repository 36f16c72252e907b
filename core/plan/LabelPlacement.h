#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "core/plan/Declutter.h"

// Labels set as a draughtsman sets them: each at the first of a few places
// round its mark that covers no label set before, no mark and none of the
// picture's furniture (north arrow, scale bar, legend), wholly inside the
// picture; a label is left out only when every place is taken. All in
// screen pixels; the caller measures its texts and passes their extents.
namespace vexaline {

// The places tried round a mark, in this order; the last four slide a
// label above or below the mark a quarter of its width off centre.
enum class LabelSpot {
    Right, AboveRight, BelowRight, Above, Below, Left, AboveLeft, BelowLeft,
    AboveSlidLeft, AboveSlidRight, BelowSlidLeft, BelowSlidRight
};
inline constexpr int kLabelSpots = 12;

// The box of a label width × height at `spot` round the anchor: `clearance`
// pixels from it sideways, up or down (both, at a corner), so that a mark
// reaching less than that from the anchor stays free.
ScreenBox LabelBox(ScreenPoint anchor, double width, double height, double clearance, LabelSpot spot);

// Which parts of a picture hold a label or a mark so far.
class LabelPlacer {
public:
    // A picture width × height pixels (each at least 1). Pictures over 32
    // million pixels are kept in cells of several pixels: boxes are widened
    // to whole cells, so placed labels still never overlap, and stand at
    // most a cell further apart than they need.
    LabelPlacer(double width, double height);

    // A mark or a piece of furniture labels keep clear of. Marks may overlap
    // one another and stand partly or wholly outside the picture.
    void Block(const ScreenBox& box);

    // A line drawn from a to b (the centreline): labels may cover it, but
    // only where no spot free of lines is left.
    void Cross(ScreenPoint a, ScreenPoint b);

    // The first spot round the anchor whose box lies in the picture, is
    // free and no line crosses; failing that, the first that is free: that
    // box, taken now. Nothing when every spot is taken or a figure is not
    // finite.
    std::optional<ScreenBox> Place(ScreenPoint anchor, double width, double height, double clearance);

    // True when the box lies in the picture and nothing taken overlaps it.
    bool Free(const ScreenBox& box) const { return Clear(box, taken_); }

private:
    struct Span {
        int c0, c1, r0, r1;  // cells, inclusive; empty when c0 > c1 or r0 > r1
    };
    using Plane = std::vector<std::uint64_t>;  // a bit per cell, rows of words_ words
    Span Cells(const ScreenBox& box) const;
    void Set(const Span& span, Plane& plane);
    bool Clear(const ScreenBox& box, const Plane& plane) const;

    double width_, height_, cell_;
    int columns_, rows_, words_;
    Plane taken_, crossed_;
};

}  // namespace vexaline
