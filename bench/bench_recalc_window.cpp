// The bulk recalculation of 100,000 applications in its window (the register
// and its main window shown, the window's bar moving, events handled while it
// runs) against the headless run varnel-admin recalc makes, with the ratio.
// Each run starts from applications without results, so both write every row.
// The window walks in surname order, as its rules ask (a run stopped half-way
// leaves the applications before the stop recomputed), the headless run in
// row id order; the same walk in surname order without the window is timed
// too, which tells the window's own share from the order's.
#include "calc/BulkRecalc.h"
#include "calc/windows/TFormLiczWszystko.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "core/Context.h"
#include "data/Database.h"
#include "data/Table.h"
#include "register/Register.h"
#include "register/windows/TFormVarnelMain.h"
#include "ui/GuardedApplication.h"
#include "ui/QtFileDialogs.h"
#include "support/ProgramWindow.h"
#include "support/Timing.h"

#include <QProgressBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

using namespace varnel;

namespace {

constexpr int Applications = 100000;

using bench::cpuSeconds;
using bench::seconds;

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::GuardedApplication app(argc, argv);
    QTemporaryDir dir;
    auto db = data::Database::create(dir.path());
    cli::fillNewDatabase(*db);
    auto start = std::chrono::steady_clock::now();
    cli::addDemoApplications(*db, Applications, 20240601u);
    std::printf("built %d synthetic applications in %.1f s\n", Applications, seconds(start));

    bench::ProgramWindow program(app, *db);
    core::Context &ctx = program.ctx;
    reg::Register &reg = program.reg;
    reg::TFormVarnelMain &main = program.main;
    calc::TFormLiczWszystko form(ctx, reg, &main);
    int moves = 0;
    QObject::connect(form.ProgressBar, &QProgressBar::valueChanged, [&moves] { ++moves; });

    // Every run starts from applications without results, so that each
    // writes every row (a second run over unchanged rows writes nothing).
    auto clearResults = [&db] {
        db->exec(QStringLiteral("UPDATE Aktualne SET Pow_normatywna=NULL, Wydatki_wg_pow=NULL, RyczaltMax=NULL, "
                                "Wydatki_razem=NULL, Ryczalt_procent=NULL, Wyplata_calosc=NULL, Wyplata_ryczalt=NULL, "
                                "Wyplata_zarzadca=NULL, Dodatek_wylicz=NULL, ObliczeniaOK=NULL"));
        db->touchAllTables();
    };
    // The two alternate, so that a busy machine weighs on both alike.
    double bestHeadless = std::numeric_limits<double>::max(), bestHeadlessCpu = bestHeadless;
    double bestWindow = bestHeadless, bestWindowCpu = bestHeadless;
    double bestInOrder = bestHeadless, bestInOrderCpu = bestHeadless;
    calc::BulkRecalcResult headless, windowed, inOrder;
    constexpr int Runs = 3;
    for (int run = 0; run < Runs; ++run) {
        clearResults();
        start = std::chrono::steady_clock::now();
        double cpu = cpuSeconds();
        headless = calc::recalcAll(*db);
        bestHeadless = std::min(bestHeadless, seconds(start));
        bestHeadlessCpu = std::min(bestHeadlessCpu, cpuSeconds() - cpu);

        clearResults();
        start = std::chrono::steady_clock::now();
        cpu = cpuSeconds();
        {
            data::Table table(*db, QStringLiteral("Aktualne"));
            table.open();
            calc::HeadlessQuestions quiet;
            inOrder = calc::recalcTable(table, calc::Rules::Current, QPoint(), false, quiet);
        }
        bestInOrder = std::min(bestInOrder, seconds(start));
        bestInOrderCpu = std::min(bestInOrderCpu, cpuSeconds() - cpu);

        clearResults();
        moves = 0;
        start = std::chrono::steady_clock::now();
        cpu = cpuSeconds();
        windowed = form.SMnuPrzeliczDodClick();
        bestWindow = std::min(bestWindow, seconds(start));
        bestWindowCpu = std::min(bestWindowCpu, cpuSeconds() - cpu);
    }
    std::printf("headless (varnel-admin recalc): %d applications, %d invalid: best of %d %.3f s (processor %.3f s)\n",
                headless.rows, headless.invalid, Runs, bestHeadless, bestHeadlessCpu);
    std::printf("headless in surname order (the window's walk without the window): %d applications, %d invalid: "
                "best of %d %.3f s (processor %.3f s)\n",
                inOrder.rows, inOrder.invalid, Runs, bestInOrder, bestInOrderCpu);
    std::printf("window (TFormLiczWszystko, messages off): %d applications, %d listed: best of %d %.3f s "
                "(processor %.3f s), the bar moved %d times\n",
                windowed.rows, int(form.failedApplications().size()), Runs, bestWindow, bestWindowCpu, moves);
    std::printf("ratio window / headless: %.2f, processor %.2f (goal: at most 1.2)\n", bestWindow / bestHeadless,
                bestWindowCpu / bestHeadlessCpu);
    std::printf("ratio window / headless in surname order: %.2f, processor %.2f\n", bestWindow / bestInOrder,
                bestWindowCpu / bestInOrderCpu);
    return 0;
}
