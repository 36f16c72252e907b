#include <QPushButton>

#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/InspectDlg.h"

// "检核": measured points against the road the window holds, in a dialog
// that stays open beside it and follows its changes.

QPushButton* CAlignmentDlg::InspectButton() {
    auto* button = new QPushButton(QString::fromUtf8(vexaline::text::kInspectButton));
    button->setObjectName("2007");
    connect(button, &QPushButton::clicked, this, &CAlignmentDlg::OnInspect);
    return button;
}

void CAlignmentDlg::OnInspect() {
    auto* dlg = findChild<CInspectDlg*>("2500");
    if (!dlg) dlg = new CInspectDlg(this);
    dlg->show();
    dlg->raise();
    dlg->activateWindow();
}
