#pragma once
#include <ctime>
#include <string>
#include <vector>

// The alignment file (.vxa): a 94-byte header ("日  期：", a 24-byte time
// stamp, CR LF, a 58-byte column line, CR LF) and 60-byte records (a control
// line and CR LF). Positions are fixed; nothing searches for line ends.
namespace vexaline {

inline constexpr std::size_t kAlignmentHeaderBytes = 94;
inline constexpr std::size_t kAlignmentRecordBytes = 60;

// " - %d %b %y %H:%M:%S - " with English month names whatever the process
// locale: always 24 bytes.
std::string TimeStamp(const std::tm& local);
std::string TimeStampNow();

// The records of a file's bytes: (size - 94) / 60 lines of 58 bytes each,
// kept exactly as they stand; a shorter tail is ignored.
std::vector<std::string> AlignmentRecords(const std::string& bytes);

// A freshly created file: the header with the new-file titles, no records.
std::string NewAlignmentFile(const std::string& stamp);

// A saved file: the header with the list's column line, then lines 1 ...
// of the control list (line 0 is its header), each with CR LF.
std::string SavedAlignmentFile(const std::vector<std::string>& controlList, const std::string& stamp);

}  // namespace vexaline
