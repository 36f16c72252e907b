#pragma once
#include <string>
#include <vector>

#include "core/road/Inspect.h"

// An inspection as people read it: the table of points and the summary,
// as the ordinary GBK text (CR LF) and as CSV for spreadsheets (UTF-8 with
// a byte order mark, CR LF). Rows in the inspection's order.
namespace vexaline {

// One row's fields (GBK): name, station (K notation), offset, ΔX, ΔY, Δ,
// Δ along, Δ across, design H, measured H, ΔH, all metres "%.3f", and
// 合格/超限; a figure that does not apply is empty; a point not placed has
// 查找不到 where its station stands.
std::vector<std::string> InspectFields(const InspectRow& row);

// The tolerances line and the summary line (GBK).
std::string InspectTolerancesText(const Tolerances& tolerances);
std::string InspectSummaryText(const InspectSummary& summary);

// The text: the tolerances line, the column titles, one line per point in
// columns, the summary line, and the note when zero heights were ignored.
std::string InspectText(const Inspection& inspection, const Tolerances& tolerances);

// The CSV: the tolerances, the titles, one row per point, the summary, the note.
std::string InspectCsv(const Inspection& inspection, const Tolerances& tolerances);

}  // namespace vexaline
