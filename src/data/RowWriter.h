#pragma once

#include "data/FieldDef.h"

#include <QStringList>
#include <QVariant>
#include <QVector>

struct sqlite3_stmt;

namespace varnel::data {

class Database;

// Appends many rows to a table through one prepared statement, for loading
// a whole table at once (bringing a database over from elsewhere, copies).
// Unlike a Table cursor it keeps no order of rows and tells no observers;
// cursors open on the table re-read it afterwards.
//
// The values of a row are given for the listed fields, in that order, as
// Table::coerce gives them (the caller applies the field rules and decides
// what to do with a value that does not fit). An autoinc field takes the
// number given, so rows keep numbers they had elsewhere; a blank one gets
// the next free number. Fields not listed stay blank.
class RowWriter {
public:
    RowWriter(Database &db, const QString &table, const QStringList &fields);
    ~RowWriter();
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    const QVector<FieldDef> &fields() const { return m_fields; }
    // Writes one row; returns its row id. Fails with the engine's message
    // (a required field left blank, a number taken twice).
    qint64 add(const QVector<QVariant> &values);
    int count() const { return m_count; }

private:
    Database &m_db;
    QString m_table;
    QVector<FieldDef> m_fields;
    QVector<QByteArray> m_texts;  // the UTF-8 of the texts bound, alive until the row is written
    sqlite3_stmt *m_insert = nullptr;
    int m_count = 0;
};

// Deletes every row of a table and starts its autoinc numbering afresh.
void emptyTable(Database &db, const QString &table);

// Makes the autoinc numbering of a table go on after `last` at the least:
// numbers up to `last` are never given again, as if rows with them had been
// added and deleted.
void keepAutoIncAbove(Database &db, const QString &table, qint64 last);

// Gives back the rows of a table numbers they had before a rebuild numbered
// them afresh: the rows are numbered 1, 2, 3, ... by the table's autoinc
// field, and the k-th gets numbers[k - 1]. `numbers` ascends, has one entry
// per row and none below its row's number (as when the rebuild closed gaps).
void renumberRows(Database &db, const QString &table, const QVector<qint64> &numbers);

}  // namespace varnel::data
