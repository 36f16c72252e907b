#pragma once
#include <string>
#include <vector>

// Control lines: the 58-byte GBK rows of the control list and of the
// alignment file, five left-aligned fields padded with blanks.
namespace vexaline {

enum ControlField { kFieldStation, kFieldLineType, kFieldRadius, kFieldX, kFieldY, kControlFieldCount };

struct ControlFieldLayout {
    int nOffset;
    int nWidth;
};

inline constexpr ControlFieldLayout kControlLayout[kControlFieldCount] = {
    {0, 12}, {12, 10}, {22, 12}, {34, 12}, {46, 12}};
inline constexpr int kControlLineBytes = 58;

// One row as typed, GBK, unpadded.
struct ControlRow {
    std::string strField[kControlFieldCount];
};

// Line 0 of the control list, also the column line of a saved file.
std::string ControlHeaderLine();

// The column line of a freshly created file (different titles, same widths).
std::string NewFileTitleLine();

// The first field whose text is wider than its column, or -1 when all fit.
// A wider field would shift every later column, so such a row is refused.
int OverflowingField(const ControlRow& row);

// The five fields padded and joined; 58 bytes when nothing overflows.
std::string BuildControlLine(const ControlRow& row);

// The control lines of rows made elsewhere (imported, constructed), in order.
std::vector<std::string> ControlLines(const std::vector<ControlRow>& rows);

// The fields of a line, each cut by offset and width, trailing blanks removed.
ControlRow SplitControlLine(const std::string& line);

// The first 12 bytes, blanks included: what identifies a change point.
std::string StationKey(const std::string& line);

// Index of the first line from 1 on whose station key equals the padded
// station text, or -1. Line 0 is the header and never matches.
int FindStation(const std::vector<std::string>& lines, const std::string& station);

// Why a typed row cannot go into the list: a field left empty (the first
// such refusal), or a field wider than its column (which one: nField).
struct RowCheck {
    enum Kind { Ok, Empty, TooWide } kind = Ok;
    int nField = -1;
};
RowCheck CheckRow(const ControlRow& row);

// Add or replace by station: a row goes in place of the first line with
// the same station text (the caller asks first), otherwise at the end.
struct RowPlace {
    int nReplace = -1;  // list index of the line it replaces, -1 to append
    std::string line;   // the control line
};
RowPlace PlaceRow(const std::vector<std::string>& lines, const ControlRow& row);

// Several rows placed in order, each as PlaceRow places it (a later row of
// the same station takes the place of an earlier one); nReplaced counts the
// rows that took another's place.
struct RowsPlaced {
    std::vector<std::string> lines;
    int nReplaced = 0;
};
RowsPlaced PlaceRows(std::vector<std::string> lines, const std::vector<ControlRow>& rows);

}  // namespace vexaline
