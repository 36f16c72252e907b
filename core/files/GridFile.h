#pragma once
#include <string>

#include "core/grid/Grid.h"

// The road's grid, the one its X and Y are in, kept beside the road as
// ROAD.vxc: one line, the grid as typed for ReadGrid ("EPSG:4547",
// "GK:114.3000,50"). The maps of the road are drawn from it.
namespace vexaline {

// A grid a road can be in: as ReadGrid reads it, and a plane grid (a
// road's X and Y are metres, never latitudes and longitudes). Refuses what
// ReadGrid refuses, and a geographic grid.
GridRead ReadRoadGrid(const std::string& text);

// The file's bytes: the grid's text (ReadRoadGrid's strName) and CR LF.
std::string GridFileText(const std::string& grid);

// The grid of a file's bytes: one line holding text, read by ReadRoadGrid;
// a byte order mark, blank lines, blanks around it and LF or CR LF are
// passed over. Refuses, saying why and naming the file's kind: a file of
// more than kMaxGridFileBytes, a second line holding text, and what
// ReadRoadGrid refuses.
inline constexpr std::size_t kMaxGridFileBytes = 1000;
GridRead ReadGridFile(const std::string& bytes);

}  // namespace vexaline
