#include "ui/AlignmentDlg.h"

// "检查": the control-data check.
void CAlignmentDlg::OnCheckControl() {}
