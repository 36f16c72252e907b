#pragma once
#include <string>

#include "core/geometry/Clothoid.h"
#include "core/geometry/Element.h"
#include "core/geometry/PlanePoint.h"
#include "core/road/Results.h"

// Evaluation of the alignment at a station from the two control lines that
// bound its element, giving a finished result text: the classic entry
// point, kept with its signature over the typed model (Alignment, the stake
// values and their rendering).
namespace vexaline {

// mode 0: coordinate result line; 101: lookup text; any other: setting-out
// result line. When the control lines are inconsistent, or give a stake
// that is no finite number, the message is reported through report and
// returned in place of the line.
std::string EvaluateStation(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName,
                            const MessageSink& report = MessageSink());

}  // namespace vexaline
