#include "data/RowWriter.h"

#include "core/DbError.h"
#include "data/Database.h"
#include "data/SqlValues.h"

#include <QDate>
#include <sqlite3.h>

namespace varnel::data {

RowWriter::RowWriter(Database &db, const QString &table, const QStringList &fields) : m_db(db) {
    const TableDef def = db.tableDef(table);
    m_table = def.name;
    QStringList cols, marks;
    for (const QString &name : fields) {
        const int i = def.fieldIndex(name);
        if (i < 0)
            throw core::MissingFieldError(def.name, name);
        m_fields << def.fields[i];
        cols << Database::quoted(def.fields[i].name);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(Database::quoted(m_table), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                               .toUtf8();
    if (sqlite3_prepare_v3(db.handle(), sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &m_insert, nullptr)
        != SQLITE_OK)
        db.fail(m_table);
}

RowWriter::~RowWriter() {
    sqlite3_finalize(m_insert);
    if (m_count > 0)
        m_db.touchTable(m_table);
}

namespace {

// yyyy-MM-dd, as a date is stored (QDate::toString(Qt::ISODate) gives the
// same text but formats it by a printf of its own, the larger part of the
// time of binding a row); false for a date with no such text, which is
// bound the usual way.
bool isoDateText(const QDate &d, char (&out)[10]) {
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (!d.isValid() || year < 1000 || year > 9999)
        return false;
    const auto digits = [&](int at, int n, int count) {
        for (int i = at + count - 1; i >= at; --i, n /= 10)
            out[i] = char('0' + n % 10);
    };
    digits(0, year, 4);
    out[4] = '-';
    digits(5, month, 2);
    out[7] = '-';
    digits(8, day, 2);
    return true;
}

}  // namespace

qint64 RowWriter::add(const QVector<QVariant> &values) {
    if (values.size() != m_fields.size())
        throw core::DbError(QStringLiteral("%1: %2 values given for %3 fields").arg(m_table).arg(values.size()).arg(m_fields.size()));
    m_texts.resize(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i) {
        const QVariant &v = values[i];
        if (data::isTextual(m_fields[i].type) && v.isValid() && !v.isNull()) {
            // Bound without a copy: the bytes stay alive until the step.
            m_texts[i] = v.toString().toUtf8();
            sqlite3_bind_text(m_insert, i + 1, m_texts[i].constData(), int(m_texts[i].size()), SQLITE_STATIC);
        } else if (char date[10]; m_fields[i].type == FieldType::Date && v.typeId() == QMetaType::QDate
                                  && isoDateText(v.toDate(), date)) {
            sqlite3_bind_text(m_insert, i + 1, date, int(sizeof date), SQLITE_TRANSIENT);
        } else {
            bindValue(m_insert, i + 1, m_fields[i].type, v);
        }
    }
    const int rc = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    sqlite3_clear_bindings(m_insert);
    if (rc != SQLITE_DONE)
        m_db.fail(m_table);
    ++m_count;
    return sqlite3_last_insert_rowid(m_db.handle());
}

namespace {

// SQLite's own table of autoinc counters, which the table names of the
// program never show.
bool hasSequenceTable(Database &db) {
    sqlite3_stmt *s = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db.handle(), "SELECT 1 FROM sqlite_schema WHERE type='table' AND name='sqlite_sequence'", -1,
                           &s, nullptr) == SQLITE_OK)
        found = sqlite3_step(s) == SQLITE_ROW;
    sqlite3_finalize(s);
    return found;
}

}  // namespace

void emptyTable(Database &db, const QString &table) {
    const QString name = db.tableDef(table).name;
    db.exec(QStringLiteral("DELETE FROM %1").arg(Database::quoted(name)));
    if (hasSequenceTable(db))
        db.exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(QString(name).replace(QLatin1Char('\''), QLatin1String("''"))));
    db.touchTable(name);
}

void keepAutoIncAbove(Database &db, const QString &table, qint64 last) {
    const TableDef def = db.tableDef(table);
    bool autoinc = false;
    for (const FieldDef &f : def.fields)
        autoinc = autoinc || f.type == FieldType::AutoInc;
    if (!autoinc || last <= 0)
        return;
    const QString name = QString(def.name).replace(QLatin1Char('\''), QLatin1String("''"));
    // The sequence table exists once any AUTOINCREMENT table was made.
    db.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = %1 WHERE name = '%2' AND seq < %1").arg(last).arg(name));
    db.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT '%2', %1 "
                           "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = '%2')")
                .arg(last)
                .arg(name));
}

void renumberRows(Database &db, const QString &table, const QVector<qint64> &numbers) {
    const TableDef def = db.tableDef(table);
    QString field;
    for (const FieldDef &f : def.fields)
        if (f.type == FieldType::AutoInc)
            field = f.name;
    if (field.isEmpty())
        throw core::DbError(QStringLiteral("%1: the table has no autoincrement field").arg(def.name));
    for (qsizetype k = 0; k < numbers.size(); ++k)
        if (numbers[k] < k + 1 || (k > 0 && numbers[k] <= numbers[k - 1]))
            throw core::DbError(QStringLiteral("%1: the numbers to give back do not ascend from the row numbers").arg(def.name));
    sqlite3_stmt *s = nullptr;
    const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE %2 = ?2")
                               .arg(Database::quoted(def.name), Database::quoted(field))
                               .toUtf8();
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), int(sql.size()), &s, nullptr) != SQLITE_OK)
        db.fail(def.name);
    // From the last row down: a row's new number is never below its old
    // one, so it is free by the time it is given.
    for (qsizetype k = numbers.size() - 1; k >= 0; --k) {
        if (numbers[k] == k + 1)
            continue;
        sqlite3_bind_int64(s, 1, numbers[k]);
        sqlite3_bind_int64(s, 2, k + 1);
        const int rc = sqlite3_step(s);
        const int changed = sqlite3_changes(db.handle());
        sqlite3_reset(s);
        if (rc != SQLITE_DONE) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(db.handle()));
            sqlite3_finalize(s);
            throw core::DbError(QStringLiteral("%1: %2").arg(def.name, msg));
        }
        if (changed != 1) {
            sqlite3_finalize(s);
            throw core::DbError(QStringLiteral("%1: no row numbered %2").arg(def.name).arg(k + 1));
        }
    }
    sqlite3_finalize(s);
    db.touchTable(def.name);
    if (!numbers.isEmpty())
        keepAutoIncAbove(db, def.name, numbers.last());
}

}  // namespace varnel::data
