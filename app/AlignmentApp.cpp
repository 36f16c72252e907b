#include "app/AlignmentApp.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

#include "ui/window/AlignmentDlg.h"
#include "ui/toolkit/Application.h"

CAlignmentApp theApp;

bool CAlignmentApp::InitInstance() {
    // Numbers in lines and files are read and printed with the C library:
    // the decimal point must not follow the user's locale, which Qt adopted.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vexaline.png")));
    vexaline::platform::PrepareApplication();

    CAlignmentDlg dlg;
    dlg.exec();
    return false;
}
