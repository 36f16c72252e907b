#include "ui/profile/ProfileDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/files/ProfileCsv.h"
#include "core/files/TextFile.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/profile/ProfileView.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/TableEdit.h"
#include "ui/toolkit/Controls.h"

using namespace vexaline;

namespace {

using Cells = platform::TableCells;
using platform::CsvTable, platform::FillTable, platform::TableRows;

Cells GradeCells(const std::vector<GradeRow>& rows) {
    Cells cells;
    for (const GradeRow& g : rows) cells.push_back({g.strName, g.strStation, g.strElevation, g.strRadius});
    return cells;
}

Cells SlopeCells(const std::vector<SlopeRow>& rows) {
    Cells cells;
    for (const SlopeRow& s : rows) cells.push_back({s.strStation, s.strLeft, s.strRight});
    return cells;
}

// A table file's bytes, or nothing after telling the user.
std::optional<std::string> PickAndRead(QWidget* owner, const char* filter) {
    const platform::FileChoice choice = platform::PickFileToOpen(owner, filter);
    if (choice.strPath.empty()) return std::nullopt;
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok) {
        platform::Warn(owner, Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return std::nullopt;
    }
    return bytes;
}

void PickAndWrite(QWidget* owner, const char* filter, const char* name, const char* extension,
                  const std::string& bytes) {
    const platform::FileChoice choice = platform::PickFileToSave(owner, filter, name, extension);
    if (!choice.strPath.empty() && !WriteFileAtomically(choice.strPath, bytes))
        platform::Warn(owner, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}

}  // namespace

CProfileDlg::CProfileDlg(const std::vector<GradeRow>& grades, const std::vector<SlopeRow>& slopes, Chainage chain,
                         QWidget* parent)
    : QDialog(parent), m_chain(std::move(chain)) {
    setObjectName("2400");
    setWindowTitle(QString::fromUtf8(text::kProfileTitle));
    m_grades = CsvTable(this, text::kGradeCsvHeader, 2401);
    m_slopes = CsvTable(this, text::kSlopeCsvHeader, 2402);
    m_curves = CsvTable(this, text::kVerticalCurveCsvHeader, 2412);
    m_curves->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_curves->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_curves->verticalHeader()->hide();
    m_view = new CProfileView(this);
    m_view->setObjectName("2413");

    // A table in its group, with its four buttons from the first identifier on.
    auto group = [this](const char* title, QTableWidget* table, int firstId, QPushButton* (&buttons)[4]) {
        const char* labels[4] = {text::kProfileInsertRow, text::kProfileDeleteRow, text::kProfileOpen, text::kProfileSave};
        for (int i = 0; i < 4; ++i) buttons[i] = platform::IdButton(this, labels[i], firstId + i);
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(table, 1);
        auto* row = new QHBoxLayout;
        for (QPushButton* b : buttons) row->addWidget(b);
        row->addStretch(1);
        layout->addLayout(row);
        return box;
    };
    QPushButton* gradeButtons[4];
    QPushButton* slopeButtons[4];
    auto* tables = new QHBoxLayout;
    tables->addWidget(group(text::kProfileGrades, m_grades, 2403, gradeButtons), 4);
    tables->addWidget(group(text::kProfileSlopes, m_slopes, 2407, slopeButtons), 3);

    auto* curvesBox = new QGroupBox(QString::fromUtf8(text::kProfileCurves), this);
    auto* curvesLayout = new QVBoxLayout(curvesBox);
    curvesLayout->addWidget(m_curves);

    QPushButton* compute = platform::IdButton(this, text::kProfileCompute, 2411);
    QPushButton* ok = platform::IdButton(this, text::kButtonOk, 2414);
    QPushButton* cancel = platform::IdButton(this, text::kButtonCancel, 2415);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(compute);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tables, 3);
    layout->addWidget(curvesBox, 2);
    layout->addWidget(m_view, 3);
    layout->addLayout(bottom);

    connect(gradeButtons[0], &QPushButton::clicked, this, [this] { platform::InsertTableRow(m_grades); });
    connect(gradeButtons[1], &QPushButton::clicked, this, [this] { platform::DeleteTableRow(m_grades); });
    connect(gradeButtons[2], &QPushButton::clicked, this, &CProfileDlg::OnOpenGrades);
    connect(gradeButtons[3], &QPushButton::clicked, this, &CProfileDlg::OnSaveGrades);
    connect(slopeButtons[0], &QPushButton::clicked, this, [this] { platform::InsertTableRow(m_slopes); });
    connect(slopeButtons[1], &QPushButton::clicked, this, [this] { platform::DeleteTableRow(m_slopes); });
    connect(slopeButtons[2], &QPushButton::clicked, this, &CProfileDlg::OnOpenSlopes);
    connect(slopeButtons[3], &QPushButton::clicked, this, &CProfileDlg::OnSaveSlopes);
    connect(compute, &QPushButton::clicked, this, &CProfileDlg::OnCompute);
    connect(ok, &QPushButton::clicked, this, &CProfileDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // A curve table or drawing that no longer fits the grade table is not shown.
    connect(m_grades, &QTableWidget::itemChanged, this, [this] { ShowProfile(nullptr); });
    connect(m_grades->model(), &QAbstractItemModel::rowsRemoved, this, [this] { ShowProfile(nullptr); });

    FillTable(m_grades, GradeCells(grades));
    FillTable(m_slopes, SlopeCells(slopes));
    ShowProfile(nullptr);
    resize(1000, 860);
}

std::vector<GradeRow> CProfileDlg::GradeRows() const {
    std::vector<GradeRow> rows;
    for (const auto& [line, c] : TableRows(m_grades)) rows.push_back(GradeRow{line, c[0], c[1], c[2], c[3]});
    return rows;
}

std::vector<SlopeRow> CProfileDlg::SlopeRows() const {
    std::vector<SlopeRow> rows;
    for (const auto& [line, c] : TableRows(m_slopes)) rows.push_back(SlopeRow{line, c[0], c[1], c[2]});
    return rows;
}

void CProfileDlg::OnOpenGrades() {
    const std::optional<std::string> bytes = PickAndRead(this, text::kGradeFilter);
    if (!bytes) return;
    const GradeCsvRead read = ReadGradeCsv(*bytes);
    if (!read.Ok()) return platform::Warn(this, read.strMessage.c_str());
    FillTable(m_grades, GradeCells(read.rows));
}

void CProfileDlg::OnSaveGrades() {
    PickAndWrite(this, text::kGradeFilter, text::kGradeFileName, "vxz", GradeCsvText(GradeRows()));
}

void CProfileDlg::OnOpenSlopes() {
    const std::optional<std::string> bytes = PickAndRead(this, text::kSlopeFilter);
    if (!bytes) return;
    const SlopeCsvRead read = ReadSlopeCsv(*bytes);
    if (!read.Ok()) return platform::Warn(this, read.strMessage.c_str());
    FillTable(m_slopes, SlopeCells(read.rows));
}

void CProfileDlg::OnSaveSlopes() {
    PickAndWrite(this, text::kSlopeFilter, text::kSlopeFileName, "vxh", SlopeCsvText(SlopeRows()));
}

void CProfileDlg::ShowProfile(const Profile* profile) {
    const int rows = profile ? static_cast<int>(profile->points.size()) : 0;
    m_curves->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const std::vector<std::string> cells = VerticalCurveCells(*profile, static_cast<std::size_t>(r), m_chain);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            m_curves->setItem(r, c, new QTableWidgetItem(QString::fromStdString(cells[static_cast<std::size_t>(c)])));
    }
    m_view->SetProfile(profile ? std::optional<Profile>(*profile) : std::nullopt, m_chain);
}

bool CProfileDlg::Compute() {
    const std::vector<GradeRow> grades = GradeRows();
    ProfileBuild profile;
    if (!grades.empty()) profile = BuildProfileOn(grades, m_chain);
    const SlopesBuild slopes = BuildSlopesOn(SlopeRows(), m_chain);
    const std::string& refusal = !profile.Ok() ? profile.strMessage : slopes.strMessage;
    ShowProfile(profile.Ok() && !grades.empty() ? &profile.profile : nullptr);
    if (refusal.empty()) return true;
    platform::Warn(this, refusal.c_str());
    return false;
}

void CProfileDlg::OnCompute() { Compute(); }

void CProfileDlg::OnOk() {
    if (Compute()) accept();
}
