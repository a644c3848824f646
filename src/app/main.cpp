#include "app/windows/RunProgram.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnel"));
    varnel::app::RunProgram program(QApplication::arguments());
    return program.exec();
}
