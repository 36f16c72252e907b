#include "ui/tools/InspectDlg.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QColor>
#include <QDoubleSpinBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <iterator>

#include "core/files/FileType.h"
#include "core/files/InspectReport.h"
#include "core/files/PointImport.h"
#include "core/files/TextFile.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/plan/PlanCanvas.h"
#include "ui/plan/PlanView.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/Controls.h"

using namespace vexaline;

namespace {

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

using platform::Named;

QDoubleSpinBox* Millimetres(int id, double value) {
    auto* spin = Named(new QDoubleSpinBox, id);
    spin->setRange(0, 1000);
    spin->setDecimals(1);
    spin->setValue(value);
    spin->setKeyboardTracking(false);  // computed once the value is typed, not at each key
    return spin;
}

// Why the road cannot be inspected against, or nothing.
std::string RoadRefusal(const Alignment& road) {
    if (road.BadStationRow()) return road.StationRefusal();
    if (!road.Usable()) return text::kNoControl;
    return {};
}

}  // namespace

// The table: the points out of tolerance first, each group in file order,
// drawn from the inspection's values when shown.
class InspectModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Set(const Inspection& inspection) {
        beginResetModel();
        inspection_ = &inspection;
        order_.clear();
        for (bool in : {false, true})
            for (std::size_t i = 0; i < inspection.rows.size(); ++i)
                if (inspection.rows[i].bIn == in) order_.push_back(static_cast<int>(i));
        endResetModel();
    }
    int Point(int row) const { return row >= 0 && row < static_cast<int>(order_.size()) ? order_[row] : -1; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(order_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(std::size(text::kInspectTitles));
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const InspectRow& row = inspection_->rows[order_[index.row()]];
        switch (role) {
        case Qt::DisplayRole: return U(GbkToUtf8(InspectFields(row)[index.column()]));
        case Qt::ForegroundRole: return row.bIn ? QVariant() : QColor::fromRgb(plan::MarkColours::kOut);
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return QString::fromUtf8(text::kInspectTitles[section]);
    }

private:
    const Inspection* inspection_ = nullptr;
    std::vector<int> order_;  // the inspection's row of each table row
};

CInspectDlg::CInspectDlg(const RoadDocument& document, QWidget* owner) : QDialog(owner), m_doc(document) {
    setObjectName("2500");
    setWindowTitle(QString::fromUtf8(text::kInspectCaption));
    setModal(false);
    QPushButton* load = platform::IdButton(nullptr, text::kInspectLoad, 2501);
    m_labelFile = Named(new QLabel(QString::fromUtf8(text::kInspectNoFile)), 2502);
    m_checkPlan = Named(new QCheckBox(QString::fromUtf8(text::kInspectPlanTolerance)), 2503);
    m_spinPlan = Millimetres(2504, 20);
    m_checkHeight = Named(new QCheckBox(QString::fromUtf8(text::kInspectHeightTolerance)), 2505);
    m_spinHeight = Millimetres(2506, 10);
    for (QCheckBox* check : {m_checkPlan, m_checkHeight}) check->setChecked(true);
    QPushButton* save = platform::IdButton(nullptr, text::kInspectSave, 2507);
    QPushButton* plan = platform::IdButton(nullptr, text::kInspectPlan, 2508);
    m_model = new InspectModel(this);
    m_model->Set(m_shown);
    m_table = Named(new QTableView, 2509);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->resizeColumnsToContents();
    m_labelSummary = Named(new QLabel, 2510);
    m_labelSummary->setWordWrap(true);
    m_labelSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(load);
    fileRow->addWidget(m_labelFile, 1);
    auto* tolerances = new QHBoxLayout;
    tolerances->addWidget(m_checkPlan);
    tolerances->addWidget(m_spinPlan);
    tolerances->addSpacing(16);
    tolerances->addWidget(m_checkHeight);
    tolerances->addWidget(m_spinHeight);
    tolerances->addStretch();
    tolerances->addWidget(plan);
    tolerances->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(tolerances);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_labelSummary);
    resize(1000, 460);

    connect(load, &QPushButton::clicked, this, &CInspectDlg::OnLoad);
    connect(save, &QPushButton::clicked, this, &CInspectDlg::OnSave);
    connect(plan, &QPushButton::clicked, this, &CInspectDlg::PlanViewWanted);
    for (auto [check, spin] : {std::pair{m_checkPlan, m_spinPlan}, std::pair{m_checkHeight, m_spinHeight}}) {
        connect(check, &QCheckBox::toggled, spin, &QWidget::setEnabled);
        connect(check, &QCheckBox::toggled, this, &CInspectDlg::Recompute);
        connect(spin, &QDoubleSpinBox::valueChanged, this, &CInspectDlg::Recompute);
    }
    connect(&document, &RoadDocument::RowsChanged, this, &CInspectDlg::Recompute);
    connect(&document, &RoadDocument::TablesChanged, this, &CInspectDlg::Recompute);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { OnRowChanged(current.isValid() ? current.row() : -1); });
}

int CInspectDlg::PointOfRow(int tableRow) const { return m_model->Point(tableRow); }

Tolerances CInspectDlg::ReadTolerances() const {
    Tolerances tolerances;
    tolerances.plan.reset(), tolerances.height.reset();
    if (m_checkPlan->isChecked()) tolerances.plan = m_spinPlan->value() / 1000;
    if (m_checkHeight->isChecked()) tolerances.height = m_spinHeight->value() / 1000;
    return tolerances;
}

// The road is checked first: a file loaded against no road would only be refused later.
void CInspectDlg::OnLoad() {
    const std::string refusal = RoadRefusal(m_doc.Road());
    if (!refusal.empty()) return platform::Warn(this, refusal.c_str());
    const platform::FileChoice choice = platform::PickFileToOpen(this, text::kMeasuredFilter);
    if (choice.strPath.empty()) return;
    std::string bytes;
    if (ReadWholeFile(choice.strPath, bytes) != ReadStatus::Ok)
        return platform::Warn(this, Format(text::kCannotRead, platform::PathForDisplay(choice.strPath).c_str()).c_str());
    MeasuredImport read = ImportMeasuredPoints(bytes, MeasuredFormatOf(choice.strName));
    if (!read.Ok())
        return platform::Warn(this, Format(text::kInspectRefused, choice.strName.c_str(), read.strMessage.c_str()).c_str());
    m_points = std::move(read.points);
    m_strName = choice.strName;
    m_labelFile->setText(U(Format(text::kInspectFileLine, m_strName.c_str())));
    m_selected = -1;
    Recompute();
}

// What the table shows is always the road the window holds now: with no
// usable road the table is emptied and the summary says why.
void CInspectDlg::Recompute() {
    if (m_strName.empty() || !isVisible()) return;  // shown again, it computes then
    const int selected = m_selected;
    const Alignment road = m_doc.Road();
    const std::string refusal = RoadRefusal(road);
    if (refusal.empty()) {
        const std::optional<RoadDocument::Heights> heights = m_doc.RoadHeights();
        DesignHeights design;
        if (heights) design.profile = &heights->profile, design.slopes = &heights->slopes;
        m_shownTolerances = ReadTolerances();
        m_shown = Inspect(road, m_points, design, m_shownTolerances);
    } else {
        m_shown = Inspection();
    }
    m_marks.clear();
    for (const InspectRow& row : m_shown.rows)
        m_marks.push_back({CPlanePoint(row.point.dX, row.point.dY), row.bIn, U(GbkToUtf8(row.point.strName))});
    m_selected = -1;
    m_model->Set(m_shown);
    m_table->resizeColumnsToContents();
    if (!refusal.empty()) {
        ShowSummary(U(refusal), true);
    } else {
        QString summary = U(GbkToUtf8(InspectSummaryText(m_shown.summary)));
        if (m_shown.bZeroHeightsIgnored) summary += '\n' + QString::fromUtf8(text::kInspectZeroHeights);
        ShowSummary(summary, false);
    }
    for (int row = 0; selected >= 0 && row < m_model->rowCount(); ++row)
        if (m_model->Point(row) == selected) m_table->selectRow(row);
    RepaintPlan(false);
}

void CInspectDlg::ShowSummary(const QString& text, bool refused) {
    m_labelSummary->setText(text);
    m_labelSummary->setStyleSheet(refused ? QStringLiteral("color: #c00000") : QString());
}

// The inspection as the command line writes it: the points in file order.
void CInspectDlg::OnSave() {
    if (m_shown.rows.empty()) return platform::Warn(this, text::kInspectNothing);
    const std::string extension = ExtensionOf(m_strName);
    const std::string stem = m_strName.substr(0, m_strName.size() - (extension.empty() ? 0 : extension.size() + 1));
    platform::FileChoice choice =
        platform::PickFileToSave(this, text::kInspectReportFilter, Format(text::kInspectReportName, stem.c_str()), "txt");
    if (choice.strPath.empty()) return;
    const int type = platform::ChosenType(this, choice, text::kInspectReportFilter, {"txt", "csv"}, "txt");
    if (type == 0) return;
    const std::string bytes =
        type == 2 ? InspectCsv(m_shown, m_shownTolerances) : InspectText(m_shown, m_shownTolerances);
    if (!WriteFileAtomically(choice.strPath, bytes))
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}

void CInspectDlg::OnRowChanged(int tableRow) {
    m_selected = PointOfRow(tableRow);
    RepaintPlan(true);
}

void CInspectDlg::RepaintPlan(bool centre) {
    auto* view = parentWidget()->findChild<CPlanView*>("2100");
    if (!view || !view->isVisible()) return;
    CPlanCanvas* canvas = view->Canvas();
    const ViewTransform& now = canvas->View();
    if (centre && m_selected >= 0 && !plan::InView(now, m_marks[m_selected].at, 20))
        canvas->SetView(ViewTransform(now.Width(), now.Height(), m_marks[m_selected].at, now.Scale()));
    canvas->update();
}

void CInspectDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Recompute();
}

void CInspectDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    RepaintPlan(false);  // the points go with the dialog
}
