#include "data/Layouts.h"
#include "data/RowWriter.h"
#include "data/StoredRows.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;

TEST(RowWriter, KeepsGivenNumbersAndNumberingGoesOnAfterTheHighestOrTheKeptCounter) {
    test::TempDatabase db;
    db->createTable(data::valueDictionaryDef(QStringLiteral("tytprawn")));
    {
        data::RowWriter w(*db, QStringLiteral("tytprawn"), {QStringLiteral("Auto"), QStringLiteral("Opis")});
        EXPECT_EQ(w.add({7, QStringLiteral("najem")}), 7);
        EXPECT_EQ(w.add({3, QStringLiteral("własność")}), 3);
        EXPECT_EQ(w.add({QVariant(), QStringLiteral("inny")}), 8);  // a blank number: the next one
        EXPECT_THROW(w.add({3, QStringLiteral("drugi raz")}), core::DbError);
    }
    EXPECT_EQ(test::column(*db, QStringLiteral("tytprawn"), QStringLiteral("Opis")),
              (QVariantList{QStringLiteral("własność"), QStringLiteral("najem"), QStringLiteral("inny")}));

    // Numbers given before (rows deleted since) are not given again.
    data::keepAutoIncAbove(*db, QStringLiteral("tytprawn"), 20);
    data::keepAutoIncAbove(*db, QStringLiteral("tytprawn"), 5);  // never lowers the counter
    data::Table t(*db, QStringLiteral("tytprawn"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Opis")).setString(QStringLiteral("podnajem"));
    t.post();
    EXPECT_EQ(t.field(QStringLiteral("Auto")).asInteger(), 21);
    t.close();

    data::emptyTable(*db, QStringLiteral("tytprawn"));
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
    t.insert();
    t.field(QStringLiteral("Opis")).setString(QStringLiteral("najem"));
    t.post();
    EXPECT_EQ(t.field(QStringLiteral("Auto")).asInteger(), 1);  // numbering starts afresh
}

TEST(RowWriter, RequiredFieldsAndUnknownFieldsAreRefused) {
    test::TempDatabase db;
    db->createTable(data::applicationTableDef());
    EXPECT_THROW(data::RowWriter(*db, QStringLiteral("Aktualne"), {QStringLiteral("Brak")}), core::MissingFieldError);
    data::RowWriter w(*db, QStringLiteral("Aktualne"), {QStringLiteral("Nazwisko"), QStringLiteral("Imie")});
    EXPECT_THROW(w.add({QStringLiteral("Nowak"), QVariant()}), core::DbError);
    EXPECT_THROW(w.add({QStringLiteral("Nowak")}), core::DbError);
    EXPECT_EQ(w.count(), 0);
}

TEST(RowWriter, RenumberingGivesTheRowsBackTheirFormerNumbers) {
    test::TempDatabase db;
    db->createTable(data::valueDictionaryDef(QStringLiteral("statlok")));
    {
        data::RowWriter w(*db, QStringLiteral("statlok"), {QStringLiteral("Opis")});
        for (const char *opis : {"a", "b", "c", "d"})
            w.add({QString::fromLatin1(opis)});
    }
    data::renumberRows(*db, QStringLiteral("statlok"), {2, 3, 9, 40});
    EXPECT_EQ(test::column(*db, QStringLiteral("statlok"), QStringLiteral("Auto")), (QVariantList{2, 3, 9, 40}));
    EXPECT_EQ(test::column(*db, QStringLiteral("statlok"), QStringLiteral("Opis")),
              (QVariantList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    data::RowWriter more(*db, QStringLiteral("statlok"), {QStringLiteral("Opis")});
    EXPECT_EQ(more.add({QStringLiteral("e")}), 41);
    // Numbers that would collide or do not fit the rows are refused.
    EXPECT_THROW(data::renumberRows(*db, QStringLiteral("statlok"), {1, 1, 2, 3, 4}), core::DbError);
}

TEST(RowWriter, DatesAreStoredInTheTextQtGivesThem) {
    test::TempDatabase db;
    data::TableDef def;
    def.name = QStringLiteral("Daty");
    def.fields = {{QStringLiteral("Nr"), data::FieldType::AutoInc, 0, false}, {QStringLiteral("Dzien"), data::FieldType::Date, 0, false}};
    def.indexes = {{QString(), {QStringLiteral("Nr")}, data::IndexPrimary | data::IndexUnique}};
    db->createTable(def);
    const QList<QDate> dates = {QDate(1900, 1, 1), QDate(2024, 2, 29), QDate(1899, 12, 30), QDate(1999, 12, 31),
                                QDate(9999, 12, 31), QDate(1000, 1, 1), QDate(999, 5, 7), QDate(12, 1, 2), QDate(10000, 1, 1)};
    {
        data::RowWriter w(*db, def.name, {QStringLiteral("Dzien")});
        for (const QDate &d : dates)
            w.add({d});
        w.add({QVariant()});
    }
    data::Table t(*db, def.name);
    t.open();
    QStringList stored;
    data::scanStoredRows(t, [&](const data::StoredCells &row) {
        const std::string_view text = row.text(1);
        stored << (row.isBlank(1) ? QStringLiteral("-") : QString::fromUtf8(text.data(), qsizetype(text.size())));
        return true;
    });
    QStringList expected;
    for (const QDate &d : dates)
        expected << d.toString(Qt::ISODate);
    expected << QStringLiteral("-");
    EXPECT_EQ(stored, expected);
}
