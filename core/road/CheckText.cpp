#include "core/road/CheckText.h"

#include <algorithm>
#include <cmath>

#include "core/text/AngleText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"

namespace vexaline {
namespace {

// Formatted texts hold the rows' own texts too: a character GBK cannot hold
// (only a row with bytes that are no GBK has one) leaves the text empty.
std::string G(const std::string& utf8) {
    std::string gbk;
    Utf8ToGbk(utf8, gbk);
    return gbk;
}

// Field names as the control columns show them.
const char* FieldName(ControlField f) { return text::kFieldNames[f]; }

std::string Number(const char* format, const std::optional<double>& v) {
    return v ? Format(format, *v) : std::string();
}

// Column widths of the text report, in bytes.
constexpr int kWidths[7] = {6, 12, 12, 10, 14, 14, 16};

std::string FlaggedRowsText(const CheckReport& r) {
    std::string rows;
    for (int row : r.flaggedRows) rows += (rows.empty() ? "" : "、") + std::to_string(row);
    return rows;
}

}  // namespace

std::string KinkText(double seconds) {
    // Whole tenths first, so that 59.96″ carries into the minute as 1′00.0″.
    const long long tenths = std::llround(std::fabs(seconds) * 10);
    const long long degrees = tenths / 36000, minutes = tenths / 600 % 60, rest = tenths % 600;
    return Format("%s%lld°%02lld′%02lld.%lld″", seconds < 0 && tenths > 0 ? "-" : "", degrees, minutes, rest / 10,
                  rest % 10);
}

std::string CheckProblemText(const CheckProblem& p) {
    switch (p.kind) {
    case ProblemKind::ClosureStart: return G(Format(text::kCheckClosureStart, p.nRow, p.dValue));
    case ProblemKind::ClosureEnd: return G(Format(text::kCheckClosureEnd, p.nRow, p.dValue));
    case ProblemKind::Kink: return G(Format(text::kCheckKink, p.nRow, KinkText(p.dValue).c_str()));
    case ProblemKind::Rule: break;
    }
    const char* format = text::kCheckRuleTexts[static_cast<int>(p.rule)];
    if (p.rule == CheckRule::NotANumber) return G(Format(format, p.nRow, FieldName(p.field)));
    return G(Format(format, p.nRow));
}

std::string CheckProblemsText(const ElementCheck& element) {
    std::string out;
    for (const CheckProblem& p : element.problems) {
        if (!out.empty()) out += Gbk("；");
        out += CheckProblemText(p);
    }
    return out;
}

std::vector<std::string> CheckCells(const ElementCheck& e, const std::vector<ChangePoint>& rows, bool typed) {
    auto station = [&rows, typed](int row, const std::optional<double>& v) {
        if (v && !typed) return Format("%.3f", *v);
        return rows[static_cast<std::size_t>(row - 1)].text.strField[kFieldStation];
    };
    return {std::to_string(e.nRow),
            station(e.nRow, e.dFrom),
            station(e.nRow + 1, e.dTo),
            e.strType,
            Number("%.1f", e.dClosureStartMm),
            Number("%.1f", e.dClosureEndMm),
            e.dKinkSec ? G(KinkText(*e.dKinkSec)) : std::string(),
            CheckProblemsText(e)};
}

std::string CheckSummaryText(const CheckReport& r, const CheckTolerance& t) {
    if (r.flaggedRows.empty()) return G(Format(text::kCheckClean, r.nRows, t.dClosureMm, t.dKinkSec));
    return G(Format(text::kCheckSummary, r.nRows, r.flaggedRows.size(), FlaggedRowsText(r).c_str(), t.dClosureMm,
                    t.dKinkSec));
}

std::string CheckStatusText(const CheckReport& r) {
    if (r.elements.empty()) return std::string();
    if (r.flaggedRows.empty()) return Gbk(text::kCheckLineClean);
    return G(Format(text::kCheckLineFlagged, FlaggedRowsText(r).c_str()));
}

std::string CheckSuggestionText(const CheckReport& r) {
    if (r.flaggedRows.empty()) return std::string();
    if (r.nCandidates > 1) return G(Format(text::kCheckAmbiguous, r.nCandidates));
    if (!r.suggestion) return Gbk(text::kCheckNoSuggestion);
    const CheckSuggestion& s = *r.suggestion;
    // The texts are GBK: worked in UTF-8 with the format, then back.
    const std::string from = GbkToUtf8(s.strFrom), to = GbkToUtf8(s.strTo);
    if (s.field == SuggestedField::XY)
        return G(Format(text::kCheckSuggestionXY, s.nRow, from.c_str(), to.c_str()));
    return G(Format(text::kCheckSuggestion, s.nRow, text::kCheckFieldNames[static_cast<int>(s.field)], from.c_str(),
                      to.c_str()));
}

std::vector<std::size_t> CheckDisplayOrder(const CheckReport& r) {
    std::vector<std::size_t> order(r.elements.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_partition(order.begin(), order.end(), [&r](std::size_t i) { return r.elements[i].bFlagged; });
    return order;
}

std::vector<std::string> CheckReportLines(const CheckReport& r, const std::vector<ChangePoint>& rows,
                                          const CheckTolerance& t) {
    std::vector<std::string> lines{CheckSummaryText(r, t)};
    if (r.elements.empty()) return lines;
    std::string title = "  ";
    for (int c = 0; c < 7; ++c) title += PadRight(Gbk(text::kCheckColumns[c]), kWidths[c]);
    lines.push_back(title + Gbk(text::kCheckColumns[7]));
    for (std::size_t i : CheckDisplayOrder(r)) {
        const ElementCheck& e = r.elements[i];
        const std::vector<std::string> cells = CheckCells(e, rows, r.bChained);
        std::string line = e.bFlagged ? std::string(text::kCheckFlagMark) + " " : "  ";
        for (int c = 0; c < 7; ++c) {
            const std::size_t start = line.size();
            line += cells[static_cast<std::size_t>(c)];
            PadColumn(line, start, kWidths[c]);
        }
        line += cells[7];
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
    }
    const std::string suggestion = CheckSuggestionText(r);
    if (!suggestion.empty()) lines.push_back(suggestion);
    return lines;
}

}  // namespace vexaline
