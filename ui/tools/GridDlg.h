#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "core/grid/FourParam.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QTabWidget;
class RoadDocument;

// 坐标转换 (objectName "2700"), beside the main window and not modal, in
// three pages ("2701"):
// - 四参数: the common points (点名, X, Y, X', Y') typed or pasted into the
//   table ("2702"; 插入行 "2703", 删除行 "2704", 粘贴 "2705" or Ctrl+V) or read
//   from a CSV file ("2706"); 解算 ("2707") shows ΔX, ΔY, α, K and the RMS
//   ("2708") and each point's residuals, outliers named ("2709"). The
//   parameters, solved or read ("2711"), are saved as a .vxf ("2710").
// - 转换点文件: a point file carried by the parameters ("2712", back with
//   "2713") or from one grid ("2715") to another ("2716") ("2714";
//   latitudes and longitudes as decimal degrees "2717"), written to a file
//   of the same kind ("2718"), as `vexaline-cli transform` does.
// - 道路坐标系: the road's grid ("2719"), taken into the road by "2720" as
//   unsaved data (保存 writes ROAD.vxc beside it, undo takes it back); the
//   maps the window exports are drawn in it. It follows the road.
// What is refused, and what was done, is said under the pages ("2721").
class CGridDlg : public QDialog {
    Q_OBJECT
public:
    CGridDlg(RoadDocument& document, QWidget* owner);

    QTableWidget* Common() const { return m_common; }
    QTableWidget* Residuals() const { return m_residuals; }
    // The parameters solved or read; none yet, or none since the table changed.
    const std::optional<vexaline::FourParam>& Params() const { return m_params; }

public slots:
    void OnPaste();
    void OnReadCommon();
    void OnSolve();
    void OnSaveFour();
    void OnReadFour();
    void OnTransform();
    void OnTakeGrid();

private:
    QWidget* FourPage();
    QWidget* TransformPage();
    QWidget* RoadPage();
    // The parameters shown with where they came from (UTF-8), and the RMS line (may be empty).
    void ShowParams(const std::optional<vexaline::FourParam>& params, const std::string& source,
                    const std::string& rms);
    void DropSolved();  // the table changed: a solution of other points is not shown
    void FollowGrid();  // the road's grid changed (undone, another road opened)
    void ShowMessage(const std::string& utf8, bool refused);

    RoadDocument& m_doc;
    std::optional<vexaline::FourParam> m_params;
    bool m_solved = false;    // the parameters are the table's solution
    std::string m_roadGrid;   // the road's grid as the field was last given it
    QTabWidget* m_pages;
    QTableWidget* m_common;
    QTableWidget* m_residuals;
    QLabel* m_labelParams;
    QRadioButton* m_useFour;
    QCheckBox* m_inverse;
    QRadioButton* m_useGrids;
    QLineEdit* m_editFrom;
    QLineEdit* m_editTo;
    QCheckBox* m_degrees;
    QLineEdit* m_editRoadGrid;
    QLabel* m_labelMessage;
};
