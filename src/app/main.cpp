#include "app/windows/RunProgram.h"
#include "ui/GuardedApplication.h"

int main(int argc, char **argv) {
    varnel::ui::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnel"));
    varnel::app::RunProgram program(QApplication::arguments());
    return program.exec();
}
