#pragma once

#include "data/FieldDef.h"

#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace varnel::data {

class TableVersions;

// One connection to the database of a directory: every table of the database
// lives in the single SQLite file "varnel.sqlite" there, so a change touching
// several tables is atomic. Table names are case-insensitive and an extension
// ".DB"/".db" is ignored ("zarzadcy.DB" and "Zarzadcy.db" are one table).
//
// Each table is an SQLite table of the same name whose columns carry the field
// names; the declared column types carry field types and sizes (see FieldDef.h),
// so the layout of any table is read back from the SQLite schema alone.
// Index names belong to their table: the SQLite index of "NazwNdx" on
// "Aktualne" is named "Aktualne.NazwNdx".
class Database {
public:
    static constexpr const char *FileName = "varnel.sqlite";

    // Opens the database of an existing directory; fails when the directory
    // or its database file is missing (the program never invents one).
    static std::unique_ptr<Database> open(const QString &directory);
    // Creates a new, empty database file in a directory (which may not yet
    // exist); fails when a database is there already. The file is readable
    // and writable by its owner only.
    static std::unique_ptr<Database> create(const QString &directory);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // A second connection to the same file, with its own transactions. Its
    // uncommitted changes stay invisible to this connection.
    std::unique_ptr<Database> openSecondConnection() const;

    QString directory() const { return m_directory; }
    QString filePath() const;

    // Table name as used in the database: extension stripped.
    static QString tableNameOf(const QString &fileName);

    bool tableExists(const QString &name) const;
    QStringList tableNames() const;
    // Field and index definitions of a stored table, read from the schema.
    TableDef tableDef(const QString &name) const;

    // Creates a table from its definitions, replacing a table of that name
    // in one step: after a failure the old table is whole.
    void createTable(const TableDef &def);
    // Renames a table with its indexes; fails when the new name is taken.
    void renameTable(const QString &from, const QString &to);
    void deleteTable(const QString &name);
    // Copies structure, records and indexes into `to`, replacing a table of
    // that name, all in one step.
    void copyTable(const QString &from, const QString &to);
    void addIndex(const QString &table, const IndexDef &index);

    // Transactions. Without one every post is its own transaction; a walk
    // over many rows should be grouped with Transaction (below). Nested use
    // becomes a savepoint.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }

    // Runs one SQL statement without results; throws core::DbError on failure.
    void exec(const QString &sql);

    sqlite3 *handle() const { return m_db; }
    // Change counter of a table, shared by every connection to the file in
    // this process; cursors use it to notice changes made by other cursors.
    quint64 tableVersion(const QString &name) const;
    const quint64 *tableVersionCell(const QString &name) const;
    void touchTable(const QString &name);
    void touchAllTables();

    // Throws core::DbError with SQLite's message of the last failure.
    [[noreturn]] void fail(const QString &context = QString()) const;

    static QString quoted(const QString &identifier);
    static QString physicalIndexName(const QString &table, const QString &index);

private:
    Database(sqlite3 *db, const QString &directory);
    static sqlite3 *openHandle(const QString &path, int flags);
    void configure();
    void createIndexes(const QString &table, const TableDef &def, bool withPrimary);
    QString storedName(const QString &name) const;  // the stored spelling, or empty

    sqlite3 *m_db = nullptr;
    QString m_directory;
    int m_depth = 0;
    std::shared_ptr<TableVersions> m_versions;
};

// Groups work into one transaction: committed by commit(), rolled back when
// left by an exception or without commit().
class Transaction {
public:
    explicit Transaction(Database &db) : m_db(db) { m_db.begin(); }
    ~Transaction() {
        if (!m_done) {
            try {
                m_db.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        m_db.commit();
        m_done = true;
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Database &m_db;
    bool m_done = false;
};

}  // namespace varnel::data
