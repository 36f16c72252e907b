#include "ui/ResultListModel.h"

#include "core/text/ResultText.h"

using namespace vexaline;

std::string ResultListModel::Line(int i) const {
    if (i == 0) return ResultHeader(set_.mode, set_.bHeights);
    return ResultLine(set_, static_cast<std::size_t>(i - 1));
}

void ResultListModel::Reset(ResultMode mode) {
    beginResetModel();
    spare_ = std::move(set_);
    set_ = ResultSet{};
    set_.mode = mode;
    endResetModel();
}

ResultSet ResultListModel::TakeSpare(ResultMode mode) {
    ResultSet set = std::move(spare_);
    spare_ = ResultSet{};
    set.rows.clear();  // the memory stays
    set.messages.clear();
    set.setups.clear();
    set.range.reset();
    set.source.reset();
    set.bHeights = false;  // the next run's heights are its own
    set.mode = mode;
    return set;
}

void ResultListModel::Append(ResultSet&& more) {
    if (more.rows.empty()) return;
    const int first = Count();
    const bool heights = set_.bHeights;
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(more.rows.size()) - 1);
    set_.Append(std::move(more));
    endInsertRows();
    if (set_.bHeights != heights) emit dataChanged(index(0), index(0));  // the header gains or loses 设计高程
}
