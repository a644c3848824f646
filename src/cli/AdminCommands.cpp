#include "calc/BulkRecalc.h"
#include "cli/AdminTool.h"
#include "cli/ArchiveCommands.h"
#include "cli/DatabaseCheck.h"
#include "cli/DemoData.h"
#include "cli/DecisionCommand.h"
#include "cli/ListCommand.h"
#include "cli/Migration.h"
#include "cli/OfficeDatabase.h"
#include "cli/TableCsv.h"
#include "cli/TotalsCommand.h"
#include "data/Alias.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "core/PrivateFile.h"
#include "data/Layouts.h"
#include "data/Table.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

namespace varnel::cli {

using data::Database;

void refuseOwnPath(const QString &directory, const QString &path) {
    if (Database::isOwnPath(directory, path))
        throw CommandError(QStringLiteral("plik %1 należy do bazy danych w katalogu %2 (to plik bazy, jej plik "
                                          "pomocniczy albo kopia zachowana przy odtwarzaniu) i nie zostanie "
                                          "nadpisany. Wskaż plik poza plikami bazy.")
                               .arg(path, QDir(directory).absolutePath()));
}

QString requireTable(const Database &db, const QString &name) {
    if (!db.tableExists(name))
        throw CommandError(QStringLiteral("w bazie danych %1 nie ma tabeli „%2”. Tabele: %3.")
                               .arg(db.directory(), name, db.tableNames().join(QStringLiteral(", "))));
    return db.tableDef(name).name;
}

namespace {

// Why a table of applications cannot be worked on, in words the
// administrator can act on; empty when its layout is not the cause.
QString applicationLayoutAdvice(const Database &db, const QString &table, bool needsSortIndex) {
    const data::TableDef def = db.tableDef(table);
    bool older = false;
    const QStringList diffs =
        layoutDifferences(data::applicationTableDef(def.name), def, data::applicationFieldsAddedByUpgrades(), older);
    if (older)
        return QStringLiteral("tabela %1 ma układ sprzed aktualizacji programu (brak pól dodanych w nowszych "
                              "wersjach). Uruchom raz program Varnel: tabelę Aktualne uaktualnia przy starcie, "
                              "archiwum – gdy otworzysz je poleceniem Wnioski › Otwórz archiwum; potem powtórz "
                              "polecenie.")
            .arg(def.name);
    if (needsSortIndex && !def.index(QStringLiteral("NazwNdx")))
        return QStringLiteral("tabela %1 nie jest tabelą wniosków (Aktualne albo archiwum arMMRRRR): nie ma indeksu "
                              "NazwNdx, w którego kolejności przelicza się wnioski. Podaj tabelę wniosków.")
            .arg(def.name);
    if (!diffs.isEmpty())
        return QStringLiteral("tabela %1 nie ma układu tabeli wniosków (%2); sprawdź bazę poleceniem varnel-admin check.")
            .arg(def.name, diffs.first());
    return QString();
}

QString withEngineText(const QString &advice, const core::DbError &e) {
    return advice.isEmpty() ? e.message() : QStringLiteral("%1 (%2)").arg(advice, e.message());
}

// ---------------------------------------------------------------------------
// init

// Points the alias Varnel of the user's ini file at a new database; returns
// the line that tells so. When the file cannot be written, `undo` removes
// what the command made (the database without its alias is not what was
// asked for) and the command fails.
QString writeAliasOrUndo(const QString &dir, const std::function<void()> &undo) {
    const QString iniFile = data::Alias::userFile();
    const QString before =
        QSettings(iniFile, QSettings::IniFormat).value(QStringLiteral("Aliases/") + QLatin1String(data::Alias::Name)).toString();
    try {
        data::Alias::write(iniFile, dir);
    } catch (const core::DbError &e) {
        undo();
        throw CommandError(e.message() + QStringLiteral(". Bazy danych nie utworzono."));
    }
    QString note = QStringLiteral("Alias Varnel w pliku %1 wskazuje teraz ten katalog").arg(iniFile);
    if (!before.isEmpty() && QFileInfo(before).absoluteFilePath() != dir)
        note += QStringLiteral(" (wcześniej: %1)").arg(before);
    return note + QStringLiteral(".\n");
}

// --alias of the commands that make a new database.
QCommandLineOption aliasOption() {
    return QCommandLineOption(QStringLiteral("alias"),
                              QStringLiteral("zapisuje alias Varnel wskazujący nową bazę w pliku $VARNEL_INI, "
                                             "a gdy nie jest ustawiona, w ~/.config/varnel/varnel.ini"));
}

void runInit(CommandContext &c) {
    const QString given = c.arguments.value(0);
    const QString option = c.databaseOption();
    if (!given.isEmpty() && !option.isEmpty())
        throw CommandError(QStringLiteral("katalog nowej bazy podaj raz: jako argument albo przez --db."));
    if (given.isEmpty() && option.isEmpty())
        throw CommandError(QStringLiteral("podaj katalog nowej bazy danych: varnel-admin init KATALOG"));
    const QString dir = QFileInfo(given.isEmpty() ? option : given).absoluteFilePath();

    const bool directoryExisted = QFileInfo(dir).isDir();
    std::unique_ptr<Database> db = createOfficeDatabase(dir);
    QString aliasNote;
    if (c.parser.isSet(QStringLiteral("alias")))
        aliasNote = writeAliasOrUndo(dir, [&] {
            db.reset();
            removeDatabaseFiles(dir, !directoryExisted);
        });
    c.out << QStringLiteral("Utworzono bazę danych w katalogu %1 (%2).\n")
                 .arg(dir, polishCount(data::deliveredTables().size(), QStringLiteral("tabela"),
                                       QStringLiteral("tabele"), QStringLiteral("tabel")))
          << aliasNote
          << QStringLiteral("Użytkownik ADMIN ma hasło ADMIN: zmień je w programie (Parametry › Użytkownicy).\n");
}

// ---------------------------------------------------------------------------
// demo

qint64 wholeNumberOption(const CommandContext &c, const QString &name, qint64 lo, qint64 hi) {
    const QString text = c.parser.value(name);
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < lo || n > hi)
        throw CommandError(QStringLiteral("--%1: oczekiwano liczby całkowitej od %2 do %3, podano „%4”.")
                               .arg(name)
                               .arg(lo)
                               .arg(hi)
                               .arg(text));
    return n;
}

void runDemo(CommandContext &c) {
    const int count = int(wholeNumberOption(c, QStringLiteral("count"), 1, 1000000));
    const auto seed = quint32(wholeNumberOption(c, QStringLiteral("seed"), 0, 4294967295LL));
    // The directory may stand as the argument, as for init.
    std::unique_ptr<Database> db = c.arguments.isEmpty() ? c.openDatabase() : Database::open(c.arguments.first());
    requireTable(*db, QStringLiteral("Aktualne"));
    QElapsedTimer timer;
    timer.start();
    try {
        addDemoApplications(*db, count, seed);
    } catch (const core::DbError &e) {
        QString advice = applicationLayoutAdvice(*db, QStringLiteral("Aktualne"), false);
        bool older = false;
        if (advice.isEmpty() && db->tableExists(QStringLiteral("param"))
            && layoutDifferences(data::paramTableDef(), db->tableDef(QStringLiteral("param")),
                                 data::paramFieldsAddedByUpgrades(), older)
                   .isEmpty()
            && older)
            advice = QStringLiteral("tabela param ma układ sprzed aktualizacji programu. Uruchom raz program Varnel, "
                                    "który ją uaktualni, i powtórz polecenie.");
        throw CommandError(withEngineText(advice, e) + QStringLiteral("\nNie dopisano żadnego wniosku."));
    }
    c.out << QStringLiteral("Dopisano %1 do tabeli Aktualne w bazie %2 (ziarno %3, %4 s).\n")
                 .arg(polishCount(count, QStringLiteral("wniosek"), QStringLiteral("wnioski"), QStringLiteral("wniosków")),
                      db->directory())
                 .arg(seed)
                 .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1);
}

// ---------------------------------------------------------------------------
// recalc

// The allowance of every application of a table computed again, with no
// questions asked: one line for each application whose data do not allow a
// valid result, and a summary.
void runRecalc(CommandContext &c) {
    std::unique_ptr<Database> db = c.openDatabase();
    const QString table = c.parser.isSet(QStringLiteral("table")) ? c.parser.value(QStringLiteral("table"))
                                                                   : QStringLiteral("Aktualne");
    const QString name = requireTable(*db, table);
    const calc::Rules rules = c.parser.isSet(QStringLiteral("old-rules")) ? calc::Rules::Before2002 : calc::Rules::Current;
    QElapsedTimer timer;
    timer.start();
    QStringList invalid;  // told after the run: a failed run changes nothing and lists nobody
    calc::BulkRecalcResult r;
    try {
        r = calc::recalcAll(*db, name, rules, [&invalid](const QString &who) { invalid << who; });
    } catch (const core::DbError &e) {
        throw CommandError(withEngineText(applicationLayoutAdvice(*db, name, true), e)
                           + QStringLiteral("\nPrzeliczenie przerwano; żaden wniosek nie został zmieniony."));
    }
    for (const QString &who : invalid)
        c.out << who << '\n';
    c.out << QStringLiteral("Przeliczono %1 w tabeli %2 (%3 s); bez poprawnego wyniku: %4.\n")
                 .arg(polishCount(r.rows, QStringLiteral("wniosek"), QStringLiteral("wnioski"), QStringLiteral("wniosków")), name)
                 .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1)
                 .arg(r.invalid);
    if (r.indexWarnings > 0)
        c.out << QStringLiteral("Uwaga: %1 ma wskaźnik procentowy spoza zakresu 50-90.\n")
                     .arg(polishCount(r.indexWarnings, QStringLiteral("wniosek"), QStringLiteral("wnioski"),
                                      QStringLiteral("wniosków")));
}

// ---------------------------------------------------------------------------
// describe

void printColumns(QTextStream &out, const QList<QStringList> &rows) {
    QList<qsizetype> widths;
    for (const auto &row : rows)
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths << 0;
            widths[i] = std::max(widths[i], row[i].size());
        }
    for (const auto &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out << line << '\n';
    }
}

void runDescribe(CommandContext &c) {
    std::unique_ptr<Database> db = c.openDatabaseToRead();
    const QString name = requireTable(*db, c.arguments.first());
    const data::TableDef def = db->tableDef(name);
    data::Table t(*db, name);
    t.open();
    c.out << QStringLiteral("Tabela %1: %2, %3, %4\n\n")
                 .arg(def.name,
                      polishCount(def.fields.size(), QStringLiteral("pole"), QStringLiteral("pola"), QStringLiteral("pól")),
                      polishCount(def.indexes.size(), QStringLiteral("indeks"), QStringLiteral("indeksy"),
                                  QStringLiteral("indeksów")),
                      polishCount(t.recordCount(), QStringLiteral("wiersz"), QStringLiteral("wiersze"),
                                  QStringLiteral("wierszy")));

    QList<QStringList> fields{{QStringLiteral("Nr"), QStringLiteral("Pole"), QStringLiteral("Typ"),
                               QStringLiteral("Rozmiar"), QStringLiteral("Wymagane")}};
    for (int i = 0; i < def.fields.size(); ++i) {
        const data::FieldDef &f = def.fields[i];
        fields << QStringList{QString::number(i + 1).rightJustified(2), f.name, data::fieldTypeName(f.type),
                              f.type == data::FieldType::Text && f.size > 0 ? QString::number(f.size) : QString(),
                              f.required ? QStringLiteral("tak") : QString()};
    }
    printColumns(c.out, fields);

    c.out << '\n';
    if (def.indexes.isEmpty()) {
        c.out << QStringLiteral("Tabela nie ma indeksów: wiersze są w kolejności dopisania.\n");
        return;
    }
    QList<QStringList> indexes{{QStringLiteral("Indeks"), QStringLiteral("Pola"), QStringLiteral("Opcje")}};
    for (const data::IndexDef &ix : def.indexes)
        indexes << QStringList{ix.isPrimary() ? QStringLiteral("(primary)") : ix.name,
                               ix.fields.join(QStringLiteral(", ")), ix.options ? indexOptionsText(ix.options) : QString()};
    printColumns(c.out, indexes);
}

// ---------------------------------------------------------------------------
// export, import

void runExport(CommandContext &c) {
    const QString directory = c.databaseDirectory();
    const QString path = c.parser.value(QStringLiteral("out"));
    if (!path.isEmpty())
        refuseOwnPath(directory, path);
    std::unique_ptr<Database> db = Database::openReadOnly(directory);
    const QString name = requireTable(*db, c.arguments.first());
    if (path.isEmpty()) {
        exportTableCsv(*db, name, c.out);
        c.out.flush();
        if (c.out.status() != QTextStream::Ok)
            throw CommandError(QStringLiteral("nie udało się zapisać danych na standardowe wyjście."));
        return;
    }
    // Personal data and passwords: readable by the owner only, written aside
    // and put in place at the end, so a failure leaves the old file.
    core::PrivateFile file(path);
    if (!file.open())
        throw CommandError(file.errorString());
    QTextStream stream(file.device());
    stream.setEncoding(QStringConverter::Utf8);
    const int rows = exportTableCsv(*db, name, stream);
    stream.flush();
    if (stream.status() != QTextStream::Ok)
        throw CommandError(QStringLiteral("nie można zapisać pliku %1: %2").arg(path, file.device()->errorString()));
    if (!file.commit())
        throw CommandError(file.errorString());
    c.out << QStringLiteral("Zapisano %1 tabeli %2 do pliku %3.\n")
                 .arg(polishCount(rows, QStringLiteral("wiersz"), QStringLiteral("wiersze"), QStringLiteral("wierszy")),
                      name, path);
}

void runImport(CommandContext &c) {
    std::unique_ptr<Database> db = c.openDatabase();
    const QString name = requireTable(*db, c.arguments.at(0));
    const QString path = c.arguments.at(1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(QStringLiteral("nie można otworzyć pliku %1: %2").arg(path, file.errorString()));
    ImportResult result;
    try {
        result = importTableCsv(*db, name, file);  // read piece by piece
    } catch (const ImportError &e) {
        throw CommandError(QStringLiteral("%1: %2\nNie dopisano żadnego wiersza z tego pliku.").arg(path, e.message()));
    }
    if (file.error() != QFileDevice::NoError)
        throw CommandError(QStringLiteral("nie można odczytać pliku %1: %2").arg(path, file.errorString()));
    for (const QString &skipped : result.skippedColumns)
        c.err << QStringLiteral("Kolumnę %1 pominięto: numery w niej nadaje baza danych.\n").arg(skipped);
    if (result.cutTexts > 0)
        c.err << QStringLiteral("Uwaga: %1 dłuższych niż pole obcięto do rozmiaru pola (pierwszy: wiersz %2, kolumna %3).\n")
                     .arg(polishCount(result.cutTexts, QStringLiteral("tekst"), QStringLiteral("teksty"),
                                      QStringLiteral("tekstów")))
                     .arg(result.firstCutLine)
                     .arg(result.firstCutColumn);
    c.out << QStringLiteral("Dopisano %1 do tabeli %2.\n")
                 .arg(polishCount(result.rows, QStringLiteral("wiersz"), QStringLiteral("wiersze"), QStringLiteral("wierszy")),
                      name);
}

// ---------------------------------------------------------------------------
// backup, restore, check

QString megabytes(qint64 bytes) { return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1); }

void runBackup(CommandContext &c) {
    const QString directory = c.databaseDirectory();
    const QString path = c.arguments.first();
    refuseOwnPath(directory, path);
    std::unique_ptr<Database> db = Database::openReadOnly(directory);
    core::PrivateFile file(path);
    if (!file.open())
        throw CommandError(file.errorString());
    db->backupTo(file.temporaryPath());
    if (!file.commit())
        throw CommandError(file.errorString());
    c.out << QStringLiteral("Zapisano kopię bazy danych z katalogu %1 do pliku %2 (%3 MB).\n"
                            "Sprawdzenie kopii: varnel-admin check %2\n"
                            "Odtworzenie bazy z kopii: varnel-admin restore %2\n")
                 .arg(db->directory(), file.targetPath(), megabytes(QFileInfo(file.targetPath()).size()));
}

QString countOfProblems(qsizetype n) {
    return polishCount(n, QStringLiteral("problem"), QStringLiteral("problemy"), QStringLiteral("problemów"));
}

void runRestore(CommandContext &c) {
    const QString directory = c.databaseDirectory();
    const QString source = c.arguments.first();
    if (Database::isOwnPath(directory, source))
        throw CommandError(QStringLiteral("plik %1 należy do bazy danych w katalogu %2, a nie jest jej kopią. Wskaż "
                                          "plik zapisany poleceniem varnel-admin backup.")
                               .arg(source, QDir(directory).absolutePath()));
    // A damaged copy, or a file of another program, does not replace the
    // database.
    {
        CheckReport report;
        try {
            report = checkDatabase(*Database::openCopy(source));
        } catch (const core::DbError &e) {
            throw CommandError(QStringLiteral("kopia %1 nie nadaje się do odtworzenia bazy: %2").arg(source, e.message()));
        }
        if (!report.ok())
            throw CommandError(QStringLiteral("kopia %1 nie przeszła sprawdzenia (%2), więc nie zastąpi bazy danych:\n  %3")
                                   .arg(source, countOfProblems(report.findings.size()),
                                        report.findings.join(QStringLiteral("\n  "))));
    }
    const QString kept = Database::restore(directory, source);
    c.out << QStringLiteral("Odtworzono bazę danych w katalogu %1 z kopii %2.\n").arg(QDir(directory).absolutePath(), source);
    if (!kept.isEmpty())
        c.out << QStringLiteral("Zastąpiony plik bazy zachowano jako %1; usuń go, gdy nie będzie potrzebny.\n").arg(kept);
}

void runCheck(CommandContext &c) {
    std::unique_ptr<Database> db =
        c.arguments.isEmpty() ? c.openDatabaseToRead() : Database::openCopy(c.arguments.first());
    CheckReport report;
    try {
        report = checkDatabase(*db);
    } catch (const core::DbError &e) {
        report.findings << e.message();
    }
    c.out << QStringLiteral("Sprawdzono plik %1: spójność pliku, %2 dostarczanych z bazą, %3.\n")
                 .arg(db->filePath(),
                      polishCount(report.tables, QStringLiteral("tabelę"), QStringLiteral("tabele"), QStringLiteral("tabel")),
                      polishCount(report.archives, QStringLiteral("archiwum"), QStringLiteral("archiwa"),
                                  QStringLiteral("archiwów")));
    for (const QString &finding : report.findings)
        c.out << QStringLiteral("Problem: ") << finding << '\n';
    for (const QString &note : report.notes)
        c.out << QStringLiteral("Uwaga: ") << note << '\n';
    if (report.ok()) {
        c.out << QStringLiteral("Wynik: w porządku.\n");
        return;
    }
    c.out << QStringLiteral("Wynik: %1; baza danych nie jest taka, jakiej oczekuje program.\n")
                 .arg(countOfProblems(report.findings.size()));
    c.failed = true;
}

// ---------------------------------------------------------------------------
// migrate

void runMigrate(CommandContext &c) {
    if (!c.databaseOption().isEmpty())
        throw CommandError(QStringLiteral("katalogi podaj jako argumenty: varnel-admin migrate STARY_KATALOG NOWY_KATALOG"));
    const QString dir = QFileInfo(c.arguments.at(1)).absoluteFilePath();
    const bool directoryExisted = QFileInfo(dir).isDir();
    QElapsedTimer timer;
    timer.start();
    const MigrationReport report = migrateOffice(c.arguments.at(0), dir, [&c](const QString &what) {
        c.err << what << '\n';
        c.err.flush();
    });
    QString aliasNote;
    if (c.parser.isSet(QStringLiteral("alias")))
        aliasNote = writeAliasOrUndo(dir, [&] {
            for (const QString &t : report.templates)
                QFile::remove(QDir(dir).filePath(t));
            removeDatabaseFiles(dir, !directoryExisted);
        });
    printMigrationReport(report, c.out);
    c.out << '\n' << aliasNote
          << QStringLiteral("Czas: %1 s.\n").arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1);
}

}  // namespace

// The commands of varnel-admin. A new command is one entry here and its
// function above; --db and --help are added to every command by runAdmin.
const std::vector<Command> &adminCommands() {
    static const std::vector<Command> commands = {
        {QStringLiteral("init"),
         QStringLiteral("init KATALOG [--alias]"),
         QStringLiteral("tworzy nową bazę danych z tabelami i danymi startowymi"),
         QStringLiteral(
             "Tworzy w katalogu KATALOG (zakładanym, gdy go nie ma) nową bazę danych: plik .varnel/varnel.sqlite\n"
             "ze wszystkimi tabelami dostarczanymi z bazą. Wypełnia wiersz parametrów (param) bieżącymi kwotami\n"
             "i wzorcami, słowniki typowymi pozycjami, zakłada użytkownika ADMIN z hasłem ADMIN i oboma\n"
             "uprawnieniami oraz wiersze ustawień wydruku list (skladlist) i zestawienia wydatków (skladlic).\n"
             "Obok bazy zapisuje dwa przykładowe wzorce list: lista_zarzadcy.lsa i lista_wnioskodawcow.lsa.\n"
             "Nie nadpisuje istniejącej bazy. Baza powstaje pod nazwą tymczasową i dostaje swoją nazwę dopiero\n"
             "gotowa: po błędzie albo przerwaniu nie zostaje żaden plik bazy i init można powtórzyć. Katalog\n"
             "i plik bazy są dostępne tylko dla właściciela.\n"
             "Katalog można też podać przez --db."),
         {aliasOption()},
         0,
         1,
         runInit},
        {QStringLiteral("migrate"),
         QStringLiteral("migrate STARY_KATALOG NOWY_KATALOG [--alias]"),
         QStringLiteral("przenosi bazę danych starego systemu (tabele Paradoksu) do nowej bazy"),
         QStringLiteral(
             "Tworzy w katalogu NOWY_KATALOG (nowym albo pustym) nową bazę danych jak init i wypełnia ją\n"
             "tabelami Paradoksu z katalogu STARY_KATALOG: wnioski (Aktualne), archiwa arMMRRRR z listą\n"
             "ArcLista, parametry, słowniki, użytkowników i ustawienia, pod nazwami i w układzie programu.\n"
             "Tabele w starszym układzie przechodzą aktualizacje programu (1.14.1, 1.15.2, 1.16); numery\n"
             "NrEw i Auto zostają jak były. Teksty są czytane w stronie kodowej ze sterownika języka tabeli\n"
             "(Windows-1250 albo DOS 852). Szablony *.fmz i *.lsa są kopiowane bez zmian. Stary katalog\n"
             "jest tylko czytany. Całość jest jedną transakcją: po błędzie nie zostaje żadna baza.\n"
             "Na końcu wypisuje raport: wiersze odczytane i zapisane, aktualizacje, strony kodowe i każdą\n"
             "wartość zmienioną, bo nie mieściła się w regułach pól."),
         {aliasOption()},
         2,
         2,
         runMigrate},
        {QStringLiteral("demo"),
         QStringLiteral("demo [KATALOG] [--count N] [--seed S] [--db KATALOG]"),
         QStringLiteral("dopisuje przykładowe wnioski do tabeli Aktualne"),
         QStringLiteral(
             "Dopisuje do bieżących wniosków (tabela Aktualne) N zmyślonych, lecz realistycznych wniosków:\n"
             "polskie nazwiska i adresy, gospodarstwa od 1 do 9 osób, dochody, czynsze, ryczałty i okresy\n"
             "przyznania. Zarządców, tytuły prawne, statusy lokali i sposoby ogrzewania bierze ze słowników\n"
             "bazy, a wzorzec numeru decyzji, termin płatności i kwoty z tabeli param. To samo ziarno na tej\n"
             "samej bazie daje te same wnioski. Pola wyliczane przez obliczenie dodatku pozostają puste\n"
             "(wypełnia je recalc). Bazę wskazuje KATALOG, --db albo alias."),
         {QCommandLineOption(QStringLiteral("count"), QStringLiteral("liczba wniosków, od 1 do 1000000"),
                             QStringLiteral("N"), QStringLiteral("100")),
          QCommandLineOption(QStringLiteral("seed"), QStringLiteral("ziarno generatora liczb losowych"), QStringLiteral("S"),
                             QStringLiteral("1"))},
         0,
         1,
         runDemo},
        {QStringLiteral("describe"),
         QStringLiteral("describe TABELA [--db KATALOG]"),
         QStringLiteral("opisuje pola i indeksy tabeli"),
         QStringLiteral(
             "Wypisuje pola tabeli w kolejności (nazwa, typ, rozmiar tekstu, czy wymagane) i jej indeksy\n"
             "(nazwa albo (primary) dla indeksu głównego, pola klucza, opcje). Wielkość liter w nazwie\n"
             "tabeli i rozszerzenie .DB nie mają znaczenia. Bazę otwiera tylko do odczytu."),
         {},
         1,
         1,
         runDescribe},
        {QStringLiteral("export"),
         QStringLiteral("export TABELA [--out PLIK] [--db KATALOG]"),
         QStringLiteral("zapisuje tabelę jako CSV"),
         QStringLiteral(
             "Zapisuje wszystkie wiersze tabeli jako CSV (RFC 4180, UTF-8): pierwszy wiersz to nazwy pól,\n"
             "daty w postaci RRRR-MM-DD, liczby z kropką dziesiętną, wartości logiczne jako 1/0, pusta\n"
             "komórka to wartość pusta. Wiersze pochodzą z jednej chwili, także gdy inny program w tym czasie\n"
             "zmienia tabelę. Bez --out dane idą na standardowe wyjście. Plik wynikowy jest czytelny tylko dla\n"
             "właściciela (dane osobowe, w tabeli uspass hasła) i dostaje swoją nazwę dopiero zapisany w całości.\n"
             "Nie może być plikiem bazy danych ani urządzeniem czy potokiem."),
         {QCommandLineOption(QStringLiteral("out"), QStringLiteral("plik wynikowy zamiast standardowego wyjścia"),
                             QStringLiteral("PLIK"))},
         1,
         1,
         runExport},
        {QStringLiteral("import"),
         QStringLiteral("import TABELA PLIK [--db KATALOG]"),
         QStringLiteral("dopisuje do tabeli wiersze z pliku CSV"),
         QStringLiteral(
             "Dopisuje do tabeli wiersze pliku CSV w postaci, jaką zapisuje export. Kolumny są przypisane\n"
             "do pól według nazw w nagłówku (bez względu na wielkość liter); pól, których nie ma w pliku,\n"
             "nie wypełnia. Wartości logiczne: 1, 0, true, false. Obowiązują reguły pól: za długi tekst\n"
             "jest obcinany do rozmiaru pola (z ostrzeżeniem), liczby muszą mieścić się w zakresie typu,\n"
             "pola wymagane muszą mieć wartość (tekst z samych spacji to wartość pusta), daty nie mogą być\n"
             "wcześniejsze niż 1900-01-01, teksty nie mogą zawierać znaków sterujących (pola memo przyjmują\n"
             "tabulator i koniec wiersza). Kolumny pól autoinc (np. NrEw) są pomijane: numery nowym\n"
             "wierszom nadaje baza. Plik z nieznaną kolumną albo wartością, która nie pasuje do pola, jest\n"
             "odrzucany w całości, z numerem wiersza i kolumny: nie zostaje z niego żaden wiersz."),
         {},
         2,
         2,
         runImport},
        {QStringLiteral("recalc"),
         QStringLiteral("recalc [--table TABELA] [--old-rules] [--db KATALOG]"),
         QStringLiteral("przelicza dodatki wszystkich wniosków tabeli"),
         QStringLiteral(
             "Oblicza na nowo dodatek każdego wniosku tabeli (domyślnie bieżących wniosków, Aktualne),\n"
             "w kolejności nazwisk, bez pytań, i zapisuje wyniki we wnioskach. Wypisuje nazwisko i imię\n"
             "każdego wniosku, którego dane nie dają poprawnego wyniku, i podsumowanie. Całość jest jedną\n"
             "transakcją: po błędzie żaden wniosek nie zostaje zmieniony. Z --old-rules liczy według zasad\n"
             "sprzed 2002 roku (dla archiwów)."),
         {QCommandLineOption(QStringLiteral("table"), QStringLiteral("tabela wniosków, np. archiwum ar041999"),
                             QStringLiteral("TABELA")),
          QCommandLineOption(QStringLiteral("old-rules"), QStringLiteral("zasady sprzed 1.01.2002 r."))},
         0,
         0,
         runRecalc},
        {QStringLiteral("backup"),
         QStringLiteral("backup PLIK [--db KATALOG]"),
         QStringLiteral("zapisuje kopię całej bazy danych, także w czasie pracy programu"),
         QStringLiteral(
             "Zapisuje do pliku PLIK spójną kopię całej bazy danych (wszystkich tabel, archiwów i użytkowników),\n"
             "pobraną mechanizmem kopii bieżącej SQLite: program Varnel i inne polecenia mogą w tym czasie\n"
             "pracować, a kopia przedstawia bazę w jednej chwili. Plik jest czytelny tylko dla właściciela\n"
             "(zawiera dane osobowe i hasła) i powstaje pod nazwą tymczasową, przemianowaną na PLIK dopiero po\n"
             "zapisaniu całości: po błędzie poprzedni PLIK zostaje bez zmian. PLIK nie może być plikiem bazy.\n"
             "Kopię sprawdza varnel-admin check PLIK, a przywraca varnel-admin restore PLIK."),
         {},
         1,
         1,
         runBackup},
        {QStringLiteral("restore"),
         QStringLiteral("restore PLIK [--db KATALOG]"),
         QStringLiteral("odtwarza bazę danych z kopii"),
         QStringLiteral(
             "Zastępuje bazę danych katalogu kopią z pliku PLIK (zapisaną poleceniem backup). Najpierw sprawdza\n"
             "kopię jak polecenie check i odmawia, gdy kopia ma problemy. Odmawia też, gdy bazy ktoś używa\n"
             "(program Varnel na którymkolwiek stanowisku albo inne polecenie varnel-admin): zakończ wtedy ich\n"
             "pracę i powtórz polecenie. Zastąpiony plik bazy zostaje obok niej pod nazwą z datą i godziną\n"
             "odtworzenia (varnel.sqlite.przed-odtworzeniem-RRRRMMDD-GGMMSS), więc nic nie przepada."),
         {},
         1,
         1,
         runRestore},
        {QStringLiteral("check"),
         QStringLiteral("check [PLIK] [--db KATALOG]"),
         QStringLiteral("sprawdza spójność bazy danych i układ jej tabel"),
         QStringLiteral(
             "Sprawdza plik bazy danych (albo kopię PLIK): spójność pliku (PRAGMA integrity_check SQLite, z\n"
             "polskim porządkiem indeksów, którego zwykłe narzędzia SQLite nie znają) oraz układ tabel\n"
             "dostarczanych z bazą i archiwów (arMMRRRR): pola, ich typy, rozmiary, kolejność i indeksy, tak\n"
             "jak oczekuje ich program. Wypisuje każdy problem, uwagi (np. archiwum w układzie sprzed\n"
             "aktualizacji, które program sam uaktualni) i jednowierszowy wynik. Kod wyjścia 1, gdy znalazł\n"
             "jakikolwiek problem. Niczego nie zmienia."),
         {},
         0,
         1,
         runCheck},
        listCommand(),
        totalsCommand(),
        decisionCommand(),
        closeMonthCommand(),
        archivesCommand(),
        expiredCommand(),
    };
    return commands;
}

bool commandNeedsGui(const QString &name) {
    for (const Command &c : adminCommands())
        if (c.name == name)
            return c.needsGui;
    return false;
}

}  // namespace varnel::cli
