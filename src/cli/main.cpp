#include "cli/AdminTool.h"

#include <QCoreApplication>
#include <QTextStream>

// varnel-admin: creates and fills databases, describes, exports and imports
// tables. The commands live in the varnel_cli library, so tests run them
// in-process.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return varnel::cli::runAdmin(QCoreApplication::arguments(), out, err);
}
