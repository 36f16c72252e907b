#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Offscreen unless a display was asked for (the screenshots run on Xvfb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // as the program does: numbers print with a point
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
