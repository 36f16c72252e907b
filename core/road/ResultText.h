#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "core/road/Alignment.h"
#include "core/road/Results.h"
#include "core/road/StakeRun.h"

// Result values as the GBK texts the window lists and the files hold. The
// column widths of a result line are defined here and nowhere else.
namespace vexaline {

// The header line of the results list in a mode; with heights it ends in
// the 12-byte title 设计高程.
const std::string& ResultHeader(ResultMode mode);
const std::string& ResultHeader(ResultMode mode, bool heights);

// The remark of a stake's segment: "直线段", "圆曲段", "缓曲段" (empty otherwise).
const std::string& SegmentRemark(LineType type);

// Appends row's line: for a stake in coordinates mode station (12), X (14),
// Y (12), azimuth D.MMSS (10), remark (10); in setting-out mode station
// (12), angle D.MMSS (12), distance (10), station name (10), backsight name
// (10); each field left-aligned and padded with blanks, one that fills its
// column or more followed by one blank (PadColumn), never cut; in a set with
// heights then the design elevation "%.3f" or 超出纵断面 (12). A message
// row is its message. A row with a 桩号 (StakeResult::chain) shows it in
// the station column (StationTextOf), and at an equation the remark 断链.
void AppendResultLine(std::string& out, const ResultSet& set, const StakeResult& row);
// The same for a stake row in a mode, with its setup (setting-out).
void AppendStakeLine(std::string& out, ResultMode mode, const StakeResult& row, const StationSetup* setup);
std::string ResultLine(const ResultSet& set, std::size_t i);

// The same fields unpadded (GBK), in line order; a message row gives its
// fields empty but the last, which holds the message.
std::vector<std::string> ResultFields(const ResultSet& set, const StakeResult& row);

// The lookup text of a point and azimuth: X (14), Y (12), azimuth "%.6f",
// the columns as a result line's.
std::string LookupText(CPlanePoint p, double azimuth);

// Why an element cannot be evaluated (its fault), and the message of a
// stake on it that came out no finite number. GBK.
std::string ElementMessage(const Element& element);
std::string CannotComputeMessage(const Element& element);

// The reverse lookup's two answers: "%.3f", and "右%.3f米" or "左%.3f米"
// (left for a negative offset, -0 included).
std::string LookupStationText(double station);
std::string LookupOffsetText(double offset);

// The message of a check that refuses stakes (UTF-8, the fixed texts);
// empty for Ok. badLine names the row whose station is no number.
std::string CheckMessage(StakeCheck check, int badLine);
// The same on the road: a row whose 桩号 maps to no distance is named as
// Alignment::StationRefusal names it.
std::string CheckMessage(StakeCheck check, const Alignment& road);

// Why a station setup cannot be used (UTF-8, the fixed texts), or empty: a
// point whose X or Y is no survey coordinate, named (the station first),
// then CanOrient's rule.
std::string SetupMessage(const StationSetup& setup);

}  // namespace vexaline
