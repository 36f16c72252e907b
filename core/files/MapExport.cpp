#include "core/files/MapExport.h"

#include <optional>
#include <sstream>

#include <pugixml.hpp>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// A point of the map: where it is in the design grid and on the map.
struct MapPoint {
    std::string name;     // UTF-8
    std::string station;  // the 桩号 of a change point, else empty
    CPlanePoint grid;
    CPlanePoint lonLat;   // X latitude, Y longitude
    std::optional<double> h;
};

// A stretch of the centreline, with heights throughout or none.
struct MapLine {
    std::vector<CPlanePoint> lonLat;
    std::vector<double> h;  // as many as lonLat where heights
    bool heights = false;
};

struct MapData {
    std::vector<MapLine> lines;
    std::vector<MapPoint> changePoints, points;
};

const PlaneBox kEverywhere{-1e300, -1e300, 1e300, 1e300};

// The centreline cut where its heights begin or end; the line without
// heights reaches the first or last point of the one with, so that the
// map shows no gap.
std::vector<MapLine> Lines(const std::vector<PlanSample>& samples, const std::vector<CPlanePoint>& lonLat,
                           const Profile* profile) {
    std::vector<MapLine> lines;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const std::optional<double> h = profile ? profile->ElevationAt(samples[i].dStation) : std::nullopt;
        if (lines.empty() || lines.back().heights != h.has_value()) {
            MapLine next;
            next.heights = h.has_value();
            if (!lines.empty() && !h) next.lonLat.push_back(lonLat[i - 1]);
            if (!lines.empty() && h) lines.back().lonLat.push_back(lonLat[i]);
            lines.push_back(next);
        }
        lines.back().lonLat.push_back(lonLat[i]);
        if (h) lines.back().h.push_back(*h);
    }
    std::vector<MapLine> drawn;
    for (MapLine& l : lines)
        if (l.lonLat.size() >= 2) drawn.push_back(std::move(l));
    return drawn;
}

std::vector<MapPoint> ChangePoints(const Alignment& road, const Profile* profile) {
    std::vector<MapPoint> out;
    const std::vector<Element>& elements = road.Elements();
    for (std::size_t e = 0; e <= elements.size(); ++e) {
        const bool end = e == elements.size();
        const Element& el = elements[end ? e - 1 : e];
        const double station = end ? el.dEndStation : el.dStartStation;
        const LineType type = end ? road.Rows()[static_cast<std::size_t>(el.nEndRow - 1)].type : el.type;
        MapPoint p;
        p.station = KStationOf(road.Chain(), station);
        p.name = p.station + " " + GbkToUtf8(LineTypeText(type));
        p.grid = end ? el.ptEnd : el.ptStart;
        if (profile) p.h = profile->ElevationAt(station);
        out.push_back(p);
    }
    return out;
}

// Everything the map shows, carried to longitude and latitude; why not.
std::string Collect(const Alignment& road, const GridTransform& toMap, const Profile* profile,
                    const std::vector<MeasuredPoint>& measured, MapData& map) {
    if (!road.Usable()) return text::kXmlExportUnusable;
    for (const Element& el : road.Elements())
        if (el.fault != ElementFault::None) return Format(text::kXmlExportFault, GbkToUtf8(el.strStartStation).c_str());
    const std::vector<PlanSample> samples = MapCentreline(road);
    map.changePoints = ChangePoints(road, profile);
    const bool heights = !HeightsNotMeasured(measured);
    for (const MeasuredPoint& m : measured)
        map.points.push_back(MapPoint{GbkToUtf8(m.strName), {}, CPlanePoint(m.dX, m.dY), {}, heights ? m.height : std::nullopt});
    std::vector<CPlanePoint> all;
    for (const PlanSample& s : samples) all.push_back(s.point);
    for (const MapPoint& p : map.changePoints) all.push_back(p.grid);
    for (const MapPoint& p : map.points) all.push_back(p.grid);
    if (const std::optional<std::size_t> bad = toMap.Apply(all)) {
        if (*bad < samples.size()) return Format(text::kMapCannotCarry, KStationOf(road.Chain(), samples[*bad].dStation).c_str());
        const std::size_t k = *bad - samples.size();
        const MapPoint& p = k < map.changePoints.size() ? map.changePoints[k] : map.points[k - map.changePoints.size()];
        return Format(text::kMapCannotCarry, p.name.c_str());
    }
    std::size_t at = samples.size();
    for (MapPoint& p : map.changePoints) p.lonLat = all[at++];
    for (MapPoint& p : map.points) p.lonLat = all[at++];
    all.resize(samples.size());
    map.lines = Lines(samples, all, profile);
    return std::string();
}

std::string LonLat(CPlanePoint p, const std::optional<double>& h, const char* comma) {
    std::string s = Format("%.9f%s%.9f", p.Y, comma, p.X);
    if (h) s += Format("%s%.3f", comma, *h);
    return s;
}

void Add(pugi::xml_node parent, const char* name, const std::string& value) {
    parent.append_child(name).text().set(value.c_str());
}

void KmlPlacemark(pugi::xml_node parent, const MapPoint& p) {
    pugi::xml_node mark = parent.append_child("Placemark");
    Add(mark, "name", p.name);
    Add(mark, "description", Format("X %.3f  Y %.3f", p.grid.X, p.grid.Y) + (p.h ? Format("  H %.3f", *p.h) : ""));
    pugi::xml_node point = mark.append_child("Point");
    if (p.h) Add(point, "altitudeMode", "absolute");
    Add(point, "coordinates", LonLat(p.lonLat, p.h, ","));
}

std::string Kml(const MapData& map, const std::string& name, const std::string& gridName) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node root = doc.append_child("kml");
    root.append_attribute("xmlns").set_value("http://www.opengis.net/kml/2.2");
    pugi::xml_node document = root.append_child("Document");
    Add(document, "name", name);
    Add(document, "description", Format(text::kMapDescription, gridName.c_str()));
    for (const MapLine& line : map.lines) {
        pugi::xml_node mark = document.append_child("Placemark");
        Add(mark, "name", text::kMapCentreline);
        pugi::xml_node string = mark.append_child("LineString");
        Add(string, "tessellate", "1");
        if (line.heights) Add(string, "altitudeMode", "absolute");
        std::string coordinates;
        for (std::size_t i = 0; i < line.lonLat.size(); ++i)
            coordinates += (i ? " " : "") + LonLat(line.lonLat[i], line.heights ? std::optional<double>(line.h[i]) : std::nullopt, ",");
        Add(string, "coordinates", coordinates);
    }
    const std::pair<const char*, const std::vector<MapPoint>*> folders[] = {{text::kMapChangePoints, &map.changePoints},
                                                                            {text::kMapPoints, &map.points}};
    for (const auto& [title, points] : folders) {
        if (points->empty()) continue;
        pugi::xml_node folder = document.append_child("Folder");
        Add(folder, "name", title);
        for (const MapPoint& p : *points) KmlPlacemark(folder, p);
    }
    std::ostringstream bytes;
    doc.save(bytes, " ", pugi::format_default, pugi::encoding_utf8);
    return bytes.str();
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\', out += c;
        else if (static_cast<unsigned char>(c) < 0x20) out += Format("\\u%04x", c);
        else out += c;
    }
    return out + "\"";
}

std::string Feature(const std::string& geometry, const MapPoint* p, const std::string& lineName) {
    auto number = [](const std::optional<double>& v) { return v ? Format("%.3f", *v) : std::string("null"); };
    std::string props = p ? Format("{\"station\":%s,\"name\":%s,\"x\":%.3f,\"y\":%.3f,\"h\":%s}",
                                   p->station.empty() ? "null" : JsonString(p->station).c_str(),
                                   JsonString(p->name).c_str(), p->grid.X, p->grid.Y, number(p->h).c_str())
                          : "{\"station\":null,\"name\":" + JsonString(lineName) + ",\"x\":null,\"y\":null,\"h\":null}";
    return "{\"type\":\"Feature\",\"geometry\":" + geometry + ",\"properties\":" + props + "}";
}

std::string GeoJson(const MapData& map, const std::string& name) {
    std::vector<std::string> features;
    for (const MapLine& line : map.lines) {
        std::string coordinates;
        for (std::size_t i = 0; i < line.lonLat.size(); ++i)
            coordinates += std::string(i ? "," : "") + "[" +
                           LonLat(line.lonLat[i], line.heights ? std::optional<double>(line.h[i]) : std::nullopt, ",") + "]";
        features.push_back(Feature("{\"type\":\"LineString\",\"coordinates\":[" + coordinates + "]}", nullptr,
                                   text::kMapCentreline));
    }
    for (const std::vector<MapPoint>* points : {&map.changePoints, &map.points})
        for (const MapPoint& p : *points)
            features.push_back(Feature("{\"type\":\"Point\",\"coordinates\":[" + LonLat(p.lonLat, p.h, ",") + "]}", &p, ""));
    std::string out = "{\"type\":\"FeatureCollection\",\"name\":" + JsonString(name) + ",\"features\":[\n";
    for (std::size_t i = 0; i < features.size(); ++i) out += features[i] + (i + 1 < features.size() ? ",\n" : "\n");
    return out + "]}\n";
}

}  // namespace

std::vector<PlanSample> MapCentreline(const Alignment& road) {
    std::vector<PlanSample> out;
    const std::vector<Element>& elements = road.Elements();
    for (std::size_t e = 0; e < elements.size(); ++e) {
        const Element& el = elements[e];
        const CentrelineAt at = [&road, e](double s) {
            const Stake k = road.At(e, s, 0, 0);
            return PlanSample{s, k.point, k.dAzimuth};
        };
        std::vector<PlanSample> part = SampleElement(at, el.dStartStation, el.dEndStation, kMapChordError, kEverywhere);
        // The join is the end of the element before.
        const bool join = !out.empty() && !part.empty() && part.front().dStation == out.back().dStation;
        out.insert(out.end(), part.begin() + (join ? 1 : 0), part.end());
    }
    return out;
}

MapExport ExportMap(MapFormat format, const Alignment& road, const GridTransform& toMap, const std::string& gridName,
                    const Profile* profile, const std::vector<MeasuredPoint>& points, const std::string& name) {
    MapExport out;
    MapData map;
    out.strMessage = Collect(road, toMap, profile, points, map);
    if (!out.strMessage.empty()) return out;
    out.bytes = format == MapFormat::Kml ? Kml(map, name, gridName) : GeoJson(map, name);
    return out;
}

}  // namespace vexaline
