// `varnel-admin export` and `import` of the applications against their
// floors, each run as a process of its own so that time and peak memory are
// both measured (by bench_run_measured, which this program starts):
//  - export against `sqlite3 -csv -header` writing the same rows;
//  - import into a fresh copy of an empty database against a plain prepared
//    INSERT loop (this program run with --insert-floor) over the same file,
//    read with a plain CSV reader of its own, every cell bound as text or
//    blank.
// Runs alternate; the best time (wall and user CPU) and the highest peak of
// the runs are printed with the ratios.
//
// Usage: bench_csv [ROWS] [RUNS]   (default 100000 rows, 3 runs)

#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "data/Collation.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

using namespace varnel;

namespace {

struct Measured {
    double seconds = 0;
    double userSeconds = 0;  // CPU time in the program itself, less disturbed by other work on the machine
    double peakMiB = 0;
};

// Runs a program (stdout to `out` when given) and measures it, through
// bench_run_measured beside this program: a program spawned from here would
// be charged with this process's memory as its own peak.
Measured runProcess(const QStringList &args, const QString &out = QString()) {
    static const QString measurer = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_run_measured");
    QTemporaryDir figuresDir;
    const QString figures = figuresDir.filePath(QStringLiteral("figures"));
    QStringList all{measurer, figures, out.isEmpty() ? QStringLiteral("/dev/null") : out};
    all += args;
    std::vector<QByteArray> bytes;
    for (const QString &a : all)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot run %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    QFile file(figures);
    Measured m;
    double system = 0;
    long peakKiB = 0;
    int exitCode = -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !file.open(QIODevice::ReadOnly)
        || std::sscanf(file.readAll().constData(), "%lf %lf %lf %ld %d", &m.seconds, &m.userSeconds, &system, &peakKiB,
                       &exitCode) != 5
        || exitCode != 0) {
        std::fprintf(stderr, "%s failed\n", argv[3]);
        std::exit(1);
    }
    m.peakMiB = double(peakKiB) / 1024.0;
    return m;
}

// The next record of a CSV file read line by line (quoted cells may hold
// commas, doubled quotes and line breaks); false at the end.
bool nextRecord(QFile &file, QStringList &cells) {
    cells.clear();
    if (file.atEnd())
        return false;
    QString line = QString::fromUtf8(file.readLine());
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0;; ++i) {
        if (i >= line.size()) {
            if (!quoted || file.atEnd())
                break;
            line = QString::fromUtf8(file.readLine());
            i = -1;
            continue;
        }
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells << cell;
            cell.clear();
        } else if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            cell += c;
        }
    }
    cells << cell;
    return true;
}

// The floor of the import: a prepared INSERT per record in one transaction,
// on a connection with the same collation for the same indexes.
int insertFloor(const QString &csv, const QString &dbFile) {
    QFile file(csv);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QStringList header, record;
    if (!nextRecord(file, header))
        return 1;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(dbFile).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK)
        return 1;
    data::registerPolishCollation(db);
    sqlite3_exec(db, "PRAGMA synchronous=NORMAL; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    // The autoinc key is numbered by the database, as the import does.
    QStringList cols, marks;
    std::vector<int> take;
    for (int k = 0; k < header.size(); ++k) {
        if (header[k].compare(QLatin1String("NrEw"), Qt::CaseInsensitive) == 0)
            continue;
        take.push_back(k);
        cols << QLatin1Char('"') + header[k] + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    const QByteArray sql =
        QStringLiteral("INSERT INTO Aktualne (%1) VALUES (%2)").arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))).toUtf8();
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return 1;
    }
    while (nextRecord(file, record)) {
        if (record.size() < header.size())
            continue;
        for (size_t i = 0; i < take.size(); ++i) {
            const QString &cell = record[take[i]];
            if (cell.isEmpty()) {
                sqlite3_bind_null(insert, int(i) + 1);
            } else {
                const QByteArray u = cell.toUtf8();
                sqlite3_bind_text(insert, int(i) + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
            return 1;
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return 0;
}

QString copyOf(data::Database &from, QTemporaryDir &dir) {
    QDir().mkpath(QFileInfo(data::Database::filePathIn(dir.path())).absolutePath());
    from.backupTo(data::Database::filePathIn(dir.path()));
    return dir.path();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 4 && QByteArray(argv[1]) == "--insert-floor")
        return insertFloor(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    const int runs = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 3;
    const QString admin = QCoreApplication::applicationDirPath() + QStringLiteral("/varnel-admin");
    const QString self = QCoreApplication::applicationFilePath();

    QTemporaryDir work, full, empty;
    {
        auto db = cli::createOfficeDatabase(full.path());
        cli::addDemoApplications(*db, rows, 20240601u);
        cli::createOfficeDatabase(empty.path());
    }
    auto fullDb = data::Database::open(full.path());
    auto emptyDb = data::Database::open(empty.path());
    const QString csv = work.filePath(QStringLiteral("aktualne.csv"));
    const QString plain = work.filePath(QStringLiteral("plain.csv"));

    Measured bestExport{1e300, 1e300, 0}, bestSqlite{1e300, 1e300, 0}, bestImport{1e300, 1e300, 0}, bestInsert{1e300, 1e300, 0};
    const auto keep = [](Measured &best, const Measured &m) {
        best.seconds = std::min(best.seconds, m.seconds);
        best.userSeconds = std::min(best.userSeconds, m.userSeconds);
        best.peakMiB = std::max(best.peakMiB, m.peakMiB);
    };
    for (int run = 1; run <= runs; ++run) {
        QFile::remove(csv);
        const Measured e = runProcess({admin, QStringLiteral("export"), QStringLiteral("Aktualne"), QStringLiteral("--out"), csv,
                                       QStringLiteral("--db"), full.path()});
        const Measured s = runProcess({QStringLiteral("/usr/bin/sqlite3"), QStringLiteral("-csv"), QStringLiteral("-header"),
                                       data::Database::filePathIn(full.path()),
                                       QStringLiteral("SELECT * FROM Aktualne ORDER BY rowid")},
                                      plain);
        QTemporaryDir a, b;
        copyOf(*emptyDb, a);
        copyOf(*emptyDb, b);
        const Measured i = runProcess({admin, QStringLiteral("import"), QStringLiteral("Aktualne"), csv, QStringLiteral("--db"), a.path()});
        const Measured f = runProcess({self, QStringLiteral("--insert-floor"), csv, data::Database::filePathIn(b.path())});
        std::printf("run %d: export %.3f s (user %.3f) %.0f MiB, sqlite3 -csv %.3f s (user %.3f) %.0f MiB; import %.3f s "
                    "(user %.3f) %.0f MiB, INSERT loop %.3f s (user %.3f) %.0f MiB\n",
                    run, e.seconds, e.userSeconds, e.peakMiB, s.seconds, s.userSeconds, s.peakMiB, i.seconds, i.userSeconds,
                    i.peakMiB, f.seconds, f.userSeconds, f.peakMiB);
        keep(bestExport, e);
        keep(bestSqlite, s);
        keep(bestImport, i);
        keep(bestInsert, f);
    }
    // Each program at rest: the same runs with the header line alone, no
    // row. varnel-admin holds Qt's libraries (Gui among them, for the
    // documents it prints) and its own code before it reads a row; what the
    // rows add is the part the file's size could make grow.
    const QString headerOnly = work.filePath(QStringLiteral("header.csv"));
    {
        QFile from(csv), to(headerOnly);
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly) || to.write(from.readLine()) <= 0)
            return 1;
    }
    QTemporaryDir restA, restB;
    copyOf(*emptyDb, restA);
    copyOf(*emptyDb, restB);
    const Measured importRest =
        runProcess({admin, QStringLiteral("import"), QStringLiteral("Aktualne"), headerOnly, QStringLiteral("--db"), restA.path()});
    const Measured insertRest =
        runProcess({self, QStringLiteral("--insert-floor"), headerOnly, data::Database::filePathIn(restB.path())});

    std::printf("best of %d at %d rows (file %.0f MiB):\n", runs, rows, double(QFileInfo(csv).size()) / 1048576.0);
    std::printf("  export %.3f s, sqlite3 -csv %.3f s, ratio %.2f; user CPU %.3f s against %.3f s, ratio %.2f\n",
                bestExport.seconds, bestSqlite.seconds, bestExport.seconds / bestSqlite.seconds, bestExport.userSeconds,
                bestSqlite.userSeconds, bestExport.userSeconds / bestSqlite.userSeconds);
    std::printf("  import %.3f s, INSERT loop %.3f s, ratio %.2f; user CPU %.3f s against %.3f s, ratio %.2f; peak memory "
                "%.1f MiB against %.1f MiB, ratio %.2f\n",
                bestImport.seconds, bestInsert.seconds, bestImport.seconds / bestInsert.seconds, bestImport.userSeconds,
                bestInsert.userSeconds, bestImport.userSeconds / bestInsert.userSeconds, bestImport.peakMiB,
                bestInsert.peakMiB, bestImport.peakMiB / bestInsert.peakMiB);
    std::printf("  at rest (no row) import %.1f MiB, INSERT loop %.1f MiB; the rows add %.1f MiB against %.1f MiB, ratio %.2f\n",
                importRest.peakMiB, insertRest.peakMiB, bestImport.peakMiB - importRest.peakMiB,
                bestInsert.peakMiB - insertRest.peakMiB,
                (bestImport.peakMiB - importRest.peakMiB) / std::max(0.1, bestInsert.peakMiB - insertRest.peakMiB));
    return 0;
}
