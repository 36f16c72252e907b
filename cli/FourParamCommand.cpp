// vexaline-cli fourparam: the four parameters (四参数) between two grids
// solved from common points, with each point's residuals.
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/files/FourParamCsv.h"
#include "core/text/AngleText.h"
#include "core/text/DmsText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct FourParamOptions {
    std::string common, output;
    bool json = false;
};

constexpr double kSeconds = 648000 / kPi;  // arc seconds in a radian

nlohmann::ordered_json ToJson(const FourSolve& s) {
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    for (const FourResidual& r : s.residuals) points.push_back({{"name", r.strName}, {"vx", r.vx}, {"vy", r.vy}});
    const FourParam& p = s.params;
    return {{"dx", p.dDx},
            {"dy", p.dDy},
            {"rotation_sec", p.dRotation * kSeconds},
            {"scale", p.dScale},
            {"scale_ppm", (p.dScale - 1) * 1e6},
            {"rms", s.rms ? nlohmann::ordered_json(*s.rms) : nlohmann::ordered_json(nullptr)},
            {"points", points},
            {"outliers", s.outliers}};
}

// The report as GBK lines, for EmitFile.
std::string Report(const FourSolve& s) {
    const FourParam& p = s.params;
    std::string out;
    auto line = [&out](const std::string& utf8) { out += Utf8ToGbkLossy(utf8) + "\r\n"; };
    line(Format(text::kFourTitle, s.residuals.size()));
    line(Format(text::kFourDx, p.dDx));
    line(Format(text::kFourDy, p.dDy));
    line(Format(text::kFourRotation, DmsDegreesText(p.dRotation * kSeconds / 3600, 5).c_str(), p.dRotation * kSeconds));
    line(Format(text::kFourScaleLine, Format("%.12f", p.dScale).c_str(), (p.dScale - 1) * 1e6));
    line(s.rms ? Format(text::kFourRms, *s.rms) : std::string(text::kFourNoRms));
    line(text::kFourResidualHead);
    for (const FourResidual& r : s.residuals) {
        const std::size_t start = out.size();
        out += Utf8ToGbkLossy(r.strName);
        PadColumn(out, start, 16);
        const std::size_t x = out.size();
        out += Format("%.4f", r.vx);
        PadColumn(out, x, 10);
        out += Format("%.4f\r\n", r.vy);
    }
    return out;
}

int Run(const FourParamOptions& o) {
    if (!DistinctFiles({o.output}, {o.common})) return kUsage;
    const std::optional<std::string> bytes = ReadFile(o.common);
    if (!bytes) return kUsage;
    const CommonPointsRead read = ReadCommonPointsCsv(*bytes);
    if (!read.Ok()) return ComplainUtf8(o.common + ": " + read.strMessage), kRefused;
    const FourSolve solved = SolveFourParam(read.points);
    if (!solved.Ok()) return ComplainUtf8(solved.strMessage), kRefused;
    std::string outliers;
    for (const std::string& name : solved.outliers) outliers += (outliers.empty() ? "" : "、") + name;
    if (!outliers.empty()) ComplainUtf8(Format(text::kFourOutliers, outliers.c_str()));
    if (!o.output.empty() && !EmitBytes(FourParamCsvText(solved.params), o.output)) return kRefused;
    if (o.json) return EmitBytes(ToJson(solved).dump() + "\n", std::string()) ? kDone : kRefused;
    return EmitFile(Report(solved), std::string(), false) ? kDone : kRefused;
}

}  // namespace

void AddFourParamCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<FourParamOptions>();
    CLI::App* cmd = app.add_subcommand("fourparam", "四参数 from common points, with their residuals");
    cmd->add_option("COMMON", o->common, "Common points (CSV): 点名,X,Y,X',Y' (source grid, then target grid)")->required();
    cmd->add_option("-o", o->output, "Write the parameters to this file (.vxf)");
    cmd->add_flag("--json", o->json, "Answer as JSON (metres, seconds, unrounded)");
    cmd->callback([o, &status] { status = Run(*o); });
}

}  // namespace vexaline::cli
