#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/road/ControlCheck.h"

class QTableWidget;
class QLabel;

// The report of the control-data check: one line per element (row,
// stations, type, closures at both ends, kink, problems), flagged ones
// first and marked, the suggestion below. Selecting a line hands its row
// to onSelectRow; the report can be saved as text.
class CCheckReportDlg : public QDialog {
    Q_OBJECT
public:
    CCheckReportDlg(const vexaline::CheckReport& report, const std::vector<vexaline::ChangePoint>& rows,
                    const vexaline::CheckTolerance& tolerance, std::function<void(int row)> onSelectRow,
                    QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }  // objectName "2301"
    // The report's text lines (GBK): what 保存报告 writes.
    const std::vector<std::string>& Lines() const { return m_lines; }

public slots:
    void OnSaveReport();  // "保存报告", objectName "2302"

private:
    QTableWidget* m_table;
    std::vector<int> m_rowOfLine;  // the control row each table line shows
    std::vector<std::string> m_lines;
    std::function<void(int)> m_onSelectRow;
};
