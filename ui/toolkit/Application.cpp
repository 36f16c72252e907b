#include "ui/toolkit/Application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/toolkit/Screen.h"

namespace vexaline::platform {

void PrepareApplication() {
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);

    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;

    QApplication::setOrganizationName(QStringLiteral("Vexaline"));
    QApplication::setApplicationName(QStringLiteral("Vexaline"));
    KeepWindowsOnScreen();
}

}  // namespace vexaline::platform
