#include "support/AdminRun.h"

#include "cli/AdminTool.h"

#include <QProcess>
#include <QTextStream>

namespace varnel::test {

AdminOutcome runAdminTool(const QStringList &arguments) {
    AdminOutcome r;
    QTextStream out(&r.out), err(&r.err);
    r.code = cli::runAdmin(QStringList{QStringLiteral("varnel-admin")} + arguments, out, err);
    out.flush();
    err.flush();
    return r;
}

QString pdfText(const QString &file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(20000))
        return QStringLiteral("(pdftotext did not finish)");
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace varnel::test
