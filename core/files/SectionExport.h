#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Chainage.h"
#include "core/road/Section.h"

// The break points of a run of cross-sections out to the crew and its tools:
// a list to read, CSV, CASS .dat and DXF. Every station gives its centre
// stake (中桩) first, then its break points in the section's order; a
// station whose section is a message gives a line with the message in the
// list and CSV and nothing in CASS and DXF. Stations are 桩号 on a road
// with station equations (chain).
namespace vexaline {

// A point's name in CASS and DXF (GBK): the station in K notation and, for
// a break point, its side and name: "K0+100.000左硬路肩"; the centre stake's
// is the station alone, as a centre stake of a run is named.
std::string SectionPointName(const Chainage& chain, double station, const SectionPoint* point);

// The list (GBK, CR LF): a header line and one line per point, 桩号, 名称
// (side and name, 中桩 for the centre), 偏距, X坐标, Y坐标 ("%.3f"), and with
// heights 设计高程 ("%.3f", or 超出纵断面 where the profile has none); a
// message line has the station and the message.
std::string SectionListText(const std::vector<CrossSection>& sections, const Chainage& chain, bool heights);

// CSV for spreadsheets, UTF-8 with a byte order mark, CR LF: the header
// 桩号,名称,偏距,X坐标,Y坐标,设计高程,说明 and one row per point (设计高程
// empty without one), a message row with the message under 说明.
std::string SectionCsv(const std::vector<CrossSection>& sections, const Chainage& chain);

// CASS .dat, GBK: "name,,east,north,height" per point, "%.3f", CR LF; the
// height 0.000 where there is none, as the stakes' export writes it.
std::string SectionCassDat(const std::vector<CrossSection>& sections, const Chainage& chain);

// DXF R12 (dxflib, ANSI_936, as the stakes' export): drawing x east, y
// north. Layers 断面点, a POINT per point at its design elevation (0 where
// none); 桩号, a TEXT of its name; 横断面, one POLYLINE per station across
// the road from the left edge to the right, 3D at the elevations where
// every point of the station has one, else flat at 0. nullopt when dxflib
// could not begin a drawing.
std::optional<std::string> SectionDxf(const std::vector<CrossSection>& sections, const Chainage& chain);

}  // namespace vexaline
