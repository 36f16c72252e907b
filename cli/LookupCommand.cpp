// vexaline-cli lookup: the window's 平面反查.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/road/ReverseLookup.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct LookupOptions {
    std::string road;
    double x = 0, y = 0;
    bool json = false;
};

int Run(const LookupOptions& o) {
    const std::optional<std::vector<std::string>> list = ReadControlList(o.road);
    if (!list) return kUsage;
    const LookupResult r = ReverseLookup(Alignment::Parse(*list), CPlanePoint(o.x, o.y), Complain);
    switch (r.status) {
    case LookupStatus::Converged: break;
    case LookupStatus::NoControl: return ComplainUtf8(text::kNoControl), kRefused;
    case LookupStatus::NotFound: return ComplainUtf8(text::kNotFound), kRefused;
    case LookupStatus::BadStationLine: return ComplainUtf8(Format(text::kBadStationLine, r.nBadLine)), kRefused;
    case LookupStatus::Failed: return kRefused;  // the message is on stderr
    }
    const std::string station = LookupStationText(r.dStation), offset = GbkToUtf8(LookupOffsetText(r.dOffset));
    if (o.json) {
        const nlohmann::ordered_json answer = {{"station", FixedRoundTrip(r.dStation, 3)},
                                       {"offset", FixedRoundTrip(r.dOffset, 3)},
                                       {"station_text", station},
                                       {"offset_text", offset}};
        std::cout << answer.dump() << '\n';
    } else {
        std::cout << station << ' ' << offset << '\n';
    }
    return kDone;
}

}  // namespace

void AddLookupCommand(CLI::App& app, int& status) {
    auto o = std::make_shared<LookupOptions>();
    CLI::App* cmd = app.add_subcommand("lookup", "Station and offset of a point");
    cmd->add_option("ROAD", o->road, "Alignment file (.vxa)")->required();
    cmd->add_option("X", o->x, "X (north)")->required();
    cmd->add_option("Y", o->y, "Y (east)")->required();
    cmd->add_flag("--json", o->json, "Answer as JSON");
    cmd->callback([o, &status] { status = Run(*o); });
}

}  // namespace vexaline::cli
