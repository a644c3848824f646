#include "data/Aggregate.h"

#include "core/DbError.h"
#include "data/Database.h"

#include <sqlite3.h>

namespace varnel::data {

namespace {

// The zero date of blank dates, as the stored dates are written (ISO text).
const QString ZeroDate = QStringLiteral("1899-12-30");

QString isoOrZero(const QDate &d) { return d.isValid() && d != QDate(1899, 12, 30) ? d.toString(Qt::ISODate) : ZeroDate; }

class Query {
public:
    Query(Database &db, const QString &table) : m_db(db), m_def(db.tableDef(table)) {}

    QString column(const QString &field) const {
        const int i = m_def.fieldIndex(field);
        if (i < 0)
            throw core::MissingFieldError(m_def.name, field);
        return Database::quoted(m_def.fields[i].name);
    }
    QString text(const QString &field) const { return QStringLiteral("COALESCE(%1,'')").arg(column(field)); }
    QString table() const { return Database::quoted(m_def.name); }
    void bindFirst(const QStringList &texts) { m_binds = texts + m_binds; }
    const QString &name() const { return m_def.name; }

    QString where(const QVector<RowCondition> &conditions) {
        QStringList parts;
        for (const RowCondition &c : conditions) {
            switch (c.kind) {
            case RowCondition::Positive:
                parts << QStringLiteral("%1 > 0").arg(column(c.field));
                break;
            case RowCondition::EqualsText:
                parts << QStringLiteral("%1 = ? COLLATE BINARY").arg(text(c.field));
                m_binds << c.text;
                break;
            case RowCondition::TextIn: {
                if (c.texts.isEmpty()) {
                    parts << QStringLiteral("0");
                    break;
                }
                QStringList marks;
                for (const QString &t : c.texts) {
                    marks << QStringLiteral("?");
                    m_binds << t;
                }
                parts << QStringLiteral("%1 COLLATE BINARY IN (%2)").arg(text(c.field), marks.join(QLatin1Char(',')));
                break;
            }
            case RowCondition::DateBetween:
                parts << QStringLiteral("COALESCE(%1,'%2') BETWEEN ? AND ?").arg(column(c.field), ZeroDate);
                m_binds << isoOrZero(c.from) << isoOrZero(c.to);
                break;
            }
        }
        return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
    }

    // Prepares the statement and binds the texts of the conditions.
    sqlite3_stmt *prepare(const QString &sql) {
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(m_db.handle(), utf8.constData(), int(utf8.size()), &s, nullptr) != SQLITE_OK)
            m_db.fail(m_def.name);
        for (int i = 0; i < m_binds.size(); ++i) {
            const QByteArray b = m_binds[i].toUtf8();
            sqlite3_bind_text(s, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        }
        return s;
    }

    Database &db() { return m_db; }

private:
    Database &m_db;
    TableDef m_def;
    QStringList m_binds;
};

struct Finalize {
    sqlite3_stmt *s;
    ~Finalize() { sqlite3_finalize(s); }
};

QString columnText(sqlite3_stmt *s, int col) {
    const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(s, col));
    return t ? QString::fromUtf8(t, sqlite3_column_bytes(s, col)) : QString();
}

}  // namespace

QVector<GroupTotal> totalsByGroup(Database &db, const QString &table, const QVector<RowCondition> &where,
                                  const QStringList &groupBy, const QVector<MoneySum> &sums) {
    db.checkOutsideChanges();
    Query q(db, table);
    QStringList select, groups;
    for (const QString &g : groupBy) {
        select << q.text(g);
        groups << q.text(g) + QStringLiteral(" COLLATE BINARY");
    }
    select << QStringLiteral("COUNT(*)");
    QStringList texts;  // bound before those of the conditions
    for (const MoneySum &m : sums) {
        const QString cents = QStringLiteral("CAST(ROUND(COALESCE(%1,0)*100) AS INTEGER)").arg(q.column(m.field));
        if (m.ifField.isEmpty()) {
            select << QStringLiteral("TOTAL(%1)").arg(cents);
        } else {
            select << QStringLiteral("TOTAL(CASE WHEN %1 = ? COLLATE BINARY THEN %2 ELSE 0 END)").arg(q.text(m.ifField), cents);
            texts << m.ifText;
        }
    }
    q.bindFirst(texts);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(select.join(QLatin1Char(',')), q.table());
    sql += q.where(where);
    if (!groups.isEmpty())
        sql += QStringLiteral(" GROUP BY ") + groups.join(QLatin1Char(','));
    Finalize stmt{q.prepare(sql)};
    QVector<GroupTotal> out;
    int rc;
    while ((rc = sqlite3_step(stmt.s)) == SQLITE_ROW) {
        GroupTotal g;
        int col = 0;
        for (int i = 0; i < groupBy.size(); ++i)
            g.keys << columnText(stmt.s, col++);
        g.count = sqlite3_column_int64(stmt.s, col++);
        for (int i = 0; i < sums.size(); ++i)
            g.cents << qint64(sqlite3_column_double(stmt.s, col++));
        if (g.count > 0)
            out << g;
    }
    if (rc != SQLITE_DONE)
        db.fail(q.name());
    return out;
}

void forEachRowTexts(Database &db, const QString &table, const QVector<RowCondition> &where, const QStringList &fields,
                     const std::function<void(const QStringList &)> &row) {
    db.checkOutsideChanges();
    Query q(db, table);
    QStringList select;
    for (const QString &f : fields)
        select << q.text(f);
    const QString key = db.rowIdField(table);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(select.join(QLatin1Char(',')), q.table()) + q.where(where);
    sql += key.isEmpty() ? QStringLiteral(" ORDER BY rowid") : QStringLiteral(" ORDER BY ") + q.column(key);
    Finalize stmt{q.prepare(sql)};
    int rc;
    while ((rc = sqlite3_step(stmt.s)) == SQLITE_ROW) {
        QStringList texts;
        for (int i = 0; i < fields.size(); ++i)
            texts << columnText(stmt.s, i);
        row(texts);
    }
    if (rc != SQLITE_DONE)
        db.fail(q.name());
}

}  // namespace varnel::data
