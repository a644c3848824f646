#pragma once

#include <QString>
#include <QVector>

namespace varnel::data {
class Database;
}

namespace varnel::admin {

// One row of the user table "uspass" as the users window edits it.
struct UserRow {
    QString user;
    QString pass;
    bool modiUsers = false;
    bool modiDict = false;

    bool operator==(const UserRow &) const = default;
};

// The users window's working copy of "uspass": the rows are read when the
// window opens, every change of the opening (add, change, delete) is kept
// here, and save() writes them all in one short transaction. Until then the
// database is neither changed nor locked, so the rest of the program and
// other workstations go on writing while the window is open; save() applies
// only what this opening changed, so rows others wrote meanwhile are kept.
class UserList {
public:
    // Reads the user table in its stored order; throws core::DbError when
    // it cannot be read (the list is then empty).
    void load(data::Database &db);

    int size() const { return int(m_rows.size()); }
    const UserRow &at(int i) const { return m_rows[i].row; }

    // Appends a row; returns its position.
    int add(const UserRow &row);
    void change(int i, const UserRow &row);
    void remove(int i);
    // Whether anything was added, changed or deleted since load().
    bool isModified() const;

    // Writes every change of the opening in one transaction: the rows
    // deleted here are deleted (one deleted elsewhere meanwhile is gone
    // already), the rows changed here get the values given here (one
    // deleted elsewhere meanwhile is stored again), the rows added here are
    // appended. Throws core::DbError when it cannot be written; the table
    // is then as it was and the list keeps its changes, so "OK" can be
    // tried again. After a save the list stands at what was written.
    void save(data::Database &db);

    // The widths of the name and password fields as the table declares them
    // (0 when unknown).
    int userWidth() const { return m_userWidth; }
    int passWidth() const { return m_passWidth; }

private:
    struct Entry {
        UserRow row;
        UserRow stored;      // as read (for rows read from the table)
        qint64 bookmark = 0;  // the row in the table; 0 for a row added here
    };
    QVector<Entry> m_rows;
    QVector<qint64> m_deleted;  // bookmarks of rows read and deleted here
    int m_userWidth = 0;
    int m_passWidth = 0;
};

}  // namespace varnel::admin
