#include "ui/window/ResultsPanel.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>
#include <new>

#include "core/files/ResultsExport.h"
#include "core/files/StakeExport.h"
#include "core/road/CheckText.h"
#include "core/road/ControlCheck.h"
#include "core/road/ResultText.h"
#include "core/road/StakeHeight.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/plan/SheetPrint.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/window/ResultListModel.h"

// The results: the run, the single stake, the export and the mode switch.

using namespace vexaline;
using namespace panel;

namespace {

// The element check's box. It belongs to the window, so nothing else can be
// started there while it waits.
MessageSink CheckBox(QWidget* owner) {
    return [owner](const std::string& gbk) { platform::NotifyElementCheck(owner, GbkToUtf8(gbk).c_str()); };
}

// A station field's 桩号 as the lists write it, with its occurrence where it
// names more than one place; one that maps to no place as typed, one that
// is no 桩号 as typed without what would make it a folder.
std::string FieldStation(const std::string& gbk, const Chainage& chain) {
    std::string typed = GbkToUtf8(gbk);
    if (const std::optional<ChainStation> station = ParseChainStation(typed)) {
        const ChainDistance d = chain.Distance(*station);
        return ChainStationText(d.fault == ChainFault::None ? chain.StationAt(d.dDistance) : *station);
    }
    typed.erase(std::remove_if(typed.begin(), typed.end(), [](char c) { return c == '/' || c == '\\'; }), typed.end());
    return typed;
}

}  // namespace

ResultsPanel::ResultsPanel(PanelShared shared, QWidget* parent)
    : QGroupBox(U("计算结果"), parent), m_shared(std::move(shared)), m_doc(m_shared.document) {
    CreateControls();
    OnEnter({m_editStartStation, m_editEndStation, m_editInterval, m_editOffset, m_editDeflection},
            [this] { OnCompute(); });
    OnEnter({m_editStakeStation}, [this] { OnAddStake(); });
    connect(&m_doc, &RoadDocument::RowsChanged, this, &ResultsPanel::ShowStale);
    connect(&m_doc, &RoadDocument::TablesChanged, this, &ResultsPanel::ShowStale);
    connect(&m_doc, &RoadDocument::ResultsChanged, this, &ResultsPanel::ShowStale);
}

void ResultsPanel::CreateControls() {
    m_editStartStation = Holding(Edit(1014), kStationSample);
    m_editEndStation = Holding(Edit(1015), kStationSample);
    m_editInterval = Holding(Edit(1016), kStationSample);
    m_editOffset = Holding(Edit(1017), kStationSample);
    QPushButton* btnCompute = Button("计算", 1018);
    QPushButton* btnSaveResults = Button("保存", 1019);
    m_editStakeStation = Holding(Edit(1020), kStationSample);
    QPushButton* btnAddStake = Button("加桩", 1021);
    QPushButton* btnPlan = Button("平面图", 2002);
    QPushButton* btnPrint = Button("打印", 2003);
    m_editDeflection = Holding(Edit(1024), kStationSample);
    m_editResultCount = CountField(1023);
    m_radioMode[0] = Named(new QRadioButton(U("逐桩坐标")), 1030);
    m_radioMode[1] = Named(new QRadioButton(U("放样元素")), 1031);
    m_labelStale = Named(new QLabel(U(text::kResultsStale)), 1028);
    m_labelStale->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    m_labelStale->setWordWrap(true);
    m_labelStale->setVisible(false);
    m_results = new ResultListModel(m_doc);
    m_listResults = Named(new platform::GbkListView(m_results), 1022);
    m_listResults->setMinimumWidth(m_listResults->sizeHint().width());
    m_progress = Named(new QProgressBar, 1029);
    m_progress->setOrientation(Qt::Vertical);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(U("起始里程")), 0, 0);
    fields->addWidget(m_editStartStation, 0, 1);
    fields->addWidget(new QLabel(U("终止里程")), 0, 2);
    fields->addWidget(m_editEndStation, 0, 3);
    fields->addWidget(btnCompute, 0, 4);
    fields->addWidget(new QLabel(U("桩 间 距")), 1, 0);
    fields->addWidget(m_editInterval, 1, 1);
    fields->addWidget(new QLabel(U("偏 移 量")), 1, 2);
    fields->addWidget(m_editOffset, 1, 3);
    fields->addWidget(btnSaveResults, 1, 4);
    fields->addWidget(new QLabel(U("桩号")), 2, 0);
    fields->addWidget(m_editStakeStation, 2, 1);
    fields->addWidget(new QLabel(U("偏向角")), 2, 2);
    fields->addWidget(m_editDeflection, 2, 3);
    fields->addWidget(btnAddStake, 2, 4);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    auto* mode = new QHBoxLayout;
    mode->addWidget(m_radioMode[0]);
    mode->addWidget(m_radioMode[1]);
    mode->addStretch();
    mode->addWidget(btnPlan);
    mode->addWidget(btnPrint);
    auto* listAndBar = new QHBoxLayout;
    listAndBar->addWidget(m_listResults, 1);
    listAndBar->addWidget(m_progress);
    m_labelResultsCheck = Named(new QLabel, 2011);
    m_labelResultsCheck->setWordWrap(true);
    m_labelResultsCheck->setVisible(false);
    auto* count = new QHBoxLayout;
    count->addStretch();
    count->addWidget(new QLabel(U("结果总个数：")));
    count->addWidget(m_editResultCount);
    auto* resultsLayout = new QVBoxLayout(this);
    resultsLayout->addLayout(fields);
    resultsLayout->addLayout(mode);
    resultsLayout->addWidget(m_labelStale);
    resultsLayout->addLayout(listAndBar, 1);
    resultsLayout->addWidget(m_labelResultsCheck);
    resultsLayout->addLayout(count);

    connect(btnCompute, &QPushButton::clicked, this, &ResultsPanel::OnCompute);
    connect(btnSaveResults, &QPushButton::clicked, this, &ResultsPanel::OnSaveResults);
    connect(btnAddStake, &QPushButton::clicked, this, &ResultsPanel::OnAddStake);
    connect(m_radioMode[0], &QRadioButton::clicked, this, &ResultsPanel::OnModeCoordinates);
    connect(m_radioMode[1], &QRadioButton::clicked, this, &ResultsPanel::OnModeSettingOut);
    connect(btnPrint, &QPushButton::clicked, this, &ResultsPanel::OnPrintSheet);
}

void ResultsPanel::Exchange(platform::FieldExchange& dx, bool read) {
    if (m_doc.EquationRows().empty()) {
        dx.Double(m_editStartStation, m_dStartStation);
        dx.Double(m_editEndStation, m_dEndStation);
        dx.Double(m_editStakeStation, m_dStakeStation);
    } else if (read) {  // 桩号, mapped by the command; written never: they keep what was typed
        dx.Text(m_editStartStation, m_strStartStation);
        dx.Text(m_editEndStation, m_strEndStation);
        dx.Text(m_editStakeStation, m_strStakeStation);
    }
    dx.Integer(m_editResultCount, m_nResultCount);
    dx.Double(m_editOffset, m_dOffset);
    dx.Double(m_editInterval, m_dInterval);
    dx.ListSelection(m_listResults, m_strResultSel);
    dx.Text(m_editDeflection, m_strDeflection);
    dx.Radio(m_radioMode, 2, m_nResultMode);
}

ResultMode ResultsPanel::Mode() const {
    return m_nResultMode == 1 ? ResultMode::SettingOut : ResultMode::Coordinates;
}

void ResultsPanel::EmptyResults() {
    const int n = m_results->Count();
    if (n <= 1) return;
    // The bar ends where removing line 1 n times would leave it, 100 / n;
    // the lines go in one step.
    m_doc.ResetResults(m_doc.Results().mode);
    m_progress->setValue(100 / n);
}

void ResultsPanel::ShowModeHeader(ResultMode mode) {
    m_doc.ResetResults(mode);
    m_progress->setValue(0);
}

void ResultsPanel::AppendResults(ResultSet&& rows) {
    m_doc.AppendResults(std::move(rows));
    m_nResultCount = m_results->Count() - 1;
    m_shared.updateData(false, nullptr);
}

void ResultsPanel::ShowStale() { m_labelStale->setVisible(m_doc.ResultsStale()); }

bool ResultsPanel::StaleAccepted(const char* question) {
    if (!m_doc.ResultsStale()) return true;
    return platform::AskYesNo(Owner(), Format(question, m_doc.Results().source->strFile.c_str()).c_str());
}

bool ResultsPanel::SetUpStation() {
    // Built afresh each time, opening on the points last taken from it and
    // the list as it was left, taken or not.
    CStationSetupDlg setup(m_setup.strStationName, m_setup.ptStation.X, m_setup.ptStation.Y,
                           m_setup.strBacksightName, m_setup.ptBacksight.X, m_setup.ptBacksight.Y, Owner());
    if (m_stationPoints) setup.Restore(*m_stationPoints);
    const bool taken = setup.exec() == QDialog::Accepted;
    m_stationPoints = setup.Kept();
    if (!taken) return false;
    m_setup = StationSetup{setup.m_strStationName, CPlanePoint(setup.m_dStationX, setup.m_dStationY),
                           setup.m_strBacksightName, CPlanePoint(setup.m_dBacksightX, setup.m_dBacksightY)};
    const std::vector<std::string>& points = setup.m_listPoints->LineModel()->Lines();
    m_setupPoints.clear();
    for (std::size_t i = 1; i < points.size(); ++i) m_setupPoints.push_back(SplitPointLine(points[i]));
    return true;
}

std::optional<double> ResultsPanel::Deflection() {
    const std::optional<double> radians = ParseDeflection(m_strDeflection);
    if (!radians) {
        platform::Warn(Owner(), DeflectionRefusal(m_strDeflection));
        m_editDeflection->setFocus();
    }
    return radians;
}

StakeRequest ResultsPanel::Request(double deflection) const {
    StakeRequest request;
    request.dStartStation = m_dStartStation;
    if (const std::optional<ChainStation> typed = ParseChainStation(GbkToUtf8(m_strStartStation)))
        request.dStartChainStation = typed->dValue;  // a run by 桩号 counts from the one typed
    request.dEndStation = m_dEndStation;
    request.dInterval = m_dInterval;
    request.dOffset = m_dOffset;
    request.dDeflection = deflection;
    request.setup = m_setup;
    return request;
}

bool ResultsPanel::Passed(StakeCheck check, const Alignment& road) {
    if (check == StakeCheck::Ok) return true;
    platform::Warn(Owner(), CheckMessage(check, road).c_str());
    return false;
}

// Without equations the field was read as a number already.
bool ResultsPanel::TypedDistance(QLineEdit* field, const std::string& typed, const Chainage& chain, double& distance) {
    if (chain.Empty()) return true;
    const TypedStation typedStation = DistanceOfTyped(chain, GbkToUtf8(typed));
    if (typedStation.Ok()) return distance = typedStation.dDistance, true;
    platform::Warn(Owner(), typedStation.strMessage.c_str());
    field->setFocus();
    return false;
}

// Every input is checked, and the station set up, before the list is
// emptied: a refusal or a cancel leaves list and count as they were.
void ResultsPanel::OnCompute() {
    const Busy busy(m_shared.busy);
    if (!busy) return;
    bool allRead = false;
    if (!m_shared.updateData(true, &allRead) || !allRead) return;

    const Alignment road = m_doc.Road();
    if (!ChainFits(Owner(), road) ||
        !TypedDistance(m_editStartStation, m_strStartStation, road.Chain(), m_dStartStation) ||
        !TypedDistance(m_editEndStation, m_strEndStation, road.Chain(), m_dEndStation))
        return;
    if (!Passed(CheckStakeRun(road, Request(0)), road)) return;
    const std::optional<double> deflection = Deflection();
    if (!deflection) return;
    // Cancel ends the run without a word; the list, count and flag stay.
    if (Mode() == ResultMode::SettingOut && !SetUpStation()) return;

    EmptyResults();
    if (m_doc.Results().mode != Mode()) m_doc.ResetResults(Mode());
    ResultSet rows = m_doc.TakeSpare(Mode());
    rows.source = m_doc.Source(std::time(nullptr));
    try {
        RunStakes(road, Request(*deflection), rows, m_progress->value(),
                  [this](int position) { m_progress->setValue(position); }, CheckBox(Owner()));
        if (const std::optional<RoadDocument::Heights> heights = m_doc.RoadHeights())
            AddHeights(rows, road, heights->profile, heights->slopes);
    } catch (const std::bad_alloc&) {
        // Ten million rows are about 800 MB: a small machine may not have them.
        m_nResultCount = 0;  // the list is down to its header
        m_shared.updateData(false, nullptr);
        platform::Warn(Owner(), text::kOutOfMemory);
        return;
    }
    AppendResults(std::move(rows));
    // A run on flagged rows goes ahead; its group says so, as the list's line does.
    const CheckReport report = CheckControl(road);
    const bool flagged = !report.flaggedRows.empty();
    m_labelResultsCheck->setText(flagged ? QString::fromUtf8(GbkToUtf8(CheckStatusText(report)).c_str()) : QString());
    m_labelResultsCheck->setVisible(flagged);
}

void ResultsPanel::OnSaveResults() {
    const Busy busy(m_shared.busy);
    if (busy) SaveResults();
}

void ResultsPanel::SaveResults() {
    // A refused text stops the read before the mode: the layout would be a guess.
    if (!m_shared.updateData(true, nullptr) || !StaleAccepted(text::kAskSaveStale)) return;
    platform::FileChoice choice = platform::PickFileToSave(Owner(), text::kStakesFilter, ResultsName(), "txt");
    if (choice.strPath.empty()) return;
    // A typed extension picks its type; the proposed .txt takes the chosen type's.
    const int type = platform::ChosenType(Owner(), choice, text::kStakesFilter, {"txt", "txt", "dxf", "dat", "csv"}, "txt");
    if (type == 0) return;
    if (type >= 3) {
        if (ExportStakesFile(choice)) m_doc.SetResultsSaved(true);
        return;
    }
    const ResultsLayout layout = type == 1 ? ResultsLayout::Ordinary : ResultsLayout::Cad;
    if (!WriteResultsFile(choice.strPath, m_doc.Results(), layout, choice.strName, std::time(nullptr))) {
        // The results stay unsaved, so closing still asks for them.
        platform::Warn(Owner(), Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return;
    }
    m_doc.SetResultsSaved(true);
}

// The DXF draws the road the stakes were computed from.
bool ResultsPanel::ExportStakesFile(const platform::FileChoice& choice) {
    static const StakeFormat kFormats[] = {StakeFormat::Dxf, StakeFormat::CassDat, StakeFormat::Csv};
    if (!WriteStakes(choice.strPath, kFormats[choice.nType - 3], m_doc.Results(), m_doc.ResultsRoad())) {
        platform::Warn(Owner(), Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return false;
    }
    return true;
}

std::string ResultsPanel::ResultsName() const {
    const Chainage chain = m_doc.Chain();
    if (chain.Empty()) return ResultsFileName(m_dStartStation, m_dEndStation, m_dInterval, m_dOffset);
    return ResultsFileName(FieldStation(m_strStartStation, chain), FieldStation(m_strEndStation, chain), m_dInterval,
                           m_dOffset);
}

void ResultsPanel::OnAddStake() {
    const Busy busy(m_shared.busy);
    bool allRead = false;
    if (!busy || !m_shared.updateData(true, &allRead) || !allRead) return;
    const Alignment road = m_doc.Road();
    if (!ChainFits(Owner(), road) || !TypedDistance(m_editStakeStation, m_strStakeStation, road.Chain(), m_dStakeStation))
        return;
    const StakeCheck check = CheckSingleStake(road, m_dStakeStation);
    if (check == StakeCheck::NoControl) return;  // no control data: silently nothing
    if (!Passed(check, road)) return;
    const std::optional<double> deflection = Deflection();
    if (!deflection) return;
    if (Mode() == ResultMode::SettingOut && !SetUpStation()) return;

    // The list holds one road's stakes: another road's go first, as for a run.
    if (m_doc.Results().mode != Mode() || m_doc.ResultsStale()) m_doc.ResetResults(Mode());
    ResultSet row;
    row.mode = Mode();
    row.source = m_doc.Source(std::time(nullptr));
    AddStake(road, m_dStakeStation, Request(*deflection), row, CheckBox(Owner()));
    if (const std::optional<RoadDocument::Heights> heights = m_doc.RoadHeights())
        AddHeights(row, road, heights->profile, heights->slopes);
    AppendResults(std::move(row));
}

// The mode switches neither read nor write the fields: the mode is taken
// from the radios by the next command that reads them.
void ResultsPanel::OnModeCoordinates() {
    const Busy busy(m_shared.busy);
    if (busy) ShowModeHeader(ResultMode::Coordinates);
}

void ResultsPanel::OnModeSettingOut() {
    const Busy busy(m_shared.busy);
    if (busy) ShowModeHeader(ResultMode::SettingOut);
}

void ResultsPanel::OnPrintSheet() {
    const Busy busy(m_shared.busy);
    if (!busy || !m_shared.updateData(true, nullptr)) return;
    if (m_doc.Results().rows.empty()) {
        platform::Warn(Owner(), text::kSheetNothing);
        return;
    }
    if (StaleAccepted(text::kAskPrintStale)) plan::PrintSheet(m_doc, m_setupPoints, Owner());
}
