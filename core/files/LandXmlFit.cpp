#include "core/files/LandXmlFit.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/geometry/Clothoid.h"
#include "core/text/FixedText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline::landxml {
namespace {

// "%.3f" without the minus of a value that rounds to zero.
std::string RadiusText(double magnitude, Turn turn) {
    bool left = turn == Turn::Left;
    if (magnitude == INFINITE_RADIUS) return Gbk(left ? text::kMinusInfinity : text::kInfinity);
    return MillimetreText(left ? -magnitude : magnitude);
}

// A coordinate with as many decimals as the column holds, up to 6: the
// chord of a short element is only as good as its two points. Trailing
// zeros go down to 3 decimals, so a point given to the millimetre reads as
// before; a value that does not fit even with 3 is left wide (refused).
std::string CoordinateText(double v) {
    const std::size_t width = static_cast<std::size_t>(kControlLayout[kFieldX].nWidth);
    for (int decimals = 6; decimals > 3; --decimals) {
        std::string s = Format("%.*f", decimals, v);
        if (s.size() > width) continue;
        while (s.size() > 1 && s.back() == '0' && s.size() - s.find('.') > 4) s.pop_back();
        if (s.find_first_not_of("-0.") == std::string::npos) return MillimetreText(0.0);
        return s;
    }
    return MillimetreText(v);
}

double Curvature(double radius, Turn turn) {
    if (radius == INFINITE_RADIUS) return 0.0;
    return (turn == Turn::Right ? 1.0 : -1.0) / radius;
}

double Station(const std::vector<Placed>& elements, const Cut& c) {
    return elements[c.nElement].dStation + c.dAlong;
}

// The cut halfway (by station) between two others, owned like the second.
Cut Middle(const std::vector<Placed>& elements, const Cut& a, const Cut& b) {
    const double middle = 0.5 * (Station(elements, a) + Station(elements, b));
    std::size_t e = a.nElement;
    while (e < b.nElement && elements[e].dStation + elements[e].geom.dLength <= middle) ++e;
    return Cut{e, std::max(0.0, middle - elements[e].dStation), b.nOwner};
}

// An element whose stakes are off by more than half the tolerance, or
// which is turned by more than half of 20″, is merged where that brings its
// stakes closer (a 0.6 m line into the long line after it): a road of many
// short pieces stays well inside 5 mm, and two neighbours turned most of
// 20″ the opposite way do not meet at a kink a LandXML file of the road
// could not show. Where no merge is closer it keeps its rows, turned or not.
constexpr double kGoodEnough = 0.5;
constexpr std::size_t kMaxMerged = 100;

// How far the rows of two cuts stake out from the file on each element
// between them (nWorst: that element); none where the rows give no element
// that can be staked out, or would merge more than kMaxMerged elements.
std::optional<std::vector<Deviation>> DeviateEach(const std::vector<Placed>& elements, const Cut& from, const Cut& to) {
    const std::vector<std::string> lines = {ControlHeaderLine(), BuildControlLine(RowAt(elements, from)),
                                            BuildControlLine(RowAt(elements, to))};
    const Alignment road = Alignment::Parse(lines);
    // A transition merged to equal radii holds nothing; and no real road
    // merges a hundred elements into one: a file that would (thousands of
    // centimetre pieces) is refused before its checks grow quadratic.
    if (!road.Usable() || road.Elements()[0].fault != ElementFault::None || to.nElement - from.nElement > kMaxMerged)
        return std::nullopt;
    std::vector<Deviation> each;
    for (std::size_t e = from.nElement; e <= to.nElement && e < elements.size(); ++e) {
        const double d0 = e == from.nElement ? from.dAlong : 0.0;
        const double d1 = e == to.nElement ? to.dAlong : elements[e].geom.dLength;
        if (!(d1 > d0)) continue;
        const int parts = std::max(2, static_cast<int>(std::ceil((d1 - d0) / 10.0)));
        Deviation here;
        here.nWorst = e;
        for (int k = 0; k <= parts; ++k) {
            const Stake want = OnFile(elements[e], d0 + (d1 - d0) * k / parts);
            for (double offset : {0.0, kSideStake, -kSideStake}) {
                const Stake got = road.At(0, want.dStation, offset, kPi * 0.5);
                const double side = want.dAzimuth + kPi * 0.5;
                const CPlanePoint stake(want.point.X + offset * std::cos(side), want.point.Y + offset * std::sin(side));
                here.dPosition = std::max(here.dPosition, got.point.Distance(stake));
                here.dAzimuth = std::max(here.dAzimuth, std::fabs(std::remainder(got.dAzimuth - want.dAzimuth, kTwoPi)));
            }
        }
        each.push_back(here);
    }
    return each;
}

// The elements the kept cuts' rows turn beyond the tolerance, in order.
std::vector<Turned> TurnedElements(const std::vector<Placed>& elements, const std::vector<Cut>& cuts) {
    std::vector<double> worst(elements.size(), 0.0);
    for (std::size_t k = 1; k < cuts.size(); ++k)
        if (const auto each = DeviateEach(elements, cuts[k - 1], cuts[k]))
            for (const Deviation& d : *each) worst[d.nWorst] = std::max(worst[d.nWorst], d.dAzimuth);
    std::vector<Turned> turned;
    for (std::size_t e = 0; e < elements.size(); ++e)
        if (worst[e] > kToleranceAzimuth) turned.push_back(Turned{e, worst[e]});
    return turned;
}

}  // namespace

Stake OnFile(const Placed& p, double d) {
    const Geom& g = p.geom;
    double k0 = 0.0, k1 = 0.0;
    if (g.kind == Kind::Curve) k0 = Curvature(g.dRadiusStart, g.turn);
    if (g.kind == Kind::Spiral) {
        k0 = Curvature(g.dRadiusStart, g.turn);
        k1 = (Curvature(g.dRadiusEnd, g.turn) - k0) / g.dLength;
    }
    // The local frame heads along the start tangent, +y to its right, as
    // Y (east) lies to the right of X (north).
    const CPlanePoint local = ClothoidArc(d, k0, k1);
    const double c = std::cos(p.dAzimuth), s = std::sin(p.dAzimuth);
    const CPlanePoint at(g.ptStart.X + local.X * c - local.Y * s, g.ptStart.Y + local.X * s + local.Y * c);
    return Stake{p.dStation + d, at, NormaliseAngle(p.dAzimuth + ClothoidArcHeading(d, k0, k1))};
}

ControlRow RowAt(const std::vector<Placed>& elements, const Cut& cut) {
    const Placed& here = elements[cut.nElement];
    const bool end = cut.nOwner < 0;
    const CPlanePoint point = cut.dAlong == 0.0 ? here.geom.ptStart
                              : end             ? here.geom.ptEnd
                                                : OnFile(here, cut.dAlong).point;
    const char* type = text::kEndPoint;
    std::string radius;
    if (end) {
        const Geom& g = here.geom;
        radius = g.kind == Kind::Line ? Gbk(text::kInfinity) : RadiusText(g.dRadiusEnd, g.turn);
    } else {
        const Geom& g = elements[static_cast<std::size_t>(cut.nOwner)].geom;
        type = g.kind == Kind::Line ? text::kStraight : g.kind == Kind::Curve ? text::kCircular : text::kTransition;
        radius = g.kind == Kind::Line ? Gbk(text::kInfinity) : RadiusText(g.dRadiusStart, g.turn);
    }
    ControlRow row;
    row.strField[kFieldStation] = MillimetreText(Station(elements, cut));
    row.strField[kFieldLineType] = Gbk(type);
    row.strField[kFieldRadius] = radius;
    row.strField[kFieldX] = CoordinateText(point.X);
    row.strField[kFieldY] = CoordinateText(point.Y);
    return row;
}

double Deviation::Ratio() const { return dPosition / kTolerancePosition; }

Deviation Deviate(const std::vector<Placed>& elements, const Cut& from, const Cut& to) {
    Deviation worst;
    worst.nWorst = from.nElement;
    const std::optional<std::vector<Deviation>> each = DeviateEach(elements, from, to);
    if (!each) {
        worst.dPosition = HUGE_VAL;
        return worst;
    }
    double worstRatio = -1.0;
    for (const Deviation& here : *each) {
        if (!(here.Ratio() <= worstRatio)) worstRatio = here.Ratio(), worst.nWorst = here.nWorst;
        worst.dPosition = std::max(worst.dPosition, here.dPosition);
        worst.dAzimuth = std::max(worst.dAzimuth, here.dAzimuth);
    }
    return worst;
}

Fit FitCuts(const std::vector<Placed>& elements) {
    std::vector<Cut> cuts;
    for (std::size_t i = 0; i < elements.size(); ++i) cuts.push_back(Cut{i, 0.0, static_cast<int>(i)});
    cuts.push_back(Cut{elements.size() - 1, elements.back().geom.dLength, -1});

    Fit fit;
    std::vector<Cut>& kept = fit.cuts;  // decided; the road element under test starts at kept.back()
    kept.push_back(cuts[0]);
    for (std::size_t next = 1; next < cuts.size();) {
        const Cut a = kept.back(), b = cuts[next];
        const Deviation here = Deviate(elements, a, b);
        if (here.Ratio() <= kGoodEnough && here.dAzimuth <= kGoodEnough * kToleranceAzimuth) {
            kept.push_back(b), ++next;
            continue;
        }
        const std::optional<Cut> prev = kept.size() > 1 ? std::optional<Cut>(kept[kept.size() - 2]) : std::nullopt;
        const std::optional<Cut> after = next + 1 < cuts.size() ? std::optional<Cut>(cuts[next + 1]) : std::nullopt;
        // Into the previous element, into the next (whose type the row at
        // a then takes), or split between them at the middle.
        double into[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
        const Cut owned{a.nElement, a.dAlong, b.nOwner}, middle = after ? Middle(elements, a, b) : Cut{};
        if (prev) into[0] = Deviate(elements, *prev, b).Ratio();
        if (after)
            into[1] = std::max(prev ? Deviate(elements, *prev, owned).Ratio() : 0.0, Deviate(elements, owned, *after).Ratio());
        if (prev && after)
            into[2] = std::max(Deviate(elements, *prev, middle).Ratio(), Deviate(elements, middle, *after).Ratio());
        const int best = static_cast<int>(std::min_element(into, into + 3) - into);
        if (!(into[best] < here.Ratio() && into[best] <= 1.0)) {
            if (here.Ratio() <= 1.0) {
                kept.push_back(b), ++next;
                continue;
            }
            fit.cuts.clear();
            fit.failed = here;
            fit.bHolds = false;
            return fit;
        }
        if (best == 0) kept.back() = b, next += 1;
        else kept.back() = best == 1 ? owned : middle, kept.push_back(*after), next += 2;
    }
    fit.turned = TurnedElements(elements, kept);
    return fit;
}

}  // namespace vexaline::landxml
