// vexaline-cli lookup: the window's 平面反查, with the design elevation and
// the cut or fill when the road's heights are given.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/road/ReverseLookup.h"
#include "core/road/StakeHeight.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::cli {
namespace {

struct LookupOptions {
    std::string road;
    double x = 0, y = 0;
    bool json = false;
    std::string profile, slopes, equations;
    std::optional<double> height;
};

using Json = nlohmann::ordered_json;

// "填0.123米" where the design lies above the measured height, "挖" below.
std::string FillText(double fill) {
    const double mm = FixedRoundTrip(fill, 3);
    return mm < 0 ? Format(text::kCut, -mm) : Format(text::kFill, mm + 0.0);
}

// The design elevation and, with a measured height, the fill: added to the
// answer and the text.
void AddHeight(const LookupOptions& o, std::optional<double> design, Json& answer, std::string& line) {
    answer["elevation"] = design ? Json(FixedRoundTrip(*design, 3)) : Json(nullptr);
    line += ' ' + (design ? Format("%.3f", *design) : std::string(text::kOutsideProfile));
    if (!o.height) return;
    if (!design) {
        answer["fill"] = nullptr;
        return;
    }
    const double fill = *design - *o.height;
    answer["fill"] = FixedRoundTrip(fill, 3);
    answer["fill_text"] = FillText(fill);
    line += ' ' + FillText(fill);
}

int Run(const LookupOptions& o) {
    int status = kDone;
    const std::optional<Road> read = ReadRoad(o.road, o.equations, status);
    if (!read) return status;
    const Alignment& road = read->road;
    std::optional<Heights> heights;
    if (!o.profile.empty()) {
        heights = ReadHeights(o.profile, o.slopes, status, road.Chain());
        if (!heights) return status;
    }
    const LookupResult r = ReverseLookup(road, CPlanePoint(o.x, o.y), Complain);
    switch (r.status) {
    case LookupStatus::Converged: break;
    case LookupStatus::NoControl: return ComplainUtf8(text::kNoControl), kRefused;
    case LookupStatus::NotFound: return ComplainUtf8(text::kNotFound), kRefused;
    case LookupStatus::BadStationLine: return ComplainUtf8(road.StationRefusal()), kRefused;
    case LookupStatus::Failed: return kRefused;  // the message is on stderr
    }
    const std::string station = StationText(road, r.dStation), offset = GbkToUtf8(LookupOffsetText(r.dOffset));
    Json answer = {{"station", FixedRoundTrip(r.dStation, 3)}};
    if (!road.Chain().Empty()) {
        // The 桩号, and beside it the continuous distance the road is computed on.
        const ChainStation s = road.Chain().StationAt(r.dStation);
        answer["station"] = FixedRoundTrip(s.dValue, 3);
        answer["distance"] = FixedRoundTrip(r.dStation, 3);
        answer["occurrence"] = s.nOccurrence ? Json(s.nOccurrence) : Json(nullptr);
    }
    answer["offset"] = FixedRoundTrip(r.dOffset, 3);
    answer["station_text"] = station;
    answer["offset_text"] = offset;
    std::string line = station + ' ' + offset;
    if (heights)
        AddHeight(o, SurfaceElevation(heights->profile, heights->slopes, r.dStation, r.dOffset), answer, line);
    if (o.json) std::cout << answer.dump() << '\n';
    else std::cout << line << '\n';
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
    cmd->add_option("--profile", o->profile, "Vertical alignment (.vxz): also the design elevation at the point");
    cmd->add_option("--slopes", o->slopes, "Cross slopes (.vxh) (needs --profile)");
    cmd->add_option("--equations", o->equations, "Station equations (.vxd): the station as a 桩号, with the distance");
    cmd->add_option("--height", o->height, "Measured height of the point: also the fill (design − measured)");
    cmd->callback([o, &status] {
        if (!o->slopes.empty() && o->profile.empty()) throw CLI::ValidationError("--slopes needs --profile");
        if (o->height && o->profile.empty()) throw CLI::ValidationError("--height needs --profile");
        status = Run(*o);
    });
}

}  // namespace vexaline::cli
