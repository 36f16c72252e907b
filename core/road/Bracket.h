#pragma once
#include <string>
#include <vector>

// The bracket table: (station, control line number) pairs sorted by station,
// built afresh by each command from the control list and then discarded.
namespace vexaline {

struct BracketEntry {
    double dStation;
    int nLine;  // index in the control list (1 ... k)
};

struct BracketTable {
    std::vector<BracketEntry> entries;  // sorted by station; equal stations keep list order
    double Min() const { return entries.front().dStation; }
    double Max() const { return entries.back().dStation; }
};

// Builds the table from control list lines 1 ... size-1 (line 0 is the
// header). False when a line's station field holds no number; badLine is then
// that line's index and the table is incomplete.
bool BuildBracketTable(const std::vector<std::string>& controlList, BracketTable& table, int& badLine);

struct Bracketing {
    int nStartLine;  // control list index of the element's start line
    int nEndLine;    // and of its end line
};

// The element that holds station s: the first element at the first station,
// the last element at the last station, otherwise the entry before the first
// one (searching from the second) whose station is strictly greater than s.
// Needs at least two entries.
Bracketing Bracket(const BracketTable& table, double s);

}  // namespace vexaline
