#include "app/AlignmentApp.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <clocale>

#include "ui/AlignmentDlg.h"

CAlignmentApp theApp;

bool CAlignmentApp::InitInstance() {
    // Numbers in lines and files are read and printed with the C library:
    // the decimal point must not follow the user's locale, which Qt adopted.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vexaline.png")));
    // Chinese glyphs in their Simplified forms whatever the locale says.
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);

    CAlignmentDlg dlg;
    dlg.exec();
    return false;
}
