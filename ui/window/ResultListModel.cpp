#include "ui/window/ResultListModel.h"

#include "core/road/ResultText.h"

using namespace vexaline;

ResultListModel::ResultListModel(const RoadDocument& document, QObject* parent)
    : GbkListModel(parent), document_(document) {
    connect(&document, &RoadDocument::ResultsReset, this, [this] {
        beginResetModel();
        count_ = static_cast<int>(document_.Results().rows.size()) + 1;
        heights_ = document_.Results().bHeights;
        endResetModel();
    });
    connect(&document, &RoadDocument::ResultsAppended, this, [this](int first, int count) {
        beginInsertRows(QModelIndex(), first, first + count - 1);
        count_ = first + count;
        endInsertRows();
        if (heights_ == document_.Results().bHeights) return;
        heights_ = document_.Results().bHeights;
        emit dataChanged(index(0), index(0));  // the header gains or loses 设计高程
    });
}

std::string ResultListModel::Line(int i) const {
    const ResultSet& set = document_.Results();
    if (i == 0) return ResultHeader(set.mode, heights_);
    return ResultLine(set, static_cast<std::size_t>(i - 1));
}
