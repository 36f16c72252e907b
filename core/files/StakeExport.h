#pragma once
#include <optional>
#include <string>

#include "core/grid/FourParam.h"
#include "core/road/Alignment.h"
#include "core/road/Results.h"
#include "core/text/StationText.h"

// Stakes out to the tools a surveyor takes them to: CAD (DXF R12), field
// controllers (CASS .dat) and spreadsheets (CSV). Each file holds exactly
// the stakes of the results list in its order; DXF and CASS leave message
// rows out, CSV keeps them as rows with the message in the last column.
namespace vexaline {

enum class StakeFormat { Dxf, CassDat, Csv };

// StakeName, the stake's name in K notation, is in core/text/StationText.h.

// CASS .dat, GBK: one "name,,east,north,height" line per stake, east,
// north and the design elevation "%.3f", CR LF after each; no header. The
// height is 0.000 where the stake has none (no profile, or outside it), as
// the format has no empty height.
std::string StakesCassDat(const ResultSet& results);

// CSV for spreadsheets: UTF-8 with a byte order mark, CR LF; for rows of a
// known source first a row "定线文件,<file>,计算日期,<20yy年mm月dd日hh时mm分ss秒>"
// naming the road and when they were computed; a header row of the list's
// column titles and one row per list row with the list's field texts
// (设计高程 the last with heights); a message row has the message in its last column. Fields
// holding a comma or a quote are quoted.
std::string StakesCsv(const ResultSet& results);

// The two in pieces, for rows written as they are computed: one stake's
// CASS line (nothing for a message row); the CSV's head (byte order mark,
// source row, header row), which needs the set's mode, bHeights and source
// but no rows, and one row's CSV line.
void AppendStakeCassDat(std::string& out, const StakeResult& row);
std::string StakesCsvHead(const ResultSet& results);
void AppendStakeCsv(std::string& out, const ResultSet& results, const StakeResult& row);

// DXF R12 through dxflib, $DWGCODEPAGE ANSI_936, texts GBK. Drawing x is
// east (Y), y north (X). Layers: 中线, the centreline of the road over the
// stakes' station range as polylines, densified to 0.01 m chord error
// (broken at an element that cannot be evaluated); 中桩 or 边桩, a POINT per
// stake (边桩 when the stake has an offset) at the height of its design
// elevation (0 where it has none); 桩号, a TEXT of its name at each
// stake; in setting-out mode 测站, a POINT and TEXT name for the instrument
// station and for the backsight and a LINE between them. With four, every
// point drawn is carried by ApplyFour into the target grid (rows and
// setups are the design grid's): a similarity, so the centreline keeps to
// its chord error times K. Empty when dxflib could not write its temporary file.
std::string StakesDxf(const ResultSet& results, const Alignment& road, const FourParam* four = nullptr);

// The bytes of one of the three; nullopt when dxflib could not write.
std::optional<std::string> StakesBytes(StakeFormat format, const ResultSet& results, const Alignment& road);

// One of the three written to path through a temporary file; false when
// it could not be written (an old file is then left whole).
bool WriteStakes(const std::string& path, StakeFormat format, const ResultSet& results, const Alignment& road);

}  // namespace vexaline
