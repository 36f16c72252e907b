#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "core/road/Section.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;
class CSectionView;
class RoadDocument;

// 横断面 (objectName "2600"), beside the main window and not modal: the open
// road's cross-section template ("2601") and widening ("2602") edited in
// place, each edit taken into the road as unsaved data (保存 writes ROAD.vxt
// and ROAD.vxw beside it with the rest, undo takes it back) or, where the
// tables are refused, named under them ("2612") while the road keeps its
// own. The stations of a run ("2608" to "2609" every "2610", 列出 "2611")
// are listed ("2604"); the selected one's design section is drawn ("2605");
// 导出 ("2607") writes every listed station's points as the command line
// does. Everything shown follows the road: a change of its rows or tables
// computes the list and the drawing anew.
class CSectionDlg : public QDialog {
    Q_OBJECT
public:
    CSectionDlg(RoadDocument& document, QWidget* owner);

    QTableWidget* Template() const { return m_template; }
    QTableWidget* Widening() const { return m_widening; }
    QListWidget* Stations() const { return m_stations; }
    CSectionView* View() const { return m_view; }
    // The sections of the listed stations, as drawn and exported.
    const std::vector<vexaline::CrossSection>& Sections() const { return m_sections; }

public slots:
    void OnList();    // the run's stations listed and their sections computed
    void OnExport();  // "2607"

private:
    // The tables as the road holds them; the edits taken into the road.
    void LoadTables();
    void TakeTables();
    void Follow();  // the road changed: tables, list and drawing anew
    void ShowSelected();
    void ShowMessage(const QString& text, bool refused);

    RoadDocument& m_doc;
    bool m_taking = false;
    std::string m_path;  // the road whose range the fields hold  // the tables are going into the road: not loaded back
    QTableWidget* m_template;
    QTableWidget* m_widening;
    QLineEdit* m_editFrom;
    QLineEdit* m_editTo;
    QLineEdit* m_editInterval;
    QListWidget* m_stations;
    CSectionView* m_view;
    QLabel* m_labelMessage;
    std::vector<vexaline::CrossSection> m_sections;
};
