#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "data/Layouts.h"
#include "data/Table.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace varnel::cli;
namespace core = varnel::core;
using namespace varnel::data;

namespace {

QStringList column(Database &db, const QString &table, const QString &field) {
    Table t(db, table);
    t.open();
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.field(field).asString();
    return out;
}

}  // namespace

TEST(NewDatabase, HasEveryDeliveredTableInItsExactLayout) {
    QTemporaryDir dir;
    auto db = createOfficeDatabase(dir.path());
    for (const TableDef &expected : deliveredTables()) {
        const TableDef stored = db->tableDef(expected.name);
        EXPECT_EQ(stored.name, expected.name);
        EXPECT_EQ(stored.fields, expected.fields) << expected.name.toStdString();
        EXPECT_EQ(stored.indexes, expected.indexes) << expected.name.toStdString();
    }
    EXPECT_EQ(db->tableNames().size(), deliveredTables().size());
}

TEST(NewDatabase, StartsWithParametersDictionariesAdministratorAndSettings) {
    QTemporaryDir dir;
    auto db = createOfficeDatabase(dir.path());

    Table param(*db, QStringLiteral("param"));
    param.open();
    ASSERT_EQ(param.recordCount(), 1);
    EXPECT_EQ(param.field(QStringLiteral("WskaznikProc")).asInteger(), 70);
    EXPECT_EQ(param.field(QStringLiteral("AlgorytmSortowania")).asInteger(), 2);
    EXPECT_GT(param.field(QStringLiteral("Min_emeryt")).asCurrency(), 1000.0);
    EXPECT_GT(param.field(QStringLiteral("Koszt_kwh")).asFloat(), 0.0);
    EXPECT_FALSE(param.field(QStringLiteral("Wzor_NrDec")).isNull());
    EXPECT_FALSE(param.field(QStringLiteral("Stopka")).isNull());
    EXPECT_EQ(param.field(QStringLiteral("MetrFontName")).asString(), QStringLiteral("Courier New"));
    EXPECT_EQ(param.field(QStringLiteral("StopkaFontName")).asString(), QStringLiteral("Times New Roman"));

    EXPECT_TRUE(column(*db, QStringLiteral("tytprawn"), QStringLiteral("Opis")).contains(QStringLiteral("brak tytułu prawnego")));
    const QStringList statuses = column(*db, QStringLiteral("statlok"), QStringLiteral("Opis"));
    for (const char *s : {"komunalne", "spółdzielcze", "zakładowe"})
        EXPECT_TRUE(statuses.contains(QString::fromUtf8(s))) << s;
    EXPECT_GT(statuses.size(), 3);
    EXPECT_FALSE(column(*db, QStringLiteral("ogrzlok"), QStringLiteral("Opis")).isEmpty());
    EXPECT_FALSE(column(*db, QStringLiteral("ogrzwody"), QStringLiteral("Opis")).isEmpty());

    // Dictionary texts are copied into application fields: they must fit there.
    for (const char *table : {"tytprawn", "statlok", "ogrzlok", "ogrzwody"}) {
        for (const QString &opis : column(*db, QString::fromLatin1(table), QStringLiteral("Opis")))
            EXPECT_LE(opis.size(), 28) << opis.toStdString();
        for (const QString &used : column(*db, QString::fromLatin1(table), QStringLiteral("BylModi")))
            EXPECT_EQ(used, QStringLiteral("False"));
    }
    const QStringList municipal = column(*db, QStringLiteral("zarzadcy"), QStringLiteral("Wlasn_gminy"));
    EXPECT_TRUE(municipal.contains(QStringLiteral("True")));
    EXPECT_TRUE(municipal.contains(QStringLiteral("False")));

    Table users(*db, QStringLiteral("uspass"));
    users.open();
    ASSERT_EQ(users.recordCount(), 1);
    EXPECT_EQ(users.field(QStringLiteral("User")).asString(), QStringLiteral("ADMIN"));
    EXPECT_EQ(users.field(QStringLiteral("Pass")).asString(), QStringLiteral("ADMIN"));
    EXPECT_TRUE(users.field(QStringLiteral("ModiUsers")).asBoolean());
    EXPECT_TRUE(users.field(QStringLiteral("ModiDict")).asBoolean());

    EXPECT_EQ(column(*db, QStringLiteral("skladlist"), QStringLiteral("Kogo")), QStringList{QStringLiteral("Wszystkich")});
    EXPECT_EQ(column(*db, QStringLiteral("skladlist"), QStringLiteral("Sort")), QStringList{QStringLiteral("Alfabetycznie")});
    EXPECT_EQ(column(*db, QStringLiteral("skladlic"), QStringLiteral("Kogo")), QStringList{QStringLiteral("Wszystkich")});
    EXPECT_EQ(column(*db, QStringLiteral("skladlic"), QStringLiteral("Wzor")), QStringList{QStringLiteral("automatycznie")});

    for (const char *empty : {"Aktualne", "ArcLista", "WzorList"}) {
        Table t(*db, QString::fromLatin1(empty));
        t.open();
        EXPECT_EQ(t.recordCount(), 0) << empty;
    }
}

TEST(NewDatabase, IsNotMadeOverAnExistingOneWhichStaysWhole) {
    QTemporaryDir dir;
    {
        auto db = createOfficeDatabase(dir.path());
        Table t(*db, QStringLiteral("uspass"));
        t.open();
        t.insert();
        t.field(QStringLiteral("User")).setString(QStringLiteral("KLARA"));
        t.post();
    }
    EXPECT_THROW(createOfficeDatabase(dir.path()), core::DbError);
    auto db = Database::open(dir.path());
    EXPECT_EQ(column(*db, QStringLiteral("uspass"), QStringLiteral("User")),
              QStringList({QStringLiteral("ADMIN"), QStringLiteral("KLARA")}));
}
