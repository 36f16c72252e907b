#include "ui/window/AlignmentDlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/text/Texts.h"
#include "ui/plan/PlanMarks.h"
#include "ui/plan/PlanView.h"
#include "ui/plan/PlanWindow.h"
#include "ui/section/SectionDlg.h"
#include "ui/tools/AboutDlg.h"
#include "ui/tools/GridDlg.h"
#include "ui/tools/InspectDlg.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/window/ControlPanel.h"
#include "ui/window/LookupPanel.h"
#include "ui/window/ResultsPanel.h"

// The icon lives in the UI library's resources; a static library's
// resources are registered by hand.
static void InitResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

using namespace vexaline;

CAlignmentDlg::CAlignmentDlg(QWidget* parent) : QDialog(parent) {
    InitResources();
    m_hIcon = QIcon(QStringLiteral(":/vexaline.png"));
    const PanelShared shared{m_doc, m_bBusy, [this](bool read, bool* allRead) { return UpdateData(read, allRead); }};
    m_control = new ControlPanel(shared);
    m_results = new ResultsPanel(shared);
    m_lookup = new LookupPanel(shared);
    auto* middle = new QVBoxLayout;
    middle->addWidget(m_results, 1);
    middle->addWidget(m_lookup);
    auto* top = new QHBoxLayout(this);
    top->addWidget(m_control, 1);
    top->addLayout(middle, 1);
    top->addLayout(CreateHelpPanel());
    connect(findChild<QPushButton*>("2002"), &QPushButton::clicked, this, &CAlignmentDlg::OnPlanView);
    connect(m_lookup->m_btnInspect, &QPushButton::clicked, this, &CAlignmentDlg::OnInspect);
    connect(m_lookup->m_btnSection, &QPushButton::clicked, this, &CAlignmentDlg::OnSection);
    connect(m_lookup->m_btnGrid, &QPushButton::clicked, this, &CAlignmentDlg::OnGrid);
    WireTabOrder();
    ShowTitle();
    setWindowIcon(m_hIcon);
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    // No system menu here: the About box is on the help panel and on F1.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &CAlignmentDlg::OnAbout);
    UpdateData(false);
    SizeForScreen();
    findChild<QPushButton*>("1")->setFocus();
}

// The tab order follows the window as it reads: each group row by row.
void CAlignmentDlg::WireTabOrder() {
    const int order[] = {1001, 1002, 1013, 1004, 1005, 1007, 1,    2004, 2006, 1008, 1009, 1011,
                         2005, 2001, 1006, 1014, 1015, 1018, 1016, 1017, 1019, 1020, 1024, 1021,
                         1030, 1031, 2002, 2003, 1022, 1052, 1053, 1051, 1054, 1055, 2056, 16};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(findChild<QWidget*>(QString::number(order[i - 1])), findChild<QWidget*>(QString::number(order[i])));
}

bool CAlignmentDlg::UpdateData(bool read, bool* allRead) {
    platform::FieldExchange dx(this, read);
    m_control->Exchange(dx, read);
    m_results->Exchange(dx, read);
    m_lookup->Exchange(dx);
    if (!read) ShowTitle();  // the open file
    if (allRead) *allRead = dx.Ok();
    return !dx.TextRefused();
}

void CAlignmentDlg::accept() { OnOK(); }

void CAlignmentDlg::reject() { OnClose(); }

void CAlignmentDlg::OnClose() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    if (!m_doc.Saved() && platform::AskYesNo(this, text::kAskSaveControl)) m_control->SaveControl();
    if (!m_doc.ResultsSaved() && platform::AskYesNo(this, text::kAskSaveResults)) m_results->SaveResults();
    if (platform::AskYesNo(this, text::kAskQuit)) QDialog::reject();
}

void CAlignmentDlg::OnAbout() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    CAboutDlg about(this);
    about.exec();
}

void CAlignmentDlg::OnPlanView() {
    auto* view = findChild<CPlanView*>("2100");
    if (!view) {
        // The measured points of an open 检核 are drawn over the road.
        auto marks = [this](QPainter& painter, const ViewTransform& t) {
            if (auto* inspect = findChild<CInspectDlg*>("2500"); inspect && inspect->isVisible())
                plan::PaintMarks(painter, inspect->Marks(), inspect->SelectedMark(), t);
        };
        // A click asks the window's own lookup about the point, as 平面反查 does.
        view = plan::MakePlanView(m_doc, m_results->SetupPoints(), this, marks,
                                  [this](CPlanePoint where) { m_lookup->LookUp(where); });
    }
    view->show();
    view->raise();
    view->activateWindow();
}

void CAlignmentDlg::OnInspect() {
    auto* dlg = findChild<CInspectDlg*>("2500");
    if (!dlg) {
        dlg = new CInspectDlg(m_doc, this);
        connect(dlg, &CInspectDlg::PlanViewWanted, this, &CAlignmentDlg::OnPlanView);
    }
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}

// The template and widening of a road that has a file: they are saved beside it.
void CAlignmentDlg::OnSection() {
    auto* dlg = findChild<CSectionDlg*>("2600");
    if (!dlg) {
        const Busy busy(m_bBusy);
        if (!busy) return;
        if (m_doc.Path().empty()) return platform::Warn(this, text::kNoFile);
        dlg = new CSectionDlg(m_doc, this);
    }
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}

// 四参数 and point files need no road; the road's grid is taken only where it has a file.
void CAlignmentDlg::OnGrid() {
    auto* dlg = findChild<CGridDlg*>("2700");
    if (!dlg) dlg = new CGridDlg(m_doc, this);
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}

// The panels' handlers under the window's names.
void CAlignmentDlg::OnOK() { m_control->OnOK(); }
void CAlignmentDlg::OnOpenRecent(const QString& path) { m_control->OnOpenRecent(path); }
void CAlignmentDlg::OnSaveControl() { m_control->OnSaveControl(); }
void CAlignmentDlg::OnSaveControlAs() { m_control->OnSaveControlAs(); }
void CAlignmentDlg::OnAddModify() { m_control->OnAddModify(); }
void CAlignmentDlg::OnSelchangeControlList() { m_control->OnSelchangeControlList(); }
void CAlignmentDlg::OnDeleteControl() { m_control->OnDeleteControl(); }
void CAlignmentDlg::OnCheckControl() { m_control->OnCheckControl(); }
void CAlignmentDlg::OnPiEntry() { m_control->OnPiEntry(); }
void CAlignmentDlg::OnProfile() { m_control->OnProfile(); }
void CAlignmentDlg::OnChain() { m_control->OnChain(); }
void CAlignmentDlg::OnPasteControl() { m_control->OnPasteControl(); }
void CAlignmentDlg::OnCopyControl() { m_control->OnCopyControl(); }
void CAlignmentDlg::OnUndoControl() { m_control->OnUndoControl(); }
void CAlignmentDlg::OnRedoControl() { m_control->OnRedoControl(); }
void CAlignmentDlg::OnCompute() { m_results->OnCompute(); }
void CAlignmentDlg::OnSaveResults() { m_results->OnSaveResults(); }
void CAlignmentDlg::OnAddStake() { m_results->OnAddStake(); }
void CAlignmentDlg::OnModeCoordinates() { m_results->OnModeCoordinates(); }
void CAlignmentDlg::OnModeSettingOut() { m_results->OnModeSettingOut(); }
void CAlignmentDlg::OnPrintSheet() { m_results->OnPrintSheet(); }
void CAlignmentDlg::OnReverseLookup() { m_lookup->OnReverseLookup(); }
