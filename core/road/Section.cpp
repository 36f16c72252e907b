#include "core/road/Section.h"

#include <cmath>

#include "core/road/StakeRun.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// The radius of the centreline at station s (INFINITE_RADIUS on a straight):
// a transition's curvature runs linearly from 1/R_start to 1/R_end.
double RadiusAt(const Element& e, double s) {
    if (e.type == LineType::Circular) return e.dStartRadius;
    if (e.type != LineType::Transition || !(e.dEndStation > e.dStartStation)) return INFINITE_RADIUS;
    const double k1 = 1 / e.dStartRadius, k2 = 1 / e.dEndRadius;
    const double k = k1 + (k2 - k1) * (s - e.dStartStation) / (e.dEndStation - e.dStartStation);
    return k > 0 ? 1 / k : INFINITE_RADIUS;
}

// One side's break points appended outward; the message of the first that
// cannot be staked, or empty.
std::string AddSide(const Alignment& road, std::size_t e, const SectionDesign& d, RoadSide side, CrossSection& c) {
    const bool left = side == RoadSide::Left;
    const std::pair<double, double> widen = d.widening.At(c.dStation), slope = d.slopes.At(c.dStation);
    double offset = 0;
    std::optional<double> h = c.centreElevation;
    const std::vector<SurfaceElement>& surface = d.tmpl.Of(side).surface;
    for (std::size_t i = 0; i < surface.size(); ++i) {
        const SurfaceElement& el = surface[i];
        const double w = el.dWidth + (i == 0 ? (left ? widen.first : widen.second) : 0.0);
        offset += w;
        if (h) *h += w * (el.bCrown ? (left ? slope.first : slope.second) : el.dCrossFall) / 100;
        const double signedOffset = left ? -offset : offset;
        const SquarePoint p = StakeAcross(road, e, c.dStation, signedOffset, el.strName);
        if (!p.strMessage.empty()) return p.strMessage;
        c.points.push_back(SectionPoint{side, el.strName, signedOffset, p.point, h});
    }
    return std::string();
}

}  // namespace

SquarePoint StakeAcross(const Alignment& road, std::size_t e, double s, double offset, const std::string& name) {
    const Element& element = road.Elements()[e];
    const bool left = offset < 0;
    // Offsets on the side the road turns to fold over at the centre of curvature.
    const bool inside = element.type != LineType::Straight && (element.turn == Turn::Left) == left;
    const double reach = inside ? RadiusAt(element, s) : INFINITE_RADIUS;
    SquarePoint p;
    if (!(std::fabs(offset) < reach)) {
        const char* side = left ? text::kTemplateLeft : text::kTemplateRight;
        p.strMessage = Gbk(Format(text::kSectionInsideCurve, KStationOf(road.Chain(), s).c_str(), side, name.c_str(),
                                  offset, reach).c_str());
        return p;
    }
    StakeResult row;
    p.strMessage = StakeOn(element, road.Geometry(e), s, offset, kSquareToRoad, nullptr, row);
    p.point = row.point;
    return p;
}

SectionLine SectionLineAt(const Alignment& road, double s) {
    const std::size_t e = road.ElementAt(s);
    StakeResult centre;
    SectionLine line;
    line.dStation = s;
    line.strMessage = StakeOn(road.Elements()[e], road.Geometry(e), s, 0, 0, nullptr, centre);
    line.centre = centre.point;
    line.dAzimuth = centre.dAzimuth;
    return line;
}

CrossSection SectionAt(const Alignment& road, const SectionDesign& design, double s) {
    CrossSection c;
    c.dStation = s;
    const std::size_t e = road.ElementAt(s);
    const SectionLine line = SectionLineAt(road, s);
    c.strMessage = line.strMessage;
    if (c.IsMessage()) return c;
    c.centre = line.centre;
    if (design.profile) c.centreElevation = design.profile->ElevationAt(s);
    for (RoadSide side : {RoadSide::Left, RoadSide::Right}) {
        c.strMessage = AddSide(road, e, design, side, c);
        if (c.IsMessage()) {
            c.points.clear();
            return c;
        }
    }
    return c;
}

}  // namespace vexaline
