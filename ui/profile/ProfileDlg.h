#pragma once
#include <QDialog>
#include <vector>

#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"

class QTableWidget;
class CProfileView;

// 纵断面: the road's vertical alignment (grade points) and cross slopes as
// two tables, each loaded from and saved to its own file; 计算 shows the
// vertical curve table and the drawing of the profile; 确定 closes only on
// tables the window can use (an empty grade table: no vertical alignment).
// On a road with station equations (chain) the tables' stations are 桩号,
// checked on them, and the curve table and the drawing show 桩号.
class CProfileDlg : public QDialog {
    Q_OBJECT
public:
    CProfileDlg(const std::vector<vexaline::GradeRow>& grades, const std::vector<vexaline::SlopeRow>& slopes,
                vexaline::Chainage chain = vexaline::Chainage(), QWidget* parent = nullptr);

    QTableWidget* Grades() const { return m_grades; }  // "2401"
    QTableWidget* Slopes() const { return m_slopes; }  // "2402"
    QTableWidget* Curves() const { return m_curves; }  // "2412"
    CProfileView* View() const { return m_view; }      // "2413"
    // The tables as typed (nLine: the table row); rows left wholly blank are not rows.
    std::vector<vexaline::GradeRow> GradeRows() const;
    std::vector<vexaline::SlopeRow> SlopeRows() const;

public slots:
    void OnOpenGrades();  // "2405"
    void OnSaveGrades();  // "2406"
    void OnOpenSlopes();  // "2409"
    void OnSaveSlopes();  // "2410"
    void OnCompute();     // "2411"
    void OnOk();          // "2414"

private:
    // Both tables checked, the profile shown; false after telling the user why.
    bool Compute();
    void ShowProfile(const vexaline::Profile* profile);

    QTableWidget* m_grades;
    QTableWidget* m_slopes;
    QTableWidget* m_curves;
    CProfileView* m_view;
    vexaline::Chainage m_chain;  // the window's station equations; empty: none
};
