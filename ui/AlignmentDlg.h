#pragma once
#include <QDialog>
#include <QIcon>
#include <functional>
#include <optional>
#include <string>

#include "core/files/PointFile.h"
#include "core/files/TextFile.h"
#include "core/road/Alignment.h"
#include "core/road/CrossSlope.h"
#include "core/road/Profile.h"
#include "core/road/Results.h"
#include "core/road/StakeRun.h"
#include "core/text/ControlLine.h"
#include "ui/PiDlg.h"
#include "ui/StationSetupDlg.h"
#include "ui/UndoStack.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class ResultListModel;
namespace vexaline::platform {
class GbkListView;
struct FileChoice;
}

// The main window: every input and output of the program as members,
// exchanged with the controls by UpdateData; the control list and the results
// list hold the data themselves. Each control's objectName is its identifier.
class CAlignmentDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAlignmentDlg(QWidget* parent = nullptr);

    bool m_bControlSaved = true;  // no unsaved change to the control data
    bool m_bResultsSaved = true;  // no unsaved change to the results
    double m_dStationX = 0;       // instrument station, from the station setup
    double m_dStationY = 0;
    double m_dBacksightX = 0;  // backsight, likewise
    double m_dBacksightY = 0;
    std::string m_strStationName;    // GBK
    std::string m_strBacksightName;  // GBK
    QProgressBar* m_progress;                          // 1029
    vexaline::platform::GbkListView* m_listResults;    // 1022
    QComboBox* m_comboRadius;                          // 1013
    vexaline::platform::GbkListView* m_listControl;    // 1006
    QComboBox* m_comboLineType;                        // 1002
    std::string m_strLineType;      // 1002
    std::string m_strFileName;      // 1007, name without folder, GBK; empty: no file open
    std::string m_strFilePath;      // full path, file system encoding
    std::string m_strControlSel;    // 1006, the selected control line
    int m_nSegmentCount = 0;        // 1010
    std::string m_strStation;       // 1001
    std::string m_strX;             // 1004
    std::string m_strY;             // 1005
    std::string m_strRadius;        // 1013
    double m_dStartStation = 0;     // 1014
    double m_dEndStation = 0;       // 1015
    double m_dStakeStation = 0;     // 1020
    // With station equations the three station fields are 桩号 as typed
    // (GBK), read as texts and mapped to the distances above by the command.
    std::string m_strStartStation, m_strEndStation, m_strStakeStation;
    int m_nResultCount = 0;         // 1023
    double m_dOffset = 0;           // 1017
    double m_dInterval = 50;        // 1016
    std::string m_strResultSel;     // 1022
    std::string m_strDeflection = "90.0000";  // 1024, D.MMSS
    int m_nResultMode = 0;          // 1030/1031: 0 coordinates, 1 setting-out elements
    double m_dLookupX = 0;          // 1052
    double m_dLookupY = 0;          // 1053
    std::string m_strLookupOffset;  // 1055
    std::string m_strLookupStation; // 1054
    std::string m_strLookupElevation;  // 2056, empty without a vertical alignment or outside it
    // The road's height tables as the window holds them (empty: none): the
    // vertical alignment (ROAD.vxz) and cross slopes (ROAD.vxh) beside the file.
    std::vector<vexaline::GradeRow> m_gradeRows;
    std::vector<vexaline::SlopeRow> m_slopeRows;
    // The station equations (ROAD.vxd beside the file; empty: none).
    std::vector<vexaline::EquationRow> m_equationRows;
    std::vector<vexaline::PointRecord> m_setupPoints;  // the points of the last station setup taken, for the plan
    QIcon m_hIcon;

    // The station equations as the road's (none without a table).
    vexaline::Chainage RoadChain() const;
    // The control list parsed into the road, and the results as values.
    vexaline::Alignment Road() const;
    const vexaline::ResultSet& Results() const;
    // The road the results were computed from (the list's when not known).
    vexaline::Alignment ResultsRoad() const;
    // The results are another road's: the control data or the height tables changed since.
    bool ResultsStale() const;
    // The vertical alignment and cross slopes from the tables; none without a grade table.
    struct Heights {
        vexaline::Profile profile;
        vexaline::CrossSlopes slopes;
    };
    std::optional<Heights> RoadHeights() const;

    // Members to controls (false) or back (true). A number that does not
    // parse stops the read there with the toolkit's request and the handler
    // goes on; false only when a text could not be stored (not GBK), and the
    // handler must then stop, since its members no longer say what is shown.
    // allRead (when given) tells whether every field was read, numbers included.
    bool UpdateData(bool read, bool* allRead = nullptr);

public slots:
    void OnOK();  // "打开/创建"
    // A road of the 最近 menu (2013), opened the way 打开/创建 opens a chosen file.
    void OnOpenRecent(const QString& path);
    void OnSaveControl();
    void OnSaveControlAs();  // "另存为": another name, or LandXML
    void OnAddModify();
    void OnSelchangeControlList();
    void OnDeleteControl();
    void OnCompute();
    void OnSaveResults();
    void OnAddStake();
    void OnReverseLookup();
    void OnModeCoordinates();
    void OnModeSettingOut();
    void OnClose();  // the close button and Escape: the three questions
    void OnAbout();
    void OnCheckControl();  // "检查"
    void OnPlanView();      // "平面图"
    void OnPrintSheet();    // "打印"
    void OnPiEntry();       // "交点法"
    void OnProfile();       // "纵断面"
    void OnInspect();       // "检核"
    void OnChain();         // "断链"
    // The keyboard on the control data (AlignmentDlgKeys.cpp): Ctrl+V, Ctrl+C
    // on the control list; Ctrl+Z, Ctrl+Y in the window.
    void OnPasteControl();
    void OnCopyControl();
    void OnUndoControl();
    void OnRedoControl();

    void accept() override;  // the OK command opens a file, it never ends the window
    void reject() override;  // Escape and the close button go through OnClose

signals:
    void ControlChanged();  // rows opened, added, replaced or deleted
    void ResultsChanged();  // rows computed, added or emptied
    void HeightsChanged();  // the vertical alignment or cross slopes read, edited or dropped

private:
    // While a handler waits on one of its boxes, no other handler may start.
    class Busy {
    public:
        explicit Busy(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
        ~Busy() {
            if (entered_) flag_ = false;
        }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        explicit operator bool() const { return entered_; }

    private:
        bool& flag_;
        bool entered_;
    };

    void CreateControls();
    QPushButton* InspectButton();  // "检核", wired (AlignmentDlgInspect.cpp)
    QPushButton* ChainButton();    // "断链" (2008), wired (AlignmentDlgChain.cpp)
    // The desk (AlignmentDlgDesk.cpp): the help panel and its toggle (2014);
    // the size the window opens at, and the help panel shown only where the
    // screen has room for it; the title naming the open file; the 最近 menu,
    // filled as it opens.
    QLayout* CreateHelpPanel();
    void SizeForScreen();
    void ShowTitle();
    void FillRecentMenu();
    // Open/Create once the file is known: choose gives it (empty: cancelled),
    // after unsaved rows have been asked about.
    void OpenRoad(const std::function<vexaline::platform::FileChoice()>& choose);
    void EnableSave();   // 保存 and 另存为, once there are rows
    // A new road made elsewhere (imported, constructed) in place of the list's:
    // its rows unsaved, under the file they are to be saved to (path in the
    // file system's encoding, name UTF-8), with the station equations its
    // rows' stations are 桩号 on (none: the rows are distances).
    void PutNewRoad(const std::string& path, const std::string& name, const std::vector<vexaline::ControlRow>& rows,
                    const std::vector<vexaline::EquationRow>& equations = {});
    bool SaveControl();  // false (after telling the user) when the file was not written
    void SaveResults();  // results export
    // Exchange with other tools (AlignmentDlgExchange.cpp): a LandXML file
    // into the control list as unsaved rows, the rows out as LandXML, the
    // stakes out as DXF, CASS or CSV. Each tells the user what failed.
    void ImportLandXmlFile(const vexaline::platform::FileChoice& choice);
    bool ExportLandXmlFile(const vexaline::platform::FileChoice& choice);
    bool ExportStakesFile(const vexaline::platform::FileChoice& choice);
    // The results list down to its header, before a run.
    void EmptyResults();
    // The open road as the source of rows computed now.
    vexaline::ResultSource Source() const;
    // True when the results are current, or the user answers Yes to question.
    bool StaleAccepted(const char* question);
    // The stale mark of the results group, kept with the data.
    void ShowStale();
    // The results list holding only the header of a mode.
    void ShowModeHeader(vexaline::ResultMode mode);
    // "设置测站" on the six members; false on Cancel, the members then unchanged.
    bool SetUpStation();
    // The deflection in radians; nullopt after telling the user it holds no angle.
    std::optional<double> Deflection();
    // The stake request from the fields; the setup only in setting-out mode.
    vexaline::StakeRequest Request(double deflection) const;
    // Shows the message of a check that stops a command; false when one was shown.
    bool Passed(vexaline::StakeCheck check, const vexaline::Alignment& road);
    void AppendResults(vexaline::ResultSet&& rows);
    // The check's line under the control list, kept current as rows change;
    // the same line in the results group after a run on flagged rows.
    void ShowCheckLine();
    // Heights (AlignmentDlgProfile.cpp): the tables beside the open file read
    // (a bad one refused with its message), their text as the results'
    // source records it, the files 保存 writes with the road, the group's line.
    void LoadHeightsBeside();
    std::string HeightsText() const;
    // Station equations (AlignmentDlgChain.cpp): the table's text as the
    // results' source records it (empty: none); a road whose equations do
    // not fit it refused; the typed 桩号 of a station field as its distance.
    std::string EquationsText() const;
    bool ChainFits(const vexaline::Alignment& road);
    bool TypedDistance(QLineEdit* field, const std::string& typed, const vexaline::Chainage& chain, double& distance);
    std::string LookupStation(const vexaline::Alignment& road, double distance) const;
    // The results file's proposed name; with equations the range as 桩号, as the fields show it.
    std::string ResultsName() const;
    std::vector<vexaline::FileBytes> HeightFiles() const;
    std::vector<std::string> StaleTables() const;  // removed once the road is written
    void ShowHeightsLine();
    vexaline::ResultMode Mode() const;
    // Keys (AlignmentDlgKeys.cpp): Enter runs the action of its field's
    // group, the tab order follows the fields as read, the control list takes
    // paste, copy and Delete, the window undo and redo.
    void WireKeys();
    // The control data as one value: what an edit changes and undo restores
    // (saved: the file held these rows when the state was left).
    struct ControlState {
        std::vector<std::string> lines;
        std::string strFilePath, strFileName, strHeightsPath;
        std::vector<vexaline::GradeRow> gradeRows;
        std::vector<vexaline::SlopeRow> slopeRows;
        std::vector<vexaline::EquationRow> equationRows;
        bool saved = true;
    };
    ControlState CurrentControl() const;
    void RestoreControl(ControlState state);
    void RememberControl();  // before every edit of the control data
    // The control list showing lines (header first) and the count; the
    // fields keep what they show.
    void ShowControlLines(std::vector<std::string> lines);

    bool m_bBusy = false;
    UndoStack<ControlState> m_history;
    // What 交点法 and 设置测站 held when last closed, shown when they open again.
    std::optional<CPiDlg::State> m_piState;
    std::optional<CStationSetupDlg::Points> m_stationPoints;
    ResultListModel* m_results;
    QLineEdit* m_editStation;
    QLineEdit* m_editX;
    QLineEdit* m_editY;
    QLineEdit* m_editFileName;
    QLineEdit* m_editSegmentCount;
    QLineEdit* m_editStartStation;
    QLineEdit* m_editEndStation;
    QLineEdit* m_editInterval;
    QLineEdit* m_editOffset;
    QLineEdit* m_editStakeStation;
    QLineEdit* m_editDeflection;
    QLineEdit* m_editResultCount;
    QLabel* m_labelStale;  // 1028
    QLineEdit* m_editLookupX;
    QLineEdit* m_editLookupY;
    QLineEdit* m_editLookupStation;
    QLineEdit* m_editLookupOffset;
    QLabel* m_labelCheck;         // 2010, under the control list
    QLabel* m_labelResultsCheck;  // 2011, in the results group: the rows a run used were flagged
    QLabel* m_labelHeights;       // 2012, in the control-data group: which height tables are loaded
    QLineEdit* m_editLookupElevation;
    // The alignment file whose beside-files hold the tables as shown; empty:
    // the tables are to be written by the next 保存.
    std::string m_strHeightsPath;
    std::vector<std::string> m_refusedBeside;  // tables beside the file refused at opening
    QRadioButton* m_radioMode[2];
    QPushButton* m_btnOpen;
    QPushButton* m_btnRecent;  // 2013
    QToolButton* m_btnHelp;    // 2014
    QPushButton* m_btnDelete;
    QPushButton* m_btnSaveControl;
    QPushButton* m_btnSaveControlAs;
};
