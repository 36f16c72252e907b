#include <cmath>

#include "core/files/LandXml.h"
#include "core/files/LandXmlRead.h"
#include "core/geometry/Element.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

using landxml::Geom;
using landxml::Kind;

// Design software leaves elements this short at joins; they carry no shape.
constexpr double kSliver = 0.001;
constexpr double kGap = 0.001;
constexpr double kKink = 20.0 / 3600.0 * kPi / 180.0;  // 20″
constexpr int kMaxElements = 100000;

// "%.3f" without the minus of a value that rounds to zero.
std::string RadiusText(double magnitude, Turn turn) {
    bool left = turn == Turn::Left;
    if (magnitude == INFINITE_RADIUS) return Gbk(left ? text::kMinusInfinity : text::kInfinity);
    return MillimetreText(left ? -magnitude : magnitude);
}

ControlRow MakeRow(double station, const char* type, const std::string& radius, CPlanePoint p) {
    ControlRow row;
    row.strField[kFieldStation] = MillimetreText(station);
    row.strField[kFieldLineType] = Gbk(type);
    row.strField[kFieldRadius] = radius;
    row.strField[kFieldX] = MillimetreText(p.X);
    row.strField[kFieldY] = MillimetreText(p.Y);
    return row;
}

ControlRow StartRow(const Geom& g, double station) {
    switch (g.kind) {
    case Kind::Line: return MakeRow(station, text::kStraight, Gbk(text::kInfinity), g.ptStart);
    case Kind::Curve: return MakeRow(station, text::kCircular, RadiusText(g.dRadiusStart, g.turn), g.ptStart);
    case Kind::Spiral: break;
    }
    return MakeRow(station, text::kTransition, RadiusText(g.dRadiusStart, g.turn), g.ptStart);
}

ControlRow EndRow(const Geom& g, double station) {
    std::string radius = g.kind == Kind::Line ? Gbk(text::kInfinity) : RadiusText(g.dRadiusEnd, g.turn);
    return MakeRow(station, text::kEndPoint, radius, g.ptEnd);
}

bool SameRadius(double a, double b) {
    if (a == INFINITE_RADIUS || b == INFINITE_RADIUS) return a == b;
    return std::fabs(a - b) < 0.0005;
}

// Why the element cannot follow prev, or empty.
std::string JoinFault(const Geom& prev, const Geom& g, const std::string& at) {
    double gap = prev.ptEnd.Distance(g.ptStart);
    if (gap > kGap) return Format(text::kXmlGap, at.c_str(), gap);
    std::optional<double> a = landxml::EndTangent(prev), b = landxml::StartTangent(g);
    if (a && b) {
        double turn = std::fabs(std::remainder(*b - *a, kTwoPi));
        if (turn > kKink) return Format(text::kXmlKink, at.c_str(), turn * 180.0 / kPi * 3600.0);
    }
    // The row between them holds one radius: the spiral's end radius is the
    // next element's start radius, and must be.
    if (prev.kind == Kind::Spiral && !SameRadius(prev.dRadiusEnd, g.dRadiusStart))
        return Format(text::kXmlRadiusBreak, at.c_str());
    return std::string();
}

// The names of every alignment, and the one asked for (or the only one).
struct Choice {
    pugi::xml_node alignment;
    std::string strMessage;
};

std::string JoinNames(const std::vector<std::string>& names) {
    std::string all;
    for (const std::string& n : names) all += (all.empty() ? "" : "、") + n;
    return all;
}

Choice Choose(const pugi::xml_node& root, const std::string& wanted, std::vector<std::string>& names) {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node group : root.children())
        if (landxml::LocalName(group) == "Alignments")
            for (pugi::xml_node a : group.children())
                if (landxml::LocalName(a) == "Alignment") {
                    found.push_back(a);
                    names.push_back(a.attribute("name").value());
                }
    Choice c;
    if (found.empty()) c.strMessage = text::kXmlNoAlignment;
    else if (wanted.empty() && found.size() > 1)
        c.strMessage = Format(text::kXmlChooseAlignment, static_cast<int>(found.size()), JoinNames(names).c_str());
    else if (wanted.empty()) c.alignment = found[0];
    else {
        for (std::size_t i = 0; i < found.size() && !c.alignment; ++i)
            if (names[i] == wanted) c.alignment = found[i];
        if (!c.alignment)
            c.strMessage = Format(text::kXmlUnknownAlignment, wanted.c_str(), JoinNames(names).c_str());
    }
    return c;
}

// The rows of one <CoordGeom>; message set on refusal.
void ReadCoordGeom(const pugi::xml_node& geom, double station, LandXmlImport& out) {
    std::optional<Geom> prev;
    double prevEnd = station;
    int number = 0;
    for (pugi::xml_node node : geom.children()) {
        if (node.type() != pugi::node_element) continue;
        if (++number > kMaxElements) {
            out.strMessage = Format(text::kXmlTooManyElements, kMaxElements);
            return;
        }
        landxml::GeomRead read = landxml::ReadGeom(node, number, station);
        out.strMessage = read.strMessage;
        const Geom& g = read.geom;
        if (out.strMessage.empty() && g.dLength >= kSliver) {
            const std::string at = Format(text::kXmlElementAt, number, station);
            ControlRow row = StartRow(g, station);
            if (g.kind == Kind::Spiral && SameRadius(g.dRadiusStart, g.dRadiusEnd))
                out.strMessage = Format(text::kXmlSpiralSameRadius, at.c_str());
            else if (prev)
                out.strMessage = JoinFault(*prev, g, at);
            if (out.strMessage.empty() && OverflowingField(row) >= 0)
                out.strMessage = Format(text::kXmlTooWide, at.c_str());
            out.rows.push_back(row);
            prev = g;
            prevEnd = station + g.dLength;
        }
        if (!out.strMessage.empty()) return;
        station += g.dLength;
    }
    if (!prev) {
        out.strMessage = text::kXmlNothing;
        return;
    }
    out.rows.push_back(EndRow(*prev, prevEnd));
    if (OverflowingField(out.rows.back()) >= 0)
        out.strMessage = Format(text::kXmlTooWide, Format(text::kXmlElementAt, number, prevEnd).c_str());
}

}  // namespace

LandXmlImport ImportLandXml(const std::string& bytes, const std::string& alignmentName) {
    LandXmlImport out;
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(bytes.data(), bytes.size());
    if (!parsed) {
        out.status = ImportStatus::Malformed;
        out.strMessage = Format(text::kXmlNotXml, static_cast<int>(parsed.offset), parsed.description());
        return out;
    }
    pugi::xml_node root = doc.document_element();
    if (landxml::LocalName(root) != "LandXML") {
        out.status = ImportStatus::Malformed;
        out.strMessage = Format(text::kXmlNotLandXml, root.name());
        return out;
    }
    Choice choice = Choose(root, alignmentName, out.names);
    out.strMessage = choice.strMessage;
    if (!choice.alignment) return out;
    out.strName = choice.alignment.attribute("name").value();
    pugi::xml_node geom = landxml::Child(choice.alignment, "CoordGeom");
    std::optional<double> staStart = 0.0;
    if (choice.alignment.attribute("staStart")) staStart = landxml::Number(choice.alignment.attribute("staStart").value());
    if (!geom) out.strMessage = Format(text::kXmlNoCoordGeom, out.strName.c_str());
    else if (!staStart) out.strMessage = Format(text::kXmlMissing, out.strName.c_str(), "staStart");
    else ReadCoordGeom(geom, *staStart, out);
    if (!out.strMessage.empty()) {
        out.rows.clear();
        return out;
    }
    out.status = ImportStatus::Ok;
    return out;
}

}  // namespace vexaline
