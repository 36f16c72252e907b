#include "ui/AlignmentDlg.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <cstring>

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

// The longest texts the fields are made to show whole: a station or another
// length, an 8-digit easting to the millimetre, an offset as the lookup words it.
constexpr const char* kStationSample = "123456.789";
constexpr const char* kCoordinateSample = "38500000.000";
constexpr const char* kOffsetSample = "右12345.678米";

// At least as wide as the sample: its text, the 2 px a line edit keeps either
// side of it and its cursor, in the style's frame.
QLineEdit* Holding(QLineEdit* edit, const char* sample) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit);
    const QSize text(edit->fontMetrics().horizontalAdvance(U(sample)) + 2 * 2 + 1, edit->fontMetrics().height());
    edit->setMinimumWidth(edit->style()->sizeFromContents(QStyle::CT_LineEdit, &frame, text, edit).width());
    return edit;
}

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
    ShowTitle();
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
    SizeForScreen();
    m_btnOpen->setFocus();
}

void CAlignmentDlg::CreateControls() {
    // Created in tab order: "打开/创建" first, so it has the focus at start.
    m_btnOpen = Button("打开/创建", 1);
    m_btnRecent = Button(text::kRecentButton, 2013);
    m_btnRecent->setToolTip(U(text::kRecentTip));
    m_btnRecent->setMenu(new QMenu(m_btnRecent));
    QPushButton* btnPi = Button("交点法", 2004);
    QPushButton* btnProfile = Button(text::kProfileButton, 2006);

    // Control data.
    m_editStation = Holding(Edit(1001), kStationSample);
    m_comboLineType = Named(new QComboBox, 1002);
    m_comboRadius = Named(new QComboBox, 1013);
    m_comboRadius->setEditable(true);
    m_comboRadius->setInsertPolicy(QComboBox::NoInsert);
    m_comboRadius->setCompleter(nullptr);
    m_comboRadius->setMinimumContentsLength(static_cast<int>(std::strlen(kStationSample)) + 1);
    m_editX = Holding(Edit(1004), kCoordinateSample);
    m_editY = Holding(Edit(1005), kCoordinateSample);
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
    // Two rows of buttons: the file, then the rows; one row would not fit a small screen.
    auto* fileButtons = new QHBoxLayout;
    for (QPushButton* b : {m_btnOpen, m_btnRecent, m_btnSaveControl, m_btnSaveControlAs}) fileButtons->addWidget(b);
    fileButtons->addStretch();
    fileButtons->addWidget(new QLabel(U("线段总个数：")));
    fileButtons->addWidget(m_editSegmentCount);
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* b : {btnAdd, m_btnDelete, btnCheck, btnPi, btnProfile, ChainButton()}) rowButtons->addWidget(b);
    rowButtons->addStretch();
    auto* controlLayout = new QVBoxLayout(controlGroup);
    controlLayout->addLayout(inputs);
    controlLayout->addLayout(fileButtons);
    controlLayout->addLayout(rowButtons);
    controlLayout->addWidget(m_listControl, 1);
    m_labelCheck = Named(new QLabel, 2010);
    m_labelCheck->setWordWrap(true);
    controlLayout->addWidget(m_labelCheck);
    m_labelHeights = Named(new QLabel, 2012);
    m_labelHeights->setWordWrap(true);
    controlLayout->addWidget(m_labelHeights);

    // Results.
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
    auto* resultsLayout = new QVBoxLayout(resultsGroup);
    resultsLayout->addLayout(fields);
    resultsLayout->addLayout(mode);
    resultsLayout->addWidget(m_labelStale);
    resultsLayout->addLayout(listAndBar, 1);
    resultsLayout->addWidget(m_labelResultsCheck);
    resultsLayout->addLayout(count);

    // Reverse lookup, in a frame without caption.
    m_editLookupX = Holding(Edit(1052), kCoordinateSample);
    m_editLookupY = Holding(Edit(1053), kCoordinateSample);
    QPushButton* btnLookup = Button("平面反查", 1051);
    m_editLookupStation = Holding(Edit(1054, true), kCoordinateSample);
    m_editLookupOffset = Holding(Edit(1055, true), kOffsetSample);
    m_editLookupElevation = Holding(Edit(2056, true), kCoordinateSample);
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

    auto* middle = new QVBoxLayout;
    middle->addWidget(resultsGroup, 1);
    middle->addWidget(lookupFrame);
    auto* top = new QHBoxLayout(this);
    top->addWidget(controlGroup, 1);
    top->addLayout(middle, 1);
    top->addLayout(CreateHelpPanel());

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
    connect(btnCheck, &QPushButton::clicked, this, &CAlignmentDlg::OnCheckControl);
    connect(btnPlan, &QPushButton::clicked, this, &CAlignmentDlg::OnPlanView);
    connect(btnPrint, &QPushButton::clicked, this, &CAlignmentDlg::OnPrintSheet);
    connect(btnPi, &QPushButton::clicked, this, &CAlignmentDlg::OnPiEntry);
    connect(btnProfile, &QPushButton::clicked, this, &CAlignmentDlg::OnProfile);
    connect(m_btnRecent->menu(), &QMenu::aboutToShow, this, &CAlignmentDlg::FillRecentMenu);
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
    // Shown, never typed: read back, it would undo a name just chosen (另存为).
    if (!read) dx.Text(m_editFileName, m_strFileName);
    dx.ListSelection(m_listControl, m_strControlSel);
    dx.Integer(m_editSegmentCount, m_nSegmentCount);
    dx.Text(m_editStation, m_strStation);
    dx.Text(m_editX, m_strX);
    dx.Text(m_editY, m_strY);
    dx.Combo(m_comboRadius, m_strRadius);
    if (m_equationRows.empty()) {
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
    dx.Double(m_editLookupX, m_dLookupX);
    dx.Double(m_editLookupY, m_dLookupY);
    dx.Text(m_editLookupOffset, m_strLookupOffset);
    dx.Text(m_editLookupStation, m_strLookupStation);
    dx.Text(m_editLookupElevation, m_strLookupElevation);
    if (!read) ShowTitle();  // the open file
    if (allRead) *allRead = dx.Ok();
    return !dx.TextRefused();
}

void CAlignmentDlg::accept() { OnOK(); }

void CAlignmentDlg::reject() { OnClose(); }

const ResultSet& CAlignmentDlg::Results() const { return m_results->Results(); }

bool CAlignmentDlg::ResultsStale() const {
    return Stale(Results(), m_listControl->LineModel()->Lines(), HeightsText(), EquationsText());
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
