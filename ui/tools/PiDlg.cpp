#include "ui/tools/PiDlg.h"

#include <algorithm>

#include <QClipboard>
#include <QItemSelectionModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/files/FileType.h"
#include "core/files/PastedRows.h"
#include "core/files/PiCsv.h"
#include "core/files/TextFile.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/KeyHook.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/Controls.h"

using namespace vexaline;

namespace {

constexpr int kPiColumnCount = 6;

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

std::vector<PiRow> FreshRows() {
    return {PiRow{1, text::kPiStartName, "", "", "", "", ""}, PiRow{2, "JD1", "", "", "", "", ""},
            PiRow{3, text::kPiEndName, "", "", "", "", ""}};
}

void WriteOrWarn(QWidget* owner, const platform::FileChoice& choice, const std::string& bytes) {
    if (!WriteFileAtomically(choice.strPath, bytes))
        platform::Warn(owner, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}

}  // namespace

CPiDlg::CPiDlg(PutRows putRows, Chainage chain, QWidget* parent)
    : QDialog(parent), m_putRows(std::move(putRows)), m_chain(std::move(chain)) {
    setObjectName("2200");
    setWindowTitle(QString::fromUtf8(text::kPiTitle));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    const char* startLabel = m_chain.Empty() ? text::kPiStartStationLabel : text::kPiStartChainLabel;
    top->addWidget(new QLabel(QString::fromUtf8(startLabel), this));
    m_editStart = new QLineEdit("0", this);
    m_editStart->setObjectName("2206");
    top->addWidget(m_editStart);
    top->addStretch(1);
    QPushButton* open = platform::IdButton(this, text::kPiOpenTable, 2204);
    QPushButton* save = platform::IdButton(this, text::kPiSaveTable, 2205);
    top->addWidget(open);
    top->addWidget(save);
    layout->addLayout(top);

    m_table = new QTableWidget(0, kPiColumnCount, this);
    m_table->setObjectName("2201");
    QStringList titles;
    for (const char* t : text::kPiColumns) titles << QString::fromUtf8(t);
    m_table->setHorizontalHeaderLabels(titles);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_table, 2);

    auto* rowButtons = new QHBoxLayout;
    QPushButton* insert = platform::IdButton(this, text::kPiInsertRow, 2202);
    QPushButton* remove = platform::IdButton(this, text::kPiDeleteRow, 2203);
    QPushButton* compute = platform::IdButton(this, text::kPiCompute, 2207);
    m_btnSaveCurves = platform::IdButton(this, text::kPiSaveCurves, 2209);
    m_btnSaveCurves->setEnabled(false);
    for (QPushButton* b : {insert, remove, compute, m_btnSaveCurves}) rowButtons->addWidget(b);
    rowButtons->addStretch(1);
    layout->addLayout(rowButtons);

    m_curves = new QTableWidget(0, 14, this);
    m_curves->setObjectName("2208");
    m_curves->setHorizontalHeaderLabels(QString::fromUtf8(text::kPiCurveCsvHeader).split(','));
    m_curves->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_curves->verticalHeader()->hide();
    layout->addWidget(m_curves, 1);
    SetRows(FreshRows());

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    QPushButton* ok = platform::IdButton(this, text::kButtonOk, 2210);
    QPushButton* cancel = platform::IdButton(this, text::kButtonCancel, 2211);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    connect(insert, &QPushButton::clicked, this, &CPiDlg::OnInsertRow);
    connect(remove, &QPushButton::clicked, this, &CPiDlg::OnDeleteRow);
    connect(open, &QPushButton::clicked, this, &CPiDlg::OnOpenTable);
    connect(save, &QPushButton::clicked, this, &CPiDlg::OnSaveTable);
    connect(compute, &QPushButton::clicked, this, &CPiDlg::OnCompute);
    connect(m_btnSaveCurves, &QPushButton::clicked, this, &CPiDlg::OnSaveCurves);
    connect(ok, &QPushButton::clicked, this, &CPiDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // A curve table that no longer fits the table is not shown.
    connect(m_table, &QTableWidget::itemChanged, this, [this] { ShowCurves({}); });
    connect(m_editStart, &QLineEdit::textEdited, this, [this] { ShowCurves({}); });
    new platform::KeyHook(m_table, [this](QKeyEvent* e) {
        if (e->type() != QEvent::KeyPress) return false;
        if (e->matches(QKeySequence::Paste)) return OnPasteRows(), true;
        if (e->matches(QKeySequence::Copy)) return OnCopyRows(), true;
        return false;
    });
    resize(980, 560);
}

std::vector<PiRow> CPiDlg::Rows() const {
    std::vector<PiRow> rows;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        std::string cell[kPiColumnCount];
        for (int c = 0; c < kPiColumnCount; ++c) {
            const QTableWidgetItem* item = m_table->item(r, c);
            cell[c] = item ? item->text().toStdString() : std::string();
        }
        rows.push_back(PiRow{r + 1, cell[0], cell[1], cell[2], cell[3], cell[4], cell[5]});
    }
    return rows;
}

void CPiDlg::SetRows(const std::vector<PiRow>& rows) {
    m_table->setRowCount(0);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const PiRow& p = rows[static_cast<std::size_t>(r)];
        const std::string* cell[kPiColumnCount] = {&p.strName, &p.strX, &p.strY, &p.strRadius, &p.strLs1, &p.strLs2};
        for (int c = 0; c < kPiColumnCount; ++c) m_table->setItem(r, c, new QTableWidgetItem(U(*cell[c])));
    }
    ShowCurves({});
}

int CPiDlg::InsertPlace() const {
    const int selected = m_table->currentRow();
    return selected >= 1 ? selected : std::max(m_table->rowCount() - 1, 0);
}

bool CPiDlg::Fresh() const { return CopiedPiRows(Rows()) == CopiedPiRows(FreshRows()); }

CPiDlg::State CPiDlg::Kept() const { return State{Rows(), m_editStart->text().toStdString(), m_strTablePath}; }

void CPiDlg::Restore(const State& state) {
    SetRows(state.rows);
    m_editStart->setText(U(state.strStart));
    m_strTablePath = state.strTablePath;
}

void CPiDlg::OnPasteRows() {
    const PastedPiRows pasted = ParsePastedPiRows(QGuiApplication::clipboard()->text().toStdString());
    if (!pasted.Ok()) {
        platform::Warn(this, pasted.strMessage.c_str());
        return;
    }
    std::vector<PiRow> rows = Rows();
    if (Fresh()) rows.clear();
    const int at = rows.empty() ? 0 : InsertPlace();
    rows.insert(rows.begin() + at, pasted.rows.begin(), pasted.rows.end());
    SetRows(rows);
    m_table->setCurrentCell(at, 0);
}

void CPiDlg::OnCopyRows() {
    const std::vector<PiRow> all = Rows();
    std::vector<PiRow> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows.push_back(all[static_cast<std::size_t>(index.row())]);
    std::sort(rows.begin(), rows.end(), [](const PiRow& a, const PiRow& b) { return a.nLine < b.nLine; });
    QGuiApplication::clipboard()->setText(QString::fromStdString(CopiedPiRows(rows.empty() ? all : rows)));
}

void CPiDlg::OnInsertRow() {
    const int at = InsertPlace();
    m_table->insertRow(at);
    for (int c = 0; c < kPiColumnCount; ++c) m_table->setItem(at, c, new QTableWidgetItem());
    m_table->setCurrentCell(at, 0);
    ShowCurves({});
}

void CPiDlg::OnDeleteRow() {
    const int selected = m_table->currentRow();
    if (selected < 0) return;
    m_table->removeRow(selected);
    ShowCurves({});
}

void CPiDlg::OnOpenTable() {
    const platform::FileChoice choice = platform::PickFileToOpen(this, text::kPiTableFilter);
    if (choice.strPath.empty()) return;
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok) {
        platform::Warn(this, Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()).c_str());
        return;
    }
    const PiCsvRead read = ReadPiCsv(bytes);
    if (!read.Ok()) {
        platform::Warn(this, read.strMessage.c_str());
        return;
    }
    if (!Fresh() && !platform::AskYesNo(this, text::kAskReplacePiTable)) return;
    SetRows(read.rows);
    m_strTablePath = platform::PathForDisplay(choice.strPath);
}

std::string CPiDlg::ProposedRoadName() const {
    return WithExtension(m_strTablePath.empty() ? text::kPiTableName : m_strTablePath, "vxa");
}

void CPiDlg::OnSaveTable() {
    const platform::FileChoice choice = platform::PickFileToSave(this, text::kPiTableFilter, text::kPiTableName, "csv");
    if (choice.strPath.empty()) return;
    WriteOrWarn(this, choice, PiCsvText(Rows()));
    m_strTablePath = platform::PathForDisplay(choice.strPath);
}

// With station equations the start is a 桩号, refused as the window's
// station fields refuse one.
bool CPiDlg::Build(PiRoad& road) {
    const std::string typed = m_editStart->text().toStdString();
    double start = 0;
    std::string refusal;
    if (m_chain.Empty()) {
        if (!ParsePiNumber(typed, start)) refusal = text::kPiBadStartStation;
    } else {
        const TypedStation station = DistanceOfTyped(m_chain, typed);
        start = station.dDistance, refusal = station.strMessage;
    }
    if (!refusal.empty()) {
        platform::Warn(this, refusal.c_str());
        m_editStart->setFocus();
        return false;
    }
    road = BuildPiRoad(Rows(), start, m_chain);
    if (!road.Ok()) {
        platform::Warn(this, road.strMessage.c_str());
        return false;
    }
    return true;
}

void CPiDlg::ShowCurves(const std::vector<CurveRecord>& curves) {
    m_shown = curves;
    m_curves->setRowCount(static_cast<int>(curves.size()));
    for (int r = 0; r < static_cast<int>(curves.size()); ++r) {
        const std::vector<std::string> cells = CurveCells(curves[static_cast<std::size_t>(r)], m_chain);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            m_curves->setItem(r, c, new QTableWidgetItem(U(cells[static_cast<std::size_t>(c)])));
    }
    m_curves->resizeColumnsToContents();
    m_btnSaveCurves->setEnabled(!curves.empty());
}

void CPiDlg::OnCompute() {
    PiRoad road;
    ShowCurves(Build(road) ? road.curves : std::vector<CurveRecord>());
}

void CPiDlg::OnSaveCurves() {
    const platform::FileChoice choice =
        platform::PickFileToSave(this, text::kPiCurvesFilter, text::kPiCurvesName, "csv");
    if (!choice.strPath.empty()) WriteOrWarn(this, choice, CurveTableCsv(m_shown, m_chain));
}

void CPiDlg::OnOk() {
    PiRoad road;
    if (!Build(road)) return;
    ShowCurves(road.curves);
    if (m_putRows && m_putRows(road.rows)) accept();
}
