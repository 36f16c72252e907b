// vexaline-cli inspect: measured points against the design (检核), as the
// window's 检核 shows them; exit 0 when every point is within tolerance.
#include <cmath>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/InspectReport.h"
#include "core/files/PointImport.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct InspectOptions {
    std::string road, measured, profile, slopes, output, equations, four;
    std::string planMm = "20", heightMm = "10";
    bool json = false;
    std::string format = "text";
};

using Json = nlohmann::ordered_json;

Json Value(const std::optional<double>& v) { return v ? Json(*v) : Json(nullptr); }

// A tolerance in millimetres, or "off"; throws a usage error otherwise.
std::optional<double> ToleranceMetres(const std::string& mm, const char* option) {
    if (mm == "off") return std::nullopt;
    const std::optional<double> v = ParseNumber(mm);
    if (!v || !(*v >= 0) || *v > 1e6) throw CLI::ValidationError(option, "a tolerance in mm (>= 0) or off");
    return *v / 1000;
}

Json ToJson(const Inspection& inspection) {
    Json points = Json::array();
    for (const InspectRow& r : inspection.rows) {
        points.push_back({{"name", GbkToUtf8(r.point.strName)}, {"x", r.point.dX}, {"y", r.point.dY},
                          {"h", Value(r.point.height)},
                          {"station", !r.bFound ? Json(nullptr) : r.chain ? Json(r.chain->dValue) : Json(r.dStation)},
                          {"offset", r.bFound ? Json(r.dOffset) : Json(nullptr)}, {"named", r.bNamed},
                          {"dx", Value(r.dx)}, {"dy", Value(r.dy)}, {"d", Value(r.d)}, {"d_along", Value(r.dAlong)},
                          {"d_across", Value(r.dAcross)}, {"design_h", Value(r.designH)}, {"dh", Value(r.dh)},
                          {"in", r.bIn}});
        // With station equations "station" is the 桩号: its distance and occurrence beside it.
        if (r.chain) {
            points.back()["distance"] = r.dStation;
            points.back()["occurrence"] = r.chain->nOccurrence ? Json(r.chain->nOccurrence) : Json(nullptr);
        }
    }
    const InspectSummary& s = inspection.summary;
    return {{"points", points},
            {"summary",
             {{"points", s.nPoints}, {"in", s.nIn}, {"out", s.nOut}, {"max_d", Value(s.maxD)}, {"rms_d", Value(s.rmsD)},
              {"max_dh", Value(s.maxDh)}, {"rms_dh", Value(s.rmsDh)}}}};
}

// Measured points of the target grid of --four judged in the design grid:
// the points carried there, and in the rows back as measured, with ΔX and
// ΔY turned to the target grid's axes. The sizes (Δ, along, across) stay
// lengths of the design grid, where the tolerances judge them: they differ
// from the target grid's by K − 1, parts per million of a few millimetres.
Inspection InspectInTarget(const Alignment& road, const std::vector<MeasuredPoint>& measured,
                           const DesignHeights& design, const Tolerances& tolerances, const FourParam& four) {
    std::vector<MeasuredPoint> points = measured;
    for (MeasuredPoint& p : points) {
        const CPlanePoint inDesign = InverseFour(four, CPlanePoint(p.dX, p.dY));
        p.dX = inDesign.X, p.dY = inDesign.Y;
    }
    Inspection inspection = Inspect(road, points, design, tolerances);
    const double c = std::cos(four.dRotation), s = std::sin(four.dRotation);
    for (std::size_t i = 0; i < inspection.rows.size(); ++i) {
        InspectRow& r = inspection.rows[i];
        r.point = measured[i];
        if (r.dx && r.dy) {
            const double dx = *r.dx, dy = *r.dy;
            r.dx = dx * c - dy * s, r.dy = dy * c + dx * s;
        }
    }
    return inspection;
}

int Run(const InspectOptions& o, const Tolerances& tolerances) {
    if (!DistinctFiles({o.output}, {o.road, o.measured, o.profile, o.slopes, o.equations, o.four})) return kUsage;
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    const std::optional<std::string> bytes = ReadFile(o.measured);
    if (!bytes) return kUsage;
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
    if (road.BadStationRow()) return ComplainUtf8(road.StationRefusal()), kRefused;
    if (!road.Usable()) return ComplainUtf8(text::kNoControl), kRefused;
    const MeasuredImport points = ImportMeasuredPoints(*bytes, MeasuredFormatOf(o.measured));
    if (!points.Ok()) return ComplainUtf8(o.measured + ": " + points.strMessage), kRefused;
    DesignHeights design;
    if (heights) design.profile = &heights->profile, design.slopes = &heights->slopes;
    const Inspection inspection = four ? InspectInTarget(road, points.points, design, tolerances, *four)
                                       : Inspect(road, points.points, design, tolerances);
    if (inspection.bZeroHeightsIgnored) ComplainUtf8(text::kInspectZeroHeights);
    bool written = false;
    if (o.json) written = EmitBytes(ToJson(inspection).dump() + "\n", o.output);
    else if (o.format == "csv") written = EmitBytes(InspectCsv(inspection, tolerances), o.output);
    else written = EmitFile(InspectText(inspection, tolerances), o.output, false);
    return written && inspection.summary.nOut == 0 ? kDone : kRefused;
}

}  // namespace

void AddInspectCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<InspectOptions>();
    CLI::App* cmd = app.add_subcommand("inspect", "Measured points against the design (exit 1 when one is out)");
    cmd->add_option("ROAD", o->road, "Alignment file (.vxa)")->required();
    cmd->add_option("MEASURED", o->measured, "Measured points: CASS .dat, CSV name,X,Y,H, or .vxp")->required();
    cmd->add_option("--profile", o->profile, "Vertical alignment (.vxz): also judge heights");
    cmd->add_option("--slopes", o->slopes, "Cross slopes (.vxh) (needs --profile)");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): stations and stake names are 桩号");
    cmd->add_option("--four", o->four,
                    "Four parameters (.vxf): MEASURED is in the target grid; ΔX, ΔY along its axes");
    cmd->add_option("--plan-mm", o->planMm, "Plan tolerance in mm, or off (default 20)");
    cmd->add_option("--height-mm", o->heightMm, "Height tolerance in mm, or off (default 10)");
    cmd->add_flag("--json", o->json, "Answer as JSON (metres, unrounded)");
    cmd->add_option("--format", o->format, "Table as text (GBK in a file) or csv (UTF-8 with BOM)")
        ->check(CLI::IsMember({"text", "csv"}));
    cmd->add_option("-o", o->output, "Write to this file instead of stdout");
    cmd->callback([o, &status] {
        if (!o->slopes.empty() && o->profile.empty()) throw CLI::ValidationError("--slopes needs --profile");
        Tolerances tolerances;
        tolerances.plan = ToleranceMetres(o->planMm, "--plan-mm");
        tolerances.height = ToleranceMetres(o->heightMm, "--height-mm");
        status = Run(*o, tolerances);
    });
}

}  // namespace vexaline::cli
