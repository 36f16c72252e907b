#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>

#include "core/files/LandXml.h"
#include "core/files/LandXmlFit.h"
#include "core/files/LandXmlRead.h"
#include "core/geometry/Element.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

using landxml::Geom;
using landxml::Kind;
using landxml::Placed;

// Design software leaves elements this short at joins; they carry no shape.
constexpr double kSliver = 0.001;
constexpr double kGap = 0.001;
constexpr double kKink = 20.0 / 3600.0 * kPi / 180.0;  // 20″
constexpr int kMaxElements = 100000;

double Seconds(double radians) { return radians * 180.0 / kPi * 3600.0; }

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
        if (turn > kKink) return Format(text::kXmlKink, at.c_str(), Seconds(turn));
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

std::string At(const Placed& p) { return Format(text::kXmlElementAt, p.nNumber, p.dStation); }

// Why the row at the cut cannot be written, or empty.
std::string TooWide(const std::vector<Placed>& elements, const landxml::Cut& cut) {
    if (OverflowingField(landxml::RowAt(elements, cut)) < 0) return std::string();
    return Format(text::kXmlTooWide, At(elements[cut.nElement]).c_str());
}

// The tangent the file gives at the element's start: its own, or where its
// points give none, the one the element before it ends on.
double StartAzimuth(const Geom& g, const std::vector<Placed>& before) {
    if (std::optional<double> t = landxml::StartTangent(g)) return *t;
    if (!before.empty()) return landxml::OnFile(before.back(), before.back().geom.dLength).dAzimuth;
    return landxml::EndTangent(g).value_or(0.0);
}

// The elements of one <CoordGeom> longer than a sliver, each checked alone
// and against the one before; message set on refusal.
std::vector<Placed> ReadElements(const pugi::xml_node& geom, double station, double metres, std::string& message) {
    std::vector<Placed> placed;
    int number = 0;
    for (pugi::xml_node node : geom.children()) {
        if (node.type() != pugi::node_element) continue;
        if (++number > kMaxElements) {
            message = Format(text::kXmlTooManyElements, kMaxElements);
            return placed;
        }
        landxml::GeomRead read = landxml::ReadGeom(node, number, station, metres);
        message = read.strMessage;
        const Geom& g = read.geom;
        if (message.empty() && g.dLength >= kSliver) {
            const std::string at = Format(text::kXmlElementAt, number, station);
            if (g.kind == Kind::Spiral && SameRadius(g.dRadiusStart, g.dRadiusEnd))
                message = Format(text::kXmlSpiralSameRadius, at.c_str());
            else if (!placed.empty())
                message = JoinFault(placed.back().geom, g, at);
            placed.push_back(Placed{g, number, station, StartAzimuth(g, placed)});
            if (message.empty()) message = TooWide(placed, landxml::Cut{placed.size() - 1, 0.0, 0});
        }
        if (!message.empty()) return placed;
        station += g.dLength;
    }
    if (placed.empty()) message = text::kXmlNothing;
    else message = TooWide(placed, landxml::Cut{placed.size() - 1, placed.back().geom.dLength, -1});
    return placed;
}

// The elements the rows turn beyond 20″ while their stakes hold: each by
// its number, length, worst turn and what that turn makes 10 m out; the
// worst kMaxTurnedNamed in file order, and how many more, when there are
// more.
constexpr std::size_t kMaxTurnedNamed = 5;

std::string TurnedNotice(const std::vector<Placed>& placed, std::vector<landxml::Turned> turned) {
    if (turned.empty()) return std::string();
    std::size_t more = 0;
    double rest = 0;  // the worst of those not named
    if (turned.size() > kMaxTurnedNamed) {
        std::stable_sort(turned.begin(), turned.end(),
                         [](const landxml::Turned& a, const landxml::Turned& b) { return a.dAzimuth > b.dAzimuth; });
        more = turned.size() - kMaxTurnedNamed;
        rest = turned[kMaxTurnedNamed].dAzimuth;
        turned.resize(kMaxTurnedNamed);
        std::sort(turned.begin(), turned.end(),
                  [](const landxml::Turned& a, const landxml::Turned& b) { return a.nElement < b.nElement; });
    }
    std::string list;
    for (const landxml::Turned& t : turned) {
        const Placed& p = placed[t.nElement];
        const double mm = t.dAzimuth * landxml::kSideStake * 1000.0;  // at 10 m
        list += (list.empty() ? "" : "；") +
                Format(text::kXmlTurnedElement, p.nNumber, p.geom.dLength, Seconds(t.dAzimuth), mm);
    }
    if (more) list += Format(text::kXmlTurnedMore, static_cast<int>(more), Seconds(rest));
    return Format(text::kXmlTurned, list.c_str());
}

// The rows of one <CoordGeom>, staking out as the file does; message set
// on refusal, a notice when elements were merged or turned.
void ReadCoordGeom(const pugi::xml_node& geom, double station, double metres, LandXmlImport& out) {
    const std::vector<Placed> placed = ReadElements(geom, station, metres, out.strMessage);
    if (!out.strMessage.empty()) return;
    const landxml::Fit fit = landxml::FitCuts(placed);
    if (!fit.bHolds) {
        const landxml::Deviation& d = fit.failed;
        out.strMessage = Format(text::kXmlOffDesign, At(placed[d.nWorst]).c_str(), d.dPosition * 1000.0);
        return;
    }
    std::vector<bool> own(placed.size(), false);
    for (const landxml::Cut& cut : fit.cuts) {
        if (cut.nOwner >= 0) own[static_cast<std::size_t>(cut.nOwner)] = true;
        if (out.strMessage.empty()) out.strMessage = TooWide(placed, cut);
        out.rows.push_back(landxml::RowAt(placed, cut));
    }
    std::string merged;
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (!own[i]) merged += (merged.empty() ? "" : "、") + std::to_string(placed[i].nNumber);
    if (!merged.empty()) out.strNotice = Format(text::kXmlAbsorbed, merged.c_str());
    const std::string turned = TurnedNotice(placed, fit.turned);
    if (!turned.empty()) out.strNotice += (out.strNotice.empty() ? "" : "\n") + turned;
}

// Whether the XML declaration names GBK, GB2312 or GB18030: pugixml reads
// UTF-8, UTF-16/32 and Latin-1 itself, but would take GBK names as UTF-8.
bool DeclaredGbk(const std::string& bytes) {
    if (bytes.compare(0, 5, "<?xml") != 0) return false;
    const std::string head = bytes.substr(0, 256);  // a declaration is short
    static const std::regex kEncoding(R"(encoding\s*=\s*["']\s*(gbk|gb2312|gb18030|cp936)\s*["'])", std::regex::icase);
    return std::regex_search(head.substr(0, head.find("?>")), kEncoding);
}

LandXmlImport Import(const std::string& document, const std::string& alignmentName) {
    LandXmlImport out;
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(document.data(), document.size());
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
    const landxml::LinearUnit unit = landxml::ReadLinearUnit(root);
    if (!unit.strMessage.empty()) {
        out.strMessage = unit.strMessage;
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
    else ReadCoordGeom(geom, *staStart * unit.dMetres, unit.dMetres, out);
    if (!out.strMessage.empty()) {
        out.rows.clear();
        out.strNotice.clear();
        return out;
    }
    if (!unit.strNotice.empty()) out.strNotice = unit.strNotice + (out.strNotice.empty() ? "" : "\n") + out.strNotice;
    landxml::ProfileRead profile = landxml::ReadProfile(choice.alignment, unit);
    out.grades = std::move(profile.rows);
    out.strProfileMessage = profile.strMessage;
    out.strMessage = landxml::ReadStationEquations(choice.alignment, unit.dMetres, out);
    if (!out.strMessage.empty()) {
        out.rows.clear(), out.grades.clear(), out.equations.clear(), out.strNotice.clear();
        return out;
    }
    out.status = ImportStatus::Ok;
    return out;
}

}  // namespace

LandXmlImport ImportLandXml(const std::string& bytes, const std::string& alignmentName) {
    LandXmlImport out = DeclaredGbk(bytes) ? Import(Gb18030ToUtf8(bytes), alignmentName) : Import(bytes, alignmentName);
    // Names and messages quote the file: whatever it held, they print.
    out.strMessage = ValidUtf8(out.strMessage);
    out.strName = ValidUtf8(out.strName);
    for (std::string& name : out.names) name = ValidUtf8(name);
    out.strProfileMessage = ValidUtf8(out.strProfileMessage);
    for (GradeRow& row : out.grades) row.strName = ValidUtf8(row.strName);
    return out;
}

}  // namespace vexaline
