#pragma once
#include <cmath>
#include <optional>
#include <vector>

#include "core/road/ControlCheck.h"

// The pieces the check and its suggestion search share: the rows with at
// most one replaced, one element measured, and the flag of one row.
namespace vexaline::check {

// The rows, 1-based, with row `changed` (0: none) read as `with`.
struct RowView {
    const std::vector<ChangePoint>& rows;
    int changed = 0;
    const ChangePoint* with = nullptr;

    int Count() const { return static_cast<int>(rows.size()); }
    const ChangePoint& operator()(int k) const {
        return k == changed ? *with : rows[static_cast<std::size_t>(k - 1)];
    }
};

// Element k (rows k and k + 1) as evaluated: its closures in mm and its
// tangent azimuths at both ends; ok false where it cannot be evaluated.
struct Measure {
    bool ok = false;
    double closureStartMm = 0, closureEndMm = 0, azimuthStart = 0, azimuthEnd = 0;
};
Measure MeasureElement(const RowView& rows, int k);

// The rules that name row k.
void RulesAt(const RowView& rows, int k, std::vector<CheckProblem>& out);

// The kink at row k in seconds, from the measures of elements k − 1 and k;
// null at the first and last rows and where either is not evaluated.
std::optional<double> KinkAt(int k, int count, const Measure& before, const Measure& after);

// Whether row k is flagged; measure(j) gives element j's measure, for j
// from k − 2 to k.
template <class MeasureOf>
bool RowFlagged(const RowView& rows, int k, const MeasureOf& measure, const CheckTolerance& tol) {
    const int n = rows.Count();
    std::vector<CheckProblem> rules;
    RulesAt(rows, k, rules);
    if (!rules.empty()) return true;
    if (k > 1) {
        const Measure& m = measure(k - 1);
        if (m.ok && m.closureEndMm > tol.dClosureMm) return true;
    }
    if (k < n) {
        const Measure& m = measure(k);
        if (m.ok && m.closureStartMm > tol.dClosureMm) return true;
    }
    auto kinkBeyond = [&](int j) {
        if (j <= 1 || j >= n) return false;
        std::optional<double> kink = KinkAt(j, n, measure(j - 1), measure(j));
        return kink && std::fabs(*kink) > tol.dKinkSec;
    };
    // The last row has no kink of its own: a sideways error there shows
    // as the kink at the row before it.
    return kinkBeyond(k) || (k == n && kinkBeyond(n - 1));
}

// The single change to one row that clears every flag, where there is
// exactly one; report.flaggedRows must be filled. Sets nCandidates.
void SearchSuggestion(const std::vector<ChangePoint>& rows, const Chainage& chain, const std::vector<Measure>& measures,
                      const CheckTolerance& tol, CheckReport& report);

}  // namespace vexaline::check
