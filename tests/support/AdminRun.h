#pragma once

#include <QString>
#include <QStringList>

namespace varnel::test {

// varnel-admin run in-process: its exit code and what it wrote.
struct AdminOutcome {
    int code = -1;
    QString out;
    QString err;
};
// `arguments` after the program name.
AdminOutcome runAdminTool(const QStringList &arguments);

// The text of a PDF file as `pdftotext -layout` reads it (pages separated
// by form feeds), or a note when it could not be read.
QString pdfText(const QString &file);

}  // namespace varnel::test
