#include "ui/AlignmentDlg.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
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
#include <cmath>
#include <ctime>

#include "ui/AboutDlg.h"
#include "core/files/AlignmentFile.h"
#include "core/text/ControlLine.h"
#include "core/text/Gbk.h"
#include "core/road/ReverseLookup.h"
#include "core/text/TextFields.h"
#include "core/files/TextFile.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"
#include "core/files/ResultsExport.h"
#include "core/road/StakeRun.h"
#include "ui/StationSetupDlg.h"

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

// A file name for the read-only field: GBK, a character GBK lacks shown as
// '?'. The path itself is kept apart and never converted.
std::string NameForDisplay(const std::string& utf8) {
    std::string gbk;
    if (Utf8ToGbk(utf8, gbk)) return gbk;
    gbk.clear();
    for (char32_t c : QString::fromStdString(utf8).toUcs4()) {
        std::string one;
        gbk += Utf8ToGbk(QString::fromUcs4(&c, 1).toStdString(), one) ? one : std::string("?");
    }
    return gbk;
}

std::string PathForDisplay(const std::string& path) { return QFile::decodeName(path.c_str()).toStdString(); }

}  // namespace

CAlignmentDlg::CAlignmentDlg(QWidget* parent) : QDialog(parent) {
    InitResources();
    m_hIcon = QIcon(QStringLiteral(":/vexaline.png"));
    CreateControls();
    setWindowTitle(U(text::kAppTitle));
    setWindowIcon(m_hIcon);
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowContextHelpButtonHint);
    // No system menu here: the About box is on the help panel and on F1.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &CAlignmentDlg::OnAbout);

    m_dLookupX = 0;
    m_dLookupY = 0;
    m_btnDelete->setEnabled(false);
    m_btnSaveControl->setEnabled(false);
    for (const char* type : {text::kEndPoint, text::kStraight, text::kCircular, text::kTransition})
        AddSorted(m_comboLineType, type);
    m_comboLineType->setCurrentIndex(0);
    AddSorted(m_comboRadius, text::kInfinity);
    m_listResults->Model()->Append(Gbk(text::kCoordinatesHeader));
    m_listControl->Model()->Append(ControlHeaderLine());
    m_dStationX = m_dStationY = m_dBacksightX = m_dBacksightY = 0;
    m_strStationName.clear();
    m_strBacksightName.clear();
    UpdateData(false);
    m_btnOpen->setFocus();
}

void CAlignmentDlg::CreateControls() {
    // Created in tab order: "打开/创建" first, so it has the focus at start.
    m_btnOpen = Button("打开/创建", 1);

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
    for (QPushButton* b : {m_btnOpen, btnAdd, m_btnDelete, m_btnSaveControl}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(new QLabel(U("线段总个数：")));
    buttons->addWidget(m_editSegmentCount);
    auto* controlLayout = new QVBoxLayout(controlGroup);
    controlLayout->addLayout(inputs);
    controlLayout->addLayout(buttons);
    controlLayout->addWidget(m_listControl, 1);

    // Results.
    m_editStartStation = Edit(1014);
    m_editEndStation = Edit(1015);
    m_editInterval = Edit(1016);
    m_editOffset = Edit(1017);
    QPushButton* btnCompute = Button("计算", 1018);
    QPushButton* btnSaveResults = Button("保存", 1019);
    m_editStakeStation = Edit(1020);
    QPushButton* btnAddStake = Button("加桩", 1021);
    m_editDeflection = Edit(1024);
    m_editResultCount = CountField(1023);
    m_radioMode[0] = Named(new QRadioButton(U("逐桩坐标")), 1030);
    m_radioMode[1] = Named(new QRadioButton(U("放样元素")), 1031);
    m_listResults = Named(new platform::GbkListView, 1022);
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
    mode->addWidget(new QLabel(U("结果总个数：")));
    mode->addWidget(m_editResultCount);
    auto* listAndBar = new QHBoxLayout;
    listAndBar->addWidget(m_listResults, 1);
    listAndBar->addWidget(m_progress);
    auto* resultsLayout = new QVBoxLayout(resultsGroup);
    resultsLayout->addLayout(fields);
    resultsLayout->addLayout(mode);
    resultsLayout->addLayout(listAndBar, 1);

    // Reverse lookup, in a frame without caption.
    m_editLookupX = Edit(1052);
    m_editLookupY = Edit(1053);
    QPushButton* btnLookup = Button("平面反查", 1051);
    m_editLookupStation = Edit(1054, true);
    m_editLookupOffset = Edit(1055, true);
    auto* lookupFrame = new QFrame;
    lookupFrame->setFrameShape(QFrame::StyledPanel);
    auto* lookup = new QGridLayout(lookupFrame);
    lookup->addWidget(new QLabel(U("X")), 0, 0);
    lookup->addWidget(m_editLookupX, 0, 1);
    lookup->addWidget(new QLabel(U("Y")), 0, 2);
    lookup->addWidget(m_editLookupY, 0, 3);
    lookup->addWidget(btnLookup, 0, 4);
    lookup->addWidget(new QLabel(U("桩号")), 1, 0);
    lookup->addWidget(m_editLookupStation, 1, 1);
    lookup->addWidget(new QLabel(U("偏距")), 1, 2);
    lookup->addWidget(m_editLookupOffset, 1, 3);
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
    // Only once the button sits in the window does the window know its default.
    m_btnOpen->setDefault(true);

    connect(m_btnOpen, &QPushButton::clicked, this, &CAlignmentDlg::OnOK);
    connect(btnAdd, &QPushButton::clicked, this, &CAlignmentDlg::OnAddModify);
    connect(m_btnSaveControl, &QPushButton::clicked, this, &CAlignmentDlg::OnSaveControl);
    connect(m_btnDelete, &QPushButton::clicked, this, &CAlignmentDlg::OnDeleteControl);
    connect(m_listControl, &platform::GbkListView::SelectionChanged, this, &CAlignmentDlg::OnSelchangeControlList);
    connect(btnCompute, &QPushButton::clicked, this, &CAlignmentDlg::OnCompute);
    connect(btnSaveResults, &QPushButton::clicked, this, &CAlignmentDlg::OnSaveResults);
    connect(btnAddStake, &QPushButton::clicked, this, &CAlignmentDlg::OnAddStake);
    connect(btnLookup, &QPushButton::clicked, this, &CAlignmentDlg::OnReverseLookup);
    connect(m_radioMode[0], &QRadioButton::clicked, this, &CAlignmentDlg::OnModeCoordinates);
    connect(m_radioMode[1], &QRadioButton::clicked, this, &CAlignmentDlg::OnModeSettingOut);
    connect(btnAbout, &QPushButton::clicked, this, &CAlignmentDlg::OnAbout);
}

bool CAlignmentDlg::UpdateData(bool read) {
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
    return !dx.TextRefused();
}

void CAlignmentDlg::accept() { OnOK(); }

void CAlignmentDlg::reject() { OnClose(); }

void CAlignmentDlg::OnOK() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    // Unsaved rows are not dropped without a word.
    if (!m_bControlSaved && platform::AskYesNo(this, text::kAskSaveControl) && !SaveControl()) return;

    const platform::FileChoice choice = platform::PickFileToOpen(this, text::kAlignmentFilter);
    if (choice.strPath.empty()) {
        UpdateData(false);
        return;
    }
    std::string path = choice.strPath;
    std::string name = choice.strName;
    std::string bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::Unreadable:
        // It exists: never offer to create (and so truncate) it.
        platform::Warn(this, Format(text::kCannotRead, PathForDisplay(path).c_str()).c_str());
        return;
    case ReadStatus::Missing:
        if (!platform::AskOkCancel(this, text::kAskCreate, text::kAppTitle)) return;
        path += ".vxa";
        name += ".vxa";
        if (QFileInfo::exists(QFile::decodeName(path.c_str())) &&
            !platform::AskYesNo(this, Format(text::kAskReplaceFile, name.c_str()).c_str()))
            return;
        bytes = NewAlignmentFile(TimeStampNow());
        if (!WriteFileAtomically(path, bytes)) {
            platform::Warn(this, Format(text::kCannotWrite, PathForDisplay(path).c_str()).c_str());
            return;
        }
        break;
    }

    // Only now that the new file is open do the old lines go.
    platform::GbkListModel* model = m_listControl->Model();
    model->Truncate(1);
    model->AppendAll(AlignmentRecords(bytes));
    m_strFilePath = path;
    m_strFileName = NameForDisplay(name);
    m_nSegmentCount = model->Count() - 1;
    if (m_nSegmentCount > 0) m_btnSaveControl->setEnabled(true);
    m_bControlSaved = true;  // the list is what the file holds
    UpdateData(false);
}

void CAlignmentDlg::OnSaveControl() {
    const Busy busy(m_bBusy);
    if (busy) SaveControl();
}

bool CAlignmentDlg::SaveControl() {
    UpdateData(true);
    const std::string bytes = SavedAlignmentFile(m_listControl->Model()->Lines(), TimeStampNow());
    if (!WriteFileAtomically(m_strFilePath, bytes)) {
        platform::Warn(this, Format(text::kCannotWrite, PathForDisplay(m_strFilePath).c_str()).c_str());
        return false;
    }
    m_bControlSaved = true;
    return true;
}

void CAlignmentDlg::OnAddModify() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    ControlRow row;
    row.strField[kFieldStation] = m_strStation;
    row.strField[kFieldLineType] = m_strLineType;
    row.strField[kFieldRadius] = m_strRadius;
    row.strField[kFieldX] = m_strX;
    row.strField[kFieldY] = m_strY;
    for (const std::string& field : row.strField) {
        if (field.empty()) {
            platform::Warn(this, text::kFillAll);
            return;
        }
    }
    platform::GbkListModel* model = m_listControl->Model();
    if (m_strFileName.empty()) {
        platform::Warn(this, text::kNoFile);
    } else {
        // A wider field would shift every later column of the line and of the file.
        const int wide = OverflowingField(row);
        if (wide >= 0) {
            platform::Warn(this, Format(text::kFieldTooLong, text::kFieldNames[wide], kControlLayout[wide].nWidth).c_str());
            QWidget* inputs[kControlFieldCount] = {m_editStation, m_comboLineType, m_comboRadius, m_editX, m_editY};
            inputs[wide]->setFocus();
            return;
        }
        std::string line = BuildControlLine(row);
        const int same = FindStation(model->Lines(), m_strStation);
        if (same >= 1) {
            if (!platform::AskYesNo(this, text::kAskOverwriteStation)) return;
            model->Remove(same);
            model->Insert(same, std::move(line));
        } else {
            model->Append(std::move(line));
        }
        m_bControlSaved = false;
    }
    m_strStation.clear();
    m_strLineType.clear();
    m_strRadius.clear();
    m_strX.clear();
    m_strY.clear();
    m_nSegmentCount = model->Count() - 1;
    if (m_nSegmentCount > 0) m_btnSaveControl->setEnabled(true);
    UpdateData(false);
}

void CAlignmentDlg::OnSelchangeControlList() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    UpdateData(true);
    const int s = m_listControl->Selection();
    const ControlRow row = s >= 1 ? SplitControlLine(m_listControl->Model()->Line(s)) : ControlRow();
    m_strStation = row.strField[kFieldStation];
    m_strLineType = row.strField[kFieldLineType];
    m_strRadius = row.strField[kFieldRadius];
    m_strX = row.strField[kFieldX];
    m_strY = row.strField[kFieldY];
    m_btnDelete->setEnabled(s >= 1);
    UpdateData(false);
}

void CAlignmentDlg::OnDeleteControl() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    const int s = m_listControl->Selection();
    if (s < 1 || !platform::AskYesNo(this, text::kAskDeleteRecord)) return;
    m_bControlSaved = false;
    m_listControl->Model()->Remove(s);
    // The count follows at once; the other fields keep what they show.
    m_nSegmentCount = m_listControl->Model()->Count() - 1;
    platform::FieldExchange(this, false).Integer(m_editSegmentCount, m_nSegmentCount);
}

void CAlignmentDlg::EmptyResults() {
    platform::GbkListModel* model = m_listResults->Model();
    const int n = model->Count();
    if (n <= 1) return;
    // The bar ends where removing line 1 n times would leave it, 100 / n;
    // the lines go in one step.
    model->Truncate(1);
    m_progress->setValue(100 / n);
}

void CAlignmentDlg::ShowModeHeader(const char* header) {
    platform::GbkListModel* model = m_listResults->Model();
    model->Truncate(0);
    m_progress->setValue(0);
    model->Append(Gbk(header));
}

bool CAlignmentDlg::SetUpStation() {
    // Built afresh each time, opening on the points last taken from it.
    CStationSetupDlg setup(m_strStationName, m_dStationX, m_dStationY, m_strBacksightName, m_dBacksightX,
                           m_dBacksightY, this);
    if (setup.exec() != QDialog::Accepted) return false;
    m_strStationName = setup.m_strStationName;
    m_dStationX = setup.m_dStationX;
    m_dStationY = setup.m_dStationY;
    m_strBacksightName = setup.m_strBacksightName;
    m_dBacksightX = setup.m_dBacksightX;
    m_dBacksightY = setup.m_dBacksightY;
    return true;
}

bool CAlignmentDlg::CheckDeflection() {
    // Read as an angle, a text without a number counts 0 and every side
    // stake would quietly fall on the tangent.
    double value = 0;
    if (ReadDouble(m_strDeflection, value) && std::isfinite(value)) return true;
    platform::Warn(this, text::kBadDeflection);
    m_editDeflection->setFocus();
    return false;
}

namespace {

// The stake request from the window's fields; the points and names only in
// setting-out mode.
StakeRequest RequestOf(const CAlignmentDlg& dlg) {
    StakeRequest request;
    request.dStartStation = dlg.m_dStartStation;
    request.dEndStation = dlg.m_dEndStation;
    request.dInterval = dlg.m_dInterval;
    request.dOffset = dlg.m_dOffset;
    request.strDeflection = dlg.m_strDeflection;
    request.nResultMode = dlg.m_nResultMode;
    if (dlg.m_nResultMode != 0) {
        request.ptStation = CPlanePoint(dlg.m_dStationX, dlg.m_dStationY);
        request.ptBacksight = CPlanePoint(dlg.m_dBacksightX, dlg.m_dBacksightY);
        request.strStationName = dlg.m_strStationName;
        request.strBacksightName = dlg.m_strBacksightName;
    }
    return request;
}

// The message of a check that stops a command; false when one was shown.
bool Passed(QWidget* owner, StakeCheck check, int badLine) {
    switch (check) {
    case StakeCheck::Ok:
        return true;
    case StakeCheck::NoControl:
        platform::Warn(owner, text::kNoControl);
        break;
    case StakeCheck::OutOfRange:
        platform::Warn(owner, text::kOutOfRange);
        break;
    case StakeCheck::InvalidRange:
        platform::Warn(owner, text::kInvalidRange);
        break;
    case StakeCheck::BadStationLine:
        platform::Warn(owner, Format(text::kBadStationLine, badLine).c_str());
        break;
    case StakeCheck::TooManyStakes:
        platform::Warn(owner, Format(text::kTooManyStakes, kMaxStakes).c_str());
        break;
    }
    return false;
}

// The element check's box. It belongs to the window, so nothing else can be
// started there while it waits.
MessageSink CheckBox(QWidget* owner) {
    return [owner](const std::string& gbk) {
        platform::Notify(owner, GbkToUtf8(gbk).c_str(), text::kCheckCaption);
    };
}

}  // namespace

void CAlignmentDlg::OnCompute() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    EmptyResults();
    if (!UpdateData(true)) return;

    const std::vector<std::string>& control = m_listControl->Model()->Lines();
    StakeRequest request = RequestOf(*this);
    BracketTable table;
    int badLine = 0;
    const StakeCheck check = CheckStakeRun(control, request, table, badLine);
    if (!Passed(this, check, badLine)) return;
    if (!CheckDeflection()) return;
    const double deflection = DeflectionRadians(m_strDeflection);
    if (m_nResultMode == 1) {
        // Cancel ends the run without a word; the count and flag stay.
        if (!SetUpStation()) return;
        request = RequestOf(*this);
    }

    std::vector<std::string> lines;
    RunStakes(control, table, request, deflection, m_progress->value(), lines,
              [this](int position) { m_progress->setValue(position); }, CheckBox(this));
    platform::GbkListModel* model = m_listResults->Model();
    model->AppendAll(std::move(lines));
    m_nResultCount = model->Count() - 1;
    UpdateData(false);
    m_bResultsSaved = false;
}

void CAlignmentDlg::OnSaveResults() {
    const Busy busy(m_bBusy);
    if (busy) SaveResults();
}

void CAlignmentDlg::SaveResults() {
    // A refused text stops the read before the mode: the layout would be a guess.
    if (!UpdateData(true)) return;
    const platform::FileChoice choice = platform::PickFileToSave(
        this, text::kResultsFilter, ResultsFileName(m_dStartStation, m_dEndStation, m_dInterval, m_dOffset), "txt");
    if (choice.strPath.empty()) return;
    if (!WriteResultsFile(choice.strPath, m_listResults->Model()->Lines(), m_nResultMode, choice.nType,
                          choice.strName, std::time(nullptr))) {
        // The results stay unsaved, so closing still asks for them.
        platform::Warn(this, Format(text::kCannotWrite, PathForDisplay(choice.strPath).c_str()).c_str());
        return;
    }
    m_bResultsSaved = true;
}

void CAlignmentDlg::OnAddStake() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    const std::vector<std::string>& control = m_listControl->Model()->Lines();
    BracketTable table;
    int badLine = 0;
    const StakeCheck check = CheckSingleStake(control, m_dStakeStation, table, badLine);
    if (check == StakeCheck::NoControl) return;  // no control data: silently nothing
    if (!Passed(this, check, badLine) || !CheckDeflection()) return;
    const double deflection = DeflectionRadians(m_strDeflection);
    if (m_nResultMode == 1 && !SetUpStation()) return;

    platform::GbkListModel* model = m_listResults->Model();
    model->Append(SingleStake(control, table, m_dStakeStation, RequestOf(*this), deflection, CheckBox(this)));
    m_nResultCount = model->Count() - 1;
    UpdateData(false);
    m_bResultsSaved = false;
}

void CAlignmentDlg::OnReverseLookup() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    const LookupResult result =
        ReverseLookup(m_listControl->Model()->Lines(), CPlanePoint(m_dLookupX, m_dLookupY), CheckBox(this));
    switch (result.status) {
    case LookupStatus::Converged:
        m_strLookupStation = result.strStation;
        m_strLookupOffset = result.strOffset;
        UpdateData(false);
        break;
    case LookupStatus::NoControl:
        platform::Warn(this, text::kNoControl);
        break;
    case LookupStatus::NotFound:
        platform::Warn(this, text::kNotFound);
        break;
    case LookupStatus::BadStationLine:
        platform::Warn(this, Format(text::kBadStationLine, result.nBadLine).c_str());
        break;
    case LookupStatus::Failed:
        break;  // the evaluation has shown its message
    }
}

// The mode switches neither read nor write the fields: the mode is taken
// from the radios by the next command that reads them.
void CAlignmentDlg::OnModeCoordinates() {
    const Busy busy(m_bBusy);
    if (busy) ShowModeHeader(text::kCoordinatesHeader);
}

void CAlignmentDlg::OnModeSettingOut() {
    const Busy busy(m_bBusy);
    if (busy) ShowModeHeader(text::kSettingOutHeader);
}

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
