#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/text/ControlLine.h"

// The check of the control data: how far each element, as computed, misses
// its own control points (closure), how sharply the tangent turns where two
// elements meet (kink), and the rules rows must keep; with the single typing
// change that would clear every flag, where there is exactly one.
//
// Rows are numbered from 1 in list order (Alignment::Rows()), whatever their
// stations; element i joins rows i and i+1 and is evaluated by MakeElement
// and the element geometry, as a run evaluates it.
namespace vexaline {

enum class CheckRule {
    StationNotIncreasing,   // not above the station of the row before
    UnknownLineType,        // none of the four line types
    EndPointNotLast,        // 终点 on a row that is not the last
    LastNotEndPoint,        // the last row is no 终点
    StraightRadius,         // a straight whose radius is not ∞ (−∞ counts as ∞)
    ArcRadius,              // an arc whose radius is ∞ or 0
    TransitionEqualRadii,   // a transition whose two radii are equal in size
    TransitionStartRadius,  // a transition that does not start at the radius of the element before
    NotANumber,             // a station, radius, X or Y that holds no number
    StationInNoZone,        // with station equations: a 桩号 in no zone (or an occurrence it lacks)
    StationAmbiguous,       // with station equations: a 桩号 in a 长链 typed without its occurrence
    StationOccurrenceWithoutTable,  // without station equations: a station typed with an occurrence
};

enum class ProblemKind { ClosureStart, ClosureEnd, Kink, Rule };

// One thing wrong, naming the row it is blamed on.
struct CheckProblem {
    ProblemKind kind = ProblemKind::Rule;
    int nRow = 0;
    double dValue = 0;                        // closure in mm, kink in seconds
    CheckRule rule = CheckRule::NotANumber;   // for Rule
    ControlField field = kFieldStation;       // for NotANumber
};

struct ElementCheck {
    int nRow = 0;  // its start row; the end row is nRow + 1
    std::optional<double> dFrom, dTo;  // the two rows' stations
    std::string strType;               // the start row's line type as typed (GBK)
    // Null where the element cannot be evaluated (a field it uses holds no
    // number, its line type is none of straight, arc and transition, no
    // length, an arc radius of 0 or ∞, equal radii on a transition).
    std::optional<double> dClosureStartMm, dClosureEndMm;
    // Kink at the start row in seconds of arc, in (−648000, 648000]: the
    // azimuth of the element before at its end minus this one's at its
    // start. Null for the first element and where either is not evaluated.
    std::optional<double> dKinkSec;
    // Its own closures and start kink beyond the tolerance, and the rules
    // naming its start row (for the last element, the last row too).
    std::vector<CheckProblem> problems;
    bool bFlagged = false;
};

enum class SuggestedField { Station, X, Y, Radius, LineType, XY };

// One change to one row; texts GBK, as typed ("X,Y" for the exchange).
struct CheckSuggestion {
    int nRow = 0;
    SuggestedField field = SuggestedField::Station;
    std::string strFrom, strTo;
};

struct CheckTolerance {
    double dClosureMm = 5.0;
    double dKinkSec = 20.0;  // rounding to the millimetre makes about 12″ on a 20 m element
};

struct CheckReport {
    int nRows = 0;
    std::vector<ElementCheck> elements;  // element i at index i − 1
    std::vector<int> flaggedRows;        // ascending
    std::optional<CheckSuggestion> suggestion;
    int nCandidates = 0;  // single changes that clear every flag; more than 1: none named
    bool bChained = false;  // the road has station equations: the rows' stations are 桩号
};

// Checks the rows of road. A row is flagged when a closure at it or the kink
// at it exceeds the tolerance (the kink beside an end row also flags that
// end row, which has no kink of its own), or when a rule names it. Fewer
// than two rows give a report without elements. Accepts any rows; every
// figure is finite or null. About 1 ms for 1,000 rows, search included.
CheckReport CheckControl(const Alignment& road, CheckTolerance tolerance = {});

// The report on road's own elements (station order, Alignment::Elements):
// an element that joins list rows i and i+1 takes the flag of the check's
// element i; any other (rows out of list order) is flagged when either of
// its rows is.
std::vector<bool> FlaggedElements(const Alignment& road, const CheckReport& report);

}  // namespace vexaline
