#pragma once
#include <string>
#include <utility>
#include <vector>

class QTableWidget;
class QWidget;

// Tables the user edits in place, whose columns are a CSV file's: the road's
// tables (grades, cross slopes, template, widening) as they are typed.
namespace vexaline::platform {

using TableCells = std::vector<std::vector<std::string>>;

// A table whose columns are the titles of header (comma-separated), rows
// selected whole, columns sharing the width; objectName id.
QTableWidget* CsvTable(QWidget* owner, const char* header, int id);
// The rows as texts (trimmed), each with its table row counted from 1;
// rows left wholly blank are not rows.
std::vector<std::pair<int, std::vector<std::string>>> TableRows(const QTableWidget* table);
// The table holding rows, no more.
void FillTable(QTableWidget* table, const TableCells& rows);
// A blank row after the current one, else at the end, made current; the current row removed.
void InsertTableRow(QTableWidget* table);
void DeleteTableRow(QTableWidget* table);

}  // namespace vexaline::platform
