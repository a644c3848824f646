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

#include <QProgressBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

using namespace varnel;

namespace {

constexpr int Applications = 100000;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

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

    double bestHeadless = std::numeric_limits<double>::max();
    calc::BulkRecalcResult headless;
    for (int run = 0; run < 2; ++run) {
        start = std::chrono::steady_clock::now();
        headless = calc::recalcAll(*db);
        bestHeadless = std::min(bestHeadless, seconds(start));
    }
    std::printf("headless (varnel-admin recalc): %d applications, %d invalid: best of 2 %.3f s\n", headless.rows,
                headless.invalid, bestHeadless);

    calc::HeadlessQuestions questions;
    ui::QtFileDialogs files;
    core::Context ctx{*db, questions, files, {}};
    app.setQuestions(&questions);
    reg::Register reg(ctx);
    reg::TFormVarnelMain main(ctx, reg);
    main.logIn = [] { return std::optional<admin::Rights>(admin::Rights{}); };
    main.FormShow();
    main.show();
    calc::TFormLiczWszystko form(ctx, reg, &main);
    int moves = 0;
    QObject::connect(form.ProgressBar, &QProgressBar::valueChanged, [&moves] { ++moves; });
    double bestWindow = std::numeric_limits<double>::max();
    calc::BulkRecalcResult windowed;
    for (const bool messages : {false, false}) {
        reg.setPelnaInformacja(messages);
        moves = 0;
        start = std::chrono::steady_clock::now();
        windowed = form.SMnuPrzeliczDodClick();
        bestWindow = std::min(bestWindow, seconds(start));
    }
    std::printf("window (TFormLiczWszystko, messages off): %d applications, %d listed: best of 2 %.3f s, "
                "the bar moved %d times\n",
                windowed.rows, int(form.failedApplications().size()), bestWindow, moves);
    std::printf("ratio window / headless: %.2f (goal: at most 1.5)\n", bestWindow / bestHeadless);
    app.setQuestions(nullptr);
    return 0;
}
