#pragma once
#include <functional>
#include <string>

#include "geometry/PlanePoint.h"

// Evaluation of the alignment at a station from the two control lines that
// bound its element, giving a finished result line.
namespace vexaline {

// Shows a message (GBK text) to the user; the call returns once it is read.
using MessageSink = std::function<void(const std::string& gbkMessage)>;

// mode 0: coordinate result line; 101: lookup text; any other: setting-out
// result line. When the control lines are inconsistent the message is
// reported through report and returned in place of the line.
std::string EvaluateStation(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName,
                            const MessageSink& report = MessageSink());

}  // namespace vexaline
