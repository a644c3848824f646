// The month close beside a raw SQLite copy of the same table with its
// indexes, and opening an archive in a database of twenty years of monthly
// archives. Prints its figures; run with `make bench`.
#include "archive/ArchiveList.h"
#include "archive/MonthClose.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "core/Context.h"
#include "data/Database.h"
#include "data/Table.h"
#include "register/Register.h"
#include "support/Program.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

using namespace varnel;

namespace {

// The statements that make a table and its indexes, as SQLite keeps them.
QStringList schemaOf(data::Database &db, const QString &table) {
    QStringList sql;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db.handle(),
                       "SELECT sql FROM sqlite_master WHERE tbl_name = ?1 AND sql IS NOT NULL "
                       "ORDER BY type = 'index', name",
                       -1, &st, nullptr);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(st) == SQLITE_ROW)
        sql << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return sql;
}

// What SQLite alone does: the table made as the register's, one INSERT ...
// SELECT, the indexes built over the copied rows; one transaction.
double rawCopy(data::Database &db, const QStringList &schema, const QString &to) {
    QElapsedTimer t;
    t.start();
    db.begin();
    db.exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(to));
    db.exec(QString(schema.first()).replace(QStringLiteral("\"Aktualne\""), QStringLiteral("\"%1\"").arg(to)));
    db.exec(QStringLiteral("INSERT INTO \"%1\" SELECT * FROM \"Aktualne\"").arg(to));
    for (qsizetype i = 1; i < schema.size(); ++i)
        db.exec(QString(schema[i]).replace(QStringLiteral("\"Aktualne"), QStringLiteral("\"%1").arg(to)));
    db.commit();
    return double(t.nsecsElapsed()) / 1e6;
}

double monthClose(data::Database &db, const QDate &month, core::Progress *progress) {
    QElapsedTimer t;
    t.start();
    archive::closeMonth(db, month, progress);
    return double(t.nsecsElapsed()) / 1e6;
}

struct CountingProgress : core::Progress {
    int steps = 0;
    void start(int) override {}
    void step() override { ++steps; }
    void finish() override {}
};

double best(QVector<double> v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    {
        QTemporaryDir dir;
        auto db = data::Database::create(dir.path());
        cli::fillNewDatabase(*db);
        cli::addDemoApplications(*db, 100000, 1);
        const QStringList schema = schemaOf(*db, QStringLiteral("Aktualne"));
        QVector<double> raw, close, shown;
        CountingProgress progress;
        for (int round = 0; round < 3; ++round) {
            raw << rawCopy(*db, schema, QStringLiteral("rawcopy"));
            close << monthClose(*db, QDate(2026, 11, 1), nullptr);
            shown << monthClose(*db, QDate(2026, 11, 1), &progress);
        }
        std::printf("month close of 100000 applications (best of 3):\n");
        std::printf("  raw INSERT ... SELECT with indexes: %8.1f ms\n", best(raw));
        std::printf("  month close (varnel-admin):         %8.1f ms  ratio %.2f\n", best(close), best(close) / best(raw));
        std::printf("  month close with progress (window): %8.1f ms  ratio %.2f\n", best(shown), best(shown) / best(raw));
    }
    {
        // Twenty years of monthly archives of 5000 applications each.
        QTemporaryDir dir;
        auto db = data::Database::create(dir.path());
        cli::fillNewDatabase(*db);
        cli::addDemoApplications(*db, 5000, 2);
        QElapsedTimer t;
        t.start();
        for (int m = 0; m < 240; ++m)
            archive::closeMonth(*db, QDate(2006, 1, 1).addMonths(m), nullptr);
        std::printf("240 archives of 5000 applications made in %.1f s\n", double(t.elapsed()) / 1000.0);

        test::ScriptedQuestions questions;
        test::ScriptedFiles files;
        core::Context ctx{*db, questions, files, {}};
        t.restart();
        reg::Register reg(ctx);
        reg.ChangeTable(reg::CurrentApplications);
        reg.PokazListeWnioskow();
        const double start = double(t.nsecsElapsed()) / 1e6;
        t.restart();
        const int entries = int(archive::archiveEntries(*db).size());
        const double list = double(t.nsecsElapsed()) / 1e6;
        QVector<double> open;
        for (const QDate &month : {QDate(2006, 1, 1), QDate(2015, 6, 1), QDate(2025, 12, 1)}) {
            t.restart();
            reg.ChangeTable(archive::archiveTableName(month));
            reg.PokazListeWnioskow();
            open << double(t.nsecsElapsed()) / 1e6;
        }
        std::printf("with 240 archives: register opened in %.1f ms, archive list (%d entries) read in %.1f ms,\n"
                    "  an archive opened in the register in %.1f ms (slowest of 3), %d questions asked\n",
                    start, entries, list, *std::max_element(open.begin(), open.end()), int(questions.asked().size()));
    }
    return 0;
}
