#include "ui/ResultListModel.h"

#include "core/text/ResultText.h"

using namespace vexaline;

std::string ResultListModel::Line(int i) const {
    if (i == 0) return ResultHeader(set_.mode);
    return ResultLine(set_, static_cast<std::size_t>(i - 1));
}

void ResultListModel::Reset(ResultMode mode) {
    beginResetModel();
    set_ = ResultSet{};
    set_.mode = mode;
    set_.rows.shrink_to_fit();
    endResetModel();
}

void ResultListModel::Append(ResultSet&& more) {
    if (more.rows.empty()) return;
    const int first = Count();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(more.rows.size()) - 1);
    set_.Append(std::move(more));
    endInsertRows();
}
