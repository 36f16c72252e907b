// Station equations in LandXML: <StaEquation staBack staAhead staInternal>
// children of an <Alignment>, read into the table and written from it.
// staBack may be left out (the buildingSMART railway sample does): it is
// then the 桩号 the equations before reach at staInternal.
#include <cmath>

#include "core/files/LandXml.h"
#include "core/files/LandXmlRead.h"
#include "core/geometry/PlanePoint.h"
#include "core/text/ControlLine.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::landxml {
namespace {

// A row's station field, a distance "%.3f" as the import writes it, as its 桩号.
void ToStation(std::string& field, const Chainage& chain) {
    double d = 0;
    if (ReadDouble(field, d)) field = ChainStationText(chain.StationAt(d));
}

// The table names a refused row by its line (kChainRowOf); the file's
// reader knows it as the element, numbered from 1.
std::string NamedByElement(const std::string& message, std::size_t elements) {
    for (std::size_t k = 1; k <= elements; ++k) {
        const std::string row = Format(text::kChainRowOf, static_cast<int>(k + 1));
        if (message.compare(0, row.size(), row) == 0)
            return Format(text::kXmlEquationOf, static_cast<int>(k)) + message.substr(row.size());
    }
    return message;
}

}  // namespace

std::string ReadStationEquations(const pugi::xml_node& alignment, double metres, vexaline::LandXmlImport& out) {
    int number = 0;
    std::vector<double> internal;
    double shift = 0;  // the 桩号 at a distance after the equations read: distance + shift
    for (pugi::xml_node n : alignment.children()) {
        if (LocalName(n) != "StaEquation") continue;
        ++number;
        const pugi::xml_attribute given = n.attribute("staBack");
        const std::optional<double> back = Number(given.value());
        const std::optional<double> ahead = Number(n.attribute("staAhead").value());
        const std::optional<double> at = Number(n.attribute("staInternal").value());
        if ((given && !back) || !ahead || !at) return Format(text::kXmlBadEquation, number);
        const double a = *ahead * metres, i = *at * metres, b = given ? *back * metres : i + shift;
        if (!IsSurveyCoordinate(b) || !IsSurveyCoordinate(a) || !IsSurveyCoordinate(i))
            return Format(text::kXmlEquationRange, number);
        out.equations.push_back(EquationRow{number + 1, MillimetreText(b), MillimetreText(a)});
        internal.push_back(i);
        shift += a - b;
    }
    if (out.equations.empty()) return std::string();
    const ChainageBuild chain = BuildChainage(out.equations);
    if (!chain.Ok()) return NamedByElement(chain.strMessage, out.equations.size());
    // The file's own distance of each equation must be the table's: a file
    // that counts them otherwise would put every stake after it elsewhere.
    for (std::size_t k = 0; k < internal.size(); ++k) {
        const double d = chain.chain.Equations()[k].dDistance;
        if (!(std::fabs(d - internal[k]) <= 0.001))
            return Format(text::kXmlEquationInternal, static_cast<int>(k + 1), internal[k], d);
    }
    // An equation off the road would be refused by every command that reads
    // the files written: refused here, naming it.
    double start = 0, end = 0;
    if (!out.rows.empty() && ReadDouble(out.rows.front().strField[kFieldStation], start) &&
        ReadDouble(out.rows.back().strField[kFieldStation], end)) {
        Chainage onRoad = chain.chain;
        const std::string off = onRoad.SetEnds(start, end);
        if (!off.empty()) return NamedByElement(off, out.equations.size());
    }
    for (ControlRow& row : out.rows) {
        ToStation(row.strField[kFieldStation], chain.chain);
        // A 桩号 with its occurrence is longer than the distance it replaced.
        if (OverflowingField(row) >= 0) return Format(text::kXmlChainTooWide, row.strField[kFieldStation].c_str());
    }
    for (GradeRow& row : out.grades) ToStation(row.strStation, chain.chain);
    return std::string();
}

void AddStationEquations(pugi::xml_node alignment, const Chainage& chain) {
    for (const StationEquation& e : chain.Equations()) {
        pugi::xml_node n = alignment.append_child("StaEquation");
        n.append_attribute("staBack").set_value(Format("%.6f", e.dBack).c_str());
        n.append_attribute("staAhead").set_value(Format("%.6f", e.dAhead).c_str());
        n.append_attribute("staInternal").set_value(Format("%.6f", e.dDistance).c_str());
    }
}

}  // namespace vexaline::landxml
