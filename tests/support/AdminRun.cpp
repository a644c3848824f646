#include "support/AdminRun.h"

#include "cli/AdminTool.h"
#include "data/Database.h"
#include "data/Table.h"

#include <QFile>
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

EnvGuard::EnvGuard(const char *name, const QString &value)
    : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value.toUtf8());
}

EnvGuard::~EnvGuard() {
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

void AdminDatabase::SetUp() {
    const AdminOutcome r = runAdminTool({QStringLiteral("init"), dbDir()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
}

int AdminDatabase::rows(const QString &table) {
    auto db = data::Database::open(dbDir());
    data::Table t(*db, table);
    t.open();
    return t.recordCount();
}

QString AdminDatabase::writeFile(const QString &name, const QByteArray &content) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    return path;
}

}  // namespace varnel::test
