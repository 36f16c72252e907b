#include "core/text/ControlLine.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/PiDlg.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

// "交点法": the road entered by intersection points. The rows it makes are a
// new road: after the question 打开/创建 asks about unsaved rows, the file it
// will be saved to is chosen (proposed from the table's name; nothing is
// written until 保存), and its rows take the place of the list's as unsaved
// data. Cancel leaves the window as it was and the dialog open. The table
// stays as it was left for the next time the dialog opens. On a road with
// station equations the new road is built on them and takes them along.
void CAlignmentDlg::OnPiEntry() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    CPiDlg dlg(
        [this, &dlg](const std::vector<ControlRow>& rows) {
            if (!m_bControlSaved && platform::AskYesNo(&dlg, text::kAskSaveControl) && !SaveControl()) return false;
            const platform::FileChoice choice =
                platform::PickFileToSave(&dlg, text::kAlignmentFilter, dlg.ProposedRoadName(), "vxa");
            if (choice.strPath.empty()) return false;
            PutNewRoad(choice.strPath, choice.strName, rows, m_equationRows);
            return true;
        },
        RoadChain(), this);
    if (m_piState) dlg.Restore(*m_piState);
    dlg.exec();
    m_piState = dlg.Kept();  // typed or opened, shown again next time
}
