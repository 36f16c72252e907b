#pragma once
#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/PlanePoint.h"
#include "core/road/Alignment.h"
#include "core/text/StationText.h"

// Results as values: what a run, a single stake or the lookup computed. The
// lines the window lists and the files hold are rendered from these
// (ResultText.h, beside it); nothing reads numbers back out of a line.
namespace vexaline {

// Shows a message (GBK text) to the user; the call returns once it is read.
using MessageSink = std::function<void(const std::string& gbkMessage)>;

enum class ResultMode { Coordinates, SettingOut };

// An instrument station oriented on a backsight (setting-out mode).
struct StationSetup {
    std::string strStationName;  // GBK, at most 8 bytes
    CPlanePoint ptStation;
    std::string strBacksightName;
    CPlanePoint ptBacksight;
};

// The station and the backsight must differ, by name and by position:
// otherwise no angle can be turned from the backsight.
bool CanOrient(const StationSetup& setup);

// One row of the results. Either a stake, or the message that stands in its
// place (nMessage >= 0: the stake's numbers are then meaningless).
struct StakeResult {
    double dStation = 0;
    CPlanePoint point;        // the stake: centre, or side stake when dOffset != 0
    double dAzimuth = 0;      // tangent azimuth of the centreline, [0, 2π)
    double dOffset = 0;       // as asked for
    double dDeflection = 0;   // radians, as asked for
    double dAngle = 0;        // setting-out: clockwise from the backsight, [0, 2π)
    double dDistance = 0;     // setting-out: horizontal distance from the station
    LineType segment = LineType::Invalid;  // the element's line type
    int nMessage = -1;        // index into ResultSet::messages, or -1
    int nSetup = -1;          // index into ResultSet::setups (setting-out), or -1
    std::optional<double> elevation;  // design elevation of the stake (StakeHeight.h); none outside the profile
    // On a road with station equations: the 桩号 of dStation (a distance),
    // and at an equation's point its back 桩号 (the row is then named
    // "K50+622.760=K50+621.166", remark 断链). Both none without equations.
    std::optional<ChainStation> chain;
    std::optional<double> equationBack;

    bool IsMessage() const { return nMessage >= 0; }
};

// The station range and interval of a run, kept with its rows so that what
// prints them can say what they are.
struct StakeRange {
    double dFrom = 0, dTo = 0, dInterval = 0;
};

// The road a results list was computed from, and when: what prints or
// saves the rows names it, and rows are not shown as another road's.
struct ResultSource {
    std::string strFile;                   // the alignment file's name without folder, UTF-8; empty: none
    std::vector<std::string> controlList;  // the control list as it stood, header line first (GBK lines)
    std::time_t computed = 0;              // when the rows began
    std::string strHeights;  // the vertical alignment and cross slopes of the elevations, as their files' text; empty: none
    std::string strEquations;  // the station equations the stations were named by, as their file's text; empty: none
};

// The results list: its mode and its rows in list order.
struct ResultSet {
    ResultMode mode = ResultMode::Coordinates;
    std::optional<StakeRange> range;  // the run the rows began with; none for single stakes only
    std::optional<ResultSource> source;  // the road of the rows; none when not known
    std::vector<StakeResult> rows;
    std::vector<std::string> messages;  // GBK
    std::vector<StationSetup> setups;
    bool bHeights = false;  // a vertical alignment gave the rows their elevations

    // Index of the setup, added when it is not the last one already.
    int AddSetup(const StationSetup& setup);
    // Index of the message, added when it is not the last one already.
    int AddMessage(const std::string& gbk);
    // The rows of more after these, its messages and setups with them. The
    // mode stays this set's, and so do the range and the source unless this
    // set had none (rows of another road are the caller's to keep apart),
    // and bHeights unless this set was empty.
    void Append(ResultSet&& more);
    std::size_t Stakes() const;  // rows that are not messages
};

// The stake's name in K notation (StakeName): by its 桩号 where it has
// one, with its occurrence ("K1+050.000(2)R7.5"), and at an equation
// "K1+050.000=K1+030.000(2)"; by its station otherwise. ASCII.
std::string StakeNameOf(const StakeResult& row);

// The inverse of StakeNameOf for names of the road's stakes: on a road
// with station equations the 桩号 with its occurrence, read as
// ParseStakeName reads a name, its dStation the distance (NaN where the
// 桩号 maps to none); an equation's name "BACK=AHEAD" is the equation's
// point when the table has that equation (to the millimetre). A 桩号 that
// names several places, written without its occurrence, has dStation NaN
// and its places (distances) in places, when given. ParseStakeName
// without equations.
std::optional<NamedStake> ReadStakeName(const std::string& name, const Chainage& chain,
                                        std::vector<double>* places = nullptr);

// The text of the row's station in lists and files: "%.3f" of the station,
// or its 桩号 with its occurrence (ChainStationText).
std::string StationTextOf(const StakeResult& row);

// True when the set holds rows computed from a control list other than
// this one, byte for byte, or from other height tables or station
// equations (heights, equations: as ResultSource::strHeights,
// strEquations): they are then another road's stakes. Rows of no known
// source are not stale.
bool Stale(const ResultSet& results, const std::vector<std::string>& controlList, const std::string& heights = {},
           const std::string& equations = {});

}  // namespace vexaline
