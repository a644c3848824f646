#include "data/StoredRows.h"

#include "data/Database.h"
#include "data/EngineErrors.h"
#include "data/SqlValues.h"
#include "data/Table.h"
#include "data/TableStream.h"

#include <sqlite3.h>

#include <memory>

namespace varnel::data {

struct StoredScan {
    static StoredCells cellsOf(sqlite3_stmt *s, const Table &table) { return StoredCells(s, table); }
};

StoredCells::StoredCells(sqlite3_stmt *s, const Table &table)
    : m_s(s), m_table(table), m_count(int(table.storedDef().fields.size())) {}

bool StoredCells::isBlank(int column) const { return sqlite3_column_type(m_s, column) == SQLITE_NULL; }

qint64 StoredCells::integer(int column) const { return sqlite3_column_int64(m_s, column); }

double StoredCells::real(int column) const { return sqlite3_column_double(m_s, column); }

std::string_view StoredCells::text(int column) const {
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_s, column));
    if (!bytes)
        return {};
    return std::string_view(bytes, size_t(sqlite3_column_bytes(m_s, column)));
}

QVariant StoredCells::value(int column) const {
    return readColumn(m_s, column, m_table.storedDef().fields[column].type);
}

QString TableInternals::storedRowsQuery(Table &t) {
    t.requireOpen();
    t.checkBrowseMode();
    QStringList cols;
    for (const FieldDef &f : t.m_def.fields)
        cols << Database::quoted(f.name);
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
        .arg(cols.join(QLatin1Char(',')), Database::quoted(t.m_def.name), t.orderClause());
}

int scanStoredRows(Table &table, const std::function<bool(const StoredCells &row)> &read) {
    const QString sql = TableInternals::storedRowsQuery(table);
    const QByteArray utf8 = sql.toUtf8();
    sqlite3 *db = table.database().handle();
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &raw, nullptr) != SQLITE_OK)
        throwEngineFailure(db, table.tableName());
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> s(raw, sqlite3_finalize);
    const StoredCells cells = StoredScan::cellsOf(raw, table);
    int rows = 0;
    for (;;) {
        const int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throwEngineFailure(db, table.tableName());
        ++rows;
        if (!read(cells))
            break;
    }
    return rows;
}

}  // namespace varnel::data
