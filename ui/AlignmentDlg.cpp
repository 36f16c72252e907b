#include "ui/AlignmentDlg.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"
#include "ui/AboutDlg.h"
#include "ui/ResultListModel.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

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

namespace {

// The help panel, top to bottom.
const char* const kHelpLines[] = {
    "里程：是指线型变换点", "的桩号。",
    "线型：是指过了该变换", "点的线型。",
    "半径：是指该变换点处", "的曲率半径，线路即将",
    "左转时半径为负值（当", "线型是\"直线\"时，半径",
    "只能是\"∞\"）。",       "X、Y：变换点处的坐标",
    "偏移量：偏离中线的距", "离，中线左边为负。",
    "偏向角：与路线前进方", "向的夹角，顺时针为正",
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename W>
W* Named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QLineEdit* Edit(int id, bool readOnly = false) {
    auto* edit = Named(new QLineEdit, id);
    edit->setReadOnly(readOnly);
    return edit;
}

// A read-only count without a border, on the window's background.
QLineEdit* CountField(int id) {
    QLineEdit* edit = Edit(id, true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    edit->setPalette(p);
    edit->setMaximumWidth(80);
    return edit;
}

QPushButton* Button(const char* label, int id) { return Named(new QPushButton(U(label)), id); }

// The two combo boxes keep their entries in GBK byte order.
void AddSorted(QComboBox* combo, const char* utf8) {
    const std::string gbk = Gbk(utf8);
    int at = 0;
    while (at < combo->count() && Gbk(combo->itemText(at).toUtf8().constData()) < gbk) ++at;
    combo->insertItem(at, U(utf8));
}

}  // namespace

CAlignmentDlg::CAlignmentDlg(QWidget* parent) : QDialog(parent) {
    InitResources();
    m_hIcon = QIcon(QStringLiteral(":/vexaline.png"));
    CreateControls();
    WireKeys();
    setWindowTitle(U(text::kAppTitle));
    setWindowIcon(m_hIcon);
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    // No system menu here: the About box is on the help panel and on F1.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &CAlignmentDlg::OnAbout);

    m_dLookupX = 0;
    m_dLookupY = 0;
    m_btnDelete->setEnabled(false);
    m_btnSaveControl->setEnabled(false);
    m_btnSaveControlAs->setEnabled(false);
    for (const char* type : {text::kEndPoint, text::kStraight, text::kCircular, text::kTransition})
        AddSorted(m_comboLineType, type);
    m_comboLineType->setCurrentIndex(0);
    AddSorted(m_comboRadius, text::kInfinity);
    m_listControl->LineModel()->Append(ControlHeaderLine());
    m_dStationX = m_dStationY = m_dBacksightX = m_dBacksightY = 0;
    m_strStationName.clear();
    m_strBacksightName.clear();
    ShowHeightsLine();
    UpdateData(false);
    m_btnOpen->setFocus();
}

void CAlignmentDlg::CreateControls() {
    // Created in tab order: "打开/创建" first, so it has the focus at start.
    m_btnOpen = Button("打开/创建", 1);
    QPushButton* btnPi = Button("交点法", 2004);
    QPushButton* btnProfile = Button(text::kProfileButton, 2006);

    // Control data.
    m_editStation = Edit(1001);
    m_comboLineType = Named(new QComboBox, 1002);
    m_comboRadius = Named(new QComboBox, 1013);
    m_comboRadius->setEditable(true);
    m_comboRadius->setInsertPolicy(QComboBox::NoInsert);
    m_comboRadius->setCompleter(nullptr);
    m_editX = Edit(1004);
    m_editY = Edit(1005);
    m_editFileName = Edit(1007, true);
    QPushButton* btnAdd = Button("添加/修改", 1008);
    m_btnDelete = Button("删除", 1009);
    m_btnSaveControl = Button("保存", 1011);
    m_btnSaveControlAs = Button("另存为", 2005);
    QPushButton* btnCheck = Button("检查", 2001);
    m_editSegmentCount = CountField(1010);
    m_listControl = Named(new platform::GbkListView, 1006);
    m_listControl->setMinimumWidth(m_listControl->sizeHint().width());

    auto* controlGroup = new QGroupBox(U("控制数据"));
    auto* inputs = new QGridLayout;
    inputs->addWidget(new QLabel(U("里程")), 0, 0);
    inputs->addWidget(m_editStation, 0, 1);
    inputs->addWidget(new QLabel(U("线型")), 0, 2);
    inputs->addWidget(m_comboLineType, 0, 3);
    inputs->addWidget(new QLabel(U("半径")), 0, 4);
    inputs->addWidget(m_comboRadius, 0, 5);
    inputs->addWidget(new QLabel(U("X")), 1, 0);
    inputs->addWidget(m_editX, 1, 1);
    inputs->addWidget(new QLabel(U("Y")), 1, 2);
    inputs->addWidget(m_editY, 1, 3);
    inputs->addWidget(new QLabel(U("文件")), 2, 0);
    inputs->addWidget(m_editFileName, 2, 1, 1, 5);
    for (int column : {1, 3, 5}) inputs->setColumnStretch(column, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_btnOpen, btnPi, btnProfile, btnAdd, m_btnDelete, m_btnSaveControl, m_btnSaveControlAs, btnCheck}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(new QLabel(U("线段总个数：")));
    buttons->addWidget(m_editSegmentCount);
    auto* controlLayout = new QVBoxLayout(controlGroup);
    controlLayout->addLayout(inputs);
    controlLayout->addLayout(buttons);
    controlLayout->addWidget(m_listControl, 1);
    m_labelCheck = Named(new QLabel, 2010);
    controlLayout->addWidget(m_labelCheck);
    m_labelHeights = Named(new QLabel, 2012);
    controlLayout->addWidget(m_labelHeights);

    // Results.
    m_editStartStation = Edit(1014);
    m_editEndStation = Edit(1015);
    m_editInterval = Edit(1016);
    m_editOffset = Edit(1017);
    QPushButton* btnCompute = Button("计算", 1018);
    QPushButton* btnSaveResults = Button("保存", 1019);
    m_editStakeStation = Edit(1020);
    QPushButton* btnAddStake = Button("加桩", 1021);
    QPushButton* btnPlan = Button("平面图", 2002);
    QPushButton* btnPrint = Button("打印", 2003);
    m_editDeflection = Edit(1024);
    m_editResultCount = CountField(1023);
    m_radioMode[0] = Named(new QRadioButton(U("逐桩坐标")), 1030);
    m_radioMode[1] = Named(new QRadioButton(U("放样元素")), 1031);
    m_labelStale = Named(new QLabel(U(text::kResultsStale)), 1028);
    m_labelStale->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    m_labelStale->setVisible(false);
    m_results = new ResultListModel;
    m_listResults = Named(new platform::GbkListView(m_results), 1022);
    m_listResults->setMinimumWidth(m_listResults->sizeHint().width());
    m_progress = Named(new QProgressBar, 1029);
    m_progress->setOrientation(Qt::Vertical);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    auto* resultsGroup = new QGroupBox(U("计算结果"));
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
    mode->addWidget(new QLabel(U("结果总个数：")));
    mode->addWidget(m_editResultCount);
    auto* listAndBar = new QHBoxLayout;
    listAndBar->addWidget(m_listResults, 1);
    listAndBar->addWidget(m_progress);
    auto* resultsLayout = new QVBoxLayout(resultsGroup);
    resultsLayout->addLayout(fields);
    resultsLayout->addLayout(mode);
    resultsLayout->addWidget(m_labelStale);
    resultsLayout->addLayout(listAndBar, 1);
    m_labelResultsCheck = Named(new QLabel, 2011);
    m_labelResultsCheck->setVisible(false);
    resultsLayout->addWidget(m_labelResultsCheck);

    // Reverse lookup, in a frame without caption.
    m_editLookupX = Edit(1052);
    m_editLookupY = Edit(1053);
    QPushButton* btnLookup = Button("平面反查", 1051);
    m_editLookupStation = Edit(1054, true);
    m_editLookupOffset = Edit(1055, true);
    m_editLookupElevation = Edit(2056, true);
    auto* lookupFrame = new QFrame;
    lookupFrame->setFrameShape(QFrame::StyledPanel);
    auto* lookup = new QGridLayout(lookupFrame);
    lookup->addWidget(new QLabel(U("X")), 0, 0);
    lookup->addWidget(m_editLookupX, 0, 1);
    lookup->addWidget(new QLabel(U("Y")), 0, 2);
    lookup->addWidget(m_editLookupY, 0, 3);
    lookup->addWidget(btnLookup, 0, 4);
    lookup->addWidget(InspectButton(), 1, 4);
    lookup->addWidget(new QLabel(U("桩号")), 1, 0);
    lookup->addWidget(m_editLookupStation, 1, 1);
    lookup->addWidget(new QLabel(U("偏距")), 1, 2);
    lookup->addWidget(m_editLookupOffset, 1, 3);
    // Its own row: beside the others it would squeeze X and Y out of sight.
    lookup->addWidget(new QLabel(U(text::kElevationHeader)), 2, 0);
    lookup->addWidget(m_editLookupElevation, 2, 1);
    lookup->setColumnStretch(1, 1);
    lookup->setColumnStretch(3, 1);

    // Help panel and the version box.
    auto* helpGroup = new QGroupBox(U("******说明******"));
    auto* help = new QVBoxLayout(helpGroup);
    help->setSpacing(2);
    for (const char* line : kHelpLines) help->addWidget(new QLabel(U(line)));
    help->addStretch();
    auto* versionBox = new QFrame;
    versionBox->setFrameShape(QFrame::Box);
    auto* version = new QVBoxLayout(versionBox);
    auto* icon = new QLabel;
    icon->setPixmap(m_hIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    auto* versionLine = new QLabel(U(text::kAboutLine));
    versionLine->setAlignment(Qt::AlignCenter);
    QPushButton* btnAbout = Button(text::kAboutMenu, 16);
    btnAbout->setAutoDefault(false);
    version->addWidget(icon);
    version->addWidget(versionLine);
    version->addWidget(btnAbout);
    help->addWidget(versionBox);

    auto* middle = new QVBoxLayout;
    middle->addWidget(resultsGroup, 1);
    middle->addWidget(lookupFrame);
    auto* top = new QHBoxLayout(this);
    top->addWidget(controlGroup, 1);
    top->addLayout(middle, 1);
    top->addWidget(helpGroup);

    connect(m_btnOpen, &QPushButton::clicked, this, &CAlignmentDlg::OnOK);
    connect(btnAdd, &QPushButton::clicked, this, &CAlignmentDlg::OnAddModify);
    connect(m_btnSaveControl, &QPushButton::clicked, this, &CAlignmentDlg::OnSaveControl);
    connect(m_btnSaveControlAs, &QPushButton::clicked, this, &CAlignmentDlg::OnSaveControlAs);
    connect(m_btnDelete, &QPushButton::clicked, this, &CAlignmentDlg::OnDeleteControl);
    connect(m_listControl, &platform::GbkListView::SelectionChanged, this, &CAlignmentDlg::OnSelchangeControlList);
    connect(btnCompute, &QPushButton::clicked, this, &CAlignmentDlg::OnCompute);
    connect(btnSaveResults, &QPushButton::clicked, this, &CAlignmentDlg::OnSaveResults);
    connect(btnAddStake, &QPushButton::clicked, this, &CAlignmentDlg::OnAddStake);
    connect(btnLookup, &QPushButton::clicked, this, &CAlignmentDlg::OnReverseLookup);
    connect(m_radioMode[0], &QRadioButton::clicked, this, &CAlignmentDlg::OnModeCoordinates);
    connect(m_radioMode[1], &QRadioButton::clicked, this, &CAlignmentDlg::OnModeSettingOut);
    connect(btnAbout, &QPushButton::clicked, this, &CAlignmentDlg::OnAbout);
    connect(btnCheck, &QPushButton::clicked, this, &CAlignmentDlg::OnCheckControl);
    connect(btnPlan, &QPushButton::clicked, this, &CAlignmentDlg::OnPlanView);
    connect(btnPrint, &QPushButton::clicked, this, &CAlignmentDlg::OnPrintSheet);
    connect(btnPi, &QPushButton::clicked, this, &CAlignmentDlg::OnPiEntry);
    connect(btnProfile, &QPushButton::clicked, this, &CAlignmentDlg::OnProfile);
    // The views that follow the data hear of every change to either list.
    auto notify = [this](QAbstractItemModel* model, void (CAlignmentDlg::*signal)()) {
        for (auto change : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, change, this, signal);
        connect(model, &QAbstractItemModel::modelReset, this, signal);
    };
    notify(m_listControl->Model(), &CAlignmentDlg::ControlChanged);
    notify(m_results, &CAlignmentDlg::ResultsChanged);
    connect(this, &CAlignmentDlg::ControlChanged, this, &CAlignmentDlg::ShowCheckLine);
    connect(this, &CAlignmentDlg::ControlChanged, this, &CAlignmentDlg::ShowStale);
    connect(this, &CAlignmentDlg::ResultsChanged, this, &CAlignmentDlg::ShowStale);
}

bool CAlignmentDlg::UpdateData(bool read, bool* allRead) {
    platform::FieldExchange dx(this, read);
    dx.Combo(m_comboLineType, m_strLineType);
    dx.Text(m_editFileName, m_strFileName);
    dx.ListSelection(m_listControl, m_strControlSel);
    dx.Integer(m_editSegmentCount, m_nSegmentCount);
    dx.Text(m_editStation, m_strStation);
    dx.Text(m_editX, m_strX);
    dx.Text(m_editY, m_strY);
    dx.Combo(m_comboRadius, m_strRadius);
    dx.Double(m_editStartStation, m_dStartStation);
    dx.Double(m_editEndStation, m_dEndStation);
    dx.Double(m_editStakeStation, m_dStakeStation);
    dx.Integer(m_editResultCount, m_nResultCount);
    dx.Double(m_editOffset, m_dOffset);
    dx.Double(m_editInterval, m_dInterval);
    dx.ListSelection(m_listResults, m_strResultSel);
    dx.Text(m_editDeflection, m_strDeflection);
    dx.Radio(m_radioMode, 2, m_nResultMode);
    dx.Double(m_editLookupX, m_dLookupX);
    dx.Double(m_editLookupY, m_dLookupY);
    dx.Text(m_editLookupOffset, m_strLookupOffset);
    dx.Text(m_editLookupStation, m_strLookupStation);
    dx.Text(m_editLookupElevation, m_strLookupElevation);
    if (allRead) *allRead = dx.Ok();
    return !dx.TextRefused();
}

void CAlignmentDlg::accept() { OnOK(); }

void CAlignmentDlg::reject() { OnClose(); }

Alignment CAlignmentDlg::Road() const { return Alignment::Parse(m_listControl->LineModel()->Lines()); }

const ResultSet& CAlignmentDlg::Results() const { return m_results->Results(); }

Alignment CAlignmentDlg::ResultsRoad() const {
    const std::optional<ResultSource>& source = Results().source;
    return source ? Alignment::Parse(source->controlList) : Road();
}

bool CAlignmentDlg::ResultsStale() const {
    return Stale(Results(), m_listControl->LineModel()->Lines(), HeightsText());
}

void CAlignmentDlg::ShowStale() { m_labelStale->setVisible(ResultsStale()); }

void CAlignmentDlg::OnClose() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    if (!m_bControlSaved && platform::AskYesNo(this, text::kAskSaveControl)) SaveControl();
    if (!m_bResultsSaved && platform::AskYesNo(this, text::kAskSaveResults)) SaveResults();
    if (platform::AskYesNo(this, text::kAskQuit)) QDialog::reject();
}

void CAlignmentDlg::OnAbout() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    CAboutDlg about(this);
    about.exec();
}
