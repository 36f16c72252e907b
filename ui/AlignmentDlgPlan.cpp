#include "ui/AlignmentDlg.h"

// "平面图" and "打印": the plan view and the setting-out sheet.
void CAlignmentDlg::OnPlanView() {}

void CAlignmentDlg::OnPrintSheet() {}
