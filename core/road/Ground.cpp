#include "core/road/Ground.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {

std::optional<double> GroundSection::At(double offset) const {
    if (points.size() < 2 || !(offset >= points.front().dOffset) || !(offset <= points.back().dOffset))
        return std::nullopt;
    const auto hi = std::upper_bound(points.begin(), points.end(), offset,
                                     [](double o, const GroundPoint& p) { return o < p.dOffset; });
    if (hi == points.end()) return points.back().dElevation;
    const GroundPoint& a = *(hi - 1);
    return a.dElevation + (hi->dElevation - a.dElevation) * (offset - a.dOffset) / (hi->dOffset - a.dOffset);
}

const GroundSection* GroundAtStation(const std::vector<GroundSection>& sorted, double s) {
    constexpr double kHalfMillimetre = 0.0005;
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), s - kHalfMillimetre,
                                     [](const GroundSection& g, double v) { return g.dStation < v; });
    return at != sorted.end() && at->dStation <= s + kHalfMillimetre ? &*at : nullptr;
}

namespace {

// The side slope outward from the hinge as a walk, u the distance out from
// it: a slope piece rises by rise·(u − u0)/m, a berm is flat; a slope
// without berms is one piece without end.
struct SlopeWalk {
    const SideSlope& slope;
    double rise;      // −1 down (fill), +1 up (cut)
    double u0 = 0, z0 = 0;
    bool berm = false;
    double end = std::numeric_limits<double>::infinity();

    SlopeWalk(const SideSlope& s, double r, double h) : slope(s), rise(r), z0(h) {
        if (Berms()) end = slope.dRatio * slope.dBermHeight;
    }
    bool Berms() const { return slope.dBermHeight > 0 && slope.dBermWidth > 0; }
    double At(double u) const { return berm ? z0 : z0 + rise * (u - u0) / slope.dRatio; }
    void Next() {
        z0 = At(end), u0 = end;
        berm = !berm;
        end = u0 + (berm ? slope.dBermWidth : slope.dRatio * slope.dBermHeight);
    }
};

}  // namespace

SlopeMeeting MeetSlope(const TemplateSide& side, RoadSide which, GroundPoint hinge, const GroundSection& ground) {
    SlopeMeeting m;
    const std::optional<double> g0 = ground.At(hinge.dOffset);
    if (!g0) return m.fault = SlopeFault::NoGroundAtHinge, m;
    m.kind = *g0 <= hinge.dElevation ? SideSlopeKind::Fill : SideSlopeKind::Cut;
    const std::optional<SideSlope>& slope = m.kind == SideSlopeKind::Fill ? side.fill : side.cut;
    if (!slope) return m.fault = SlopeFault::NoSlopeRow, m;
    const double out = which == RoadSide::Left ? -1 : 1, rise = m.kind == SideSlopeKind::Fill ? -1 : 1;
    // The ground outward of the hinge as (u, z); F = rise·(ground − slope) is
    // ≥ 0 at the hinge and the slope meets the ground where it is first ≤ 0.
    std::vector<GroundPoint> g{{0, *g0}};
    for (const GroundPoint& p : ground.points)
        if (out * (p.dOffset - hinge.dOffset) > 0) g.push_back({out * (p.dOffset - hinge.dOffset), p.dElevation});
    if (which == RoadSide::Left) std::reverse(g.begin() + 1, g.end());
    SlopeWalk walk(*slope, rise, hinge.dElevation);
    const auto put = [&](double u, double z) { m.line.push_back({hinge.dOffset + out * u, z}); };
    double a = 0, fa = rise * (*g0 - hinge.dElevation);
    if (fa <= 0) return put(0, hinge.dElevation), m;
    int steps = 0;
    for (std::size_t k = 1; k < g.size();) {
        const double b = std::min(g[k].dOffset, walk.end);
        const double gb = b == g[k].dOffset ? g[k].dElevation
                                            : g[k - 1].dElevation + (g[k].dElevation - g[k - 1].dElevation) *
                                                                        (b - g[k - 1].dOffset) /
                                                                        (g[k].dOffset - g[k - 1].dOffset);
        const double fb = rise * (gb - walk.At(b));
        if (fb <= 0) {
            const double r = a + (b - a) * fa / (fa - fb);
            return put(r, walk.At(r)), m;
        }
        a = b, fa = fb;
        if (b == g[k].dOffset) ++k;
        if (b == walk.end) {
            if (++steps > kMaxSlopeSteps) return m.line.clear(), m.fault = SlopeFault::TooManyBerms, m;
            put(b, walk.At(b));
            walk.Next();
        }
    }
    m.line.clear();
    m.fault = SlopeFault::NoMeeting;
    return m;
}

std::optional<EarthAreas> AreasBetween(const std::vector<GroundPoint>& design, const GroundSection& ground) {
    if (design.empty()) return EarthAreas{};
    const double lo = design.front().dOffset, hi = design.back().dOffset;
    if (!ground.At(lo) || !ground.At(hi)) return std::nullopt;
    // The design as a line of its own, a repeated offset dropped (it spans nothing).
    GroundSection d;
    std::vector<double> at;
    for (const GroundPoint& p : design) {
        if (d.points.empty() || p.dOffset > d.points.back().dOffset) d.points.push_back(p);
        at.push_back(p.dOffset);
    }
    if (d.points.size() < 2) return EarthAreas{};
    for (const GroundPoint& p : ground.points)
        if (p.dOffset > lo && p.dOffset < hi) at.push_back(p.dOffset);
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    EarthAreas areas;
    double fa = *d.At(at[0]) - *ground.At(at[0]);
    for (std::size_t k = 1; k < at.size(); ++k) {
        const double w = at[k] - at[k - 1], fb = *d.At(at[k]) - *ground.At(at[k]);
        if (fa >= 0 && fb >= 0) {
            areas.dFill += (fa + fb) / 2 * w;
        } else if (fa <= 0 && fb <= 0) {
            areas.dCut -= (fa + fb) / 2 * w;
        } else {
            // The two cross inside: a triangle either side of the crossing.
            const double r = w * fa / (fa - fb);
            (fa > 0 ? areas.dFill : areas.dCut) += std::fabs(fa) * r / 2;
            (fb > 0 ? areas.dFill : areas.dCut) += std::fabs(fb) * (w - r) / 2;
        }
        fa = fb;
    }
    return areas;
}

std::vector<EarthRegion> EarthRegions(const std::vector<GroundPoint>& design, const GroundSection& ground) {
    std::vector<EarthRegion> regions;
    if (design.size() < 2) return regions;
    const double lo = design.front().dOffset, hi = design.back().dOffset;
    if (!ground.At(lo) || !ground.At(hi)) return regions;
    GroundSection d;
    std::vector<double> at;
    for (const GroundPoint& p : design) {
        if (d.points.empty() || p.dOffset > d.points.back().dOffset) d.points.push_back(p);
        at.push_back(p.dOffset);
    }
    if (d.points.size() < 2) return regions;
    for (const GroundPoint& p : ground.points)
        if (p.dOffset > lo && p.dOffset < hi) at.push_back(p.dOffset);
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    // The stretch being walked: its design points and its ground points.
    std::vector<GroundPoint> top, bottom;
    int sign = 0;
    const auto close = [&] {
        if (sign != 0 && top.size() >= 2) {
            EarthRegion r{sign > 0, top};
            r.ring.insert(r.ring.end(), bottom.rbegin(), bottom.rend());
            regions.push_back(std::move(r));
        }
        top.clear(), bottom.clear();
    };
    const auto put = [&](double o, double hd, double hg) { top.push_back({o, hd}), bottom.push_back({o, hg}); };
    for (std::size_t k = 0; k < at.size(); ++k) {
        const double o = at[k], hd = *d.At(o), hg = *ground.At(o), f = hd - hg;
        const int s = f > 0 ? 1 : f < 0 ? -1 : 0;
        if (k > 0 && s != 0 && sign != 0 && s != sign) {
            // Crossed inside the last piece: the stretch ends at the crossing and the next begins there.
            const GroundPoint& a = top.back();
            const double fa = a.dElevation - bottom.back().dElevation, r = fa / (fa - f);
            const double ox = a.dOffset + (o - a.dOffset) * r, hx = a.dElevation + (hd - a.dElevation) * r;
            put(ox, hx, hx);
            close();
            put(ox, hx, hx);
        }
        put(o, hd, hg);
        if (s == 0 && sign != 0) close(), put(o, hd, hg);
        if (s != 0) sign = s;
        else if (top.size() == 1) sign = 0;
    }
    close();
    return regions;
}

namespace {

const char* SideText(RoadSide side) { return side == RoadSide::Left ? text::kTemplateLeft : text::kTemplateRight; }

std::string SlopeMessage(const std::string& at, RoadSide side, const SlopeMeeting& m, double hinge) {
    const bool fill = m.kind == SideSlopeKind::Fill;
    const char* stake = fill ? text::kGroundToe : text::kGroundTop;
    const char* s = SideText(side);
    switch (m.fault) {
    case SlopeFault::NoGroundAtHinge: return Format(text::kGroundShort, at.c_str(), s, hinge);
    case SlopeFault::NoSlopeRow: {
        const char* kind = fill ? text::kGroundFill : text::kGroundCut;
        return Format(text::kGroundNoSlope, at.c_str(), s, kind, kind, stake);
    }
    case SlopeFault::TooManyBerms: return Format(text::kGroundTooManyBerms, at.c_str(), s, kMaxSlopeSteps, stake);
    default: return Format(text::kGroundNoMeeting, at.c_str(), s, stake);
    }
}

// One side's catch point placed on the road, or the message (GBK) why there is none.
struct SideCatch {
    std::optional<CatchSide> side;
    std::string strMessage;
};

SideCatch CatchOn(const Alignment& road, const SectionTemplate& tmpl, const CrossSection& c,
                  const GroundSection& ground, RoadSide side) {
    GroundPoint hinge{0, *c.centreElevation};
    for (const SectionPoint& p : c.points)
        if (p.side == side) hinge = {p.dOffset, *p.elevation};
    const std::string at = KStationOf(road.Chain(), c.dStation);
    const SlopeMeeting m = MeetSlope(tmpl.Of(side), side, hinge, ground);
    if (m.fault != SlopeFault::None)
        return SideCatch{std::nullopt, Gbk(SlopeMessage(at, side, m, hinge.dOffset).c_str())};
    CatchSide out;
    out.kind = m.kind;
    out.dHeight = std::fabs(m.line.back().dElevation - hinge.dElevation);
    const std::size_t e = road.ElementAt(c.dStation);
    const char* stake = m.kind == SideSlopeKind::Fill ? text::kGroundToe : text::kGroundTop;
    for (const GroundPoint& v : m.line) {
        const std::string name = &v == &m.line.back() ? stake : text::kGroundBerm;
        const SquarePoint p = StakeAcross(road, e, c.dStation, v.dOffset, name);
        if (!p.strMessage.empty()) return SideCatch{std::nullopt, p.strMessage};
        out.slope.push_back({v.dOffset, v.dElevation, p.point});
    }
    return SideCatch{std::move(out), ""};
}

}  // namespace

std::vector<GroundPoint> DesignLine(const CrossSection& c, const CatchSide& left, const CatchSide& right) {
    std::vector<GroundPoint> line;
    const auto put = [&](double o, double h) {
        if (line.empty() || o > line.back().dOffset) line.push_back({o, h});
    };
    for (auto v = left.slope.rbegin(); v != left.slope.rend(); ++v) put(v->dOffset, v->dElevation);
    for (auto p = c.points.rbegin(); p != c.points.rend(); ++p)
        if (p->side == RoadSide::Left) put(p->dOffset, *p->elevation);
    put(0, *c.centreElevation);
    for (const SectionPoint& p : c.points)
        if (p.side == RoadSide::Right) put(p.dOffset, *p.elevation);
    for (const SlopeVertex& v : right.slope) put(v.dOffset, v.dElevation);
    return line;
}

EarthSection MeetGround(const Alignment& road, const SectionTemplate& tmpl, const CrossSection& c,
                        const GroundSection* ground) {
    EarthSection e;
    if (c.IsMessage()) return e;
    const std::string at = KStationOf(road.Chain(), c.dStation);
    e.pointGround.assign(c.points.size(), std::nullopt);
    if (!ground) return e.messages.push_back(Gbk(Format(text::kGroundMissing, at.c_str()).c_str())), e;
    for (std::size_t k = 0; k < c.points.size(); ++k) e.pointGround[k] = ground->At(c.points[k].dOffset);
    e.centreGround = ground->At(0);
    if (!c.centreElevation) return e.messages.push_back(Gbk(Format(text::kGroundNoHeights, at.c_str()).c_str())), e;
    if (e.centreGround) e.centreFill = *c.centreElevation - *e.centreGround;
    for (RoadSide side : {RoadSide::Left, RoadSide::Right}) {
        SideCatch caught = CatchOn(road, tmpl, c, *ground, side);
        (side == RoadSide::Left ? e.left : e.right) = std::move(caught.side);
        if (!caught.strMessage.empty()) e.messages.push_back(caught.strMessage);
    }
    if (e.left && e.right) e.area = AreasBetween(DesignLine(c, *e.left, *e.right), *ground);
    return e;
}

Earthwork Volumes(std::vector<StationAreas> stations) {
    std::stable_sort(stations.begin(), stations.end(),
                     [](const StationAreas& a, const StationAreas& b) { return a.dStation < b.dStation; });
    Earthwork w;
    for (const StationAreas& s : stations) {
        if (!w.stations.empty() && !(s.dStation > w.stations.back().dStation)) continue;
        if (!w.stations.empty()) {
            const StationAreas& a = w.stations.back();
            VolumeStretch v{a.dStation, s.dStation, s.dStation - a.dStation, a.area && s.area, 0, 0};
            if (v.bCounted) {
                v.dFill = (a.area->dFill + s.area->dFill) / 2 * v.dLength;
                v.dCut = (a.area->dCut + s.area->dCut) / 2 * v.dLength;
                w.dFill += v.dFill, w.dCut += v.dCut;
            }
            w.stretches.push_back(v);
        }
        w.stations.push_back(s);
    }
    return w;
}

SectionRun RunSections(const Alignment& road, const SectionDesign& design, const std::vector<double>& stations,
                       const std::vector<GroundSection>* ground) {
    SectionRun run;
    std::set<std::string> told;
    const auto tell = [&](const std::string& gbk) {
        if (told.insert(gbk).second) run.messages.push_back(gbk);
    };
    run.sections.reserve(stations.size());
    std::vector<StationAreas> areas;
    for (double s : stations) {
        run.sections.push_back(SectionAt(road, design, s));
        const CrossSection& c = run.sections.back();
        if (c.IsMessage()) tell(c.strMessage);
        run.bWhole = run.bWhole && !c.IsMessage();
        if (!ground) continue;
        run.earth.push_back(MeetGround(road, design.tmpl, c, GroundAtStation(*ground, s)));
        for (const std::string& m : run.earth.back().messages) tell(m);
        run.bWhole = run.bWhole && run.earth.back().messages.empty();
        areas.push_back(StationAreas{s, run.earth.back().area});
    }
    if (!ground) return run;
    run.work = Volumes(std::move(areas));
    for (const VolumeStretch& v : run.work.stretches) {
        if (v.bCounted) continue;
        const std::string from = KStationOf(road.Chain(), v.dFrom), to = KStationOf(road.Chain(), v.dTo);
        tell(Gbk(Format(text::kGroundGap, from.c_str(), to.c_str()).c_str()));
    }
    return run;
}

}  // namespace vexaline
