// vexaline-cli profile: the vertical alignment's curve table, or its
// design elevations at stations.
#include <algorithm>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/ProfileCsv.h"
#include "core/road/StakeRun.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct ProfileOptions {
    std::string profile, report, equations;
    std::optional<std::string> from, to;
    std::optional<double> interval;
    std::vector<std::string> at;
    bool json = false;
};

using Json = nlohmann::ordered_json;

// A CSV file's text for the terminal: no byte order mark, LF line ends.
std::string TerminalText(const std::string& csv) {
    std::string out = csv.substr(3);
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    return out;
}

Json OrNull(bool has, double v) { return has ? Json(v) : Json(nullptr); }

// A station of the profile as the table gives it (null where there is
// none): with equations the 桩号, followed by its occurrence as lookup
// gives one (1, 2, … inside a 长链, else null) under occurrenceKey.
void PutStation(Json& into, const char* key, const char* occurrenceKey, const Chainage& chain,
                std::optional<double> distance) {
    const ChainStation at = chain.StationAt(distance.value_or(0));
    into[key] = !distance ? Json(nullptr) : chain.Empty() ? Json(*distance) : Json(at.dValue);
    if (!chain.Empty()) into[occurrenceKey] = distance && at.nOccurrence ? Json(at.nOccurrence) : Json(nullptr);
}

Json PointsJson(const Profile& profile, const Chainage& chain) {
    Json list = Json::array();
    for (std::size_t k = 0; k < profile.points.size(); ++k) {
        const GradePoint& p = profile.points[k];
        const bool first = k == 0, last = k + 1 == profile.points.size(), inner = !first && !last;
        const Json kind = p.kind == CurveKind::Crest ? Json(text::kCrest)
                          : p.kind == CurveKind::Sag ? Json(text::kSag)
                                                     : Json(nullptr);
        Json point = {{"name", p.strName}};
        PutStation(point, "station", "occurrence", chain, p.dStation);
        point["elevation"] = p.dElevation;
        point["radius"] = OrNull(inner, p.dRadius);
        point["grade_in"] = OrNull(!first, p.dGradeIn);
        point["grade_out"] = OrNull(!last, p.dGradeOut);
        point["type"] = kind;
        point["T"] = OrNull(inner, p.dTangent);
        point["L"] = OrNull(inner, p.dLength);
        point["E"] = OrNull(inner, p.dExternal);
        PutStation(point, "start", "start_occurrence", chain, inner ? std::optional<double>(p.dStart) : std::nullopt);
        PutStation(point, "end", "end_occurrence", chain, inner ? std::optional<double>(p.dEnd) : std::nullopt);
        list.push_back(std::move(point));
    }
    return {{"points", list}};
}

// The stations asked for as distances: the list, or the running sum from
// A until it passes B, as a run of stakes steps (with equations: by 桩号,
// as a run steps them). Empty after saying why, status set.
std::optional<std::vector<double>> Stations(const ProfileOptions& o, const Chainage& chain, int& status) {
    status = kRefused;
    const bool equations = !o.equations.empty();
    std::vector<double> at;
    for (const std::string& typed : o.from ? std::vector<std::string>{*o.from, *o.to} : o.at) {
        const std::optional<double> d = DistanceOn(chain, StationArgument(typed, equations, "--at"), typed);
        if (!d) return std::nullopt;
        at.push_back(*d);
    }
    if (!o.from) return at;
    status = kUsage;
    const double from = at[0], to = at[1], interval = *o.interval;
    if (!(from <= to) || !(interval > 0)) return ComplainUtf8(text::kInvalidRange), std::nullopt;
    if (!((to - from) / interval < kMaxStakes)) return ComplainUtf8(CheckMessage(StakeCheck::TooManyStakes, 0)), std::nullopt;
    if (!chain.Empty()) {
        StakeRequest run{from, to, interval, 0, 0, {}};
        run.dStartChainStation = StationArgument(*o.from, equations, "--from").dValue;
        return ChainedRun(chain, run);
    }
    std::vector<double> stations;
    for (double s = from; s <= to;) {
        stations.push_back(s);
        const double next = s + interval;
        if (!(next > s)) break;
        s = next;
    }
    return stations;
}

int Run(const ProfileOptions& o) {
    const bool range = o.from || o.to || o.interval;
    if ((range && !o.at.empty()) || (range && !(o.from && o.to && o.interval)))
        return ComplainUtf8(text::kRangeOrStations), kUsage;
    if (!DistinctFiles({o.report}, {o.profile, o.equations})) return kUsage;
    int status = kDone;
    const std::optional<Chainage> chain = ReadEquations(o.equations, status);
    if (!chain) return status;
    const std::optional<std::vector<double>> stations = Stations(o, *chain, status);
    if (!stations) return status;
    const std::optional<Heights> heights = ReadHeights(o.profile, std::string(), status, *chain);
    if (!heights) return status;
    const Profile& profile = heights->profile;
    if (!o.report.empty() && !EmitBytes(VerticalCurveTableCsv(profile, *chain), o.report)) return kRefused;
    if (stations->empty()) {
        if (o.json) std::cout << PointsJson(profile, *chain).dump() << '\n';
        else if (o.report.empty()) std::cout << TerminalText(VerticalCurveTableCsv(profile, *chain));
        return kDone;
    }
    Json list = Json::array();
    for (double s : *stations) {
        const std::optional<double> h = profile.ElevationAt(s);
        const ChainStation at = chain->StationAt(s);
        Json point = {{"station", at.dValue}, {"elevation", OrNull(h.has_value(), h.value_or(0))}};
        if (!chain->Empty()) point["distance"] = s, point["occurrence"] = at.nOccurrence ? Json(at.nOccurrence) : Json(nullptr);
        if (o.json) list.push_back(point);
        else std::cout << (chain->Empty() ? Format("%.3f", s) : ChainStationText(at)) << ' ' << (h ? Format("%.3f", *h) : std::string(text::kOutsideProfile)) << '\n';
    }
    if (o.json) std::cout << Json{{"stations", list}}.dump() << '\n';
    return kDone;
}

}  // namespace

void AddProfileCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<ProfileOptions>();
    CLI::App* cmd = app.add_subcommand("profile", "Vertical curve table, or design elevations at stations (纵断面)");
    cmd->add_option("PROFILE", o->profile, "Vertical alignment (.vxz: 变坡点,桩号,高程,竖曲线半径)")->required();
    cmd->add_option("--at", o->at, "Stations S1,S2,...")->delimiter(',');
    cmd->add_option("--from", o->from, "First station");
    cmd->add_option("--to", o->to, "Last station");
    cmd->add_option("--interval", o->interval, "Interval between stations, metres");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): the table's and the asked stations are 桩号");
    cmd->add_option("--report", o->report, "Also write the vertical curve table (.csv)");
    cmd->add_flag("--json", o->json, "Answer as JSON");
    cmd->callback([o, &status] {
        for (const std::string& s : o->at) StationArgument(s, !o->equations.empty(), "--at");
        if (o->from) StationArgument(*o->from, !o->equations.empty(), "--from");
        if (o->to) StationArgument(*o->to, !o->equations.empty(), "--to");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
