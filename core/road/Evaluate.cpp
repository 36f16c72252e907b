#include "core/road/Evaluate.h"

#include "core/road/Alignment.h"
#include "core/road/StakeRun.h"
#include "core/road/ResultText.h"

namespace vexaline {

std::string EvaluateStation(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName, const MessageSink& report) {
    // The two lines as they are given, not put in station order.
    const Element element = MakeElement(ParseChangePoint(startLine), ParseChangePoint(endLine), 1, 2);
    const ElementGeometry geometry =
        element.fault == ElementFault::None ? ElementGeometry(element.Request()) : ElementGeometry();
    const bool settingOut = mode != 0 && mode != 101;
    const StationSetup setup{std::move(stationName), instrument, std::move(backsightName), backsight};
    StakeResult row;
    std::string out = StakeOn(element, geometry, station, offset, deflection, settingOut ? &setup : nullptr, row);
    if (!out.empty()) {
        if (report) report(out);
        return out;
    }
    if (mode == 101) return LookupText(row.point, row.dAzimuth);
    out.reserve(64);
    AppendStakeLine(out, settingOut ? ResultMode::SettingOut : ResultMode::Coordinates, row, &setup);
    return out;
}

}  // namespace vexaline
