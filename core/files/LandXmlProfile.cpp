// The vertical alignment in LandXML: <Profile><ProfAlign> of an alignment,
// read into grade rows and written from the profile.
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "core/files/LandXml.h"
#include "core/files/LandXmlRead.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::landxml {
namespace {

bool Designed(const pugi::xml_node& node) {
    const std::string state = node.attribute("state").value();
    return state.empty() || state == "proposed";
}

// The first design ProfAlign of the alignment, or an empty node.
pugi::xml_node DesignProfAlign(const pugi::xml_node& alignment) {
    for (pugi::xml_node profile : alignment.children())
        if (LocalName(profile) == "Profile")
            for (pugi::xml_node p : profile.children())
                if (LocalName(p) == "ProfAlign" && Designed(p.attribute("state") ? p : profile)) return p;
    return pugi::xml_node();
}

// "station elevation": exactly two finite numbers.
bool StationElevation(const char* text, double& station, double& elevation) {
    const char* at = text;
    for (double* v : {&station, &elevation}) {
        char* end = nullptr;
        errno = 0;
        *v = std::strtod(at, &end);
        if (end == at || errno == ERANGE || !std::isfinite(*v)) return false;
        at = end;
    }
    while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
    return *at == '\0';
}

// One child of a ProfAlign as the file states it, in metres.
struct Pvi {
    std::string strName;
    double dStation = 0, dElevation = 0;
    double dLength = 0;  // ParaCurve
    double dRadius = 0;  // CircCurve
    bool bPara = false;
};

// Reads child number `number`; the message when refused, else empty.
std::string ReadPvi(const pugi::xml_node& node, int number, const LinearUnit& unit, Pvi& p) {
    const std::string kind = LocalName(node);
    if (kind == "UnsymParaCurve") return Format(text::kXmlProfileUnsym, number);
    if (kind != "PVI" && kind != "ParaCurve" && kind != "CircCurve")
        return Format(text::kXmlProfileUnknown, number, kind.c_str());
    if (!StationElevation(node.child_value(), p.dStation, p.dElevation))
        return Format(text::kXmlProfileMissing, number, "桩号 高程");
    p.dStation *= unit.dMetres;
    p.dElevation *= unit.dElevationMetres;
    p.strName = node.attribute(node.attribute("desc") ? "desc" : "name").value();
    const char* size = kind == "ParaCurve" ? "length" : kind == "CircCurve" ? "radius" : nullptr;
    if (!size) return std::string();
    const std::optional<double> v = Number(node.attribute(size).value());
    if (!v || *v < 0) return Format(text::kXmlProfileMissing, number, size);
    p.bPara = kind == "ParaCurve";
    (p.bPara ? p.dLength : p.dRadius) = *v * unit.dMetres;
    return std::string();
}

// The radius at inner point k: the CircCurve's, or L/|ω| of the ParaCurve.
double RadiusAt(const std::vector<Pvi>& pvis, std::size_t k) {
    const Pvi &a = pvis[k - 1], &p = pvis[k], &b = pvis[k + 1];
    if (!p.bPara) return p.dRadius;
    const double omega = (b.dElevation - p.dElevation) / (b.dStation - p.dStation) -
                         (p.dElevation - a.dElevation) / (p.dStation - a.dStation);
    return p.dLength > 0 && omega != 0 && std::isfinite(omega) ? p.dLength / std::fabs(omega) : 0.0;
}

}  // namespace

ProfileRead ReadProfile(const pugi::xml_node& alignment, const LinearUnit& unit) {
    ProfileRead r;
    const pugi::xml_node prof = DesignProfAlign(alignment);
    if (!prof) return r.strMessage = Format(text::kXmlNoProfile, alignment.attribute("name").value()), r;
    if (unit.dElevationMetres == 0) return r.strMessage = Format(text::kXmlProfileUnit, unit.strElevationUnit.c_str()), r;
    std::vector<Pvi> pvis;
    std::string why;
    for (pugi::xml_node node : prof.children()) {
        if (node.type() != pugi::node_element) continue;
        const int number = static_cast<int>(pvis.size()) + 1;
        if (number > kMaxGradePoints) why = Format(text::kXmlProfileTooMany, kMaxGradePoints);
        else why = ReadPvi(node, number, unit, pvis.emplace_back());
        if (!why.empty()) break;
    }
    for (std::size_t k = 0; why.empty() && k < pvis.size(); ++k) {
        const Pvi& p = pvis[k];
        const bool end = k == 0 || k + 1 == pvis.size();
        if (end && (p.dLength > 0 || p.dRadius > 0)) why = Format(text::kXmlProfileEndCurve, static_cast<int>(k) + 1);
        else {
            const double radius = end ? 0.0 : RadiusAt(pvis, k);
            r.rows.push_back(GradeRow{static_cast<int>(k) + 1, p.strName, Format("%.3f", p.dStation),
                                      Format("%.3f", p.dElevation), radius > 0 ? Format("%.3f", radius) : ""});
        }
    }
    if (why.empty()) {
        r.rows = NamedGradeRows(std::move(r.rows));
        why = BuildProfile(r.rows).strMessage;
    }
    if (!why.empty()) {
        r.rows.clear();
        r.strMessage = Format(text::kXmlProfileIn, prof.attribute("name").value(), why.c_str());
    }
    return r;
}

std::string AddProfile(pugi::xml_node alignment, const std::string& name, const Profile& profile) {
    pugi::xml_node prof = alignment.append_child("Profile");
    prof.append_attribute("name").set_value(name.c_str());
    prof = prof.append_child("ProfAlign");
    prof.append_attribute("name").set_value(name.c_str());
    for (const GradePoint& p : profile.points) {
        if (!IsLandXmlName(p.strName)) return Format(text::kXmlExportGradeName, ValidUtf8(p.strName).c_str());
        pugi::xml_node node = prof.append_child(p.dLength > 0 ? "ParaCurve" : "PVI");
        node.append_attribute("desc").set_value(p.strName.c_str());
        if (p.dLength > 0) node.append_attribute("length").set_value(Format("%.6f", p.dLength).c_str());
        node.text().set(Format("%.6f %.6f", p.dStation, p.dElevation).c_str());
    }
    return std::string();
}

}  // namespace vexaline::landxml
