#include "ui/tools/GridDlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/files/FourParamCsv.h"
#include "core/files/GridFile.h"
#include "core/files/PastedRows.h"
#include "core/files/PointCoordinates.h"
#include "core/files/TextFile.h"
#include "core/text/DmsText.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/KeyHook.h"
#include "ui/toolkit/TableEdit.h"
#include "ui/toolkit/Controls.h"

using namespace vexaline;

namespace {

constexpr double kSeconds = 648000 / kPi;  // arc seconds in a radian

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

QLabel* Hint(QWidget* owner, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), owner);
    label->setWordWrap(true);
    return label;
}

// How a point file is carried: between two grids, or by the parameters;
// the notation of the coordinates read and written.
struct Carry {
    std::optional<GridTransform> grids;
    CoordinateText in = CoordinateText::Metres, out = CoordinateText::Metres;
    std::string strMessage;
};

Carry GridsCarry(const std::string& fromText, const std::string& toText, bool degrees) {
    Carry carry;
    const GridRead from = ReadGrid(fromText), to = ReadGrid(toText);
    if (!from.grid || !to.grid) {
        carry.strMessage = from.grid ? to.strMessage : from.strMessage;
        return carry;
    }
    const CoordinateText angle = degrees ? CoordinateText::Degrees : CoordinateText::Dms;
    carry.in = from.grid->bGeographic ? angle : CoordinateText::Metres;
    carry.out = to.grid->bGeographic ? angle : CoordinateText::Metres;
    GridTransform::Make made = GridTransform::Between(*from.grid, *to.grid);
    carry.grids = std::move(made.transform);
    carry.strMessage = made.strMessage;
    return carry;
}

}  // namespace

CGridDlg::CGridDlg(RoadDocument& document, QWidget* owner) : QDialog(owner), m_doc(document) {
    setObjectName("2700");
    setWindowTitle(QString::fromUtf8(text::kGridCaption));
    setModal(false);
    m_pages = platform::Named(new QTabWidget(this), 2701);
    m_pages->addTab(FourPage(), QString::fromUtf8(text::kGridTabFour));
    m_pages->addTab(TransformPage(), QString::fromUtf8(text::kGridTabTransform));
    m_pages->addTab(RoadPage(), QString::fromUtf8(text::kGridTabRoad));
    m_labelMessage = platform::Named(new QLabel(this), 2721);
    m_labelMessage->setWordWrap(true);
    m_labelMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_labelMessage);
    resize(860, 640);
    connect(&document, &RoadDocument::TablesChanged, this, &CGridDlg::FollowGrid);
    FollowGrid();
}

QWidget* CGridDlg::FourPage() {
    auto* page = new QWidget(this);
    m_common = platform::CsvTable(page, text::kCommonCsvHeader, 2702);
    m_residuals = platform::CsvTable(page, text::kGridResidualHeader, 2709);
    m_residuals->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_labelParams = platform::Named(new QLabel(page), 2708);
    m_labelParams->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_labelParams->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPushButton* insert = platform::IdButton(page, text::kProfileInsertRow, 2703);
    QPushButton* remove = platform::IdButton(page, text::kProfileDeleteRow, 2704);
    QPushButton* paste = platform::IdButton(page, text::kGridPaste, 2705);
    QPushButton* read = platform::IdButton(page, text::kGridReadCommon, 2706);
    QPushButton* solve = platform::IdButton(page, text::kGridSolve, 2707);
    QPushButton* save = platform::IdButton(page, text::kGridSaveFour, 2710);
    QPushButton* open = platform::IdButton(page, text::kGridReadFour, 2711);
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* b : {insert, remove, paste, read}) rowButtons->addWidget(b);
    rowButtons->addStretch(1);
    rowButtons->addWidget(solve);
    auto* fourButtons = new QHBoxLayout;
    fourButtons->addStretch(1);
    fourButtons->addWidget(open);
    fourButtons->addWidget(save);
    auto* results = new QHBoxLayout;
    results->addWidget(m_labelParams, 2);
    results->addWidget(m_residuals, 3);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Hint(page, text::kGridCommonHint));
    layout->addWidget(m_common, 3);
    layout->addLayout(rowButtons);
    layout->addLayout(results, 2);
    layout->addLayout(fourButtons);

    connect(insert, &QPushButton::clicked, this, [this] { platform::InsertTableRow(m_common); });
    connect(remove, &QPushButton::clicked, this, [this] { platform::DeleteTableRow(m_common); });
    connect(paste, &QPushButton::clicked, this, &CGridDlg::OnPaste);
    connect(read, &QPushButton::clicked, this, &CGridDlg::OnReadCommon);
    connect(solve, &QPushButton::clicked, this, &CGridDlg::OnSolve);
    connect(save, &QPushButton::clicked, this, &CGridDlg::OnSaveFour);
    connect(open, &QPushButton::clicked, this, &CGridDlg::OnReadFour);
    connect(m_common, &QTableWidget::itemChanged, this, &CGridDlg::DropSolved);
    connect(m_common->model(), &QAbstractItemModel::rowsRemoved, this, &CGridDlg::DropSolved);
    new platform::KeyHook(m_common, [this](QKeyEvent* e) {
        return e->type() == QEvent::KeyPress && e->matches(QKeySequence::Paste) && (OnPaste(), true);
    });
    return page;
}

QWidget* CGridDlg::TransformPage() {
    auto* page = new QWidget(this);
    m_useFour = platform::Named(new QRadioButton(QString::fromUtf8(text::kGridUseFour), page), 2712);
    m_inverse = platform::Named(new QCheckBox(QString::fromUtf8(text::kGridInverse), page), 2713);
    m_useGrids = platform::Named(new QRadioButton(QString::fromUtf8(text::kGridUseGrids), page), 2714);
    m_editFrom = platform::Named(new QLineEdit(page), 2715);
    m_editTo = platform::Named(new QLineEdit(page), 2716);
    m_degrees = platform::Named(new QCheckBox(QString::fromUtf8(text::kGridDecimalDegrees), page), 2717);
    m_useFour->setChecked(true);
    QPushButton* run = platform::IdButton(page, text::kGridTransformFile, 2718);
    auto* grid = new QGridLayout;
    grid->addWidget(m_useFour, 0, 0, 1, 2);
    grid->addWidget(m_inverse, 1, 1, 1, 3);
    grid->addWidget(m_useGrids, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8(text::kGridFrom), page), 3, 0, Qt::AlignRight);
    grid->addWidget(m_editFrom, 3, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(text::kGridTo), page), 3, 2, Qt::AlignRight);
    grid->addWidget(m_editTo, 3, 3);
    grid->addWidget(m_degrees, 4, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Hint(page, text::kGridTransformHint));
    layout->addLayout(grid);
    layout->addWidget(run, 0, Qt::AlignLeft);
    layout->addStretch(1);
    connect(run, &QPushButton::clicked, this, &CGridDlg::OnTransform);
    return page;
}

QWidget* CGridDlg::RoadPage() {
    auto* page = new QWidget(this);
    m_editRoadGrid = platform::Named(new QLineEdit(page), 2719);
    QPushButton* take = platform::IdButton(page, text::kRoadGridSet, 2720);
    auto* row = new QHBoxLayout;
    row->addWidget(m_editRoadGrid, 1);
    row->addWidget(take);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Hint(page, text::kRoadGridHint));
    layout->addLayout(row);
    layout->addStretch(1);
    connect(take, &QPushButton::clicked, this, &CGridDlg::OnTakeGrid);
    new platform::KeyHook(m_editRoadGrid, [this](QKeyEvent* e) { return platform::IsEnter(e) && (OnTakeGrid(), true); });
    return page;
}

// Rows from a spreadsheet, after the current row (else at the end).
void CGridDlg::OnPaste() {
    const PastedCells pasted =
        ParsePastedCells(QGuiApplication::clipboard()->text().toStdString(), text::kCommonCsvHeader);
    if (!pasted.Ok()) return ShowMessage(pasted.strMessage, true);
    platform::TableCells cells;
    for (const auto& [line, row] : platform::TableRows(m_common)) cells.push_back(row);
    const int count = static_cast<int>(cells.size()), current = m_common->currentRow();
    const int at = current >= 0 && current < count ? current + 1 : count;
    cells.insert(cells.begin() + at, pasted.rows.begin(), pasted.rows.end());
    platform::FillTable(m_common, cells);
    DropSolved();
    ShowMessage(std::string(), false);
}

void CGridDlg::OnReadCommon() {
    const platform::FileChoice choice = platform::PickFileToOpen(this, text::kGridCommonFilter);
    if (choice.strPath.empty()) return;
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok)
        return ShowMessage(Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()), true);
    const CommonPointsRead read = ReadCommonPointsCsv(bytes);
    if (!read.Ok()) return ShowMessage(choice.strName + "：" + read.strMessage, true);
    platform::TableCells cells;
    // 15 digits: every figure a file gives to the micrometre comes back as it was.
    for (const CommonPoint& p : read.points)
        cells.push_back({p.strName, Format("%.15g", p.source.X), Format("%.15g", p.source.Y),
                         Format("%.15g", p.target.X), Format("%.15g", p.target.Y)});
    platform::FillTable(m_common, cells);
    DropSolved();
    ShowMessage(std::string(), false);
}

// The table's points, solved as `vexaline-cli fourparam` solves them.
void CGridDlg::OnSolve() {
    std::vector<CsvRow> rows;
    for (auto& [line, cells] : platform::TableRows(m_common)) rows.push_back(CsvRow{line, std::move(cells)});
    const CommonPointsRead read = CommonPointsOf(rows);
    const FourSolve solved = read.Ok() ? SolveFourParam(read.points) : FourSolve{};
    if (!read.Ok() || !solved.Ok()) return DropSolved(), ShowMessage(read.Ok() ? solved.strMessage : read.strMessage, true);
    ShowParams(solved.params, text::kGridSolvedFrom,
               solved.rms ? Format(text::kFourRms, *solved.rms) : std::string(text::kFourNoRms));
    m_solved = true;
    platform::TableCells cells;
    for (const FourResidual& r : solved.residuals) {
        const bool outlier = std::find(solved.outliers.begin(), solved.outliers.end(), r.strName) != solved.outliers.end();
        cells.push_back({r.strName, Format("%.4f", r.vx), Format("%.4f", r.vy), Format("%.4f", std::hypot(r.vx, r.vy)),
                         outlier ? text::kGridOutlier : ""});
    }
    platform::FillTable(m_residuals, cells);
    std::string outliers;
    for (const std::string& name : solved.outliers) outliers += (outliers.empty() ? "" : "、") + name;
    ShowMessage(outliers.empty() ? std::string() : Format(text::kFourOutliers, outliers.c_str()), !outliers.empty());
}

void CGridDlg::OnSaveFour() {
    if (!m_params) return ShowMessage(text::kGridNoFour, true);
    const platform::FileChoice choice = platform::PickFileToSave(this, text::kGridFourFilter, text::kGridFourName, "vxf");
    if (choice.strPath.empty()) return;
    if (!WriteFileAtomically(choice.strPath, FourParamCsvText(*m_params)))
        return ShowMessage(Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()), true);
    ShowMessage(Format(text::kGridWritten, platform::PathForDisplay(choice.strPath).c_str()), false);
}

void CGridDlg::OnReadFour() {
    const platform::FileChoice choice = platform::PickFileToOpen(this, text::kGridFourFilter);
    if (choice.strPath.empty()) return;
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok)
        return ShowMessage(Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()), true);
    const FourParamRead read = ReadFourParamCsv(bytes);
    if (!read.Ok()) return ShowMessage(choice.strName + "：" + read.strMessage, true);
    ShowParams(read.params, choice.strName, std::string());
    m_solved = false;  // the file's, whatever the table holds
    m_residuals->setRowCount(0);
    ShowMessage(std::string(), false);
}

// A point file carried as `vexaline-cli transform` carries it, into a new
// file of the same kind: all of it, or nothing written.
void CGridDlg::OnTransform() {
    const bool grids = m_useGrids->isChecked();
    if (!grids && !m_params) return ShowMessage(text::kGridNoFour, true);
    const Carry carry = grids ? GridsCarry(m_editFrom->text().trimmed().toStdString(),
                                           m_editTo->text().trimmed().toStdString(), m_degrees->isChecked())
                              : Carry{};
    if (!carry.strMessage.empty()) return ShowMessage(carry.strMessage, true);
    const platform::FileChoice in = platform::PickFileToOpen(this, text::kMeasuredFilter);
    if (in.strPath.empty()) return;
    const QFileInfo source(U(platform::PathForDisplay(in.strPath)));
    const std::string extension = source.suffix().toLower().toStdString();
    const QString stem = source.completeBaseName() + "-" + QString::fromUtf8(text::kGridCaption);
    const std::string proposed = source.dir().filePath(stem + "." + source.suffix()).toStdString();
    const platform::FileChoice out = platform::PickFileToSave(this, text::kMeasuredFilter, proposed, extension.c_str());
    if (out.strPath.empty()) return;
    const PointFormat format = MeasuredFormatOf(in.strPath);
    if (MeasuredFormatOf(out.strPath) != format)
        return ShowMessage(Format(text::kTransformKinds, in.strName.c_str(), out.strName.c_str()), true);
    if (QFileInfo(QFile::decodeName(in.strPath.c_str())) == QFileInfo(QFile::decodeName(out.strPath.c_str())))
        return ShowMessage(Format(text::kSameFileTwice, in.strName.c_str(), out.strName.c_str()), true);
    std::string bytes;
    if (ReadWholeFile(in.strPath, bytes) != ReadStatus::Ok)
        return ShowMessage(Format(text::kCannotRead, platform::PathForDisplay(in.strPath).c_str()), true);
    const PointCoordinates read = ReadCoordinates(bytes, format, carry.in);
    if (!read.Ok()) return ShowMessage(in.strName + "：" + read.strMessage, true);
    std::vector<CPlanePoint> points = read.points;
    const std::optional<std::size_t> bad =
        grids ? carry.grids->Apply(points) : ApplyFour(*m_params, points, m_inverse->isChecked());
    if (bad)
        return ShowMessage(in.strName + "：" + Format(text::kImportBadLine, read.lines[*bad], text::kGridCannotTransform),
                           true);
    const PointRewrite written = RewriteCoordinates(bytes, read, points, carry.out);
    if (!written.strMessage.empty()) return ShowMessage(out.strName + "：" + written.strMessage, true);
    if (!WriteFileAtomically(out.strPath, written.bytes))
        return ShowMessage(Format(text::kCannotWrite, platform::PathForDisplay(out.strPath).c_str()), true);
    ShowMessage(Format(text::kGridTransformed, points.size(), platform::PathForDisplay(out.strPath).c_str()), false);
}

// The grid typed, checked and taken into the road (an empty field: none).
void CGridDlg::OnTakeGrid() {
    if (m_doc.Path().empty()) return ShowMessage(text::kNoFile, true);
    const std::string typed = m_editRoadGrid->text().trimmed().toStdString();
    if (typed.empty()) {
        if (!m_doc.GridText().empty()) m_doc.SetGrid(std::string());
        return ShowMessage(text::kRoadGridCleared, false);
    }
    const GridRead grid = ReadRoadGrid(typed);
    if (!grid.grid) return ShowMessage(grid.strMessage, true);
    if (grid.grid->strName != m_doc.GridText()) m_doc.SetGrid(grid.grid->strName);
    ShowMessage(Format(text::kRoadGridTaken, grid.grid->strName.c_str(), grid.grid->strTitle.c_str()), false);
}

void CGridDlg::ShowParams(const std::optional<FourParam>& params, const std::string& source, const std::string& rms) {
    m_params = params;
    if (!params) return m_labelParams->clear();
    const FourParam& p = *params;
    const std::string lines[] = {
        Format(text::kGridFourSource, source.c_str()), Format(text::kFourDx, p.dDx), Format(text::kFourDy, p.dDy),
        Format(text::kFourRotation, DmsDegreesText(p.dRotation * kSeconds / 3600, 5).c_str(), p.dRotation * kSeconds),
        Format(text::kFourScaleLine, Format("%.12f", p.dScale).c_str(), (p.dScale - 1) * 1e6), rms};
    QStringList shown;
    for (const std::string& line : lines)
        if (!line.empty()) shown << U(line);
    m_labelParams->setText(shown.join('\n'));
}

void CGridDlg::DropSolved() {
    if (!m_solved) return;
    m_solved = false;
    ShowParams(std::nullopt, std::string(), std::string());
    m_residuals->setRowCount(0);
}

void CGridDlg::FollowGrid() {
    if (m_doc.GridText() == m_roadGrid) return;
    m_roadGrid = m_doc.GridText();
    m_editRoadGrid->setText(U(m_roadGrid));
    if (m_editFrom->text().isEmpty()) m_editFrom->setText(U(m_roadGrid));
}

void CGridDlg::ShowMessage(const std::string& utf8, bool refused) {
    m_labelMessage->setText(U(utf8));
    m_labelMessage->setStyleSheet(refused ? QStringLiteral("color: #c00000") : QString());
}
