#pragma once
#include <QDialog>

// "关于Vexaline": the program icon, name and version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
