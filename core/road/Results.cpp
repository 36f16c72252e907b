#include "core/road/Results.h"

#include <cmath>
#include <iterator>

#include "core/text/FixedText.h"
#include "core/text/StationText.h"

namespace vexaline {

std::string StakeNameOf(const StakeResult& row) {
    if (!row.chain) return StakeName(row.dStation, row.dOffset, row.dDeflection);
    std::string name = StakeName(row.chain->dValue, row.dOffset, row.dDeflection);
    const std::size_t k = KStation(row.chain->dValue).size();
    name.replace(0, k, ChainKStation(*row.chain));
    if (row.equationBack) name.insert(0, KStation(*row.equationBack) + "=");
    return name;
}

std::optional<NamedStake> ReadStakeName(const std::string& name, const Chainage& chain, std::vector<double>* places) {
    if (chain.Empty()) return ParseStakeName(name);
    const std::size_t equals = name.find('=');
    std::string rest = name.substr(equals == std::string::npos ? 0 : equals + 1);
    const std::optional<NamedStake> back =
        equals == std::string::npos ? std::nullopt : ParseStakeName(name.substr(0, equals));
    int occurrence = 0;
    const std::size_t open = rest.find('('), close = rest.find(')');
    if (open != std::string::npos && close != std::string::npos && close > open) {
        const std::optional<ChainStation> n = ParseChainStation("0" + rest.substr(open, close - open + 1));
        if (!n) return std::nullopt;
        occurrence = n->nOccurrence;
        rest.erase(open, close - open + 1);
    }
    std::optional<NamedStake> stake = ParseStakeName(rest);
    if (!stake) return stake;
    // An equation's name is its point, whichever place its ahead 桩号 names.
    for (const StationEquation& e : chain.Equations())
        if (back && back->dOffset == 0 && std::fabs(e.dBack - back->dStation) < 5e-4 &&
            std::fabs(e.dAhead - stake->dStation) < 5e-4)
            return stake->dStation = e.dDistance, stake;
    const ChainDistance d = chain.Distance(ChainStation{stake->dStation, occurrence});
    stake->dStation = d.fault == ChainFault::None ? d.dDistance : std::nan("");
    if (places && d.fault == ChainFault::Ambiguous) *places = d.places;
    return stake;
}

std::string StationTextOf(const StakeResult& row) {
    if (row.chain) return ChainStationText(*row.chain);
    std::string text;
    AppendFixed(text, row.dStation, 3);
    return text;
}

int ResultSet::AddSetup(const StationSetup& s) {
    if (!setups.empty()) {
        const StationSetup& last = setups.back();
        if (last.strStationName == s.strStationName && last.strBacksightName == s.strBacksightName &&
            last.ptStation.X == s.ptStation.X && last.ptStation.Y == s.ptStation.Y &&
            last.ptBacksight.X == s.ptBacksight.X && last.ptBacksight.Y == s.ptBacksight.Y)
            return static_cast<int>(setups.size()) - 1;
    }
    setups.push_back(s);
    return static_cast<int>(setups.size()) - 1;
}

int ResultSet::AddMessage(const std::string& gbk) {
    if (messages.empty() || messages.back() != gbk) messages.push_back(gbk);
    return static_cast<int>(messages.size()) - 1;
}

void ResultSet::Append(ResultSet&& more) {
    if (rows.empty() && messages.empty() && setups.empty()) {
        const ResultMode keep = mode;
        const std::optional<StakeRange> run = range ? range : more.range;
        std::optional<ResultSource> from = source ? std::move(source) : std::move(more.source);
        *this = std::move(more);
        mode = keep;
        range = run;
        source = std::move(from);
        return;
    }
    if (!range) range = more.range;
    if (!source) source = std::move(more.source);
    const int messageBase = static_cast<int>(messages.size());
    const int setupBase = static_cast<int>(setups.size());
    messages.insert(messages.end(), std::make_move_iterator(more.messages.begin()),
                    std::make_move_iterator(more.messages.end()));
    setups.insert(setups.end(), std::make_move_iterator(more.setups.begin()), std::make_move_iterator(more.setups.end()));
    rows.reserve(rows.size() + more.rows.size());
    for (StakeResult row : more.rows) {
        if (row.nMessage >= 0) row.nMessage += messageBase;
        if (row.nSetup >= 0) row.nSetup += setupBase;
        rows.push_back(row);
    }
}

std::size_t ResultSet::Stakes() const {
    std::size_t n = 0;
    for (const StakeResult& r : rows) n += r.IsMessage() ? 0 : 1;
    return n;
}

bool Stale(const ResultSet& results, const std::vector<std::string>& controlList, const std::string& heights,
           const std::string& equations) {
    return !results.rows.empty() && results.source &&
           (results.source->controlList != controlList || results.source->strHeights != heights ||
            results.source->strEquations != equations);
}

bool CanOrient(const StationSetup& s) {
    return s.strStationName != s.strBacksightName &&
           !(s.ptStation.X == s.ptBacksight.X && s.ptStation.Y == s.ptBacksight.Y);
}

}  // namespace vexaline
