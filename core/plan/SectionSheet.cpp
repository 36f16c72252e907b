#include "core/plan/SectionSheet.h"

#include <algorithm>
#include <cmath>

#include "core/text/Gbk.h"
#include "core/text/StationText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

namespace {

constexpr double kMargin = 10;       // paper outside the frame
constexpr double kTitleHeight = 14;  // the title block under the cells
constexpr double kBeyond = 2;        // ground drawn beyond the design, metres
constexpr double kCellTop = 9;       // the 桩号 above the drawing
constexpr double kCellFoot = 12;     // the two lines under it

}  // namespace

SectionOutline OutlineOf(const CrossSection& c, const EarthSection* e, const GroundSection* g) {
    SectionOutline l;
    if (c.IsMessage() || !c.centreElevation) return l;
    if (e && e->left && e->right) {
        l.design = DesignLine(c, *e->left, *e->right);
        if (g) l.regions = EarthRegions(l.design, *g);
    } else {
        // The surface alone, with what there is of the slopes.
        for (auto p = c.points.rbegin(); p != c.points.rend(); ++p)
            if (p->side == RoadSide::Left && p->elevation) l.design.push_back({p->dOffset, *p->elevation});
        if (e && e->left)
            for (const SlopeVertex& v : e->left->slope) l.design.insert(l.design.begin(), {v.dOffset, v.dElevation});
        l.design.push_back({0, *c.centreElevation});
        for (const SectionPoint& p : c.points)
            if (p.side == RoadSide::Right && p.elevation) l.design.push_back({p.dOffset, *p.elevation});
        if (e && e->right)
            for (const SlopeVertex& v : e->right->slope) l.design.push_back({v.dOffset, v.dElevation});
    }
    for (const std::optional<CatchSide>* side : {e ? &e->left : nullptr, e ? &e->right : nullptr})
        if (side && *side)
            l.catches.push_back({{(*side)->Catch().dOffset, (*side)->Catch().dElevation}, (*side)->kind == SideSlopeKind::Fill});
    for (const GroundPoint& p : l.design) l.reach = std::max(l.reach, std::fabs(p.dOffset));
    l.reach += kBeyond;
    if (g) {
        // The ground inside the reach, cut where it crosses the edges.
        if (const std::optional<double> h = g->At(-l.reach)) l.ground.push_back({-l.reach, *h});
        for (const GroundPoint& p : g->points)
            if (std::fabs(p.dOffset) < l.reach) l.ground.push_back(p);
        if (const std::optional<double> h = g->At(l.reach)) l.ground.push_back({l.reach, *h});
    }
    l.low = l.high = *c.centreElevation;
    for (const auto* line : {&l.design, &l.ground})
        for (const GroundPoint& p : *line) l.low = std::min(l.low, p.dElevation), l.high = std::max(l.high, p.dElevation);
    return l;
}

namespace {

std::string Metres(const std::optional<double>& v) { return v ? Format("%.3f", *v) : std::string("—"); }

// A text no wider than the room: smaller where it would not fit.
SheetText Fitted(SheetPoint at, double size, SheetAnchor anchor, std::string text, double room) {
    const double width = SheetTextWidth(text, size);
    if (width > room && width > 0) size *= room / width;
    return SheetText{at, size, anchor, std::move(text), false};
}

struct Cell {
    double x, y, w, h;
};

void DrawCell(SheetDrawing& page, const Cell& cell, const CrossSection& c, const EarthSection* e, const SectionOutline& l,
              bool withGround, const Chainage& chain, double scale) {
    const double cx = cell.x + cell.w / 2;
    SheetText title{{cx, cell.y + kCellTop - 3}, 3.5, SheetAnchor::Centre, KStationOf(chain, c.dStation), true};
    page.texts.push_back(title);
    const double room = cell.w - 6;
    const double foot1 = cell.y + cell.h - kCellFoot + 4.5, foot2 = cell.y + cell.h - 2.5;
    if (c.IsMessage() || l.design.empty()) {
        const std::string why = c.IsMessage()                 ? GbkToUtf8(c.strMessage)
                                : e && !e->messages.empty() ? GbkToUtf8(e->messages.front())
                                                            : std::string(text::kSectionSheetNoHeights);
        page.texts.push_back(Fitted({cx, cell.y + cell.h / 2}, 2.5, SheetAnchor::Centre, why, room));
        return;
    }
    const double k = 1000 / scale;  // millimetres of paper per metre
    const double mid = (l.low + l.high) / 2;
    const double cy = cell.y + kCellTop + (cell.h - kCellTop - kCellFoot) / 2;
    const auto at = [&](const GroundPoint& p) { return SheetPoint{cx + p.dOffset * k, cy - (p.dElevation - mid) * k}; };
    const auto line = [&](SheetInk ink, const std::vector<GroundPoint>& points, bool area) {
        SheetLine out{ink, {}, area};
        for (const GroundPoint& p : points) out.points.push_back(at(p));
        page.lines.push_back(std::move(out));
    };
    for (const EarthRegion& r : l.regions) line(r.bFill ? SheetInk::Fill : SheetInk::Cut, r.ring, true);
    page.lines.push_back({SheetInk::Centre, {{cx, cy - (l.high - mid) * k - 2}, {cx, cy - (l.low - mid) * k + 2}}, false});
    if (l.ground.size() >= 2) line(SheetInk::Ground, l.ground, false);
    line(SheetInk::Design, l.design, false);
    for (const auto& [p, fill] : l.catches) {
        const SheetPoint m = at(p);
        page.lines.push_back({SheetInk::Mark, {{m.x - 0.8, m.y - 0.8}, {m.x + 0.8, m.y + 0.8}}, false});
        page.lines.push_back({SheetInk::Mark, {{m.x - 0.8, m.y + 0.8}, {m.x + 0.8, m.y - 0.8}}, false});
        const bool left = p.dOffset < 0;
        page.texts.push_back({{m.x, m.y - 1.5}, 2.2, left ? SheetAnchor::Right : SheetAnchor::Left,
                              fill ? text::kGroundToe : text::kGroundTop, false});
    }
    // Under the drawing: the centre's heights and the areas, or why not.
    std::string centre = Format(text::kSectionSheetCentre, Metres(c.centreElevation).c_str(),
                                Metres(e ? e->centreGround : std::nullopt).c_str());
    if (e && e->centreFill)
        centre += "  " + Format(*e->centreFill >= 0 ? text::kSectionSheetFillHeight : text::kSectionSheetCutDepth,
                                std::fabs(*e->centreFill));
    page.texts.push_back(Fitted({cx, foot1}, 2.5, SheetAnchor::Centre, centre, room));
    std::string areas = !withGround ? std::string()
                        : e && e->area ? Format(text::kSectionSheetAreas, e->area->dFill, e->area->dCut)
                        : e && !e->messages.empty() ? GbkToUtf8(e->messages.front())
                                                    : std::string(text::kSectionSheetNoGround);
    if (!areas.empty()) page.texts.push_back(Fitted({cx, foot2}, 2.5, SheetAnchor::Centre, areas, room));
}

}  // namespace

SectionSheets LayOutSectionSheets(const SectionRun& run, const std::vector<const GroundSection*>& grounds,
                                  const Chainage& chain, const SectionSheetTitle& title, PaperSize paper) {
    SectionSheets out;
    const std::size_t n = run.sections.size();
    if (n == 0) return out;
    const Paper sheet{paper, true, 300};
    const double pw = sheet.WidthMm(), ph = sheet.HeightMm();
    out.nAcross = out.nDown = paper == PaperSize::A3 ? 3 : 2;
    const double cw = (pw - 2 * kMargin) / out.nAcross, ch = (ph - 2 * kMargin - kTitleHeight) / out.nDown;

    const bool withGround = !grounds.empty();
    std::vector<SectionOutline> lines;
    lines.reserve(n);
    PlaneBox widest;  // X: heights, Y: across
    for (std::size_t i = 0; i < n; ++i) {
        const EarthSection* e = run.earth.empty() ? nullptr : &run.earth[i];
        lines.push_back(OutlineOf(run.sections[i], e, withGround ? grounds[i] : nullptr));
        const SectionOutline& l = lines.back();
        if (l.design.empty()) continue;
        widest.Add(PlaneBox{0, -l.reach, l.high - l.low, l.reach});
    }
    out.dScale = ScaleDenominatorToFit(widest, cw - 6, ch - kCellTop - kCellFoot - 4);

    const std::size_t perPage = static_cast<std::size_t>(out.nAcross * out.nDown);
    const int pages = static_cast<int>((n + perPage - 1) / perPage);
    for (int p = 0; p < pages; ++p) {
        SheetDrawing page;
        page.dWidth = pw, page.dHeight = ph;
        const double right = pw - kMargin, bottom = ph - kMargin, split = bottom - kTitleHeight;
        page.lines.push_back({SheetInk::Frame, {{kMargin, kMargin}, {right, kMargin}, {right, bottom}, {kMargin, bottom}, {kMargin, kMargin}}, false});
        page.lines.push_back({SheetInk::Frame, {{kMargin, split}, {right, split}}, false});
        for (int a = 1; a < out.nAcross; ++a)
            page.lines.push_back({SheetInk::Thin, {{kMargin + a * cw, kMargin}, {kMargin + a * cw, split}}, false});
        for (int d = 1; d < out.nDown; ++d)
            page.lines.push_back({SheetInk::Thin, {{kMargin, kMargin + d * ch}, {right, kMargin + d * ch}}, false});
        for (std::size_t k = 0; k < perPage; ++k) {
            const std::size_t i = static_cast<std::size_t>(p) * perPage + k;
            if (i >= n) break;
            const int col = static_cast<int>(k) % out.nAcross, row = static_cast<int>(k) / out.nAcross;
            const Cell cell{kMargin + col * cw, kMargin + row * ch, cw, ch};
            DrawCell(page, cell, run.sections[i], run.earth.empty() ? nullptr : &run.earth[i], lines[i], withGround,
                     chain, out.dScale);
        }
        // The title block.
        const double base = split + kTitleHeight / 2 + 1.5;
        page.texts.push_back({{kMargin + 4, base}, 5, SheetAnchor::Left, text::kSectionSheetTitle, true});
        std::string middle = title.strRoad + "    " + Format(text::kSectionSheetScale, out.dScale) + "    " + title.strDate;
        if (p == pages - 1 && withGround)
            middle += "    " + Format(text::kSectionSheetTotals, run.work.dFill, run.work.dCut);
        page.texts.push_back(Fitted({kMargin + 32, base}, 3, SheetAnchor::Left, middle, right - kMargin - 32 - 50));
        page.texts.push_back({{right - 4, base}, 3, SheetAnchor::Right, Format(text::kSheetPage, p + 1, pages), false});
        out.pages.push_back(std::move(page));
    }
    return out;
}

}  // namespace vexaline
