// vexaline-cli section: every break point of the cross-section template at
// each station of a run, with its design elevation; with the ground, the
// catch points, the areas and the volumes.
#include <algorithm>
#include <charconv>
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/GroundFile.h"
#include "core/files/FileType.h"
#include "core/files/SheetFile.h"
#include "core/files/TextFile.h"
#include "core/plan/SectionSheet.h"
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
    std::string road, tmpl, profile, slopes, widening, equations, ground, four;
    std::string sheet, paper = "A3";
    StationsAsked stations;
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

// The ground sections of --ground, sorted by station; nullopt after saying
// why, status set (a file refused is exit 2, as a usage fault).
std::optional<std::vector<GroundSection>> ReadGround(const std::string& path, const Chainage& chain, int& status) {
    status = kUsage;
    const std::optional<std::string> bytes = ReadFile(path);
    if (!bytes) return std::nullopt;
    GroundFileRead read = ReadGroundFile(*bytes, chain);
    if (!read.Ok()) return Refuse(path, read.strMessage), std::nullopt;
    status = kDone;
    return std::move(read.sections);
}

// A number as JSON writes it, unrounded: the shortest text that reads back
// to it, with ".0" on a whole number as nlohmann gives it.
void Number(std::string& out, double v) {
    char b[32];
    const std::to_chars_result r = std::to_chars(b, b + sizeof b, v);
    out.append(b, r.ptr);
    if (std::find_if(b, r.ptr, [](char c) { return c == '.' || c == 'e'; }) == r.ptr) out += ".0";
}

void NumberOrNull(std::string& out, const std::optional<double>& h) {
    if (h) Number(out, *h);
    else out += "null";
}

// With the ground: a catch point, or null.
void CatchJson(std::string& out, const std::optional<CatchSide>& side) {
    if (!side) {
        out += "null";
        return;
    }
    const SlopeVertex& v = side->Catch();
    out += side->kind == SideSlopeKind::Fill ? "{\"kind\":\"fill\",\"offset\":" : "{\"kind\":\"cut\",\"offset\":";
    Number(out, v.dOffset), out += ",\"x\":", Number(out, v.point.X), out += ",\"y\":", Number(out, v.point.Y);
    out += ",\"h\":", Number(out, v.dElevation), out += ",\"height\":", Number(out, side->dHeight), out += "}";
}

// With the ground: the station's catch points and areas, after its points.
void EarthJson(std::string& out, const EarthSection& e) {
    out += ",\"catch\":{\"left\":";
    CatchJson(out, e.left);
    out += ",\"right\":";
    CatchJson(out, e.right);
    out += "},\"area\":";
    if (!e.area) out += "null";
    else out += "{\"fill\":", Number(out, e.area->dFill), out += ",\"cut\":", Number(out, e.area->dCut), out += "}";
}

std::optional<double> Counted(const VolumeStretch& v, double volume) {
    return v.bCounted ? std::optional<double>(volume) : std::nullopt;
}

// The volumes between the stations (null where an end has no areas) and their totals.
void VolumesJson(std::string& out, const Earthwork& w, const Chainage& chain) {
    out += ",\"volumes\":[";
    for (const VolumeStretch& v : w.stretches) {
        out += &v == w.stretches.data() ? "{\"from\":\"" : ",{\"from\":\"";
        out += KStationOf(chain, v.dFrom) + "\",\"to\":\"" + KStationOf(chain, v.dTo) + "\",\"length\":";
        Number(out, v.dLength), out += ",\"fill\":", NumberOrNull(out, Counted(v, v.dFill));
        out += ",\"cut\":", NumberOrNull(out, Counted(v, v.dCut)), out += "}";
    }
    out += "],\"total\":{\"fill\":";
    Number(out, w.dFill), out += ",\"cut\":", Number(out, w.dCut), out += "}";
}

// The sections as JSON, written straight into one text: 10,000 stations of
// a dozen points each would spend most of the command's time in a document
// tree. Texts are escaped by the JSON library.
std::string SectionsJson(const SectionRun& a, const Chainage& chain) {
    std::string out = "{\"stations\":[";
    out.reserve(a.sections.size() * (a.earth.empty() ? 1400 : 1800));
    for (const CrossSection& c : a.sections) {
        const ChainStation at = chain.StationAt(c.dStation);
        const EarthSection* e = EarthOf(a.earth, a.sections, c);
        out += &c == a.sections.data() ? "{\"station\":\"" : ",{\"station\":\"";
        out += KStation(at.dValue) + "\",\"distance\":";
        Number(out, c.dStation);
        out += ",\"occurrence\":" + (at.nOccurrence ? std::to_string(at.nOccurrence) : std::string("null"));
        if (c.IsMessage()) {
            out += ",\"centre\":null,\"points\":[],\"message\":" + Json(GbkToUtf8(c.strMessage)).dump();
            if (e) EarthJson(out, *e);
            out += "}";
            continue;
        }
        out += ",\"centre\":{\"x\":";
        Number(out, c.centre.X), out += ",\"y\":", Number(out, c.centre.Y), out += ",\"h\":";
        NumberOrNull(out, c.centreElevation);
        if (e) {
            out += ",\"ground\":", NumberOrNull(out, e->centreGround);
            out += ",\"fill\":", NumberOrNull(out, e->centreFill);
        }
        out += "},\"points\":[";
        for (const SectionPoint& p : c.points) {
            out += &p == c.points.data() ? "{\"side\":" : ",{\"side\":";
            out += p.side == RoadSide::Left ? "\"left\",\"name\":" : "\"right\",\"name\":";
            out += Json(p.strName).dump() + ",\"offset\":";
            Number(out, p.dOffset), out += ",\"x\":", Number(out, p.point.X), out += ",\"y\":";
            Number(out, p.point.Y), out += ",\"h\":", NumberOrNull(out, p.elevation), out += "}";
        }
        out += "]";
        if (e) EarthJson(out, *e);
        out += "}";
    }
    out += "]";
    if (!a.earth.empty()) VolumesJson(out, a.work, chain);
    return out + "}\n";
}

bool Write(const SectionOptions& o, const SectionRun& a, const Alignment& road, bool heights) {
    const Chainage& chain = road.Chain();
    if (o.json) return EmitBytes(SectionsJson(a, chain), o.output);
    if (o.format == "csv") return EmitBytes(SectionCsv(a.sections, chain, a.earth), o.output);
    if (o.format == "cass") return EmitBytes(SectionCassDat(a.sections, chain, a.earth), o.output);
    if (o.format == "dxf") {
        const std::optional<std::string> dxf = SectionDxf(a.sections, chain, a.earth);
        if (!dxf) ComplainUtf8(Format(text::kCannotWrite, o.output.empty() ? "-" : o.output.c_str()));
        return dxf && EmitBytes(*dxf, o.output);
    }
    std::string bytes;
    if (o.format == "txt") {
        const auto name = [](const std::string& path) { return path.substr(path.find_last_of('/') + 1); };
        bytes = Utf8ToGbkLossy(Format(text::kSectionTitle, name(o.road).c_str(), name(o.tmpl).c_str())) + "\r\n";
    }
    bytes += SectionListText(a.sections, chain, heights, a.earth);
    if (!a.earth.empty()) bytes += "\r\n" + EarthworkText(a.work, chain);
    return EmitFile(bytes, o.output, o.gbk);
}

// Today as the sheets date themselves, "2026年12月8日".
std::string Today() {
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    return Format("%d年%d月%d日", t->tm_year + 1900, t->tm_mon + 1, t->tm_mday);
}

// The drawings of --sheet, written whole or not at all.
bool WriteSheet(const SectionOptions& o, const SectionRun& run, const std::optional<std::vector<GroundSection>>& ground,
                const Chainage& chain) {
    std::vector<const GroundSection*> grounds;
    if (ground)
        for (const CrossSection& c : run.sections) grounds.push_back(GroundAtStation(*ground, c.dStation));
    const std::string name = o.road.substr(o.road.find_last_of('/') + 1);
    const SectionSheets sheets = LayOutSectionSheets(run, grounds, chain, {name, Today()},
                                                     o.paper == "A4" ? PaperSize::A4 : PaperSize::A3);
    const SheetFormat format = ExtensionOf(o.sheet) == "pdf" ? SheetFormat::Pdf : SheetFormat::Svg;
    const std::optional<std::string> bytes = SheetFileBytes(sheets.pages, format, name);
    if (bytes && WriteFileAtomically(o.sheet, *bytes)) return true;
    ComplainUtf8(Format(text::kCannotWrite, o.sheet.c_str()));
    return false;
}

// The points in the target grid of --four: centres, break points and catch
// points, which are all that the exports draw (the DXF too).
void ToTarget(const FourParam& four, SectionRun& run) {
    for (CrossSection& c : run.sections) {
        c.centre = ApplyFour(four, c.centre);
        for (SectionPoint& p : c.points) p.point = ApplyFour(four, p.point);
    }
    for (EarthSection& e : run.earth)
        for (std::optional<CatchSide>* side : {&e.left, &e.right})
            if (*side)
                for (SlopeVertex& v : (*side)->slope) v.point = ApplyFour(four, v.point);
}

int Run(const SectionOptions& o) {
    if (!o.stations.OneWay()) return kUsage;
    if (!DistinctFiles({o.output, o.sheet}, {o.road, o.tmpl, o.profile, o.slopes, o.widening, o.equations, o.ground, o.four}))
        return kUsage;
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    const std::optional<std::vector<double>> stations = AskedStations(o.stations, road, !o.equations.empty(), status);
    if (!stations) return status;
    const std::optional<SectionDesign> design = ReadDesign(o, road.Chain(), status);
    if (!design) return status;
    std::optional<std::vector<GroundSection>> ground;
    if (!o.ground.empty() && !(ground = ReadGround(o.ground, road.Chain(), status))) return status;
    std::optional<FourParam> four;
    if (!o.four.empty() && !(four = ReadFourParam(o.four, status))) return status;
    SectionRun answer = RunSections(road, *design, *stations, ground ? &*ground : nullptr);
    for (const std::string& m : answer.messages) Complain(m);  // each once; its line stands in the output
    if (!o.sheet.empty() && !WriteSheet(o, answer, ground, road.Chain())) return kRefused;
    if (four) ToTarget(*four, answer);
    if (!Write(o, answer, road, design->profile.has_value())) return kRefused;
    return answer.bWhole ? kDone : kRefused;
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
    cmd->add_option("--ground", o->ground, "Ground sections (.hdm): catch points, areas and volumes (needs --profile)");
    cmd->add_option("--from", o->stations.from, "Start station (a 桩号 with --equations)");
    cmd->add_option("--to", o->stations.to, "End station (a 桩号 with --equations)");
    cmd->add_option("--interval", o->stations.interval, "Interval between stations, metres");
    cmd->add_option("--at", o->stations.at, "Single stations, S1,S2,...")->delimiter(',');
    cmd->add_flag("--json", o->json, "Answer as JSON, numbers unrounded");
    cmd->add_option("--format", o->format, "list, txt, csv, cass or dxf")
        ->capture_default_str()
        ->check(CLI::IsMember({"list", "txt", "csv", "cass", "dxf"}));
    cmd->add_option("-o", o->output, "Write this file instead of stdout");
    cmd->add_option("--four", o->four, "Four parameters (.vxf): the points' X and Y in the target grid");
    cmd->add_option("--sheet", o->sheet, "Also draw the sections (横断面图) into FILE.pdf or FILE.svg (needs --profile)");
    cmd->add_option("--paper", o->paper, "The sheet's paper, landscape: A3 (3 × 3 sections) or A4 (2 × 2)")
        ->capture_default_str()
        ->check(CLI::IsMember({"A3", "A4"}));
    cmd->add_flag("--gbk", o->gbk, "GBK bytes on stdout instead of UTF-8 (list, txt)");
    cmd->callback([o, &status] {
        if (!o->slopes.empty() && o->profile.empty()) throw CLI::ValidationError("--slopes needs --profile");
        if (!o->ground.empty() && o->profile.empty()) throw CLI::ValidationError("--ground needs --profile");
        if (!o->sheet.empty() && o->profile.empty()) throw CLI::ValidationError("--sheet needs --profile: sections are drawn at their heights");
        if (o->json && o->format != "list") throw CLI::ValidationError("--json and --format go separately");
        if (!o->sheet.empty() && ExtensionOf(o->sheet) != "pdf" && ExtensionOf(o->sheet) != "svg")
            throw CLI::ValidationError("--sheet", "the drawings go into FILE.pdf or FILE.svg");
        o->stations.CheckArguments(!o->equations.empty());
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
