#include "core/road/Evaluate.h"

#include "core/road/Alignment.h"
#include "core/road/StakeRun.h"
#include "core/text/ResultText.h"

namespace vexaline {

std::string EvaluateStation(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName, const MessageSink& report) {
    const Alignment element = Alignment::OfTwoLines(startLine, endLine);
    ResultSet set;
    int setup = -1;
    if (mode != 0 && mode != 101) {
        set.mode = ResultMode::SettingOut;
        setup = set.AddSetup(StationSetup{std::move(stationName), instrument, std::move(backsightName), backsight});
    }
    AppendStake(set, element, 0, station, offset, deflection, setup, report);
    const StakeResult& row = set.rows.front();
    if (mode == 101 && !row.IsMessage()) return LookupText(row.point, row.dAzimuth);
    return ResultLine(set, 0);
}

}  // namespace vexaline
