#include "cli/AdminTool.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <memory>

// varnel-admin: creates and fills databases, describes, exports and imports
// tables, prints lists. The commands live in the varnel_cli library, so
// tests run them in-process. A command that lays out documents gets a
// QGuiApplication, on the offscreen platform when there is no display;
// the others need none.
int main(int argc, char **argv) {
    const bool gui = argc > 1 && varnel::cli::commandNeedsGui(QString::fromLocal8Bit(argv[1]));
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(gui ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return varnel::cli::runAdmin(QCoreApplication::arguments(), out, err);
}
