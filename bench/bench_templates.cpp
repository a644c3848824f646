// Templates: filling 1,000 decisions from the example template (read once,
// then for each application the document, the metric line, the footer and
// the substitution, without laying out pages), reading and writing the
// template's RTF, and the placeholder values a payment list asks for, with
// the time per decision and per value.
#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "data/Table.h"
#include "templates/ExampleTemplate.h"
#include "templates/FieldCatalogue.h"
#include "templates/Rtf.h"
#include "templates/doc/DecisionDocument.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <memory>

using namespace varnel;

namespace {

constexpr int Applications = 1000;

std::unique_ptr<data::Database> g_db;
double g_bestFill = std::numeric_limits<double>::max();
double g_bestValues = std::numeric_limits<double>::max();
int g_values = 0;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_FillDecisions(benchmark::State &state) {
    const templates::RichText example = templates::readRtf(templates::writeRtf(templates::exampleDecision())).text;
    templates::doc::DecisionOptions options;
    options.switches = templates::readDecisionPrintSwitches(*g_db);
    options.userName = QStringLiteral("ADMIN");
    data::Table t(*g_db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    qint64 characters = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (t.first(); !t.eof(); t.next()) {
            QTextDocument doc;
            templates::doc::assembleDecision(doc, example, t, options);
            characters += doc.characterCount();
        }
        g_bestFill = std::min(g_bestFill, seconds(start));
    }
    benchmark::DoNotOptimize(characters);
}

void BM_ReadTemplate(benchmark::State &state) {
    const QByteArray rtf = templates::writeRtf(templates::exampleDecision());
    for (auto _ : state)
        benchmark::DoNotOptimize(templates::readRtf(rtf).text.blocks.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * rtf.size());
}

void BM_WriteTemplate(benchmark::State &state) {
    const templates::RichText example = templates::exampleDecision();
    for (auto _ : state)
        benchmark::DoNotOptimize(templates::writeRtf(example).size());
}

// Ten columns of a payment list over every application.
void BM_ListValues(benchmark::State &state) {
    const QStringList columns = {
        QStringLiteral("Nazwisko i imię"),    QStringLiteral("Adres"),           QStringLiteral("Nr wniosku"),
        QStringLiteral("Liczba osób"),        QStringLiteral("Łączny dochód"),   QStringLiteral("Wydatki mieszk. [%]"),
        QStringLiteral("Wypłata (całość)"),   QStringLiteral("Wypłata (ryczałt)"),
        QStringLiteral("Wypłata (zarządca)"), QStringLiteral("Ryczałt CO"),
    };
    data::Table t(*g_db, QStringLiteral("Aktualne"));
    t.open();
    double sum = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        g_values = 0;
        const templates::FieldCatalogue catalogue(t);
        for (t.first(); !t.eof(); t.next())
            for (const QString &c : columns) {
                sum += catalogue.ObsluzBaze(c).number;
                ++g_values;
            }
        g_bestValues = std::min(g_bestValues, seconds(start));
    }
    benchmark::DoNotOptimize(sum);
}

BENCHMARK(BM_FillDecisions)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTemplate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteTemplate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListValues)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_db = data::Database::create(dir.path());
    cli::fillNewDatabase(*g_db);
    cli::addDemoApplications(*g_db, Applications, 20240305u);
    calc::recalcAll(*g_db);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    constexpr double none = std::numeric_limits<double>::max();
    if (g_bestFill < none)
        std::printf("best of 3: %d decisions filled in %.3f s, %.2f ms a decision (without page layout)\n",
                    Applications, g_bestFill, 1000.0 * g_bestFill / Applications);
    if (g_bestValues < none && g_values > 0)
        std::printf("best of 3: %d list values in %.3f s, %.2f us a value\n", g_values, g_bestValues,
                    1e6 * g_bestValues / g_values);
    g_db.reset();
    return 0;
}
