#pragma once
#include "core/road/Results.h"
#include "ui/toolkit/GbkList.h"

// The results list: its header line, then one line per result row, each
// rendered from the values when it is shown. The values are what the
// export, the plan view and the sheet read; the lines are only for the eye.
class ResultListModel : public vexaline::platform::GbkListModel {
    Q_OBJECT
public:
    using GbkListModel::GbkListModel;

    int Count() const override { return static_cast<int>(set_.rows.size()) + 1; }
    std::string Line(int i) const override;

    const vexaline::ResultSet& Results() const { return set_; }
    // Only the header of the mode is left.
    void Reset(vexaline::ResultMode mode);
    // An empty set for the next run, holding the memory of the rows the
    // last Reset let go: a million rows are not laid out afresh each time.
    vexaline::ResultSet TakeSpare(vexaline::ResultMode mode);
    // The rows of more appended after the present ones.
    void Append(vexaline::ResultSet&& more);

private:
    vexaline::ResultSet set_;
    vexaline::ResultSet spare_;
};
