#include "core/road/Chainage.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/geometry/PlanePoint.h"
#include "core/text/FixedText.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

ChainageBuild Refused(std::string message) {
    ChainageBuild b;
    b.strMessage = std::move(message);
    return b;
}

// The occurrence "(n)" at the end of text, removed from it; 0 when none,
// -1 when malformed.
int TakeOccurrence(std::string& text) {
    if (text.empty() || text.back() != ')') return 0;
    const std::size_t open = text.rfind('(');
    if (open == std::string::npos) return -1;
    const std::string digits = text.substr(open + 1, text.size() - open - 2);
    if (digits.empty() || digits.size() > 6 || digits[0] == '0') return -1;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    text = TrimBlanks(text.substr(0, open));
    return std::atoi(digits.c_str());
}

std::string PlacesText(const std::vector<double>& places) {
    std::string out;
    for (std::size_t i = 0; i < places.size(); ++i) out += (i ? "、" : "") + MillimetreText(places[i]);
    return out;
}

}  // namespace

std::optional<ChainStation> ParseChainStation(const std::string& typed) {
    std::string text = TrimBlanks(typed);
    const int occurrence = TakeOccurrence(text);
    if (occurrence < 0) return std::nullopt;
    std::optional<double> value;
    if (!text.empty() && text[0] == 'K') {
        const std::optional<NamedStake> k = ParseStakeName(text);
        if (k && k->dOffset == 0) value = k->dStation;
    } else {
        value = ParseNumber(text);
    }
    if (!value || !IsSurveyCoordinate(*value)) return std::nullopt;
    return ChainStation{*value, occurrence};
}

std::string ChainStationText(ChainStation station) {
    return MillimetreText(station.dValue) + (station.nOccurrence ? Format("(%d)", station.nOccurrence) : "");
}

std::string ChainKStation(ChainStation station) {
    return KStation(station.dValue) + (station.nOccurrence ? Format("(%d)", station.nOccurrence) : "");
}

ChainageBuild BuildChainage(const std::vector<EquationRow>& rows) {
    if (rows.size() > static_cast<std::size_t>(kMaxEquations)) return Refused(Format(text::kChainTooMany, kMaxEquations));
    ChainageBuild b;
    Chainage& c = b.chain;
    for (const EquationRow& row : rows) {
        const std::string* fields[2] = {&row.strBack, &row.strAhead};
        double v[2] = {0, 0};
        for (int f = 0; f < 2; ++f) {
            const std::optional<ChainStation> s = ParseChainStation(*fields[f]);
            if (!s || s->nOccurrence != 0)
                return Refused(Format(text::kChainNotANumber, row.nLine, text::kChainColumns[f],
                                      TrimBlanks(*fields[f]).c_str()));
            v[f] = s->dValue;
        }
        const double shift = c.shifts_.empty() ? 0.0 : c.shifts_.back();
        if (!c.equations_.empty()) {
            const StationEquation& before = c.equations_.back();
            // The zone between the two runs from the ahead above to this back.
            if (v[0] < before.dAhead) {
                if (v[0] < before.dBack) return Refused(Format(text::kChainOutOfOrder, row.nLine));
                return Refused(Format(text::kChainNegativeZone, row.nLine, TrimBlanks(row.strBack).c_str(),
                                      v[0] - before.dAhead));
            }
        }
        c.equations_.push_back(StationEquation{row.nLine, v[0], v[1], v[0] + shift});
        c.shifts_.push_back(shift + (v[0] - v[1]));
        c.maxBack_.push_back(c.maxBack_.empty() ? v[0] : std::max(c.maxBack_.back(), v[0]));
    }
    c.minAhead_.resize(c.equations_.size());
    for (std::size_t k = c.equations_.size(); k-- > 0;)
        c.minAhead_[k] = k + 1 == c.equations_.size() ? c.equations_[k].dAhead
                                                      : std::min(c.minAhead_[k + 1], c.equations_[k].dAhead);
    return b;
}

std::string Chainage::SetEnds(double startDistance, double endDistance) {
    start_ = startDistance;
    end_ = endDistance;
    if (equations_.empty()) return std::string();
    if (equations_.front().dBack < start_) return Format(text::kChainBeforeStart, equations_.front().nLine, start_);
    const StationEquation& last = equations_.back();
    if (last.dDistance > end_) return Format(text::kChainAfterEnd, last.nLine, last.dDistance, end_);
    return std::string();
}

double Chainage::From(std::size_t z) const { return z == 0 ? start_ : equations_[z - 1].dAhead; }

double Chainage::To(std::size_t z) const {
    if (z < equations_.size()) return equations_[z].dBack;
    return end_ >= kUnbounded ? kUnbounded : end_ - Shift(z);
}

std::size_t Chainage::ZoneAt(double distance) const {
    auto after = std::upper_bound(equations_.begin(), equations_.end(), distance,
                                  [](double d, const StationEquation& e) { return d < e.dDistance; });
    return static_cast<std::size_t>(after - equations_.begin());
}

int Chainage::EquationAt(double distance) const {
    const std::size_t z = ZoneAt(distance);
    return z > 0 && equations_[z - 1].dDistance == distance ? static_cast<int>(z - 1) : -1;
}

std::vector<double> Chainage::Places(double s) const {
    std::vector<double> places;
    const std::vector<StationEquation>& eq = equations_;
    // Zones before `first` end below s (To(z) ≤ maxBack_[z] < s); zones
    // after `last` start above it (From(z) ≥ minAhead_[z − 1] > s). The
    // first and last zones are bounded by the road's ends besides, so they
    // are always looked at. A NaN 桩号 is in no zone.
    if (std::isnan(s)) return places;
    const auto first = static_cast<std::size_t>(std::lower_bound(maxBack_.begin(), maxBack_.end(), s) -
                                                maxBack_.begin());
    const auto last = static_cast<std::size_t>(std::upper_bound(minAhead_.begin(), minAhead_.end(), s) -
                                               minAhead_.begin());
    for (std::size_t z = first; z <= last; ++z) {
        if (!(s >= From(z) && s <= To(z))) continue;
        // An equation's own 桩号 is its point, exactly.
        double d = s + Shift(z);
        if (z < eq.size() && s == eq[z].dBack) d = eq[z].dDistance;
        if (z > 0 && s == eq[z - 1].dAhead) d = eq[z - 1].dDistance;
        if (places.empty() || !(std::fabs(d - places.back()) < kSamePlace)) places.push_back(d);
    }
    return places;
}

ChainDistance Chainage::Distance(ChainStation station) const {
    ChainDistance answer;
    if (equations_.empty() && station.nOccurrence <= 1 && station.dValue >= start_ && station.dValue <= end_) {
        answer.dDistance = station.dValue;
        return answer;
    }
    answer.places = Places(station.dValue);
    const std::size_t n = answer.places.size();
    if (n == 0) answer.fault = ChainFault::NoZone;
    else if (station.nOccurrence == 0 && n > 1) answer.fault = ChainFault::Ambiguous;
    else if (static_cast<std::size_t>(station.nOccurrence) > n) answer.fault = ChainFault::NoOccurrence;
    else answer.dDistance = answer.places[station.nOccurrence == 0 ? 0 : station.nOccurrence - 1];
    return answer;
}

ChainStation Chainage::StationAt(double distance) const {
    if (equations_.empty()) return ChainStation{distance, 0};
    const int k = EquationAt(distance);
    const std::size_t z = ZoneAt(distance);
    ChainStation s{k >= 0 ? equations_[static_cast<std::size_t>(k)].dAhead : distance - Shift(z), 0};
    // The occurrence belongs to the 桩号 as it is written, to the millimetre:
    // 359.9999996 is written 360.000, which names two places.
    const std::vector<double> places = Places(FixedRoundTrip(s.dValue, 3));
    if (places.size() < 2) return s;
    // The place nearest the distance: the zone's own, whatever the last bit.
    std::size_t best = 0;
    for (std::size_t i = 1; i < places.size(); ++i)
        if (std::fabs(places[i] - distance) < std::fabs(places[best] - distance)) best = i;
    s.nOccurrence = static_cast<int>(best) + 1;
    return s;
}

std::string KStationOf(const Chainage& chain, double distance) {
    return chain.Empty() ? KStation(distance) : ChainKStation(chain.StationAt(distance));
}

std::string StationFieldToDistance(const Chainage& chain, std::string& field) {
    const std::optional<ChainStation> s = ParseChainStation(field);
    if (!s || chain.Empty()) return std::string();
    const ChainDistance d = chain.Distance(*s);
    if (d.fault != ChainFault::None) return ChainRefusal(d, TrimBlanks(field));
    field = Format("%.17g", d.dDistance);
    return std::string();
}

TypedStation DistanceOfTyped(const Chainage& chain, const std::string& typed) {
    const std::optional<ChainStation> station = ParseChainStation(typed);
    if (!station) return TypedStation{Format(text::kChainBadStation, typed.c_str()), 0};
    const ChainDistance d = chain.Distance(*station);
    return TypedStation{ChainRefusal(d, typed), d.dDistance};
}

std::string ChainRefusal(const ChainDistance& answer, const std::string& typed) {
    const int n = static_cast<int>(answer.places.size());
    switch (answer.fault) {
    case ChainFault::None: return std::string();
    case ChainFault::NoZone: return Format(text::kChainNoZone, typed.c_str());
    case ChainFault::Ambiguous:
        return Format(text::kChainAmbiguous, typed.c_str(), n, PlacesText(answer.places).c_str(), typed.c_str());
    case ChainFault::NoOccurrence:
        return Format(text::kChainNoOccurrence, typed.c_str(), n, PlacesText(answer.places).c_str());
    }
    return std::string();
}

}  // namespace vexaline
