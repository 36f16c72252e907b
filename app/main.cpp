#include <QApplication>

#include "app/AlignmentApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return theApp.InitInstance() ? QApplication::exec() : 0;
}
