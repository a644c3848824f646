// The table engine against raw SQLite on a register of 100,000 applications:
//  - a walk that edits and posts one field of every row through the engine,
//    and the same change made with prepared UPDATEs, both in one transaction;
//  - the nearest-key search on the surname index NazwNdx.
// Plain timing with printed figures: the comparison needs both walks over the
// same data in the same run. Usage: bench_engine [ROWS] (default 100000).

#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "data/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace varnel;
using data::Database;
using data::Table;

namespace {

double seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Adds 0.01 to KosztKwh of every row through the engine, in `index` order.
double engineWalk(Database &db, const QString &index = QString()) {
    QElapsedTimer timer;
    timer.start();
    Table t(db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(index);
    const int kwh = t.fieldIndex(QStringLiteral("KosztKwh"));
    data::Transaction tx(db);
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.field(kwh).setFloat(t.field(kwh).asFloat() + 0.01);
        t.post();
    }
    tx.commit();
    return seconds(timer);
}

void check(Database &db, int rc, int expected) {
    if (rc != expected)
        db.fail(QStringLiteral("raw SQLite"));
}

// The same change with prepared statements on the same connection.
double rawWalk(Database &db) {
    QElapsedTimer timer;
    timer.start();
    sqlite3 *h = db.handle();
    data::Transaction tx(db);
    sqlite3_stmt *select = nullptr, *update = nullptr;
    check(db, sqlite3_prepare_v2(h, "SELECT rowid, KosztKwh FROM Aktualne ORDER BY rowid", -1, &select, nullptr), SQLITE_OK);
    std::vector<std::pair<sqlite3_int64, double>> rows;
    while (sqlite3_step(select) == SQLITE_ROW)
        rows.emplace_back(sqlite3_column_int64(select, 0), sqlite3_column_double(select, 1));
    sqlite3_finalize(select);
    check(db, sqlite3_prepare_v2(h, "UPDATE Aktualne SET KosztKwh=?1 WHERE rowid=?2", -1, &update, nullptr), SQLITE_OK);
    for (const auto &[rowid, value] : rows) {
        sqlite3_bind_double(update, 1, value + 0.01);
        sqlite3_bind_int64(update, 2, rowid);
        check(db, sqlite3_step(update), SQLITE_DONE);
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    tx.commit();
    return seconds(timer);
}

// Search keys as a clerk types them: one to four letters of a surname, or
// a whole surname, drawn from the surnames in the table.
QStringList searchKeys(Database &db, int count) {
    QStringList surnames;
    {
        Table t(db, QStringLiteral("Aktualne"));
        t.open();
        for (t.first(); !t.eof() && surnames.size() < 2000; t.next())
            surnames << t.field(QStringLiteral("Nazwisko")).asString();
    }
    QRandomGenerator rng(5);
    QStringList keys;
    for (int i = 0; i < count; ++i) {
        const QString &s = surnames[int(rng.bounded(quint32(surnames.size())))];
        const int length = int(rng.bounded(6u));
        keys << (length == 5 ? s : s.left(1 + length).toLower());
    }
    return keys;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;

    QTemporaryDir dir;
    auto db = cli::createOfficeDatabase(dir.path());
    QElapsedTimer timer;
    timer.start();
    cli::addDemoApplications(*db, rows, 1);
    std::printf("demo data: %d applications added in %.2f s (addDemoApplications)\n", rows, seconds(timer));

    // Alternating rounds, so that both walks meet the same machine load.
    std::vector<double> engine, raw;
    for (int round = 1; round <= 3; ++round) {
        engine.push_back(engineWalk(*db));
        raw.push_back(rawWalk(*db));
        std::printf("round %d: engine %.3f s, raw SQLite %.3f s\n", round, engine.back(), raw.back());
    }
    const double e = median(engine), r = median(raw);
    std::printf("edit and post one field of every row (median of 3): engine %.3f s, raw SQLite %.3f s, ratio %.2f\n", e, r,
                e / r);
    std::printf("the same walk through the engine in NazwNdx order: %.3f s\n", engineWalk(*db, QStringLiteral("NazwNdx")));

    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    const QStringList keys = searchKeys(*db, 20000);
    int found = 0;
    timer.restart();
    for (const QString &key : keys) {
        t.findNearest({key});
        found += t.eof() ? 0 : 1;
    }
    const double searchTime = seconds(timer);
    std::printf("findNearest on NazwNdx at %d rows: %lld searches, %.1f us each (%d landed on a row)\n", t.recordCount(),
                static_cast<long long>(keys.size()), searchTime / double(keys.size()) * 1e6, found);
    return 0;
}
