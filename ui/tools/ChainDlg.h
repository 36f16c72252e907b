#pragma once
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/road/Chainage.h"

class QTableWidget;

// 断链: the road's station equations as a table of two columns (断链前桩号,
// 断链后桩号), rows inserted and deleted; 确定 closes only on a table the
// core takes (BuildChainage) and the road's rows and tables fit (fits: why
// they do not, UTF-8, or empty), a refusal naming the row. No rows: no
// equations.
class CChainDlg : public QDialog {
    Q_OBJECT
public:
    using Fits = std::function<std::string(const vexaline::Chainage& chain)>;
    CChainDlg(const std::vector<vexaline::EquationRow>& rows, Fits fits, QWidget* parent = nullptr);

    QTableWidget* Table() const { return m_table; }  // "2601"
    // The table as typed (nLine: the table row); rows left wholly blank are not rows.
    std::vector<vexaline::EquationRow> Rows() const;

public slots:
    void OnOk();  // "2604"

private:
    QTableWidget* m_table;
    Fits m_fits;
};
