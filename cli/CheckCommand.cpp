// vexaline-cli check: the window's 检查 of the control data.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/road/ControlCheck.h"
#include "core/road/CheckText.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct CheckOptions {
    std::string road, equations;
    CheckTolerance tolerance;
    bool json = false;
};

nlohmann::ordered_json Figure(const std::optional<double>& v, int decimals) {
    return v ? nlohmann::ordered_json(FixedRoundTrip(*v, decimals)) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json Json(const CheckReport& r) {
    static const char* const kFields[] = {"station", "x", "y", "radius", "line_type", "xy"};
    nlohmann::ordered_json elements = nlohmann::ordered_json::array();
    for (const ElementCheck& e : r.elements) {
        nlohmann::ordered_json problems = nlohmann::ordered_json::array();
        for (const CheckProblem& p : e.problems) problems.push_back(GbkToUtf8(CheckProblemText(p)));
        elements.push_back({{"row", e.nRow},
                            {"from", e.dFrom ? nlohmann::ordered_json(*e.dFrom) : nullptr},
                            {"to", e.dTo ? nlohmann::ordered_json(*e.dTo) : nullptr},
                            {"type", GbkToUtf8(e.strType)},
                            {"closure_start_mm", Figure(e.dClosureStartMm, 2)},
                            {"closure_end_mm", Figure(e.dClosureEndMm, 2)},
                            {"kink_sec", Figure(e.dKinkSec, 1)},
                            {"problems", problems},
                            {"flagged", e.bFlagged}});
    }
    nlohmann::ordered_json suggestion = nullptr;
    if (r.suggestion)
        suggestion = {{"row", r.suggestion->nRow},
                      {"field", kFields[static_cast<int>(r.suggestion->field)]},
                      {"from", GbkToUtf8(r.suggestion->strFrom)},
                      {"to", GbkToUtf8(r.suggestion->strTo)}};
    return {{"rows", r.nRows}, {"elements", elements}, {"flagged_rows", r.flaggedRows}, {"suggestion", suggestion}};
}

int Run(const CheckOptions& o) {
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    if (road.Rows().size() < 2) return ComplainUtf8(text::kCheckTooFew), kUsage;
    const CheckReport report = CheckControl(road, o.tolerance);
    if (o.json) {
        std::cout << Json(report).dump() << '\n';
    } else {
        for (const std::string& line : CheckReportLines(report, road.Rows(), o.tolerance))
            std::cout << GbkToUtf8(line) << '\n';
    }
    return report.flaggedRows.empty() ? kDone : kRefused;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<CheckOptions>();
    CLI::App* cmd = app.add_subcommand("check", "Check the control data: closures, kinks, rules");
    cmd->add_option("ROAD", o->road, "Alignment file (.vxa)")->required();
    cmd->add_option("--closure-mm", o->tolerance.dClosureMm, "Closure tolerance in mm (default 5)")
        ->check(CLI::PositiveNumber);
    cmd->add_option("--kink-sec", o->tolerance.dKinkSec, "Kink tolerance in seconds of arc (default 20)")
        ->check(CLI::PositiveNumber);
    cmd->add_flag("--json", o->json, "Report as JSON");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): the rows' stations are 桩号");
    cmd->callback([o, &status] { status = Run(*o); });
}

}  // namespace vexaline::cli
