#include "ui/tools/ChainDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/text/Texts.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

namespace {

QPushButton* Button(QWidget* owner, const char* label, int id) {
    auto* b = new QPushButton(QString::fromUtf8(label), owner);
    b->setObjectName(QString::number(id));
    b->setAutoDefault(false);
    return b;
}

QString Cell(const QTableWidget* t, int row, int column) {
    const QTableWidgetItem* item = t->item(row, column);
    return item ? item->text().trimmed() : QString();
}

}  // namespace

CChainDlg::CChainDlg(const std::vector<EquationRow>& rows, Fits fits, QWidget* parent)
    : QDialog(parent), m_fits(std::move(fits)) {
    setObjectName("2600");
    setWindowTitle(QString::fromUtf8(text::kChainTableName));
    m_table = new QTableWidget(static_cast<int>(rows.size()), 2, this);
    m_table->setObjectName("2601");
    m_table->setHorizontalHeaderLabels({QString::fromUtf8(text::kChainColumns[0]), QString::fromUtf8(text::kChainColumns[1])});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const EquationRow& row = rows[static_cast<std::size_t>(r)];
        m_table->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(row.strBack)));
        m_table->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(row.strAhead)));
    }

    QPushButton* insert = Button(this, text::kProfileInsertRow, 2602);
    QPushButton* remove = Button(this, text::kProfileDeleteRow, 2603);
    QPushButton* ok = Button(this, text::kButtonOk, 2604);
    QPushButton* cancel = Button(this, text::kButtonCancel, 2605);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {insert, remove}) buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {ok, cancel}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    // A blank row after the selected one, else at the end; the selected row removed.
    connect(insert, &QPushButton::clicked, this, [this] {
        const int at = m_table->currentRow() >= 0 ? m_table->currentRow() + 1 : m_table->rowCount();
        m_table->insertRow(at);
        for (int c = 0; c < 2; ++c) m_table->setItem(at, c, new QTableWidgetItem());
        m_table->setCurrentCell(at, 0);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_table->currentRow() >= 0) m_table->removeRow(m_table->currentRow());
    });
    connect(ok, &QPushButton::clicked, this, &CChainDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 360);
}

std::vector<EquationRow> CChainDlg::Rows() const {
    std::vector<EquationRow> rows;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const QString back = Cell(m_table, r, 0), ahead = Cell(m_table, r, 1);
        if (!back.isEmpty() || !ahead.isEmpty()) rows.push_back(EquationRow{r + 1, back.toStdString(), ahead.toStdString()});
    }
    return rows;
}

void CChainDlg::OnOk() {
    const ChainageBuild built = BuildChainage(Rows());
    const std::string refusal = built.Ok() ? m_fits(built.chain) : built.strMessage;
    if (refusal.empty()) return accept();
    platform::Warn(this, refusal.c_str());
}
