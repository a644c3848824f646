#include "admin/UserList.h"

#include "data/Database.h"
#include "data/Table.h"

namespace varnel::admin {

namespace {

const QString Users = QStringLiteral("uspass");

UserRow readRow(data::Table &t) {
    return {t.field(QStringLiteral("User")).asString(), t.field(QStringLiteral("Pass")).asString(),
            t.field(QStringLiteral("ModiUsers")).asBoolean(), t.field(QStringLiteral("ModiDict")).asBoolean()};
}

void writeRow(data::Table &t, const UserRow &row) {
    t.field(QStringLiteral("User")).setString(row.user);
    t.field(QStringLiteral("Pass")).setString(row.pass);
    t.field(QStringLiteral("ModiUsers")).setBoolean(row.modiUsers);
    t.field(QStringLiteral("ModiDict")).setBoolean(row.modiDict);
}

int widthOf(const data::Table &t, const char *field) {
    const int i = t.fieldIndex(QString::fromLatin1(field));
    return i < 0 ? 0 : t.fieldDef(i).size;
}

}  // namespace

void UserList::load(data::Database &db) {
    m_rows.clear();
    m_deleted.clear();
    data::Table t(db, Users);
    t.open();
    if (t.fieldIndex(QStringLiteral("User")) < 0)
        throw core::MissingFieldError(t.tableName(), QStringLiteral("User"));
    m_userWidth = widthOf(t, "User");
    m_passWidth = widthOf(t, "Pass");
    QVector<Entry> rows;
    for (t.first(); !t.eof(); t.next()) {
        const UserRow row = readRow(t);
        rows.push_back({row, row, t.rowId()});
    }
    m_rows = std::move(rows);
}

int UserList::add(const UserRow &row) {
    m_rows.push_back({row, row, 0});
    return size() - 1;
}

void UserList::change(int i, const UserRow &row) { m_rows[i].row = row; }

void UserList::remove(int i) {
    if (m_rows[i].bookmark != 0)
        m_deleted.push_back(m_rows[i].bookmark);
    m_rows.removeAt(i);
}

bool UserList::isModified() const {
    if (!m_deleted.isEmpty())
        return true;
    for (const Entry &e : m_rows)
        if (e.bookmark == 0 || e.row != e.stored)
            return true;
    return false;
}

void UserList::save(data::Database &db) {
    {
        data::Transaction transaction(db);
        data::Table t(db, Users);
        t.open();
        for (const qint64 bookmark : m_deleted)
            if (t.gotoRowId(bookmark))
                t.remove();
        for (const Entry &e : m_rows) {
            if (e.bookmark != 0 && e.row == e.stored)
                continue;
            if (e.bookmark != 0 && t.gotoRowId(e.bookmark))
                t.edit();
            else
                t.insert();
            writeRow(t, e.row);
            t.post();
        }
        t.close();
        transaction.commit();
    }
    load(db);
}

}  // namespace varnel::admin
