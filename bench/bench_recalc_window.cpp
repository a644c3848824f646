// The bulk recalculation of 100,000 applications in its window (the register
// and its main window shown, the window's bar moving, events handled while it
// runs) against the headless run varnel-admin recalc makes, with the ratio.
#include "calc/BulkRecalc.h"
#include "calc/windows/TFormLiczWszystko.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "core/Context.h"
#include "data/Database.h"
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

    // The two alternate, so that a busy machine weighs on both alike.
    double bestHeadless = std::numeric_limits<double>::max(), bestHeadlessCpu = bestHeadless;
    double bestWindow = bestHeadless, bestWindowCpu = bestHeadless;
    calc::BulkRecalcResult headless, windowed;
    for (int run = 0; run < 2; ++run) {
        start = std::chrono::steady_clock::now();
        double cpu = cpuSeconds();
        headless = calc::recalcAll(*db);
        bestHeadless = std::min(bestHeadless, seconds(start));
        bestHeadlessCpu = std::min(bestHeadlessCpu, cpuSeconds() - cpu);

        moves = 0;
        start = std::chrono::steady_clock::now();
        cpu = cpuSeconds();
        windowed = form.SMnuPrzeliczDodClick();
        bestWindow = std::min(bestWindow, seconds(start));
        bestWindowCpu = std::min(bestWindowCpu, cpuSeconds() - cpu);
    }
    std::printf("headless (varnel-admin recalc): %d applications, %d invalid: best of 2 %.3f s (processor %.3f s)\n",
                headless.rows, headless.invalid, bestHeadless, bestHeadlessCpu);
    std::printf("window (TFormLiczWszystko, messages off): %d applications, %d listed: best of 2 %.3f s "
                "(processor %.3f s), the bar moved %d times\n",
                windowed.rows, int(form.failedApplications().size()), bestWindow, bestWindowCpu, moves);
    std::printf("ratio window / headless: %.2f, processor %.2f (goal: at most 1.5)\n", bestWindow / bestHeadless,
                bestWindowCpu / bestHeadlessCpu);
    return 0;
}
