// vexaline-cli stakes: the window's 计算 and 加桩, in its two result modes
// and its list and export layouts.
#include <cmath>
#include <ctime>
#include <memory>
#include <set>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/PointFile.h"
#include "core/files/ResultsExport.h"
#include "core/files/StakeExport.h"
#include "core/road/StakeHeight.h"
#include "core/road/StakeRun.h"
#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct StakesOptions {
    std::string road;
    std::optional<std::string> from, to;
    std::optional<double> interval;
    std::vector<std::string> at;
    std::string equations;
    double offset = 0;
    std::string deflection = "90.0000";
    std::string station, backsight, points;
    std::string profile, slopes;
    std::string four;
    std::string format = "list";
    std::string output;
    bool gbk = false;
};

// "NAME,X,Y", or with a point file just NAME: the point as the station
// setup takes it. The name is GBK, at most 8 bytes. nullopt after saying
// why, status set: an argument that is no point is bad usage, a name the
// point file lacks refuses the run.
std::optional<std::pair<std::string, CPlanePoint>> ParsePoint(const std::string& arg,
                                                                const std::vector<std::string>* pointLines,
                                                                int& status) {
    status = kUsage;
    std::string name = arg;
    std::optional<CPlanePoint> at;
    if (!pointLines) {
        // Exactly "NAME,X,Y": a stray field or character is a typing fault.
        const std::size_t a = arg.find(','), b = a == std::string::npos ? a : arg.find(',', a + 1);
        const bool three = b != std::string::npos && arg.find(',', b + 1) == std::string::npos;
        const std::optional<double> x = three ? ParseNumber(arg.substr(a + 1, b - a - 1)) : std::nullopt;
        const std::optional<double> y = three ? ParseNumber(arg.substr(b + 1)) : std::nullopt;
        if (!x || !y) return ComplainUtf8(text::kBadPointArgument), std::nullopt;
        name = arg.substr(0, a);
        at = CPlanePoint(*x, *y);
    }
    std::string gbk;
    if (!Utf8ToGbk(name, gbk)) return ComplainUtf8(text::kNotGbk), std::nullopt;
    if (gbk.size() > 8) return ComplainUtf8(Format(text::kPointNameTooLong, name.c_str())), std::nullopt;
    if (!pointLines) return std::make_pair(gbk, *at);
    for (std::size_t i = 1; i < pointLines->size(); ++i) {
        const PointRecord p = SplitPointLine((*pointLines)[i]);
        if (p.strName == gbk) return std::make_pair(gbk, CPlanePoint(p.dX, p.dY));
    }
    status = kRefused;
    return ComplainUtf8(Format(text::kPointNotFound, name.c_str())), std::nullopt;
}

// The instrument station and backsight, or nullopt after saying why, with
// status set.
std::optional<StationSetup> Setup(const StakesOptions& o, int& status) {
    std::vector<std::string> pointLines;
    if (!o.points.empty()) {
        status = kUsage;
        std::optional<std::string> bytes = ReadFile(o.points);
        if (!bytes) return std::nullopt;
        pointLines = ParsePointFile(*bytes);
    }
    const std::vector<std::string>* file = o.points.empty() ? nullptr : &pointLines;
    auto station = ParsePoint(o.station, file, status);
    auto backsight = station ? ParsePoint(o.backsight, file, status) : std::nullopt;
    if (!station || !backsight) return std::nullopt;
    StationSetup setup{station->first, station->second, backsight->first, backsight->second};
    status = kRefused;
    const std::string fault = SetupMessage(setup);
    if (!fault.empty()) return ComplainUtf8(fault), std::nullopt;
    return setup;
}

// A DXF file in one piece, to the file or stdout: its centreline spans the
// stakes' range and dxflib writes it whole, in the target grid of --four.
// False after saying why when nothing could be written.
bool WriteDxf(const StakesOptions& o, const ResultSet& set, const Alignment& road, const std::optional<FourParam>& four) {
    const std::string out = StakesDxf(set, road, four ? &*four : nullptr);
    if (out.empty()) ComplainUtf8(Format(text::kCannotWrite, o.output.empty() ? "-" : o.output.c_str()));
    return !out.empty() && EmitBytes(out, o.output);
}

// The line layouts, written as the rows come: a head, then a line per row.
enum class Layout { List, Report, Cad, Cass, Csv };

Layout LayoutOf(const std::string& format) {
    if (format == "txt") return Layout::Report;
    if (format == "cad") return Layout::Cad;
    if (format == "cass") return Layout::Cass;
    if (format == "csv") return Layout::Csv;
    return Layout::List;
}

// What comes before the rows; the set's mode, heights and source are known.
std::string Head(Layout layout, const StakesOptions& o, const ResultSet& set) {
    switch (layout) {
    case Layout::List: return ResultHeader(set.mode, set.bHeights) + "\r\n";
    case Layout::Cass: return std::string();
    case Layout::Csv: return StakesCsvHead(set);
    case Layout::Report:
    case Layout::Cad: break;
    }
    const std::string name = o.output.empty() ? "-" : o.output.substr(o.output.find_last_of('/') + 1);
    return ResultsFileHead(set, layout == Layout::Cad ? ResultsLayout::Cad : ResultsLayout::Ordinary, name,
                           std::time(nullptr));
}

void AppendRow(std::string& out, Layout layout, const ResultSet& set, const StakeResult& row) {
    switch (layout) {
    case Layout::List:
        AppendResultLine(out, set, row);
        out += "\r\n";
        return;
    case Layout::Report: return AppendResultsFileRow(out, set, ResultsLayout::Ordinary, row);
    case Layout::Cad: return AppendResultsFileRow(out, set, ResultsLayout::Cad, row);
    case Layout::Cass: return AppendStakeCassDat(out, row);
    case Layout::Csv: return AppendStakeCsv(out, set, row);
    }
}

// A row in the target grid of --four: the stake carried, its tangent
// turned, its distance from the station K times (the angle from the
// backsight is the same in both grids).
void ToTarget(const FourParam& four, StakeResult& row) {
    if (row.IsMessage()) return;
    row.point = ApplyFour(four, row.point);
    row.dAzimuth = TurnAzimuth(four, row.dAzimuth);
    row.dDistance *= four.dScale;
}

// The stakes of the request (at: single stations, or nullptr for the run)
// into set's mode, written in the chosen format; the exit status.
int StakeAndWrite(const StakesOptions& o, const Alignment& road, const StakeRequest& request,
                  const std::vector<double>* at, const std::optional<Heights>& heights,
                  const std::optional<FourParam>& four, ResultSet& set) {
    // Each element's message once on stderr; its line stands in the output.
    std::set<std::string> told;
    const MessageSink report = [&told](const std::string& m) {
        if (told.insert(m).second) Complain(m);
    };
    if (o.format == "dxf") {
        if (!at) RunStakes(road, request, set, 0, nullptr, report);
        else
            for (double s : *at) AddStake(road, s, request, set, report);
        if (heights) AddHeights(set, road, heights->profile, heights->slopes);
        if (!WriteDxf(o, set, road, four)) return kRefused;
        return set.Stakes() == set.rows.size() ? kDone : kRefused;
    }

    // The other layouts are written as the rows come: a run of a million
    // stakes is never held, as rows or as text.
    const Layout layout = LayoutOf(o.format);
    const bool exchange = layout == Layout::Cass || layout == Layout::Csv;  // their own bytes on stdout too
    StreamedOutput out(o.output, exchange ? StreamedOutput::Kind::Bytes : StreamedOutput::Kind::GbkText, o.gbk);
    set.bHeights = heights.has_value();
    out.Buffer() = Head(layout, o, set);
    std::size_t messages = 0;
    const StakeSink write = [&](StakeResult& row) {
        if (heights) row.elevation = StakeElevation(road, heights->profile, heights->slopes, row);
        if (four) ToTarget(*four, row);
        messages += row.IsMessage();
        AppendRow(out.Buffer(), layout, set, row);
        return out.Flush();
    };
    if (!at && out.Flush()) StreamStakes(road, request, set, write, report);
    if (at && out.Flush()) {
        for (double s : *at) AddStake(road, s, request, set, report);
        for (StakeResult& row : set.rows)
            if (!write(row)) break;
    }
    if (!out.Close()) return kRefused;
    return messages == 0 ? kDone : kRefused;
}

// The typed stations as distances on the road; nullopt after naming one
// that maps to none.
std::optional<std::vector<double>> Distances(const Alignment& road, const std::vector<std::string>& typed,
                                            bool equations) {
    std::vector<double> out;
    for (const std::string& t : typed) {
        const std::optional<double> d = DistanceOn(road.Chain(), StationArgument(t, equations, "--at"), t);
        if (!d) return std::nullopt;
        out.push_back(*d);
    }
    return out;
}

int Run(const StakesOptions& o) {
    const bool range = o.from || o.to || o.interval;
    if (range == !o.at.empty() || (range && !(o.from && o.to && o.interval))) {
        ComplainUtf8(text::kRangeOrStations);
        return kUsage;
    }
    if (!DistinctFiles({o.output}, {o.road, o.profile, o.slopes, o.points, o.equations, o.four})) return kUsage;
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    const std::optional<std::vector<double>> at =
        Distances(road, range ? std::vector<std::string>{*o.from, *o.to} : o.at, !o.equations.empty());
    if (!at) return kRefused;
    StakeRequest request;
    if (range) {
        request.dStartStation = (*at)[0], request.dEndStation = (*at)[1], request.dInterval = *o.interval;
        // A run counts from the 桩号 typed: at an equation its back is not the ahead.
        if (!o.equations.empty()) request.dStartChainStation = StationArgument(*o.from, true, "--from").dValue;
        const StakeCheck check = CheckStakeRun(road, request);
        if (check != StakeCheck::Ok) return ComplainUtf8(CheckMessage(check, road)), kRefused;
    } else {
        for (double s : *at) {
            const StakeCheck check = CheckSingleStake(road, s);
            if (check != StakeCheck::Ok) return ComplainUtf8(CheckMessage(check, road)), kRefused;
        }
    }
    request.dOffset = o.offset;
    const std::optional<double> deflection = ParseDeflection(o.deflection);
    if (!deflection) return ComplainUtf8(DeflectionRefusal(o.deflection)), kUsage;
    request.dDeflection = *deflection;
    std::optional<Heights> heights;
    if (!o.profile.empty()) {
        heights = ReadHeights(o.profile, o.slopes, status, road.Chain());
        if (!heights) return status;
    }
    std::optional<FourParam> four;
    if (!o.four.empty()) {
        four = ReadFourParam(o.four, status);
        if (!four) return status;
    }
    ResultSet set;
    // The road named in the report and CSV headers: the file as given, without folder.
    set.source = ResultSource{o.road.substr(o.road.find_last_of('/') + 1), read->list, std::time(nullptr), {}, {}};
    const bool settingOut = !o.station.empty() || !o.backsight.empty() || !o.points.empty();
    if (settingOut) {
        const std::optional<StationSetup> setup = Setup(o, status);
        if (!setup) return status;
        set.mode = ResultMode::SettingOut;
        request.setup = *setup;
        // The site's control is in the target grid: the stakes are computed in the design grid.
        if (four) {
            request.setup.ptStation = InverseFour(*four, setup->ptStation);
            request.setup.ptBacksight = InverseFour(*four, setup->ptBacksight);
        }
    }

    return StakeAndWrite(o, road, request, range ? nullptr : &*at, heights, four, set);
}

}  // namespace

void AddStakesCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<StakesOptions>();
    CLI::App* cmd = app.add_subcommand("stakes", "Stakes over a station range or at single stations");
    cmd->add_option("ROAD", o->road, "Alignment file (.vxa)")->required();
    cmd->add_option("--from", o->from, "Start station (a 桩号 with --equations)");
    cmd->add_option("--to", o->to, "End station (a 桩号 with --equations)");
    cmd->add_option("--interval", o->interval, "Interval between stakes, metres");
    cmd->add_option("--at", o->at, "Single stations, S1,S2,...")->delimiter(',');
    cmd->add_option("--offset", o->offset, "Offset from the centreline, metres (left negative)")->capture_default_str();
    cmd->add_option("--deflection", o->deflection, "Deflection from the direction of the road, D.MMSS")->capture_default_str();
    cmd->add_option("--station", o->station, "Instrument station NAME,X,Y (NAME with --points)");
    cmd->add_option("--backsight", o->backsight, "Backsight NAME,X,Y (NAME with --points)");
    cmd->add_option("--points", o->points, "Traverse point file (.vxp) holding the two points");
    cmd->add_option("--format", o->format, "list, txt, cad, dxf, cass or csv")
        ->capture_default_str()
        ->check(CLI::IsMember({"list", "txt", "cad", "dxf", "cass", "csv"}));
    cmd->add_option("--profile", o->profile, "Vertical alignment (.vxz): each stake with its design elevation");
    cmd->add_option("--slopes", o->slopes, "Cross slopes (.vxh) for the side stakes' elevations (needs --profile)");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): stations are 桩号, K1+050.000(2) in a 长链");
    cmd->add_option("--four", o->four,
                    "Four parameters (.vxf): X, Y and azimuths in the target grid, and --station, --backsight "
                    "and --points read in it");
    cmd->add_option("-o", o->output, "Write this file (GBK) instead of stdout");
    cmd->add_flag("--gbk", o->gbk, "GBK bytes on stdout instead of UTF-8");
    cmd->callback([o, &status] {
        const bool named = !o->station.empty() || !o->backsight.empty();
        if (named && (o->station.empty() || o->backsight.empty()))
            throw CLI::ValidationError("--station and --backsight go together");
        if (!o->points.empty() && !named) throw CLI::ValidationError("--points needs --station and --backsight");
        if (!o->slopes.empty() && o->profile.empty()) throw CLI::ValidationError("--slopes needs --profile");
        // The stations' syntax is a usage fault, before any file is read.
        for (const std::string& s : o->at) StationArgument(s, !o->equations.empty(), "--at");
        if (o->from) StationArgument(*o->from, !o->equations.empty(), "--from");
        if (o->to) StationArgument(*o->to, !o->equations.empty(), "--to");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
