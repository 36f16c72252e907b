#include <QLabel>
#include <QPointer>

#include "core/road/ControlCheck.h"
#include "core/road/CheckText.h"
#include "core/text/Gbk.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/CheckReportDlg.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

// "检查": the control-data check. The report stays open beside the window;
// its flagged rows are marked in the control list until the data change,
// which also closes the report, since it then describes other rows.
void CAlignmentDlg::OnCheckControl() {
    const Busy busy(m_bBusy);
    if (!busy) return;
    const Alignment road = Road();
    if (road.Rows().size() < 2) {
        platform::Warn(this, text::kCheckTooFew);
        return;
    }
    if (!ChainFits(road)) return;  // equations off the road: nothing checks true
    const CheckTolerance tolerance;
    const CheckReport report = CheckControl(road, tolerance);
    m_listControl->SetMarked(report.flaggedRows);  // list line i is row i
    if (auto* old = findChild<CCheckReportDlg*>()) old->close();
    if (report.flaggedRows.empty()) {
        platform::Notify(this, GbkToUtf8(CheckSummaryText(report, tolerance)).c_str());
        return;
    }
    QPointer<CAlignmentDlg> self(this);
    auto* dlg = new CCheckReportDlg(report, road.Rows(), tolerance, [self](int row) {
        if (!self || row >= self->m_listControl->Model()->Count()) return;
        self->m_listControl->Select(row);
        self->OnSelchangeControlList();  // the row's fields, ready to mend
    }, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &CAlignmentDlg::ControlChanged, dlg, &QDialog::close);
    connect(this, &CAlignmentDlg::ControlChanged, m_listControl, [list = m_listControl] { list->SetMarked({}); },
            Qt::SingleShotConnection);
    dlg->show();
}

void CAlignmentDlg::ShowCheckLine() {
    const Alignment road = Road();
    const CheckReport report = CheckControl(road);
    const std::string& chain = road.ChainMessage();
    m_labelCheck->setText(QString::fromUtf8(chain.empty() ? GbkToUtf8(CheckStatusText(report)).c_str() : chain.c_str()));
    m_labelCheck->setStyleSheet(report.flaggedRows.empty() && chain.empty() ? QString() : QStringLiteral("color: #c00000"));
}
