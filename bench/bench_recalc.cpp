// Bulk recalculation of 100,000 applications against the engine's raw walk
// over the same rows (first/next in surname order, one field read per row, no
// edits), in one run, with the ratio of the two.
#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
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
    cli::fillNewDatabase(*g_db);
    const auto start = std::chrono::steady_clock::now();
    cli::addDemoApplications(*g_db, Applications, 20240601u);
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
