#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/road/Chainage.h"
#include "core/road/Ground.h"
#include "core/road/Section.h"

// The break points of a run of cross-sections out to the crew and its tools:
// a list to read, CSV, CASS .dat and DXF. Every station gives its centre
// stake (中桩) first, then its break points in the section's order; a
// station whose section is a message gives a line with the message in the
// list and CSV and nothing in CASS and DXF. Stations are 桩号 on a road
// with station equations (chain). With the ground (earth: one per section,
// or empty for none) each side's catch point follows its break points,
// named 坡脚 or 坡口 (its height its elevation), and each of the station's
// messages (a catch point missing) follows its points in the list and CSV.
namespace vexaline {

// A point's name in CASS and DXF (GBK): the station in K notation and, for
// a break point, its side and name: "K0+100.000左硬路肩"; the centre stake's
// is the station alone, as a centre stake of a run is named.
std::string SectionPointName(const Chainage& chain, double station, const SectionPoint* point);

// A station's points as the exports give them, outward on each side: the
// break points, then with the ground (earth not null) the side's catch
// point (named 坡脚 or 坡口); with the ground also the ground under each
// (a catch point's is its elevation).
struct SectionStakes {
    std::vector<SectionPoint> points;
    std::vector<std::optional<double>> ground;
};
SectionStakes StakesOf(const CrossSection& c, const EarthSection* earth);

// Section c's earth among sections (earth one per section), or nullptr when earth is empty.
const EarthSection* EarthOf(const std::vector<EarthSection>& earth, const std::vector<CrossSection>& sections,
                            const CrossSection& c);

// The list (GBK, CR LF): a header line and one line per point, 桩号, 名称
// (side and name, 中桩 for the centre), 偏距, X坐标, Y坐标 ("%.3f"), and with
// heights 设计高程 ("%.3f", or 超出纵断面 where the profile has none); with
// the ground also 地面高程 (the ground under the point, empty where the
// ground line does not reach) and 填挖 (design − ground, + fill); a message
// line has the station and the message.
std::string SectionListText(const std::vector<CrossSection>& sections, const Chainage& chain, bool heights,
                            const std::vector<EarthSection>& earth = {});

// The earthwork as the list gives it after its points (GBK, CR LF): a
// title, a header line, one line per station with its areas (桩号, 填方面积,
// 挖方面积, "%.2f" m², empty without) and the volumes of the stretch ending
// there (距离 "%.3f", 填方量, 挖方量 "%.2f" m³, empty where not counted),
// then the totals (合计).
std::string EarthworkText(const Earthwork& work, const Chainage& chain);

// CSV for spreadsheets, UTF-8 with a byte order mark, CR LF: the header
// 桩号,名称,偏距,X坐标,Y坐标,设计高程,说明 and one row per point (设计高程
// empty without one), a message row with the message under 说明.
std::string SectionCsv(const std::vector<CrossSection>& sections, const Chainage& chain,
                       const std::vector<EarthSection>& earth = {});

// CASS .dat, GBK: "name,,east,north,height" per point, "%.3f", CR LF; the
// height 0.000 where there is none, as the stakes' export writes it.
std::string SectionCassDat(const std::vector<CrossSection>& sections, const Chainage& chain,
                           const std::vector<EarthSection>& earth = {});

// DXF R12 (dxflib, ANSI_936, as the stakes' export): drawing x east, y
// north. Layers 断面点, a POINT per point at its design elevation (0 where
// none); 桩号, a TEXT of its name; 横断面, one POLYLINE per station across
// the road from the left edge to the right (with the ground from catch
// point to catch point, through the berms' corners), 3D at the elevations
// where every point of the station has one, else flat at 0. nullopt when
// dxflib could not begin a drawing.
std::optional<std::string> SectionDxf(const std::vector<CrossSection>& sections, const Chainage& chain,
                                      const std::vector<EarthSection>& earth = {});

}  // namespace vexaline
