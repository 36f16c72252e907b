#include "ui/toolkit/TableEdit.h"

#include <QHeaderView>
#include <QTableWidget>

namespace vexaline::platform {

QTableWidget* CsvTable(QWidget* owner, const char* header, int id) {
    const QStringList titles = QString::fromUtf8(header).split(',');
    auto* t = new QTableWidget(0, static_cast<int>(titles.size()), owner);
    t->setObjectName(QString::number(id));
    t->setHorizontalHeaderLabels(titles);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return t;
}

std::vector<std::pair<int, std::vector<std::string>>> TableRows(const QTableWidget* t) {
    std::vector<std::pair<int, std::vector<std::string>>> rows;
    for (int r = 0; r < t->rowCount(); ++r) {
        std::vector<std::string> cells;
        bool blank = true;
        for (int c = 0; c < t->columnCount(); ++c) {
            const QTableWidgetItem* item = t->item(r, c);
            cells.push_back(item ? item->text().trimmed().toStdString() : std::string());
            blank = blank && cells.back().empty();
        }
        if (!blank) rows.emplace_back(r + 1, std::move(cells));
    }
    return rows;
}

void FillTable(QTableWidget* t, const TableCells& rows) {
    t->setRowCount(0);
    t->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < t->rowCount(); ++r)
        for (int c = 0; c < t->columnCount(); ++c) {
            const std::vector<std::string>& row = rows[static_cast<std::size_t>(r)];
            const std::string cell = c < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(c)] : "";
            t->setItem(r, c, new QTableWidgetItem(QString::fromStdString(cell)));
        }
}

void InsertTableRow(QTableWidget* t) {
    const int at = t->currentRow() >= 0 ? t->currentRow() + 1 : t->rowCount();
    t->insertRow(at);
    for (int c = 0; c < t->columnCount(); ++c) t->setItem(at, c, new QTableWidgetItem());
    t->setCurrentCell(at, 0);
}

void DeleteTableRow(QTableWidget* t) {
    if (t->currentRow() >= 0) t->removeRow(t->currentRow());
}

}  // namespace vexaline::platform
