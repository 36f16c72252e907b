// vexaline-cli chainage: 桩号 to continuous distance and back on a table of
// station equations.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/geometry/PlanePoint.h"
#include "core/text/FixedText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct ChainageOptions {
    std::string equations;
    std::vector<std::string> at;
    std::vector<double> distance;
    bool json = false;
};

using Json = nlohmann::ordered_json;

int Run(const ChainageOptions& o) {
    int status = kDone;
    const std::optional<Chainage> chain = ReadEquations(o.equations, status);
    if (!chain) return status;
    // Each answer as a 桩号 and its distance; all or none.
    std::vector<std::pair<ChainStation, double>> answers;
    for (const std::string& typed : o.at) {
        const std::optional<double> d = DistanceOn(*chain, *ParseChainStation(typed), typed);
        if (!d) return kRefused;
        answers.emplace_back(chain->StationAt(*d), *d);
    }
    for (double d : o.distance) answers.emplace_back(chain->StationAt(d), d);
    Json list = Json::array();
    for (const auto& [s, d] : answers) {
        if (o.json) {
            list.push_back({{"station", FixedRoundTrip(s.dValue, 3)},
                            {"occurrence", s.nOccurrence ? Json(s.nOccurrence) : Json(nullptr)},
                            {"distance", FixedRoundTrip(d, 3)}});
        } else {
            std::cout << ChainStationText(s) << ' ' << ChainKStation(s) << ' ' << Format("%.3f", d) << '\n';
        }
    }
    if (o.json) std::cout << Json{{"stations", list}}.dump() << '\n';
    return kDone;
}

}  // namespace

void AddChainageCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<ChainageOptions>();
    CLI::App* cmd = app.add_subcommand("chainage", "桩号 to continuous distance and back (断链)");
    cmd->add_option("EQUATIONS", o->equations, "Station equations (.vxd: 断链前桩号,断链后桩号)")->required();
    cmd->add_option("--at", o->at, "桩号 S1,S2,... (1050.000(2) or K1+050.000(2) inside a 长链)")->delimiter(',');
    cmd->add_option("--distance", o->distance, "Continuous distances D1,D2,...")->delimiter(',');
    cmd->add_flag("--json", o->json, "Answer as JSON");
    cmd->callback([o, &status] {
        if (o->at.empty() == o->distance.empty()) throw CLI::ValidationError("give --at or --distance, one of them");
        for (const std::string& s : o->at) StationArgument(s, true, "--at");
        for (double d : o->distance)
            if (!IsSurveyCoordinate(d)) throw CLI::ValidationError("--distance", "a distance within 1e8 m");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
