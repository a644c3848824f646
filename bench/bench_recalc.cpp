// Bulk recalculation of 100,000 applications against the engine's raw walk
// over the same rows (first/next in surname order, one field read per row, no
// edits), in one run, with the ratio of the two.
#include "calc/BulkRecalc.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>

using namespace varnel;

namespace {

constexpr int Applications = 100000;

std::unique_ptr<data::Database> g_db;
double g_bestWalk = std::numeric_limits<double>::max();
double g_bestWalkTx = std::numeric_limits<double>::max();
double g_bestRecalc = std::numeric_limits<double>::max();

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Synthetic applications: Polish names, households of 0 (a few, to fail the
// checks) to 9 persons, areas around the norm, rents, lump sums, periods
// 2001-2008.
void addApplications(data::Database &db, int count, quint32 seed) {
    static const char *surnames[] = {"Nowak", "Kowalski", "Wiśniewski", "Wójcik", "Kowalczyk", "Kamiński",
                                     "Lewandowski", "Zieliński", "Szymański", "Woźniak", "Dąbrowski", "Kozłowski",
                                     "Jankowski", "Mazur", "Kwiatkowski", "Krawczyk", "Piotrowski", "Grabowski",
                                     "Nowakowski", "Pawłowski", "Michalski", "Żak", "Łoś", "Zając"};
    static const char *names[] = {"Anna", "Maria", "Katarzyna", "Małgorzata", "Agnieszka", "Piotr",
                                  "Krzysztof", "Andrzej", "Tomasz", "Paweł", "Łukasz", "Józef"};
    static const char *titles[] = {"najem", "własność", "spółdzielcze", "brak tytułu prawnego"};
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto money = [&](int lo, int hi) { return (lo * 100 + pick((hi - lo) * 100)) / 100.0; };

    data::Table t(db, QStringLiteral("Aktualne"));
    t.open();
    data::Transaction tx(db);
    for (int k = 0; k < count; ++k) {
        const int persons = pick(50) == 0 ? 0 : 1 + pick(9);
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(surnames[pick(std::size(surnames))]) +
                                                      QString::number(pick(1000)));
        t.field(QStringLiteral("Imie")).setString(QString::fromUtf8(names[pick(std::size(names))]));
        t.field(QStringLiteral("Liczba_osob")).setInteger(persons);
        t.field(QStringLiteral("Pow_uzytk")).setFloat(20 + pick(700) / 10.0);
        t.field(QStringLiteral("PowKuchniPonad60")).setString(pick(4) == 0 ? QStringLiteral("Tak") : QStringLiteral("Nie"));
        t.field(QStringLiteral("Wydatki_czynsz")).setCurrency(money(0, 900));
        t.field(QStringLiteral("OplatyDodatkowe")).setCurrency(money(0, 150));
        t.field(QStringLiteral("Ryczalt_CO")).setBoolean(pick(3) == 0);
        t.field(QStringLiteral("Ryczalt_woda")).setBoolean(pick(3) == 0);
        t.field(QStringLiteral("Ryczalt_gaz")).setBoolean(pick(4) == 0);
        t.field(QStringLiteral("KosztKwh")).setFloat(0.35);
        t.field(QStringLiteral("Dochod_razem")).setCurrency(money(300, 6000));
        t.field(QStringLiteral("NajnEmeryt")).setCurrency(597.46);
        t.field(QStringLiteral("WskProc")).setInteger(70);
        t.field(QStringLiteral("IlOsobNaWozku")).setInteger(pick(30) == 0 ? 1 : 0);
        t.field(QStringLiteral("Tytul_prawny")).setString(QString::fromUtf8(titles[pick(20) == 0 ? 3 : pick(3)]));
        t.field(QStringLiteral("Calosc_do_rak")).setBoolean(pick(10) == 0);
        t.field(QStringLiteral("Ryczalt_do_rak")).setBoolean(pick(3) == 0);
        t.field(QStringLiteral("Okres_od")).setDate(QDate(2001 + pick(8), 1 + pick(12), 1));
        t.post();
    }
    tx.commit();
}

// One walk in surname order reading one field per row; returns the rows.
int rawWalk() {
    data::Table t(*g_db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    const int field = t.fieldIndex(QStringLiteral("Wyplata_calosc"));
    double sum = 0;
    int rows = 0;
    for (t.first(); !t.eof(); t.next()) {
        sum += t.field(field).asFloat();
        ++rows;
    }
    benchmark::DoNotOptimize(sum);
    return rows;
}

// Every row read in its own autocommit read.
void BM_RawWalk(benchmark::State &state) {
    int rows = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        rows = rawWalk();
        g_bestWalk = std::min(g_bestWalk, seconds(start));
    }
    state.counters["rows"] = rows;
}

// The same walk inside one transaction, as the recalculation walks.
void BM_RawWalkInTransaction(benchmark::State &state) {
    int rows = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        data::Transaction tx(*g_db);
        rows = rawWalk();
        tx.commit();
        g_bestWalkTx = std::min(g_bestWalkTx, seconds(start));
    }
    state.counters["rows"] = rows;
}

void BM_BulkRecalc(benchmark::State &state) {
    calc::BulkRecalcResult r;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        r = calc::recalcAll(*g_db);
        g_bestRecalc = std::min(g_bestRecalc, seconds(start));
    }
    state.counters["rows"] = r.rows;
    state.counters["invalid"] = r.invalid;
}

BENCHMARK(BM_RawWalk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawWalkInTransaction)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BulkRecalc)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_db = data::Database::create(dir.path());
    g_db->createTable(data::applicationTableDef());
    const auto start = std::chrono::steady_clock::now();
    addApplications(*g_db, Applications, 20240601u);
    std::printf("built %d synthetic applications in %.2f s\n", Applications, seconds(start));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    constexpr double none = std::numeric_limits<double>::max();
    if (g_bestRecalc < none) {
        std::printf("best of 3: bulk recalculation of %d applications %.3f s\n", Applications, g_bestRecalc);
        if (g_bestWalk < none)
            std::printf("  raw walk %.3f s, ratio %.2f\n", g_bestWalk, g_bestRecalc / g_bestWalk);
        if (g_bestWalkTx < none)
            std::printf("  raw walk in one transaction %.3f s, ratio %.2f\n", g_bestWalkTx, g_bestRecalc / g_bestWalkTx);
    }
    g_db.reset();
    return 0;
}
