#include "data/Walk.h"

#include "core/Progress.h"
#include "data/Database.h"
#include "data/Table.h"

#include <optional>

namespace varnel::data {

QuietControls::QuietControls(Table &table) : m_table(table) { m_table.disableControls(); }

QuietControls::~QuietControls() {
    try {
        m_table.enableControls();
    } catch (...) {
        // An observer that fails to redraw must not hide the outcome of the work.
    }
}

WalkResult walk(Table &table, const RowWork &work, const WalkOptions &options) {
    table.requireOpen();
    table.checkBrowseMode();
    core::NoProgress none;
    core::Progress &progress = options.progress ? *options.progress : none;

    WalkResult result;
    QuietControls quiet(table);
    // A database opened read-only takes no write lock: the walk reads under
    // one read transaction, which sees one state all the same.
    std::optional<Transaction> tx;
    std::optional<ReadTransaction> reading;
    if (table.database().isReadOnly())
        reading.emplace(table.database());
    else
        tx.emplace(table.database());
    // Read inside the transaction: nobody else changes the rows meanwhile.
    const std::vector<qint64> ids = table.orderedRowIds();
    result.total = int(ids.size());
    core::ShownProgress shown(progress, result.total);
    try {
        for (const qint64 id : ids) {
            if (!table.gotoRowId(id))
                continue;  // removed by the work of an earlier row
            const bool goOn = work(table);
            ++result.done;
            progress.step();
            if (!goOn || !progress.goOn()) {
                result.stopped = true;
                break;
            }
        }
        table.checkBrowseMode();  // an edit the work left open is posted
    } catch (...) {
        try {
            if (table.isEditing())
                table.cancel();
            if (tx && options.onFailure == WalkFailure::KeepDone)
                tx->commit();
        } catch (...) {
            // The failure of the work is the one to report.
        }
        throw;  // not committed: the transaction rolls back
    }
    if (tx)
        tx->commit();
    return result;
}

}  // namespace varnel::data
