#pragma once

#include <QVariant>
#include <functional>
#include <string_view>

struct sqlite3_stmt;

namespace varnel::data {

class Table;

// The row a stored-row scan stands on: its cells as the engine holds them,
// for work that turns a whole table into bytes (the CSV export) and would
// spend most of its time making a QVariant and a QString of every cell.
// Columns are the stored fields in table order (Table::storedDef()). A cell
// is valid only during the call that is handed the row, and each cell is
// read one way: as a blank test with one of integer, real or text after it,
// or as value().
class StoredCells {
public:
    int count() const { return m_count; }
    // SQL NULL: the field is blank.
    bool isBlank(int column) const;
    // The cell as a whole number, a floating point number or the UTF-8
    // bytes of a text, converted by the engine from whatever it holds.
    qint64 integer(int column) const;
    double real(int column) const;
    std::string_view text(int column) const;
    // The cell as the cursor gives it for the field's type (an invalid
    // QVariant for a blank).
    QVariant value(int column) const;

private:
    friend struct StoredScan;
    StoredCells(sqlite3_stmt *s, const Table &table);
    sqlite3_stmt *m_s;
    const Table &m_table;
    int m_count;
};

// Reads every stored row of an open table in the order of its current index
// (one statement stepped over them; the cursor does not move) until `read`
// returns false; returns the rows read. An edit in progress is posted first.
// It has no transaction of its own: a caller that wants one state of the
// table holds a ReadTransaction.
int scanStoredRows(Table &table, const std::function<bool(const StoredCells &row)> &read);

}  // namespace varnel::data
