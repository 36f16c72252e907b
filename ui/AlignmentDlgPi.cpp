#include "core/text/ControlLine.h"
#include "core/text/TextFields.h"
#include "core/text/Texts.h"
#include "ui/AlignmentDlg.h"
#include "ui/PiDlg.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/GbkList.h"
#include "ui/toolkit/MessageBox.h"

using namespace vexaline;

// "交点法": the road entered by intersection points. The rows it makes take
// the place of the list's as unsaved data, after the question 打开/创建 asks
// about unsaved rows; with no file open, the file they will be saved to is
// chosen first (nothing is written until 保存).
void CAlignmentDlg::OnPiEntry() {
    const Busy busy(m_bBusy);
    if (!busy || !UpdateData(true)) return;
    CPiDlg dlg(
        [this, &dlg](const std::vector<ControlRow>& rows) {
            if (!m_bControlSaved && platform::AskYesNo(&dlg, text::kAskSaveControl) && !SaveControl()) return false;
            if (m_strFilePath.empty()) {
                const platform::FileChoice choice = platform::PickFileToSave(&dlg, text::kAlignmentFilter, "", "vxa");
                if (choice.strPath.empty()) return false;
                m_strFilePath = choice.strPath;
                m_strFileName = platform::NameForDisplay(choice.strName);
            }
            PutUnsavedRows(rows);
            return true;
        },
        this);
    dlg.exec();
}
