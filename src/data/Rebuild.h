#pragma once

#include "data/FieldDef.h"

#include <QString>

namespace varnel::core {
class Progress;
}

namespace varnel::data {

class Database;

struct RebuildResult {
    int rows = 0;          // rows copied into the rebuilt table
    bool stopped = false;  // the progress asked to stop: the table is as it was
};

// Rebuilds a stored table to other definitions (fields and indexes), keeping
// its rows and its name: a work table is made with exactly `layout`'s fields
// and its primary key, every row of the table is copied into it in the order
// of the table's primary index, each value going to the field of the same
// name (names compared without regard to case) and stored by that field's
// rules (a text cut to its size, a number checked for its range); the
// table's own autoinc values are not copied and the autoinc field of the
// work table, which is never written, numbers the rows 1, 2, 3 ...; fields
// of `layout` that the table lacks stay blank and fields the table has
// beyond `layout` are dropped. The table is then deleted, the work table
// takes its name (the stored spelling) and gets `layout`'s other indexes.
//
// All of it is one transaction (a savepoint inside the caller's): a failure
// at any moment, a value that does not fit or a crash of the program leaves
// the table whole as it was and no work table behind. A work table of that
// name left from before is replaced. The progress runs over the rows. A
// value that does not fit stops the rebuild with the table, record and
// field named.
RebuildResult rebuildTable(Database &db, const QString &table, const TableDef &layout, const QString &workTable,
                           core::Progress *progress = nullptr);

}  // namespace varnel::data
