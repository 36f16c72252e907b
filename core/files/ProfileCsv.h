#pragma once
#include <string>
#include <vector>

#include "core/files/CsvTable.h"
#include "core/road/Chainage.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"

// The vertical alignment (*.vxz: 变坡点,桩号,高程,竖曲线半径) and the cross
// slopes (*.vxh: 桩号,左侧横坡,右侧横坡) and the station equations (*.vxd:
// 断链前桩号,断链后桩号) as files: CSV as the intersection
// point table is (CsvTable.h), written UTF-8 with a byte order mark and
// CR LF, read UTF-8 or GBK, CR LF or LF; and the vertical curve table.
namespace vexaline {

inline constexpr int kTableMaxLineBytes = 4096;

struct GradeCsvRead {
    std::vector<GradeRow> rows;  // nLine: the file line (the title is line 1)
    std::string strMessage;      // UTF-8; empty when read
    bool Ok() const { return strMessage.empty(); }
};

struct EquationCsvRead {
    std::vector<EquationRow> rows;
    std::string strMessage;
    bool Ok() const { return strMessage.empty(); }
};

struct SlopeCsvRead {
    std::vector<SlopeRow> rows;
    std::string strMessage;
    bool Ok() const { return strMessage.empty(); }
};

// A table file's bytes read by ReadCsvTable with at most maxRows rows and
// kTableMaxLineBytes a line; message (UTF-8) set to the fault, naming the
// table (name) and its title line (header) or the line, when refused. The
// one reading of the road's tables, whose rows are then checked by their own.
CsvTableRead ReadNamedTable(const std::string& bytes, const std::vector<std::string>& titles, int maxRows,
                            const char* name, const char* header, std::string& message);

// A file's bytes to rows; the numbers are checked by BuildProfile and
// BuildCrossSlopes, naming the line. Refuses, naming the line: a wrong
// title, more fields than the title has, an unmatched quote; a file of
// more lines than its table may have rows (and the title), a line over
// kTableMaxLineBytes, or bytes neither UTF-8 nor GBK.
GradeCsvRead ReadGradeCsv(const std::string& bytes);
SlopeCsvRead ReadSlopeCsv(const std::string& bytes);
// The station equations (*.vxd: 断链前桩号,断链后桩号); numbers checked by
// BuildChainage.
EquationCsvRead ReadEquationCsv(const std::string& bytes);

// The tables as files: BOM, title, the rows' texts as they stand, the empty
// names of grade points filled in (NamedGradeRows).
std::string GradeCsvText(const std::vector<GradeRow>& rows);
std::string SlopeCsvText(const std::vector<SlopeRow>& rows);
std::string EquationCsvText(const std::vector<EquationRow>& rows);

// Grade point k (< the number of points) of the vertical curve table as its fields (UTF-8): name,
// station (K notation), elevation, i1 and i2 in percent, R, T, L, E
// ("%.3f"), 凸/凹, the curve's start and end stations (K notation). The first
// row has no i1, the last no i2, and neither a curve: those fields are
// empty; an inner point without a curve has 0.000 and its own station.
// With station equations the stations are 桩号 (KStationOf).
std::vector<std::string> VerticalCurveCells(const Profile& profile, std::size_t k, const Chainage& chain = Chainage());

// The vertical curve table as a file: BOM, title, one line per grade point.
std::string VerticalCurveTableCsv(const Profile& profile, const Chainage& chain = Chainage());

}  // namespace vexaline
