#pragma once
#include <QDialog>

#include "core/plan/Paper.h"

class QComboBox;
class QSpinBox;

// The paper of an exported plan (objectName "2110"): 纸张 A4 or A3 ("2111"),
// 方向 横向 or 纵向 ("2112"), the resolution of a PNG in dpi, 72 to 600
// ("2113", only for a PNG); 确定 ("2114"), 取消 ("2115").
class CPaperDlg : public QDialog {
    Q_OBJECT
public:
    CPaperDlg(const vexaline::Paper& paper, bool picture, QWidget* parent = nullptr);

    vexaline::Paper Chosen() const;

private:
    QComboBox* size_;
    QComboBox* orientation_;
    QSpinBox* dpi_;
};
