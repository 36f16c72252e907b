#include "ui/AlignmentDlg.h"

// "交点法": the road entered by intersection points.
void CAlignmentDlg::OnPiEntry() {}
