#pragma once

#include "lists/ListTemplate.h"

#include <QString>
#include <QVector>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::lists {

// The work table WzorList.DB: the columns of the template loaded last, one
// row per column in position order (NrPola 1..n, Nazwa, Dlugosc, Suma and
// the running total ValSuma). The template editor and the printing window
// both empty and refill it when they load a template.
inline const QString WorkTableName = QStringLiteral("WzorList");

// The columns in position order.
QVector<ListColumn> readWorkTable(data::Database &db);
// Empties the table and fills it with the columns, positions 1..n, totals
// 0: all in one transaction, so a failure leaves the old rows.
void fillWorkTable(data::Database &db, const QVector<ListColumn> &columns);
// Reads a template file, as both windows load one: when it is read whole,
// its columns replace those of the work table; of a file read in part
// nothing enters the table (the header part read stays in the result).
ListTemplateReading loadTemplateIntoWorkTable(data::Database &db, const QString &path);
// Stores the totals of a printed list, one per column in position order.
void storeWorkTableSums(data::Database &db, const QVector<double> &sums);

// The editor's steps on an open cursor over the work table.
// A new column at the next position: width 20, sum mark "-" for an item
// that can be totalled, else blank.
void appendColumn(data::Table &workTable, const QString &item);
// Switches the current column between "+" and "-"; for an item that cannot
// be totalled changes nothing and returns the message "Nie można sumować
// wg pola: " + the name.
QString toggleColumnSum(data::Table &workTable);
// Positions 1..n in the table's order.
void renumberColumns(data::Table &workTable);

}  // namespace varnel::lists
