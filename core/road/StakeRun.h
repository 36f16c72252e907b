#pragma once
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "core/road/Alignment.h"
#include "core/road/Results.h"

// Stakes on the road: the run over a station range and the single stake,
// as result values. The window and the command line read their fields into
// a StakeRequest, check it, and render what comes back.
namespace vexaline {

struct StakeRequest {
    double dStartStation = 0;
    double dEndStation = 0;
    double dInterval = 0;
    double dOffset = 0;
    double dDeflection = 0;  // radians, from ParseDeflection
    StationSetup setup;      // setting-out mode only
    // On a road with station equations: the start's 桩号 as typed (without
    // its occurrence), which the run counts its intervals from; it differs
    // from the 桩号 of dStartStation at an equation typed as its back. NaN:
    // the 桩号 of dStartStation.
    double dStartChainStation = std::numeric_limits<double>::quiet_NaN();
};

enum class StakeCheck {
    Ok,
    NoControl,       // "请检查是否打开控制文件!"
    OutOfRange,      // "输入的桩号超出了范围!"
    InvalidRange,    // "输入的起止桩号无效!"
    BadStationLine,  // a row's station is not a number (Alignment::BadStationRow)
    TooManyStakes,   // more than kMaxStakes stakes: text::kTooManyStakes with kMaxStakes
};

// A run of more stakes than this would not fit the window's list (the command
// line streams, but keeps the same bound); an interval typed a few orders too
// small is refused, not run out.
inline constexpr int kMaxStakes = 10000000;

// The checks before a run, in their order (TooManyStakes last). NaN fields
// fail them.
StakeCheck CheckStakeRun(const Alignment& road, const StakeRequest& request);

// The checks before a single stake: NoControl (the window then does nothing,
// silently), BadStationLine, OutOfRange.
StakeCheck CheckSingleStake(const Alignment& road, double station);

// The deflection rule: a D.MMSS text that holds no finite number, or whose
// minutes or seconds reach 60, is refused (nullopt; DeflectionRefusal gives
// the text that says why, naming the field); otherwise the angle as the geometry gets it, D.MMSS to a
// radians text "%lf" and back, so it carries six decimals of a radian.
std::optional<double> ParseDeflection(const std::string& dms);
const char* DeflectionRefusal(const std::string& dms);  // nullptr when taken

// One stake on an element whose geometry is worked out: the row, with the
// angle and distance from setup when one is given (setting-out). Empty when
// it is a stake; otherwise the message (GBK) that stands in its place: the
// element's fault, or a stake that is no finite number or whose point is no
// survey coordinate (IsSurveyCoordinate).
std::string StakeOn(const Element& element, const ElementGeometry& geometry, double station, double offset,
                    double deflection, const StationSetup* setup, StakeResult& row);

// One stake on element e appended to set: in the set's mode, for setting-out
// with set.setups[setup]. A faulty element, or a stake that is no finite
// number, appends a message row instead, reports it, and gives false.
bool AppendStake(ResultSet& set, const Alignment& road, std::size_t e, double station, double offset,
                 double deflection, int setup, const MessageSink& report = MessageSink());

// The run: one row per stake from the start station, adding the interval
// until the running sum passes the end station, appended to set (whose mode
// decides the form). progress(position) is called each time the bar moves
// forward, at most 100 times, position never above 100, starting from
// startPosition. A faulty element's message is reported once per element
// and stands at each of its stakes. Needs CheckStakeRun's Ok.
// On a road with station equations (road.Chain()) the request's stations
// are distances and the run is by 桩号: in each zone the 桩号 that are the
// start's 桩号 (dStartChainStation) plus a whole number of intervals
// (A + n × interval, one rounding), and every equation point between the
// ends once, named by its two 桩号 (StakeResult::chain, equationBack); a
// 桩号 within kSamePlace of an equation's is that equation's row, and one
// within kSamePlace beyond an end of the range is that end.
void RunStakes(const Alignment& road, const StakeRequest& request, ResultSet& set, int startPosition,
               const std::function<void(int)>& progress, const MessageSink& report = MessageSink());

// Where a streamed run's rows go, each as it is computed, in list order:
// the row refers to the messages and setups of the run's set. The sink may
// fill in what the run leaves (a design elevation). False: take no more,
// the run stops.
using StakeSink = std::function<bool(StakeResult& row)>;

// RunStakes' run, stepped and checked by the same loop, with each row
// handed to sink instead of appended to set: set gets the range, the setup
// and the messages the rows refer to, and its rows stay as they were, so a
// run of millions of stakes can go to a file without being held. No
// progress. False when the sink stopped it. Needs CheckStakeRun's Ok.
bool StreamStakes(const Alignment& road, const StakeRequest& request, ResultSet& set, const StakeSink& sink,
                  const MessageSink& report = MessageSink());

// The distances a run by 桩号 stakes on the equations (see RunStakes), in
// road order; the request's stations are distances, its interval > 0.
std::vector<double> ChainedRun(const Chainage& chain, const StakeRequest& request);

// "加桩": one row at the station. Needs CheckSingleStake's Ok.
bool AddStake(const Alignment& road, double station, const StakeRequest& request, ResultSet& set,
              const MessageSink& report = MessageSink());

}  // namespace vexaline
