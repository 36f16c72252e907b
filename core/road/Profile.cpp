#include "core/road/Profile.h"

#include <algorithm>
#include <cmath>

#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

ProfileBuild Refused(std::string message) {
    ProfileBuild b;
    b.strMessage = std::move(message);
    return b;
}

// Row i's numbers; empty when sound.
std::string ReadPoint(const GradeRow& row, bool isEnd, GradePoint& p) {
    const std::string* fields[3] = {&row.strStation, &row.strElevation, &row.strRadius};
    double values[3] = {0, 0, 0};
    for (int f = 0; f < 3; ++f) {
        const std::string t = TrimBlanks(*fields[f]);
        if (f == 2 && t.empty()) continue;
        const std::optional<double> v = ParseNumber(t);
        if (!v) return Format(text::kGradeNotANumber, row.nLine, p.strName.c_str(), text::kGradeColumns[f + 1]);
        values[f] = *v;
    }
    if (values[2] < 0) return Format(text::kGradeNegativeRadius, row.nLine, p.strName.c_str());
    if (isEnd && values[2] != 0) return Format(text::kGradeEndHasRadius, row.nLine, p.strName.c_str());
    p.dStation = values[0];
    p.dElevation = values[1];
    p.dRadius = values[2];
    return std::string();
}

// The curve at an inner point from the grades on either side.
void ShapeCurve(GradePoint& p) {
    p.dOmega = p.dGradeOut - p.dGradeIn;
    p.dLength = p.dRadius * std::fabs(p.dOmega);
    p.dTangent = p.dLength / 2;
    p.dExternal = p.dRadius > 0 ? p.dTangent * p.dTangent / (2 * p.dRadius) : 0;
    p.dStart = p.dStation - p.dTangent;
    p.dEnd = p.dStation + p.dTangent;
    if (p.dLength > 0) p.kind = p.dOmega < 0 ? CurveKind::Crest : CurveKind::Sag;
}

// Overlapping curves, or a curve past an end; empty when none.
std::string CheckCurves(const std::vector<GradePoint>& pts) {
    const GradePoint& first = pts.front();
    const GradePoint& last = pts.back();
    for (std::size_t k = 1; k + 1 < pts.size(); ++k) {
        const GradePoint& p = pts[k];
        if (p.dStart < first.dStation - kCurveMeetTolerance)
            return Format(text::kGradeCurveBeforeStart, p.strName.c_str(), p.dTangent, p.dStation - first.dStation);
        if (p.dEnd > last.dStation + kCurveMeetTolerance)
            return Format(text::kGradeCurveAfterEnd, p.strName.c_str(), p.dTangent, last.dStation - p.dStation);
        const GradePoint& q = pts[k + 1];
        const double excess = p.dTangent + q.dTangent - (q.dStation - p.dStation);
        if (k + 2 < pts.size() && excess > kCurveMeetTolerance)
            return Format(text::kGradeCurvesOverlap, p.strName.c_str(), q.strName.c_str(), excess);
    }
    return std::string();
}

// The elevation at s on point p's curve (x from its start).
double OnCurve(const GradePoint& p, double s) {
    const double x = s - p.dStart;
    const double bvc = p.dElevation - p.dGradeIn * p.dTangent;
    return bvc + p.dGradeIn * x + p.dOmega * x * x / (2 * p.dLength);
}

}  // namespace

std::vector<GradeRow> NamedGradeRows(std::vector<GradeRow> rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!TrimBlanks(rows[i].strName).empty()) continue;
        if (i == 0) rows[i].strName = text::kGradeStartName;
        else if (i + 1 == rows.size()) rows[i].strName = text::kGradeEndName;
        else rows[i].strName = text::kGradePointName + std::to_string(i);
    }
    return rows;
}

std::string GradeRowsToDistances(std::vector<GradeRow>& rows, const Chainage& chain) {
    for (GradeRow& r : rows) {
        const std::string m = StationFieldToDistance(chain, r.strStation);
        if (!m.empty()) return Format(text::kChainGradeRow, r.nLine) + m;
    }
    return std::string();
}

ProfileBuild BuildProfileOn(std::vector<GradeRow> rows, const Chainage& chain) {
    const std::string off = GradeRowsToDistances(rows, chain);
    return off.empty() ? BuildProfile(rows) : ProfileBuild{off, {}};
}

ProfileBuild BuildProfile(const std::vector<GradeRow>& table) {
    if (table.size() < 2) return Refused(text::kGradeTooFew);
    if (table.size() > static_cast<std::size_t>(kMaxGradePoints)) return Refused(Format(text::kGradeTooMany, kMaxGradePoints));
    const std::vector<GradeRow> rows = NamedGradeRows(table);
    ProfileBuild b;
    std::vector<GradePoint>& pts = b.profile.points;
    pts.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        GradePoint& p = pts[i];
        p.strName = TrimBlanks(rows[i].strName);
        p.nLine = rows[i].nLine;
        const std::string m = ReadPoint(rows[i], i == 0 || i + 1 == rows.size(), p);
        if (!m.empty()) return Refused(m);
        if (i == 0) continue;
        GradePoint& before = pts[i - 1];
        if (!(p.dStation > before.dStation)) return Refused(Format(text::kGradeNotIncreasing, p.nLine, p.strName.c_str()));
        const double grade = (p.dElevation - before.dElevation) / (p.dStation - before.dStation);
        if (!std::isfinite(grade)) return Refused(Format(text::kGradeNoGrade, p.nLine, p.strName.c_str()));
        before.dGradeOut = grade;
        p.dGradeIn = grade;
    }
    for (std::size_t k = 1; k + 1 < pts.size(); ++k) ShapeCurve(pts[k]);
    for (GradePoint* end : {&pts.front(), &pts.back()}) end->dStart = end->dEnd = end->dStation;
    const std::string m = CheckCurves(pts);
    if (!m.empty()) return Refused(m);
    return b;
}

std::optional<double> Profile::ElevationAt(double s) const {
    if (points.size() < 2 || !(s >= points.front().dStation && s <= points.back().dStation)) return std::nullopt;
    // The segment [k, k + 1] that holds s: the last point at or before it.
    auto after = std::upper_bound(points.begin(), points.end(), s,
                                  [](double v, const GradePoint& p) { return v < p.dStation; });
    std::size_t k = static_cast<std::size_t>(after - points.begin()) - 1;
    if (k + 1 == points.size()) --k;
    const GradePoint& a = points[k];
    const GradePoint& b = points[k + 1];
    if (a.dLength > 0 && s <= a.dEnd) return OnCurve(a, s);
    if (b.dLength > 0 && s >= b.dStart) return OnCurve(b, s);
    return a.dElevation + a.dGradeOut * (s - a.dStation);
}

}  // namespace vexaline
