#pragma once
#include <QGroupBox>
#include <optional>
#include <string>
#include <vector>

#include "core/files/PointFile.h"
#include "core/road/Results.h"
#include "core/road/StakeRun.h"
#include "ui/tools/StationSetupDlg.h"
#include "ui/window/Panel.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class ResultListModel;
namespace vexaline::platform {
class FieldExchange;
class GbkListView;
struct FileChoice;
}  // namespace vexaline::platform

// "计算结果": the run over a range, the single stake, the mode, the export
// and the sheet. The rows are the document's; the station setup of
// setting-out mode is kept here, the points last taken with it for the plan.
class ResultsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ResultsPanel(PanelShared shared, QWidget* parent = nullptr);

    void Exchange(vexaline::platform::FieldExchange& dx, bool read);
    double m_dStartStation = 0;  // 1014
    double m_dEndStation = 0;    // 1015
    double m_dStakeStation = 0;  // 1020
    // With station equations the three station fields are 桩号 as typed
    // (GBK), read as texts and mapped to the distances above by the command.
    std::string m_strStartStation, m_strEndStation, m_strStakeStation;
    int m_nResultCount = 0;                   // 1023
    double m_dOffset = 0;                     // 1017
    double m_dInterval = 50;                  // 1016
    std::string m_strResultSel;               // 1022
    std::string m_strDeflection = "90.0000";  // 1024, D.MMSS
    int m_nResultMode = 0;                    // 1030/1031: 0 coordinates, 1 setting-out elements
    vexaline::platform::GbkListView* m_listResults;  // 1022
    QProgressBar* m_progress;                        // 1029

    // The instrument station and backsight last set up, and the points of that setup.
    const vexaline::StationSetup& Setup() const { return m_setup; }
    const std::vector<vexaline::PointRecord>& SetupPoints() const { return m_setupPoints; }

    void OnCompute();
    void OnSaveResults();
    void OnAddStake();
    void OnModeCoordinates();
    void OnModeSettingOut();
    void OnPrintSheet();  // "打印"
    void SaveResults();   // results export

private:
    void CreateControls();
    vexaline::ResultMode Mode() const;
    // The results list down to its header, before a run.
    void EmptyResults();
    void ShowModeHeader(vexaline::ResultMode mode);
    void AppendResults(vexaline::ResultSet&& rows);
    // The stale mark of the group, kept with the data.
    void ShowStale();
    // True when the results are current, or the user answers Yes to question.
    bool StaleAccepted(const char* question);
    // "设置测站"; false on Cancel, the setup then unchanged.
    bool SetUpStation();
    // The deflection in radians; nullopt after telling the user it holds no angle.
    std::optional<double> Deflection();
    // The stake request from the fields; the setup only in setting-out mode.
    vexaline::StakeRequest Request(double deflection) const;
    // Shows the message of a check that stops a command; false when one was shown.
    bool Passed(vexaline::StakeCheck check, const vexaline::Alignment& road);
    // The typed 桩号 of a station field as its distance (told when it is none).
    bool TypedDistance(QLineEdit* field, const std::string& typed, const vexaline::Chainage& chain, double& distance);
    // The results file's proposed name; with equations the range as 桩号, as the fields show it.
    std::string ResultsName() const;
    // Types 3 to 5 of the save dialog: DXF, CASS .dat, CSV.
    bool ExportStakesFile(const vexaline::platform::FileChoice& choice);
    QWidget* Owner() { return window(); }

    PanelShared m_shared;
    RoadDocument& m_doc;
    vexaline::StationSetup m_setup;
    std::vector<vexaline::PointRecord> m_setupPoints;
    std::optional<CStationSetupDlg::Points> m_stationPoints;  // its list as it was left, shown when it opens again
    ResultListModel* m_results;
    QLineEdit* m_editStartStation;
    QLineEdit* m_editEndStation;
    QLineEdit* m_editInterval;
    QLineEdit* m_editOffset;
    QLineEdit* m_editStakeStation;
    QLineEdit* m_editDeflection;
    QLineEdit* m_editResultCount;
    QLabel* m_labelStale;         // 1028
    QLabel* m_labelResultsCheck;  // 2011: the rows a run used were flagged
    QRadioButton* m_radioMode[2];
};
