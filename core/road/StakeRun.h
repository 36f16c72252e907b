#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/road/Bracket.h"
#include "core/road/Evaluate.h"
#include "core/geometry/PlanePoint.h"

// The stake run over a station range and the single stake: the window's
// handlers read their fields into a StakeRequest and append what comes back.
namespace vexaline {

struct StakeRequest {
    double dStartStation = 0;
    double dEndStation = 0;
    double dInterval = 0;
    double dOffset = 0;
    std::string strDeflection;  // D.MMSS text
    int nResultMode = 0;        // 0 coordinates, 1 setting-out elements
    CPlanePoint ptStation;      // instrument station (setting-out mode)
    CPlanePoint ptBacksight;
    std::string strStationName;  // GBK
    std::string strBacksightName;
};

enum class StakeCheck {
    Ok,
    NoControl,       // "请检查是否打开控制文件!"
    OutOfRange,      // "输入的桩号超出了范围!"
    InvalidRange,    // "输入的起止桩号无效!"
    BadStationLine,  // a control line's station is not a number (badLine)
    TooManyStakes,   // more than kMaxStakes stakes: text::kTooManyStakes with kMaxStakes
};

// A run of more stakes than this would not fit in memory (about 110 bytes a
// line); an interval typed a few orders too small is refused, not run out.
inline constexpr int kMaxStakes = 10000000;

// The checks before a run, in their order (TooManyStakes last); on Ok the
// table is built.
StakeCheck CheckStakeRun(const std::vector<std::string>& controlList, const StakeRequest& request,
                         BracketTable& table, int& badLine);

// The deflection as the geometry gets it: D.MMSS to a radians text and back,
// so it carries six decimals of a radian.
double DeflectionRadians(const std::string& strDeflection);

// The run itself: one line per stake from the start station, adding the
// interval until the running sum passes the end station, appended to out.
// progress(position) is called each time the bar moves forward (at most 100
// times; position never above 100), starting from startPosition.
void RunStakes(const std::vector<std::string>& controlList, const BracketTable& table,
               const StakeRequest& request, double deflection, int startPosition,
               std::vector<std::string>& out, const std::function<void(int)>& progress,
               const MessageSink& report = MessageSink());

// "加桩": the checks before a single stake (NoControl: do nothing, silently;
// OutOfRange: the station lies outside the control stations) ...
StakeCheck CheckSingleStake(const std::vector<std::string>& controlList, double station,
                            BracketTable& table, int& badLine);

// ... and, after them (and the station setup in setting-out mode), its line.
std::string SingleStake(const std::vector<std::string>& controlList, const BracketTable& table,
                        double station, const StakeRequest& request, double deflection,
                        const MessageSink& report = MessageSink());

}  // namespace vexaline
