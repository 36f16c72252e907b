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
#include "core/text/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct ProfileOptions {
    std::string profile, report;
    std::optional<double> from, to, interval;
    std::vector<double> at;
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

Json PointsJson(const Profile& profile) {
    Json list = Json::array();
    for (std::size_t k = 0; k < profile.points.size(); ++k) {
        const GradePoint& p = profile.points[k];
        const bool first = k == 0, last = k + 1 == profile.points.size(), inner = !first && !last;
        const Json kind = p.kind == CurveKind::Crest ? Json(text::kCrest)
                          : p.kind == CurveKind::Sag ? Json(text::kSag)
                                                     : Json(nullptr);
        list.push_back({{"name", p.strName},
                        {"station", p.dStation},
                        {"elevation", p.dElevation},
                        {"radius", OrNull(inner, p.dRadius)},
                        {"grade_in", OrNull(!first, p.dGradeIn)},
                        {"grade_out", OrNull(!last, p.dGradeOut)},
                        {"type", kind},
                        {"T", OrNull(inner, p.dTangent)},
                        {"L", OrNull(inner, p.dLength)},
                        {"E", OrNull(inner, p.dExternal)},
                        {"start", OrNull(inner, p.dStart)},
                        {"end", OrNull(inner, p.dEnd)}});
    }
    return {{"points", list}};
}

// The stations asked for: the list, or the running sum from A until it
// passes B, as a run of stakes steps. Empty after saying why.
std::optional<std::vector<double>> Stations(const ProfileOptions& o) {
    if (!o.from) return o.at;
    const double from = *o.from, to = *o.to, interval = *o.interval;
    if (!(from <= to) || !(interval > 0)) return ComplainUtf8(text::kInvalidRange), std::nullopt;
    if (!((to - from) / interval < kMaxStakes)) return ComplainUtf8(CheckMessage(StakeCheck::TooManyStakes, 0)), std::nullopt;
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
    const std::optional<std::vector<double>> stations = Stations(o);
    if (!stations) return kUsage;
    int status = kDone;
    const std::optional<Heights> heights = ReadHeights(o.profile, std::string(), status);
    if (!heights) return status;
    const Profile& profile = heights->profile;
    if (!o.report.empty() && !EmitBytes(VerticalCurveTableCsv(profile), o.report)) return kRefused;
    if (stations->empty()) {
        if (o.json) std::cout << PointsJson(profile).dump() << '\n';
        else if (o.report.empty()) std::cout << TerminalText(VerticalCurveTableCsv(profile));
        return kDone;
    }
    Json list = Json::array();
    for (double s : *stations) {
        const std::optional<double> h = profile.ElevationAt(s);
        if (o.json) list.push_back({{"station", s}, {"elevation", OrNull(h.has_value(), h.value_or(0))}});
        else std::cout << Format("%.3f ", s) << (h ? Format("%.3f", *h) : std::string(text::kOutsideProfile)) << '\n';
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
    cmd->add_option("--report", o->report, "Also write the vertical curve table (.csv)");
    cmd->add_flag("--json", o->json, "Answer as JSON");
    cmd->callback([o, &status] { status = Run(*o); });
}

}  // namespace vexaline::cli
