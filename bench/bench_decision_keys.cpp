// Rebuilding every decision-number sort key ("Start" of the index window) on
// a large register: the whole walk runs inside one event, so its time is the
// time the clerk waits. Each run works on a fresh copy of the same register
// (a second rebuild of unchanged keys writes nothing); the best of the runs
// is printed, with the time per row.
//
// Usage: bench_decision_keys [ROWS] [RUNS]   (default 100000 rows, 3 runs)
#include "admin/DecisionKey.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>

using namespace varnel;

namespace {

double seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

void fill(data::Database &db, int rows) {
    db.createTable(data::applicationTableDef());
    data::Table t(db, QStringLiteral("Aktualne"));
    t.open();
    data::Transaction tx(db);
    for (int i = 1; i <= rows; ++i) {
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nazwisko%1").arg(i % 977));
        t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
        t.field(QStringLiteral("Numer_decyzji")).setString(QStringLiteral("SM/%1/2005").arg(i));
        t.post();
    }
    tx.commit();
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    const int runs = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 3;

    QTemporaryDir source;
    auto original = data::Database::create(source.path());
    fill(*original, rows);

    double best = std::numeric_limits<double>::max();
    for (int run = 1; run <= runs; ++run) {
        QTemporaryDir dir;
        QDir().mkpath(QFileInfo(data::Database::filePathIn(dir.path())).absolutePath());
        original->backupTo(data::Database::filePathIn(dir.path()));
        auto db = data::Database::open(dir.path());
        data::Table t(*db, QStringLiteral("Aktualne"));
        t.setFieldNames(data::applicationFieldNames());
        t.open();
        t.setIndexName(QStringLiteral("NazwNdx"));
        QElapsedTimer timer;
        timer.start();
        const auto result = admin::rebuildDecisionKeys(t, QStringLiteral("SM/"));
        const double s = seconds(timer);
        (void)result;
        std::printf("run %d: rebuilt the decision keys of %d rows in %.3f s\n", run, rows, s);
        best = std::min(best, s);
    }
    std::printf("best of %d at %d rows: %.3f s (%.1f us/row)\n", runs, rows, best, best / rows * 1e6);
    return 0;
}
