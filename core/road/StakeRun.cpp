#include "core/road/StakeRun.h"

#include "core/text/AngleText.h"
#include "core/text/TextFields.h"

namespace vexaline {

StakeCheck CheckStakeRun(const std::vector<std::string>& controlList, const StakeRequest& request,
                         BracketTable& table, int& badLine) {
    if (controlList.size() < 3) return StakeCheck::NoControl;  // header and fewer than two lines
    if (!BuildBracketTable(controlList, table, badLine)) return StakeCheck::BadStationLine;
    // Written as negations so that a NaN field fails the check.
    if (!(request.dStartStation >= table.Min()) || !(request.dEndStation <= table.Max()))
        return StakeCheck::OutOfRange;
    if (!(request.dStartStation <= request.dEndStation) || !(request.dInterval > 0))
        return StakeCheck::InvalidRange;
    double steps = (request.dEndStation - request.dStartStation) / request.dInterval;
    if (!(steps < kMaxStakes)) return StakeCheck::TooManyStakes;
    return StakeCheck::Ok;
}

double DeflectionRadians(const std::string& strDeflection) {
    double radians = 0;
    ReadDouble(DmsToRadians(strDeflection), radians);
    return radians;
}

void RunStakes(const std::vector<std::string>& controlList, const BracketTable& table,
               const StakeRequest& request, double deflection, int startPosition,
               std::vector<std::string>& out, const std::function<void(int)>& progress,
               const MessageSink& report) {
    if (table.entries.size() < 2) return;
    const double steps = (request.dEndStation - request.dStartStation) / request.dInterval;
    if (steps >= 0 && steps < kMaxStakes) out.reserve(out.size() + static_cast<std::size_t>(steps) + 2);

    int position = startPosition;
    long long c = 0;
    PreparedElement element;
    Bracketing current{-1, -1};
    std::string line;
    line.reserve(128);
    // A faulty element leaves its message as a line at every stake, but the
    // box comes once per element: a long element at a short interval would
    // otherwise ask for a click per stake.
    bool reported = false;
    MessageSink reportOnce;
    if (report) reportOnce = [&reported, &report](const std::string& message) {
        if (!reported) report(message);
        reported = true;
    };
    double s = request.dStartStation;
    for (;;) {
        ++c;
        // The bar follows c × 100 / steps, truncated, only forward; the
        // control shows at most 100, so it moves at most 100 times.
        if (steps != 0) {
            double w = static_cast<double>(c) * 100 / steps;
            if (w < 2147483648.0 && w >= -2147483648.0) {
                int wi = static_cast<int>(w);
                if (position < wi) {
                    int shown = wi > 100 ? 100 : wi;
                    if (shown != position) {
                        position = shown;
                        if (progress) progress(position);
                    }
                }
            }
        }
        Bracketing b = Bracket(table, s);
        if (b.nStartLine != current.nStartLine || b.nEndLine != current.nEndLine) {
            element = PreparedElement(controlList[b.nStartLine], controlList[b.nEndLine]);
            current = b;
            reported = false;
        }
        line.clear();
        element.Append(line, s, request.dOffset, deflection, request.nResultMode, request.ptStation,
                       request.ptBacksight, request.strStationName, request.strBacksightName, reportOnce);
        out.emplace_back(line);
        // The running sum, not start + c × interval. A sum that no longer
        // grows would never pass the end station: stop there.
        double next = s + request.dInterval;
        if (!(next > s)) break;
        s = next;
        if (s > request.dEndStation) break;
    }
}

StakeCheck CheckSingleStake(const std::vector<std::string>& controlList, double station, BracketTable& table,
                            int& badLine) {
    if (controlList.size() < 3) return StakeCheck::NoControl;
    if (!BuildBracketTable(controlList, table, badLine)) return StakeCheck::BadStationLine;
    if (!(station >= table.Min() && station <= table.Max())) return StakeCheck::OutOfRange;
    return StakeCheck::Ok;
}

std::string SingleStake(const std::vector<std::string>& controlList, const BracketTable& table, double station,
                        const StakeRequest& request, double deflection, const MessageSink& report) {
    if (table.entries.size() < 2) return std::string();
    Bracketing b = Bracket(table, station);
    return EvaluateStation(station, controlList[b.nStartLine], controlList[b.nEndLine], request.dOffset,
                           deflection, request.nResultMode, request.ptStation, request.ptBacksight,
                           request.strStationName, request.strBacksightName, report);
}

}  // namespace vexaline
