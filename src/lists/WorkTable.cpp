#include "lists/WorkTable.h"

#include "data/Database.h"
#include "data/Table.h"
#include "lists/ListItems.h"
#include "lists/TemplateEditing.h"

namespace varnel::lists {

namespace {

const QString NrPola = QStringLiteral("NrPola");
const QString Nazwa = QStringLiteral("Nazwa");
const QString Dlugosc = QStringLiteral("Dlugosc");
const QString Suma = QStringLiteral("Suma");
const QString ValSuma = QStringLiteral("ValSuma");

// The rows in position order: the table keeps the order they were added in,
// which is the position order unless a row was added by another program.
std::vector<qint64> rowsInOrder(data::Table &t) {
    std::vector<std::pair<qint64, qint64>> rows;
    for (t.first(); !t.eof(); t.next())
        rows.emplace_back(t.field(NrPola).asInteger(), t.rowId());
    std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<qint64> ids;
    for (const auto &r : rows)
        ids.push_back(r.second);
    return ids;
}

}  // namespace

QVector<ListColumn> readWorkTable(data::Database &db) {
    data::Table t(db, WorkTableName);
    t.open();
    QVector<ListColumn> columns;
    for (qint64 id : rowsInOrder(t)) {
        t.gotoRowId(id);
        columns << ListColumn{t.field(Nazwa).asString(), int(t.field(Dlugosc).asInteger()), t.field(Suma).asString()};
    }
    return columns;
}

void fillWorkTable(data::Database &db, const QVector<ListColumn> &columns) {
    data::Transaction tx(db);
    data::Table t(db, WorkTableName);
    t.open();
    t.first();
    while (!t.eof())
        t.remove();
    int position = 0;
    for (const ListColumn &c : columns) {
        t.append();
        t.field(NrPola).setInteger(++position);
        t.field(Nazwa).setString(c.name);
        t.field(Dlugosc).setInteger(c.width);
        t.field(Suma).setString(c.sum);
        t.field(ValSuma).setFloat(0);
        t.post();
    }
    t.close();
    tx.commit();
}

ListTemplateReading loadTemplateIntoWorkTable(data::Database &db, const QString &path) {
    ListTemplateReading r = readListTemplateFile(path);
    if (r.loaded())
        fillWorkTable(db, r.tmpl.columns);
    return r;
}

void storeWorkTableSums(data::Database &db, const QVector<double> &sums) {
    data::Transaction tx(db);
    data::Table t(db, WorkTableName);
    t.open();
    qsizetype i = 0;
    for (qint64 id : rowsInOrder(t)) {
        t.gotoRowId(id);
        t.edit();
        t.field(ValSuma).setFloat(sums.value(i++));
        t.post();
    }
    t.close();
    tx.commit();
}

void appendColumn(data::Table &workTable, const QString &item) {
    const ListColumn c = newColumn(item);
    const int next = workTable.recordCount() + 1;
    workTable.append();
    workTable.field(NrPola).setInteger(next);
    workTable.field(Nazwa).setString(c.name);
    workTable.field(Dlugosc).setInteger(c.width);
    workTable.field(Suma).setString(c.sum);
    workTable.post();
}

QString toggleColumnSum(data::Table &workTable) {
    ListColumn c{workTable.field(Nazwa).asString(), 0, workTable.field(Suma).asString()};
    const QString refused = toggleSum(c);
    if (!refused.isEmpty())
        return refused;
    workTable.edit();
    workTable.field(Suma).setString(c.sum);
    workTable.post();
    return QString();
}

void renumberColumns(data::Table &workTable) {
    const qint64 current = workTable.rowId();
    int position = 0;
    for (workTable.first(); !workTable.eof(); workTable.next()) {
        workTable.edit();
        workTable.field(NrPola).setInteger(++position);
        workTable.post();
    }
    if (current != 0)
        workTable.gotoRowId(current);
}

}  // namespace varnel::lists
