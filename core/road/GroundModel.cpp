#include "core/road/GroundModel.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Vertex = CGAL::Triangulation_vertex_base_with_info_2<double, Kernel>;  // the info: the height
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel, CGAL::Triangulation_data_structure_2<Vertex>>;
using Point = Kernel::Point_2;

struct GroundModel::Tin {
    Delaunay dt;
    double x0 = 0, y0 = 0;  // the origin of the local coordinates
};

namespace {

std::string NameOf(const MeasuredPoint& p) { return GbkToUtf8(p.strName); }

// Why the points make no model (a point without height, one place with two
// heights), or empty; order gets the points by X, then Y.
std::string CheckPoints(const std::vector<MeasuredPoint>& points, std::vector<std::size_t>& order) {
    for (const MeasuredPoint& p : points)
        if (!p.height) return Format(text::kTinNoHeight, NameOf(p).c_str());
    order.resize(points.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return points[a].dX < points[b].dX || (points[a].dX == points[b].dX && points[a].dY < points[b].dY);
    });
    for (std::size_t k = 1; k < order.size(); ++k) {
        const MeasuredPoint &a = points[order[k - 1]], &b = points[order[k]];
        if (a.dX == b.dX && a.dY == b.dY && *a.height != *b.height)
            return Format(text::kTinSamePlace, NameOf(a).c_str(), NameOf(b).c_str(), a.dX, a.dY, *a.height, *b.height);
    }
    return std::string();
}

// A point where the line crosses the TIN: t along it from 0 (−width) to 1 (+width).
struct Sample {
    double t = 0, h = 0;
};

// The part of line a + t·(b − a) inside face f, clipped to [0, 1], as its two
// ends; none when the line only passes it by. Where an end lies on an edge
// its height is the edge's, else the face's plane.
struct FaceCut {
    bool bInside = false;
    Sample lo, hi;
    double tExit = 0;  // where the line leaves the face, unclipped
};

FaceCut CutFace(const Delaunay::Face_handle& f, const Point& a, const Point& b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double tLo = -HUGE_VAL, tHi = HUGE_VAL;
    int edgeLo = -1, edgeHi = -1;
    for (int k = 0; k < 3; ++k) {
        // Inside is left of the edge p → q: faces are counter-clockwise.
        const Point &p = f->vertex((k + 1) % 3)->point(), &q = f->vertex((k + 2) % 3)->point();
        const double ex = q.x() - p.x(), ey = q.y() - p.y();
        const double at = ex * (a.y() - p.y()) - ey * (a.x() - p.x()), along = ex * dy - ey * dx;
        if (along == 0) {
            if (at < 0) return FaceCut{};
        } else if (along > 0) {
            if (-at / along > tLo) tLo = -at / along, edgeLo = k;
        } else if (-at / along < tHi) {
            tHi = -at / along, edgeHi = k;
        }
    }
    FaceCut cut;
    cut.tExit = tHi;
    if (!(tLo <= tHi) || tHi < 0 || tLo > 1) return cut;
    const auto height = [&](double t, int edge, bool onEdge) {
        const double x = a.x() + t * dx, y = a.y() + t * dy;
        const auto v = [&](int i) { return f->vertex(i % 3); };
        if (onEdge) {
            const Point &p = v(edge + 1)->point(), &q = v(edge + 2)->point();
            const double ex = q.x() - p.x(), ey = q.y() - p.y();
            const double s = std::clamp(((x - p.x()) * ex + (y - p.y()) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
            return v(edge + 1)->info() + s * (v(edge + 2)->info() - v(edge + 1)->info());
        }
        // Barycentric weights: each vertex's share is the area opposite it.
        double h = 0, whole = 0;
        for (int i = 0; i < 3; ++i) {
            const Point &p = v(i + 1)->point(), &q = v(i + 2)->point();
            const double w = (q.x() - p.x()) * (y - p.y()) - (q.y() - p.y()) * (x - p.x());
            h += w * v(i)->info(), whole += w;
        }
        return h / whole;
    };
    cut.bInside = true;
    cut.lo = {std::max(tLo, 0.0), height(std::max(tLo, 0.0), edgeLo, tLo >= 0)};
    cut.hi = {std::min(tHi, 1.0), height(std::min(tHi, 1.0), edgeHi, tHi <= 1)};
    return cut;
}

// The square of the face's longest edge.
double LongestSquared(const Delaunay::Face_handle& f) {
    const Point &a = f->vertex(0)->point(), &b = f->vertex(1)->point(), &c = f->vertex(2)->point();
    return std::max({CGAL::squared_distance(a, b), CGAL::squared_distance(b, c), CGAL::squared_distance(c, a)});
}

// The ends of the faces crossed along the line (in order) that are surveyed
// ground and hang together with the centre (t = 1/2): from the run of them
// that holds the centre, or else the run nearest it.
std::vector<Sample> AroundCentre(const std::vector<std::pair<FaceCut, bool>>& crossed) {
    std::size_t best = crossed.size(), bestEnd = 0;
    double bestGap = 0;
    for (std::size_t i = 0; i < crossed.size();) {
        if (crossed[i].second) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < crossed.size() && !crossed[end].second) ++end;
        const double lo = crossed[i].first.lo.t, hi = crossed[end - 1].first.hi.t;
        const double gap = lo > 0.5 ? lo - 0.5 : hi < 0.5 ? 0.5 - hi : 0;
        if (best == crossed.size() || gap < bestGap) best = i, bestEnd = end, bestGap = gap;
        i = end;
    }
    std::vector<Sample> samples;
    for (std::size_t i = best; i < bestEnd; ++i) samples.push_back(crossed[i].first.lo), samples.push_back(crossed[i].first.hi);
    return samples;
}

// The samples in order along the line, those within a millimetre of the one before dropped.
std::vector<GroundPoint> Along(std::vector<Sample> samples, double width) {
    std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.t < b.t; });
    std::vector<GroundPoint> points;
    for (const Sample& s : samples) {
        const double offset = -width + s.t * 2 * width;
        if (points.empty() || offset - points.back().dOffset >= 0.001) points.push_back({offset, s.h});
    }
    if (points.size() < 2) points.clear();
    return points;
}

}  // namespace

GroundModelBuild GroundModel::Build(const std::vector<MeasuredPoint>& points) {
    GroundModelBuild b;
    std::vector<std::size_t> order;
    b.strMessage = CheckPoints(points, order);
    if (!b.Ok()) return b;
    auto tin = std::make_shared<Tin>();
    if (!points.empty()) {
        // order is by X: its ends are the southmost and northmost.
        const auto byY = [](const MeasuredPoint& a, const MeasuredPoint& b) { return a.dY < b.dY; };
        const auto [west, east] = std::minmax_element(points.begin(), points.end(), byY);
        tin->x0 = std::round((points[order.front()].dX + points[order.back()].dX) / 2);
        tin->y0 = std::round((west->dY + east->dY) / 2);
    }
    std::vector<std::pair<Point, double>> local;
    local.reserve(points.size());
    for (const MeasuredPoint& p : points) local.emplace_back(Point(p.dX - tin->x0, p.dY - tin->y0), *p.height);
    tin->dt.insert(local.begin(), local.end());
    if (tin->dt.dimension() < 2) return GroundModelBuild{text::kTinTooFew, GroundModel()};
    b.model.tin_ = std::move(tin);
    return b;
}

std::size_t GroundModel::Points() const { return tin_ ? tin_->dt.number_of_vertices() : 0; }

std::size_t GroundModel::Triangles() const { return tin_ ? tin_->dt.number_of_faces() : 0; }

std::vector<GroundSection> GroundModel::Cut(const std::vector<SectionLine>& lines, double width, double maxEdge) const {
    std::vector<GroundSection> sections;
    sections.reserve(lines.size());
    Delaunay::Face_handle hint;
    const double longest = maxEdge * maxEdge;
    std::vector<std::pair<FaceCut, bool>> scratch;  // reused from line to line
    for (const SectionLine& line : lines) {
        sections.push_back(GroundSection{line.dStation, {}});
        if (!tin_) continue;
        const Delaunay& dt = tin_->dt;
        // The offset o lies at centre + o·(cos, sin)(azimuth + π/2), X north, Y east.
        const double across = line.dAzimuth + kPi / 2, cx = line.centre.X - tin_->x0, cy = line.centre.Y - tin_->y0;
        const Point a(cx - width * std::cos(across), cy - width * std::sin(across));
        const Point b(cx + width * std::cos(across), cy + width * std::sin(across));
        hint = dt.locate(a, hint);
        Delaunay::Line_face_circulator f = dt.line_walk(a, b, hint), first = f;
        if (f == nullptr) continue;
        // The faces crossed in order along the line, each marked where it spans no survey.
        std::vector<std::pair<FaceCut, bool>>& crossed = scratch;
        crossed.clear();
        do {
            if (dt.is_infinite(f)) break;  // left the TIN: it is convex, the line does not come back
            const FaceCut cut = CutFace(f, a, b);
            if (cut.bInside) crossed.emplace_back(cut, LongestSquared(f) > longest);
            if (cut.tExit >= 1) break;
        } while (++f != first);
        sections.back().points = Along(AroundCentre(crossed), width);
    }
    return sections;
}

}  // namespace vexaline
