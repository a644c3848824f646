#include "cli/OfficeDatabase.h"

#include "data/Database.h"
#include "core/DbError.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "lists/ExampleTemplates.h"
#include "templates/ExampleTemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varnel::cli {

using data::Database;
using data::Table;

namespace {

struct Manager {
    const char *opis;
    bool wlasnGminy;
};

// Typical entries of the dictionaries of a municipal office; the office
// changes them in the program's dictionary windows.
const char *const LegalTitles[] = {
    "najem",
    "podnajem",
    "spółdzielcze lokatorskie",
    "spółdzielcze własnościowe",
    "własność",
    "inny tytuł prawny",
    "brak tytułu prawnego",
};
const char *const DwellingStatuses[] = {
    "komunalne", "spółdzielcze", "zakładowe", "własnościowe", "prywatne", "TBS", "inne",
};
const char *const DwellingHeating[] = {
    "c.o. z sieci miejskiej", "c.o. z kotłowni lokalnej", "piec kaflowy", "ogrzewanie elektryczne", "ogrzewanie gazowe",
};
const char *const WaterHeating[] = {
    "ciepła woda z sieci", "piecyk gazowy", "bojler elektryczny", "podgrzewacz węglowy", "brak ciepłej wody",
};
const Manager Managers[] = {
    {"Zakład Gospodarki Mieszkaniowej", true},
    {"Administracja Domów Komunalnych nr 2", true},
    {"Miejskie Towarzystwo Budownictwa Społecznego", true},
    {"Spółdzielnia Mieszkaniowa \"Przyszłość\"", false},
    {"Spółdzielnia Mieszkaniowa \"Zgoda\"", false},
    {"Wspólnota Mieszkaniowa ul. Lipowa 12", false},
    {"Zakłady Włókiennicze \"Dzianina\" - osiedle", false},
};

QString u(const char *s) { return QString::fromUtf8(s); }

void addDictionary(Database &db, const QString &table, const char *const *entries, size_t count) {
    Table t(db, table);
    t.open();
    for (size_t i = 0; i < count; ++i) {
        t.insert();
        t.field(QStringLiteral("Opis")).setString(u(entries[i]));
        t.field(QStringLiteral("BylModi")).setBoolean(false);
        t.post();
    }
}

template <size_t N>
void addDictionary(Database &db, const QString &table, const char *const (&entries)[N]) {
    addDictionary(db, table, entries, N);
}

void addParameters(Database &db) {
    const StartingParameters p = startingParameters();
    Table t(db, QStringLiteral("param"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Min_emeryt")).setCurrency(p.minEmeryt);
    t.field(QStringLiteral("Koszt_kwh")).setFloat(p.kosztKwh);
    t.field(QStringLiteral("Wzor_NrDec")).setString(p.wzorNrDec);
    t.field(QStringLiteral("Wzor_PlatneDo")).setString(p.wzorPlatneDo);
    // No default period: the office sets it for each granting round.
    t.field(QStringLiteral("AlgorytmSortowania")).setInteger(p.algorytmSortowania);
    t.field(QStringLiteral("DrukujMetryczke")).setBoolean(true);
    t.field(QStringLiteral("DrukujStopke")).setBoolean(true);
    t.field(QStringLiteral("Stopka"))
        .setString(u("Sprawę prowadzi: Sekcja Dodatków Mieszkaniowych, pokój 12, tel. 46 855 20 12\n"
                     "Otrzymują: 1. Wnioskodawca  2. Zarządca budynku  3. a/a"));
    t.field(QStringLiteral("MetrFontName")).setString(QStringLiteral("Courier New"));
    t.field(QStringLiteral("MetrFontHeight")).setInteger(8);
    t.field(QStringLiteral("StopkaFontName")).setString(QStringLiteral("Times New Roman"));
    t.field(QStringLiteral("StopkaFontHeight")).setInteger(9);
    t.field(QStringLiteral("WskaznikProc")).setInteger(p.wskaznikProc);
    t.post();
}

void addManagers(Database &db) {
    Table t(db, QStringLiteral("zarzadcy"));
    t.open();
    for (const Manager &m : Managers) {
        t.insert();
        t.field(QStringLiteral("Opis")).setString(u(m.opis));
        t.field(QStringLiteral("BylModi")).setBoolean(false);
        t.field(QStringLiteral("Wlasn_gminy")).setBoolean(m.wlasnGminy);
        t.post();
    }
}

void addAdministrator(Database &db) {
    Table t(db, QStringLiteral("uspass"));
    t.open();
    t.insert();
    t.field(QStringLiteral("User")).setString(QStringLiteral("ADMIN"));
    t.field(QStringLiteral("Pass")).setString(QStringLiteral("ADMIN"));
    t.field(QStringLiteral("ModiUsers")).setBoolean(true);
    t.field(QStringLiteral("ModiDict")).setBoolean(true);
    t.post();
}

// The settings rows hold the texts of the chosen radio items: all
// applications, all managers, alphabetical order, no period filter.
void addSettings(Database &db) {
    {
        Table t(db, QStringLiteral("skladlist"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Kogo")).setString(QStringLiteral("Wszystkich"));
        t.field(QStringLiteral("Sort")).setString(QStringLiteral("Alfabetycznie"));
        t.field(QStringLiteral("WygladRamki")).setBoolean(true);
        t.field(QStringLiteral("WygladNrStrony")).setBoolean(true);
        t.field(QStringLiteral("PodkrWiersz")).setBoolean(false);
        t.field(QStringLiteral("Wszyscy")).setBoolean(true);
        t.field(QStringLiteral("CtrlOkres")).setBoolean(false);
        t.post();
    }
    {
        Table t(db, QStringLiteral("skladlic"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Kogo")).setString(QStringLiteral("Wszystkich"));
        t.field(QStringLiteral("CtrlOkres")).setBoolean(false);
        t.field(QStringLiteral("Wszyscy")).setBoolean(true);
        t.field(QStringLiteral("LiczDotacje")).setBoolean(false);
        t.field(QStringLiteral("Wzor")).setString(QStringLiteral("automatycznie"));
        t.post();
    }
}

}  // namespace

StartingParameters startingParameters() {
    StartingParameters p;
    p.minEmeryt = 1780.96;
    p.kosztKwh = 0.75;
    p.wzorNrDec = QStringLiteral("SM.5322/");
    p.wzorPlatneDo = u("do 10 dnia każdego miesiąca");
    p.wskaznikProc = 70;
    p.algorytmSortowania = 2;
    return p;
}

void fillNewDatabase(Database &db) {
    data::Transaction tx(db);
    for (const data::TableDef &def : data::deliveredTables())
        db.createTable(def);
    addParameters(db);
    addManagers(db);
    addDictionary(db, QStringLiteral("tytprawn"), LegalTitles);
    addDictionary(db, QStringLiteral("statlok"), DwellingStatuses);
    addDictionary(db, QStringLiteral("ogrzlok"), DwellingHeating);
    addDictionary(db, QStringLiteral("ogrzwody"), WaterHeating);
    addAdministrator(db);
    addSettings(db);
    tx.commit();
}

void fillNewDirectory(Database &db, const std::function<void(Database &)> &fillFurther) {
    {
        data::Transaction tx(db);
        fillNewDatabase(db);
        if (fillFurther)
            fillFurther(db);
        tx.commit();
    }
    lists::writeExampleListTemplates(db.directory());
    templates::writeExampleDecision(db.directory());
}

std::unique_ptr<Database> createOfficeDatabase(const QString &directory,
                                               const std::function<void(Database &)> &fillFurther) {
    const bool directoryExisted = QFileInfo(directory).isDir();
    const bool hadDatabase = QFileInfo::exists(Database::filePathIn(directory));
    try {
        return Database::createComplete(directory, [&](Database &db) { fillNewDirectory(db, fillFurther); });
    } catch (...) {
        // What the filling wrote beside the database goes with it.
        if (!hadDatabase) {
            lists::removeExampleListTemplates(directory);
            templates::removeExampleDecision(directory);
            if (!directoryExisted)
                QDir().rmdir(QDir(directory).absolutePath());
        }
        throw;
    }
}

void removeDatabaseFiles(const QString &directory, bool removeDirectory) {
    const QDir dir(directory);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (!Database::isOwnPath(directory, entry.absoluteFilePath()))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
    lists::removeExampleListTemplates(directory);
    templates::removeExampleDecision(directory);
    if (removeDirectory)
        QDir().rmdir(QDir(directory).absolutePath());
}

}  // namespace varnel::cli
