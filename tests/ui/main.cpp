#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

#include "ui/toolkit/Application.h"

int main(int argc, char** argv) {
    // Offscreen unless a display was asked for (the screenshots run on Xvfb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // as the program does: numbers print with a point
    vexaline::platform::PrepareApplication();
    // Settings of their own, in a folder that goes with the process: the
    // user's are never read or written, and parallel runs do not meet.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings(QDir::tempPath() + QStringLiteral("/vexaline-ui-settings-XXXXXX"));
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    QApplication::setOrganizationName(QStringLiteral("vexaline-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
