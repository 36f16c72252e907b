#pragma once
#include <functional>
#include <string>

#include "core/geometry/Clothoid.h"
#include "core/geometry/Element.h"
#include "core/geometry/PlanePoint.h"

// Evaluation of the alignment at a station from the two control lines that
// bound its element, giving a finished result line.
namespace vexaline {

// Shows a message (GBK text) to the user; the call returns once it is read.
using MessageSink = std::function<void(const std::string& gbkMessage)>;

// mode 0: coordinate result line; 101: lookup text; any other: setting-out
// result line. When the control lines are inconsistent, or give a stake
// that is no finite number, the message is reported through report and
// returned in place of the line.
std::string EvaluateStation(double station, std::string startLine, std::string endLine, double offset,
                            double deflection, int mode, CPlanePoint instrument, CPlanePoint backsight,
                            std::string stationName, std::string backsightName,
                            const MessageSink& report = MessageSink());

// One element read from its two control lines once, for many stations: the
// lines are parsed and checked, and everything that does not hang on the
// station is worked out, when it is built. Each evaluation then gives, byte
// for byte, what EvaluateStation gives for the same two lines (including the
// message, reported again at every evaluation of a faulty element).
class PreparedElement {
public:
    PreparedElement() = default;  // evaluates to nothing until assigned
    PreparedElement(const std::string& startLine, const std::string& endLine);

    bool Ok() const { return ok_; }
    const std::string& Message() const { return message_; }  // GBK; empty when Ok

    // PointOnElement of the element's request at this station, bit for bit.
    // A faulty element gives its start point with azimuth 0.
    StakePoint Point(double station, double offset, double deflection) const;

    // Appends EvaluateStation's result to out; false when that is a message.
    bool Append(std::string& out, double station, double offset, double deflection, int mode,
                CPlanePoint instrument, CPlanePoint backsight, const std::string& stationName,
                const std::string& backsightName, const MessageSink& report = MessageSink());

private:
    ElementGeometry geometry_;
    ElementRequest base_{};  // the lines' fields; station, offset and deflection unset
    const std::string* remark_ = nullptr;
    bool ok_ = false;
    std::string message_;  // why the element cannot be evaluated
};

}  // namespace vexaline
