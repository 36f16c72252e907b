#include "core/files/SectionExport.h"

#include "core/files/CsvTable.h"
#include "core/text/AngleText.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// The 桩号 as the lists print it: "%.3f", with its occurrence on a road with equations.
std::string StationField(const Chainage& chain, double s) {
    return chain.Empty() ? MillimetreText(s) : ChainStationText(chain.StationAt(s));
}

const char* SideText(RoadSide side) { return side == RoadSide::Left ? text::kTemplateLeft : text::kTemplateRight; }

// One point of a station as the list and CSV give it (UTF-8): the centre where point is null.
std::vector<std::string> PointFields(const Chainage& chain, const CrossSection& c, const SectionPoint* p) {
    const std::optional<double> h = p ? p->elevation : c.centreElevation;
    const CPlanePoint at = p ? p->point : c.centre;
    return {StationField(chain, c.dStation), p ? SideText(p->side) + p->strName : std::string(text::kSectionCentre),
            MillimetreText(p ? p->dOffset : 0.0), MillimetreText(at.X), MillimetreText(at.Y),
            h ? MillimetreText(*h) : std::string()};
}

template <typename Each>
void ForEachPoint(const CrossSection& c, Each each) {
    each(static_cast<const SectionPoint*>(nullptr));
    for (const SectionPoint& p : c.points) each(&p);
}

}  // namespace

std::string SectionPointName(const Chainage& chain, double station, const SectionPoint* point) {
    std::string name = KStationOf(chain, station);
    if (point) name += Utf8ToGbkLossy(SideText(point->side) + point->strName);
    return name;
}

std::string SectionListText(const std::vector<CrossSection>& sections, const Chainage& chain, bool heights) {
    static const std::size_t widths[6] = {12, 16, 10, 14, 13, 12};
    const int columns = heights ? 6 : 5;
    std::string out;
    for (int k = 0; k < columns; ++k) {
        const std::size_t at = out.size();
        out += Gbk(text::kSectionColumns[k]);
        if (k + 1 < columns) PadColumn(out, at, widths[k]);
    }
    out += "\r\n";
    for (const CrossSection& c : sections) {
        if (c.IsMessage()) {
            const std::size_t at = out.size();
            out += StationField(chain, c.dStation);
            PadColumn(out, at, widths[0]);
            out += c.strMessage + "\r\n";
            continue;
        }
        ForEachPoint(c, [&](const SectionPoint* p) {
            std::vector<std::string> f = PointFields(chain, c, p);
            if (heights && f[5].empty()) f[5] = text::kOutsideProfile;
            for (int k = 0; k < columns; ++k) {
                const std::size_t at = out.size();
                out += Utf8ToGbkLossy(f[static_cast<std::size_t>(k)]);
                if (k + 1 < columns) PadColumn(out, at, widths[k]);
            }
            out += "\r\n";
        });
    }
    return out;
}

std::string SectionCsv(const std::vector<CrossSection>& sections, const Chainage& chain) {
    std::string out = kUtf8Bom;
    out += CsvLine(std::vector<std::string>(std::begin(text::kSectionColumns), std::end(text::kSectionColumns)));
    for (const CrossSection& c : sections) {
        if (c.IsMessage()) {
            out += CsvLine({StationField(chain, c.dStation), "", "", "", "", "", GbkToUtf8(c.strMessage)});
            continue;
        }
        ForEachPoint(c, [&](const SectionPoint* p) {
            std::vector<std::string> f = PointFields(chain, c, p);
            f.emplace_back();
            out += CsvLine(f);
        });
    }
    return out;
}

std::string SectionCassDat(const std::vector<CrossSection>& sections, const Chainage& chain) {
    std::string out;
    for (const CrossSection& c : sections) {
        if (c.IsMessage()) continue;
        ForEachPoint(c, [&](const SectionPoint* p) {
            const CPlanePoint at = p ? p->point : c.centre;
            const std::optional<double> h = p ? p->elevation : c.centreElevation;
            out += SectionPointName(chain, c.dStation, p) + ",," + MillimetreText(at.Y) + "," + MillimetreText(at.X) +
                   "," + MillimetreText(h.value_or(0.0)) + "\r\n";
        });
    }
    return out;
}

}  // namespace vexaline
