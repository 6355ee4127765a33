#include "widgets/main/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    kz::preparePlatform(argc, argv);
    QApplication app(argc, argv);
    return kz::runProgram(app);
}
