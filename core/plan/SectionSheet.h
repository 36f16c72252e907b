#pragma once
#include <string>
#include <utility>
#include <vector>

#include "core/plan/Paper.h"
#include "core/plan/SheetDrawing.h"
#include "core/road/Chainage.h"
#include "core/road/Ground.h"

// The cross-section sheets (横断面图): the sections of a run drawn several
// to a landscape page (A3: 3 × 3, A4: 2 × 2), in station order as given,
// all at one round scale 1:N, offsets and heights alike. Each section: its
// 桩号 above; the ground (brown, thin) over the width of the design and 2 m
// beyond; the design line (slope, surface, slope; black, thick) with its
// catch points marked 坡脚/坡口; the fill and cut between them shaded; the
// centreline; and under it the design and ground elevations at the centre
// with 填高 or 挖深, and the areas — or why they are missing. Each page has
// a frame and a title block: 横断面图, the road file, 比例 1:N, the date,
// 第 n 页 / 共 m 页; the last also the totals of the earthwork.
namespace vexaline {

// What a drawing of one section shows, in metres across and up: the design
// line (slope, surface, slope; the bare surface with what there is of the
// slopes where a catch point is missing), its catch points (true: in fill,
// 坡脚), the ground from −reach to +reach, the fill and cut between them
// (EarthRegions, with both catch points). reach: the design's widest
// offset and 2 m beyond; low, high: the heights of design and ground drawn.
// Empty for a section that is a message or has no heights.
struct SectionOutline {
    std::vector<GroundPoint> design;
    std::vector<std::pair<GroundPoint, bool>> catches;
    std::vector<GroundPoint> ground;
    std::vector<EarthRegion> regions;
    double reach = 0, low = 0, high = 0;
};
SectionOutline OutlineOf(const CrossSection& c, const EarthSection* earth, const GroundSection* ground);

struct SectionSheetTitle {
    std::string strRoad;  // the road file's name, UTF-8
    std::string strDate;  // UTF-8
};

struct SectionSheets {
    double dScale = 1;  // N of 1:N
    int nAcross = 0, nDown = 0;
    std::vector<SheetDrawing> pages;  // none without sections
};

// run: RunSections's answer; grounds: the ground drawn with each section
// (one per section, nullptr for none; empty: no ground at all). The scale
// is the largest round one at which every section's drawing fits its cell.
// A section that is a message shows the message in its cell.
SectionSheets LayOutSectionSheets(const SectionRun& run, const std::vector<const GroundSection*>& grounds,
                                  const Chainage& chain, const SectionSheetTitle& title, PaperSize paper);

}  // namespace vexaline
