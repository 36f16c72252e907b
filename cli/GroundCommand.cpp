// vexaline-cli ground: the ground sections (.hdm) at stations of the road,
// cut from a TIN of surveyed points or grouped from the points a crew
// measured across the road.
#include <memory>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/GroundFile.h"
#include "core/files/PointImport.h"
#include "core/road/CrewSections.h"
#include "core/road/GroundModel.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

// A drone or total-station survey of a corridor runs to a million points and more.
struct GroundOptions {
    std::string road, points, equations, output;
    StationsAsked stations;
    bool tin = false, crew = false;
    double width = 50, band = 0.5, maxEdge = kTinMaxEdge;
};

// The lines across the road at the stations; a station that cannot be staked is named and left out.
std::vector<SectionLine> Lines(const Alignment& road, const std::vector<double>& stations) {
    std::vector<SectionLine> lines;
    for (double s : stations) {
        SectionLine line = SectionLineAt(road, s);
        if (!line.strMessage.empty()) Complain(line.strMessage);
        else lines.push_back(std::move(line));
    }
    return lines;
}

// The sections cut from the TIN; those that miss it named. nullopt after
// naming the file whose points make no model.
std::optional<std::vector<GroundSection>> FromTin(const GroundOptions& o, const std::vector<MeasuredPoint>& points,
                                                  const std::vector<SectionLine>& lines, const Chainage& chain) {
    const GroundModelBuild model = GroundModel::Build(points);
    if (!model.Ok()) return ComplainUtf8(o.points + "：" + model.strMessage), std::nullopt;
    std::vector<GroundSection> sections;
    for (GroundSection& s : model.model.Cut(lines, o.width, o.maxEdge)) {
        if (s.points.empty()) ComplainUtf8(Format(text::kTinOutside, KStationOf(chain, s.dStation).c_str()));
        else sections.push_back(std::move(s));
    }
    return sections;
}

std::vector<GroundSection> FromCrew(const GroundOptions& o, const std::vector<MeasuredPoint>& points,
                                    const std::vector<SectionLine>& lines, const Alignment& road) {
    CrewSections crew = GroupCrewPoints(road, points, lines, o.band);
    for (const std::string& m : crew.messages) ComplainUtf8(m);
    if (!crew.strFurthest.empty())
        ComplainUtf8(Format(text::kCrewFurthest, GbkToUtf8(crew.strFurthest).c_str(), crew.dFurthest,
                            KStationOf(road.Chain(), crew.dFurthestStation).c_str()));
    return std::move(crew.sections);
}

int Run(const GroundOptions& o) {
    if (!o.stations.OneWay()) return kUsage;
    if (!DistinctFiles({o.output}, {o.road, o.points, o.equations})) return kUsage;
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    const std::optional<std::vector<double>> stations = AskedStations(o.stations, road, !o.equations.empty(), status);
    if (!stations) return status;
    const std::optional<std::string> bytes = ReadFile(o.points);
    if (!bytes) return kUsage;
    const MeasuredImport points = ImportMeasuredPoints(*bytes, MeasuredFormatOf(o.points), kMaxGroundModelPoints);
    if (!points.Ok()) return ComplainUtf8(o.points + "：" + points.strMessage), kUsage;
    const std::vector<SectionLine> lines = Lines(road, *stations);
    std::vector<GroundSection> sections;
    if (o.tin) {
        std::optional<std::vector<GroundSection>> cut = FromTin(o, points.points, lines, road.Chain());
        if (!cut) return kUsage;
        sections = std::move(*cut);
    } else {
        sections = FromCrew(o, points.points, lines, road);
    }
    if (sections.empty()) return ComplainUtf8(text::kGroundNoSections), kRefused;
    if (!EmitBytes(GroundFileText(sections, road.Chain()), o.output)) return kRefused;
    return sections.size() == stations->size() ? kDone : kRefused;
}

}  // namespace

void AddGroundCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<GroundOptions>();
    CLI::App* cmd =
        app.add_subcommand("ground", "Ground sections (.hdm) from a TIN of surveyed points or a crew's cross-sections");
    cmd->add_option("ROAD", o->road, "Alignment file (.vxa)")->required();
    cmd->add_option("--points", o->points, "Surveyed points with heights: CASS .dat or CSV name,X,Y,H")->required();
    CLI::Option* tin = cmd->add_flag("--tin", o->tin, "Cut each section from a TIN of the points");
    CLI::Option* crew = cmd->add_flag("--sections", o->crew, "Group the points a crew measured across the road");
    tin->excludes(crew);
    cmd->add_option("--width", o->width, "Half the width of a TIN section, metres (default 50)")->needs(tin);
    cmd->add_option("--max-edge", o->maxEdge,
                    "A triangle with a longer edge spans no survey: no ground there, metres (default 100)")
        ->needs(tin);
    cmd->add_option("--band", o->band, "How far a crew's point may lie off its section, metres (default 0.5)")
        ->needs(crew);
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): stations are 桩号, K1+050.000(2) in a 长链");
    cmd->add_option("--from", o->stations.from, "Start station (a 桩号 with --equations)");
    cmd->add_option("--to", o->stations.to, "End station (a 桩号 with --equations)");
    cmd->add_option("--interval", o->stations.interval, "Interval between stations, metres");
    cmd->add_option("--at", o->stations.at, "Single stations, S1,S2,...")->delimiter(',');
    cmd->add_option("-o", o->output, "Write the sections to this file (.hdm) instead of stdout");
    cmd->callback([o, &status] {
        if (!o->tin && !o->crew) throw CLI::ValidationError("--tin or --sections", "one of the two is needed");
        if (!(o->width > 0 && o->width <= kMaxGroundOffset)) throw CLI::ValidationError("--width", "metres, above 0");
        if (!(o->band > 0 && o->band <= 100)) throw CLI::ValidationError("--band", "metres, above 0, at most 100");
        if (!(o->maxEdge > 0)) throw CLI::ValidationError("--max-edge", "metres, above 0");
        o->stations.CheckArguments(!o->equations.empty());
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
