#include "core/road/Bracket.h"

#include <algorithm>
#include <cmath>

#include "core/text/TextFields.h"

namespace vexaline {

bool BuildBracketTable(const std::vector<std::string>& controlList, BracketTable& table, int& badLine) {
    table.entries.clear();
    if (controlList.size() > 1) table.entries.reserve(controlList.size() - 1);
    for (std::size_t i = 1; i < controlList.size(); ++i) {
        double station;
        // NaN and infinities are refused with the texts that hold no number:
        // they have no place in the order.
        if (!ReadDouble(Field(controlList[i], 0, 12), station) || !std::isfinite(station)) {
            badLine = static_cast<int>(i);
            return false;
        }
        table.entries.push_back(BracketEntry{station, static_cast<int>(i)});
    }
    // A bubble sort that swaps neighbours only when the first station is
    // strictly greater keeps equal stations in list order; a stable sort on
    // "less" gives the same table, without the quadratic time.
    std::stable_sort(table.entries.begin(), table.entries.end(),
                     [](const BracketEntry& a, const BracketEntry& b) { return a.dStation < b.dStation; });
    return true;
}

Bracketing Bracket(const BracketTable& table, double s) {
    const std::vector<BracketEntry>& e = table.entries;
    std::size_t n = e.size();
    if (n < 2) {
        int line = n == 1 ? e[0].nLine : 0;
        return Bracketing{line, line};
    }
    if (s == e[0].dStation) return Bracketing{e[0].nLine, e[1].nLine};
    if (s == e[n - 1].dStation) return Bracketing{e[n - 2].nLine, e[n - 1].nLine};
    // The first entry after the first whose station is strictly greater;
    // the table is sorted, so a binary search finds the same one.
    auto it = std::upper_bound(e.begin() + 1, e.end(), s,
                               [](double v, const BracketEntry& x) { return v < x.dStation; });
    if (it == e.end()) return Bracketing{e[n - 2].nLine, e[n - 1].nLine};  // beyond the last: callers refuse it
    std::size_t i = static_cast<std::size_t>(it - e.begin());
    return Bracketing{e[i - 1].nLine, e[i].nLine};
}

}  // namespace vexaline
