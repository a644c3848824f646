#include "data/Collation.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/TempDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace varnel::data;
namespace core = varnel::core;
using varnel::test::TempDatabase;

namespace {

TableDef people(const QString &name = QStringLiteral("People")) {
    TableDef t;
    t.name = name;
    t.fields = {{QStringLiteral("Nr"), FieldType::AutoInc, 0, false},
                {QStringLiteral("Nazwisko"), FieldType::Text, 28, true},
                {QStringLiteral("Kwota"), FieldType::Currency, 0, false}};
    t.indexes = {{QString(), {QStringLiteral("Nr")}, IndexPrimary | IndexUnique},
                 {QStringLiteral("NazwNdx"), {QStringLiteral("Nazwisko")}, IndexCaseInsensitive}};
    return t;
}

void addPerson(Database &db, const QString &table, const QString &name) {
    Table t(db, table);
    t.open();
    t.insert();
    t.field(QStringLiteral("Nazwisko")).setString(name);
    t.post();
}

QStringList namesInOrder(Database &db, const QString &table, const QString &index = QString()) {
    Table t(db, table);
    t.open();
    t.setIndexName(index);
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.field(QStringLiteral("Nazwisko")).asString();
    return out;
}

}  // namespace

TEST(Database, OpeningRefusesAMissingDirectoryOrFile) {
    QTemporaryDir dir;
    EXPECT_THROW(Database::open(dir.path() + QStringLiteral("/nowhere")), core::DbError);
    try {
        Database::open(dir.path());
        FAIL();
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("varnel.sqlite")));
    }
    EXPECT_FALSE(Database::existsIn(dir.path()));
}

TEST(Database, CreateMakesAnOwnerOnlyFileInAHiddenFolderAndRefusesToOverwrite) {
    TempDatabase db;
    EXPECT_EQ(db->filePath(), Database::filePathIn(db.path()));
    EXPECT_EQ(db->filePath(), db.path() + QStringLiteral("/.varnel/varnel.sqlite"));
    const QFileInfo info(db->filePath());
    EXPECT_EQ(info.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadOwner | QFileDevice::WriteOwner), 0);
    const QFileInfo folder(info.absolutePath());
    EXPECT_EQ(folder.permissions() & (QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther), 0);
    EXPECT_THROW(Database::create(db.path()), core::DbError);
    EXPECT_TRUE(Database::isDatabasePath(db->filePath()));
    EXPECT_FALSE(Database::isDatabasePath(db.path() + QStringLiteral("/decyzja.fmz")));
    EXPECT_TRUE(Database::isDatabasePath(db.path() + QStringLiteral("/varnel.sqlite-wal")));  // the earlier layout
    EXPECT_FALSE(Database::isDatabasePath(db.path() + QStringLiteral("/varnel.sqlite.fmz")));
}

TEST(Database, DeliveredLayoutsReadBackFromTheSchemaAlone) {
    TempDatabase db;
    for (const TableDef &def : deliveredTables()) {
        db->createTable(def);
        const TableDef back = db->tableDef(def.name);
        EXPECT_EQ(back.fields, def.fields) << def.name.toStdString();
        EXPECT_EQ(back.indexes.size(), def.indexes.size()) << def.name.toStdString();
        for (const IndexDef &ix : def.indexes) {
            const IndexDef *found = ix.isPrimary() ? back.primaryIndex() : back.index(ix.name);
            ASSERT_TRUE(found) << ix.name.toStdString();
            EXPECT_EQ(found->fields, ix.fields);
            EXPECT_EQ(found->options, ix.options) << ix.name.toStdString();
        }
    }
    const TableDef app = db->tableDef(QStringLiteral("aktualne.DB"));
    EXPECT_EQ(app.fields.size(), 47);
    EXPECT_EQ(app.name, QStringLiteral("Aktualne"));
}

TEST(Database, TablesMadeByOtherSqliteToolsAreDescribed) {
    TempDatabase db;
    db->exec(QStringLiteral("CREATE TABLE foreign1 (id INTEGER PRIMARY KEY, name VARCHAR(12) NOT NULL, amount REAL, note TEXT)"));
    const TableDef d = db->tableDef(QStringLiteral("FOREIGN1"));
    ASSERT_EQ(d.fields.size(), 4);
    EXPECT_EQ(d.fields[0].type, FieldType::Integer);
    EXPECT_EQ(d.fields[1].type, FieldType::Text);
    EXPECT_EQ(d.fields[1].size, 12);
    EXPECT_TRUE(d.fields[1].required);
    EXPECT_EQ(d.fields[2].type, FieldType::Float);
    ASSERT_TRUE(d.primaryIndex());
}

TEST(Database, TableNamesIgnoreCaseAndTheDbExtension) {
    TempDatabase db;
    db->createTable(managerDictionaryDef());
    {
        Table a(*db, QStringLiteral("zarzadcy.DB"));
        a.open();
        a.insert();
        a.field(QStringLiteral("Opis")).setString(QStringLiteral("ZGM"));
        a.post();
    }
    Table b(*db, QStringLiteral("Zarzadcy.db"));
    b.open();
    EXPECT_EQ(b.recordCount(), 1);
    EXPECT_EQ(b.field(QStringLiteral("opis")).asString(), QStringLiteral("ZGM"));
    EXPECT_TRUE(db->tableExists(QStringLiteral("ZARZADCY")));
    EXPECT_THROW(Table(*db, QStringLiteral("nosuch.db")).open(), core::DbError);
}

TEST(Database, IndexNamesBelongToTheirTableAcrossRenameAndCopy) {
    TempDatabase db;
    db->createTable(people(QStringLiteral("A")));
    db->createTable(people(QStringLiteral("B")));  // a second NazwNdx is no clash
    addPerson(*db, QStringLiteral("A"), QStringLiteral("Żak"));
    addPerson(*db, QStringLiteral("A"), QStringLiteral("Lis"));

    db->renameTable(QStringLiteral("A"), QStringLiteral("A_old"));
    db->copyTable(QStringLiteral("A_old"), QStringLiteral("A"));
    db->createTable(people(QStringLiteral("C")));  // the old physical names are free again

    for (const QString &name : {QStringLiteral("A_old"), QStringLiteral("A"), QStringLiteral("B")}) {
        const TableDef d = db->tableDef(name);
        ASSERT_TRUE(d.index(QStringLiteral("NazwNdx"))) << name.toStdString();
        ASSERT_TRUE(d.primaryIndex());
    }
    EXPECT_EQ(namesInOrder(*db, QStringLiteral("A"), QStringLiteral("NazwNdx")),
              QStringList({QStringLiteral("Lis"), QStringLiteral("Żak")}));

    // SQLite's own names say which table an index is on.
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db->handle(), "SELECT name, tbl_name FROM sqlite_schema WHERE type='index' AND sql IS NOT NULL", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        const QString idx = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        const QString tbl = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 1)));
        EXPECT_EQ(idx, tbl + QStringLiteral(".NazwNdx"));
    }
    sqlite3_finalize(s);
}

TEST(Database, RenameRefusesATakenName) {
    TempDatabase db;
    db->createTable(people(QStringLiteral("A")));
    db->createTable(people(QStringLiteral("B")));
    EXPECT_THROW(db->renameTable(QStringLiteral("A"), QStringLiteral("b.db")), core::DbError);
    EXPECT_TRUE(db->tableExists(QStringLiteral("A")));
}

TEST(Database, ARebuildThatFailsLeavesTheOldTableWhole) {
    TempDatabase db;
    db->createTable(people(QStringLiteral("A")));
    addPerson(*db, QStringLiteral("A"), QStringLiteral("Nowak"));

    TableDef broken = people(QStringLiteral("A"));
    broken.indexes << IndexDef{QStringLiteral("Bad"), {QStringLiteral("NoSuchField")}, 0};
    EXPECT_THROW(db->createTable(broken), core::DbError);
    EXPECT_EQ(namesInOrder(*db, QStringLiteral("A")), QStringList{QStringLiteral("Nowak")});

    // A rebuild interrupted half-way inside a transaction: the old table
    // is as it was and no work table is left behind.
    {
        Transaction tx(*db);
        db->createTable(people(QStringLiteral("Temp1")));
        addPerson(*db, QStringLiteral("Temp1"), QStringLiteral("Kowalski"));
        db->renameTable(QStringLiteral("A"), QStringLiteral("A_1140"));
        // no commit: as if the program stopped here
    }
    EXPECT_TRUE(db->tableExists(QStringLiteral("A")));
    EXPECT_FALSE(db->tableExists(QStringLiteral("A_1140")));
    EXPECT_FALSE(db->tableExists(QStringLiteral("Temp1")));
    EXPECT_EQ(namesInOrder(*db, QStringLiteral("A")), QStringList{QStringLiteral("Nowak")});
}

TEST(Database, CopyBringsRecordsAndReplacesATableOfThatName) {
    TempDatabase db;
    db->createTable(applicationTableDef());
    db->createTable(people(QStringLiteral("ar041999")));
    addPerson(*db, QStringLiteral("ar041999"), QStringLiteral("Stary"));
    {
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        for (const char *n : {"Nowak", "Adamczyk"}) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(n));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.post();
        }
    }
    db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar041999"));
    EXPECT_EQ(db->tableDef(QStringLiteral("ar041999")).fields, applicationTableDef().fields);
    EXPECT_EQ(namesInOrder(*db, QStringLiteral("ar041999"), QStringLiteral("NazwNdx")),
              QStringList({QStringLiteral("Adamczyk"), QStringLiteral("Nowak")}));
}

TEST(Database, SecondConnectionTransactionRolledBackLeavesNoTrace) {
    TempDatabase db;
    db->createTable(usersTableDef());
    auto second = db->openSecondConnection();
    second->begin();
    {
        Table users(*second, QStringLiteral("uspass.db"));
        users.open();
        users.insert();
        users.field(QStringLiteral("User")).setString(QStringLiteral("NOWY"));
        users.post();
        EXPECT_EQ(users.recordCount(), 1);
        // The main connection does not see the uncommitted row.
        Table outside(*db, QStringLiteral("uspass"));
        outside.open();
        EXPECT_EQ(outside.recordCount(), 0);
    }
    second->rollback();
    Table after(*db, QStringLiteral("USPASS"));
    after.open();
    EXPECT_EQ(after.recordCount(), 0);
}

TEST(Collation, PolishOrderWithoutRegardToCase) {
    const QStringList expected = {QStringLiteral("Lis"),    QStringLiteral("luty"),   QStringLiteral("Łoś"),
                                  QStringLiteral("Łukasz"), QStringLiteral("Zając"),  QStringLiteral("Ziomek"),
                                  QStringLiteral("Żak")};
    for (int i = 0; i + 1 < expected.size(); ++i)
        EXPECT_LT(comparePolish(expected[i], expected[i + 1]), 0) << expected[i].toStdString();
    EXPECT_EQ(comparePolish(QStringLiteral("lis"), QStringLiteral("LIS")), 0);
    EXPECT_LT(comparePolish(QStringLiteral("a"), QStringLiteral("ą")), 0);
    EXPECT_LT(comparePolish(QStringLiteral("ą"), QStringLiteral("b")), 0);
}
