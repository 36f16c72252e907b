#include <cmath>
#include <sstream>

#include <pugixml.hpp>

#include "core/files/LandXml.h"
#include "core/files/LandXmlRead.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

constexpr double kDegrees = 180.0 / kPi;

std::string Len(double v) { return Format("%.6f", v); }
std::string Deg(double v) { return Format("%.8f", v * kDegrees); }

CPlanePoint Along(CPlanePoint p, double azimuth, double d) {
    return CPlanePoint(p.X + d * std::cos(azimuth), p.Y + d * std::sin(azimuth));
}

// Northing first, as LandXML writes points.
void Point(pugi::xml_node parent, const char* name, CPlanePoint p) {
    parent.append_child(name).text().set((Len(p.X) + " " + Len(p.Y)).c_str());
}

void Attr(pugi::xml_node node, const char* name, const std::string& value) {
    node.append_attribute(name).set_value(value.c_str());
}

// Where the tangents at a and b meet; empty when they are parallel.
std::optional<CPlanePoint> Meet(CPlanePoint a, double ta, CPlanePoint b, double tb) {
    double det = std::sin(tb - ta);
    if (std::fabs(det) < 1e-12) return std::nullopt;
    // a + u (cos ta, sin ta) = b + w (cos tb, sin tb), solved for u.
    double dx = b.X - a.X, dy = b.Y - a.Y;
    double u = (dx * std::sin(tb) - dy * std::cos(tb)) / det;
    return Along(a, ta, u);
}

// The road evaluated at one element's two ends.
struct Ends {
    Stake start, end;
    double dLength;
};

bool Finite(const Stake& s) {
    return std::isfinite(s.point.X) && std::isfinite(s.point.Y) && std::isfinite(s.dAzimuth);
}

void AddCurve(pugi::xml_node geom, const Element& el, const Ends& e) {
    const double r = el.dStartRadius, delta = e.dLength / r;
    const double t = el.turn == Turn::Right ? 1.0 : -1.0;
    pugi::xml_node c = geom.append_child("Curve");
    Attr(c, "rot", el.turn == Turn::Right ? "cw" : "ccw");
    Attr(c, "crvType", "arc");
    Attr(c, "radius", Len(r));
    Attr(c, "length", Len(e.dLength));
    Attr(c, "delta", Deg(delta));
    Attr(c, "chord", Len(2.0 * r * std::sin(delta * 0.5)));
    Point(c, "Start", e.start.point);
    Point(c, "Center", Along(e.start.point, e.start.dAzimuth + t * kPi * 0.5, r));
    Point(c, "End", e.end.point);
    if (delta < kPi) {
        double tangent = r * std::tan(delta * 0.5);
        Attr(c, "tangent", Len(tangent));
        Point(c, "PI", Along(e.start.point, e.start.dAzimuth, tangent));
    }
}

void AddSpiral(pugi::xml_node geom, const Element& el, const Ends& e) {
    pugi::xml_node s = geom.append_child("Spiral");
    auto radius = [](double r) { return r == INFINITE_RADIUS ? std::string("INF") : Len(r); };
    Attr(s, "spiType", "clothoid");
    Attr(s, "rot", el.turn == Turn::Right ? "cw" : "ccw");
    Attr(s, "length", Len(e.dLength));
    Attr(s, "radiusStart", radius(el.dStartRadius));
    Attr(s, "radiusEnd", radius(el.dEndRadius));
    Point(s, "Start", e.start.point);
    std::optional<CPlanePoint> pi = Meet(e.start.point, e.start.dAzimuth, e.end.point, e.end.dAzimuth);
    if (pi) Point(s, "PI", *pi);
    Point(s, "End", e.end.point);
    const bool entering = el.dStartRadius == INFINITE_RADIUS, leaving = el.dEndRadius == INFINITE_RADIUS;
    if (entering == leaving) return;  // between two arcs: no straight to measure from
    // The local frame of the straight end: x along the straight, toward the
    // curve; the far end's offsets from it, as the surveyor's tables give them.
    CPlanePoint origin = entering ? e.start.point : e.end.point;
    CPlanePoint far = entering ? e.end.point : e.start.point;
    double axis = entering ? e.start.dAzimuth : e.end.dAzimuth + kPi;
    double dx = far.X - origin.X, dy = far.Y - origin.Y;
    double totalX = std::fabs(dx * std::cos(axis) + dy * std::sin(axis));
    double totalY = std::fabs(-dx * std::sin(axis) + dy * std::cos(axis));
    double theta = std::fabs(std::remainder(e.end.dAzimuth - e.start.dAzimuth, kTwoPi));
    Attr(s, "theta", Deg(theta));
    Attr(s, "totalX", Len(totalX));
    Attr(s, "totalY", Len(totalY));
    if (theta > 0) {
        Attr(s, "tanLong", Len(totalX - totalY / std::tan(theta)));
        Attr(s, "tanShort", Len(totalY / std::sin(theta)));
    }
}

void AddHeader(pugi::xml_node root, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    Attr(root, "xmlns", "http://www.landxml.org/schema/LandXML-1.2");
    Attr(root, "version", "1.2");
    Attr(root, "date", date);
    Attr(root, "time", time);
    pugi::xml_node metric = root.append_child("Units").append_child("Metric");
    const char* units[][2] = {{"linearUnit", "meter"},          {"areaUnit", "squareMeter"},
                              {"volumeUnit", "cubicMeter"},     {"temperatureUnit", "celsius"},
                              {"pressureUnit", "milliBars"},    {"angularUnit", "decimal degrees"},
                              {"directionUnit", "decimal degrees"}};
    for (auto& u : units) Attr(metric, u[0], u[1]);
}

// One child of geom per element of the road, in station order; why not,
// or empty.
std::string AddElements(pugi::xml_node geom, const Alignment& road) {
    const std::vector<Element>& elements = road.Elements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& el = elements[i];
        if (el.fault != ElementFault::None) return Format(text::kXmlExportFault, GbkToUtf8(el.strStartStation).c_str());
        Ends e{road.At(i, el.dStartStation, 0, 0), road.At(i, el.dEndStation, 0, 0), el.dEndStation - el.dStartStation};
        if (!(e.dLength > 0)) continue;
        // Each join is the change point its row holds, the same for the
        // element that ends there and the one that starts: the road's own
        // end point can miss it by what the rows' millimetres allow, and
        // the file would not close.
        e.start.point = el.ptStart;
        e.end.point = el.ptEnd;
        // An arc of radius 0 or ∞, or a stake that is no number, would be
        // written as "nan" and read back by nobody.
        const bool arcOk = el.type != LineType::Circular || (el.dStartRadius > 0 && el.dStartRadius < INFINITE_RADIUS);
        if (!arcOk || !Finite(e.start) || !Finite(e.end))
            return Format(text::kCannotCompute, el.dStartStation, el.dEndStation);
        if (el.type == LineType::Circular) AddCurve(geom, el, e);
        else if (el.type == LineType::Transition) AddSpiral(geom, el, e);
        else {
            pugi::xml_node line = geom.append_child("Line");
            Attr(line, "length", Len(e.dLength));
            Point(line, "Start", e.start.point);
            Point(line, "End", e.end.point);
        }
    }
    return std::string();
}

}  // namespace

LandXmlExport ExportLandXml(const Alignment& road, const std::string& name, std::time_t when, const Profile* profile) {
    LandXmlExport out;
    if (!IsLandXmlName(name)) {
        out.strMessage = text::kXmlExportBadName;
        return out;
    }
    if (!road.Usable()) {
        out.strMessage = text::kXmlExportUnusable;
        return out;
    }
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    Attr(decl, "version", "1.0");
    Attr(decl, "encoding", "UTF-8");
    pugi::xml_node root = doc.append_child("LandXML");
    AddHeader(root, when);
    pugi::xml_node alignment = root.append_child("Alignments").append_child("Alignment");
    Attr(alignment, "name", name);
    Attr(alignment, "staStart", Len(road.MinStation()));
    Attr(alignment, "length", Len(road.MaxStation() - road.MinStation()));
    out.strMessage = AddElements(alignment.append_child("CoordGeom"), road);
    if (!out.strMessage.empty()) return out;
    landxml::AddStationEquations(alignment, road.Chain());
    if (profile) out.strMessage = landxml::AddProfile(alignment, name, *profile);
    if (!out.strMessage.empty()) return out;
    std::ostringstream bytes;
    doc.save(bytes, " ", pugi::format_default, pugi::encoding_utf8);
    out.bytes = bytes.str();
    return out;
}

bool IsLandXmlName(const std::string& name) {
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    return IsUtf8(name);
}

}  // namespace vexaline
