#include "ui/section/SectionDlg.h"

#include <QComboBox>
#include <QHeaderView>
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
#include "ui/toolkit/Controls.h"

using namespace vexaline;

namespace {

QString U(const std::string& utf8) { return QString::fromStdString(utf8); }

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
    QPushButton* list = platform::IdButton(this, text::kSectionList, 2611);
    QPushButton* exportButton = platform::IdButton(this, text::kSectionExport, 2607);
    QPushButton* loadGround = platform::IdButton(this, text::kSectionLoadGround, 2603);
    QPushButton* print = platform::IdButton(this, text::kSectionPrint, 2617);
    QPushButton* saveSheet = platform::IdButton(this, text::kSectionSaveSheet, 2618);
    m_paper = new QComboBox(this);
    m_paper->setObjectName("2619");
    m_paper->addItems({QStringLiteral("A3"), QStringLiteral("A4")});
    m_labelGround = new QLabel(QString::fromUtf8(text::kSectionGroundNone), this);
    m_labelGround->setObjectName("2620");
    m_earthwork = new QTableWidget(0, 6, this);
    m_earthwork->setObjectName("2606");
    m_earthwork->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_earthwork->verticalHeader()->hide();
    QStringList columns;
    for (const char* c : text::kEarthworkColumns) columns << QString::fromUtf8(c);
    m_earthwork->setHorizontalHeaderLabels(columns);

    // A table in its group with its two row buttons.
    auto group = [this](const char* title, QTableWidget* table, int firstId) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(table, 1);
        auto* row = new QHBoxLayout;
        QPushButton* insert = platform::IdButton(this, text::kProfileInsertRow, firstId);
        QPushButton* remove = platform::IdButton(this, text::kProfileDeleteRow, firstId + 1);
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
    range->addWidget(print);
    range->addWidget(m_paper);
    range->addWidget(saveSheet);
    auto* ground = new QHBoxLayout;
    ground->addWidget(loadGround);
    ground->addWidget(m_labelGround, 1);
    auto* earthwork = new QGroupBox(QString::fromUtf8(text::kSectionEarthworkGroup), this);
    (new QVBoxLayout(earthwork))->addWidget(m_earthwork);
    auto* lower = new QHBoxLayout;
    lower->addWidget(m_stations, 1);
    lower->addWidget(m_view, 4);
    lower->addWidget(earthwork, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tables, 2);
    layout->addWidget(m_labelMessage);
    layout->addLayout(range);
    layout->addLayout(ground);
    layout->addLayout(lower, 3);
    resize(1280, 800);

    connect(list, &QPushButton::clicked, this, &CSectionDlg::OnList);
    connect(exportButton, &QPushButton::clicked, this, &CSectionDlg::OnExport);
    connect(loadGround, &QPushButton::clicked, this, &CSectionDlg::OnLoadGround);
    connect(print, &QPushButton::clicked, this, &CSectionDlg::OnPrint);
    connect(saveSheet, &QPushButton::clicked, this, &CSectionDlg::OnSaveSheet);
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
    // Another road's ground is not this road's: its sections are named by that road's stations.
    if (m_path != m_doc.Path() && (m_groundBytes || m_model)) {
        m_groundBytes.reset(), m_groundFile.reset(), m_model.reset();
        m_labelGround->setText(QString::fromUtf8(text::kSectionGroundNone));
    }
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
    m_run = SectionRun{};
    m_cut.clear();
    m_stations->clear();
    m_earthwork->setRowCount(0);
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
    std::vector<double> stations;
    for (const StakeResult& row : centre.rows) stations.push_back(row.dStation);
    std::string groundRefusal;
    m_run = RunSections(road, *design.design, stations, GroundOfStations(road, stations, groundRefusal));
    for (std::size_t i = 0; i < stations.size(); ++i) {
        auto* item = new QListWidgetItem(U(KStationOf(road.Chain(), stations[i])), m_stations);
        const bool whole = !m_run.sections[i].IsMessage() && (m_run.earth.empty() || m_run.earth[i].messages.empty());
        if (!whole) item->setForeground(QColor(0xc0, 0, 0));
    }
    FillEarthwork();
    ShowMessage(U(groundRefusal), !groundRefusal.empty());
    if (!m_run.sections.empty()) m_stations->setCurrentRow(0);
}


void CSectionDlg::ShowSelected() {
    const int row = m_stations->currentRow();
    if (row < 0 || row >= static_cast<int>(m_run.sections.size())) return m_view->SetSection(std::nullopt, QString());
    const std::size_t i = static_cast<std::size_t>(row);
    const CrossSection& c = m_run.sections[i];
    std::optional<EarthSection> earth;
    std::optional<GroundSection> ground;
    if (!m_run.earth.empty()) {
        earth = m_run.earth[i];
        if (const GroundSection* g = GroundsOfSections()[i]) ground = *g;
    }
    m_view->SetSection(c, m_stations->item(row)->text(), earth, ground);
    std::string why = c.IsMessage() ? c.strMessage : std::string();
    if (earth)
        for (const std::string& m : earth->messages) why += (why.empty() ? "" : "\n") + m;
    ShowMessage(U(GbkToUtf8(why)), !why.empty());
}

void CSectionDlg::ShowMessage(const QString& text, bool refused) {
    m_labelMessage->setText(text);
    m_labelMessage->setStyleSheet(refused ? QStringLiteral("color: #c00000") : QString());
}

// The listed stations' points, as `vexaline-cli section` writes them.
void CSectionDlg::OnExport() {
    if (m_run.sections.empty()) return platform::Warn(this, text::kSectionNoStations);
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
        bytes = Utf8ToGbkLossy(title) + "\r\n" + SectionListText(m_run.sections, chain, m_doc.RoadHeights().has_value(), m_run.earth);
        if (!m_run.earth.empty()) *bytes += "\r\n" + EarthworkText(m_run.work, chain);
    } else if (type == 2) {
        bytes = SectionCsv(m_run.sections, chain, m_run.earth);
    } else if (type == 3) {
        bytes = SectionCassDat(m_run.sections, chain, m_run.earth);
    } else {
        bytes = SectionDxf(m_run.sections, chain, m_run.earth);
    }
    if (!bytes || !WriteFileAtomically(choice.strPath, *bytes))
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}

