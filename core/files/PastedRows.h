#pragma once
#include <string>
#include <vector>

#include "core/road/PiTable.h"
#include "core/text/ControlLine.h"

// Rows as a spreadsheet puts them on the clipboard and takes them back: one
// row a line (LF or CR LF), fields separated by tabs, or by commas on a line
// without a tab; a field in double quotes may hold the separator, "" stands
// for a quote; blanks around a field are dropped, so are trailing blank
// fields beyond a row's columns, and a line of blank fields is skipped.
// Messages (UTF-8) name the line of the pasted text, counted from 1.
namespace vexaline {

inline constexpr int kPasteMaxRows = 10000;
inline constexpr int kPasteMaxLineBytes = 4096;

struct PastedControlRows {
    std::vector<ControlRow> rows;  // GBK, checked as a typed row is
    std::string strMessage;        // empty when every row passed
    bool Ok() const { return strMessage.empty(); }
};

// Control rows: 里程, 线型, 半径, X, Y. Each row passes the checks a typed
// row passes (CheckRow: no empty field, none wider than its column; every
// character held by GBK; the line type one of the four the window offers).
// Refuses, with no rows, at the first row that fails, or a text of more than
// kPasteMaxRows lines or a line over kPasteMaxLineBytes, or one with no row.
PastedControlRows ParsePastedControlRows(const std::string& utf8);

// The control lines (GBK) as tab-separated UTF-8 rows, each field as shown.
std::string CopiedControlRows(const std::vector<std::string>& lines);

struct PastedPiRows {
    std::vector<PiRow> rows;  // nLine: the pasted line
    std::string strMessage;
    bool Ok() const { return strMessage.empty(); }
};

// Intersection point rows: 交点, X, Y, 半径, 缓和曲线长1, 缓和曲线长2, as a
// table file holds them (missing trailing fields are empty). Refuses, with
// no rows, a row of more than six fields or whose figure is no number
// (ParsePiNumber; empty is left for BuildPiRoad to judge), and the sizes
// and empty texts ParsePastedControlRows refuses.
PastedPiRows ParsePastedPiRows(const std::string& utf8);

// The rows as tab-separated UTF-8 lines.
std::string CopiedPiRows(const std::vector<PiRow>& rows);

struct PastedCells {
    std::vector<std::vector<std::string>> rows;  // as many fields as the header's, missing ones empty
    std::string strMessage;
    bool Ok() const { return strMessage.empty(); }
};

// Rows for a table whose columns are the titles of header ("点名,X,Y,X',Y'"),
// as texts: what they hold is the table's own check. Refuses, with no rows,
// a row of more fields than titles, and the sizes and empty texts
// ParsePastedControlRows refuses.
PastedCells ParsePastedCells(const std::string& utf8, const char* header);

}  // namespace vexaline
