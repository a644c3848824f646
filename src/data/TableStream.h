#pragma once

// Inside data/ only: how the walk steps one statement over a table's rows
// instead of positioning the cursor row by row (see Table::Extra).

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstddef>
#include <vector>

struct sqlite3_stmt;
class QVariant;

namespace varnel::data {

class Table;

struct TableInternals {
    // Prepares the statement over every row in the order of the index in
    // force (the order the walk visits), holding the fields named in
    // `reads` (all when empty) and the key; other fields are read by row id.
    static void beginStream(Table &t, const QStringList &reads = {});
    // Makes the row with this id current, from the statement when it stands
    // on that row (its columns converted when read), otherwise by its row
    // id; false when the row is no longer in the table.
    static bool streamTo(Table &t, qint64 rowId);
    // Ends the statement; the current row keeps its values.
    static void endStream(Table &t) noexcept;

    // The query of every stored column (in table order) of every row in the
    // order of the index in force, for data::scanStoredRows; an open edit
    // is posted first.
    static QString storedRowsQuery(Table &t);

    static void loadColumn(const Table &t, int column);
    // Whether a column of the current row (the edit's value while editing)
    // is blank, without converting a stored column not read yet.
    static bool isBlank(const Table &t, int column);
    // The walk's statement, the stored column and the statement's column
    // for a field of the current row (index: the cursor's field) while that
    // column is unconverted, held by the statement and the stored value;
    // nullptr otherwise.
    static sqlite3_stmt *unreadSource(const Table &t, int index, int &column, int &sourceColumn);
    // A number (or a blank) being set against the stored value of such a
    // column: 0 the same, 1 different, -1 not to be told without converting it.
    static int comparedWithStored(const Table &t, int index, const QVariant &v);
    static void loadAll(const Table &t);

    // How many row ids a cursor reads of its order at first (enough for a
    // grid's first paint) and in each further slice (one pass of the event
    // loop). Tests make them small so that a few rows take many slices.
    struct OrderSlices {
        size_t first = 4096;
        size_t further = 32768;
    };
    static OrderSlices &orderSlices();
};

}  // namespace varnel::data
