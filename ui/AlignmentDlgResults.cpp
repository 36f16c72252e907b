#include "ui/AlignmentDlg.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <ctime>
#include <new>

#include "core/files/ResultsExport.h"
#include "core/road/ControlCheck.h"
#include "core/road/ReverseLookup.h"
#include "core/road/StakeHeight.h"
#include "core/road/StakeRun.h"
#include "core/text/Gbk.h"
#include "core/text/ResultText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/ResultListModel.h"
#include "ui/StationSetupDlg.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

// The results: the run, the single stake, the export, the lookup and the
// mode switch.

using namespace vexaline;

namespace {

// The element check's box. It belongs to the window, so nothing else can be
// started there while it waits.
MessageSink CheckBox(QWidget* owner) {
    return [owner](const std::string& gbk) { platform::NotifyElementCheck(owner, GbkToUtf8(gbk).c_str()); };
}

}  // namespace

ResultMode CAlignmentDlg::Mode() const {
    return m_nResultMode == 1 ? ResultMode::SettingOut : ResultMode::Coordinates;
}

void CAlignmentDlg::EmptyResults() {
    const int n = m_results->Count();
    if (n <= 1) return;
    // The bar ends where removing line 1 n times would leave it, 100 / n;
    // the lines go in one step.
    m_results->Reset(m_results->Results().mode);
    m_progress->setValue(100 / n);
}

void CAlignmentDlg::ShowModeHeader(ResultMode mode) {
    m_results->Reset(mode);
    m_progress->setValue(0);
}

void CAlignmentDlg::AppendResults(ResultSet&& rows) {
    m_results->Append(std::move(rows));
    m_nResultCount = m_results->Count() - 1;
    UpdateData(false);
    m_bResultsSaved = false;
}

bool CAlignmentDlg::SetUpStation() {
    // Built afresh each time, opening on the points last taken from it and
    // the list as it was left, taken or not.
    CStationSetupDlg setup(m_strStationName, m_dStationX, m_dStationY, m_strBacksightName, m_dBacksightX,
                           m_dBacksightY, this);
    if (m_stationPoints) setup.Restore(*m_stationPoints);
    const bool taken = setup.exec() == QDialog::Accepted;
    m_stationPoints = setup.Kept();
    if (!taken) return false;
    m_strStationName = setup.m_strStationName;
    m_dStationX = setup.m_dStationX;
    m_dStationY = setup.m_dStationY;
    m_strBacksightName = setup.m_strBacksightName;
    m_dBacksightX = setup.m_dBacksightX;
    m_dBacksightY = setup.m_dBacksightY;
    const std::vector<std::string>& points = setup.m_listPoints->LineModel()->Lines();
    m_setupPoints.clear();
    for (std::size_t i = 1; i < points.size(); ++i) m_setupPoints.push_back(SplitPointLine(points[i]));
    return true;
}

std::optional<double> CAlignmentDlg::Deflection() {
    const std::optional<double> radians = ParseDeflection(m_strDeflection);
    if (!radians) {
        platform::Warn(this, DeflectionRefusal(m_strDeflection));
        m_editDeflection->setFocus();
    }
    return radians;
}

StakeRequest CAlignmentDlg::Request(double deflection) const {
    StakeRequest request;
    request.dStartStation = m_dStartStation;
    if (const std::optional<ChainStation> typed = ParseChainStation(GbkToUtf8(m_strStartStation)))
        request.dStartChainStation = typed->dValue;  // a run by 桩号 counts from the one typed
    request.dEndStation = m_dEndStation;
    request.dInterval = m_dInterval;
    request.dOffset = m_dOffset;
    request.dDeflection = deflection;
    request.setup = StationSetup{m_strStationName, CPlanePoint(m_dStationX, m_dStationY), m_strBacksightName,
                                 CPlanePoint(m_dBacksightX, m_dBacksightY)};
    return request;
}

bool CAlignmentDlg::Passed(StakeCheck check, const Alignment& road) {
    if (check == StakeCheck::Ok) return true;
    platform::Warn(this, CheckMessage(check, road).c_str());
    return false;
}

// Every input is checked, and the station set up, before the list is
// emptied: a refusal or a cancel leaves list and count as they were.
void CAlignmentDlg::OnCompute() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    bool allRead = false;
    if (!UpdateData(true, &allRead) || !allRead) return;

    const Alignment road = Road();
    if (!ChainFits(road) || !TypedDistance(m_editStartStation, m_strStartStation, road.Chain(), m_dStartStation) ||
        !TypedDistance(m_editEndStation, m_strEndStation, road.Chain(), m_dEndStation))
        return;
    if (!Passed(CheckStakeRun(road, Request(0)), road)) return;
    const std::optional<double> deflection = Deflection();
    if (!deflection) return;
    // Cancel ends the run without a word; the list, count and flag stay.
    if (Mode() == ResultMode::SettingOut && !SetUpStation()) return;

    EmptyResults();
    if (m_results->Results().mode != Mode()) m_results->Reset(Mode());
    ResultSet rows = m_results->TakeSpare(Mode());
    rows.source = Source();
    try {
        RunStakes(road, Request(*deflection), rows, m_progress->value(),
                  [this](int position) { m_progress->setValue(position); }, CheckBox(this));
        if (const std::optional<Heights> heights = RoadHeights())
            AddHeights(rows, road, heights->profile, heights->slopes);
    } catch (const std::bad_alloc&) {
        // Ten million rows are about 800 MB: a small machine may not have them.
        m_nResultCount = 0;  // the list is down to its header
        UpdateData(false);
        platform::Warn(this, text::kOutOfMemory);
        return;
    }
    AppendResults(std::move(rows));
    // A run on flagged rows goes ahead; its group says so, as the list's line does.
    const bool flagged = !CheckControl(road).flaggedRows.empty();
    m_labelResultsCheck->setText(flagged ? m_labelCheck->text() : QString());
    m_labelResultsCheck->setVisible(flagged);
}

ResultSource CAlignmentDlg::Source() const {
    const QString path = QFile::decodeName(m_strFilePath.c_str());
    return ResultSource{QFileInfo(path).fileName().toStdString(), m_listControl->LineModel()->Lines(),
                        std::time(nullptr), HeightsText(), EquationsText()};
}

bool CAlignmentDlg::StaleAccepted(const char* question) {
    if (!ResultsStale()) return true;
    return platform::AskYesNo(this, Format(question, Results().source->strFile.c_str()).c_str());
}

void CAlignmentDlg::OnSaveResults() {
    const Busy busy(m_bBusy);
    if (busy) SaveResults();
}

void CAlignmentDlg::SaveResults() {
    // A refused text stops the read before the mode: the layout would be a guess.
    if (!UpdateData(true) || !StaleAccepted(text::kAskSaveStale)) return;
    platform::FileChoice choice = platform::PickFileToSave(
        this, text::kStakesFilter, ResultsName(), "txt");
    if (choice.strPath.empty()) return;
    // A typed extension picks its type; the proposed .txt takes the chosen type's.
    const int type = platform::ChosenType(this, choice, text::kStakesFilter, {"txt", "txt", "dxf", "dat", "csv"}, "txt");
    if (type == 0) return;
    if (type >= 3) {
        if (ExportStakesFile(choice)) m_bResultsSaved = true;
        return;
    }
    const ResultsLayout layout = type == 1 ? ResultsLayout::Ordinary : ResultsLayout::Cad;
    if (!WriteResultsFile(choice.strPath, m_results->Results(), layout, choice.strName, std::time(nullptr))) {
        // The results stay unsaved, so closing still asks for them.
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return;
    }
    m_bResultsSaved = true;
}

void CAlignmentDlg::OnAddStake() {
    const Busy busy(m_bBusy);
    bool allRead = false;
    if (!busy || !UpdateData(true, &allRead) || !allRead) return;
    const Alignment road = Road();
    if (!ChainFits(road) || !TypedDistance(m_editStakeStation, m_strStakeStation, road.Chain(), m_dStakeStation))
        return;
    const StakeCheck check = CheckSingleStake(road, m_dStakeStation);
    if (check == StakeCheck::NoControl) return;  // no control data: silently nothing
    if (!Passed(check, road)) return;
    const std::optional<double> deflection = Deflection();
    if (!deflection) return;
    if (Mode() == ResultMode::SettingOut && !SetUpStation()) return;

    // The list holds one road's stakes: another road's go first, as for a run.
    if (m_results->Results().mode != Mode() || ResultsStale()) m_results->Reset(Mode());
    ResultSet row;
    row.mode = Mode();
    row.source = Source();
    AddStake(road, m_dStakeStation, Request(*deflection), row, CheckBox(this));
    if (const std::optional<Heights> heights = RoadHeights()) AddHeights(row, road, heights->profile, heights->slopes);
    AppendResults(std::move(row));
}

void CAlignmentDlg::OnReverseLookup() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    const Alignment road = Road();
    if (!ChainFits(road)) return;
    const LookupResult result = ReverseLookup(road, CPlanePoint(m_dLookupX, m_dLookupY), CheckBox(this));
    switch (result.status) {
    case LookupStatus::Converged:
        m_strLookupStation = LookupStation(road, result.dStation);
        m_strLookupOffset = LookupOffsetText(result.dOffset);
        m_strLookupElevation.clear();  // none without a vertical alignment, or outside it
        if (const std::optional<Heights> heights = RoadHeights()) {
            const std::optional<double> h =
                SurfaceElevation(heights->profile, heights->slopes, result.dStation, result.dOffset);
            if (h) m_strLookupElevation = Format("%.3f", *h);
        }
        UpdateData(false);
        break;
    case LookupStatus::NoControl: platform::Warn(this, text::kNoControl); break;
    case LookupStatus::NotFound: platform::Warn(this, text::kNotFound); break;
    case LookupStatus::BadStationLine: platform::Warn(this, road.StationRefusal().c_str()); break;
    case LookupStatus::Failed: break;  // the evaluation has shown its message
    }
}

// The mode switches neither read nor write the fields: the mode is taken
// from the radios by the next command that reads them.
void CAlignmentDlg::OnModeCoordinates() {
    const Busy busy(m_bBusy);
    if (busy) ShowModeHeader(ResultMode::Coordinates);
}

void CAlignmentDlg::OnModeSettingOut() {
    const Busy busy(m_bBusy);
    if (busy) ShowModeHeader(ResultMode::SettingOut);
}
