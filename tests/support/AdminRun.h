#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// Sets an environment variable for the life of a test.
class EnvGuard {
public:
    EnvGuard(const char *name, const QString &value);
    ~EnvGuard();
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

// A test with a new database made by varnel-admin init in a directory
// removed after the test.
class AdminDatabase : public ::testing::Test {
protected:
    void SetUp() override;
    QString dbDir() const { return dir.path() + QStringLiteral("/baza"); }
    // Runs a command on the database (--db).
    AdminOutcome onDb(QStringList arguments) { return runAdminTool(arguments << QStringLiteral("--db") << dbDir()); }
    int rows(const QString &table);
    // Writes a file in the test's directory; returns its path.
    QString writeFile(const QString &name, const QByteArray &content);

    QTemporaryDir dir;
};

}  // namespace varnel::test
