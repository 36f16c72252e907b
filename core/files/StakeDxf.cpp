#include <algorithm>
#include <cmath>

#include <dl_dxf.h>

#include "core/files/DxfMemoryWriter.h"
#include "core/files/StakeExport.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"

namespace vexaline {
namespace {

constexpr double kChordError = 0.01;    // metres between the chord and the arc
constexpr int kMaxStepsPerElement = 200000;
constexpr double kTextHeight = 1.0;     // metres on the ground

using Polyline = std::vector<CPlanePoint>;

// The centreline between two stations: one polyline per run of evaluable
// elements. An arc of radius R departs from a chord c by c²/(8R), so steps of
// √(8·0.01·R) keep within the limit; a transition takes its smaller radius.
std::vector<Polyline> Centreline(const Alignment& road, double from, double to) {
    std::vector<Polyline> lines(1);
    const std::vector<Element>& elements = road.Elements();
    for (std::size_t e = 0; e < elements.size(); ++e) {
        const Element& el = elements[e];
        double a = std::max(from, el.dStartStation), b = std::min(to, el.dEndStation);
        if (!(a <= b)) continue;
        if (el.fault != ElementFault::None) {
            if (!lines.back().empty()) lines.emplace_back();
            continue;
        }
        int steps = 1;
        if (el.type != LineType::Straight) {
            double r = std::min(el.dStartRadius, el.dEndRadius);
            double step = std::sqrt(8.0 * kChordError * r);
            steps = static_cast<int>(std::min<double>(kMaxStepsPerElement, std::ceil((b - a) / step)));
            steps = std::max(steps, 1);
        }
        for (int i = lines.back().empty() ? 0 : 1; i <= steps; ++i) {
            double s = i == steps ? b : a + (b - a) * i / steps;
            const CPlanePoint p = road.At(e, s, 0, 0).point;
            if (p.IsSurveyPoint()) lines.back().push_back(p);
            else if (!lines.back().empty()) lines.emplace_back();  // no coordinate: the line breaks
        }
    }
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const Polyline& l) { return l.size() < 2; }),
                lines.end());
    return lines;
}

struct Layers {
    std::string centre = Gbk("中线"), centreStake = Gbk("中桩"), sideStake = Gbk("边桩");
    std::string name = Gbk("桩号"), station = Gbk("测站");
};

DL_Attributes On(const std::string& layer) { return DL_Attributes(layer, 256, -1, "BYLAYER", 1.0); }

void Label(DL_Dxf& dxf, DL_WriterA& dw, const std::string& layer, CPlanePoint p, const std::string& text) {
    dxf.writeText(dw, DL_TextData(p.Y, p.X, 0, p.Y, p.X, 0, kTextHeight, 1.0, 0, 0, 0, text, "STANDARD", 0),
                  On(layer));
}

void Tables(DL_Dxf& dxf, DL_WriterA& dw, const Layers& l) {
    WriteDxfTables(dxf, dw, {{"0", 7}, {l.centre, 1}, {l.centreStake, 3}, {l.sideStake, 5}, {l.name, 7}, {l.station, 6}}, kTextHeight);
}

void Entities(DL_Dxf& dxf, DL_WriterA& dw, const ResultSet& results, const Alignment& road, const Layers& l,
              const FourParam* four) {
    const auto at = [four](CPlanePoint p) { return four ? ApplyFour(*four, p) : p; };
    dw.sectionEntities();
    double from = road.MaxStation(), to = road.MinStation();
    for (const StakeResult& r : results.rows)
        if (!r.IsMessage()) from = std::min(from, r.dStation), to = std::max(to, r.dStation);
    for (const Polyline& line : road.Usable() ? Centreline(road, from, to) : std::vector<Polyline>()) {
        dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(line.size()), 0, 0, 0), On(l.centre));
        for (CPlanePoint design : line) {
            const CPlanePoint p = at(design);
            dxf.writeVertex(dw, DL_VertexData(p.Y, p.X, 0, 0));
        }
        dxf.writePolylineEnd(dw);
    }
    for (const StakeResult& r : results.rows) {
        if (r.IsMessage()) continue;
        const double z = r.elevation ? *r.elevation : 0.0;
        const CPlanePoint p = at(r.point);
        dxf.writePoint(dw, DL_PointData(p.Y, p.X, z), On(r.dOffset != 0 ? l.sideStake : l.centreStake));
        Label(dxf, dw, l.name, p, StakeNameOf(r));
    }
    if (results.mode == ResultMode::SettingOut) {
        for (const StationSetup& s : results.setups) {
            const CPlanePoint station = at(s.ptStation), backsight = at(s.ptBacksight);
            dxf.writePoint(dw, DL_PointData(station.Y, station.X, 0), On(l.station));
            Label(dxf, dw, l.station, station, s.strStationName);
            dxf.writePoint(dw, DL_PointData(backsight.Y, backsight.X, 0), On(l.station));
            Label(dxf, dw, l.station, backsight, s.strBacksightName);
            dxf.writeLine(dw, DL_LineData(station.Y, station.X, 0, backsight.Y, backsight.X, 0), On(l.station));
        }
    }
    dw.sectionEnd();
}

}  // namespace

std::string StakesDxf(const ResultSet& results, const Alignment& road, const FourParam* four) {
    DL_Dxf dxf;
    // out() with no name opens nothing but sets the version every entity
    // is written in.
    if (dxf.out("", DL_Codes::AC1009) != nullptr) return std::string();
    MemoryWriter dw;
    Layers layers;
    Tables(dxf, dw, layers);
    Entities(dxf, dw, results, road, layers, four);
    dw.dxfEOF();
    return std::move(dw.bytes);
}

}  // namespace vexaline
