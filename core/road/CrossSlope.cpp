#include "core/road/CrossSlope.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

std::string SlopeRowsToDistances(std::vector<SlopeRow>& rows, const Chainage& chain) {
    for (SlopeRow& r : rows) {
        const std::string m = StationFieldToDistance(chain, r.strStation);
        if (!m.empty()) return Format(text::kChainSlopeRow, r.nLine) + m;
    }
    return std::string();
}

SlopesBuild BuildSlopesOn(std::vector<SlopeRow> rows, const Chainage& chain) {
    const std::string off = SlopeRowsToDistances(rows, chain);
    return off.empty() ? BuildCrossSlopes(rows) : SlopesBuild{off, {}};
}

SlopesBuild BuildCrossSlopes(const std::vector<SlopeRow>& rows) {
    SlopesBuild b;
    if (rows.size() > static_cast<std::size_t>(kMaxSlopeRows)) {
        b.strMessage = Format(text::kSlopeTooMany, kMaxSlopeRows);
        return b;
    }
    for (const SlopeRow& row : rows) {
        const std::string* fields[3] = {&row.strStation, &row.strLeft, &row.strRight};
        double v[3] = {0, 0, 0};
        for (int f = 0; f < 3; ++f) {
            const std::optional<double> n = ParseNumber(*fields[f]);
            if (!n) b.strMessage = Format(text::kSlopeNotANumber, row.nLine, text::kSlopeColumns[f]);
            else if (f > 0 && !(std::fabs(*n) <= kMaxSlopePercent))
                b.strMessage = Format(text::kSlopeTooSteep, row.nLine, text::kSlopeColumns[f], TrimBlanks(*fields[f]).c_str(),
                                      kMaxSlopePercent);
            if (!b.Ok()) return SlopesBuild{b.strMessage, {}};
            v[f] = *n;
        }
        if (!b.slopes.points.empty() && !(v[0] > b.slopes.points.back().dStation))
            return SlopesBuild{Format(text::kSlopeNotIncreasing, row.nLine), {}};
        b.slopes.points.push_back(SlopePoint{v[0], v[1], v[2]});
    }
    return b;
}

std::pair<double, double> CrossSlopes::At(double s) const {
    if (points.empty()) return {0.0, 0.0};
    if (!(s > points.front().dStation)) return {points.front().dLeft, points.front().dRight};
    if (!(s < points.back().dStation)) return {points.back().dLeft, points.back().dRight};
    auto after = std::upper_bound(points.begin(), points.end(), s,
                                  [](double v, const SlopePoint& p) { return v < p.dStation; });
    const SlopePoint& b = *after;
    const SlopePoint& a = *(after - 1);
    const double t = (s - a.dStation) / (b.dStation - a.dStation);
    return {a.dLeft + (b.dLeft - a.dLeft) * t, a.dRight + (b.dRight - a.dRight) * t};
}

}  // namespace vexaline
