#pragma once

#include "data/FieldDef.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace varnel::core {
class Progress;
}

namespace varnel::data {

class TableVersions;

// One connection to the database of a directory: every table of the database
// lives in the single SQLite file ".varnel/varnel.sqlite" there, so a change
// touching several tables is atomic. Table names are case-insensitive and an
// extension ".DB"/".db" is ignored ("zarzadcy.DB" and "Zarzadcy.db" are one
// table).
//
// The file sits in a hidden folder of its own, where no file dialog of the
// program lists it: on Linux, closing any descriptor of a file drops every
// POSIX lock the process holds on it, so a dialog that opened the file to
// find its icon would leave the database unlocked for other processes (see
// docs/ARCHITECTURE.md). A database of the earlier layout, directly in the
// directory, is moved into the folder when it is opened by nobody else.
//
// Each table is an SQLite table of the same name whose columns carry the field
// names; the declared column types carry field types and sizes (see FieldDef.h),
// so the layout of any table is read back from the SQLite schema alone.
// Index names belong to their table: the SQLite index of "NazwNdx" on
// "Aktualne" is named "Aktualne.NazwNdx".
class Database {
public:
    static constexpr const char *FolderName = ".varnel";
    static constexpr const char *FileName = "varnel.sqlite";

    // Where the database of a directory is kept: <directory>/.varnel/varnel.sqlite.
    static QString filePathIn(const QString &directory);
    // Whether a path names a file the program owns in a database directory:
    // the database file, its side files (-wal, -shm, -journal), the
    // temporary files of its atomic writes and the replaced files kept
    // beside it (every name that begins with the database file's name), a
    // folder that holds the database file apart from the directory and
    // anything in it, or any of these under another name (a symbolic or a
    // hard link), and the earlier layout's file with its side files. No
    // command writes a file of its own onto such a path.
    static bool isOwnPath(const QString &directory, const QString &path);

    // Opens the database of an existing directory; fails when the directory
    // or its database file is missing (the program never invents one). A
    // file of the earlier layout ("<directory>/varnel.sqlite") is moved into
    // the folder with everything its journal holds when this connection can
    // have it alone; otherwise it is opened where it is, and the move is
    // tried again by a later opening.
    static std::unique_ptr<Database> open(const QString &directory);
    // The same, read-only: nothing of the file is changed, a broken file
    // included; every write fails.
    static std::unique_ptr<Database> openReadOnly(const QString &directory);
    // A database file on its own, such as a backup, opened read-only.
    static std::unique_ptr<Database> openCopy(const QString &file);
    // Creates a new, empty database file in a directory (which may not yet
    // exist; it and the database's folder are made readable by their owner
    // only); fails when a database is there already. The file is readable
    // and writable by its owner only from the moment it exists.
    static std::unique_ptr<Database> create(const QString &directory);
    // Creates a new database in a directory as create() does, but under a
    // temporary name: `fill` builds it (the connection it gets is to the
    // temporary file; directory() is the new directory), and only when it
    // is complete is it renamed into place and opened. After a failure, or
    // a kill midway, the directory holds no database file, so a new attempt
    // can start over; leftovers of such an attempt are removed by the next.
    static std::unique_ptr<Database> createComplete(const QString &directory,
                                                    const std::function<void(Database &)> &fill);

    // Whether any connection, of this process or of another (the program,
    // another varnel-admin), has the database of a directory open.
    static bool isInUse(const QString &directory);
    // Puts a copy of the database file `source` in place of the database
    // of a directory. Refuses while the database is in use, and a source
    // that is a file of the directory's own database. The copy is written
    // through SQLite's backup (owner-only, under a temporary name, renamed
    // into place); the replaced file (with a WAL it had) is kept beside it
    // under a dated name, which is returned (empty when there was none).
    static QString restore(const QString &directory, const QString &source);

    // Whether a directory holds a database (in either layout).
    static bool existsIn(const QString &directory);
    // Removes the database files of a directory (after a creation that
    // failed): the file with its journals, and the folder when left empty.
    static void removeFilesIn(const QString &directory);
    // Whether a path lies in the database folder of some directory, or is a
    // database file of the earlier layout or one of its journals; the
    // program's file dialogs neither show nor open such paths.
    static bool isDatabasePath(const QString &path);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // A second connection to the same file, with its own transactions. Its
    // uncommitted changes stay invisible to this connection.
    std::unique_ptr<Database> openSecondConnection() const;

    QString directory() const { return m_directory; }
    // The file this connection works on (filePathIn(directory()), or the
    // earlier layout's file while it could not be moved yet).
    QString filePath() const { return m_path; }
    bool isReadOnly() const { return m_readOnly; }

    // A consistent copy of the whole database, taken with SQLite's online
    // backup while other connections and processes go on working, written
    // into `file` (an existing empty file or a new one).
    void backupTo(const QString &file) const;
    // What SQLite's integrity check finds wrong in the file (empty when it
    // is whole); the Polish collation of the indexes is known here, which a
    // plain SQLite tool lacks.
    QStringList integrityProblems() const;

    // Table name as used in the database: extension stripped.
    static QString tableNameOf(const QString &fileName);

    bool tableExists(const QString &name) const;
    QStringList tableNames() const;
    // Field and index definitions of a stored table, read from the schema.
    TableDef tableDef(const QString &name) const;
    // The key field that SQLite keeps as the row id itself (declared exactly
    // INTEGER PRIMARY KEY, as every autoinc key is), or empty: a key declared
    // otherwise (INT PRIMARY KEY, a text or a compound key) is a column of
    // its own with an index, and rows are ordered by its values.
    QString rowIdField(const QString &name) const;

    // Creates a table from its definitions, replacing a table of that name
    // in one step: after a failure the old table is whole.
    void createTable(const TableDef &def);
    // Renames a table with its indexes; fails when the new name is taken.
    void renameTable(const QString &from, const QString &to);
    void deleteTable(const QString &name);
    // Copies structure, records and indexes into `to`, replacing a table of
    // that name, all in one step: after a failure (also one thrown by the
    // progress) a table of that name is as it was. The progress, when
    // given, is started with the number of rows and stepped once per row
    // copied, a block of rows at a time; it cannot stop the copy. Returns
    // the number of rows copied.
    int copyTable(const QString &from, const QString &to, core::Progress *progress = nullptr);
    void addIndex(const QString &table, const IndexDef &index);

    // Transactions. Without one every post is its own transaction; a walk
    // over many rows should be grouped with Transaction (below). Nested use
    // becomes a savepoint.
    void begin();
    // A transaction that only reads: every read until commit() sees the
    // database as it was at its start, whatever other connections commit.
    void beginRead();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }

    // Runs one SQL statement without results; throws core::DbError on failure.
    void exec(const QString &sql);

    sqlite3 *handle() const { return m_db; }

    // Change counters. Each connection keeps one counter per table, raised
    // by every change made through it (its cursors compare it with the
    // counter their rows were read at). Changes committed by any other
    // connection, of this process or of another program, are noticed by
    // checkOutsideChanges() through SQLite's data version: every counter is
    // raised then, as SQLite does not say which table changed.
    quint64 tableVersion(const QString &name) const;
    const quint64 *tableVersionCell(const QString &name) const;
    void touchTable(const QString &name);
    // The same through the table's counter (tableVersionCell), for writes
    // row by row.
    void touchTableCell(const quint64 *cell);
    void touchAllTables();
    // Looks whether another connection committed a change since the last
    // look. Cursors call it before they use their rows; inside a transaction
    // of this connection nobody else can commit, and nothing is looked at.
    void checkOutsideChanges();

    // Throws core::DbError with SQLite's message of the last failure.
    [[noreturn]] void fail(const QString &context = QString()) const;

    static QString quoted(const QString &identifier);
    static QString physicalIndexName(const QString &table, const QString &index);

private:
    struct CloseHandle {
        void operator()(sqlite3 *db) const;
    };
    struct FinalizeStatement {
        void operator()(sqlite3_stmt *s) const;
    };
    using Handle = std::unique_ptr<sqlite3, CloseHandle>;

    // Takes the handle over at once: a set-up that fails closes it.
    Database(Handle db, const QString &directory, const QString &path, bool readOnly);
    static Handle openHandle(const QString &path, int flags);
    static bool moveIntoFolder(const QString &directory);
    static std::unique_ptr<Database> openExisting(const QString &directory, bool readOnly);
    void configure();
    quint64 dataVersion();
    void createIndexes(const QString &table, const TableDef &def, bool withPrimary);
    QString storedName(const QString &name) const;  // the stored spelling, or empty

    Handle m_handle;  // first: closed after everything below
    sqlite3 *m_db = nullptr;
    QString m_directory;
    QString m_path;
    bool m_readOnly = false;
    int m_depth = 0;
    std::unique_ptr<TableVersions> m_versions;
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> m_dataVersionStmt;
    quint64 m_dataVersion = 0;
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

// Reads under one read transaction for the life of the object: a walk over
// a whole table sees one state of the database, even while another process
// writes.
class ReadTransaction {
public:
    explicit ReadTransaction(Database &db) : m_db(db) { m_db.beginRead(); }
    ~ReadTransaction() {
        try {
            m_db.commit();
        } catch (...) {
        }
    }
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    Database &m_db;
};

}  // namespace varnel::data
