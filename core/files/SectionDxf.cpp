#include <dl_dxf.h>

#include "core/files/DxfMemoryWriter.h"
#include "core/files/SectionExport.h"
#include "core/text/Gbk.h"

namespace vexaline {
namespace {

constexpr double kTextHeight = 0.5;  // metres on the ground: break points lie a metre or two apart

struct Layers {
    std::string points = Gbk("断面点"), name = Gbk("桩号"), across = Gbk("横断面");
};

DL_Attributes On(const std::string& layer) { return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0); }

void Tables(DL_Dxf& dxf, DL_WriterA& dw, const Layers& l) {
    WriteDxfTables(dxf, dw, {{"0", 7}, {l.points, 3}, {l.name, 7}, {l.across, 1}}, kTextHeight);
}

// The station's line across the road, left edge to right edge: with the
// ground from catch point to catch point, through the berms' corners.
std::vector<std::pair<CPlanePoint, std::optional<double>>> Across(const CrossSection& c, const EarthSection* e) {
    std::vector<std::pair<CPlanePoint, std::optional<double>>> line;
    if (e && e->left)
        for (auto v = e->left->slope.rbegin(); v != e->left->slope.rend(); ++v)
            line.emplace_back(v->point, v->dElevation);
    for (auto p = c.points.rbegin(); p != c.points.rend(); ++p)
        if (p->side == RoadSide::Left) line.emplace_back(p->point, p->elevation);
    line.emplace_back(c.centre, c.centreElevation);
    for (const SectionPoint& p : c.points)
        if (p.side == RoadSide::Right) line.emplace_back(p.point, p.elevation);
    if (e && e->right)
        for (const SlopeVertex& v : e->right->slope) line.emplace_back(v.point, v.dElevation);
    return line;
}

void Station(DL_Dxf& dxf, DL_WriterA& dw, const Layers& l, const Chainage& chain, const CrossSection& c,
             const EarthSection* e) {
    const auto line = Across(c, e);
    bool heights = true;
    for (const auto& v : line) heights = heights && v.second;
    // flag 8: a 3D polyline, whose vertices keep their elevations
    dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(line.size()), 0, 0, heights ? 8 : 0), On(l.across));
    for (const auto& [p, h] : line) dxf.writeVertex(dw, DL_VertexData(p.Y, p.X, heights ? *h : 0.0, 0));
    dxf.writePolylineEnd(dw);
    const auto put = [&](const SectionPoint* sp) {
        const CPlanePoint p = sp ? sp->point : c.centre;
        const std::optional<double> h = sp ? sp->elevation : c.centreElevation;
        dxf.writePoint(dw, DL_PointData(p.Y, p.X, h.value_or(0.0)), On(l.points));
        const std::string name = SectionPointName(chain, c.dStation, sp);
        dxf.writeText(dw, DL_TextData(p.Y, p.X, 0, p.Y, p.X, 0, kTextHeight, 1.0, 0, 0, 0, name, "STANDARD", 0),
                      On(l.name));
    };
    put(nullptr);
    for (const SectionPoint& p : StakesOf(c, e).points) put(&p);
}

}  // namespace

std::optional<std::string> SectionDxf(const std::vector<CrossSection>& sections, const Chainage& chain,
                                      const std::vector<EarthSection>& earth) {
    DL_Dxf dxf;
    // out() with no name opens nothing but sets the version every entity is written in.
    if (dxf.out("", DL_Codes::AC1009) != nullptr) return std::nullopt;
    MemoryWriter dw;
    Layers layers;
    Tables(dxf, dw, layers);
    dw.sectionEntities();
    for (const CrossSection& c : sections)
        if (!c.IsMessage()) Station(dxf, dw, layers, chain, c, EarthOf(earth, sections, c));
    dw.sectionEnd();
    dw.dxfEOF();
    return std::move(dw.bytes);
}

}  // namespace vexaline
