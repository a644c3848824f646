#include "cli/AdminTool.h"
#include "cli/Migration.h"
#include "cli/ParadoxTable.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Upgrade.h"
#include "support/AdminRun.h"
#include "support/OldLayouts.h"
#include "support/ParadoxFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::cli;
using namespace varnel::data;
using test::PxColumn;
using test::PxTableContents;

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

// A value for a field of the application record in row `row`: Polish
// letters in every text, distinct numbers and dates.
QVariant sample(const FieldDef &f, int row) {
    switch (f.type) {
    case FieldType::Text: {
        if (f.size == 3)
            return row % 2 ? u("Nie") : u("Tak");
        const QString s = u("Zażółć gęślą jaźń %1 %2").arg(f.name).arg(row);
        return s.left(f.size);
    }
    case FieldType::Memo: return u("Łódź, ul. Źródlana %1").arg(row);
    case FieldType::SmallInt: return 3 + row;
    case FieldType::Integer: return 1000 + row;
    case FieldType::AutoInc: return QVariant();
    case FieldType::Float: return 12.5 + row * 0.25;
    case FieldType::Currency: return 123.45 + row;
    case FieldType::Date: return QDate(1950 + row, 3, 14);
    case FieldType::Boolean: return row % 2 == 0;
    }
    return QVariant();
}

bool sameValue(FieldType type, const QVariant &a, const QVariant &b) {
    if (a.isValid() != b.isValid())
        return false;
    if (!a.isValid())
        return true;
    switch (type) {
    case FieldType::Date: return a.toDate() == b.toDate();
    case FieldType::Boolean: return a.toBool() == b.toBool();
    case FieldType::Text:
    case FieldType::Memo: return a.toString() == b.toString();
    default: return a.toDouble() == b.toDouble();
    }
}

// The rows of a table of the new database by field name, in primary-key order.
QVector<QVariantMap> rowsOf(Database &db, const QString &table) {
    Table t(db, table);
    t.open();
    QVector<QVariantMap> rows;
    for (t.first(); !t.eof(); t.next()) {
        QVariantMap row;
        for (int i = 0; i < t.fieldCount(); ++i)
            row[t.fieldDef(i).name] = t.value(i);
        rows << row;
    }
    return rows;
}

// Every file under a directory with its checksum and modification time.
QMap<QString, QString> fingerprint(const QString &dir) {
    QMap<QString, QString> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        out[path] = QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex())
                    + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs);
    }
    return out;
}

// An old database directory beside the place of the new one.
class MigrationTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString oldDir() const { return root.filePath(QStringLiteral("stara")); }
    QString newDir() const { return root.filePath(QStringLiteral("nowa")); }
    void SetUp() override { QDir().mkpath(oldDir()); }

    void write(const QString &file, const PxTableContents &contents) { test::writeParadoxTable(QDir(oldDir()).filePath(file), contents); }

    // Applications in the layout `def` with the given numbers, every field filled.
    PxTableContents applications(const TableDef &def, const QVector<int> &numbers, int codePage = 1250) {
        PxTableContents contents;
        contents.columns = test::paradoxColumns(def);
        contents.codePage = codePage;
        contents.keyFields = 1;
        for (int r = 0; r < numbers.size(); ++r) {
            QVariantMap row;
            for (const FieldDef &f : def.fields)
                row[f.name] = f.type == FieldType::AutoInc ? QVariant(numbers[r]) : sample(f, r);
            contents.rows << row;
        }
        return contents;
    }

    void writeParam(const QStringList &without = {}, double pension = 1234.56789, double kwh = 0.61) {
        const TableDef def = test::without(paramTableDef(), without);
        PxTableContents contents;
        contents.columns = test::paradoxColumns(def);
        contents.keyFields = 1;
        contents.rows << QVariantMap{{u("Auto"), 3},
                                 {u("Min_emeryt"), pension},
                                 {u("Koszt_kwh"), kwh},
                                 {u("Wzor_NrDec"), u("SM.5322/")},
                                 {u("AlgorytmSortowania"), 1},
                                 {u("DrukujStopke"), true},
                                 {u("Stopka"), u("Otrzymują: wnioskodawca, zarządca")},
                                 {u("WskaznikProc"), 65}};
        write(QStringLiteral("param.db"), contents);
    }

    MigrationReport migrate() { return migrateOffice(oldDir(), newDir()); }

    // The migration fails with a message containing `expected` and leaves
    // no new directory behind.
    void expectFailure(const QString &expected) {
        try {
            migrate();
            ADD_FAILURE() << "the migration did not fail";
        } catch (const CommandError &e) {
            EXPECT_TRUE(e.message().contains(expected)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(u("Nowej bazy nie utworzono"))) << e.message().toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(newDir()));
    }
};

const MigratedTable *entryFor(const MigrationReport &r, const QString &table) {
    for (const MigratedTable &t : r.tables)
        if (t.table == table)
            return &t;
    return nullptr;
}

}  // namespace

TEST_F(MigrationTest, CurrentRegisterKeepsEveryValueAndNumberAndReadsTheOldDirectoryOnly) {
    const TableDef def = applicationTableDef();
    PxTableContents contents = applications(def, {5, 9, 42});
    const QStringList blanks = {u("Data_urodz"), u("Liczba_osob"), u("Dochod_razem"), u("Ryczalt_CO"), u("Adres_nr")};
    for (const QString &f : blanks)
        contents.rows[1].remove(f);
    write(QStringLiteral("Aktualne.DB"), contents);
    writeParam();
    QFile fmz(QDir(oldDir()).filePath(QStringLiteral("Decyzja.fmz")));
    ASSERT_TRUE(fmz.open(QIODevice::WriteOnly));
    fmz.write("{\\rtf1\\ansi\\ansicpg1250 Decyzja nr @<Numer_decyzji>@ \xb9\xea\x9c}");  // in its old code page
    fmz.close();
    QFile lsa(QDir(oldDir()).filePath(QStringLiteral("lista.LSA")));
    ASSERT_TRUE(lsa.open(QIODevice::WriteOnly));
    lsa.write("Lista wyp\xb3" "at\r\n");
    lsa.close();
    const auto before = fingerprint(oldDir());

    const MigrationReport report = migrate();
    EXPECT_EQ(fingerprint(oldDir()), before);

    auto db = Database::open(newDir());
    EXPECT_EQ(db->tableDef(QStringLiteral("Aktualne")).fields, def.fields);
    const auto rows = rowsOf(*db, QStringLiteral("Aktualne"));
    ASSERT_EQ(rows.size(), 3);
    const int numbers[] = {5, 9, 42};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(rows[r].value(u("NrEw")).toInt(), numbers[r]);
        for (const FieldDef &f : def.fields) {
            if (f.type == FieldType::AutoInc)
                continue;
            EXPECT_TRUE(sameValue(f.type, rows[r].value(f.name), r == 1 && blanks.contains(f.name) ? QVariant() : sample(f, r)))
                << f.name.toStdString() << " row " << r << ": " << rows[r].value(f.name).toString().toStdString();
        }
    }
    // A new application goes on after the highest old number.
    test::addApplication(*db, QStringLiteral("Aktualne"), u("Nowak"));
    EXPECT_EQ(test::column(*db, QStringLiteral("Aktualne"), u("NrEw")).last().toInt(), 43);

    const MigratedTable *entry = entryFor(report, QStringLiteral("Aktualne"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->read, 3);
    EXPECT_EQ(entry->written, 3);
    EXPECT_TRUE(entry->upgrades.isEmpty());
    EXPECT_EQ(entry->codePage, u("Windows-1250"));
    EXPECT_FALSE(entry->unknownDriver);
    for (const ChangedValue &c : report.changes)
        ADD_FAILURE() << "changed: " << c.table.toStdString() << " " << c.field.toStdString() << " " << c.before.toStdString() << " " << c.reason.toStdString();

    // The templates arrive byte for byte.
    for (const char *name : {"Decyzja.fmz", "lista.LSA"}) {
        QFile a(QDir(oldDir()).filePath(QString::fromLatin1(name)));
        QFile b(QDir(newDir()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(a.readAll(), b.readAll()) << name;
    }
    EXPECT_EQ(report.templates.size(), 2);
    // The office's own list templates stand instead of the examples of a new database.
    EXPECT_FALSE(QFileInfo::exists(QDir(newDir()).filePath(u("lista_zarzadcy.lsa"))));
    EXPECT_FALSE(QFileInfo::exists(QDir(newDir()).filePath(u("decyzja.fmz"))));
}

TEST_F(MigrationTest, OlderArchivesAreUpgradedByTheProgramsStepsWithTheirListAmounts) {
    struct Case {
        const char *name;
        QStringList without;
        QStringList steps;  // beginnings of the upgrade names
    };
    const QList<Case> cases = {
        {"ar011999", test::FieldsSince1141, {u("1.14.1 (pełna"), u("1.15.2"), u("1.16")}},
        {"ar022000",
         {u("KosztKwh"), u("NajnEmeryt"), u("IlOsobNaWozku"), u("WskProc")},
         {u("1.14.1 (częściowa"), u("1.15.2"), u("1.16")}},
        {"ar032001", {u("IlOsobNaWozku"), u("WskProc")}, {u("1.15.2"), u("1.16")}},
        {"ar042002", {u("WskProc")}, {u("1.16")}},
    };
    PxTableContents list;
    list.columns = test::paradoxColumns(archiveListDef());
    list.keyFields = 1;
    for (int i = 0; i < cases.size(); ++i) {
        const TableDef def = test::without(applicationTableDef(QString::fromLatin1(cases[i].name)), cases[i].without);
        PxTableContents contents = applications(def, {2, 7, 11}, i % 2 ? 852 : 1250);
        contents.rows[1][u("Osoba_na_wozku")] = u("tak");  // only "Tak" counts as a wheelchair user
        write(QString::fromLatin1(cases[i].name).toUpper() + QStringLiteral(".DB"), contents);
        list.rows << QVariantMap{{u("Data_Key"), QDate(1999 + i, i + 1, 1)},
                                 {u("FileName"), QString::fromLatin1(cases[i].name)},
                                 {u("Data_str"), u("miesiąc %1").arg(i)},
                                 {u("NajnEmer"), 500.123456 + i},
                                 {u("KosztKwh"), 0.3 + i}};
    }
    list.rows << QVariantMap{{u("Data_Key"), QDate(1998, 12, 1)}, {u("FileName"), u("ar121998")}, {u("Data_str"), u("grudzień 1998")}};
    write(QStringLiteral("ArcLista.db"), list);

    const MigrationReport report = migrate();
    ASSERT_EQ(report.notes.size(), 1);  // a listed archive without its table is pointed out
    EXPECT_TRUE(report.notes[0].contains(u("ar121998"))) << report.notes[0].toStdString();

    auto db = Database::open(newDir());
    for (int i = 0; i < cases.size(); ++i) {
        const QString name = QString::fromLatin1(cases[i].name);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(db->tableDef(name).fields, applicationTableDef(name).fields);
        EXPECT_EQ(db->tableDef(name).indexes, applicationTableDef(name).indexes);
        const auto rows = rowsOf(*db, name);
        ASSERT_EQ(rows.size(), 3);
        const int numbers[] = {2, 7, 11};
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(rows[r].value(u("NrEw")).toInt(), numbers[r]);
            for (const FieldDef &f : applicationTableDef().fields) {
                if (f.type == FieldType::AutoInc || !f.name.compare(u("Osoba_na_wozku")))
                    continue;
                QVariant expected = sample(f, r);
                if (cases[i].without.contains(f.name)) {
                    if (f.name == u("Calosc_do_rak"))
                        expected = false;
                    else if (f.name == u("KosztKwh"))
                        expected = 0.3 + i;
                    else if (f.name == u("NajnEmeryt"))
                        expected = roundTo4Places(500.123456 + i);
                    else if (f.name == u("IlOsobNaWozku"))
                        expected = r == 1 ? 0 : 1;  // "Tak", "tak", "Tak"
                    else if (f.name == u("WskProc"))
                        expected = 70;
                }
                EXPECT_TRUE(sameValue(f.type, rows[r].value(f.name), expected))
                    << f.name.toStdString() << " row " << r << ": " << rows[r].value(f.name).toString().toStdString();
            }
        }
        const MigratedTable *entry = entryFor(report, name);
        ASSERT_NE(entry, nullptr);
        ASSERT_EQ(entry->upgrades.size(), cases[i].steps.size());
        for (int s = 0; s < cases[i].steps.size(); ++s)
            EXPECT_TRUE(entry->upgrades[s].startsWith(cases[i].steps[s])) << entry->upgrades[s].toStdString();
        EXPECT_EQ(entry->codePage, i % 2 ? u("DOS 852") : u("Windows-1250"));
    }
    // Without list templates of its own the office gets the examples.
    EXPECT_TRUE(QFileInfo::exists(QDir(newDir()).filePath(u("lista_zarzadcy.lsa"))));
    EXPECT_TRUE(QFileInfo::exists(QDir(newDir()).filePath(u("decyzja.fmz"))));
    // Neither the steps' copies of the old layouts nor work tables remain.
    for (const QString &t : db->tableNames())
        EXPECT_TRUE(!t.contains(u("_11")) && !t.contains(u("przeniesienie")) && t != u("Temp1")) << t.toStdString();
}

TEST_F(MigrationTest, AnOlderLayoutOfItsOwnIsUpgradedAndCopiedByFieldName) {
    // An archive that also lacks a field no upgrade adds and has one the
    // program does not know.
    const TableDef def = test::without(applicationTableDef(u("ar051999")), {u("WskProc"), u("Ryczalt_gaz")});
    PxTableContents contents = applications(def, {10, 20});
    contents.columns << PxColumn{u("Uwagi"), test::px::Alpha, 20};
    contents.rows[1][u("Uwagi")] = u("sprawdzić dochód");
    write(QStringLiteral("ar051999.db"), contents);

    const MigrationReport report = migrate();
    auto db = Database::open(newDir());
    EXPECT_EQ(db->tableDef(u("ar051999")).fields, applicationTableDef().fields);
    const auto rows = rowsOf(*db, u("ar051999"));
    ASSERT_EQ(rows.size(), 2);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(rows[r].value(u("NrEw")).toInt(), r == 0 ? 10 : 20);
        EXPECT_FALSE(rows[r].value(u("Ryczalt_gaz")).isValid());
        EXPECT_EQ(rows[r].value(u("WskProc")).toInt(), 70);
        EXPECT_EQ(rows[r].value(u("Nazwisko")).toString(), sample(def.fields[2], r).toString());
        EXPECT_TRUE(sameValue(FieldType::Currency, rows[r].value(u("Wydatki_razem90")), sample(def.fields[40], r)));
    }
    const MigratedTable *entry = entryFor(report, u("ar051999"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->notes.join(u("|")).contains(u("pole Ryczalt_gaz nie występuje w starej tabeli")));
    EXPECT_TRUE(entry->notes.join(u("|")).contains(u("pole Uwagi (alpha) nie należy do układu tabeli")));
    ASSERT_EQ(report.changes.size(), 1);  // the one value the unknown field held
    EXPECT_EQ(report.changes[0].field, u("Uwagi"));
    EXPECT_EQ(report.changes[0].before, u("sprawdzić dochód"));
    EXPECT_EQ(report.changes[0].key, u("NrEw 20"));
}

TEST_F(MigrationTest, RegisterAndParametersOfTheOldestLayoutTakeTheParameterAmounts) {
    const TableDef def = test::without(applicationTableDef(), test::FieldsSince1141);
    write(QStringLiteral("aktualne.db"), applications(def, {1, 4}));
    writeParam({u("WskaznikProc")}, 1234.56789, 0.61);

    const MigrationReport report = migrate();
    auto db = Database::open(newDir());
    const auto param = rowsOf(*db, QStringLiteral("param"));
    ASSERT_EQ(param.size(), 1);
    EXPECT_EQ(db->tableDef(QStringLiteral("param")).fields, paramTableDef().fields);
    EXPECT_EQ(param[0].value(u("Auto")).toInt(), 3);
    EXPECT_EQ(param[0].value(u("WskaznikProc")).toInt(), 70);
    EXPECT_EQ(param[0].value(u("Stopka")).toString(), u("Otrzymują: wnioskodawca, zarządca"));
    EXPECT_DOUBLE_EQ(param[0].value(u("Min_emeryt")).toDouble(), 1234.56789);
    EXPECT_DOUBLE_EQ(param[0].value(u("Koszt_kwh")).toDouble(), 0.61);
    EXPECT_EQ(param[0].value(u("Wzor_NrDec")).toString(), u("SM.5322/"));
    EXPECT_EQ(param[0].value(u("AlgorytmSortowania")).toInt(), 1);
    EXPECT_TRUE(param[0].value(u("DrukujStopke")).toBool());
    for (const char *blank : {"Wzor_PlatneDo", "Wzor_OkresOd", "Wzor_OkresDo", "DrukujMetryczke", "MetrFontName", "MetrFontHeight"})
        EXPECT_FALSE(param[0].value(QString::fromLatin1(blank)).isValid()) << blank;

    const auto rows = rowsOf(*db, QStringLiteral("Aktualne"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].value(u("NrEw")).toInt(), 4);
    EXPECT_DOUBLE_EQ(rows[1].value(u("KosztKwh")).toDouble(), 0.61);
    EXPECT_DOUBLE_EQ(rows[1].value(u("NajnEmeryt")).toDouble(), 1234.5679);
    ASSERT_NE(entryFor(report, u("param")), nullptr);
    EXPECT_EQ(entryFor(report, u("param"))->upgrades.size(), 1);
    EXPECT_EQ(entryFor(report, u("Aktualne"))->upgrades.size(), 3);
}

TEST_F(MigrationTest, DictionariesInBothCodePagesAndMemosKeepTheirPolishLetters) {
    const QStringList titles = {u("spółdzielcze własnościowe"), u("ŻÓŁĆ ĄĘŚŹŃ żółć ąęśźń")};
    for (int cp : {852, 1250}) {
        PxTableContents contents;
        contents.columns = test::paradoxColumns(valueDictionaryDef(u("x")));
        contents.codePage = cp;
        contents.keyFields = 1;
        contents.rows << QVariantMap{{u("Auto"), 4}, {u("Opis"), titles[0]}, {u("BylModi"), true}}
                  << QVariantMap{{u("Auto"), 8}, {u("Opis"), titles[1]}, {u("BylModi"), false}};
        write(cp == 852 ? QStringLiteral("tytprawn.db") : QStringLiteral("STATLOK.DB"), contents);
    }
    PxTableContents managers;
    managers.columns = test::paradoxColumns(managerDictionaryDef());
    managers.codePage = 852;
    managers.keyFields = 1;
    managers.rows << QVariantMap{{u("Auto"), 12}, {u("Opis"), u("Spółdzielnia \"Przyszłość\"")}, {u("BylModi"), true}, {u("Wlasn_gminy"), false}};
    write(QStringLiteral("Zarzadcy.DB"), managers);

    // Memos of every size the memo file holds them in: in the record, in a
    // shared block, in a block of their own.
    const QString shortMemo = u("Łódź");
    QString middleMemo, longMemo;
    for (int i = 0; i < 20; ++i)
        middleMemo += u("Sprawę prowadzi: Sekcja Dodatków Mieszkaniowych %1\r\n").arg(i);
    for (int i = 0; i < 120; ++i)
        longMemo += u("Otrzymują: wnioskodawca, zarządca budynku, a/a - źdźbło %1\r\n").arg(i);
    ASSERT_GT(longMemo.size(), 4096);
    PxTableContents param;
    param.columns = test::paradoxColumns(paramTableDef());
    param.codePage = 852;
    param.keyFields = 1;
    for (const QString &memo : {shortMemo, middleMemo, longMemo})
        param.rows << QVariantMap{{u("Auto"), int(param.rows.size()) + 1}, {u("Stopka"), memo}, {u("WskaznikProc"), 70}};
    write(QStringLiteral("param.db"), param);

    migrate();
    auto db = Database::open(newDir());
    for (const char *table : {"tytprawn", "statlok"}) {
        const auto rows = rowsOf(*db, QString::fromLatin1(table));
        ASSERT_EQ(rows.size(), 2) << table;  // the starting entries of a new database are gone
        EXPECT_EQ(rows[0].value(u("Auto")).toInt(), 4);
        EXPECT_EQ(rows[1].value(u("Auto")).toInt(), 8);
        EXPECT_EQ(rows[0].value(u("Opis")).toString(), titles[0]) << table;
        EXPECT_EQ(rows[1].value(u("Opis")).toString(), titles[1]) << table;
        EXPECT_TRUE(rows[0].value(u("BylModi")).toBool());
    }
    const auto m = rowsOf(*db, QStringLiteral("zarzadcy"));
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].value(u("Opis")).toString(), u("Spółdzielnia \"Przyszłość\""));
    EXPECT_FALSE(m[0].value(u("Wlasn_gminy")).toBool());
    // A table the old directory lacks keeps the starting entries.
    EXPECT_FALSE(rowsOf(*db, QStringLiteral("ogrzlok")).isEmpty());

    const auto memos = rowsOf(*db, QStringLiteral("param"));
    ASSERT_EQ(memos.size(), 3);
    EXPECT_EQ(memos[0].value(u("Stopka")).toString(), shortMemo);
    EXPECT_EQ(memos[1].value(u("Stopka")).toString(), middleMemo);
    EXPECT_EQ(memos[2].value(u("Stopka")).toString().size(), longMemo.size());
    EXPECT_EQ(memos[2].value(u("Stopka")).toString().toStdString(), longMemo.toStdString());
}

TEST_F(MigrationTest, ValuesOutsideTheFieldRulesAreCutOrLeftBlankAndListed) {
    TableDef def = applicationTableDef();
    PxTableContents contents = applications(def, {1, 2});
    for (PxColumn &c : contents.columns) {
        if (c.name == u("Nazwisko"))
            c.length = 40;  // longer than the 28 characters of the program
        if (c.name == u("Liczba_osob"))
            c = PxColumn{c.name, test::px::Long, 4};
        if (c.name == u("Dochod_razem"))
            c = PxColumn{c.name, test::px::Number, 8};
    }
    contents.rows[1][u("Nazwisko")] = u("Grzegorzewska-Szczęsnowiczówna Żaneta");
    contents.rows[1][u("Data_urodz")] = QDate(1850, 5, 1);
    contents.rows[1][u("Liczba_osob")] = 70000;
    write(QStringLiteral("Aktualne.DB"), contents);

    const MigrationReport report = migrate();
    auto db = Database::open(newDir());
    const auto rows = rowsOf(*db, QStringLiteral("Aktualne"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].value(u("Nazwisko")).toString(), u("Grzegorzewska-Szczęsnowiczów"));
    EXPECT_FALSE(rows[1].value(u("Data_urodz")).isValid());
    EXPECT_FALSE(rows[1].value(u("Liczba_osob")).isValid());
    EXPECT_EQ(rows[0].value(u("Liczba_osob")).toInt(), 3);

    ASSERT_EQ(report.changes.size(), 3);
    QStringList fields;
    for (const ChangedValue &c : report.changes) {
        EXPECT_EQ(c.table, u("Aktualne"));
        EXPECT_EQ(c.record, 2);
        EXPECT_EQ(c.key, u("NrEw 2"));
        fields << c.field;
    }
    EXPECT_EQ(fields, (QStringList{u("Nazwisko"), u("Data_urodz"), u("Liczba_osob")}));
    EXPECT_EQ(report.changes[1].before, u("01.05.1850"));
    EXPECT_TRUE(report.changes[1].after.isEmpty());

    QString text;
    QTextStream out(&text);
    printMigrationReport(report, out);
    out.flush();
    EXPECT_TRUE(text.contains(u("Aktualne, rekord 2 (NrEw 2), pole Data_urodz: „01.05.1850” → puste"))) << text.toStdString();
}

TEST_F(MigrationTest, UnknownLanguageDriverIsReadAsWindows1250AndNamed) {
    PxTableContents contents;
    contents.columns = test::paradoxColumns(valueDictionaryDef(u("x")));
    contents.codePage = 437;
    contents.keyFields = 1;
    contents.rows << QVariantMap{{u("Auto"), 1}, {u("Opis"), u("najem lokalu – umowa")}};
    write(QStringLiteral("tytprawn.db"), contents);

    const MigrationReport report = migrate();
    const MigratedTable *entry = entryFor(report, u("tytprawn"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->unknownDriver);
    EXPECT_EQ(entry->codePage, u("Windows-1250"));
    auto db = Database::open(newDir());
    EXPECT_EQ(rowsOf(*db, u("tytprawn"))[0].value(u("Opis")).toString(), u("najem lokalu – umowa"));
    QString text;
    QTextStream out(&text);
    printMigrationReport(report, out);
    out.flush();
    EXPECT_TRUE(text.contains(u("tytprawn.db: nieznany sterownik języka (strona kodowa 437"))) << text.toStdString();
}

TEST_F(MigrationTest, OtherTablesAreKeptAsStoredAndForeignFilesPassedOver) {
    const TableDef backup = test::without(applicationTableDef(u("Aktualne_1140")), test::FieldsSince1141);
    write(QStringLiteral("Aktualne_1140.DB"), applications(backup, {3}));
    QFile thumbs(QDir(oldDir()).filePath(QStringLiteral("Thumbs.db")));
    ASSERT_TRUE(thumbs.open(QIODevice::WriteOnly));
    thumbs.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0'));
    thumbs.close();

    const MigrationReport report = migrate();
    auto db = Database::open(newDir());
    EXPECT_EQ(db->tableDef(u("Aktualne_1140")).fields.size(), backup.fields.size());
    const auto rows = rowsOf(*db, u("Aktualne_1140"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(u("NrEw")).toInt(), 3);
    EXPECT_EQ(rows[0].value(u("Nazwisko")).toString(), sample(backup.fields[2], 0).toString());
    ASSERT_EQ(report.skippedFiles.size(), 1);
    EXPECT_TRUE(report.skippedFiles[0].startsWith(u("Thumbs.db")));
    // Tables the old directory lacks keep what a new database starts with.
    EXPECT_TRUE(report.startingTables.contains(u("Aktualne")));
}

TEST_F(MigrationTest, DamagedTableFileLeavesNoDatabase) {
    write(QStringLiteral("Aktualne.DB"), applications(applicationTableDef(), {1, 2, 3}));
    writeParam();
    const QString path = QDir(oldDir()).filePath(QStringLiteral("Aktualne.DB"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(2048 + 300));  // a copy cut short inside the first block
    f.close();
    expectFailure(u("Aktualne.DB"));

    // A file that is no table at all under a name the program needs.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(3000, 'x'));
    f.close();
    expectFailure(u("nie jest poprawną tabelą"));
}

TEST_F(MigrationTest, MissingIndexFileLeavesNoDatabase) {
    write(QStringLiteral("Aktualne.DB"), applications(applicationTableDef(), {1, 2}));
    writeParam();
    ASSERT_TRUE(QFile::remove(QDir(oldDir()).filePath(QStringLiteral("Aktualne.PX"))));
    expectFailure(u("brak pliku indeksu głównego Aktualne.PX"));
}

TEST_F(MigrationTest, RequiredValueMissingLeavesNoDatabaseAndNamesTheRecords) {
    PxTableContents contents = applications(applicationTableDef(), {1, 2, 3});
    contents.rows[0].remove(u("Imie"));
    contents.rows[2].remove(u("Nazwisko"));
    write(QStringLiteral("Aktualne.DB"), contents);
    expectFailure(u("rekord 1 (NrEw 1): pole Imie\n  rekord 3 (NrEw 3): pole Nazwisko"));
}

TEST_F(MigrationTest, DamagedMemoFileLeavesNoDatabase) {
    QString memo;
    for (int i = 0; i < 30; ++i)
        memo += u("Stopka decyzji %1\r\n").arg(i);
    PxTableContents param;
    param.columns = test::paradoxColumns(paramTableDef());
    param.keyFields = 1;
    param.rows << QVariantMap{{u("Auto"), 1}, {u("Stopka"), memo}, {u("WskaznikProc"), 70}};
    write(QStringLiteral("param.db"), param);
    QFile mb(QDir(oldDir()).filePath(QStringLiteral("param.MB")));
    ASSERT_TRUE(mb.open(QIODevice::ReadWrite));
    ASSERT_TRUE(mb.resize(4096 + 100));
    mb.close();
    expectFailure(u("param.db, rekord 1, pole Stopka"));
}

TEST_F(MigrationTest, CommandPrintsTheReportAndRefusesADirectoryInUse) {
    write(QStringLiteral("Aktualne.DB"), applications(applicationTableDef(), {1}));
    const auto done = test::runAdminTool({u("migrate"), oldDir(), newDir()});
    ASSERT_EQ(done.code, 0) << done.err.toStdString();
    EXPECT_TRUE(done.out.contains(u("Przeniesiono bazę danych"))) << done.out.toStdString();
    EXPECT_TRUE(done.out.contains(u("Zmienione wartości: 0")));
    EXPECT_TRUE(QRegularExpression(u("Aktualne\\s+Aktualne.DB\\s+1\\s+1\\s+Windows-1250")).match(done.out).hasMatch())
        << done.out.toStdString();
    EXPECT_TRUE(done.err.contains(u("Aktualne.DB: 1 rekord"))) << done.err.toStdString();  // what is being done

    // The new directory is in use now: a second migration into it is refused.
    const auto again = test::runAdminTool({u("migrate"), oldDir(), newDir()});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(u("nie jest pusty"))) << again.err.toStdString();
    // Nor can the new database be made inside the old directory.
    EXPECT_EQ(test::runAdminTool({u("migrate"), oldDir(), QDir(oldDir()).filePath(u("nowa"))}).code, 1);
    EXPECT_FALSE(QFileInfo::exists(QDir(oldDir()).filePath(u("nowa"))));
}
