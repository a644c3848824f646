// A stored table rebuilt to other definitions: rows copied by field name,
// the autoinc numbered anew, the layout's indexes, and all or nothing.
#include "core/DbError.h"
#include "data/Database.h"
#include "data/Rebuild.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/RecordedProgress.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using data::FieldDef;
using data::FieldType;
using data::IndexDef;
using data::TableDef;
using test::column;

namespace {

TableDef layout(const QString &name, bool withCity, bool withNote = false) {
    TableDef t;
    t.name = name;
    t.fields = {{QStringLiteral("Nr"), FieldType::AutoInc},
                {QStringLiteral("Nazwisko"), FieldType::Text, 20},
                {QStringLiteral("Kwota"), FieldType::Currency}};
    if (withCity)
        t.fields << FieldDef{QStringLiteral("Miasto"), FieldType::Text, 5};
    if (withNote)
        t.fields << FieldDef{QStringLiteral("Uwagi"), FieldType::Memo};
    t.indexes = {{QString(), {QStringLiteral("Nr")}, data::IndexPrimary | data::IndexUnique},
                 {QStringLiteral("NazwNdx"), {QStringLiteral("Nazwisko")}, data::IndexCaseInsensitive}};
    return t;
}

class Rebuild : public ::testing::Test {
protected:
    // Rows numbered 2, 5, 9 (the autoinc after deletions).
    void fill(const TableDef &def) {
        db->createTable(def);
        data::Table t(*db, def.name);
        t.open();
        int n = 0;
        for (const char *name : {"Usunięty", "Nowak", "x", "y", "Lis", "z", "v", "w", "Żak"}) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(name));
            t.field(QStringLiteral("Kwota")).setCurrency(10 * ++n);
            if (def.fieldIndex(QStringLiteral("Miasto")) >= 0)
                t.field(QStringLiteral("Miasto")).setString(QStringLiteral("Opole"));
            if (def.fieldIndex(QStringLiteral("Uwagi")) >= 0)
                t.field(QStringLiteral("Uwagi")).setString(QStringLiteral("uwaga %1").arg(n));
            t.post();
        }
        db->exec(QStringLiteral("DELETE FROM \"%1\" WHERE Nr NOT IN (2, 5, 9)").arg(def.name));
    }

    test::TempDatabase db;
};

}  // namespace

TEST_F(Rebuild, ATableEqualToTheLayoutKeepsItsRowsWithTheAutoincNumberedAnew) {
    fill(layout(QStringLiteral("ar041999"), true));
    const data::RebuildResult r =
        data::rebuildTable(*db, QStringLiteral("ar041999.DB"), layout(QStringLiteral("Aktualne"), true), QStringLiteral("tmp1"));
    EXPECT_EQ(r.rows, 3);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Nr")), (QVariantList{1, 2, 3}));
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Nazwisko")),
              (QVariantList{QStringLiteral("Nowak"), QStringLiteral("Lis"), QStringLiteral("Żak")}));
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Kwota")), (QVariantList{20.0, 50.0, 90.0}));
    EXPECT_FALSE(db->tableExists(QStringLiteral("tmp1")));

    const TableDef rebuilt = db->tableDef(QStringLiteral("ar041999"));
    EXPECT_EQ(rebuilt.name, QStringLiteral("ar041999"));
    EXPECT_EQ(rebuilt.fields, layout(QString(), true).fields);
    ASSERT_NE(rebuilt.index(QStringLiteral("NazwNdx")), nullptr);
    EXPECT_EQ(rebuilt.index(QStringLiteral("NazwNdx"))->fields, QStringList{QStringLiteral("Nazwisko")});

    // New rows go on from the last number.
    data::Table t(*db, QStringLiteral("ar041999"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    t.first();
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Lis"));
    t.insert();
    t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nowy"));
    t.post();
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Nr")).last(), QVariant(4));
}

TEST_F(Rebuild, FieldsTheTableLacksComeBlankAndFieldsTheLayoutLacksAreDropped) {
    fill(layout(QStringLiteral("stara"), false, true));
    data::rebuildTable(*db, QStringLiteral("STARA"), layout(QStringLiteral("wzor"), true), QStringLiteral("tmp1"));
    const TableDef rebuilt = db->tableDef(QStringLiteral("stara"));
    EXPECT_EQ(rebuilt.fields, layout(QString(), true).fields);
    EXPECT_EQ(rebuilt.fieldIndex(QStringLiteral("Uwagi")), -1);
    EXPECT_EQ(column(*db, QStringLiteral("stara"), QStringLiteral("Miasto")), QVariantList(3, QVariant()));
    EXPECT_EQ(column(*db, QStringLiteral("stara"), QStringLiteral("Kwota")), (QVariantList{20.0, 50.0, 90.0}));
}

TEST_F(Rebuild, AValueThatDoesNotFitLeavesTheTableAsItWas) {
    // A text field of the table becomes a number in the layout.
    TableDef old = layout(QStringLiteral("ar011999"), true);
    fill(old);
    TableDef numeric = layout(QStringLiteral("wzor"), false);
    numeric.fields << FieldDef{QStringLiteral("Miasto"), FieldType::Integer};
    const QVariantList before = column(*db, QStringLiteral("ar011999"), QStringLiteral("Nr"));
    try {
        data::rebuildTable(*db, QStringLiteral("ar011999"), numeric, QStringLiteral("tmp1"));
        FAIL() << "the rebuild went through";
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("ar011999"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("Miasto"))) << e.message().toStdString();
    }
    EXPECT_EQ(db->tableDef(QStringLiteral("ar011999")).fields, old.fields);
    EXPECT_EQ(column(*db, QStringLiteral("ar011999"), QStringLiteral("Nr")), before);
    EXPECT_FALSE(db->tableExists(QStringLiteral("tmp1")));
}

TEST_F(Rebuild, AStoppedRebuildAndTheWorkTableItselfChangeNothing) {
    TableDef old = layout(QStringLiteral("ar011999"), false, true);
    fill(old);
    test::RecordedProgress stop;
    stop.stopAtStep = 1;
    EXPECT_TRUE(data::rebuildTable(*db, QStringLiteral("ar011999"), layout(QStringLiteral("w"), true), QStringLiteral("tmp1"),
                                   &stop)
                    .stopped);
    EXPECT_EQ(db->tableDef(QStringLiteral("ar011999")).fields, old.fields);
    EXPECT_EQ(column(*db, QStringLiteral("ar011999"), QStringLiteral("Nr")), (QVariantList{2, 5, 9}));
    EXPECT_FALSE(db->tableExists(QStringLiteral("tmp1")));

    // A work table left from before is replaced; the work table cannot be
    // rebuilt onto itself; a missing table is the engine's failure.
    fill(layout(QStringLiteral("tmp1"), false));
    EXPECT_THROW(data::rebuildTable(*db, QStringLiteral("TMP1.db"), layout(QStringLiteral("w"), true), QStringLiteral("tmp1")),
                 core::DbError);
    EXPECT_EQ(data::rebuildTable(*db, QStringLiteral("ar011999"), layout(QStringLiteral("w"), true), QStringLiteral("tmp1")).rows,
              3);
    EXPECT_FALSE(db->tableExists(QStringLiteral("tmp1")));
    EXPECT_THROW(data::rebuildTable(*db, QStringLiteral("brak"), layout(QStringLiteral("w"), true), QStringLiteral("tmp1")),
                 core::DbError);
}
