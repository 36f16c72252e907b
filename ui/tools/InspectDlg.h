#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "core/road/Inspect.h"
#include "ui/plan/PlanMarks.h"

class RoadDocument;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QTableView;
class InspectModel;

// 实测检核 (objectName "2500"), beside the main window and not modal:
// measured points loaded from a file (载入 "2501", its name "2502") and
// compared with the open road, under the tolerances in
// plan ("2503" on, "2504" mm) and height ("2505" on, "2506" mm). The table
// ("2509") lists the points out of tolerance first, in red; the summary
// ("2510") the counts and spread, and any note. 保存 ("2507") writes the
// inspection as the command line does, text or CSV; 平面图 ("2508") opens
// the plan view (PlanViewWanted), where the points are drawn and a selected
// row's point is ringed. The figures follow the road: a change of its rows,
// its tables or a tolerance computes them anew from the points loaded.
class CInspectDlg : public QDialog {
    Q_OBJECT
public:
    // The plan view it rings points on is owner's child "2100".
    CInspectDlg(const RoadDocument& document, QWidget* owner);

    QTableView* Table() const { return m_table; }
    const vexaline::Inspection& Shown() const { return m_shown; }
    // The inspection's row (file order) a table row shows.
    int PointOfRow(int tableRow) const;
    // The measured points as the plan view draws them, and the selected one (-1: none).
    const std::vector<vexaline::plan::MeasuredMark>& Marks() const { return m_marks; }
    int SelectedMark() const { return m_selected; }

signals:
    void PlanViewWanted();

public slots:
    void OnLoad();
    void OnSave();
    void Recompute();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    vexaline::Tolerances ReadTolerances() const;
    void ShowSummary(const QString& text, bool refused);
    void OnRowChanged(int tableRow);
    // The open plan view repainted; centred on the selected point when asked and it is out of sight.
    void RepaintPlan(bool centre);

    const RoadDocument& m_doc;
    QCheckBox* m_checkPlan;
    QDoubleSpinBox* m_spinPlan;
    QCheckBox* m_checkHeight;
    QDoubleSpinBox* m_spinHeight;
    QLabel* m_labelFile;
    QLabel* m_labelSummary;
    QTableView* m_table;
    InspectModel* m_model;
    std::vector<vexaline::MeasuredPoint> m_points;  // as loaded
    std::string m_strName;                          // the measured file's name, UTF-8; empty: none loaded
    vexaline::Inspection m_shown;                   // what the table shows
    vexaline::Tolerances m_shownTolerances;         // and under which tolerances
    std::vector<vexaline::plan::MeasuredMark> m_marks;
    int m_selected = -1;
};
