// Headless decisions: the decisions of every application of a table filled
// from the example template (with the metric line and the footer) and laid
// out into one PDF file, each from a new page, as varnel-admin decision
// --all --pdf does. Prints the time per decision (aim: under 20 ms), and
// separately the filling alone and the writing of the file.
//
//   bench_decisions [APPLICATIONS]   (1000)
#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "core/Progress.h"
#include "data/Database.h"
#include "print/PdfFile.h"
#include "templates/DecisionTemplate.h"
#include "templates/ExampleTemplate.h"
#include "templates/TemplateFile.h"
#include "templates/doc/DecisionPrinting.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace varnel;

namespace {

double since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int applications = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (applications < 1) {
        std::fprintf(stderr, "bench_decisions [APPLICATIONS]\n");
        return 2;
    }

    QTemporaryDir dir;
    auto db = data::Database::create(dir.path());
    cli::fillNewDatabase(*db);
    cli::addDemoApplications(*db, applications, 20240305u);
    calc::recalcAll(*db);
    templates::writeExampleDecision(dir.path());
    const QString templatePath = QDir(dir.path()).filePath(templates::ExampleDecisionFile);

    templates::doc::DecisionOptions options;
    options.switches = templates::readDecisionPrintSwitches(*db);
    options.switches.drukujMetryczke = options.switches.drukujStopke = true;
    options.userName = QStringLiteral("ADMIN");
    const templates::RichText example = templates::readTemplateFile(templatePath);
    core::NoProgress progress;

    // The filling alone, best of three.
    double bestFill = 1e300;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        qint64 characters = 0;
        templates::doc::fillDecisions(*db, QStringLiteral("Aktualne"), {}, example, options, progress,
                                      [&](const QTextDocument &d) { characters += d.characterCount(); });
        bestFill = std::min(bestFill, since(start));
        if (characters == 0)
            return 1;
    }

    // Filled and laid out into one PDF, best of three.
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("decyzje.pdf"));
    double best = 1e300;
    int pages = 0, decisions = 0;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const print::PdfOutcome out = print::writePdfFile(pdf, [&](print::PageDevice &device) {
            templates::doc::DecisionJob job(device);
            decisions = templates::doc::fillDecisions(*db, QStringLiteral("Aktualne"), {}, example, options, progress,
                                                      [&](const QTextDocument &d) { job.add(d); })
                            .count;
            job.finish();
        });
        best = std::min(best, since(start));
        if (out.kind != print::PdfOutcome::Written) {
            std::fprintf(stderr, "no PDF written: %s\n", qPrintable(out.error));
            return 1;
        }
        pages = out.pages;
    }

    std::printf("best of 3: %d decisions filled in %.3f s, %.2f ms a decision (without page layout)\n", decisions,
                bestFill, 1000.0 * bestFill / decisions);
    std::printf("best of 3: %d decisions filled and laid out into one PDF of %d pages (%.1f MB) in %.3f s: "
                "%.2f ms a decision (aim: under 20 ms)\n",
                decisions, pages, double(QFileInfo(pdf).size()) / (1024.0 * 1024.0), best, 1000.0 * best / decisions);
    return 0;
}
