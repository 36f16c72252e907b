#include "ui/section/SectionDlg.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/files/FileType.h"
#include "core/files/SectionCsv.h"
#include "core/files/SectionExport.h"
#include "core/files/TextFile.h"
#include "core/road/ResultText.h"
#include "core/road/StakeRun.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/document/RoadDocument.h"
#include "ui/section/SectionView.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/KeyHook.h"
#include "ui/toolkit/MessageBox.h"
#include "ui/toolkit/TableEdit.h"

using namespace vexaline;

namespace {

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

QPushButton* Button(QWidget* owner, const char* label, int id) {
    auto* b = new QPushButton(QString::fromUtf8(label), owner);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* Field(QWidget* owner, int id) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::number(id));
    return e;
}

std::vector<TemplateRow> TemplateOf(const QTableWidget* t) {
    std::vector<TemplateRow> rows;
    for (const auto& [line, c] : platform::TableRows(t)) rows.push_back(TemplateRow{line, c[0], c[1], c[2], c[3], c[4], c[5], c[6]});
    return rows;
}

std::vector<WideningRow> WideningOf(const QTableWidget* t) {
    std::vector<WideningRow> rows;
    for (const auto& [line, c] : platform::TableRows(t)) rows.push_back(WideningRow{line, c[0], c[1], c[2]});
    return rows;
}

}  // namespace

CSectionDlg::CSectionDlg(RoadDocument& document, QWidget* owner) : QDialog(owner), m_doc(document) {
    setObjectName("2600");
    setWindowTitle(QString::fromUtf8(text::kSectionCaption));
    setModal(false);
    m_template = platform::CsvTable(this, text::kTemplateCsvHeader, 2601);
    m_widening = platform::CsvTable(this, text::kWideningCsvHeader, 2602);
    m_stations = new QListWidget(this);
    m_stations->setObjectName("2604");
    m_view = new CSectionView(this);
    m_view->setObjectName("2605");
    m_labelMessage = new QLabel(this);
    m_labelMessage->setObjectName("2612");
    m_labelMessage->setWordWrap(true);
    m_editFrom = Field(this, 2608);
    m_editTo = Field(this, 2609);
    m_editInterval = Field(this, 2610);
    m_editInterval->setText(QStringLiteral("20"));
    QPushButton* list = Button(this, text::kSectionList, 2611);
    QPushButton* exportButton = Button(this, text::kSectionExport, 2607);

    // A table in its group with its two row buttons.
    auto group = [this](const char* title, QTableWidget* table, int firstId) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(table, 1);
        auto* row = new QHBoxLayout;
        QPushButton* insert = Button(this, text::kProfileInsertRow, firstId);
        QPushButton* remove = Button(this, text::kProfileDeleteRow, firstId + 1);
        row->addWidget(insert);
        row->addWidget(remove);
        row->addStretch(1);
        layout->addLayout(row);
        connect(insert, &QPushButton::clicked, this, [table] { platform::InsertTableRow(table); });
        connect(remove, &QPushButton::clicked, this, [table] { platform::DeleteTableRow(table); });
        connect(table, &QTableWidget::itemChanged, this, &CSectionDlg::TakeTables);
        connect(table->model(), &QAbstractItemModel::rowsRemoved, this, &CSectionDlg::TakeTables);
        return box;
    };
    auto* tables = new QHBoxLayout;
    tables->addWidget(group(text::kSectionTemplateGroup, m_template, 2613), 3);
    tables->addWidget(group(text::kSectionWideningGroup, m_widening, 2615), 2);

    auto* range = new QHBoxLayout;
    const std::pair<const char*, QLineEdit*> fields[] = {
        {text::kSectionFrom, m_editFrom}, {text::kSectionTo, m_editTo}, {text::kSectionInterval, m_editInterval}};
    for (const auto& [label, field] : fields) {
        range->addWidget(new QLabel(QString::fromUtf8(label), this));
        range->addWidget(field);
        new platform::KeyHook(field, [this](QKeyEvent* e) { return platform::IsEnter(e) && (OnList(), true); });
    }
    range->addWidget(list);
    range->addStretch(1);
    range->addWidget(exportButton);
    auto* lower = new QHBoxLayout;
    lower->addWidget(m_stations, 1);
    lower->addWidget(m_view, 4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tables, 2);
    layout->addWidget(m_labelMessage);
    layout->addLayout(range);
    layout->addLayout(lower, 3);
    resize(1000, 760);

    connect(list, &QPushButton::clicked, this, &CSectionDlg::OnList);
    connect(exportButton, &QPushButton::clicked, this, &CSectionDlg::OnExport);
    connect(m_stations, &QListWidget::currentRowChanged, this, &CSectionDlg::ShowSelected);
    connect(&document, &RoadDocument::RowsChanged, this, &CSectionDlg::Follow);
    connect(&document, &RoadDocument::TablesChanged, this, &CSectionDlg::Follow);
    Follow();
}

void CSectionDlg::LoadTables() {
    const QSignalBlocker quietTemplate(m_template), quietWidening(m_widening);
    const QSignalBlocker quietTemplateRows(m_template->model()), quietWideningRows(m_widening->model());
    platform::TableCells cells;
    for (const TemplateRow& r : m_doc.TemplateRows())
        cells.push_back({r.strSide, r.strName, r.strWidth, r.strSlope, r.strRatio, r.strBermHeight, r.strBermWidth});
    platform::FillTable(m_template, cells);
    cells.clear();
    for (const WideningRow& r : m_doc.WideningRows()) cells.push_back({r.strStation, r.strLeft, r.strRight});
    platform::FillTable(m_widening, cells);
}

// An edit goes into the road when both tables hold; refused, the road keeps
// its tables and the refusal stands under them until the tables are mended.
void CSectionDlg::TakeTables() {
    std::vector<TemplateRow> tmpl = TemplateOf(m_template);
    std::vector<WideningRow> widening = WideningOf(m_widening);
    const std::string refusal = m_doc.SectionRefusal(tmpl, widening);
    if (!refusal.empty()) return ShowMessage(U(refusal), true);
    if (TemplateCsvText(tmpl) == TemplateCsvText(m_doc.TemplateRows()) &&
        WideningCsvText(widening) == WideningCsvText(m_doc.WideningRows()))
        return OnList();
    m_taking = true;
    m_doc.SetSection(std::move(tmpl), std::move(widening));
    m_taking = false;
    OnList();
}

void CSectionDlg::Follow() {
    if (!m_taking) LoadTables();
    const Alignment road = m_doc.Road();
    // A range left empty, or another road's, starts as the whole road.
    if (m_editFrom->text().isEmpty() || m_editTo->text().isEmpty() || m_path != m_doc.Path()) {
        m_path = m_doc.Path();
        std::optional<double> first, last;
        for (const ChangePoint& row : road.Rows())
            if (row.station) first = std::min(first.value_or(*row.station), *row.station),
                             last = std::max(last.value_or(*row.station), *row.station);
        m_editFrom->setText(first ? U(KStationOf(road.Chain(), *first)) : QString());
        m_editTo->setText(last ? U(KStationOf(road.Chain(), *last)) : QString());
    }
    if (!m_taking) OnList();
}

void CSectionDlg::OnList() {
    m_sections.clear();
    m_stations->clear();
    m_view->SetSection(std::nullopt, QString());
    const Alignment road = m_doc.Road();
    const RoadDocument::Design design = m_doc.TemplateDesign();
    if (!design.design) return ShowMessage(U(design.strRefusal), !m_doc.TemplateRows().empty());
    StakeRequest request;
    const TypedStation from = DistanceOfTyped(road.Chain(), m_editFrom->text().trimmed().toStdString());
    const TypedStation to = DistanceOfTyped(road.Chain(), m_editTo->text().trimmed().toStdString());
    const std::optional<double> interval = ParseNumber(m_editInterval->text().trimmed().toStdString());
    if (!from.Ok() || !to.Ok()) return ShowMessage(U(!from.Ok() ? from.strMessage : to.strMessage), true);
    if (!interval) return ShowMessage(U(text::kSectionNoStations), true);
    request.dStartStation = from.dDistance, request.dEndStation = to.dDistance, request.dInterval = *interval;
    if (const std::optional<ChainStation> typed = ParseChainStation(m_editFrom->text().trimmed().toStdString()))
        request.dStartChainStation = typed->dValue;
    const StakeCheck check = CheckStakeRun(road, request);
    if (check != StakeCheck::Ok) return ShowMessage(U(CheckMessage(check, road)), true);
    ResultSet centre;
    RunStakes(road, request, centre, 0, nullptr);
    for (const StakeResult& row : centre.rows) {
        m_sections.push_back(SectionAt(road, *design.design, row.dStation));
        m_stations->addItem(U(KStationOf(road.Chain(), row.dStation)));
    }
    ShowMessage(QString(), false);
    if (!m_sections.empty()) m_stations->setCurrentRow(0);
}

void CSectionDlg::ShowSelected() {
    const int row = m_stations->currentRow();
    if (row < 0 || row >= static_cast<int>(m_sections.size())) return m_view->SetSection(std::nullopt, QString());
    const CrossSection& c = m_sections[static_cast<std::size_t>(row)];
    m_view->SetSection(c, m_stations->item(row)->text());
    if (c.IsMessage()) ShowMessage(U(GbkToUtf8(c.strMessage)), true);
}

void CSectionDlg::ShowMessage(const QString& text, bool refused) {
    m_labelMessage->setText(text);
    m_labelMessage->setStyleSheet(refused ? QStringLiteral("color: #c00000") : QString());
}

// The listed stations' points, as `vexaline-cli section` writes them.
void CSectionDlg::OnExport() {
    if (m_sections.empty()) return platform::Warn(this, text::kSectionNoStations);
    platform::FileChoice choice =
        platform::PickFileToSave(this, text::kSectionExportFilter, text::kSectionExportName, "txt");
    if (choice.strPath.empty()) return;
    const int type = platform::ChosenType(this, choice, text::kSectionExportFilter, {"txt", "csv", "dat", "dxf"}, "txt");
    if (type == 0) return;
    const Chainage chain = m_doc.Chain();
    std::optional<std::string> bytes;
    if (type == 1) {
        const std::string road = GbkToUtf8(m_doc.Name());
        const std::string title = Format(text::kSectionTitle, road.c_str(), WithExtension(road, "vxt").c_str());
        bytes = Utf8ToGbkLossy(title) + "\r\n" + SectionListText(m_sections, chain, m_doc.RoadHeights().has_value());
    } else if (type == 2) {
        bytes = SectionCsv(m_sections, chain);
    } else if (type == 3) {
        bytes = SectionCassDat(m_sections, chain);
    } else {
        bytes = SectionDxf(m_sections, chain);
    }
    if (!bytes || !WriteFileAtomically(choice.strPath, *bytes))
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}
