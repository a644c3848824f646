#pragma once

#include <QStringList>
#include <QtGlobal>
#include <functional>

namespace varnel::core {
class Progress;
}

namespace varnel::data {

class Database;
class Table;

// THE WALK OVER A TABLE. Every operation that goes over all rows of a table
// (recalculation, key rebuilds, upgrades, field setting, month close, removal
// of expired applications, list printing that writes back...) uses walk()
// below instead of writing its own loop. It gives each of them, the same way:
//
//  - one transaction for the whole walk (a savepoint when the caller already
//    holds one, so the caller's own transaction decides in the end); on a
//    database opened read-only, a read transaction (the rows of one state,
//    no write lock taken);
//  - the table's bound controls and grids quiet during the walk
//    (disableControls/enableControls), told RowsChanged once at its end;
//  - the progress advanced by one step per row (core::Progress: start with
//    the number of rows, step after each row, finish however the walk ends);
//  - a go-on answer: the work of a row returns false, or the progress's
//    goOn() returns false, and the walk stops after that row; what was done
//    is kept (stopping is not a failure);
//  - a policy for a failure midway (an exception from the work or from the
//    progress): WalkFailure::RollBackAll (default) leaves the table as it
//    was before the walk; WalkFailure::KeepDone, for the operations whose
//    rules keep the rows done so far, keeps them (the failing row's pending
//    edit is cancelled). Either way the exception is passed on afterwards.
//
// Order and rows: the walk visits the rows that the table holds when it
// starts, in the order of the cursor's current index at that moment (choose
// the index before calling), each exactly once, with the cursor standing on
// the row. The work may read, edit, post or remove the current row; a post
// that changes the key of the index being walked, or a removal, does not
// make the walk skip or repeat a row. Rows the work inserts are not visited;
// rows removed by the work before their turn are skipped. A row being edited
// when the walk starts is posted first.
//
// After the walk the cursor stands on the last row visited (or where it
// was, when the table was empty). Usage:
//
//     data::WalkOptions options;
//     options.progress = &progress;                    // optional
//     options.onFailure = data::WalkFailure::KeepDone; // optional
//     const data::WalkResult r = data::walk(table, [&](data::Table &t) {
//         t.edit();
//         t.field(QStringLiteral("Ryczalt_do_rak")).setBoolean(true);
//         t.post();
//         return true;  // go on
//     }, options);
//
// The interface is what callers rely on. Behind it the walk steps one
// statement over the rows in the order of the index and converts a column
// only when the work reads it; a row whose place the work changed is found
// by its row id. The page cache is sized for bulk work meanwhile.

enum class WalkFailure {
    RollBackAll,  // a failure leaves the table as it was before the walk
    KeepDone,     // a failure keeps the rows done before the failing one
};

struct WalkOptions {
    core::Progress *progress = nullptr;  // nullptr: no progress shown
    WalkFailure onFailure = WalkFailure::RollBackAll;
    // The fields the work reads, when it knows them: the walk's statement
    // then holds only those (and the key), which makes each step cheaper.
    // A field outside them is still read right, by its row id. Empty: all.
    QStringList reads;
};

struct WalkResult {
    int total = 0;         // rows when the walk began
    int done = 0;          // rows whose work ran to its end
    bool stopped = false;  // a go-on answer stopped the walk before its end
};

// The work of one row; the cursor stands on it. true: go on.
using RowWork = std::function<bool(Table &table)>;

WalkResult walk(Table &table, const RowWork &work, const WalkOptions &options = {});

// Holds a table's bound controls and grids quiet while it lasts (told
// RowsChanged once at its end): for a second table that a walk's work
// changes row by row.
class QuietControls {
public:
    explicit QuietControls(Table &table);
    ~QuietControls();
    QuietControls(const QuietControls &) = delete;
    QuietControls &operator=(const QuietControls &) = delete;

private:
    Table &m_table;
};

// A page cache sized for work over a whole table on a connection for the
// life of the object, when its own is smaller; the size it had is put back
// at the end. The cache holds the whole database and a quarter more, between
// 64 MB and 1 GB: a walk writes every page of a table and of its indexes, and
// pages that no longer fit are written out and read again many times over
// (an index is written in the order of its key, not of the walk). Every walk
// holds one; other bulk work may hold one too where its memory may grow by
// as much.
class PageCacheForBulkWork {
public:
    explicit PageCacheForBulkWork(Database &db);
    ~PageCacheForBulkWork();
    PageCacheForBulkWork(const PageCacheForBulkWork &) = delete;
    PageCacheForBulkWork &operator=(const PageCacheForBulkWork &) = delete;

    // The size in KiB for a database of this many bytes.
    static qint64 kibFor(qint64 databaseBytes);

private:
    static constexpr qint64 LeastKiB = 64 * 1024;
    static constexpr qint64 MostKiB = 1024 * 1024;
    Database &m_db;
    qint64 m_before = 0;
    bool m_changed = false;
};

}  // namespace varnel::data
