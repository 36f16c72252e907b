#pragma once
#include <string>
#include <vector>

#include "core/files/CsvTable.h"
#include "core/grid/FourParam.h"

// The four parameters as a file (*.vxf) and the common points they are
// solved from, CSV as the road's tables are (CsvTable.h: UTF-8 with a byte
// order mark and CR LF written, UTF-8 or GBK and LF read too).
//
//   参数,值
//   ΔX,<metres>
//   ΔY,<metres>
//   旋转角,<α in D.MMSSsssss>
//   尺度,<K, every digit>
namespace vexaline {

// The file's bytes: ΔX and ΔY to the micrometre, α to 0.00001″ (which moves
// a point 4,000 km from the origin by at most 0.1 mm), K with as many
// digits as read back to the same double.
std::string FourParamCsvText(const FourParam& p);

struct FourParamRead {
    FourParam params;
    std::string strMessage;  // UTF-8; empty when read
    bool Ok() const { return strMessage.empty(); }
};

// Refuses, naming the line: the table's own faults (ReadNamedTable), a
// parameter that is none of the four or given twice, a value that is no
// number (α no D.MMSS), and a file lacking one of them; and parameters
// FourParamRefusal refuses.
FourParamRead ReadFourParamCsv(const std::string& bytes);

struct CommonPointsRead {
    std::vector<CommonPoint> points;
    std::string strMessage;  // UTF-8; empty when read
    bool Ok() const { return strMessage.empty(); }
};

// A table of common points "点名,X,Y,X',Y'": the point in the source grid
// and in the target grid. Refuses, naming the line: the table's own faults,
// an empty name, a coordinate that is no survey coordinate.
CommonPointsRead ReadCommonPointsCsv(const std::string& bytes);
// The same rows as a table holds them (a file's, or a window's with nLine
// its row), each of five fields, checked as above.
CommonPointsRead CommonPointsOf(const std::vector<CsvRow>& rows);

}  // namespace vexaline
