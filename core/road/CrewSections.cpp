#include "core/road/CrewSections.h"

#include <algorithm>
#include <cmath>

#include "core/road/ReverseLookup.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// A point on its way into a section: its place across, its height, and which it was.
struct Placed {
    double dOffset = 0, dElevation = 0;
    std::size_t index = 0;
};

// The line whose station is nearest s (the earlier on a tie).
std::size_t NearestLine(const std::vector<SectionLine>& lines, double s) {
    const auto after = std::lower_bound(lines.begin(), lines.end(), s,
                                        [](const SectionLine& l, double v) { return l.dStation < v; });
    if (after == lines.begin()) return 0;
    if (after == lines.end() || s - (after - 1)->dStation <= after->dStation - s)
        return static_cast<std::size_t>(after - lines.begin()) - 1;
    return static_cast<std::size_t>(after - lines.begin());
}

// A station's points by offset into its section; two within a millimetre keep the one measured first.
GroundSection Section(const SectionLine& line, std::vector<Placed> placed, const std::vector<MeasuredPoint>& points,
                      const Chainage& chain, std::vector<std::string>& messages) {
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.dOffset < b.dOffset; });
    std::vector<Placed> kept;
    for (const Placed& p : placed) {
        if (kept.empty() || p.dOffset - kept.back().dOffset >= 0.001) {
            kept.push_back(p);
            continue;
        }
        const Placed first = p.index < kept.back().index ? p : kept.back();
        const Placed& later = p.index < kept.back().index ? kept.back() : p;
        messages.push_back(Format(text::kCrewSameOffset, GbkToUtf8(points[later.index].strName).c_str(),
                                  GbkToUtf8(points[first.index].strName).c_str(),
                                  KStationOf(chain, line.dStation).c_str(), later.dOffset));
        kept.back() = first;
    }
    GroundSection s{line.dStation, {}};
    if (kept.size() < 2) {
        messages.push_back(Format(text::kCrewTooFew, KStationOf(chain, line.dStation).c_str(), kept.size()));
        return s;
    }
    for (const Placed& p : kept) s.points.push_back({p.dOffset, p.dElevation});
    return s;
}

}  // namespace

CrewSections GroupCrewPoints(const Alignment& road, const std::vector<MeasuredPoint>& points,
                             const std::vector<SectionLine>& lines, double band) {
    CrewSections crew;
    std::vector<std::vector<Placed>> at(lines.size());
    for (std::size_t i = 0; i < points.size() && !lines.empty(); ++i) {
        const MeasuredPoint& p = points[i];
        const std::string name = GbkToUtf8(p.strName);
        if (!p.height) {
            crew.messages.push_back(Format(text::kCrewNoHeight, name.c_str()));
            continue;
        }
        const LookupResult found = ReverseLookup(road, CPlanePoint(p.dX, p.dY));
        if (found.status != LookupStatus::Converged) {
            crew.messages.push_back(Format(text::kCrewNotPlaced, name.c_str()));
            continue;
        }
        const std::size_t k = NearestLine(lines, found.dStation);
        const SectionLine& line = lines[k];
        // Along the line across the road its offset, off it the distance along the road's tangent.
        const double dx = p.dX - line.centre.X, dy = p.dY - line.centre.Y;
        const double off = std::fabs(dx * std::cos(line.dAzimuth) + dy * std::sin(line.dAzimuth));
        const double offset = -dx * std::sin(line.dAzimuth) + dy * std::cos(line.dAzimuth);
        if (!(off <= band)) {
            crew.messages.push_back(Format(text::kCrewOutsideBand, name.c_str(),
                                           KStationOf(road.Chain(), line.dStation).c_str(), off, band));
            continue;
        }
        if (crew.strFurthest.empty() || off > crew.dFurthest)
            crew.strFurthest = p.strName, crew.dFurthest = off, crew.dFurthestStation = line.dStation;
        at[k].push_back(Placed{offset, *p.height, i});
    }
    for (std::size_t k = 0; k < lines.size(); ++k) {
        GroundSection s = Section(lines[k], std::move(at[k]), points, road.Chain(), crew.messages);
        if (!s.points.empty()) crew.sections.push_back(std::move(s));
    }
    return crew;
}

}  // namespace vexaline
