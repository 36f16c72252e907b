#pragma once
#include <QDialog>
#include <functional>
#include <vector>

#include "core/road/PiTable.h"
#include "core/text/ControlLine.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

// 交点法: the road typed as designers draw it, a table of intersection
// points, made into change rows. The table can be loaded and saved as CSV;
// 计算 shows the curve table (which can be saved); 确定 hands the rows to
// putRows, and the dialog closes only when putRows took them. Ctrl+V on the
// table pastes rows from a spreadsheet, Ctrl+C copies the selected ones.
// On a road with station equations (chain) the start station is typed as a
// 桩号, and the curve table and the rows are 桩号 too.
class CPiDlg : public QDialog {
    Q_OBJECT
public:
    using PutRows = std::function<bool(const std::vector<vexaline::ControlRow>& rows)>;
    explicit CPiDlg(PutRows putRows, vexaline::Chainage chain = vexaline::Chainage(), QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }    // "2201"
    QTableWidget* Curves() const { return m_curves; }  // "2208"
    // The table's rows as the construction takes them (nLine: the table row).
    std::vector<vexaline::PiRow> Rows() const;
    void SetRows(const std::vector<vexaline::PiRow>& rows);
    // The name proposed for the road the table makes: the table file's (as
    // last opened or saved, UTF-8 path) with ".vxa", else "交点表.vxa".
    std::string ProposedRoadName() const;
    // What the dialog held, to be shown again when it opens next.
    struct State {
        std::vector<vexaline::PiRow> rows;
        std::string strStart;      // UTF-8
        std::string strTablePath;  // as m_strTablePath
    };
    State Kept() const;
    void Restore(const State& state);

public slots:
    void OnInsertRow();   // "2202": before the selected row, else before the end point
    void OnDeleteRow();   // "2203"
    void OnOpenTable();   // "2204"
    void OnSaveTable();   // "2205"
    void OnCompute();     // "2207"
    void OnSaveCurves();  // "2209"
    void OnOk();          // "2210"
    void OnPasteRows();   // Ctrl+V: a table with nothing typed is replaced, else rows go in as 插入行 puts one
    void OnCopyRows();    // Ctrl+C: the selected rows, or all

private:
    // The road from the fields, or nothing after telling the user why.
    bool Build(vexaline::PiRoad& road);
    void ShowCurves(const std::vector<vexaline::CurveRecord>& curves);
    int InsertPlace() const;  // before the selected row, else before the end point
    bool Fresh() const;       // the table as a new dialog shows it: nothing typed

    PutRows m_putRows;
    vexaline::Chainage m_chain;  // the window's station equations; empty: none
    QTableWidget* m_table;
    QLineEdit* m_editStart;  // "2206"
    QTableWidget* m_curves;
    QPushButton* m_btnSaveCurves;
    std::vector<vexaline::CurveRecord> m_shown;  // what the curve table shows
    std::string m_strTablePath;  // the table's file as last opened or saved, UTF-8; empty: none
};
