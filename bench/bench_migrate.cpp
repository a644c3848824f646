// Bringing an office over from the old system: an old database directory of
// APPLICATIONS current applications and ARCHIVES monthly archives of ROWS
// rows each (a third of the archives in each older layout, so that the
// upgrade steps run too), written as Paradox tables with pxlib, then
// migrated into a new database. Prints the time of the migration.
//
//   bench_migrate [APPLICATIONS [ARCHIVES [ROWS]]]   (100000 24 5000)
#include "cli/Migration.h"
#include "data/Layouts.h"
#include "support/OldLayouts.h"
#include "support/ParadoxFiles.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>

using namespace varnel;

namespace {

const char *const Surnames[] = {"Nowak", "Kowalska", "Wiśniewski", "Wójcik", "Kamińska", "Lewandowski", "Zieliński",
                                "Szymańska", "Woźniak", "Dąbrowski", "Kozłowska", "Jankowski"};
const char *const Names[] = {"Anna", "Józef", "Małgorzata", "Stanisław", "Jadwiga", "Łukasz", "Zofia", "Grzegorz"};
const char *const Streets[] = {"Źródlana", "Słoneczna", "Żeromskiego", "Kościuszki", "Łąkowa", "Piłsudskiego"};

QVariant value(const data::FieldDef &f, int i) {
    switch (f.type) {
    case data::FieldType::Text:
        if (f.name == QLatin1String("Nazwisko"))
            return QString::fromUtf8(Surnames[i % 12]);
        if (f.name == QLatin1String("Imie"))
            return QString::fromUtf8(Names[i % 8]);
        if (f.name == QLatin1String("Adres_ulica"))
            return QString::fromUtf8(Streets[i % 6]);
        if (f.size == 3)
            return i % 3 ? QStringLiteral("Nie") : QStringLiteral("Tak");
        return QStringLiteral("%1 %2").arg(f.name).arg(i % 97).left(f.size);
    case data::FieldType::SmallInt: return 1 + i % 9;
    case data::FieldType::Integer: return i;
    case data::FieldType::AutoInc: return 1 + i * 2;  // numbers with gaps, as years of deletions leave them
    case data::FieldType::Float:
    case data::FieldType::Currency: return 100.0 + (i % 1000) * 0.37;
    case data::FieldType::Date: return QDate(1930, 1, 1).addDays(i % 25000);
    case data::FieldType::Boolean: return i % 2 == 0;
    case data::FieldType::Memo: return QString();
    }
    return QVariant();
}

test::PxTableContents applications(const data::TableDef &def, int count, int codePage) {
    test::PxTableContents table;
    table.columns = test::paradoxColumns(def);
    table.codePage = codePage;
    table.keyFields = 1;
    table.ownBlocks = true;
    table.rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        QVariantMap row;
        for (const data::FieldDef &f : def.fields)
            row[f.name] = value(f, i);
        table.rows << row;
    }
    return table;
}

double since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

int count(int argc, char **argv, int i, int fallback) {
    if (argc <= i)
        return fallback;
    const int n = std::atoi(argv[i]);
    if (n < 0) {
        std::fprintf(stderr, "bench_migrate [APPLICATIONS [ARCHIVES [ROWS]]]\n");
        std::exit(2);
    }
    return n;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int current = count(argc, argv, 1, 100000);
    const int archives = count(argc, argv, 2, 24);
    const int rows = count(argc, argv, 3, 5000);

    QTemporaryDir root;
    const QString oldDir = root.filePath(QStringLiteral("stara"));
    QDir().mkpath(oldDir);
    const auto writing = std::chrono::steady_clock::now();
    test::writeParadoxTable(QDir(oldDir).filePath(QStringLiteral("Aktualne.DB")),
                            applications(data::applicationTableDef(), current, 1250));
    test::PxTableContents list;
    list.columns = test::paradoxColumns(data::archiveListDef());
    list.keyFields = 1;
    const QList<QStringList> layouts = {{}, {QStringLiteral("WskProc")}, test::FieldsSince1141};
    for (int a = 0; a < archives; ++a) {
        const QDate month = QDate(2000, 1, 1).addMonths(a);
        const QString name = QStringLiteral("ar%1%2").arg(month.month(), 2, 10, QLatin1Char('0')).arg(month.year());
        const data::TableDef def = test::without(data::applicationTableDef(name), layouts[a % 3]);
        test::writeParadoxTable(QDir(oldDir).filePath(name + QStringLiteral(".DB")), applications(def, rows, a % 2 ? 852 : 1250));
        list.rows << QVariantMap{{QStringLiteral("Data_Key"), month},
                                 {QStringLiteral("FileName"), name},
                                 {QStringLiteral("Data_str"), name},
                                 {QStringLiteral("NajnEmer"), 512.5},
                                 {QStringLiteral("KosztKwh"), 0.35}};
    }
    test::writeParadoxTable(QDir(oldDir).filePath(QStringLiteral("ArcLista.db")), list);
    std::printf("old directory: %d applications, %d archives of %d rows, written in %.1f s\n", current, archives, rows,
                since(writing));

    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    const cli::MigrationReport report = cli::migrateOffice(oldDir, root.filePath(QStringLiteral("nowa")));
    const double took = since(start);
    const double cpuTook = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    qint64 written = 0;
    for (const auto &t : report.tables)
        written += t.written;
    std::printf("migrate: %lld rows in %d tables in %.2f s (processor %.2f s, %.0f rows/s), %lld values changed; "
                "aim: under 20 s\n",
                static_cast<long long>(written), int(report.tables.size()), took, cpuTook, double(written) / took,
                static_cast<long long>(report.changes.size()));
    return 0;
}
