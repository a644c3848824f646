// The register on a large table of applications: opening the list and
// incremental search keystrokes, each with the repaint of the grid, on the
// offscreen platform. Prints the time of each operation; every keystroke
// timed is counted (clearing the field between words is one too).
//
// Usage: bench_register [ROWS [DIR]]   (default 100000 rows in a temporary
// directory; with DIR the database built there is kept and used again by
// the next run of the same size, which saves building a large one each time)
#include "core/Context.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "data/Table.h"
#include "register/Register.h"
#include "register/windows/TFormVarnelMain.h"
#include "ui/DataGrid.h"
#include "core/FileDialogs.h"
#include "core/Questions.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace varnel;

namespace {

struct Silent : core::Questions {
    void inform(const QString &) override {}
    void error(const QString &t) override { std::printf("error: %s\n", qPrintable(t)); }
    bool confirm(const QString &) override { return false; }
    bool takNie(const QString &) override { return false; }
    bool takNieCofnij(const QString &, bool &c) override { return c = false; }
    bool kontynuujPrzerwij(const QString &, QPoint) override { return true; }
};

struct NoFiles : core::FileDialogs {
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
};

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// Types words letter by letter into the search field, clearing it between
// words; returns the keystrokes made and the total time.
std::pair<int, double> typeWords(reg::TFormVarnelMain &w, const QStringList &words, int keystrokes) {
    int done = 0;
    QElapsedTimer t;
    t.start();
    while (done < keystrokes) {
        for (const QString &word : words) {
            for (int i = 1; i <= word.size() && done < keystrokes; ++i, ++done) {
                w.editSeek()->setText(word.left(i));
                QApplication::processEvents();  // the grid repaints on the new row
            }
            if (done >= keystrokes)
                break;
            w.editSeek()->clear();
            QApplication::processEvents();
            ++done;
        }
    }
    return {done, ms(t)};
}

// Lets the event loop run until the table's order is read whole; returns
// the passes it took.
int wholeOrder(const data::Table &table) {
    int passes = 0;
    while (table.isOpen() && !table.orderReadWhole() && passes < 100000) {
        QApplication::processEvents();
        ++passes;
    }
    return passes;
}

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int Applications = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    QTemporaryDir temporary;
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    std::unique_ptr<data::Database> db;
    if (argc > 2 && data::Database::existsIn(dir)) {
        db = data::Database::open(dir);
        data::Table aktualne(*db, QStringLiteral("Aktualne"));
        aktualne.open();
        if (aktualne.recordCount() != Applications)
            db.reset();
    }
    if (db) {
        std::printf("using the %d demo applications in %s\n", Applications, qPrintable(dir));
    } else {
        if (argc > 2) {
            data::Database::removeFilesIn(dir);
            QDir().mkpath(dir);
        }
        db = data::Database::create(dir);
        cli::fillNewDatabase(*db);
        QElapsedTimer build;
        build.start();
        cli::addDemoApplications(*db, Applications, 7);
        std::printf("built %d demo applications in %.0f ms\n", Applications, ms(build));
    }

    Silent questions;
    NoFiles files;
    core::Context context{*db, questions, files, core::RunValues{}};
    reg::Register reg(context);
    reg::TFormVarnelMain window(context, reg);
    window.logIn = [] { return std::optional<admin::Rights>(admin::Rights{}); };

    QElapsedTimer t;
    t.start();
    window.FormShow();
    window.show();
    QApplication::processEvents();
    std::printf("first showing with the register opened and painted: %.1f ms\n", ms(t));

    constexpr int Opens = 10;
    double bestOpen = 1e300, allOpens = 0;
    for (int i = 0; i < Opens; ++i) {
        t.restart();
        reg.PokazListeWnioskow();
        QApplication::processEvents();
        bestOpen = std::min(bestOpen, ms(t));
        allOpens += ms(t);
    }
    std::printf("opening the register (PokazListeWnioskow + paint): best %.1f ms, mean %.1f ms of %d (%d rows)\n", bestOpen,
                allOpens / Opens, Opens, reg.TableWnioski().recordCount());

    // The rest of the order is read from the event loop after the first
    // paint; the searches below are timed once it is whole, as a clerk
    // types after the list is shown.
    double bestRest = 1e300;
    int passes = 0;
    for (int i = 0; i < Opens; ++i) {
        reg.PokazListeWnioskow();
        QApplication::processEvents();
        t.restart();
        passes = wholeOrder(reg.TableWnioski());
        bestRest = std::min(bestRest, ms(t));
    }
    std::printf("the rest of the order read from the event loop after the first paint: best %.1f ms (%d passes)\n", bestRest,
                passes);

    // A move that needs the whole order at once (Ctrl+End straight after
    // opening) reads it in one go.
    double bestLast = 1e300;
    for (int i = 0; i < Opens; ++i) {
        reg.PokazListeWnioskow();
        t.restart();
        reg.TableWnioski().last();
        QApplication::processEvents();
        bestLast = std::min(bestLast, ms(t));
    }
    std::printf("opening the register and going to the last row (the whole order read at once): best %.1f ms\n", bestLast);
    reg.PokazListeWnioskow();
    QApplication::processEvents();
    wholeOrder(reg.TableWnioski());

    const auto [n1, total1] = typeWords(window, {QStringLiteral("Kowalska"), QStringLiteral("Żak"), QStringLiteral("Łukasiewicz"),
                                                  QStringLiteral("Nowak"), QStringLiteral("Zieliński")},
                                        100);
    std::printf("surname search: %d keystrokes, %.2f ms each\n", n1, total1 / n1);

    window.setSortOrder(reg::SortOrder::NrDec);
    QApplication::processEvents();
    wholeOrder(reg.TableWnioski());
    const auto [n2, total2] = typeWords(window, {QStringLiteral("12345"), QStringLiteral("777"), QStringLiteral("90210")}, 100);
    std::printf("decision-number search: %d keystrokes, %.2f ms each\n", n2, total2 / n2);

    window.setSortOrder(reg::SortOrder::Adres);
    QApplication::processEvents();
    wholeOrder(reg.TableWnioski());
    const auto [n3, total3] = typeWords(window, {QStringLiteral("Żyrardów"), QStringLiteral("Mszczonów")}, 100);
    std::printf("address search: %d keystrokes, %.2f ms each\n", n3, total3 / n3);
    return 0;
}
