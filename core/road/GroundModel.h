#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/road/Ground.h"
#include "core/road/Inspect.h"
#include "core/road/Section.h"

// A ground model (数字地面模型): surveyed points triangulated into a TIN by
// the Delaunay triangulation of their X, Y (CGAL, exact predicates), the
// ground a plane on each triangle; and the ground sections cut from it
// square to the road. Coordinates are kept relative to a whole-metre point
// near the middle, so 8-digit eastings lose nothing.
namespace vexaline {

// The most points a ground model is built from (a file read for one).
inline constexpr int kMaxGroundModelPoints = 4000000;
// The longest triangle edge taken for surveyed ground unless told otherwise, metres.
inline constexpr double kTinMaxEdge = 100;

struct GroundModelBuild;

class GroundModel {
public:
    GroundModel() = default;  // no points: every cut is empty

    // The model of the points. Refuses (strMessage, UTF-8, naming the
    // points): a point without height; two points at the same X and Y with
    // different heights (with the same height they are one point, taken
    // once); points that do not span a triangle (fewer than three, or all on
    // one line). O(n log n): a million points in about a second.
    static GroundModelBuild Build(const std::vector<MeasuredPoint>& points);

    std::size_t Points() const;
    std::size_t Triangles() const;

    // The TIN cut along each line across the road from offset −width to
    // +width: a point wherever the line crosses a triangle's edge, and at
    // ±width where these lie inside the TIN; clipped where the line leaves
    // it (its convex hull) or enters a triangle with an edge longer than
    // maxEdge: such a triangle spans ground nobody surveyed (a concave edge
    // of the survey, a hole in it), and its plane would be invented ground.
    // Where the line crosses such triangles its section is the stretch of
    // surveyed ground around the centre (or, the centre in none, the
    // stretch nearest it). Each point's height is linear along the edge it
    // lies on (on the triangle's plane at ±width), so a section of planar
    // ground lies on the plane to rounding. Points closer than a millimetre
    // along the line are one. A line that misses the TIN, or crosses it over
    // less than a millimetre, gives a section without points. Lines near one
    // another are cut fastest in road order (each walk starts where the last
    // began). width > 0, maxEdge > 0.
    std::vector<GroundSection> Cut(const std::vector<SectionLine>& lines, double width,
                                   double maxEdge = kTinMaxEdge) const;

private:
    struct Tin;
    std::shared_ptr<const Tin> tin_;
};

struct GroundModelBuild {
    std::string strMessage;  // UTF-8; empty when built
    GroundModel model;
    bool Ok() const { return strMessage.empty(); }
};

}  // namespace vexaline
