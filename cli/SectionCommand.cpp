// vexaline-cli section: every break point of the cross-section template at
// each station of a run, with its design elevation.
#include <algorithm>
#include <charconv>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/SectionCsv.h"
#include "core/files/SectionExport.h"
#include "core/road/Section.h"
#include "core/road/StakeRun.h"
#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct SectionOptions {
    std::string road, tmpl, profile, slopes, widening, equations;
    std::optional<std::string> from, to;
    std::optional<double> interval;
    std::vector<std::string> at;
    bool json = false;
    std::string format = "list";
    std::string output;
    bool gbk = false;
};

using Json = nlohmann::ordered_json;

// A table's refusal on stderr, naming its file before the line and field.
void Refuse(const std::string& path, const std::string& message) { ComplainUtf8(path + "：" + message); }

// The template of --template; nullopt after saying why, status set: a
// template or widening refused is a file refused, exit 2 as a usage fault.
std::optional<SectionTemplate> ReadTemplate(const std::string& path, int& status) {
    status = kUsage;
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) return std::nullopt;
    const TemplateCsvRead rows = ReadTemplateCsv(*bytes);
    if (!rows.Ok()) return Refuse(path, rows.strMessage), std::nullopt;
    TemplateBuild t = BuildTemplate(rows.rows);
    if (!t.Ok()) return Refuse(path, t.strMessage), std::nullopt;
    status = kDone;
    return std::move(t.value);
}

std::optional<Widening> ReadWidening(const std::string& path, const Chainage& chain, int& status) {
    status = kUsage;
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) return std::nullopt;
    WideningCsvRead rows = ReadWideningCsv(*bytes);
    if (!rows.Ok()) return Refuse(path, rows.strMessage), std::nullopt;
    WideningBuild w = BuildWidening(std::move(rows.rows), chain);
    if (!w.Ok()) return Refuse(path, w.strMessage), std::nullopt;
    status = kDone;
    return std::move(w.value);
}

// The template, widening and heights the sections are built from; nullopt
// after saying why, status set.
std::optional<SectionDesign> ReadDesign(const SectionOptions& o, const Chainage& chain, int& status) {
    SectionDesign d;
    std::optional<SectionTemplate> tmpl = ReadTemplate(o.tmpl, status);
    if (!tmpl) return std::nullopt;
    d.tmpl = std::move(*tmpl);
    if (!o.profile.empty()) {
        std::optional<Heights> heights = ReadHeights(o.profile, o.slopes, status, chain);
        if (!heights) return std::nullopt;
        // Without the table a crown row's heights would quietly take 0 %.
        if (o.slopes.empty() && !CrownRefusal(d.tmpl).empty())
            return Refuse(o.tmpl, CrownRefusal(d.tmpl)), status = kUsage, std::nullopt;
        d.profile = std::move(heights->profile);
        d.slopes = std::move(heights->slopes);
    }
    if (!o.widening.empty()) {
        std::optional<Widening> w = ReadWidening(o.widening, chain, status);
        if (!w) return std::nullopt;
        const std::string misfit = WideningRefusal(d.tmpl, *w);
        if (!misfit.empty()) return Refuse(o.widening, misfit), status = kUsage, std::nullopt;
        d.widening = std::move(*w);
    }
    return d;
}

// The distances of the stations asked for, stepped as a run of stakes is
// (by 桩号 on a road with equations); nullopt after saying why.
std::optional<std::vector<double>> Stations(const SectionOptions& o, const Alignment& road, int& status) {
    status = kRefused;
    const bool range = o.from.has_value(), equations = !o.equations.empty();
    std::vector<double> at;
    for (const std::string& typed : range ? std::vector<std::string>{*o.from, *o.to} : o.at) {
        const std::optional<double> d = DistanceOn(road.Chain(), StationArgument(typed, equations, "--at"), typed);
        if (!d) return std::nullopt;
        at.push_back(*d);
    }
    if (!range) {
        for (double s : at) {
            const StakeCheck check = CheckSingleStake(road, s);
            if (check != StakeCheck::Ok) return ComplainUtf8(CheckMessage(check, road)), std::nullopt;
        }
        return at;
    }
    StakeRequest request;
    request.dStartStation = at[0], request.dEndStation = at[1], request.dInterval = *o.interval;
    if (equations) request.dStartChainStation = StationArgument(*o.from, true, "--from").dValue;
    const StakeCheck check = CheckStakeRun(road, request);
    if (check != StakeCheck::Ok) return ComplainUtf8(CheckMessage(check, road)), std::nullopt;
    ResultSet centre;
    RunStakes(road, request, centre, 0, nullptr);
    std::vector<double> stations;
    stations.reserve(centre.rows.size());
    for (const StakeResult& row : centre.rows) stations.push_back(row.dStation);
    return stations;
}

// A number as JSON writes it, unrounded: the shortest text that reads back
// to it, with ".0" on a whole number as nlohmann gives it.
void Number(std::string& out, double v) {
    char b[32];
    const std::to_chars_result r = std::to_chars(b, b + sizeof b, v);
    out.append(b, r.ptr);
    if (std::find_if(b, r.ptr, [](char c) { return c == '.' || c == 'e'; }) == r.ptr) out += ".0";
}

void Height(std::string& out, const std::optional<double>& h) {
    if (h) Number(out, *h);
    else out += "null";
}

// The sections as JSON, written straight into one text: 10,000 stations of
// a dozen points each would spend most of the command's time in a document
// tree. Texts are escaped by the JSON library.
std::string SectionsJson(const std::vector<CrossSection>& sections, const Chainage& chain) {
    std::string out = "{\"stations\":[";
    out.reserve(sections.size() * 1400);
    for (const CrossSection& c : sections) {
        const ChainStation at = chain.StationAt(c.dStation);
        out += &c == sections.data() ? "{\"station\":\"" : ",{\"station\":\"";
        out += KStation(at.dValue) + "\",\"distance\":";
        Number(out, c.dStation);
        out += ",\"occurrence\":" + (at.nOccurrence ? std::to_string(at.nOccurrence) : std::string("null"));
        if (c.IsMessage()) {
            out += ",\"centre\":null,\"points\":[],\"message\":" + Json(GbkToUtf8(c.strMessage)).dump() + "}";
            continue;
        }
        out += ",\"centre\":{\"x\":";
        Number(out, c.centre.X), out += ",\"y\":", Number(out, c.centre.Y), out += ",\"h\":";
        Height(out, c.centreElevation);
        out += "},\"points\":[";
        for (const SectionPoint& p : c.points) {
            out += &p == c.points.data() ? "{\"side\":" : ",{\"side\":";
            out += p.side == RoadSide::Left ? "\"left\",\"name\":" : "\"right\",\"name\":";
            out += Json(p.strName).dump() + ",\"offset\":";
            Number(out, p.dOffset), out += ",\"x\":", Number(out, p.point.X), out += ",\"y\":";
            Number(out, p.point.Y), out += ",\"h\":", Height(out, p.elevation), out += "}";
        }
        out += "]}";
    }
    return out + "]}\n";
}

bool Write(const SectionOptions& o, const std::vector<CrossSection>& sections, const Alignment& road, bool heights) {
    const Chainage& chain = road.Chain();
    if (o.json) return EmitBytes(SectionsJson(sections, chain), o.output);
    if (o.format == "csv") return EmitBytes(SectionCsv(sections, chain), o.output);
    if (o.format == "cass") return EmitBytes(SectionCassDat(sections, chain), o.output);
    if (o.format == "dxf") {
        const std::optional<std::string> dxf = SectionDxf(sections, chain);
        if (!dxf) ComplainUtf8(Format(text::kCannotWrite, o.output.empty() ? "-" : o.output.c_str()));
        return dxf && EmitBytes(*dxf, o.output);
    }
    std::string bytes;
    if (o.format == "txt") {
        const auto name = [](const std::string& path) { return path.substr(path.find_last_of('/') + 1); };
        bytes = Utf8ToGbkLossy(Format(text::kSectionTitle, name(o.road).c_str(), name(o.tmpl).c_str())) + "\r\n";
    }
    bytes += SectionListText(sections, chain, heights);
    return EmitFile(bytes, o.output, o.gbk);
}

int Run(const SectionOptions& o) {
    const bool range = o.from || o.to || o.interval;
    if (range == !o.at.empty() || (range && !(o.from && o.to && o.interval)))
        return ComplainUtf8(text::kRangeOrStations), kUsage;
    if (!DistinctFiles({o.output}, {o.road, o.tmpl, o.profile, o.slopes, o.widening, o.equations})) return kUsage;
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    const std::optional<std::vector<double>> stations = Stations(o, road, status);
    if (!stations) return status;
    const std::optional<SectionDesign> design = ReadDesign(o, road.Chain(), status);
    if (!design) return status;
    std::vector<CrossSection> sections;
    sections.reserve(stations->size());
    std::set<std::string> told;  // each message once on stderr; its line stands in the output
    bool whole = true;
    for (double s : *stations) {
        sections.push_back(SectionAt(road, *design, s));
        const CrossSection& c = sections.back();
        if (c.IsMessage() && told.insert(c.strMessage).second) Complain(c.strMessage);
        whole = whole && !c.IsMessage();
    }
    if (!Write(o, sections, road, design->profile.has_value())) return kRefused;
    return whole ? kDone : kRefused;
}

}  // namespace

void AddSectionCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<SectionOptions>();
    CLI::App* cmd = app.add_subcommand("section", "Every break point of the cross-section template at stations (横断面)");
    cmd->add_option("ROAD", o->road, "Alignment file (.vxa)")->required();
    cmd->add_option("--template", o->tmpl, "Cross-section template (.vxt: 侧,名称,宽度,横坡,坡比,分级高度,平台宽度)")->required();
    cmd->add_option("--profile", o->profile, "Vertical alignment (.vxz): each point with its design elevation");
    cmd->add_option("--slopes", o->slopes, "Cross slopes (.vxh) for the 路拱 rows (needs --profile)");
    cmd->add_option("--widening", o->widening, "Widening (.vxw: 桩号,左侧加宽,右侧加宽)");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): stations are 桩号, K1+050.000(2) in a 长链");
    cmd->add_option("--from", o->from, "Start station (a 桩号 with --equations)");
    cmd->add_option("--to", o->to, "End station (a 桩号 with --equations)");
    cmd->add_option("--interval", o->interval, "Interval between stations, metres");
    cmd->add_option("--at", o->at, "Single stations, S1,S2,...")->delimiter(',');
    cmd->add_flag("--json", o->json, "Answer as JSON, numbers unrounded");
    cmd->add_option("--format", o->format, "list, txt, csv, cass or dxf")
        ->capture_default_str()
        ->check(CLI::IsMember({"list", "txt", "csv", "cass", "dxf"}));
    cmd->add_option("-o", o->output, "Write this file instead of stdout");
    cmd->add_flag("--gbk", o->gbk, "GBK bytes on stdout instead of UTF-8 (list, txt)");
    cmd->callback([o, &status] {
        if (!o->slopes.empty() && o->profile.empty()) throw CLI::ValidationError("--slopes needs --profile");
        if (o->json && o->format != "list") throw CLI::ValidationError("--json and --format go separately");
        for (const std::string& s : o->at) StationArgument(s, !o->equations.empty(), "--at");
        if (o->from) StationArgument(*o->from, !o->equations.empty(), "--from");
        if (o->to) StationArgument(*o->to, !o->equations.empty(), "--to");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
