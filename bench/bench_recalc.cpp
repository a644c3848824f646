// The headless bulk recalculation (what `varnel-admin recalc` runs) against
// its floor: a plain SQLite program that reads the same 19 input columns,
// computes the same allowance and writes the same 11 columns by row id in one
// transaction. Each run works on a fresh copy of the same data, so that every
// run writes every row (a second recalculation of unchanged rows writes
// nothing). Runs alternate between the two so both meet the same load; the
// best of the runs is printed, with the time per row and the ratio.
//
// Usage: bench_recalc [ROWS] [RUNS]   (default 100000 rows, 3 runs)

#include "calc/Allowance.h"
#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "data/Walk.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <sqlite3.h>

using namespace varnel;

namespace {

double seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

struct Quiet : core::Questions {
    void inform(const QString &) override {}
    void error(const QString &) override {}
    bool confirm(const QString &) override { return false; }
    bool takNie(const QString &) override { return false; }
    bool takNieCofnij(const QString &, bool &c) override { return c = true, false; }
    bool kontynuujPrzerwij(const QString &, QPoint) override { return true; }
};

// A fresh copy of the database of `from` in a new directory.
QString freshCopy(data::Database &from, QTemporaryDir &dir) {
    QDir().mkpath(QFileInfo(data::Database::filePathIn(dir.path())).absolutePath());
    from.backupTo(data::Database::filePathIn(dir.path()));
    return dir.path();
}

void check(sqlite3 *db, int rc, int expected) {
    if (rc != expected) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

QString text(sqlite3_stmt *s, int c) {
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, c)), sqlite3_column_bytes(s, c));
}

// The floor: plain SQLite on its own connection, the page cache the engine's
// walk takes for a database of this size, reading in row id order and
// writing by row id. (Not inlined, so that a profiler can tell it apart.)
[[gnu::noinline]] [[gnu::noinline]] int floorRecalc(const QString &file, int &invalid) {
    sqlite3 *db = nullptr;
    check(db, sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr),
          SQLITE_OK);
    const QByteArray start = "PRAGMA synchronous=NORMAL; PRAGMA cache_size=-"
                             + QByteArray::number(data::PageCacheForBulkWork::kibFor(QFileInfo(file).size())) + "; BEGIN IMMEDIATE";
    check(db, sqlite3_exec(db, start.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_stmt *select = nullptr, *update = nullptr;
    check(db,
          sqlite3_prepare_v2(db,
                             "SELECT rowid, Liczba_osob, Pow_uzytk, Dochod_razem, Wydatki_czynsz, OplatyDodatkowe, Ryczalt_CO, "
                             "Ryczalt_woda, Ryczalt_gaz, NajnEmeryt, KosztKwh, WskProc, IlOsobNaWozku, PowKuchniPonad60, "
                             "Okres_od, Tytul_prawny, Calosc_do_rak, Ryczalt_do_rak, Osoba_na_wozku, Budowa_po_45r, "
                             "Wydatki_razem90 FROM Aktualne ORDER BY rowid",
                             -1, &select, nullptr),
          SQLITE_OK);
    check(db,
          sqlite3_prepare_v2(db,
                             "UPDATE Aktualne SET Pow_normatywna=?1, Wydatki_wg_pow=?2, RyczaltMax=?3, Wydatki_razem=?4, "
                             "Wydatki_razem90=?5, Ryczalt_procent=?6, Wyplata_calosc=?7, Wyplata_ryczalt=?8, "
                             "Wyplata_zarzadca=?9, Dodatek_wylicz=?10, ObliczeniaOK=?11 WHERE rowid=?12",
                             -1, &update, nullptr),
          SQLITE_OK);
    Quiet q;
    const calc::CalcRequest request{false, QPoint(), false};
    int rows = 0;
    invalid = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        calc::AllowanceInput in;
        in.liczbaOsob = sqlite3_column_int(select, 1);
        in.powUzytk = sqlite3_column_double(select, 2);
        in.dochodRazem = sqlite3_column_double(select, 3);
        in.wydatkiCzynsz = sqlite3_column_double(select, 4);
        in.oplatyDodatkowe = sqlite3_column_double(select, 5);
        in.ryczaltCO = sqlite3_column_int(select, 6) != 0;
        in.ryczaltWoda = sqlite3_column_int(select, 7) != 0;
        in.ryczaltGaz = sqlite3_column_int(select, 8) != 0;
        in.najnEmeryt = sqlite3_column_double(select, 9);
        in.kosztKwh = sqlite3_column_double(select, 10);
        in.wskProc = sqlite3_column_int(select, 11);
        in.ilOsobNaWozku = sqlite3_column_int(select, 12);
        in.powKuchniPonad60 = text(select, 13);
        if (sqlite3_column_type(select, 14) != SQLITE_NULL)
            in.rokOkresuOd = text(select, 14).left(4).toInt();
        in.tytulPrawny = text(select, 15);
        in.caloscDoRak = sqlite3_column_int(select, 16) != 0;
        in.ryczaltDoRak = sqlite3_column_int(select, 17) != 0;
        in.osobaNaWozku = text(select, 18);
        in.budowaPo45r = text(select, 19);
        const calc::AllowanceResult r = calc::computeAllowance(calc::Rules::Current, in, request, q);
        const calc::StoredAmounts &s = r.stored;
        if (r.powNormatywna)
            sqlite3_bind_double(update, 1, *r.powNormatywna);
        else
            sqlite3_bind_null(update, 1);
        sqlite3_bind_double(update, 2, s.wydatkiWgPow);
        sqlite3_bind_double(update, 3, s.ryczaltMax);
        sqlite3_bind_double(update, 4, s.wydatkiRazem);
        if (r.writesWydatkiRazem90)
            sqlite3_bind_double(update, 5, s.wydatkiRazem90);
        else
            sqlite3_bind_value(update, 5, sqlite3_column_value(select, 20));
        sqlite3_bind_double(update, 6, s.ryczaltProcent);
        sqlite3_bind_double(update, 7, s.wyplataCalosc);
        sqlite3_bind_double(update, 8, s.wyplataRyczalt);
        sqlite3_bind_double(update, 9, s.wyplataZarzadca);
        sqlite3_bind_double(update, 10, s.dodatekWylicz);
        sqlite3_bind_int(update, 11, s.obliczeniaOK ? 1 : 0);
        sqlite3_bind_int64(update, 12, sqlite3_column_int64(select, 0));
        check(db, sqlite3_step(update), SQLITE_DONE);
        sqlite3_reset(update);
        invalid += r.valid ? 0 : 1;
        ++rows;
    }
    sqlite3_finalize(select);
    sqlite3_finalize(update);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    return rows;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    const int runs = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 3;

    QTemporaryDir source;
    {
        auto db = cli::createOfficeDatabase(source.path());
        QElapsedTimer t;
        t.start();
        cli::addDemoApplications(*db, rows, 20240601u);
        std::printf("built %d synthetic applications in %.2f s\n", rows, seconds(t));
    }
    auto template_ = data::Database::open(source.path());

    double bestEngine = std::numeric_limits<double>::max(), bestFloor = bestEngine;
    for (int run = 1; run <= runs; ++run) {
        double engine = 0, floor = 0;
        int engineRows = 0, engineInvalid = 0, floorRows = 0, floorInvalid = 0;
        {
            QTemporaryDir dir;
            const QString path = freshCopy(*template_, dir);
            QElapsedTimer t;
            t.start();
            auto db = data::Database::open(path);
            QStringList invalid;
            const calc::BulkRecalcResult r =
                calc::recalcAll(*db, QStringLiteral("Aktualne"), calc::Rules::Current,
                                [&invalid](const QString &who) { invalid << who; });
            db.reset();
            engine = seconds(t);
            engineRows = r.rows;
            engineInvalid = r.invalid;
        }
        {
            QTemporaryDir dir;
            const QString path = freshCopy(*template_, dir);
            QElapsedTimer t;
            t.start();
            floorRows = floorRecalc(data::Database::filePathIn(path), floorInvalid);
            floor = seconds(t);
        }
        std::printf("run %d: recalc %.3f s (%d rows, %d invalid), plain SQLite %.3f s (%d rows, %d invalid)\n", run, engine,
                    engineRows, engineInvalid, floor, floorRows, floorInvalid);
        bestEngine = std::min(bestEngine, engine);
        bestFloor = std::min(bestFloor, floor);
    }
    std::printf("best of %d at %d rows: recalc %.3f s (%.1f us/row), plain SQLite floor %.3f s (%.1f us/row), ratio %.2f\n",
                runs, rows, bestEngine, bestEngine / rows * 1e6, bestFloor, bestFloor / rows * 1e6, bestEngine / bestFloor);
    return 0;
}
