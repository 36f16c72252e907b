#include "core/files/LandXmlRead.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "core/geometry/Element.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::landxml {
namespace {

// "N E" or "N E Z": the first two numbers, northing first.
std::optional<CPlanePoint> PointOf(const pugi::xml_node& node) {
    if (!node) return std::nullopt;
    const char* at = node.child_value();
    double v[2];
    for (double& value : v) {
        char* end = nullptr;
        errno = 0;
        value = std::strtod(at, &end);
        if (end == at || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
        at = end;
    }
    return CPlanePoint(v[0], v[1]);
}

// A radius attribute: "INF" or absent is infinite; otherwise a number > 0.
// Empty when the text is no number.
std::optional<double> RadiusOf(const pugi::xml_node& node, const char* name) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a || strcasecmp(a.value(), "INF") == 0) return INFINITE_RADIUS;
    return Number(a.value());
}

std::string At(int number, double station) { return Format(text::kXmlElementAt, number, station); }

GeomRead Refuse(const char* format, const std::string& at, const char* what = nullptr) {
    GeomRead r;
    r.strMessage = what ? Format(format, at.c_str(), what) : Format(format, at.c_str());
    return r;
}

// The arc's angle at the centre, swept the way it turns.
double SweptAngle(const Geom& g) {
    double a = g.ptCenter->Azimuth(g.ptStart), b = g.ptCenter->Azimuth(g.ptEnd);
    return NormaliseAngle(g.turn == Turn::Right ? b - a : a - b);
}

// Every length of the element from the file's unit to metres.
void Scale(Geom& g, double metres) {
    auto point = [metres](CPlanePoint& p) { p = CPlanePoint(p.X * metres, p.Y * metres); };
    point(g.ptStart);
    point(g.ptEnd);
    if (g.ptCenter) point(*g.ptCenter);
    if (g.ptPi) point(*g.ptPi);
    for (double* r : {&g.dRadiusStart, &g.dRadiusEnd})
        if (*r != INFINITE_RADIUS) *r *= metres;
    g.dLength *= metres;
}

struct UnitName {
    const char* name;   // the linearUnit value of the schema
    double dMetres;     // one of it in metres, exactly as defined
    const char* words;  // its name for the notice
    const char* factor; // the definition as the notice states it
};

constexpr UnitName kUnits[] = {
    {"meter", 1.0, "", ""},
    {"millimeter", 0.001, text::kUnitMillimetre, "0.001"},
    {"centimeter", 0.01, text::kUnitCentimetre, "0.01"},
    {"kilometer", 1000.0, text::kUnitKilometre, "1000"},
    {"foot", 0.3048, text::kUnitFoot, "0.3048"},
    {"USSurveyFoot", 1200.0 / 3937.0, text::kUnitSurveyFoot, "1200/3937"},
    {"inch", 0.0254, text::kUnitInch, "0.0254"},
    {"mile", 1609.344, text::kUnitMile, "1609.344"},
};

// The unit the schema names so; nullptr when this program does not know it.
const UnitName* FindUnit(const char* name) {
    for (const UnitName& n : kUnits)
        if (std::strcmp(name, n.name) == 0) return &n;
    return nullptr;
}

}  // namespace

LinearUnit ReadLinearUnit(const pugi::xml_node& root) {
    LinearUnit u;
    pugi::xml_node units = Child(root, "Units");
    pugi::xml_node system = Child(units, "Metric");
    const bool imperial = !system;
    if (imperial) system = Child(units, "Imperial");
    if (!system) return u;  // no units stated: metres, as LandXML is mostly written
    pugi::xml_attribute linear = system.attribute("linearUnit");
    if (linear || imperial) {
        const UnitName* n = FindUnit(linear.value());
        // Feet read as metres would put every point a third of the way: refuse.
        if (!n) {
            u.strMessage = Format(text::kXmlUnknownUnit, linear.value());
            return u;
        }
        u.dMetres = n->dMetres;
        if (n->dMetres != 1.0) u.strNotice = Format(text::kXmlUnitConverted, n->words, n->name, n->words, n->factor);
    }
    u.dElevationMetres = u.dMetres;
    if (pugi::xml_attribute elevation = system.attribute("elevationUnit")) {
        u.strElevationUnit = elevation.value();
        const UnitName* n = FindUnit(elevation.value());
        u.dElevationMetres = n ? n->dMetres : 0.0;
    }
    return u;
}

std::string LocalName(const pugi::xml_node& node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* name) {
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && LocalName(c) == name) return c;
    return pugi::xml_node();
}

std::optional<double> Number(const char* text) {
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (end == text || errno == ERANGE || !std::isfinite(v)) return std::nullopt;
    while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n') ++end;
    if (*end != '\0') return std::nullopt;
    return v;
}

GeomRead ReadGeom(const pugi::xml_node& node, int number, double station, double metres) {
    const std::string at = At(number, station);
    const std::string name = LocalName(node);
    GeomRead r;
    Geom& g = r.geom;
    if (name == "Line") g.kind = Kind::Line;
    else if (name == "Curve") g.kind = Kind::Curve;
    else if (name == "Spiral") g.kind = Kind::Spiral;
    else return Refuse(text::kXmlUnknownElement, at, name.c_str());

    if (g.kind == Kind::Spiral) {
        pugi::xml_attribute type = node.attribute("spiType");
        if (std::strcmp(type.value(), "clothoid") != 0) return Refuse(text::kXmlSpiralType, at, type.value());
    }
    std::optional<CPlanePoint> start = PointOf(Child(node, "Start")), end = PointOf(Child(node, "End"));
    if (!start) return Refuse(text::kXmlMissing, at, "Start");
    if (!end) return Refuse(text::kXmlMissing, at, "End");
    g.ptStart = *start;
    g.ptEnd = *end;
    g.ptCenter = PointOf(Child(node, "Center"));
    g.ptPi = PointOf(Child(node, "PI"));
    if (g.kind != Kind::Line) {
        std::string rot = node.attribute("rot").value();
        if (rot != "cw" && rot != "ccw") return Refuse(text::kXmlBadRot, at);
        g.turn = rot == "cw" ? Turn::Right : Turn::Left;
    }

    if (g.kind == Kind::Line) {
        g.dRadiusStart = g.dRadiusEnd = INFINITE_RADIUS;
    } else if (g.kind == Kind::Curve) {
        if (!g.ptCenter && !g.ptPi) return Refuse(text::kXmlMissing, at, "Center/PI");
        std::optional<double> radius;
        if (node.attribute("radius")) radius = Number(node.attribute("radius").value());
        else if (g.ptCenter) radius = g.ptCenter->Distance(g.ptStart);
        if (!radius) return Refuse(text::kXmlMissing, at, "radius");
        g.dRadiusStart = g.dRadiusEnd = *radius;
    } else {
        if (!g.ptPi) return Refuse(text::kXmlMissing, at, "PI");
        std::optional<double> r0 = RadiusOf(node, "radiusStart"), r1 = RadiusOf(node, "radiusEnd");
        if (!r0) return Refuse(text::kXmlMissing, at, "radiusStart");
        if (!r1) return Refuse(text::kXmlMissing, at, "radiusEnd");
        g.dRadiusStart = *r0;
        g.dRadiusEnd = *r1;
    }
    if (g.dRadiusStart <= 0 || g.dRadiusEnd <= 0) return Refuse(text::kXmlBadRadius, at);

    std::optional<double> length;
    if (node.attribute("length")) length = Number(node.attribute("length").value());
    else if (g.kind == Kind::Line) length = g.ptStart.Distance(g.ptEnd);
    else if (g.kind == Kind::Curve && g.ptCenter) length = g.dRadiusStart * SweptAngle(g);
    if (!length) return Refuse(text::kXmlMissing, at, "length");
    if (*length < 0) return Refuse(text::kXmlBadLength, at);
    g.dLength = *length;
    if (metres != 1.0) Scale(g, metres);
    return r;
}

std::optional<double> StartTangent(const Geom& g) {
    if (g.kind == Kind::Curve && g.ptCenter) {
        if (g.ptCenter->Distance(g.ptStart) == 0) return std::nullopt;
        double quarter = g.turn == Turn::Right ? kPi * 0.5 : -kPi * 0.5;
        return NormaliseAngle(g.ptCenter->Azimuth(g.ptStart) + quarter);
    }
    CPlanePoint to = g.kind == Kind::Line ? g.ptEnd : *g.ptPi;
    if (g.ptStart.Distance(to) == 0) return std::nullopt;
    return g.ptStart.Azimuth(to);
}

std::optional<double> EndTangent(const Geom& g) {
    if (g.kind == Kind::Curve && g.ptCenter) {
        if (g.ptCenter->Distance(g.ptEnd) == 0) return std::nullopt;
        double quarter = g.turn == Turn::Right ? kPi * 0.5 : -kPi * 0.5;
        return NormaliseAngle(g.ptCenter->Azimuth(g.ptEnd) + quarter);
    }
    CPlanePoint from = g.kind == Kind::Line ? g.ptStart : *g.ptPi;
    if (from.Distance(g.ptEnd) == 0) return std::nullopt;
    return from.Azimuth(g.ptEnd);
}

}  // namespace vexaline::landxml
