#pragma once
#include <string>
#include <vector>

#include "core/road/ControlCheck.h"

// The control-data check as GBK texts: one problem, one element's cells,
// the suggestion and the whole report as the text the window saves and the
// command line prints.
namespace vexaline {

// A kink in seconds of arc as D°MM′SS.s″ (UTF-8), rounded to the tenth of a second,
// signed: 5333.04 gives "1°28′53.0″", -12.34 gives "-0°00′12.3″".
std::string KinkText(double seconds);

// "第 5 行闭合差 12.3 毫米" and the like, naming the row blamed.
std::string CheckProblemText(const CheckProblem& problem);

// The problems of an element, joined with "；".
std::string CheckProblemsText(const ElementCheck& element);

// The eight cells of an element: row, the two stations ("%.3f", or the
// field as typed where it is no number), line type, closures ("%.1f"),
// kink (KinkText), problems; an empty cell where a figure is null.
// With typed (a road with station equations) the stations are the rows' 桩号 as typed.
std::vector<std::string> CheckCells(const ElementCheck& element, const std::vector<ChangePoint>& rows,
                                    bool typed = false);

// The one line of a report without flags, or the summary naming the rows.
std::string CheckSummaryText(const CheckReport& report, const CheckTolerance& tolerance);

// The one line kept under the control list: "检查通过", or the flagged rows
// ("检查：第 9、10 行有问题"); empty for fewer than two rows.
std::string CheckStatusText(const CheckReport& report);

// The suggestion, or why there is none (several would do, or none);
// empty when nothing is flagged.
std::string CheckSuggestionText(const CheckReport& report);

// The report as lines: the summary, the column titles, the elements with
// flagged ones first and marked "*", and the suggestion.
std::vector<std::string> CheckReportLines(const CheckReport& report, const std::vector<ChangePoint>& rows,
                                          const CheckTolerance& tolerance);

// The elements in the order the report shows them: flagged first, each
// group in row order. Indices into report.elements.
std::vector<std::size_t> CheckDisplayOrder(const CheckReport& report);

}  // namespace vexaline
