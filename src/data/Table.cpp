#include "data/Table.h"

#include "data/Collation.h"
#include "data/TableStream.h"
#include "data/EngineErrors.h"
#include "data/SqlValues.h"
#include "data/Values.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>
#include <unordered_set>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <sqlite3.h>

namespace varnel::data {

// ---------------------------------------------------------------------------
// Internal pieces

struct Table::KeyPart {
    int column = -1;
    FieldType type = FieldType::Text;
    bool polish = false;
    bool descending = false;
};

// A key value in the form SQLite stores and orders it: blank < number < text.
struct Table::KeyValue {
    enum Kind { Null = 0, Number = 1, Text = 2 } kind = Null;
    bool isInt = false;
    qint64 i = 0;
    double d = 0;
    QByteArray text;
};

// The order of the rows as far as it was read. A large table is not read
// whole before its first rows are shown: the first slice of row ids is read
// at once, the rest in further slices, each continuing after the last row
// read (by its key and row id, so no slice depends on the position of
// another), when something needs a row beyond them (a move, a search, a
// record number, a grid's row) and otherwise from the event loop while the
// program waits. The ids read are always the first rows of the order in the
// state of the database the cursor last looked at: its own writes keep them
// in step, and a change made elsewhere, seen before a further slice is read,
// reads them anew from the start.
struct Table::Snapshot {
    std::vector<qint64> ids;  // row ids in the order of the current index: the first rows, or all
    bool complete = false;    // ids holds every row of the table
    qint64 total = -1;        // rows counted before all were read; -1 not counted yet
    quint64 version = 0;
    quint64 generation = 0;   // raised whenever the ids are read anew from the start
    QHash<qint64, QVector<QVariant>> cache;  // rows read for grids
};

// What the cursor keeps beside its rows to work in bulk without a query or a
// conversion it does not need.
//
// The current row may hold columns not yet converted ("unread"): a walk
// positions the cursor on the row its statement has just stepped to, and a
// column becomes a QVariant only when it is read. The values stay in the
// statement until it steps again (SQLite copies a result row out of its
// pages), and the walk lets go of the row before it steps; an unread column
// of a row with no statement behind it is read by its row id.
//
// While a row is edited (Edit), only the changed (dirty) columns live in the
// edit buffer; every other column is the stored one, in m_row.
struct Table::Extra {
    sqlite3_stmt *rowSource = nullptr;  // the walk's statement, standing on the current row
    std::vector<char> unread;           // stored columns of the current row not yet converted
    int unreadCount = 0;
    std::vector<quint64> dirtyMask;  // the dirty columns as bits: the key of the update statement

    // The walk's one statement over the rows in the order of the index; it
    // holds the row id and the columns the work reads (all when it did not
    // say): sourceColumn[c] is the statement's column of field c, or -1.
    sqlite3_stmt *stream = nullptr;
    std::vector<int> sourceColumn;
    bool streamPending = false;  // the statement stands on a row not yet visited
    bool streamDone = false;
    qint64 streamId = 0;
    // Rows the statement may meet out of the walk's order: moved by a
    // changed key, or inserted, while it runs.
    std::unordered_set<qint64> outOfOrder;

    // Opened but the order of rows not yet read: the first row is current,
    // the row ids are read when a move, count or grid needs them (in the
    // order of the index in force then).
    bool deferred = false;
    quint64 deferredVersion = 0;

    // A slice of the order is to be read from the event loop.
    bool restPending = false;
};

class Table::Statements {
public:
    explicit Statements(sqlite3 *db) : m_db(db) {}
    ~Statements() {
        for (sqlite3_stmt *s : {fetch, fetchKey, insert, remove})
            sqlite3_finalize(s);
        for (auto &[mask, s] : updates)
            sqlite3_finalize(s);
    }
    sqlite3_stmt *prepare(const QString &sql) const {
        sqlite3_stmt *s = nullptr;
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v3(m_db, u.constData(), int(u.size()), SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK)
            throwEngineFailure(m_db);
        return s;
    }
    void replaceFetchKey(const QString &sql) {
        sqlite3_finalize(fetchKey);
        fetchKey = nullptr;
        fetchKey = prepare(sql);
    }

    sqlite3 *m_db;
    sqlite3_stmt *fetch = nullptr;
    sqlite3_stmt *fetchKey = nullptr;
    sqlite3_stmt *insert = nullptr;
    sqlite3_stmt *remove = nullptr;
    // Update statements by the set of columns they write (a bitmask): a
    // walk writes the same columns row after row, so the last one used is
    // looked at first.
    std::vector<std::pair<std::vector<quint64>, sqlite3_stmt *>> updates;
    size_t lastUpdate = 0;
    sqlite3_stmt **update(const std::vector<quint64> &mask) {
        if (lastUpdate < updates.size() && updates[lastUpdate].first == mask)
            return &updates[lastUpdate].second;
        for (size_t i = 0; i < updates.size(); ++i)
            if (updates[i].first == mask) {
                lastUpdate = i;
                return &updates[i].second;
            }
        updates.emplace_back(mask, nullptr);
        lastUpdate = updates.size() - 1;
        return &updates.back().second;
    }
};

namespace {

constexpr int CacheLimit = 512;

// Runs a prepared statement's step and resets it at scope end.
class Stepper {
public:
    Stepper(sqlite3 *db, sqlite3_stmt *s) : m_db(db), m_s(s) {}
    ~Stepper() {
        sqlite3_reset(m_s);
        sqlite3_clear_bindings(m_s);
    }
    bool row() {
        const int rc = sqlite3_step(m_s);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            throwEngineFailure(m_db);
        return false;
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_s;
};

}  // namespace

QVariant readColumn(sqlite3_stmt *s, int col, FieldType type) {
    const int t = sqlite3_column_type(s, col);
    if (t == SQLITE_NULL)
        return QVariant();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, col)), sqlite3_column_bytes(s, col));
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        return static_cast<int>(sqlite3_column_int64(s, col));
    case FieldType::Float:
    case FieldType::Currency:
        return sqlite3_column_double(s, col);
    case FieldType::Boolean:
        return sqlite3_column_int64(s, col) != 0;
    case FieldType::Date: {
        // The program stores dates as yyyy-mm-dd; read straight from the bytes.
        const unsigned char *p = sqlite3_column_text(s, col);
        if (sqlite3_column_bytes(s, col) == 10 && p[4] == '-' && p[7] == '-') {
            int parts[3] = {0, 0, 0};
            bool digits = true;
            for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
                digits = digits && p[i] >= '0' && p[i] <= '9';
                int &part = parts[i < 4 ? 0 : i < 7 ? 1 : 2];
                part = part * 10 + (p[i] - '0');
            }
            if (digits) {
                const QDate d(parts[0], parts[1], parts[2]);
                return d.isValid() ? QVariant(d) : QVariant();
            }
        }
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, col)),
                                               sqlite3_column_bytes(s, col));
        const QDate d = QDate::fromString(text, Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    }
    return QVariant();
}

void bindValue(sqlite3_stmt *s, int idx, FieldType type, const QVariant &v) {
    // Amounts, the most bound values, without QVariant's conversions.
    if (v.metaType() == QMetaType::fromType<double>() && (type == FieldType::Float || type == FieldType::Currency)) {
        sqlite3_bind_double(s, idx, *static_cast<const double *>(v.constData()));
        return;
    }
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(s, idx);
        return;
    }
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(s, idx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        sqlite3_bind_int64(s, idx, v.toLongLong());
        break;
    case FieldType::Float:
    case FieldType::Currency:
        sqlite3_bind_double(s, idx, v.toDouble());
        break;
    case FieldType::Boolean:
        sqlite3_bind_int(s, idx, v.toBool() ? 1 : 0);
        break;
    case FieldType::Date: {
        const QByteArray u = v.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(s, idx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

namespace {

bool sameValue(const QVariant &a, const QVariant &b) {
    if (a.metaType() == QMetaType::fromType<double>() && b.metaType() == QMetaType::fromType<double>())
        return *static_cast<const double *>(a.constData()) == *static_cast<const double *>(b.constData());
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    return a == b;
}

QString valueText(const QVariant &v) {
    if (v.typeId() == QMetaType::QDate)
        return formatDate(v.toDate());
    if (v.typeId() == QMetaType::Double)
        return formatFloat(v.toDouble());
    return v.toString();
}

}  // namespace

QVariant RowView::value(const QString &field) const {
    const int i = m_def.fieldIndex(field);
    return i >= 0 && i < m_values.size() ? m_values[i] : QVariant();
}

// ---------------------------------------------------------------------------
// Values and fields

QVariant Table::coerce(const FieldDef &f, const QVariant &v, ValueRules rules) {
    if (!v.isValid() || v.isNull())
        return QVariant();
    // What the program's own code hands over most (amounts and flags) is
    // already what is stored.
    if (v.metaType() == QMetaType::fromType<double>() && (f.type == FieldType::Float || f.type == FieldType::Currency)
        && std::isfinite(*static_cast<const double *>(v.constData())))
        return v;
    if (v.metaType() == QMetaType::fromType<bool>() && f.type == FieldType::Boolean)
        return v;
    const bool isString = v.typeId() == QMetaType::QString;
    const QString s = isString ? v.toString() : QString();
    auto bad = [&](const QString &what) {
        return core::FieldValueError(f.name, QStringLiteral("'%1' nie jest poprawną wartością pola '%2' (oczekiwana %3)")
                                           .arg(isString ? s : valueText(v), f.name, what));
    };
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString t = isString ? s : valueText(v);
        if (t.isEmpty())
            return QVariant();
        if (rules == ValueRules::Input) {
            const qsizetype bad = forbiddenCharacterAt(t, f.type == FieldType::Memo);
            if (bad >= 0)
                throw core::FieldValueError(f.name, QStringLiteral("Field '%1' cannot hold the control character %2")
                                                        .arg(f.name, characterCode(t[bad])));
            // Fixed-width text of spaces only is a blank, as the old engine
            // trimmed it: a required field must not pass with it.
            if (f.type == FieldType::Text && t.count(QLatin1Char(' ')) == t.size())
                return QVariant();
        }
        if (f.type == FieldType::Text && f.size > 0)
            t = cutToCharacters(t, f.size);
        return t;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc: {
        qint64 n = 0;
        if (isString) {
            bool ok = true;
            const auto parsed = parseInteger(s, &ok);
            if (!ok) {
                // "12,0" or "12.0" typed for a whole number is accepted.
                const auto asNumber = parseNumber(s, &ok);
                if (!ok || !asNumber || *asNumber != std::floor(*asNumber))
                    throw bad(QStringLiteral("liczba całkowita"));
                n = static_cast<qint64>(*asNumber);
            } else if (!parsed) {
                return QVariant();
            } else {
                n = *parsed;
            }
        } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            const double d = v.toDouble();
            if (!std::isfinite(d) || std::fabs(d) > 9.0e15)
                throw bad(QStringLiteral("liczba całkowita"));
            n = static_cast<qint64>(std::nearbyint(d));
        } else if (v.typeId() == QMetaType::Bool) {
            n = v.toBool() ? 1 : 0;
        } else {
            bool ok = false;
            n = v.toLongLong(&ok);
            if (!ok)
                throw bad(QStringLiteral("liczba całkowita"));
        }
        const qint64 lo = f.type == FieldType::SmallInt ? -32768 : std::numeric_limits<qint32>::min();
        const qint64 hi = f.type == FieldType::SmallInt ? 32767 : std::numeric_limits<qint32>::max();
        if (n < lo || n > hi)
            throw core::FieldValueError(f.name,
                                        QStringLiteral("%1 nie jest dopuszczalną wartością pola '%2'. Dopuszczalny zakres: od %3 do %4")
                                            .arg(n)
                                            .arg(f.name)
                                            .arg(lo)
                                            .arg(hi),
                                        core::FieldValueError::Kind::OutOfRange);
        return static_cast<int>(n);
    }
    case FieldType::Float:
    case FieldType::Currency: {
        double d = 0;
        if (isString) {
            bool ok = true;
            const auto parsed = parseNumber(s, &ok);
            if (!ok)
                throw bad(QStringLiteral("liczba"));
            if (!parsed)
                return QVariant();
            d = *parsed;
        } else if (v.typeId() == QMetaType::Bool) {
            d = v.toBool() ? 1 : 0;
        } else {
            bool ok = false;
            d = v.toDouble(&ok);
            if (!ok)
                throw bad(QStringLiteral("liczba"));
        }
        if (!std::isfinite(d))
            throw bad(QStringLiteral("liczba"));
        return d;
    }
    case FieldType::Date: {
        QDate d;
        bool typed = false;  // a date written out as text, not the program's own value
        if (v.typeId() == QMetaType::QDate) {
            d = v.toDate();
        } else if (v.typeId() == QMetaType::QDateTime) {
            d = v.toDateTime().date();
        } else {
            bool ok = true;
            const auto parsed = parseDate(isString ? s : v.toString(), &ok);
            if (!ok)
                throw bad(QStringLiteral("data dd.mm.rrrr"));
            if (!parsed)
                return QVariant();
            d = *parsed;
            typed = true;
        }
        if (!d.isValid())
            return QVariant();
        // The zero date the program hands over stands for a blank; any other
        // date before the earliest one (or the zero date typed) is refused
        // rather than lost as a blank.
        if (rules == ValueRules::Input && d < earliestDate() && (typed || d != zeroDate()))
            throw core::FieldValueError(f.name, QStringLiteral("'%1' is before %2, the earliest date field '%3' takes")
                                                    .arg(isString ? s : d.toString(Qt::ISODate),
                                                         earliestDate().toString(Qt::ISODate), f.name));
        if (isBlankDate(d))
            return QVariant();
        return d;
    }
    case FieldType::Boolean: {
        if (v.typeId() == QMetaType::Bool)
            return v.toBool();
        if (isString) {
            bool ok = true;
            const auto parsed = parseBoolean(s, &ok);
            if (!ok)
                throw bad(QStringLiteral("wartość logiczna"));
            return parsed ? QVariant(*parsed) : QVariant();
        }
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            throw bad(QStringLiteral("wartość logiczna"));
        return d != 0;
    }
    }
    return v;
}

const FieldDef &Field::def() const { return m_table->fieldDef(m_index); }
bool Field::isNull() const {
    if (const QVariant *v = m_table->storedValue(m_index))
        return !v->isValid() || v->isNull();
    const QVariant v = m_table->value(m_index);
    return !v.isValid() || v.isNull();
}
QVariant Field::asVariant() const { return m_table->value(m_index); }

QString Field::asString() const {
    // Text not converted yet comes straight from the walk's statement.
    const FieldType type = def().type;
    if (type == FieldType::Text || type == FieldType::Memo) {
        int column = -1, c = -1;
        if (sqlite3_stmt *s = TableInternals::unreadSource(*m_table, m_index, column, c))
            return sqlite3_column_type(s, c) == SQLITE_NULL
                       ? QString()
                       : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, c)), sqlite3_column_bytes(s, c));
    }
    const QVariant *stored = m_table->storedValue(m_index);
    if (stored && stored->metaType() == QMetaType::fromType<QString>())
        return *static_cast<const QString *>(stored->constData());
    const QVariant v = stored ? *stored : m_table->value(m_index);
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return valueText(v);
}

// The value as the given type: blank stays blank, text is read by the type's
// rules (core::FieldValueError when it does not fit), a date is no number.
QVariant Field::readAs(FieldType type) const {
    const QVariant v = m_table->value(m_index);
    if (!v.isValid() || v.isNull())
        return QVariant();
    if (isNumeric(type) && v.typeId() == QMetaType::QDate)
        throw core::FieldValueError(name(), QStringLiteral("Pola '%1' nie można odczytać jako liczby").arg(name()));
    return Table::coerce(FieldDef{def().name, type, 0, false}, v, ValueRules::Stored);
}

// The readers below take a stored value that already has the type asked for
// as it stands (what the cursor reads from a field of that type); anything
// else goes the way of readAs.

// A column the walk's statement stands on and nobody read yet is read from
// the statement as the cursor would convert it, without a QVariant.
namespace {
enum class Asked { Integer, Float, Boolean };
bool readUnread(const Table &t, int index, FieldType type, Asked asked, qint64 &i, double &d) {
    int column = -1, c = -1;
    sqlite3_stmt *s = TableInternals::unreadSource(t, index, column, c);
    if (!s)
        return false;
    switch (asked) {
    case Asked::Integer:
        if (type != FieldType::SmallInt && type != FieldType::Integer && type != FieldType::AutoInc)
            return false;
        i = sqlite3_column_type(s, c) == SQLITE_NULL ? 0 : static_cast<int>(sqlite3_column_int64(s, c));
        return true;
    case Asked::Boolean:
        if (type != FieldType::Boolean)
            return false;
        i = sqlite3_column_type(s, c) != SQLITE_NULL && sqlite3_column_int64(s, c) != 0;
        return true;
    case Asked::Float:
        if (type != FieldType::Float && type != FieldType::Currency)
            return false;
        d = sqlite3_column_type(s, c) == SQLITE_NULL ? 0.0 : sqlite3_column_double(s, c);
        return std::isfinite(d);  // anything else is refused the way of readAs
    }
    return false;
}
}  // namespace

qint64 Field::asInteger() const {
    qint64 i = 0;
    double d = 0;
    if (readUnread(*m_table, m_index, def().type, Asked::Integer, i, d))
        return i;
    if (const QVariant *v = m_table->storedValue(m_index)) {
        if (!v->isValid())
            return 0;
        if (v->metaType() == QMetaType::fromType<int>())
            return *static_cast<const int *>(v->constData());
    }
    const QVariant v = readAs(FieldType::Integer);
    return v.isValid() ? v.toLongLong() : 0;
}

double Field::asFloat() const {
    qint64 i = 0;
    double d = 0;
    if (readUnread(*m_table, m_index, def().type, Asked::Float, i, d))
        return d;
    if (const QVariant *v = m_table->storedValue(m_index)) {
        if (!v->isValid())
            return 0.0;
        if (v->metaType() == QMetaType::fromType<double>()) {
            const double d = *static_cast<const double *>(v->constData());
            if (std::isfinite(d))
                return d;
        }
    }
    const QVariant v = readAs(FieldType::Float);
    return v.isValid() ? v.toDouble() : 0.0;
}

QDate Field::asDate() const {
    if (const QVariant *v = m_table->storedValue(m_index)) {
        if (!v->isValid())
            return zeroDate();
        if (v->metaType() == QMetaType::fromType<QDate>()) {
            const QDate d = *static_cast<const QDate *>(v->constData());
            return isBlankDate(d) ? zeroDate() : d;
        }
    }
    const QVariant v = readAs(FieldType::Date);
    return v.isValid() ? v.toDate() : zeroDate();
}

bool Field::asBoolean() const {
    qint64 i = 0;
    double d = 0;
    if (readUnread(*m_table, m_index, def().type, Asked::Boolean, i, d))
        return i != 0;
    if (const QVariant *v = m_table->storedValue(m_index)) {
        if (!v->isValid())
            return false;
        if (v->metaType() == QMetaType::fromType<bool>())
            return *static_cast<const bool *>(v->constData());
    }
    const QVariant v = readAs(FieldType::Boolean);
    return v.isValid() && v.toBool();
}

void Field::setVariant(const QVariant &v) { m_table->setValue(m_index, v); }
void Field::setString(const QString &s) { m_table->setValue(m_index, s); }
void Field::setInteger(qint64 v) { m_table->setValue(m_index, v); }
void Field::setFloat(double v) { m_table->setValue(m_index, v); }
void Field::setDate(const QDate &d) { m_table->setValue(m_index, d.isValid() ? QVariant(d) : QVariant()); }
void Field::setBoolean(bool v) { m_table->setValue(m_index, v); }
void Field::clear() { m_table->setValue(m_index, QVariant()); }

// ---------------------------------------------------------------------------
// Opening and closing

Table::Table(Database &db, const QString &tableName)
    : m_db(db), m_name(Database::tableNameOf(tableName)), m_extra(std::make_unique<Extra>()) {}

TableObserver::~TableObserver() {
    const auto watched = m_watched;
    for (Table *t : watched)
        t->removeObserver(this);
}

Table::~Table() {
    // The observers are let go before the table closes: they hear no more
    // events of it, only that it is gone.
    const auto observers = std::move(m_observers);
    m_observers.clear();
    for (TableObserver *o : observers) {
        o->m_watched.erase(std::remove(o->m_watched.begin(), o->m_watched.end(), this), o->m_watched.end());
        o->tableDestroyed(*this);
    }
    if (isOpen()) {
        try {
            close();
        } catch (...) {
        }
    }
}

void Table::setTableName(const QString &name) {
    if (isOpen())
        throw core::DbError(QStringLiteral("Cannot change the table name of an open table"));
    m_name = Database::tableNameOf(name);
}

void Table::setFieldNames(const QStringList &names) {
    if (isOpen())
        throw core::DbError(QStringLiteral("Cannot change the fields of an open table"));
    m_expected = names;
}

QStringList Table::fieldNames() const {
    QStringList names;
    for (const auto &slot : m_fields)
        names << slot.def.name;
    return names;
}

void Table::addCalculatedField(const CalculatedField &f) {
    if (isOpen())
        throw core::DbError(QStringLiteral("Cannot add a field to an open table"));
    m_calculated.push_back(f);
}

void Table::open() {
    if (isOpen())
        return;
    TableDef def = m_db.tableDef(m_name);

    QVector<FieldSlot> fields;
    if (m_expected.isEmpty()) {
        for (int c = 0; c < def.fields.size(); ++c)
            fields << FieldSlot{def.fields[c], c, -1};
    } else {
        for (const QString &name : m_expected) {
            const int c = def.fieldIndex(name);
            if (c < 0)
                throw core::MissingFieldError(def.name, name);
            fields << FieldSlot{def.fields[c], c, -1};
        }
    }
    for (int k = 0; k < int(m_calculated.size()); ++k)
        fields << FieldSlot{m_calculated[k].def, -1, k};

    auto stmts = std::make_unique<Statements>(m_db.handle());
    QStringList cols, marks;
    for (const auto &f : def.fields) {
        cols << Database::quoted(f.name);
        marks << QStringLiteral("?");
    }
    const QString table = Database::quoted(def.name);
    stmts->fetch = stmts->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(cols.join(QLatin1Char(',')), table));
    stmts->insert = stmts->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                       .arg(table, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    stmts->remove = stmts->prepare(QStringLiteral("DELETE FROM %1 WHERE rowid=?1").arg(table));

    m_def = def;
    m_name = def.name;
    m_fields = fields;
    m_stmts = std::move(stmts);
    m_versionCell = m_db.tableVersionCell(m_name);
    // Only a key that SQLite keeps as the row id itself orders by row id; a
    // key of another declared type (INT PRIMARY KEY) is a column like any.
    const QString rowIdField = m_db.rowIdField(m_name);
    m_rowIdColumn = rowIdField.isEmpty() ? -1 : m_def.fieldIndex(rowIdField);
    m_state = TableState::Browse;
    m_buffer.clear();
    m_modified = false;
    // The row ids are not read here: a cursor opened to check its fields, or
    // given another index straight away, never reads the order it does not
    // use. Only the first row is read now.
    m_snap.reset();
    m_extra->deferred = true;
    m_extra->deferredVersion = *m_versionCell;
    try {
        selectIndex(m_indexName);
    } catch (...) {
        // An index of another table of this name: fall back to the primary order.
        selectIndex(QString());
    }
    m_rowId = 0;
    m_pos = -1;
    {
        QStringList cols;
        for (const auto &f : m_def.fields)
            cols << Database::quoted(f.name);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> first(
            m_stmts->prepare(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY %3 LIMIT 1")
                                 .arg(cols.join(QLatin1Char(',')), Database::quoted(m_def.name), orderClause())),
            sqlite3_finalize);
        Stepper step(m_db.handle(), first.get());
        if (step.row()) {
            QVector<QVariant> row(m_def.fields.size());
            for (int c = 0; c < m_def.fields.size(); ++c)
                row[c] = readColumn(first.get(), c + 1, m_def.fields[c].type);
            m_pos = 0;
            m_rowId = sqlite3_column_int64(first.get(), 0);
            setRow(std::move(row));
            m_eof = m_bof = false;
            notify(TableEvent::Scrolled);
        }
    }
    if (m_pos < 0)
        clearPosition();
    m_bof = true;
    notify(TableEvent::Opened);
}

void Table::close() {
    if (!isOpen())
        return;
    TableInternals::endStream(*this);
    m_state = TableState::Inactive;
    *m_extra = Extra();
    m_stmts.reset();
    m_snap.reset();
    m_fields.clear();
    m_keyParts.clear();
    m_row.clear();
    m_buffer.clear();
    m_dirty.clear();
    m_modified = false;
    m_pos = -1;
    m_rowId = 0;
    m_eof = m_bof = true;
    m_versionCell = nullptr;
    m_outsideChange = false;
    notify(TableEvent::Closed);
}

void Table::requireOpen() const {
    if (!isOpen())
        throw core::DbError(QStringLiteral("Cannot perform this operation on a closed table (%1)").arg(m_name));
}

// ---------------------------------------------------------------------------
// Order of rows

std::vector<Table::KeyPart> Table::keyPartsOf(const QString &name, bool &byRowId) const {
    std::vector<KeyPart> parts;
    byRowId = false;
    if (name.isEmpty()) {
        const IndexDef *pk = m_def.primaryIndex();
        if (!pk || m_rowIdColumn >= 0) {
            byRowId = true;
            if (pk)
                parts.push_back(KeyPart{m_rowIdColumn, m_def.fields[m_rowIdColumn].type, false, false});
        } else {
            for (const auto &f : pk->fields) {
                const int c = m_def.fieldIndex(f);
                parts.push_back(KeyPart{c, m_def.fields[c].type, false, false});
            }
        }
    } else {
        const IndexDef *ix = m_def.index(name);
        if (!ix)
            throw core::DbError(QStringLiteral("Index does not exist. Table: %1, index: %2").arg(m_name, name));
        for (const auto &f : ix->fields) {
            const int c = m_def.fieldIndex(f);
            const bool polish = isTextual(m_def.fields[c].type) && (ix->options & IndexCaseInsensitive);
            parts.push_back(KeyPart{c, m_def.fields[c].type, polish, bool(ix->options & IndexDescending)});
        }
    }
    return parts;
}

void Table::selectIndex(const QString &name) {
    bool byRowId = false;
    std::vector<KeyPart> parts = keyPartsOf(name, byRowId);
    m_keyParts = parts;
    m_orderByRowId = byRowId;
    m_indexName = name.isEmpty() ? QString() : m_def.index(name)->name;

    if (!m_orderByRowId) {
        QStringList cols;
        for (const auto &p : m_keyParts)
            cols << Database::quoted(m_def.fields[p.column].name);
        m_stmts->replaceFetchKey(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1")
                                     .arg(cols.join(QLatin1Char(',')), Database::quoted(m_def.name)));
    }
    if (!m_extra->deferred)
        loadSnapshot();
}

QString Table::orderClause() const {
    if (m_orderByRowId)
        return QStringLiteral("rowid");
    QStringList parts;
    for (const auto &p : m_keyParts) {
        QString c = Database::quoted(m_def.fields[p.column].name);
        if (isTextual(p.type))
            c += p.polish ? QStringLiteral(" COLLATE PL") : QStringLiteral(" COLLATE BINARY");
        if (p.descending)
            c += QStringLiteral(" DESC");
        parts << c;
    }
    parts << QStringLiteral("rowid");
    return parts.join(QStringLiteral(", "));
}

// Reads the order anew from its start: the first slice now, the rest when
// needed or from the event loop. The snapshot object stays the same, so
// code holding its ids sees the new ones.
void Table::loadSnapshot() const {
    if (!m_snap)
        m_snap = std::make_unique<Snapshot>();
    Snapshot &snap = *m_snap;
    snap.ids.clear();
    snap.cache.clear();
    snap.complete = false;
    snap.total = -1;
    snap.version = *m_versionCell;
    ++snap.generation;
    m_extra->deferred = false;
    appendRows(TableInternals::orderSlices().first);
    readRestLater();
}

namespace {

void bindKeyValue(sqlite3_stmt *s, int idx, qint64 isInt, qint64 i, double d, const QByteArray *text) {
    if (text)
        sqlite3_bind_text(s, idx, text->constData(), int(text->size()), SQLITE_TRANSIENT);
    else if (isInt)
        sqlite3_bind_int64(s, idx, i);
    else
        sqlite3_bind_double(s, idx, d);
}

}  // namespace

// Reads up to `limit` further row ids of the order, after the last one read
// (from the start when none is), within the state the caller reads.
//
// The rows after the last row read, with key (v1..vm) and row id r, are, in
// the order of the index: those with the same key and a greater row id,
// then those equal in the first m-1 parts and after vm in the last, and so
// on down to those after v1 in the first part. Each group is one range of
// the index, so every slice starts where it continues, however many rows
// share a key. A blank part is equal only to a blank one and comes first in
// an ascending order, last in a descending one, as SQLite orders it.
// False when the last row read is no longer in the table (the ids are then
// not of the table's present state).
bool Table::appendRows(size_t limit) const {
    Snapshot &snap = *m_snap;
    if (snap.complete)
        return true;
    const QString table = Database::quoted(m_def.name);
    const QString order = orderClause();
    size_t got = 0;
    struct Bound {
        const KeyValue *key = nullptr;  // a key part's value, or the row id
        qint64 rowId = 0;
    };
    auto run = [&](const QStringList &conditions, const std::vector<Bound> &binds) {
        if (got >= limit)
            return;
        QString sql = QStringLiteral("SELECT rowid FROM %1").arg(table);
        if (!conditions.isEmpty())
            sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
        sql += QStringLiteral(" ORDER BY %1 LIMIT ?").arg(order);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> s(m_stmts->prepare(sql), sqlite3_finalize);
        int b = 1;
        for (const Bound &x : binds) {
            if (!x.key)
                sqlite3_bind_int64(s.get(), b, x.rowId);
            else
                bindKeyValue(s.get(), b, x.key->isInt, x.key->i, x.key->d,
                             x.key->kind == KeyValue::Text ? &x.key->text : nullptr);
            ++b;
        }
        sqlite3_bind_int64(s.get(), b, qint64(limit - got));
        Stepper step(m_db.handle(), s.get());
        while (step.row()) {
            snap.ids.push_back(sqlite3_column_int64(s.get(), 0));
            ++got;
        }
    };

    if (snap.ids.empty()) {
        run({}, {});
    } else if (m_orderByRowId) {
        run({QStringLiteral("rowid > ?")}, {Bound{nullptr, snap.ids.back()}});
    } else {
        const qint64 last = snap.ids.back();
        std::vector<KeyValue> key;
        if (!readRowKey(last, key))
            return false;
        auto column = [&](const KeyPart &p) {
            QString c = Database::quoted(m_def.fields[p.column].name);
            if (isTextual(p.type))
                c += p.polish ? QStringLiteral(" COLLATE PL") : QStringLiteral(" COLLATE BINARY");
            return c;
        };
        const int parts = int(m_keyParts.size());
        for (int level = parts; level >= 0 && got < limit; --level) {
            QStringList conditions;
            std::vector<Bound> binds;
            for (int k = 0; k < level; ++k) {
                if (key[k].kind == KeyValue::Null) {
                    conditions << Database::quoted(m_def.fields[m_keyParts[k].column].name) + QStringLiteral(" IS NULL");
                } else {
                    conditions << column(m_keyParts[k]) + QStringLiteral(" = ?");
                    binds.push_back(Bound{&key[k], 0});
                }
            }
            if (level == parts) {
                conditions << QStringLiteral("rowid > ?");
                binds.push_back(Bound{nullptr, last});
            } else {
                const KeyPart &p = m_keyParts[level];
                const KeyValue &v = key[level];
                const QString plain = Database::quoted(m_def.fields[p.column].name);
                if (!p.descending) {
                    if (v.kind == KeyValue::Null) {
                        conditions << plain + QStringLiteral(" IS NOT NULL");
                    } else {
                        conditions << column(p) + QStringLiteral(" > ?");
                        binds.push_back(Bound{&v, 0});
                    }
                } else {
                    if (v.kind == KeyValue::Null)
                        continue;  // nothing comes after a blank
                    conditions << QStringLiteral("(%1 < ? OR %2 IS NULL)").arg(column(p), plain);
                    binds.push_back(Bound{&v, 0});
                }
            }
            run(conditions, binds);
        }
    }
    if (got < limit)
        snap.complete = true;
    return true;
}

// Reads further slices of the order while `more` says they are needed, all
// in one state of the database (a read transaction of their own outside a
// transaction of the connection). When the table changed elsewhere since the
// ids were read, they are read anew from the start first and the cursor
// finds its row again; observers hear RowsChanged.
void Table::readRowsWhile(const std::function<bool()> &more) const {
    if (!m_snap || m_snap->complete || !more())
        return;
    std::optional<ReadTransaction> read;
    if (!m_db.inTransaction())
        read.emplace(m_db);
    if (m_snap->version != *m_versionCell)
        reloadOrder();
    size_t slice = TableInternals::orderSlices().further;
    bool reloaded = false;
    while (!m_snap->complete && more()) {
        if (!appendRows(slice)) {
            if (reloaded)
                break;  // not to be read in this state; the next look reads it anew
            reloaded = true;
            reloadOrder();
            continue;
        }
        // A search far into a large table reads it in fewer, larger slices.
        slice = std::min<size_t>(slice * 2, size_t(1) << 20);
    }
}

void Table::reloadOrder() const {
    loadSnapshot();
    settle();
    noteOutsideChange();
}

// Whether the row at this position exists, reading the order that far.
bool Table::haveRow(int pos) const {
    if (pos < 0)
        return false;
    readRowsWhile([&] { return size_t(pos) >= m_snap->ids.size(); });
    return size_t(pos) < m_snap->ids.size();
}

void Table::readAllRows() const {
    readRowsWhile([] { return true; });
}

// The number of rows: counted by SQLite while not all ids are read.
int Table::rowTotal() const {
    Snapshot &snap = *m_snap;
    if (!snap.complete && snap.total < 0) {
        std::optional<ReadTransaction> read;
        if (!m_db.inTransaction())
            read.emplace(m_db);
        if (snap.version != *m_versionCell)
            reloadOrder();
        if (!snap.complete) {
            std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> s(
                m_stmts->prepare(QStringLiteral("SELECT count(*) FROM %1").arg(Database::quoted(m_def.name))), sqlite3_finalize);
            Stepper step(m_db.handle(), s.get());
            snap.total = step.row() ? sqlite3_column_int64(s.get(), 0) : 0;
        }
    }
    return int(snap.complete ? snap.ids.size() : size_t(std::max<qint64>(snap.total, qint64(snap.ids.size()))));
}

// The rest of the order is read from the event loop, a slice per pass, so a
// large table is whole soon after it is shown without holding up the
// program; whatever needs rows sooner reads them itself.
void Table::readRestLater() const {
    if (!m_snap || m_snap->complete || m_extra->restPending)
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    m_extra->restPending = true;
    const std::weak_ptr<int> alive = m_alive;
    const Table *self = this;
    QMetaObject::invokeMethod(
        app,
        [alive, self] {
            if (alive.expired())
                return;
            self->m_extra->restPending = false;
            if (!self->isOpen() || !self->m_snap || self->m_snap->complete)
                return;
            try {
                const size_t target = self->m_snap->ids.size() + TableInternals::orderSlices().further;
                self->readRowsWhile([self, target] { return self->m_snap->ids.size() < target; });
            } catch (...) {
                return;  // the next use of the rows reads on and tells what failed
            }
            self->readRestLater();
        },
        Qt::QueuedConnection);
}

// Brings the order of rows up to date when another cursor, connection or
// program changed the table. Reads of fields and of a grid's cells do not
// look outside the connection (that costs a query each): they show the rows
// as the last move, count or noticeOutsideChanges found them.
void Table::sync(bool lookOutside) const {
    if (lookOutside)
        m_db.checkOutsideChanges();
    if (m_snap && m_snap->version == *m_versionCell)
        return;
    // Rows of a cursor opened before a change count as read then.
    const bool wasRead = m_snap != nullptr || m_extra->deferredVersion != *m_versionCell;
    if (wasRead) {
        reloadOrder();
        return;
    }
    loadSnapshot();
    settle();
}

// Finds the current row again in a freshly read order. While it exists it
// stays current. When it went away, the cursor lands on the row that now
// stands where it stood in the order (the nearest row), so that record
// number and count agree with the rows. A row being edited keeps its
// identity: its post must find it gone rather than change another row.
void Table::settle() const {
    const auto &ids = m_snap->ids;
    if (m_state == TableState::Insert) {
        haveRow(m_pos);
        m_pos = std::min(m_pos, int(ids.size()) - 1);
        return;
    }
    if (!haveRow(0)) {
        m_pos = -1;
        if (m_state == TableState::Browse) {
            m_rowId = 0;
            setRow(QVector<QVariant>(m_def.fields.size()));
        }
        m_eof = m_bof = true;
        return;
    }
    int pos = m_pos < 0 ? 0 : positionOf(m_rowId);
    const bool gone = pos < 0;
    if (gone) {
        TableInternals::loadAll(*this);
        pos = nearestPosition(m_rowId, m_state == TableState::Edit ? editedRow() : m_row);
    }
    m_pos = pos;
    if (m_state == TableState::Edit)
        return;
    if (m_rowId != ids[pos]) {
        m_rowId = ids[pos];
        m_eof = m_bof = false;
    }
    setRow(fetchRow(m_rowId));
}

// Where a row with this id and these stored values would stand in the
// order: the position of the first row after it, or the last row.
int Table::nearestPosition(qint64 rowId, const QVector<QVariant> &values) const {
    int pos = 0;
    if (m_orderByRowId) {
        pos = rowIdLowerBound(rowId);
    } else {
        const auto key = valuesKey(values);
        pos = lowerBound(key, key.size(), true, rowId);
    }
    return std::clamp(pos, 0, int(m_snap->ids.size()) - 1);
}

// First position whose row id is not below this one (order by row id),
// reading the order as far as needed.
int Table::rowIdLowerBound(qint64 rowId) const {
    const auto &ids = m_snap->ids;
    readRowsWhile([&] { return ids.empty() || ids.back() < rowId; });
    return int(std::lower_bound(ids.begin(), ids.end(), rowId) - ids.begin());
}

// Grids and controls are told RowsChanged when the rows were read again
// because of a change made elsewhere: before the next event of this cursor,
// or from the event loop, since a read inside a paint must not reset a grid.
void Table::noteOutsideChange() const {
    if (m_outsideChange)
        return;
    m_outsideChange = true;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    const std::weak_ptr<int> alive = m_alive;
    Table *self = const_cast<Table *>(this);
    QMetaObject::invokeMethod(
        app,
        [alive, self] {
            if (!alive.expired() && self->m_outsideChange) {
                self->m_outsideChange = false;
                if (self->isOpen())
                    self->notify(TableEvent::RowsChanged);
            }
        },
        Qt::QueuedConnection);
}

QVector<QVariant> Table::fetchRow(qint64 rowId) const {
    sqlite3_stmt *s = m_stmts->fetch;
    Stepper step(m_db.handle(), s);
    sqlite3_bind_int64(s, 1, rowId);
    QVector<QVariant> row(m_def.fields.size());
    if (step.row()) {
        for (int c = 0; c < m_def.fields.size(); ++c)
            row[c] = readColumn(s, c, m_def.fields[c].type);
    }
    return row;
}

void Table::setPosition(int pos) {
    const auto &ids = m_snap->ids;
    m_pos = pos;
    m_rowId = ids[pos];
    setRow(fetchRow(m_rowId));
    m_eof = m_bof = false;
    notify(TableEvent::Scrolled);
}

void Table::clearPosition() {
    m_pos = -1;
    m_rowId = 0;
    setRow(QVector<QVariant>(m_def.fields.size()));
    m_eof = m_bof = true;
    notify(TableEvent::Scrolled);
}

void Table::setIndexName(const QString &name) {
    requireOpen();
    checkBrowseMode();
    m_db.checkOutsideChanges();
    m_extra->deferred = false;
    selectIndex(name);
    settle();
    notify(TableEvent::RowsChanged);
}

QStringList Table::indexFieldNames() const {
    QStringList names;
    for (const auto &p : m_keyParts)
        names << m_def.fields[p.column].name;
    return names;
}

QVector<FieldDef> Table::fieldDefs() const {
    QVector<FieldDef> defs;
    for (const auto &slot : m_fields)
        defs << slot.def;
    return defs;
}

int Table::fieldIndex(const QString &name) const {
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].def.name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Table::field(const QString &name) {
    const int i = fieldIndex(name);
    if (i < 0)
        throw core::DbError(QStringLiteral("%1: Field '%2' not found").arg(m_name, name));
    return Field(this, i);
}

// ---------------------------------------------------------------------------
// Navigation

void Table::checkBrowseMode() {
    if (!isEditing())
        return;
    updateRecord();
    if (m_modified)
        post();
    else
        cancel();
}

void Table::first() {
    requireOpen();
    checkBrowseMode();
    sync();
    if (!haveRow(0)) {
        clearPosition();
        return;
    }
    setPosition(0);
    m_bof = true;
}

void Table::last() {
    requireOpen();
    checkBrowseMode();
    sync();
    readAllRows();
    if (m_snap->ids.empty()) {
        clearPosition();
        return;
    }
    setPosition(int(m_snap->ids.size()) - 1);
    m_eof = true;
}

void Table::next() {
    requireOpen();
    checkBrowseMode();
    sync();
    if (haveRow(m_pos + 1)) {
        setPosition(m_pos + 1);
    } else {
        m_eof = true;
    }
}

void Table::prior() {
    requireOpen();
    checkBrowseMode();
    sync();
    if (m_pos > 0) {
        setPosition(m_pos - 1);
    } else {
        m_bof = true;
    }
}

bool Table::isEmpty() const { return recordCount() == 0; }

int Table::recordCount() const {
    requireOpen();
    if (!m_snap && m_extra->deferred) {
        // Counted without reading the order of rows (SQLite counts the
        // smallest index), as long as nothing changed since the opening.
        m_db.checkOutsideChanges();
        if (m_extra->deferredVersion == *m_versionCell) {
            std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> s(
                m_stmts->prepare(QStringLiteral("SELECT count(*) FROM %1").arg(Database::quoted(m_def.name))),
                sqlite3_finalize);
            Stepper step(m_db.handle(), s.get());
            return step.row() ? int(sqlite3_column_int64(s.get(), 0)) : 0;
        }
    }
    sync();
    return rowTotal();
}

int Table::recNo() const {
    if (!isOpen() || m_state == TableState::Insert)
        return 0;
    sync();
    return m_pos + 1;
}

void Table::moveTo(int recNo) {
    requireOpen();
    checkBrowseMode();
    sync();
    haveRow(std::max(recNo - 1, 0));
    if (m_snap->ids.empty()) {
        clearPosition();
        return;
    }
    setPosition(std::clamp(recNo - 1, 0, int(m_snap->ids.size()) - 1));
}

qint64 Table::rowId() const {
    if (!isOpen() || m_state == TableState::Insert)
        return 0;
    sync();
    return m_rowId;
}

bool Table::gotoRowId(qint64 rowId) {
    requireOpen();
    checkBrowseMode();
    sync();
    const int pos = positionOf(rowId);
    if (pos < 0)
        return false;
    setPosition(pos);
    return true;
}

std::vector<qint64> Table::orderedRowIds() const {
    sync();
    readAllRows();
    return m_snap->ids;
}

int Table::positionOf(qint64 rowId) const {
    const auto &ids = m_snap->ids;
    const int n = int(ids.size());
    // Near the current row first: walks go from one row to the next.
    for (const int p : {m_pos + 1, m_pos, m_pos - 1})
        if (p >= 0 && p < n && ids[p] == rowId)
            return p;
    if (m_orderByRowId) {
        const int p = rowIdLowerBound(rowId);
        return p < int(ids.size()) && ids[p] == rowId ? p : -1;
    }
    // The row's key tells its place.
    std::vector<KeyValue> key;
    if (!readRowKey(rowId, key))
        return -1;  // not in the table
    const int p = lowerBound(key, key.size(), true, rowId);
    if (p < int(ids.size()) && ids[p] == rowId)
        return p;
    readAllRows();
    const auto it = std::find(ids.begin(), ids.end(), rowId);
    return it != ids.end() ? int(it - ids.begin()) : -1;
}

// ---------------------------------------------------------------------------
// Key search

std::vector<Table::KeyValue> Table::rowKey(qint64 rowId) const {
    std::vector<KeyValue> key;
    if (!readRowKey(rowId, key))
        key.assign(m_keyParts.size(), KeyValue());
    return key;
}

// The key of a row of the table; false when there is no such row.
bool Table::readRowKey(qint64 rowId, std::vector<KeyValue> &key) const {
    sqlite3_stmt *s = m_stmts->fetchKey;
    Stepper step(m_db.handle(), s);
    sqlite3_bind_int64(s, 1, rowId);
    if (!step.row())
        return false;
    key = readKey(s, m_keyParts.size());
    return true;
}

// The key values in the first `parts` columns of a statement's row.
std::vector<Table::KeyValue> Table::readKey(sqlite3_stmt *s, size_t parts) {
    std::vector<KeyValue> key(parts);
    for (size_t k = 0; k < parts; ++k) {
        KeyValue &v = key[k];
        switch (sqlite3_column_type(s, int(k))) {
        case SQLITE_NULL:
            v.kind = KeyValue::Null;
            break;
        case SQLITE_INTEGER:
            v.kind = KeyValue::Number;
            v.isInt = true;
            v.i = sqlite3_column_int64(s, int(k));
            v.d = double(v.i);
            break;
        case SQLITE_FLOAT:
            v.kind = KeyValue::Number;
            v.d = sqlite3_column_double(s, int(k));
            break;
        default:
            v.kind = KeyValue::Text;
            v.text = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(s, int(k))), sqlite3_column_bytes(s, int(k)));
            break;
        }
    }
    return key;
}

// A value of a field in the form SQLite stores and orders it.
Table::KeyValue Table::keyValueOf(FieldType type, const QVariant &v) {
    KeyValue kv;
    if (!v.isValid() || v.isNull())
        return kv;
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        kv.kind = KeyValue::Text;
        kv.text = v.toString().toUtf8();
        break;
    case FieldType::Date:
        kv.kind = KeyValue::Text;
        kv.text = v.toDate().toString(Qt::ISODate).toUtf8();
        break;
    case FieldType::Float:
    case FieldType::Currency:
        kv.kind = KeyValue::Number;
        kv.d = v.toDouble();
        break;
    default:
        kv.kind = KeyValue::Number;
        kv.isInt = true;
        kv.i = v.toLongLong();
        kv.d = double(kv.i);
        break;
    }
    return kv;
}

std::vector<Table::KeyValue> Table::searchKey(const QVariantList &key) const {
    if (m_keyParts.empty())
        throw core::DbError(QStringLiteral("Table %1 has no index to search").arg(m_name));
    if (size_t(key.size()) > m_keyParts.size())
        throw core::DbError(QStringLiteral("Too many key values for the index of table %1").arg(m_name));
    std::vector<KeyValue> out;
    for (int k = 0; k < key.size(); ++k) {
        const KeyPart &p = m_keyParts[k];
        out.push_back(keyValueOf(p.type, coerce(m_def.fields[p.column], key[k], ValueRules::Stored)));
    }
    return out;
}

// The key of a row from its stored values (of a row that may be gone).
std::vector<Table::KeyValue> Table::valuesKey(const QVector<QVariant> &values) const {
    std::vector<KeyValue> out;
    for (const KeyPart &p : m_keyParts)
        out.push_back(keyValueOf(p.type, values.value(p.column)));
    return out;
}

int Table::compareKeys(const std::vector<KeyValue> &a, const std::vector<KeyValue> &b, size_t parts) const {
    return compareKeyValues(m_keyParts, a, b, parts);
}

int Table::compareKeyValues(const std::vector<KeyPart> &keyParts, const std::vector<KeyValue> &a,
                            const std::vector<KeyValue> &b, size_t parts) {
    for (size_t k = 0; k < parts; ++k) {
        const KeyValue &x = a[k];
        const KeyValue &y = b[k];
        int c = 0;
        if (x.kind != y.kind) {
            c = int(x.kind) - int(y.kind);
        } else if (x.kind == KeyValue::Number) {
            if (x.isInt && y.isInt)
                c = x.i < y.i ? -1 : (x.i > y.i ? 1 : 0);
            else
                c = x.d < y.d ? -1 : (x.d > y.d ? 1 : 0);
        } else if (x.kind == KeyValue::Text) {
            if (keyParts[k].polish) {
                c = comparePolish(x.text.constData(), int(x.text.size()), y.text.constData(), int(y.text.size()));
            } else {
                const int n = std::min(x.text.size(), y.text.size());
                c = std::memcmp(x.text.constData(), y.text.constData(), size_t(n));
                if (c == 0)
                    c = int(x.text.size() - y.text.size());
            }
        }
        if (c != 0)
            return keyParts[k].descending ? -c : c;
    }
    return 0;
}

// First position whose row is not before the key (and, with byRowId, not
// before the row id among equal keys).
int Table::lowerBound(const std::vector<KeyValue> &key, size_t parts, bool byRowId, qint64 rowId) const {
    const auto &ids = m_snap->ids;
    auto before = [&](qint64 id) {
        int c = compareKeys(rowKey(id), key, parts);
        if (c == 0 && byRowId)
            c = id < rowId ? -1 : (id > rowId ? 1 : 0);
        return c < 0;
    };
    // The order is read on while its last row read still comes before the key.
    readRowsWhile([&] { return ids.empty() || before(ids.back()); });
    int lo = 0, hi = int(ids.size());
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (before(ids[mid]))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool Table::findKey(const QVariantList &key) {
    requireOpen();
    checkBrowseMode();
    sync();
    const auto search = searchKey(key);
    const auto &ids = m_snap->ids;
    if (m_orderByRowId) {
        if (search.empty() || search[0].kind != KeyValue::Number)
            return false;
        const int p = rowIdLowerBound(search[0].i);
        if (p >= int(ids.size()) || ids[p] != search[0].i)
            return false;
        setPosition(p);
        return true;
    }
    const int pos = lowerBound(search, search.size(), false, 0);
    if (pos >= int(ids.size()) || compareKeys(rowKey(ids[pos]), search, search.size()) != 0)
        return false;
    setPosition(pos);
    return true;
}

void Table::findNearest(const QVariantList &key) {
    requireOpen();
    checkBrowseMode();
    sync();
    const auto search = searchKey(key);
    const auto &ids = m_snap->ids;
    if (!haveRow(0)) {
        clearPosition();
        return;
    }
    int pos = 0;
    if (m_orderByRowId) {
        const qint64 id = search.empty() || search[0].kind != KeyValue::Number ? 0 : search[0].i;
        pos = rowIdLowerBound(id);
    } else {
        pos = lowerBound(search, search.size(), false, 0);
    }
    if (pos >= int(ids.size())) {
        setPosition(int(ids.size()) - 1);
        m_eof = true;
    } else {
        setPosition(pos);
    }
}

// ---------------------------------------------------------------------------
// Editing

void Table::setState(TableState s) {
    if (m_state == s)
        return;
    m_state = s;
    notify(TableEvent::StateChanged);
}

void Table::edit() {
    requireOpen();
    if (isEditing())
        return;
    sync();
    if (!haveRow(0)) {
        insert();
        return;
    }
    // Only changed columns are kept in the buffer (see Extra).
    if (m_buffer.size() != m_def.fields.size())
        m_buffer = QVector<QVariant>(m_def.fields.size());
    m_dirty.assign(m_def.fields.size(), false);
    m_extra->dirtyMask.assign((size_t(m_def.fields.size()) + 63) / 64, 0);
    m_modified = false;
    setState(TableState::Edit);
}

void Table::insert() {
    requireOpen();
    checkBrowseMode();
    sync();
    m_insertReturnPos = m_pos;
    m_buffer = QVector<QVariant>(m_def.fields.size());
    m_dirty.assign(m_def.fields.size(), false);
    m_extra->dirtyMask.assign((size_t(m_def.fields.size()) + 63) / 64, 0);
    m_modified = false;
    m_eof = m_bof = false;
    setState(TableState::Insert);
    notify(TableEvent::Scrolled);
}

void Table::setValue(int index, const QVariant &value) {
    requireOpen();
    const FieldSlot &slot = m_fields.at(index);
    if (slot.column < 0)
        throw core::DbError(QStringLiteral("Field '%1' cannot be modified").arg(slot.def.name));
    if (!isEditing())
        throw core::DbError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(m_name));
    const QVariant v = coerce(slot.def, value);
    const int stored = TableInternals::comparedWithStored(*this, index, v);
    if (stored == 0)
        return;
    if (stored < 0) {
        const QVariant &was = currentValue(slot.column);
        if (sameValue(was, v) && (v.isValid() == was.isValid()))
            return;
    }
    m_buffer[slot.column] = v;
    m_dirty[slot.column] = true;
    m_extra->dirtyMask[size_t(slot.column) / 64] |= quint64(1) << (slot.column % 64);
    m_modified = true;
    notify(TableEvent::RowEdited, index);
}

QVector<QVariant> Table::currentValues() const {
    if (m_state == TableState::Insert)
        return m_buffer;
    if (m_state == TableState::Browse)
        syncRow();
    TableInternals::loadAll(*this);
    return m_state == TableState::Edit ? editedRow() : m_row;
}

// The stored values with the edit's changes (Edit).
QVector<QVariant> Table::editedRow() const {
    QVector<QVariant> row = m_row;
    for (int c = 0; c < row.size() && c < int(m_dirty.size()); ++c)
        if (m_dirty[c])
            row[c] = m_buffer[c];
    return row;
}

// One column of the current row (edit buffer while editing), converted
// when first read.
const QVariant &Table::currentValue(int column) const {
    static const QVariant blank;
    if (m_state == TableState::Insert || (m_state == TableState::Edit && m_dirty[column]))
        return m_buffer[column];
    if (column >= m_row.size())
        return blank;
    TableInternals::loadColumn(*this, column);
    return m_row[column];
}

// The order of rows is not needed to read the current row: a cursor whose
// rows were not read yet reads them only when something changed meanwhile.
void Table::syncRow() const {
    if (!m_snap && m_extra->deferred && m_extra->deferredVersion == *m_versionCell)
        return;
    sync(false);
}

void Table::setRow(QVector<QVariant> row) const {
    m_row = std::move(row);
    m_extra->rowSource = nullptr;
    m_extra->unreadCount = 0;
}

QVariant Table::value(int index) const {
    requireOpen();
    const FieldSlot &slot = m_fields.at(index);
    if (slot.column >= 0) {
        if (m_state == TableState::Browse)
            syncRow();
        return currentValue(slot.column);
    }
    const QVector<QVariant> row = currentValues();
    if (m_state == TableState::Browse && m_pos < 0)
        return QVariant();
    return m_calculated[slot.calculated].compute(RowView(m_def, row));
}

const QVariant *Table::storedValue(int index) const {
    requireOpen();
    const FieldSlot &slot = m_fields.at(index);
    if (slot.column < 0)
        return nullptr;
    if (m_state == TableState::Browse)
        syncRow();
    return &currentValue(slot.column);
}

void Table::noticeOutsideChanges() const {
    requireOpen();
    sync();
}

QVariant Table::valueAt(int recNo, int index) const {
    requireOpen();
    sync(false);  // the grid looked outside before its paint
    const auto &ids = m_snap->ids;
    if (recNo > int(ids.size()) && recNo <= rowTotal())
        haveRow(recNo - 1);  // a row further down than read yet
    if (recNo < 1 || recNo > int(ids.size()))
        return QVariant();
    if (recNo - 1 == m_pos && m_state != TableState::Insert)
        return value(index);
    const qint64 id = ids[recNo - 1];
    auto it = m_snap->cache.find(id);
    if (it == m_snap->cache.end()) {
        if (m_snap->cache.size() >= CacheLimit)
            m_snap->cache.clear();
        it = m_snap->cache.insert(id, fetchRow(id));
    }
    const FieldSlot &slot = m_fields.at(index);
    if (slot.column >= 0)
        return it.value().value(slot.column);
    return m_calculated[slot.calculated].compute(RowView(m_def, it.value()));
}

// After a write through this cursor: when the cursor's order was up to date,
// it is kept in step by hand (cheap); otherwise it is read again.
void Table::afterWrite(const std::function<void()> &applyToSnapshot) {
    const bool wasCurrent = m_snap && m_snap->version == *m_versionCell;
    m_db.touchTableCell(m_versionCell);
    if (wasCurrent) {
        m_snap->version = *m_versionCell;
        m_snap->cache.clear();
        applyToSnapshot();
    } else {
        sync();
    }
}

void Table::placeRow(qint64 rowId, bool wasPresent) {
    auto &ids = m_snap->ids;
    if (wasPresent && m_pos >= 0 && m_pos < int(ids.size()) && ids[m_pos] == m_rowId)
        ids.erase(ids.begin() + m_pos);
    else if (wasPresent)
        ids.erase(std::remove(ids.begin(), ids.end(), m_rowId), ids.end());
    else if (m_snap->total >= 0)
        ++m_snap->total;
    int pos = 0;
    if (m_orderByRowId) {
        pos = rowIdLowerBound(rowId);
    } else {
        const auto key = rowKey(rowId);
        pos = lowerBound(key, key.size(), true, rowId);
    }
    // Reading the order on to the row's new place reads the row itself.
    if (pos >= int(ids.size()) || ids[pos] != rowId)
        ids.insert(ids.begin() + pos, rowId);
    m_pos = pos;
}

void Table::updateRecord() {
    // Told even while controls are disabled: a control's pending text must
    // not be lost by a post.
    const auto observers = m_observers;
    for (TableObserver *o : observers)
        if (isObserver(o))
            o->tableEvent(*this, TableEvent::UpdateRecord, -1);
}

void Table::post() {
    requireOpen();
    if (!isEditing())
        return;
    updateRecord();
    for (int c = 0; c < m_def.fields.size(); ++c) {
        const FieldDef &f = m_def.fields[c];
        if (f.required && f.type != FieldType::AutoInc && TableInternals::isBlank(*this, c))
            throw core::RequiredFieldError(f.name);
    }
    sqlite3 *db = m_db.handle();
    if (m_state == TableState::Insert) {
        sqlite3_stmt *s = m_stmts->insert;
        {
            Stepper step(db, s);
            for (int c = 0; c < m_def.fields.size(); ++c)
                bindValue(s, c + 1, m_def.fields[c].type, m_buffer[c]);
            step.row();
        }
        const qint64 id = sqlite3_last_insert_rowid(db);
        if (m_rowIdColumn >= 0 && !m_buffer[m_rowIdColumn].isValid())
            m_buffer[m_rowIdColumn] = static_cast<int>(id);
        setRow(m_buffer);
        m_rowId = id;
        m_modified = false;
        m_state = TableState::Browse;
        if (m_extra->stream)
            m_extra->outOfOrder.insert(id);
        afterWrite([&] { placeRow(id, false); });
        m_eof = m_bof = false;
        notify(TableEvent::StateChanged);
        notify(TableEvent::RowsChanged);
        return;
    }

    if (!m_modified) {
        setState(TableState::Browse);
        return;
    }
    sqlite3_stmt *&stmt = *m_stmts->update(m_extra->dirtyMask);
    if (!stmt) {
        QStringList sets;
        for (int c = 0; c < m_def.fields.size(); ++c)
            if (m_dirty[c])
                sets << Database::quoted(m_def.fields[c].name) + QStringLiteral("=?");
        stmt = m_stmts->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?")
                                    .arg(Database::quoted(m_def.name), sets.join(QLatin1Char(','))));
    }
    {
        Stepper step(db, stmt);
        int b = 1;
        for (int c = 0; c < m_def.fields.size(); ++c)
            if (m_dirty[c])
                bindValue(stmt, b++, m_def.fields[c].type, m_buffer[c]);
        sqlite3_bind_int64(stmt, b, m_rowId);
        step.row();
    }
    if (sqlite3_changes(db) == 0)
        rowGone();
    bool keyChanged = false;
    for (const auto &p : m_keyParts)
        keyChanged = keyChanged || m_dirty[p.column];
    qint64 newId = m_rowId;
    if (m_rowIdColumn >= 0 && m_dirty[m_rowIdColumn] && m_buffer[m_rowIdColumn].isValid()) {
        newId = m_buffer[m_rowIdColumn].toLongLong();
        keyChanged = keyChanged || m_orderByRowId || newId != m_rowId;
    }
    // The stored row is now the old one with the changed columns (the
    // others, read or not, are as they were).
    for (int c = 0; c < m_def.fields.size(); ++c)
        if (m_dirty[c]) {
            if (m_extra->unreadCount > 0 && m_extra->unread[c]) {
                m_extra->unread[c] = 0;
                --m_extra->unreadCount;
            }
            m_row[c] = m_buffer[c];
        }
    m_modified = false;
    m_state = TableState::Browse;
    if (keyChanged && m_extra->stream) {
        m_extra->outOfOrder.insert(m_rowId);
        m_extra->outOfOrder.insert(newId);
    }
    afterWrite([&] {
        if (keyChanged)
            placeRow(newId, true);
    });
    m_rowId = newId;
    notify(TableEvent::StateChanged);
    if (keyChanged)
        notify(TableEvent::RowsChanged);
}

void Table::cancel() {
    requireOpen();
    if (!isEditing())
        return;
    const bool wasInsert = m_state == TableState::Insert;
    m_buffer.clear();
    m_dirty.clear();
    m_modified = false;
    m_state = TableState::Browse;
    if (wasInsert) {
        sync();
        haveRow(std::max(m_insertReturnPos, 0));
        const int n = int(m_snap->ids.size());
        if (n == 0) {
            clearPosition();
        } else {
            const int pos = std::clamp(m_insertReturnPos, 0, n - 1);
            m_pos = pos;
            m_rowId = m_snap->ids[pos];
            setRow(fetchRow(m_rowId));
            m_eof = m_bof = false;
        }
    }
    notify(TableEvent::StateChanged);
    notify(TableEvent::Scrolled);
}

void Table::remove() {
    requireOpen();
    if (m_state == TableState::Insert) {
        cancel();
        return;
    }
    if (m_state == TableState::Edit) {
        m_buffer.clear();
        m_dirty.clear();
        m_modified = false;
        m_state = TableState::Browse;
    }
    const qint64 shown = m_rowId;  // the row the caller means
    sync();
    if (m_snap->ids.empty() || m_pos < 0)
        throw core::DbError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (shown != 0 && m_rowId != shown)
        rowGone();  // never another row in its place
    {
        Stepper step(m_db.handle(), m_stmts->remove);
        sqlite3_bind_int64(m_stmts->remove, 1, m_rowId);
        step.row();
    }
    if (sqlite3_changes(m_db.handle()) == 0)
        rowGone();
    afterWrite([&] {
        auto &ids = m_snap->ids;
        if (m_pos < int(ids.size()) && ids[m_pos] == m_rowId)
            ids.erase(ids.begin() + m_pos);
        if (m_snap->total > 0)
            --m_snap->total;
    });
    haveRow(m_pos);  // the row that now stands there
    const int n = int(m_snap->ids.size());
    if (n == 0) {
        clearPosition();
    } else {
        setPosition(std::min(m_pos, n - 1));
    }
    notify(TableEvent::StateChanged);
    notify(TableEvent::RowsChanged);
}

// The row to be posted or removed is no longer in the table (another cursor
// or program removed it): nothing is written, the pending edit is dropped,
// the cursor lands on the nearest row, and the caller hears of it.
void Table::rowGone() {
    m_buffer.clear();
    m_dirty.clear();
    m_modified = false;
    m_state = TableState::Browse;
    loadSnapshot();
    settle();
    m_outsideChange = false;
    notify(TableEvent::StateChanged);
    notify(TableEvent::RowsChanged);
    throw core::RecordGoneError();
}

void Table::refresh() {
    requireOpen();
    checkBrowseMode();
    m_db.checkOutsideChanges();
    loadSnapshot();
    settle();
    m_outsideChange = false;
    notify(TableEvent::RowsChanged);
}

// ---------------------------------------------------------------------------
// Observers

void Table::addObserver(TableObserver *o) {
    if (std::find(m_observers.begin(), m_observers.end(), o) == m_observers.end()) {
        m_observers.push_back(o);
        o->m_watched.push_back(this);
    }
}

void Table::removeObserver(TableObserver *o) {
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), o), m_observers.end());
    o->m_watched.erase(std::remove(o->m_watched.begin(), o->m_watched.end(), this), o->m_watched.end());
}

void Table::disableControls() { ++m_controlsDisabled; }

void Table::enableControls() {
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0)
        notify(TableEvent::RowsChanged);
}

void Table::notify(TableEvent e, int field) {
    if (m_controlsDisabled > 0)
        return;
    if (m_outsideChange) {
        m_outsideChange = false;
        if (e != TableEvent::RowsChanged && e != TableEvent::Opened && e != TableEvent::Closed)
            notify(TableEvent::RowsChanged);
    }
    // An observer may leave, or destroy another one, while being told.
    const auto observers = m_observers;
    for (TableObserver *o : observers)
        if (isObserver(o))
            o->tableEvent(*this, e, field);
}

bool Table::isObserver(TableObserver *o) const {
    return std::find(m_observers.begin(), m_observers.end(), o) != m_observers.end();
}

}  // namespace varnel::data

namespace varnel::data {

// ---------------------------------------------------------------------------
// Rows in bulk

std::vector<qint64> Table::sortedByIndex(const QString &indexName, std::vector<qint64> rowIds) const {
    requireOpen();
    bool byRowId = false;
    const std::vector<KeyPart> parts = keyPartsOf(indexName, byRowId);
    QStringList cols;
    for (const auto &p : parts)
        cols << Database::quoted(m_def.fields[p.column].name);
    if (cols.isEmpty())
        cols << QStringLiteral("rowid");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> s(
        m_stmts->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(cols.join(QLatin1Char(',')), Database::quoted(m_def.name))),
        sqlite3_finalize);
    struct Keyed {
        qint64 id;
        std::vector<KeyValue> key;
    };
    std::vector<Keyed> present;
    std::vector<qint64> gone;
    for (const qint64 id : rowIds) {
        Stepper step(m_db.handle(), s.get());
        sqlite3_bind_int64(s.get(), 1, id);
        if (step.row())
            present.push_back(Keyed{id, byRowId ? std::vector<KeyValue>() : readKey(s.get(), parts.size())});
        else
            gone.push_back(id);
    }
    std::stable_sort(present.begin(), present.end(), [&](const Keyed &a, const Keyed &b) {
        const int c = byRowId ? 0 : compareKeyValues(parts, a.key, b.key, parts.size());
        return c != 0 ? c < 0 : a.id < b.id;
    });
    std::vector<qint64> out;
    out.reserve(rowIds.size());
    for (const Keyed &k : present)
        out.push_back(k.id);
    out.insert(out.end(), gone.begin(), gone.end());
    return out;
}

TableInternals::OrderSlices &TableInternals::orderSlices() {
    static OrderSlices slices;
    return slices;
}

bool Table::orderReadWhole() const { return isOpen() && m_snap && m_snap->complete; }

void TableInternals::loadColumn(const Table &t, int column) {
    Table::Extra &x = *t.m_extra;
    if (x.unreadCount == 0 || !x.unread[column])
        return;
    if (!x.rowSource || x.sourceColumn[column] < 0) {
        loadAll(t);
        return;
    }
    t.m_row[column] = readColumn(x.rowSource, x.sourceColumn[column], t.m_def.fields[column].type);
    x.unread[column] = 0;
    --x.unreadCount;
}

sqlite3_stmt *TableInternals::unreadSource(const Table &t, int index, int &column, int &sourceColumn) {
    t.requireOpen();
    const Table::FieldSlot &slot = t.m_fields.at(index);
    column = slot.column;
    if (column < 0 || t.m_state == TableState::Insert || (t.m_state == TableState::Edit && t.m_dirty[column]))
        return nullptr;
    if (t.m_state == TableState::Browse)
        t.syncRow();
    const Table::Extra &x = *t.m_extra;
    if (!x.rowSource || x.unreadCount == 0 || !x.unread[column] || x.sourceColumn[column] < 0)
        return nullptr;
    sourceColumn = x.sourceColumn[column];
    return x.rowSource;
}

int TableInternals::comparedWithStored(const Table &t, int index, const QVariant &v) {
    if (v.isValid() && v.metaType() != QMetaType::fromType<double>())
        return -1;
    int column = -1, c = -1;
    sqlite3_stmt *s = unreadSource(t, index, column, c);
    if (!s)
        return -1;
    const FieldType type = t.m_def.fields[column].type;
    if (type != FieldType::Float && type != FieldType::Currency)
        return -1;
    const bool blank = sqlite3_column_type(s, c) == SQLITE_NULL;
    if (!v.isValid() || blank)
        return v.isValid() == !blank ? 0 : 1;
    return sqlite3_column_double(s, c) == *static_cast<const double *>(v.constData()) ? 0 : 1;
}

bool TableInternals::isBlank(const Table &t, int column) {
    const Table::Extra &x = *t.m_extra;
    const bool stored = t.m_state == TableState::Browse || (t.m_state == TableState::Edit && !t.m_dirty[column]);
    // A date is blank also when its stored text is no date.
    if (stored && x.rowSource && x.unreadCount > 0 && x.unread[column] && x.sourceColumn[column] >= 0
        && t.m_def.fields[column].type != FieldType::Date)
        return sqlite3_column_type(x.rowSource, x.sourceColumn[column]) == SQLITE_NULL;
    return !t.currentValue(column).isValid();
}

void TableInternals::loadAll(const Table &t) {
    Table::Extra &x = *t.m_extra;
    if (x.unreadCount == 0)
        return;
    if (x.rowSource) {
        for (int c = 0; c < int(x.unread.size()) && x.unreadCount > 0; ++c)
            if (x.sourceColumn[c] >= 0)
                loadColumn(t, c);
        if (x.unreadCount == 0)
            return;
    }
    // The statement has moved on, or does not hold them: the columns not
    // read yet are read by row id.
    const QVector<QVariant> whole = t.fetchRow(t.m_rowId);
    for (int c = 0; c < int(x.unread.size()); ++c)
        if (x.unread[c]) {
            t.m_row[c] = whole.value(c);
            x.unread[c] = 0;
        }
    x.unreadCount = 0;
}

void TableInternals::beginStream(Table &t, const QStringList &reads) {
    endStream(t);
    Table::Extra &x = *t.m_extra;
    const int n = t.m_def.fields.size();
    std::vector<char> wanted(size_t(n), reads.isEmpty() ? 1 : 0);
    for (const QString &name : reads) {
        const int i = t.fieldIndex(name);
        if (i >= 0 && t.m_fields[i].column >= 0)
            wanted[size_t(t.m_fields[i].column)] = 1;
    }
    // The key finds a row's place again after its work.
    for (const Table::KeyPart &p : t.m_keyParts)
        wanted[size_t(p.column)] = 1;
    QStringList cols;
    x.sourceColumn.assign(size_t(n), -1);
    for (int c = 0; c < n; ++c)
        if (wanted[size_t(c)]) {
            cols << Database::quoted(t.m_def.fields[c].name);
            x.sourceColumn[size_t(c)] = int(cols.size());  // the row id comes first
        }
    cols.prepend(QStringLiteral("rowid"));
    x.stream = t.m_stmts->prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                      .arg(cols.join(QLatin1Char(',')), Database::quoted(t.m_def.name), t.orderClause()));
    x.streamPending = false;
    x.streamDone = false;
}

bool TableInternals::streamTo(Table &t, qint64 rowId) {
    t.requireOpen();
    t.checkBrowseMode();
    t.sync();
    Table::Extra &x = *t.m_extra;
    if (x.stream && !x.streamDone) {
        // A row met out of order was visited already, or is not to be.
        while (!x.streamDone && (!x.streamPending || (x.streamId != rowId && x.outOfOrder.count(x.streamId)))) {
            // The row the cursor stands on lets go of the statement first.
            if (x.rowSource == x.stream)
                x.rowSource = nullptr;
            x.streamPending = false;
            const int rc = sqlite3_step(x.stream);
            if (rc == SQLITE_ROW) {
                x.streamPending = true;
                x.streamId = sqlite3_column_int64(x.stream, 0);
            } else if (rc == SQLITE_DONE) {
                x.streamDone = true;
            } else {
                throwEngineFailure(t.m_db.handle());
            }
        }
        // The statement keeps to the order the walk read at its start; where
        // the work moved a row (a changed key), the row is found by its id.
        if (x.streamPending && x.streamId == rowId) {
            x.streamPending = false;
            const int pos = t.positionOf(rowId);
            if (pos >= 0) {
                const int n = t.m_def.fields.size();
                t.m_pos = pos;
                t.m_rowId = rowId;
                // The values left from the row before stay unread: a
                // column is converted from the statement before it is read.
                if (t.m_row.size() != n)
                    t.m_row = QVector<QVariant>(n);
                x.unread.assign(size_t(n), 1);
                x.unreadCount = n;
                x.rowSource = x.stream;
                // The key is at hand for finding the row's place again.
                for (const Table::KeyPart &p : t.m_keyParts)
                    loadColumn(t, p.column);
                t.m_eof = t.m_bof = false;
                t.notify(TableEvent::Scrolled);
                return true;
            }
        }
    }
    return t.gotoRowId(rowId);
}

void TableInternals::endStream(Table &t) noexcept {
    Table::Extra &x = *t.m_extra;
    if (!x.stream)
        return;
    if (x.rowSource == x.stream) {
        try {
            loadAll(t);
        } catch (...) {
        }
        x.rowSource = nullptr;
    }
    sqlite3_finalize(x.stream);
    x.stream = nullptr;
    x.streamPending = false;
    x.outOfOrder.clear();
}

}  // namespace varnel::data
