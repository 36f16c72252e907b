#include "core/road/ControlCheck.h"

#include <algorithm>
#include <cmath>

#include "core/geometry/Element.h"
#include "core/road/ControlCheckParts.h"

namespace vexaline {
namespace check {

Measure MeasureElement(const RowView& rows, int k) {
    const Element e = MakeElement(rows(k), rows(k + 1), k, k + 1);
    if (e.fault != ElementFault::None || e.dEndStation == e.dStartStation) return {};
    if (e.type == LineType::Circular && (e.dStartRadius == INFINITE_RADIUS || e.dStartRadius == 0)) return {};
    const ElementGeometry geometry(e.Request());
    const StakePoint a = geometry.At(e.dStartStation, 0, 0), b = geometry.At(e.dEndStation, 0, 0);
    Measure m;
    m.closureStartMm = 1000 * e.ptStart.Distance(a.dX, a.dY);
    m.closureEndMm = 1000 * e.ptEnd.Distance(b.dX, b.dY);
    m.azimuthStart = a.dAzimuth;
    m.azimuthEnd = b.dAzimuth;
    m.ok = std::isfinite(m.closureStartMm) && std::isfinite(m.closureEndMm) && std::isfinite(m.azimuthStart) &&
           std::isfinite(m.azimuthEnd);
    return m;
}

namespace {

CheckProblem Rule(int row, CheckRule rule, ControlField field = kFieldStation) {
    CheckProblem p;
    p.kind = ProblemKind::Rule;
    p.nRow = row;
    p.rule = rule;
    p.field = field;
    return p;
}

// The radius with its sign: −∞ counts as ∞ only where the caller says so.
double Signed(const ChangePoint& p) { return p.turn == Turn::Left ? -*p.radius : *p.radius; }

}  // namespace

void RulesAt(const RowView& rows, int k, std::vector<CheckProblem>& out) {
    const int n = rows.Count();
    const ChangePoint& p = rows(k);
    for (ControlField f : {kFieldStation, kFieldRadius, kFieldX, kFieldY}) {
        const bool number = f == kFieldStation ? p.station.has_value()
                            : f == kFieldRadius ? p.radius.has_value()
                            : f == kFieldX     ? p.x.has_value()
                                               : p.y.has_value();
        if (number) continue;
        if (f == kFieldStation && p.bOccurrenceWithoutTable) out.push_back(Rule(k, CheckRule::StationOccurrenceWithoutTable));
        else if (f != kFieldStation || p.chainFault == ChainFault::None) out.push_back(Rule(k, CheckRule::NotANumber, f));
        else if (p.chainFault == ChainFault::Ambiguous) out.push_back(Rule(k, CheckRule::StationAmbiguous));
        else out.push_back(Rule(k, CheckRule::StationInNoZone));
    }
    if (k > 1 && p.station && rows(k - 1).station && !(*p.station > *rows(k - 1).station))
        out.push_back(Rule(k, CheckRule::StationNotIncreasing));
    if (p.type == LineType::Invalid) out.push_back(Rule(k, CheckRule::UnknownLineType));
    if (p.type == LineType::EndPoint && k < n) out.push_back(Rule(k, CheckRule::EndPointNotLast));
    if (p.type != LineType::EndPoint && k == n) out.push_back(Rule(k, CheckRule::LastNotEndPoint));
    if (!p.radius) return;
    const double r = *p.radius;
    if (p.type == LineType::Straight && r != INFINITE_RADIUS) out.push_back(Rule(k, CheckRule::StraightRadius));
    if (p.type == LineType::Circular && (r == INFINITE_RADIUS || r == 0)) out.push_back(Rule(k, CheckRule::ArcRadius));
    if (p.type != LineType::Transition || k == n) return;
    const ChangePoint& next = rows(k + 1);
    if (next.radius && *next.radius == r) out.push_back(Rule(k, CheckRule::TransitionEqualRadii));
    if (k == 1) return;
    // After a straight a transition starts at ∞ (either sign: the sign is
    // its turn); after an arc at the arc's radius, sign included.
    const ChangePoint& before = rows(k - 1);
    if (before.type == LineType::Straight && r != INFINITE_RADIUS)
        out.push_back(Rule(k, CheckRule::TransitionStartRadius));
    if (before.type == LineType::Circular && before.radius && Signed(before) != Signed(p))
        out.push_back(Rule(k, CheckRule::TransitionStartRadius));
}

std::optional<double> KinkAt(int k, int count, const Measure& before, const Measure& after) {
    if (k <= 1 || k >= count || !before.ok || !after.ok) return std::nullopt;
    double d = std::remainder(before.azimuthEnd - after.azimuthStart, kTwoPi);  // [−π, π]
    if (d <= -kPi) d = kPi;
    return d * (180.0 / kPi) * 3600.0;
}

}  // namespace check

namespace {

ElementCheck ReportElement(const check::RowView& rows, int k, const std::vector<check::Measure>& m,
                           const CheckTolerance& tol) {
    const int n = rows.Count();
    const ChangePoint &a = rows(k), &b = rows(k + 1);
    ElementCheck e;
    e.nRow = k;
    e.dFrom = a.station;
    e.dTo = b.station;
    e.strType = a.text.strField[kFieldLineType];
    const check::Measure& own = m[static_cast<std::size_t>(k)];
    if (own.ok) {
        e.dClosureStartMm = own.closureStartMm;
        e.dClosureEndMm = own.closureEndMm;
    }
    if (k > 1) e.dKinkSec = check::KinkAt(k, n, m[static_cast<std::size_t>(k - 1)], own);
    check::RulesAt(rows, k, e.problems);
    auto add = [&e](ProblemKind kind, int row, double value) {
        CheckProblem p;
        p.kind = kind;
        p.nRow = row;
        p.dValue = value;
        e.problems.push_back(p);
    };
    if (e.dClosureStartMm && *e.dClosureStartMm > tol.dClosureMm) add(ProblemKind::ClosureStart, k, *e.dClosureStartMm);
    if (e.dClosureEndMm && *e.dClosureEndMm > tol.dClosureMm) add(ProblemKind::ClosureEnd, k + 1, *e.dClosureEndMm);
    if (e.dKinkSec && std::fabs(*e.dKinkSec) > tol.dKinkSec) add(ProblemKind::Kink, k, *e.dKinkSec);
    if (k + 1 == n) check::RulesAt(rows, n, e.problems);  // the last row starts no element
    e.bFlagged = !e.problems.empty();
    return e;
}

}  // namespace

CheckReport CheckControl(const Alignment& road, CheckTolerance tolerance) {
    CheckReport report;
    const std::vector<ChangePoint>& rows = road.Rows();
    const int n = static_cast<int>(rows.size());
    report.nRows = n;
    if (n < 2) return report;
    const check::RowView view{rows};
    std::vector<check::Measure> measures(static_cast<std::size_t>(n));  // index k: element k
    for (int k = 1; k < n; ++k) measures[static_cast<std::size_t>(k)] = check::MeasureElement(view, k);
    report.elements.reserve(static_cast<std::size_t>(n - 1));
    for (int k = 1; k < n; ++k) report.elements.push_back(ReportElement(view, k, measures, tolerance));
    const check::Measure none;
    auto measureOf = [&](int j) -> const check::Measure& {
        return j >= 1 && j < n ? measures[static_cast<std::size_t>(j)] : none;
    };
    for (int k = 1; k <= n; ++k)
        if (check::RowFlagged(view, k, measureOf, tolerance)) report.flaggedRows.push_back(k);
    check::SearchSuggestion(rows, road.Chain(), measures, tolerance, report);
    report.bChained = !road.Chain().Empty();
    return report;
}

std::vector<bool> FlaggedElements(const Alignment& road, const CheckReport& report) {
    std::vector<bool> flagged(road.Elements().size(), false);
    for (std::size_t e = 0; e < flagged.size(); ++e) {
        const Element& el = road.Elements()[e];
        const auto row = static_cast<std::size_t>(el.nStartRow);
        if (el.nEndRow == el.nStartRow + 1 && row >= 1 && row <= report.elements.size())
            flagged[e] = report.elements[row - 1].bFlagged;
        else
            for (int r : {el.nStartRow, el.nEndRow})
                flagged[e] = flagged[e] || std::binary_search(report.flaggedRows.begin(), report.flaggedRows.end(), r);
    }
    return flagged;
}

}  // namespace vexaline
