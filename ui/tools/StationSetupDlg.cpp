#include "ui/tools/StationSetupDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/files/FileType.h"
#include "core/files/OpenOrCreate.h"
#include "core/road/Results.h"
#include "core/text/Gbk.h"
#include "core/road/ResultText.h"
#include "core/text/TextFields.h"
#include "core/files/TextFile.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FieldExchange.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"
#include "core/files/PointFile.h"

using namespace vexaline;

namespace {

QLineEdit* Edit(const char* id, bool readOnly = false) {
    auto* edit = new QLineEdit;
    edit->setObjectName(id);
    edit->setReadOnly(readOnly);
    return edit;
}

QPushButton* Button(const char* id, const char* label) {
    auto* button = new QPushButton(QString::fromUtf8(label));
    button->setObjectName(id);
    return button;
}

// A group of name, X and Y fields.
QGroupBox* PointGroup(const char* title, QLineEdit* name, QLineEdit* x, QLineEdit* y) {
    auto* group = new QGroupBox(QString::fromUtf8(title));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QString::fromUtf8("点名")), 0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(new QLabel("X"), 1, 0);
    grid->addWidget(x, 1, 1);
    grid->addWidget(new QLabel("Y"), 2, 0);
    grid->addWidget(y, 2, 1);
    return group;
}

}  // namespace

CStationSetupDlg::CStationSetupDlg(const std::string& strStationName, double dStationX, double dStationY,
                                   const std::string& strBacksightName, double dBacksightX,
                                   double dBacksightY, QWidget* parent)
    : QDialog(parent),
      m_listPoints(new platform::GbkListView),
      m_strBacksightName(strBacksightName),
      m_dBacksightX(dBacksightX),
      m_dBacksightY(dBacksightY),
      m_strStationName(strStationName),
      m_dStationX(dStationX),
      m_dStationY(dStationY),
      m_editStationName(Edit("1032")),
      m_editStationX(Edit("1033")),
      m_editStationY(Edit("1034")),
      m_editBacksightName(Edit("1038", true)),
      m_editBacksightX(Edit("1039", true)),
      m_editBacksightY(Edit("1040", true)),
      m_editPointFile(Edit("1044", true)) {
    setWindowTitle(QString::fromUtf8(text::kStationSetupCaption));
    m_listPoints->setObjectName("1046");
    // The byte limit itself is checked when the field is read.
    m_editStationName->setMaxLength(8);
    m_editBacksightName->setMaxLength(8);

    QPushButton* setStation = Button("1048", "==>>");
    QPushButton* setBacksight = Button("1049", "==>>");
    QPushButton* add = Button("1047", "添加");
    QPushButton* remove = Button("1050", "删除");
    QPushButton* browse = Button("1045", "浏览...");
    QPushButton* ok = Button("1", "确定");
    QPushButton* cancel = Button("2", "退出");
    ok->setDefault(true);

    auto* stationRow = new QHBoxLayout;
    stationRow->addWidget(setStation);
    stationRow->addWidget(PointGroup("设站点", m_editStationName, m_editStationX, m_editStationY));
    auto* editRow = new QHBoxLayout;
    editRow->addStretch();
    editRow->addWidget(add);
    editRow->addWidget(remove);
    auto* backsightRow = new QHBoxLayout;
    backsightRow->addWidget(setBacksight);
    backsightRow->addWidget(PointGroup("后视点", m_editBacksightName, m_editBacksightX, m_editBacksightY));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QString::fromUtf8("文件")));
    fileRow->addWidget(m_editPointFile);
    fileRow->addWidget(browse);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok);
    buttonRow->addWidget(cancel);

    auto* right = new QVBoxLayout;
    right->addLayout(stationRow);
    right->addLayout(editRow);
    right->addLayout(backsightRow);
    right->addLayout(fileRow);
    right->addStretch();
    right->addLayout(buttonRow);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_listPoints, 1);
    layout->addLayout(right, 1);

    connect(browse, &QPushButton::clicked, this, &CStationSetupDlg::OnBrowse);
    connect(add, &QPushButton::clicked, this, &CStationSetupDlg::OnAddPoint);
    connect(setStation, &QPushButton::clicked, this, &CStationSetupDlg::OnSetStation);
    connect(setBacksight, &QPushButton::clicked, this, &CStationSetupDlg::OnSetBacksight);
    connect(remove, &QPushButton::clicked, this, &CStationSetupDlg::OnDeletePoint);
    connect(ok, &QPushButton::clicked, this, &CStationSetupDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_listPoints->LineModel()->Append(PointHeader());
    Refresh(-1);
}

bool CStationSetupDlg::DoDataExchange(bool read) {
    platform::FieldExchange dx(this, read);
    dx.Text(m_editBacksightName, m_strBacksightName, 8);
    dx.Double(m_editBacksightX, m_dBacksightX);
    dx.Double(m_editBacksightY, m_dBacksightY);
    dx.Text(m_editStationName, m_strStationName, 8);
    dx.Double(m_editStationX, m_dStationX);
    dx.Double(m_editStationY, m_dStationY);
    dx.ListSelection(m_listPoints, m_strPointSel);
    dx.Text(m_editPointFile, m_strPointFile);
    return dx.Ok();
}

void CStationSetupDlg::Refresh(int selection) {
    m_strPointSel = selection >= 0 ? m_listPoints->LineModel()->Line(selection) : std::string();
    DoDataExchange(false);
    // By index: selecting by text would pick the first of two equal lines.
    m_listPoints->Select(selection);
}

void CStationSetupDlg::OnBrowse() {
    DoDataExchange(true);
    platform::FileChoice choice = platform::PickFileToOpen(this, text::kPointImportFilter);
    if (choice.strName.empty()) {
        Refresh(m_listPoints->Selection());
        return;
    }
    if (std::optional<PointFormat> format = ImportFormat(choice)) {
        ImportPointFile(choice, *format);
        return;
    }
    std::string name;
    if (!Utf8ToGbk(choice.strName, name)) {
        platform::Warn(this, text::kNotGbk);
        return;
    }
    const OpenedFile file = OpenOrCreate(FileKind::PointFile, choice.strPath, choice.strName, [this](Question, const std::string&) {
        return platform::AskOkCancel(this, text::kAskCreate);
    });
    if (!platform::OpenedOrTold(this, file.outcome, file.strName)) return;
    // Points not yet written go only when the user says so.
    if (file.outcome != OpenOutcome::Created && m_bPointsChanged && !platform::AskYesNo(this, text::kAskDropPoints)) {
        Refresh(m_listPoints->Selection());
        return;
    }
    m_strPointFile = name + file.strName.substr(choice.strName.size());  // with the extension it was given
    m_strPointFilePath = file.strPath;
    if (file.outcome == OpenOutcome::Created) {
        // The list stays as it is; OK writes it into the new file.
        Refresh(m_listPoints->Selection());
        return;
    }
    platform::GbkLineModel* model = m_listPoints->LineModel();
    model->Truncate(0);
    model->AppendAll(ParsePointFile(file.bytes));
    m_bPointsChanged = false;
    Refresh(-1);
}

// A .dat or .csv by its extension, or by the file type chosen for it.
std::optional<PointFormat> CStationSetupDlg::ImportFormat(const platform::FileChoice& choice) {
    switch (TypeOfName(choice.strName, choice.nType, {"vxp", "dat", "csv"}).nType) {
    case 2: return PointFormat::CassDat;
    case 3: return PointFormat::Csv;
    default: return std::nullopt;
    }
}

// Points from another program's file join the list; the point file (.vxp)
// stays the one chosen and gets them on 确定. A file with a bad line adds none.
void CStationSetupDlg::ImportPointFile(const platform::FileChoice& choice, PointFormat format) {
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok) {
        platform::Warn(this, Format(text::kCannotRead, choice.strName.c_str()).c_str());
        return;
    }
    PointImport points = ImportPoints(bytes, format);
    if (!points.strMessage.empty()) {
        platform::Warn(this, (choice.strName + "\n" + points.strMessage).c_str());
        return;
    }
    m_listPoints->LineModel()->AppendAll(std::move(points.lines));
    m_bPointsChanged = true;
    Refresh(m_listPoints->Selection());
}

void CStationSetupDlg::OnAddPoint() {
    if (!DoDataExchange(true)) return;
    std::string line;
    if (!MakePointLine(m_strStationName, m_dStationX, m_dStationY, line)) {
        platform::Warn(this, text::kPointTooWide);
        return;
    }
    m_listPoints->LineModel()->Append(line);
    m_bPointsChanged = true;
    Refresh(m_listPoints->Selection());
}

void CStationSetupDlg::CopyPoint(std::string& name, double& x, double& y) {
    DoDataExchange(true);
    int s = m_listPoints->Selection();
    if (s <= 0) return;
    const std::string line = m_listPoints->LineModel()->Line(s);
    if (line.size() < kPointLineBytes) {
        platform::Notify(this, text::kInvalidPoint);
        return;
    }
    PointRecord point = SplitPointLine(line);
    name = point.strName;
    x = point.dX;
    y = point.dY;
    Refresh(s);
}

void CStationSetupDlg::OnSetStation() { CopyPoint(m_strStationName, m_dStationX, m_dStationY); }

void CStationSetupDlg::OnSetBacksight() { CopyPoint(m_strBacksightName, m_dBacksightX, m_dBacksightY); }

void CStationSetupDlg::OnDeletePoint() {
    DoDataExchange(true);
    int s = m_listPoints->Selection();
    if (s <= 0) return;
    if (!platform::AskOkCancel(this, text::kAskDeletePoint)) return;
    platform::GbkLineModel* model = m_listPoints->LineModel();
    model->Remove(s);
    m_bPointsChanged = true;
    Refresh(s < model->Count() ? s : -1);
}

void CStationSetupDlg::OnOK() {
    if (!DoDataExchange(true)) return;
    const std::string fault = SetupMessage(StationSetup{m_strStationName, CPlanePoint(m_dStationX, m_dStationY),
                                                        m_strBacksightName, CPlanePoint(m_dBacksightX, m_dBacksightY)});
    if (!fault.empty()) {
        platform::Warn(this, fault.c_str());
        return;
    }
    if (!m_strPointFile.empty() &&
        !WriteFileAtomically(m_strPointFilePath, PointFileBytes(m_listPoints->LineModel()->Lines()))) {
        platform::Warn(this, Format(text::kCannotWrite, GbkToUtf8(m_strPointFile).c_str()).c_str());
        return;
    }
    if (!m_strPointFile.empty()) m_bPointsChanged = false;
    accept();
}

CStationSetupDlg::Points CStationSetupDlg::Kept() const {
    return Points{m_listPoints->LineModel()->Lines(), m_strPointFilePath, m_strPointFile, m_bPointsChanged};
}

void CStationSetupDlg::Restore(const Points& points) {
    platform::GbkLineModel* model = m_listPoints->LineModel();
    model->Truncate(0);
    model->AppendAll(std::vector<std::string>(points.lines));
    m_strPointFilePath = points.strFilePath;
    m_strPointFile = points.strFileName;
    m_bPointsChanged = points.bChanged;
    Refresh(-1);
}
