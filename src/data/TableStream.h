#pragma once

// Inside data/ only: how the walk steps one statement over a table's rows
// instead of positioning the cursor row by row (see Table::Extra).

#include <QtGlobal>
#include <cstddef>
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

    static void loadColumn(const Table &t, int column);
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
