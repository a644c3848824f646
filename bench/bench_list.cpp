// A payment list of many applications with totals laid out into one PDF
// file, as "Drukuj listę" and `varnel-admin list --pdf` print it, and the
// same layout into the recording device alone (no PDF).
//
//   bench_list [ROWS]      (5000 by default; the aim is under 3 s for 5000)
#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "core/Progress.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "lists/ExampleTemplates.h"
#include "lists/ListCellValues.h"
#include "lists/doc/ListPrint.h"
#include "print/PdfFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

using namespace varnel;

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 5000;

    QTemporaryDir dir;
    auto db = cli::createOfficeDatabase(dir.filePath(QStringLiteral("baza")));
    cli::addDemoApplications(*db, rows, 1);
    calc::recalcAll(*db, QStringLiteral("Aktualne"), calc::Rules::Current, [](const QString &) {});

    lists::ListPrintJob job;
    job.tmpl = lists::managerPaymentList();
    job.settings = lists::readListSettings(*db);
    job.footer = lists::readListFooter(*db);
    job.cellValue = &lists::listCellValue;
    data::Table apps(*db, QStringLiteral("Aktualne"));
    apps.setFieldNames(data::applicationFieldNames());
    apps.open();
    core::NoProgress progress;

    lists::ListPrintResult result;
    auto start = std::chrono::steady_clock::now();
    {
        const auto device = print::pdfLikeRecordingDevice();
        result = lists::printList(apps, job, *device, progress);
    }
    const double layoutOnly = seconds(start);

    const QString pdf = dir.filePath(QStringLiteral("lista.pdf"));
    start = std::chrono::steady_clock::now();
    const print::PdfOutcome out =
        print::writePdfFile(pdf, [&](print::PageDevice &d) { result = lists::printList(apps, job, d, progress); });
    const double withPdf = seconds(start);
    if (out.kind != print::PdfOutcome::Written) {
        std::fprintf(stderr, "PDF not written: %s\n", qPrintable(out.error));
        return 1;
    }
    std::printf("list of %d applications (%d listed, %d pages, 3 totals):\n", rows, result.rows, result.pages);
    std::printf("  laid out, recorded only: %.3f s\n", layoutOnly);
    std::printf("  laid out into a PDF:     %.3f s (%.1f kB; aim for 5000: under 3 s)\n", withPdf,
                QFileInfo(pdf).size() / 1024.0);
    return 0;
}
