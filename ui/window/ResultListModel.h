#pragma once
#include "ui/document/RoadDocument.h"
#include "ui/toolkit/GbkList.h"

// The results list: its header line, then one line per result row of the
// open road's results, each rendered from the values when it is shown. The
// values are what the export, the plan view and the sheet read; the lines
// are only for the eye.
class ResultListModel : public vexaline::platform::GbkListModel {
    Q_OBJECT
public:
    explicit ResultListModel(const RoadDocument& document, QObject* parent = nullptr);

    // The lines the list has been told of: the results' rows as they stood
    // at the last change, header included.
    int Count() const override { return count_; }
    std::string Line(int i) const override;

private:
    const RoadDocument& document_;
    int count_ = 1;
    bool heights_ = false;  // the header with 设计高程
};
