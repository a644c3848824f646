#include "data/Walk.h"

#include "core/Progress.h"
#include "data/Database.h"
#include "data/Table.h"
#include "data/TableStream.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>
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

namespace {

// Lets go of the walk's statement however the walk ends.
class Streamed {
public:
    explicit Streamed(Table &t, const QStringList &reads = {}) : m_table(t) { TableInternals::beginStream(m_table, reads); }
    ~Streamed() { TableInternals::endStream(m_table); }
    Streamed(const Streamed &) = delete;
    Streamed &operator=(const Streamed &) = delete;

private:
    Table &m_table;
};

}  // namespace

namespace {

qint64 pragmaValue(Database &db, const char *pragma, qint64 otherwise) {
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db.handle(), pragma, -1, &s, nullptr) != SQLITE_OK)
        return otherwise;
    const qint64 v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : otherwise;
    sqlite3_finalize(s);
    return v;
}

}  // namespace

qint64 PageCacheForBulkWork::kibFor(qint64 databaseBytes) {
    return std::clamp(databaseBytes / 1024 * 5 / 4, LeastKiB, MostKiB);
}

PageCacheForBulkWork::PageCacheForBulkWork(Database &db) : m_db(db) {
    // Without an answer the default cache stays: no walk fails for want of a
    // larger one.
    constexpr qint64 Unknown = std::numeric_limits<qint64>::min();
    m_before = pragmaValue(db, "PRAGMA cache_size", Unknown);
    if (m_before == Unknown)
        return;
    const qint64 pageSize = pragmaValue(db, "PRAGMA page_size", 4096);
    const qint64 pages = pragmaValue(db, "PRAGMA page_count", 0);
    // cache_size counts pages, or KiB when negative.
    const qint64 kib = m_before < 0 ? -m_before : m_before * pageSize / 1024;
    const qint64 wanted = kibFor(pages * pageSize);
    if (kib >= wanted)
        return;
    const QByteArray set = "PRAGMA cache_size=-" + QByteArray::number(wanted);
    m_changed = sqlite3_exec(db.handle(), set.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

PageCacheForBulkWork::~PageCacheForBulkWork() {
    if (!m_changed)
        return;
    const QByteArray set = "PRAGMA cache_size=" + QByteArray::number(m_before);
    sqlite3_exec(m_db.handle(), set.constData(), nullptr, nullptr, nullptr);
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
    PageCacheForBulkWork cache(table.database());
    // Read inside the transaction: nobody else changes the rows meanwhile.
    const std::vector<qint64> ids = table.orderedRowIds();
    result.total = int(ids.size());
    core::ShownProgress shown(progress, result.total);
    // One statement steps over the rows in the order of the ids.
    Streamed streamed(table, options.reads);
    try {
        for (const qint64 id : ids) {
            if (!TableInternals::streamTo(table, id))
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
