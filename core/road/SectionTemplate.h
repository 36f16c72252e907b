#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/road/Chainage.h"
#include "core/road/CrossSlope.h"

// The road's body across: a cross-section template (横断面模板) of surface
// elements (行车道, 硬路肩, 土路肩, …) on each side, outward from the
// centreline, and the side slopes (边坡) beyond them; and the widening
// (加宽) of the carriageway by station.
//
// Conventions: widths and offsets in metres, an offset negative on the
// left; a cross fall in percent, positive rising going outward from the
// centreline (as the cross-slope table); a slope ratio m for 1:m, metres out
// per metre of height. Names are UTF-8 and fit 10 GBK bytes.
namespace vexaline {

enum class RoadSide { Left, Right };
enum class SideSlopeKind { Fill, Cut };

// One row of the template as typed or read (UTF-8): 侧, 名称, 宽度, 横坡, 坡比,
// 分级高度, 平台宽度.
struct TemplateRow {
    int nLine = 0;  // named in messages: the file line or the table row
    std::string strSide, strName, strWidth, strSlope, strRatio, strBermHeight, strBermWidth;
};

inline constexpr int kMaxTemplateRows = 200;
inline constexpr double kMaxElementWidth = 100;   // metres
inline constexpr double kMaxCrossFall = 100;      // percent
inline constexpr double kMaxSlopeRatio = 1000;    // 1:m
inline constexpr std::size_t kMaxSectionNameBytes = 10;  // GBK

// A surface element: its width and either the cross-slope table's slope of
// its side (路拱: superelevation follows the table) or a fixed cross fall.
struct SurfaceElement {
    int nLine = 0;
    std::string strName;
    double dWidth = 0;
    bool bCrown = false;
    double dCrossFall = 0;  // percent; unused where bCrown
};

// A side slope 1:m, with a berm (平台) of dBermWidth after every
// dBermHeight metres of height where dBermHeight > 0. Kept for the slope
// stakes; a section's break points do not use it.
struct SideSlope {
    int nLine = 0;
    SideSlopeKind kind = SideSlopeKind::Fill;
    double dRatio = 0;
    double dBermHeight = 0, dBermWidth = 0;  // both 0: no berms
};

struct TemplateSide {
    std::vector<SurfaceElement> surface;  // outward from the centreline
    std::optional<SideSlope> fill, cut;
};

struct SectionTemplate {
    TemplateSide left, right;
    const TemplateSide& Of(RoadSide side) const { return side == RoadSide::Left ? left : right; }
    // The line of the first surface element that takes the table's slope, 0 when none does.
    int FirstCrownLine() const;
};

struct TemplateBuild {
    std::string strMessage;  // UTF-8; empty when built
    SectionTemplate value;
    bool Ok() const { return strMessage.empty(); }
};

// From the rows. A row named 填方边坡 or 挖方边坡 is a slope row, any other a
// surface row. Refuses, naming the line and field: more than
// kMaxTemplateRows rows, or none that is a surface row; a side other than
// 左/右; a name empty, over kMaxSectionNameBytes in GBK, not GBK, holding a
// comma, quote or control character (it goes into CASS and DXF names), or
// used twice on its side; a surface row whose width is no number
// (ParseNumber) or outside (0, kMaxElementWidth], whose cross fall is
// neither 路拱 nor a number within ±kMaxCrossFall, or whose slope columns
// are filled; a surface row after a slope row of its side; a slope row with
// a width or cross fall, a second one of its kind on a side, a ratio outside
// (0, kMaxSlopeRatio], berm columns half filled, a berm height ≤ 0 or
// width < 0 (or either over kMaxElementWidth).
TemplateBuild BuildTemplate(const std::vector<TemplateRow>& rows);

// Why a template cannot be used without a cross-slope table: the message
// naming the first 路拱 row; empty when none takes the table's slope.
std::string CrownRefusal(const SectionTemplate& tmpl);

// One row of the widening table as typed or read (UTF-8): 桩号, 左侧加宽, 右侧加宽.
struct WideningRow {
    int nLine = 0;
    std::string strStation, strLeft, strRight;
};

inline constexpr int kMaxWideningRows = 10000;
inline constexpr int kMaxWidening = 100;  // metres

// The widening of each side by station, metres: linear between rows,
// constant before the first and after the last, 0, 0 without rows (the
// same linear table as the cross slopes, CrossSlopes::At, in metres).
struct Widening {
    CrossSlopes table;
    std::vector<int> lines;  // each row's line, for messages
    std::pair<double, double> At(double s) const { return table.At(s); }
};

struct WideningBuild {
    std::string strMessage;  // UTF-8; empty when built
    Widening value;
    bool Ok() const { return strMessage.empty(); }
};

// From the table, its stations 桩号 on a road with station equations
// (StationFieldToDistance). Refuses, naming the line: more than
// kMaxWideningRows rows; a 桩号 in no zone or ambiguous; a station or
// widening that is no number (ParseNumber); a station not above the one
// before; a widening outside [0, kMaxWidening].
WideningBuild BuildWidening(std::vector<WideningRow> rows, const Chainage& chain = Chainage());

// Why the widening does not fit the template: the first row that widens a
// side without surface elements. Empty when it fits.
std::string WideningRefusal(const SectionTemplate& tmpl, const Widening& widening);

}  // namespace vexaline
