#pragma once
#include <QGroupBox>
#include <functional>
#include <optional>
#include <string>

#include "ui/tools/PiDlg.h"
#include "ui/window/Panel.h"

class QComboBox;
class QLabel;
class QLineEdit;
namespace vexaline {
enum class MapFormat;
}
namespace vexaline::platform {
class FieldExchange;
class GbkListView;
struct FileChoice;
}  // namespace vexaline::platform

// "控制数据": the road's rows typed, opened, saved and checked; its files
// and the tools that make or edit its rows and tables (交点法, 纵断面, 断链,
// LandXML). The list shows the open road's rows as the document holds them.
class ControlPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ControlPanel(PanelShared shared, QWidget* parent = nullptr);

    // The fields' members, exchanged in the window's order.
    void Exchange(vexaline::platform::FieldExchange& dx, bool read);
    std::string m_strLineType;    // 1002
    std::string m_strControlSel;  // 1006, the selected control line
    int m_nSegmentCount = 0;      // 1010
    std::string m_strStation;     // 1001
    std::string m_strX;           // 1004
    std::string m_strY;           // 1005
    std::string m_strRadius;      // 1013
    vexaline::platform::GbkListView* m_listControl;  // 1006
    QComboBox* m_comboLineType;                      // 1002
    QComboBox* m_comboRadius;                        // 1013

    void OnOK();  // "打开/创建"
    void OnOpenRecent(const QString& path);
    void OnSaveControl();
    void OnSaveControlAs();  // "另存为": another name, or LandXML, KML, GeoJSON
    void OnAddModify();
    void OnSelchangeControlList();
    void OnDeleteControl();
    void OnCheckControl();  // "检查"
    void OnPiEntry();       // "交点法"
    void OnProfile();       // "纵断面"
    void OnChain();         // "断链"
    // Ctrl+V, Ctrl+C and Delete on the list; undo and redo of the rows.
    void OnPasteControl();
    void OnCopyControl();
    void OnUndoControl();
    void OnRedoControl();
    bool SaveControl();  // false (after telling the user) when the file was not written

private:
    void CreateControls();
    void WireKeys();
    void FillRecentMenu();
    // Open/Create once the file is known: choose gives it (empty: cancelled),
    // after unsaved rows have been asked about.
    void OpenRoad(const std::function<vexaline::platform::FileChoice()>& choose);
    // A LandXML file's road as unsaved rows; the rows out as LandXML, or
    // on a map in the road's grid. Each tells the user what failed.
    void ImportLandXmlFile(const vexaline::platform::FileChoice& choice);
    bool ExportLandXmlFile(const vexaline::platform::FileChoice& choice);
    bool ExportMapFile(const vexaline::platform::FileChoice& choice, vexaline::MapFormat format);
    bool ExportIfcFile(const vexaline::platform::FileChoice& choice);
    void EnableSave();  // 保存 and 另存为, once there are rows
    // The list, the count and the buttons after the rows changed from line first on.
    void ShowRows(int first, int removed, int inserted);
    void ShowFileName();
    // The check's line under the list, kept current as rows change; the
    // tables' line (which are loaded, and whether saved).
    void ShowCheckLine();
    void ShowHeightsLine();
    QWidget* Owner() { return window(); }

    PanelShared m_shared;
    RoadDocument& m_doc;
    std::optional<CPiDlg::State> m_piState;  // what 交点法 held when last closed
    QLineEdit* m_editStation;
    QLineEdit* m_editX;
    QLineEdit* m_editY;
    QLineEdit* m_editFileName;
    QLineEdit* m_editSegmentCount;
    QLabel* m_labelCheck;    // 2010
    QLabel* m_labelHeights;  // 2012
    QPushButton* m_btnRecent;  // 2013
    QPushButton* m_btnDelete;
    QPushButton* m_btnSaveControl;
    QPushButton* m_btnSaveControlAs;
};
