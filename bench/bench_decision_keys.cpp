// Rebuilding every decision-number sort key ("Start" of the index window) on
// a large register: the whole walk runs inside one event, so its time is the
// time the clerk waits.
#include "admin/DecisionKey.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace varnel;

namespace {

struct Register {
    QTemporaryDir dir;
    std::unique_ptr<data::Database> db = data::Database::create(dir.path());

    explicit Register(int rows) {
        db->createTable(data::applicationTableDef());
        data::Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        data::Transaction tx(*db);
        for (int i = 1; i <= rows; ++i) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nazwisko%1").arg(i % 977));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Numer_decyzji")).setString(QStringLiteral("SM/%1/2005").arg(i));
            t.post();
        }
        tx.commit();
    }
};

void RebuildAllKeys(benchmark::State &state) {
    const int rows = int(state.range(0));
    Register reg(rows);
    data::Table t(*reg.db, QStringLiteral("Aktualne"));
    t.setFieldNames(data::applicationFieldNames());
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    for (auto _ : state)
        benchmark::DoNotOptimize(admin::rebuildDecisionKeys(t, QStringLiteral("SM/")));
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(RebuildAllKeys)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void KeyOfOneNumber(benchmark::State &state) {
    const QString number = QStringLiteral("SM/12345/2005");
    const QString pattern = QStringLiteral("SM/");
    for (auto _ : state)
        benchmark::DoNotOptimize(admin::WyliczIndexSupp(number, pattern, 2));
}
BENCHMARK(KeyOfOneNumber);

}  // namespace

BENCHMARK_MAIN();
