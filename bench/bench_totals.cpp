// The statement of expenditure over a range of 120 archived months of 5,000
// applications each: the totals module alone, and the window's "Licz" in
// range mode with the register and its main window, which shows each archive
// of the range in turn and the current applications at the end.
#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "core/Context.h"
#include "data/Database.h"
#include "data/Table.h"
#include "register/Register.h"
#include "register/RegisterRules.h"
#include "register/windows/TFormVarnelMain.h"
#include "totals/Totals.h"
#include "totals/windows/TFormDotacja.h"
#include "ui/DbControls.h"
#include "ui/GuardedApplication.h"
#include "ui/QtFileDialogs.h"
#include "support/ProgramWindow.h"
#include "support/Timing.h"

#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

using namespace varnel;

namespace {

constexpr int Months = 120;
constexpr int PerMonth = 5000;

using bench::cpuSeconds;
using bench::seconds;

QDate monthOf(int i) { return QDate(2010, 1, 1).addMonths(i); }

void buildArchives(data::Database &db) {
    cli::addDemoApplications(db, PerMonth, 20240601u);
    // Amounts as a recalculation leaves them.
    calc::recalcAll(db);
    data::Transaction tx(db);
    data::Table list(db, QStringLiteral("ArcLista"));
    list.open();
    for (int i = 0; i < Months; ++i) {
        const QDate d = monthOf(i);
        const QString name = QStringLiteral("ar%1%2").arg(d.month(), 2, 10, QLatin1Char('0')).arg(d.year());
        db.copyTable(QStringLiteral("Aktualne"), name);
        list.insert();
        list.field(QStringLiteral("Data_Key")).setDate(d);
        list.field(QStringLiteral("FileName")).setString(name);
        list.field(QStringLiteral("Data_str")).setString(reg::monthName(d.month()) + QLatin1Char(' ') + QString::number(d.year()));
        list.post();
    }
    tx.commit();
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
    buildArchives(*db);
    std::printf("built %d archives of %d applications in %.1f s\n", Months, PerMonth, seconds(start));

    totals::TotalsOptions options;
    options.liczDotacje = true;
    QStringList tables;
    for (const calc::ArchiveEntry &e : calc::readArchiveList(*db))
        tables << e.fileName;

    totals::Statement s;
    for (const bool demand : {false, true}) {
        options.liczDotacje = demand;
        double bestCore = std::numeric_limits<double>::max();
        double bestCoreCpu = std::numeric_limits<double>::max();
        for (int run = 0; run < 3; ++run) {
            start = std::chrono::steady_clock::now();
            const double cpu = cpuSeconds();
            s = totals::computeStatement(*db, tables, options);
            bestCore = std::min(bestCore, seconds(start));
            bestCoreCpu = std::min(bestCoreCpu, cpuSeconds() - cpu);
        }
        std::printf("totals module %s the subsidy demand: %d archives, %lld applications counted, suma %s, dotacja %s: "
                    "best of 3 %.3f s (processor %.3f s)\n",
                    demand ? "with" : "without", int(tables.size()), qint64(s.totals.count),
                    qPrintable(totals::plainAmount(s.totals.suma)), qPrintable(totals::plainAmount(s.dotacja)), bestCore,
                    bestCoreCpu);
    }

    // The window, as the clerk runs it from the main window.
    bench::ProgramWindow program(app, *db);
    core::Context &ctx = program.ctx;
    reg::Register &reg = program.reg;
    reg::TFormVarnelMain &main = program.main;
    totals::TFormDotacja form(ctx, reg, &main);
    form.setRangeMode(monthOf(0), monthOf(Months - 1));
    form.FormShow();
    if (!form.DBCBoxLiczDotacje->isChecked())
        form.DBCBoxLiczDotacje->click();
    double bestWindow = std::numeric_limits<double>::max();
    double bestWindowCpu = std::numeric_limits<double>::max();
    for (int run = 0; run < 3; ++run) {
        start = std::chrono::steady_clock::now();
        const double cpu = cpuSeconds();
        form.ButtonLiczClick();
        bestWindow = std::min(bestWindow, seconds(start));
        bestWindowCpu = std::min(bestWindowCpu, cpuSeconds() - cpu);
    }
    std::printf("window \"Licz\" over the range (register shown month by month, current at the end): "
                "best of 3 %.3f s (processor %.3f s); count %s, suma %s, register on %s\n",
                bestWindow, bestWindowCpu, qPrintable(form.EditIlosc->text()), qPrintable(form.EditSuma->text().trimmed()),
                qPrintable(reg.currentTableName()));
    form.done(0);
    return 0;
}
