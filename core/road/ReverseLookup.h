#pragma once
#include <string>
#include <vector>

#include "core/road/Evaluate.h"
#include "core/geometry/PlanePoint.h"

// Station and offset of a point given by its X and Y.
namespace vexaline {

enum class LookupStatus {
    Converged,       // strStation and strOffset hold the answer
    NoControl,       // fewer than two control lines
    NotFound,        // left the station range, or did not converge in time
    BadStationLine,  // a control line's station is not a number (nBadLine)
    Failed,          // an evaluation returned a message (already reported)
};

struct LookupResult {
    LookupStatus status = LookupStatus::NotFound;
    std::string strStation;  // "%.3lf", GBK
    std::string strOffset;   // "右%.3lf米" / "左%.3lf米", GBK
    int nBadLine = 0;
    int nEvaluations = 0;    // evaluations made (one per correction step)
};

inline constexpr int kMaxLookupSteps = 100;

LookupResult ReverseLookup(const std::vector<std::string>& controlList, CPlanePoint q,
                           const MessageSink& report = MessageSink());

}  // namespace vexaline
