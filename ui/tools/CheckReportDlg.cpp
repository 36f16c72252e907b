#include "ui/tools/CheckReportDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/files/TextFile.h"
#include "core/road/CheckText.h"
#include "core/text/Gbk.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

namespace {

QString Q(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

}  // namespace

CCheckReportDlg::CCheckReportDlg(const CheckReport& report, const std::vector<ChangePoint>& rows,
                                 const CheckTolerance& tolerance, std::function<void(int)> onSelectRow,
                                 QWidget* parent)
    : QDialog(parent), m_lines(CheckReportLines(report, rows, tolerance)), m_onSelectRow(std::move(onSelectRow)) {
    setObjectName("2300");
    setWindowTitle(QString::fromUtf8(text::kCheckTitle));
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(Q(CheckSummaryText(report, tolerance)), this);
    summary->setWordWrap(true);
    layout->addWidget(summary);

    m_table = new QTableWidget(0, 8, this);
    m_table->setObjectName("2301");
    QStringList titles;
    for (const char* t : text::kCheckColumns) titles << QString::fromUtf8(t);
    m_table->setHorizontalHeaderLabels(titles);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QColor markBack(255, 222, 218), markText(150, 0, 0);  // as the control list marks them
    for (std::size_t i : CheckDisplayOrder(report)) {
        const ElementCheck& e = report.elements[i];
        const std::vector<std::string> cells = CheckCells(e, rows);
        const int line = m_table->rowCount();
        m_table->insertRow(line);
        m_rowOfLine.push_back(e.nRow);
        for (int c = 0; c < 8; ++c) {
            QString shown = Q(cells[static_cast<std::size_t>(c)]);
            if (c == 0 && e.bFlagged) shown = QString::fromUtf8(text::kCheckFlagMark) + shown;
            auto* item = new QTableWidgetItem(shown);
            if (c >= 4 && c <= 6) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (e.bFlagged) {
                item->setBackground(markBack);
                item->setForeground(markText);
            }
            m_table->setItem(line, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> items = m_table->selectedItems();
        if (!items.isEmpty() && m_onSelectRow) m_onSelectRow(m_rowOfLine[static_cast<std::size_t>(items.front()->row())]);
    });

    const std::string suggestion = CheckSuggestionText(report);
    if (!suggestion.empty()) {
        auto* label = new QLabel(Q(suggestion), this);
        label->setObjectName("2303");
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QString::fromUtf8(text::kCheckSave), QDialogButtonBox::ActionRole);
    save->setObjectName("2302");
    QPushButton* close = buttons->addButton(QString::fromUtf8(text::kCheckClose), QDialogButtonBox::RejectRole);
    close->setObjectName("2304");
    connect(save, &QPushButton::clicked, this, &CCheckReportDlg::OnSaveReport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(980, 420);
}

void CCheckReportDlg::OnSaveReport() {
    const platform::FileChoice choice =
        platform::PickFileToSave(this, text::kCheckReportFilter, text::kCheckReportName, "txt");
    if (choice.strPath.empty()) return;
    std::string bytes;
    for (const std::string& line : m_lines) bytes.append(line).append("\r\n");
    if (!WriteFileAtomically(choice.strPath, bytes))
        platform::Warn(this, Format(text::kCannotWrite, platform::PathForDisplay(choice.strPath).c_str()).c_str());
}
