#pragma once
#include <string>
#include <vector>

#include "core/road/PiTable.h"

// The intersection point table and the curve table as CSV: UTF-8 with a byte
// order mark (so that a spreadsheet shows the Chinese titles), a title line,
// comma-separated fields, a field in double quotes where it holds a comma or
// a quote. Written with CR LF line ends.
namespace vexaline {

inline constexpr int kPiCsvMaxRows = 10000;
inline constexpr int kPiCsvMaxLineBytes = 4096;

struct PiCsvRead {
    std::vector<PiRow> rows;  // nLine: the file line (the title is line 1)
    std::string strMessage;   // UTF-8; empty when read
    bool Ok() const { return strMessage.empty(); }
};

// Reads a table file's bytes: the title "交点,X,Y,半径,缓和曲线长1,缓和曲线
// 长2" first, then one point per line, start point first and end point last.
// CR LF and LF read alike; blank lines are skipped; missing trailing fields
// are empty, and so are extra ones if blank. A file without the byte order
// mark that is no UTF-8 is read as GBK (what a spreadsheet saves on a Chinese
// system). Refuses, naming the line: a wrong title, more than six non-blank
// fields, an unmatched quote; and a file longer than kPiCsvMaxRows lines or
// with a line over kPiCsvMaxLineBytes, or that is neither UTF-8 nor GBK.
// The numbers are not read here: BuildPiRoad checks them, naming the line.
PiCsvRead ReadPiCsv(const std::string& bytes);

// The table as a file: BOM, title, the rows' texts as they stand.
std::string PiCsvText(const std::vector<PiRow>& rows);

// One line of the curve table as its fields (UTF-8): the name, 左/右 D.MMSS,
// R, Ls1, Ls2, T1, T2, L, E in "%.3f", ZH, HY, QZ, YH, HZ in K notation.
// With station equations the stations are 桩号 (KStationOf).
std::vector<std::string> CurveCells(const CurveRecord& c, const Chainage& chain = Chainage());

// The curve table as a file: BOM, title, one line per intersection point;
// the deflection as 左/右 D.MMSS, lengths in "%.3f", stations in K notation
// (K1+234.500), all to the millimetre.
std::string CurveTableCsv(const std::vector<CurveRecord>& curves, const Chainage& chain = Chainage());

}  // namespace vexaline
