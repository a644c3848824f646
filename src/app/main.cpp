#include "app/windows/RunProgram.h"
#include "ui/GuardedApplication.h"
#include "ui/Translations.h"

int main(int argc, char **argv) {
    varnel::ui::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnel"));
    varnel::ui::installPolishTranslations();
    varnel::app::RunProgram program(QApplication::arguments());
    return program.exec();
}
