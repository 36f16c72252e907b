#pragma once
#include <ctime>
#include <string>
#include <vector>

// The results list written as a text file: the ordinary report (title,
// date, header, the lines as they stand) or the CAD list of X,Y pairs.
namespace vexaline {

// The name the save dialog proposes, UTF-8 (the dialog's encoding), e.g.
// "0.000-1000.000间20.000米偏-7.500米桩.txt".
std::string ResultsFileName(double startStation, double endStation, double interval, double offset);

// "计算日期：  20yy年mm月dd日hh时mm分ss秒" for the local time of when, GBK.
std::string ComputedDateLine(std::time_t when);

// The file's bytes. lines is the results list (line 0, its header, is not
// copied: the file gets the fixed header of the mode). resultMode 0 with
// fileType 1 gives the ordinary coordinates report, resultMode 0 with any
// other type the CAD list; any other mode the setting-out report whatever
// the type. fileName is the chosen file's name without folder, UTF-8.
std::string ResultsFileBytes(const std::vector<std::string>& lines, int resultMode, int fileType,
                             const std::string& fileName, std::time_t when);

// Writes them to path through a temporary file; false when the file could
// not be written (an old file is then left as it was).
bool WriteResultsFile(const std::string& path, const std::vector<std::string>& lines, int resultMode,
                      int fileType, const std::string& fileName, std::time_t when);

}  // namespace vexaline
