#pragma once
#include <string>
#include <vector>

// Point lines and the traverse point file. A point line is 30 bytes of GBK
// text: name (8 bytes), X "%.3f" (12 bytes), Y "%.3f" (10 bytes), each
// left-aligned and padded with blanks. The file holds the list as it stands,
// header line first, one line per item, CR LF after each.
namespace vexaline {

inline constexpr std::size_t kPointLineBytes = 30;

struct PointRecord {
    std::string strName;  // GBK, trailing blanks removed
    double dX = 0;
    double dY = 0;
};

// The header line of the list and the file, in GBK.
std::string PointHeader();

// Builds the point line. False, and line untouched, when a value does not
// fit its field (a name over 8 bytes, X over 12 or Y over 10 bytes as
// printed, or a value that is not finite): the line would be longer than
// the file keeps.
bool MakePointLine(const std::string& name, double x, double y, std::string& line);

// Splits a point line: name from bytes 0-7, X from bytes 8-19, Y from byte
// 20 to the end; numbers as atof reads them (0 when there is none).
PointRecord SplitPointLine(const std::string& line);

// The list lines of a file's bytes. Lines end in LF, CR LF or CR CR LF; a
// last line without an end counts too. When the file is empty or does not
// start with the header, the header is put first and every line of the file
// is kept as a point line, so the list always starts with the header.
std::vector<std::string> ParsePointFile(const std::string& bytes);

// The bytes of the file for the list: every item from the header on, cut
// to its first 30 bytes, each followed by CR LF.
std::string PointFileBytes(const std::vector<std::string>& lines);

}  // namespace vexaline
