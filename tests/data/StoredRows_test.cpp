#include "data/Layouts.h"
#include "data/StoredRows.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using data::StoredCells;
using data::Table;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");
const QString Nazwisko = QStringLiteral("Nazwisko");

}  // namespace

TEST(StoredRows, AreReadInTheOrderOfTheIndexInForceWithTheCursorsValuesAfterItsEditIsPosted) {
    test::TempDatabase db;
    db->createTable(data::applicationTableDef());
    for (const char *s : {"Dudek", "Ćwik", "Adamski", "Łoś", "Borek", "Cichy"})
        test::addApplication(*db, Aktualne, QString::fromUtf8(s));
    Table table(*db, Aktualne);
    table.open();
    table.setIndexName(QStringLiteral("NazwNdx"));
    const int surname = table.storedDef().fieldIndex(Nazwisko);

    QStringList order;
    QList<QVector<QVariant>> values;
    for (table.first(); !table.eof(); table.next()) {
        order << table.field(Nazwisko).asString();
        QVector<QVariant> row;
        for (int c = 0; c < table.fieldCount(); ++c)
            row << table.value(c);
        values << row;
    }
    ASSERT_EQ(order, QStringList({"Adamski", "Borek", "Cichy", "Ćwik", "Dudek", "Łoś"}));

    // The edit of the current row is stored before the rows are read.
    table.first();
    table.edit();
    table.field(Nazwisko).setString(QStringLiteral("Zając"));
    order.removeFirst();
    order << QStringLiteral("Zając");
    values.move(0, values.size() - 1);
    values.last()[surname] = QStringLiteral("Zając");

    QStringList scanned;
    QList<QVector<QVariant>> read;
    EXPECT_EQ(data::scanStoredRows(table, [&](const StoredCells &row) {
                  EXPECT_EQ(row.count(), table.storedDef().fields.size());
                  const std::string_view text = row.text(surname);
                  scanned << QString::fromUtf8(text.data(), qsizetype(text.size()));
                  QVector<QVariant> r;
                  for (int c = 0; c < row.count(); ++c)
                      r << row.value(c);
                  read << r;
                  return true;
              }),
              6);
    EXPECT_FALSE(table.isEditing());
    EXPECT_EQ(scanned, order);
    EXPECT_EQ(read, values);

    // A read that answers false stops the scan after its row.
    int seen = 0;
    EXPECT_EQ(data::scanStoredRows(table, [&](const StoredCells &) { return ++seen < 2; }), 2);
    EXPECT_EQ(seen, 2);
}
