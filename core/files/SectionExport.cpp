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

// The centre, then each point with the ground under it (nullopt where none).
template <typename Each>
void ForEachPoint(const CrossSection& c, const EarthSection* e, Each each) {
    each(static_cast<const SectionPoint*>(nullptr), e ? e->centreGround : std::nullopt);
    const SectionStakes s = StakesOf(c, e);
    for (std::size_t k = 0; k < s.points.size(); ++k) each(&s.points[k], s.ground[k]);
}

// A station and a message: the list's line.
void MessageLine(std::string& out, const std::string& station, const std::string& gbk) {
    const std::size_t at = out.size();
    out += station;
    PadColumn(out, at, 12);
    out += gbk + "\r\n";
}

}  // namespace

SectionStakes StakesOf(const CrossSection& c, const EarthSection* earth) {
    SectionStakes s;
    for (RoadSide side : {RoadSide::Left, RoadSide::Right}) {
        for (std::size_t k = 0; k < c.points.size(); ++k)
            if (c.points[k].side == side) {
                s.points.push_back(c.points[k]);
                s.ground.push_back(earth ? earth->pointGround[k] : std::nullopt);
            }
        const std::optional<CatchSide>* at = !earth ? nullptr : side == RoadSide::Left ? &earth->left : &earth->right;
        if (!at || !*at) continue;
        const SlopeVertex& v = (*at)->Catch();
        const char* name = (*at)->kind == SideSlopeKind::Fill ? text::kGroundToe : text::kGroundTop;
        s.points.push_back(SectionPoint{side, name, v.dOffset, v.point, v.dElevation});
        s.ground.push_back(v.dElevation);
    }
    return s;
}

const EarthSection* EarthOf(const std::vector<EarthSection>& earth, const std::vector<CrossSection>& sections,
                            const CrossSection& c) {
    return earth.empty() ? nullptr : &earth[static_cast<std::size_t>(&c - sections.data())];
}

std::string SectionPointName(const Chainage& chain, double station, const SectionPoint* point) {
    std::string name = KStationOf(chain, station);
    if (point) name += Utf8ToGbkLossy(SideText(point->side) + point->strName);
    return name;
}

std::string SectionListText(const std::vector<CrossSection>& sections, const Chainage& chain, bool heights,
                            const std::vector<EarthSection>& earth) {
    static const std::size_t widths[8] = {12, 16, 10, 14, 13, 12, 12, 10};
    const int columns = !earth.empty() ? 8 : heights ? 6 : 5;
    std::vector<std::string> titles(std::begin(text::kSectionColumns), std::end(text::kSectionColumns) - 1);
    titles.insert(titles.end(), std::begin(text::kGroundListColumns), std::end(text::kGroundListColumns));
    std::string out;
    const auto line = [&](const std::vector<std::string>& f) {
        for (int k = 0; k < columns; ++k) {
            const std::size_t at = out.size();
            out += Utf8ToGbkLossy(f[static_cast<std::size_t>(k)]);
            if (k + 1 < columns) PadColumn(out, at, widths[k]);
        }
        while (out.back() == ' ') out.pop_back();  // the ground's columns may be empty
        out += "\r\n";
    };
    line(titles);
    for (const CrossSection& c : sections) {
        if (c.IsMessage()) {
            MessageLine(out, StationField(chain, c.dStation), c.strMessage);
            continue;
        }
        const EarthSection* e = EarthOf(earth, sections, c);
        ForEachPoint(c, e, [&](const SectionPoint* p, std::optional<double> ground) {
            std::vector<std::string> f = PointFields(chain, c, p);
            if (heights && f[5].empty()) f[5] = text::kOutsideProfile;
            const std::optional<double> h = p ? p->elevation : c.centreElevation;
            f.push_back(ground ? MillimetreText(*ground) : std::string());
            f.push_back(ground && h ? MillimetreText(*h - *ground) : std::string());
            line(f);
        });
        if (e)
            for (const std::string& m : e->messages) MessageLine(out, StationField(chain, c.dStation), m);
    }
    return out;
}

std::string EarthworkText(const Earthwork& work, const Chainage& chain) {
    static const std::size_t widths[6] = {14, 12, 12, 10, 14, 14};
    std::string out = Gbk(text::kEarthworkTitle) + "\r\n";
    const auto line = [&](const std::vector<std::string>& f) {
        for (std::size_t k = 0; k < f.size(); ++k) {
            const std::size_t at = out.size();
            out += f[k];
            if (k + 1 < f.size()) PadColumn(out, at, widths[k]);
        }
        while (out.back() == ' ') out.pop_back();
        out += "\r\n";
    };
    const auto hundredths = [](double v) {
        std::string t;
        AppendFixed(t, v, 2);
        return t;
    };
    std::vector<std::string> titles;
    for (const char* t : text::kEarthworkColumns) titles.push_back(Gbk(t));
    line(titles);
    for (std::size_t k = 0; k < work.stations.size(); ++k) {
        const StationAreas& s = work.stations[k];
        std::vector<std::string> f = {StationField(chain, s.dStation), s.area ? hundredths(s.area->dFill) : "",
                                      s.area ? hundredths(s.area->dCut) : ""};
        if (k > 0) {
            const VolumeStretch& v = work.stretches[k - 1];
            f.insert(f.end(), {MillimetreText(v.dLength), v.bCounted ? hundredths(v.dFill) : "",
                               v.bCounted ? hundredths(v.dCut) : ""});
        }
        line(f);
    }
    double length = 0;
    for (const VolumeStretch& v : work.stretches) length += v.bCounted ? v.dLength : 0;
    line({Gbk(text::kEarthworkTotal), "", "", MillimetreText(length), hundredths(work.dFill), hundredths(work.dCut)});
    return out;
}

std::string SectionCsv(const std::vector<CrossSection>& sections, const Chainage& chain,
                       const std::vector<EarthSection>& earth) {
    std::string out = kUtf8Bom;
    out += CsvLine(std::vector<std::string>(std::begin(text::kSectionColumns), std::end(text::kSectionColumns)));
    const auto message = [&](const CrossSection& c, const std::string& gbk) {
        out += CsvLine({StationField(chain, c.dStation), "", "", "", "", "", GbkToUtf8(gbk)});
    };
    for (const CrossSection& c : sections) {
        if (c.IsMessage()) {
            message(c, c.strMessage);
            continue;
        }
        const EarthSection* e = EarthOf(earth, sections, c);
        ForEachPoint(c, e, [&](const SectionPoint* p, std::optional<double>) {
            std::vector<std::string> f = PointFields(chain, c, p);
            f.emplace_back();
            out += CsvLine(f);
        });
        if (e)
            for (const std::string& m : e->messages) message(c, m);
    }
    return out;
}

std::string SectionCassDat(const std::vector<CrossSection>& sections, const Chainage& chain,
                           const std::vector<EarthSection>& earth) {
    std::string out;
    for (const CrossSection& c : sections) {
        if (c.IsMessage()) continue;
        ForEachPoint(c, EarthOf(earth, sections, c), [&](const SectionPoint* p, std::optional<double>) {
            const CPlanePoint at = p ? p->point : c.centre;
            const std::optional<double> h = p ? p->elevation : c.centreElevation;
            out += SectionPointName(chain, c.dStation, p) + ",," + MillimetreText(at.Y) + "," + MillimetreText(at.X) +
                   "," + MillimetreText(h.value_or(0.0)) + "\r\n";
        });
    }
    return out;
}

}  // namespace vexaline
