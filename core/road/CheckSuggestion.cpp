// The suggestion of the control-data check: every single typing change to
// a row near the flags, tried in turn.
#include <algorithm>
#include <set>
#include <string>

#include "core/road/ControlCheckParts.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"

namespace vexaline::check {
namespace {

struct Candidate {
    SuggestedField field;
    std::string from, to;
    ControlRow row;  // the whole row after the change
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One digit changed, or two adjacent digits exchanged, in one field.
void DigitChanges(const ControlRow& row, ControlField f, SuggestedField as, std::vector<Candidate>& out) {
    const std::string& text = row.strField[f];
    auto push = [&](std::string changed) {
        Candidate c{as, text, changed, row};
        c.row.strField[f] = std::move(changed);
        out.push_back(std::move(c));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsDigit(text[i])) continue;
        for (char d = '0'; d <= '9'; ++d) {
            if (d == text[i]) continue;
            std::string changed = text;
            changed[i] = d;
            push(std::move(changed));
        }
        if (i + 1 < text.size() && IsDigit(text[i + 1]) && text[i] != text[i + 1]) {
            std::string changed = text;
            std::swap(changed[i], changed[i + 1]);
            push(std::move(changed));
        }
    }
}

std::vector<Candidate> CandidatesFor(const ChangePoint& p) {
    std::vector<Candidate> out;
    const ControlRow& row = p.text;
    DigitChanges(row, kFieldStation, SuggestedField::Station, out);
    DigitChanges(row, kFieldX, SuggestedField::X, out);
    DigitChanges(row, kFieldY, SuggestedField::Y, out);
    DigitChanges(row, kFieldRadius, SuggestedField::Radius, out);
    const std::string& radius = row.strField[kFieldRadius];
    if (p.radius) {
        Candidate c{SuggestedField::Radius, radius, radius[0] == '-' ? radius.substr(1) : "-" + radius, row};
        c.row.strField[kFieldRadius] = c.to;
        out.push_back(std::move(c));
    }
    const std::string &x = row.strField[kFieldX], &y = row.strField[kFieldY];
    if (x != y) {
        Candidate c{SuggestedField::XY, x + "," + y, y + "," + x, row};
        std::swap(c.row.strField[kFieldX], c.row.strField[kFieldY]);
        out.push_back(std::move(c));
    }
    for (LineType t : {LineType::Straight, LineType::Circular, LineType::Transition, LineType::EndPoint}) {
        const std::string& text = LineTypeText(t);
        if (text == row.strField[kFieldLineType]) continue;
        Candidate c{SuggestedField::LineType, row.strField[kFieldLineType], text, row};
        c.row.strField[kFieldLineType] = text;
        out.push_back(std::move(c));
    }
    return out;
}

// Whether rows r − 2 … r + 2, with row r read as `with`, are all clear: the
// only rows whose flags a change to row r can touch.
bool ClearsAround(const std::vector<ChangePoint>& rows, const std::vector<Measure>& base, int r,
                  const ChangePoint& with, const CheckTolerance& tol) {
    const RowView view{rows, r, &with};
    const int n = view.Count();
    Measure changed[2];  // elements r − 1 and r hold row r
    for (int j = 0; j < 2; ++j) {
        const int k = r - 1 + j;
        if (k >= 1 && k < n) changed[j] = MeasureElement(view, k);
    }
    const Measure none;
    auto measureOf = [&](int j) -> const Measure& {
        if (j == r - 1 || j == r) return changed[j - (r - 1)];
        return j >= 1 && j < n ? base[static_cast<std::size_t>(j)] : none;
    };
    for (int k = std::max(1, r - 2); k <= std::min(n, r + 2); ++k)
        if (RowFlagged(view, k, measureOf, tol)) return false;
    return true;
}

}  // namespace

void SearchSuggestion(const std::vector<ChangePoint>& rows, const Chainage& chain, const std::vector<Measure>& measures,
                      const CheckTolerance& tol, CheckReport& report) {
    report.nCandidates = 0;
    report.suggestion.reset();
    if (report.flaggedRows.empty()) return;
    const int n = static_cast<int>(rows.size());
    // Rows farther than two from a flag keep it whatever row r becomes.
    const int first = std::max(1, report.flaggedRows.back() - 2);
    const int last = std::min(n, report.flaggedRows.front() + 2);
    std::set<std::pair<int, std::string>> seen;
    for (int r = first; r <= last; ++r) {
        for (Candidate& c : CandidatesFor(rows[static_cast<std::size_t>(r - 1)])) {
            if (OverflowingField(c.row) != -1) continue;
            std::string line = BuildControlLine(c.row);
            if (!seen.insert({r, line}).second) continue;
            const ChangePoint changed = ParseChangePoint(line, chain);
            if (!ClearsAround(rows, measures, r, changed, tol)) continue;
            if (++report.nCandidates == 1) report.suggestion = CheckSuggestion{r, c.field, c.from, c.to};
        }
    }
    if (report.nCandidates != 1) report.suggestion.reset();
}

}  // namespace vexaline::check
