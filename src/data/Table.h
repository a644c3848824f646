#pragma once

#include "data/Database.h"
#include "core/DbError.h"
#include "data/FieldDef.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>
#include <map>

namespace varnel::data {

class Table;
struct WalkOptions;
struct WalkResult;
using RowWork = std::function<bool(Table &table)>;

enum class TableState { Inactive, Browse, Edit, Insert };

// The rules a value meets on its way into a field. A value entered or
// imported (Input) meets every rule of new data: no control characters
// (a memo takes tab and line breaks), fixed-width text of spaces only is a
// blank, no date before 1.01.1900. A value read from a stored row (Stored)
// is only brought to the field's type, so rows kept from earlier versions
// copy whole and searches find what is stored.
enum class ValueRules { Input, Stored };

// A field of the current row of a table, read and written by type. A blank
// (null) value reads as "", 0, false or the zero date.
class Field {
public:
    Field(Table *table, int index) : m_table(table), m_index(index) {}

    const FieldDef &def() const;
    QString name() const { return def().name; }
    int index() const { return m_index; }

    bool isNull() const;
    QVariant asVariant() const;
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    double asCurrency() const { return asFloat(); }
    QDate asDate() const;  // blank -> the zero date 30.12.1899
    bool asBoolean() const;

    void setVariant(const QVariant &v);
    // Text is converted by the field's type; text that does not fit the
    // field throws core::FieldValueError and leaves the field unchanged.
    void setString(const QString &s);
    void setInteger(qint64 v);
    void setFloat(double v);
    void setCurrency(double v) { setFloat(v); }
    void setDate(const QDate &d);  // the zero date or an invalid date stores a blank
    void setBoolean(bool v);
    void clear();

private:
    QVariant readAs(FieldType type) const;

    Table *m_table;
    int m_index;
};

// What happened to a table, for data-aware controls and grids.
enum class TableEvent {
    Opened,        // table opened; fields and rows new
    Closed,
    RowsChanged,   // the set or order of rows changed (insert, delete, index, reload)
    Scrolled,      // another row became current
    RowEdited,     // a field of the current row's buffer changed (field index given)
    StateChanged,  // browse / edit / insert
    UpdateRecord,  // about to post: controls write their pending text into the row
};

// Something that follows a table (a data source, a grid model). The
// registration ends by itself whichever side goes first: an observer leaves
// every table it still watches when it is destroyed, and a table being
// destroyed lets its observers go and tells them (tableDestroyed), so no
// owner has to unbind them by hand.
class TableObserver {
public:
    TableObserver() = default;
    TableObserver(const TableObserver &) = delete;
    TableObserver &operator=(const TableObserver &) = delete;
    virtual ~TableObserver();
    virtual void tableEvent(Table &table, TableEvent event, int field) = 0;
    // The table is being destroyed and no longer has this observer; it must
    // not be used any more.
    virtual void tableDestroyed(Table &table) { (void)table; }

private:
    friend class Table;
    std::vector<Table *> m_watched;
};

// The stored values of one row, read by field name.
class RowView {
public:
    RowView(const TableDef &def, const QVector<QVariant> &values) : m_def(def), m_values(values) {}
    QVariant value(const QString &field) const;
    QString text(const QString &field) const { return value(field).toString(); }

private:
    const TableDef &m_def;
    const QVector<QVariant> &m_values;
};

// A field computed from the other fields of a row when it is read; exists
// only while the table is open and cannot be written.
struct CalculatedField {
    FieldDef def;
    std::function<QVariant(const RowView &row)> compute;
};

// A cursor over one keyed table: open by name, order by the primary or a
// named index, navigate, search a key, edit and post. Navigation while the
// row is being edited posts it first (a row inserted and not changed is
// dropped instead).
//
// The cursor keeps the order of the rows as a list of row ids, so record
// numbers, counts and any row of a grid are at hand without reading all
// records; the list is kept in step with the cursor's own changes and
// re-read before the next move or count, and before a grid paints
// (noticeOutsideChanges), when another cursor, connection or program changed
// the database (observers are then told RowsChanged). When the current row went away meanwhile, the cursor lands
// on the row that now stands where it stood (the nearest in the order).
class Table {
public:
    explicit Table(Database &db, const QString &tableName = QString());
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    Database &database() const { return m_db; }
    void setTableName(const QString &name);  // table must be closed
    QString tableName() const { return m_name; }

    // Expected fields, in the order the cursor shows them. Empty: every
    // stored field. Opening fails with core::MissingFieldError naming the first
    // expected field the table lacks.
    void setFieldNames(const QStringList &names);
    QStringList fieldNames() const;
    void addCalculatedField(const CalculatedField &f);  // table must be closed

    void open();
    void close();  // pending changes are cancelled
    bool isOpen() const { return m_state != TableState::Inactive; }
    TableState state() const { return m_state; }
    bool isEditing() const { return m_state == TableState::Edit || m_state == TableState::Insert; }

    // Index: empty name = the primary index (or the stored order when the
    // table has no primary key). The current row stays current.
    void setIndexName(const QString &name);
    QString indexName() const { return m_indexName; }
    QStringList indexFieldNames() const;
    QVector<IndexDef> indexDefs() const { return m_def.indexes; }
    QVector<FieldDef> fieldDefs() const;  // the fields of the cursor (calculated ones included)
    const TableDef &storedDef() const { return m_def; }

    // Navigation. Record numbers count from 1 in index order.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    int recordCount() const;
    // Whether the order of rows is read whole. A large table shows its first
    // rows at once and reads the rest of its order from the event loop, or
    // as soon as a move, search or count needs it.
    bool orderReadWhole() const;
    int recNo() const;  // 0 when there is no current row or it is being inserted
    void moveTo(int recNo);
    // The row id of the current row (0 for a row being inserted).
    qint64 rowId() const;
    // Makes the row with this row id current; false when there is none.
    bool gotoRowId(qint64 rowId);

    // Key search on the current index. A key may set fewer values than the
    // index has fields. findKey moves to an equal key and returns true, or
    // stays and returns false; findNearest moves to the first row whose key
    // is equal or greater (after the last row when there is none: eof).
    bool findKey(const QVariantList &key);
    void findNearest(const QVariantList &key);

    // Editing.
    void edit();
    void insert();
    void append() { insert(); }
    // Posting an edit or removing a row that another cursor or program
    // removed meanwhile writes nothing and throws core::RecordGoneError; the
    // edit is dropped and the cursor stands on the nearest row.
    void post();
    void cancel();
    void remove();  // deletes the current row
    bool isModified() const { return m_modified; }
    // Re-reads the current row and the order of rows.
    void refresh();

    // Fields of the cursor (calculated fields last).
    int fieldCount() const { return m_fields.size(); }
    int fieldIndex(const QString &name) const;  // -1 when absent, case-insensitive
    Field field(const QString &name);           // throws core::DbError when absent
    Field field(int index) { return Field(this, index); }
    const FieldDef &fieldDef(int index) const { return m_fields[index].def; }
    bool isCalculated(int index) const { return m_fields[index].calculated >= 0; }

    QVariant value(int index) const;  // of the current row (edit buffer while editing)
    // The same value in place, valid until the row or the edit moves on;
    // nullptr for a calculated field.
    const QVariant *storedValue(int index) const;
    void setValue(int index, const QVariant &value);  // by the Input rules

    // Any row by record number, for grids; does not move the cursor.
    QVariant valueAt(int recNo, int index) const;
    // Re-reads the rows when another connection or program changed the
    // database meanwhile (observers then hear RowsChanged). A grid calls it
    // before it paints; moves and counts look by themselves.
    void noticeOutsideChanges() const;

    // Observers are told of changes unless controls are disabled; enabling
    // them again tells RowsChanged once.
    void addObserver(TableObserver *o);
    void removeObserver(TableObserver *o);
    void disableControls();
    void enableControls();

    // Normalises a value for a field as it will be stored: text cut to the
    // size in whole characters, empty text to blank, numbers checked for
    // range, and the further rules of `rules`. Throws core::FieldValueError
    // for a value that does not fit.
    static QVariant coerce(const FieldDef &f, const QVariant &v, ValueRules rules = ValueRules::Input);

    // The given row ids in the order of the named index of this table (empty
    // name: the primary index), equal keys by row id; ids of rows that are
    // no longer in the table come last. Reads only the keys of those rows;
    // does not move the cursor or change its index.
    std::vector<qint64> sortedByIndex(const QString &indexName, std::vector<qint64> rowIds) const;

private:
    friend class Field;
    friend WalkResult walk(Table &table, const RowWork &work, const WalkOptions &options);
    friend struct TableInternals;  // the pieces of Table.cpp and Walk.cpp that step rows in bulk
    struct Extra;
    struct KeyPart;
    struct KeyValue;
    struct Snapshot;
    class Statements;

    void requireOpen() const;
    void checkBrowseMode();
    std::vector<qint64> orderedRowIds() const;  // the row ids in the order of the index
    int positionOf(qint64 rowId) const;         // -1 when the row is not in the table
    void updateRecord();
    void sync(bool lookOutside = true) const;
    void loadSnapshot() const;
    bool appendRows(size_t limit) const;
    void readRowsWhile(const std::function<bool()> &more) const;
    void reloadOrder() const;
    bool haveRow(int pos) const;
    void readAllRows() const;
    int rowTotal() const;
    void readRestLater() const;
    int rowIdLowerBound(qint64 rowId) const;
    QVector<QVariant> fetchRow(qint64 rowId) const;
    QVector<QVariant> currentValues() const;
    const QVariant &currentValue(int column) const;
    QVector<QVariant> editedRow() const;
    void syncRow() const;
    void setRow(QVector<QVariant> row) const;
    void setPosition(int pos);
    void clearPosition();
    void settle() const;
    int nearestPosition(qint64 rowId, const QVector<QVariant> &values) const;
    void noteOutsideChange() const;
    [[noreturn]] void rowGone();
    static KeyValue keyValueOf(FieldType type, const QVariant &v);
    std::vector<KeyValue> rowKey(qint64 rowId) const;
    bool readRowKey(qint64 rowId, std::vector<KeyValue> &key) const;
    std::vector<KeyValue> valuesKey(const QVector<QVariant> &values) const;
    std::vector<KeyValue> searchKey(const QVariantList &key) const;
    int compareKeys(const std::vector<KeyValue> &a, const std::vector<KeyValue> &b, size_t parts) const;
    static std::vector<KeyValue> readKey(sqlite3_stmt *s, size_t parts);
    static int compareKeyValues(const std::vector<KeyPart> &keyParts, const std::vector<KeyValue> &a,
                                const std::vector<KeyValue> &b, size_t parts);
    std::vector<KeyPart> keyPartsOf(const QString &indexName, bool &byRowId) const;
    int lowerBound(const std::vector<KeyValue> &key, size_t parts, bool byRowId, qint64 rowId) const;
    void placeRow(qint64 rowId, bool wasPresent);
    void afterWrite(const std::function<void()> &applyToSnapshot);
    void selectIndex(const QString &name);
    QString orderClause() const;
    void notify(TableEvent e, int field = -1);
    bool isObserver(TableObserver *o) const;
    void setState(TableState s);

    Database &m_db;
    QString m_name;
    QStringList m_expected;
    std::vector<CalculatedField> m_calculated;
    TableDef m_def;

    struct FieldSlot {
        FieldDef def;
        int column = -1;      // column in the stored table, -1 for calculated
        int calculated = -1;  // index into m_calculated
    };
    QVector<FieldSlot> m_fields;

    TableState m_state = TableState::Inactive;
    QString m_indexName;
    std::vector<KeyPart> m_keyParts;  // of the current index
    bool m_orderByRowId = true;       // the current order is the row id
    int m_rowIdColumn = -1;           // column that is the row id (autoinc or integer key), or -1

    mutable std::unique_ptr<Snapshot> m_snap;
    mutable int m_pos = -1;  // position of the current row in the snapshot
    mutable qint64 m_rowId = 0;
    mutable QVector<QVariant> m_row;  // stored values of the current row
    mutable bool m_eof = true;
    mutable bool m_bof = true;

    QVector<QVariant> m_buffer;  // edit buffer
    std::vector<bool> m_dirty;   // columns changed in the buffer
    bool m_modified = false;
    int m_insertReturnPos = -1;

    std::unique_ptr<Statements> m_stmts;
    std::vector<TableObserver *> m_observers;
    int m_controlsDisabled = 0;
    const quint64 *m_versionCell = nullptr;
    mutable bool m_outsideChange = false;  // rows read again after a change elsewhere, not yet told
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);  // for notices from the event loop
    std::unique_ptr<Extra> m_extra;  // the current row's unread columns, the update key, the walk's statement
};

}  // namespace varnel::data
