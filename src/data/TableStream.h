#pragma once

// Inside data/ only: how the walk steps one statement over a table's rows
// instead of positioning the cursor row by row (see Table::Extra).

#include <QString>
#include <QtGlobal>
#include <vector>

namespace varnel::data {

class Table;

struct TableInternals {
    // Prepares the statement over every row in the order of the index in
    // force (the order the walk visits).
    static void beginStream(Table &t);
    // Makes the row with this id current, from the statement when it stands
    // on that row (its columns converted when read), otherwise by its row
    // id; false when the row is no longer in the table.
    static bool streamTo(Table &t, qint64 rowId);
    // Ends the statement; the current row keeps its values.
    static void endStream(Table &t) noexcept;

    // The rows a walk or scan visits, in order (an open edit posted first).
    static std::vector<qint64> rowsToVisit(Table &t);

    // The query of every stored column (in table order) of every row in the
    // order of the index in force, for data::scanStoredRows; an open edit
    // is posted first.
    static QString storedRowsQuery(Table &t);

    static void loadColumn(const Table &t, int column);
    static void loadAll(const Table &t);
};

}  // namespace varnel::data
