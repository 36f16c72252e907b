#pragma once
#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/plan/SheetDrawing.h"
#include "core/road/Ground.h"
#include "core/road/GroundModel.h"

class QComboBox;
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
// does. 载入地面线 ("2603") takes the ground from a .hdm file or from
// surveyed points (a TIN, cut ±50 m at each listed station), named in
// "2620" (another road opened drops it; a .hdm file is read on the road's
// station equations as they stand at each listing); with it the drawing adds the ground, slopes, catch points and
// areas, and the table "2606" gives each station's areas, the volumes
// between stations and their totals. 打印 ("2617") shows the 横断面图
// sheets on the paper of "2619" (A3, A4) in the print preview (a printer
// or PDF); "2618" saves them as PDF or SVG, as the command line draws them.
// Everything shown follows the road: a change of its rows or tables
// computes the list and the drawing anew.
class CSectionDlg : public QDialog {
    Q_OBJECT
public:
    CSectionDlg(RoadDocument& document, QWidget* owner);

    QTableWidget* Template() const { return m_template; }
    QTableWidget* Widening() const { return m_widening; }
    QListWidget* Stations() const { return m_stations; }
    CSectionView* View() const { return m_view; }
    QTableWidget* Earthwork() const { return m_earthwork; }
    // The sections of the listed stations, as drawn and exported, and what they met of the ground.
    const std::vector<vexaline::CrossSection>& Sections() const { return m_run.sections; }
    const vexaline::SectionRun& Run() const { return m_run; }

    // The ground from a file: .hdm sections, or surveyed points (.dat, .csv)
    // for a TIN; false after telling the user why not (the ground kept).
    bool LoadGround(const std::string& path);
    // The sheets of the listed sections on the chosen paper.
    std::vector<vexaline::SheetDrawing> SheetPages() const;

public slots:
    void OnList();    // the run's stations listed and their sections computed
    void OnExport();  // "2607"
    void OnLoadGround();  // "2603"
    void OnPrint();       // "2617"
    void OnSaveSheet();   // "2618"

private:
    // The tables as the road holds them; the edits taken into the road.
    void LoadTables();
    void TakeTables();
    void Follow();  // the road changed: tables, list and drawing anew
    void ShowSelected();
    void ShowMessage(const QString& text, bool refused);
    void FillEarthwork();
    // The ground of the road at the stations: the .hdm file's sections read
    // on its equations, the model's cut at them, or none (nullptr; refusal
    // set, UTF-8, when the file no longer reads).
    const std::vector<vexaline::GroundSection>* GroundOfStations(const vexaline::Alignment& road,
                                                                 const std::vector<double>& stations,
                                                                 std::string& refusal);
    // The ground at each listed section: nullptr where there is none; empty without ground.
    std::vector<const vexaline::GroundSection*> GroundsOfSections() const;

    RoadDocument& m_doc;
    bool m_taking = false;  // the tables are going into the road: not loaded back
    std::string m_path;  // the road whose range the fields hold
    QTableWidget* m_template;
    QTableWidget* m_widening;
    QLineEdit* m_editFrom;
    QLineEdit* m_editTo;
    QLineEdit* m_editInterval;
    QListWidget* m_stations;
    CSectionView* m_view;
    QLabel* m_labelMessage;
    QTableWidget* m_earthwork;
    QLabel* m_labelGround;
    QComboBox* m_paper;
    // The ground: a .hdm file's bytes (and name, UTF-8), read into m_groundFile
    // at each listing; or a model, cut at each listing into m_cut.
    std::optional<std::string> m_groundBytes;
    std::string m_groundName;
    std::optional<std::vector<vexaline::GroundSection>> m_groundFile;
    std::shared_ptr<const vexaline::GroundModel> m_model;
    std::vector<vexaline::GroundSection> m_cut;
    vexaline::SectionRun m_run;
};
