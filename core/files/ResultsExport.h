#pragma once
#include <ctime>
#include <string>
#include <vector>

#include "core/road/Results.h"

// The results list written as a text file: the ordinary report (title,
// date, header, the lines as they stand) or the CAD list of X,Y pairs.
namespace vexaline {

// The name the save dialog proposes, UTF-8 (the dialog's encoding), e.g.
// "0.000-1000.000间20.000米偏-7.500米桩.txt".
std::string ResultsFileName(double startStation, double endStation, double interval, double offset);
// The same on a road with station equations, the range's ends given as
// their 桩号 texts (ChainStationText, ASCII): "300.000-365.000(2)间…".
std::string ResultsFileName(const std::string& startStation, const std::string& endStation, double interval,
                            double offset);

// "20yy年mm月dd日hh时mm分ss秒" for the local time of when, GBK.
std::string ComputedTimeText(std::time_t when);

// "计算日期：  20yy年mm月dd日hh时mm分ss秒" for the local time of when, GBK.
std::string ComputedDateLine(std::time_t when);

// The file types of the save dialog, 1-based as it reports them.
enum class ResultsLayout { Ordinary = 1, Cad = 2 };

// The file's bytes: the name line, the date line, the header of the mode,
// then the rows (with the design elevation where the set has heights). For
// rows of a known source the date line gives when they were computed and,
// after two blanks, "定线文件：" and the alignment file they were computed
// from; otherwise it gives `when`. In coordinates mode the Ordinary layout
// gives the lines as listed, Cad "X,Y" pairs with three decimals ("0.000,0.000" for a message
// row); the setting-out report is always the ordinary one. fileName is the
// chosen file's name without folder, UTF-8.
std::string ResultsFileBytes(const ResultSet& results, ResultsLayout layout, const std::string& fileName,
                             std::time_t when);

// The same file in pieces, for rows written as they are computed: its
// head (the name line, the date line, the header, each with CR LF), which
// needs the set's mode, bHeights and source but no rows; and one row's
// line with its CR LF appended to out.
std::string ResultsFileHead(const ResultSet& results, ResultsLayout layout, const std::string& fileName,
                            std::time_t when);
void AppendResultsFileRow(std::string& out, const ResultSet& results, ResultsLayout layout, const StakeResult& row);

// Writes them to path through a temporary file; false when the file could
// not be written (an old file is then left as it was).
bool WriteResultsFile(const std::string& path, const ResultSet& results, ResultsLayout layout,
                      const std::string& fileName, std::time_t when);

}  // namespace vexaline
