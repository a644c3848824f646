#include "data/Database.h"

#include "data/Collation.h"
#include "core/DbError.h"
#include "core/Progress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>
#include <map>
#include <sqlite3.h>
#include <unordered_map>

namespace varnel::data {

// Change counters of the tables, one set per connection.
class TableVersions {
public:
    quint64 *cell(const QString &name) {
        auto &slot = m_cells[name.toLower()];
        if (!slot)
            slot = std::make_unique<quint64>(1);
        return slot.get();
    }
    void touchAll() {
        for (auto &[name, c] : m_cells)
            ++*c;
    }

private:
    std::unordered_map<QString, std::unique_ptr<quint64>> m_cells;
};

namespace {

// A prepared statement that is finalized when it goes out of scope.
class Stmt {
public:
    Stmt(const Database &db, const QString &sql) : m_db(db) {
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v2(db.handle(), u.constData(), int(u.size()), &m_stmt, nullptr) != SQLITE_OK)
            db.fail();
    }
    ~Stmt() { sqlite3_finalize(m_stmt); }
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            m_db.fail();
        return false;
    }
    void bind(int i, const QString &s) {
        const QByteArray u = s.toUtf8();
        sqlite3_bind_text(m_stmt, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    }
    QString text(int i) const {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i)),
                                 sqlite3_column_bytes(m_stmt, i));
    }
    int integer(int i) const { return sqlite3_column_int(m_stmt, i); }
    sqlite3_int64 integer64(int i) const { return sqlite3_column_int64(m_stmt, i); }
    void bind(int i, sqlite3_int64 v) { sqlite3_bind_int64(m_stmt, i, v); }
    void reset() {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

private:
    const Database &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// A savepoint that rolls back unless released.
class Step {
public:
    explicit Step(Database &db) : m_db(db) { m_db.begin(); }
    ~Step() {
        if (!m_done) {
            try {
                m_db.rollback();
            } catch (...) {
            }
        }
    }
    void done() {
        m_db.commit();
        m_done = true;
    }

private:
    Database &m_db;
    bool m_done = false;
};

}  // namespace

void Database::CloseHandle::operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
void Database::FinalizeStatement::operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }

Database::Database(Handle db, const QString &directory, const QString &path)
    : m_handle(std::move(db)), m_db(m_handle.get()), m_directory(directory), m_path(path),
      m_versions(std::make_unique<TableVersions>()) {
    configure();
}

Database::~Database() {
    if (m_depth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

Database::Handle Database::openHandle(const QString &path, int flags) {
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Handle db(raw);
    if (rc != SQLITE_OK) {
        const QString msg = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QStringLiteral("out of memory");
        throw core::DbError(QStringLiteral("Nie można otworzyć bazy danych %1: %2").arg(path, msg));
    }
    return db;
}

QString Database::filePathIn(const QString &directory) {
    return QDir(QDir(directory).filePath(QString::fromLatin1(FolderName))).filePath(QString::fromLatin1(FileName));
}

namespace {

QString oldLayoutPath(const QString &directory) { return QDir(directory).filePath(QString::fromLatin1(Database::FileName)); }

const QStringList JournalEndings = {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};

// The folder's permissions follow those of the file it holds: whoever may
// read or write the file may enter the folder.
QFileDevice::Permissions folderPermissionsFor(QFileDevice::Permissions file) {
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (file & (QFileDevice::ReadGroup | QFileDevice::WriteGroup))
        p |= QFileDevice::ExeGroup | (file & (QFileDevice::ReadGroup | QFileDevice::WriteGroup));
    if (file & (QFileDevice::ReadOther | QFileDevice::WriteOther))
        p |= QFileDevice::ExeOther | (file & (QFileDevice::ReadOther | QFileDevice::WriteOther));
    return p;
}

bool makeFolder(const QString &folder, QFileDevice::Permissions permissions) {
    if (QFileInfo(folder).isDir())
        return true;
    return QDir().mkdir(folder, permissions);
}

// Runs a statement on a raw handle; false with SQLite's code when it fails.
int run(sqlite3 *db, const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

}  // namespace

bool Database::existsIn(const QString &directory) {
    return QFileInfo::exists(filePathIn(directory)) || QFileInfo::exists(oldLayoutPath(directory));
}

bool Database::isDatabasePath(const QString &path) {
    const QStringList parts = QDir::cleanPath(QDir::fromNativeSeparators(path)).split(QLatin1Char('/'));
    if (parts.contains(QString::fromLatin1(FolderName)))
        return true;
    // A file of the earlier layout, still opened where it is.
    const QString name = parts.last();
    const QString file = QString::fromLatin1(FileName);
    return name == file || (name.startsWith(file) && JournalEndings.contains(name.mid(file.size())));
}

void Database::removeFilesIn(const QString &directory) {
    const QString path = filePathIn(directory);
    QFile::remove(path);
    for (const QString &ending : JournalEndings)
        QFile::remove(path + ending);
    QDir().rmdir(QFileInfo(path).absolutePath());
}

// Moves a database of the earlier layout into the folder. The move needs the
// file alone: an exclusive lock, which SQLite grants only while no other
// connection (of any process) has the file open. Under that lock the journal
// is written into the file and the file is left in rollback mode, so that it
// is whole by itself; then it is renamed into the folder (a rename within
// one directory tree, which is atomic) and set to WAL again by the opening
// that follows. False, and nothing changed, when the file is in use.
bool Database::moveIntoFolder(const QString &directory) {
    const QString old = oldLayoutPath(directory);
    const QString target = filePathIn(directory);
    Handle db = openHandle(old, SQLITE_OPEN_READWRITE);
    sqlite3_busy_timeout(db.get(), 0);
    if (run(db.get(), "PRAGMA locking_mode=EXCLUSIVE") != SQLITE_OK || run(db.get(), "BEGIN EXCLUSIVE") != SQLITE_OK)
        return false;
    if (run(db.get(), "COMMIT") != SQLITE_OK)
        return false;  // the exclusive lock stays with the connection until it is closed
    // Everything the journal holds goes into the file.
    sqlite3_stmt *s = nullptr;
    bool checkpointed = false;
    if (sqlite3_prepare_v2(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)", -1, &s, nullptr) == SQLITE_OK
        && sqlite3_step(s) == SQLITE_ROW)
        checkpointed = sqlite3_column_int(s, 0) == 0;
    sqlite3_finalize(s);
    if (!checkpointed || run(db.get(), "PRAGMA journal_mode=DELETE") != SQLITE_OK)
        return false;
    const QString folder = QFileInfo(target).absolutePath();
    if (!makeFolder(folder, folderPermissionsFor(QFileInfo(old).permissions())))
        return false;
    if (QFileInfo::exists(target) || !QFile::rename(old, target))
        return false;
    db.reset();
    // Journal files left beside the old place belong to nobody now.
    for (const QString &ending : JournalEndings)
        QFile::remove(old + ending);
    return true;
}

std::unique_ptr<Database> Database::open(const QString &directory) {
    const QString dir = QDir(directory).absolutePath();
    if (!QFileInfo(dir).isDir())
        throw core::DbError(QStringLiteral("Katalog bazy danych nie istnieje: %1").arg(dir));
    const QString path = filePathIn(dir);
    if (!QFileInfo::exists(path)) {
        const QString old = oldLayoutPath(dir);
        if (!QFileInfo::exists(old))
            throw core::DbError(QStringLiteral("W katalogu %1 nie ma bazy danych (brak pliku %2)")
                                    .arg(dir, QString::fromLatin1(FolderName) + QLatin1Char('/') + QString::fromLatin1(FileName)));
        if (!moveIntoFolder(dir))
            return std::unique_ptr<Database>(new Database(openHandle(old, SQLITE_OPEN_READWRITE), dir, old));
    }
    return std::unique_ptr<Database>(new Database(openHandle(path, SQLITE_OPEN_READWRITE), dir, path));
}

std::unique_ptr<Database> Database::create(const QString &directory) {
    const QString dir = QDir(directory).absolutePath();
    if (!QDir().mkpath(dir))
        throw core::DbError(QStringLiteral("Nie można utworzyć katalogu %1").arg(dir));
    if (existsIn(dir))
        throw core::DbError(QStringLiteral("W katalogu %1 już jest baza danych; nie zostanie nadpisana").arg(dir));
    const QString path = filePathIn(dir);
    // The folder and the file are made first with owner-only permissions:
    // the file holds passwords.
    const QString folder = QFileInfo(path).absolutePath();
    if (!makeFolder(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw core::DbError(QStringLiteral("Nie można utworzyć katalogu %1").arg(folder));
    QFile f(path);
    if (!f.open(QIODevice::NewOnly | QIODevice::WriteOnly))
        throw core::DbError(QStringLiteral("Nie można utworzyć pliku %1: %2").arg(path, f.errorString()));
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return std::unique_ptr<Database>(new Database(openHandle(path, SQLITE_OPEN_READWRITE), dir, path));
}

std::unique_ptr<Database> Database::openSecondConnection() const {
    return std::unique_ptr<Database>(new Database(openHandle(m_path, SQLITE_OPEN_READWRITE), m_directory, m_path));
}

void Database::configure() {
    registerPolishCollation(m_db);
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 0);
    // A file that is no database is refused here, not at the first table.
    exec(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    // WAL: a walk that posts every row does not pay a disk flush per row
    // inside a transaction, and readers never block the writer.
    sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v3(m_db, "PRAGMA data_version", -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK)
        fail();
    m_dataVersionStmt.reset(s);
    m_dataVersion = dataVersion();
}

quint64 Database::dataVersion() {
    sqlite3_stmt *s = m_dataVersionStmt.get();
    const int rc = sqlite3_step(s);
    const quint64 v = rc == SQLITE_ROW ? quint64(sqlite3_column_int64(s, 0)) : 0;
    sqlite3_reset(s);
    if (rc != SQLITE_ROW)
        fail();
    return v;
}

void Database::checkOutsideChanges() {
    if (m_depth > 0)
        return;
    const quint64 v = dataVersion();
    if (v != m_dataVersion) {
        m_dataVersion = v;
        touchAllTables();
    }
}

QString Database::tableNameOf(const QString &fileName) {
    QString n = fileName.trimmed();
    if (n.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        n.chop(3);
    return n;
}

QString Database::quoted(const QString &identifier) {
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString Database::physicalIndexName(const QString &table, const QString &index) {
    return table + QLatin1Char('.') + index;
}

void Database::fail(const QString &context) const {
    QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (!context.isEmpty())
        msg = context + QStringLiteral(": ") + msg;
    throw core::DbError(msg);
}

void Database::exec(const QString &sql) {
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        throw core::DbError(msg);
    }
}

void Database::begin() {
    if (m_depth == 0) {
        exec(QStringLiteral("BEGIN IMMEDIATE"));
        // What others committed before the transaction began is seen now;
        // during it nobody else can commit.
        try {
            checkOutsideChanges();
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Database::commit() {
    if (m_depth == 0)
        throw core::DbError(QStringLiteral("No transaction is active"));
    if (m_depth == 1)
        exec(QStringLiteral("COMMIT"));
    else
        exec(QStringLiteral("RELEASE sp%1").arg(m_depth - 1));
    --m_depth;
}

void Database::rollback() {
    if (m_depth == 0)
        throw core::DbError(QStringLiteral("No transaction is active"));
    // Rows read by cursors during the transaction may be gone now.
    touchAllTables();
    if (m_depth == 1)
        exec(QStringLiteral("ROLLBACK"));
    else
        exec(QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1").arg(m_depth - 1));
    --m_depth;
}

quint64 Database::tableVersion(const QString &name) const { return *m_versions->cell(tableNameOf(name)); }
const quint64 *Database::tableVersionCell(const QString &name) const { return m_versions->cell(tableNameOf(name)); }
void Database::touchTable(const QString &name) { ++*m_versions->cell(tableNameOf(name)); }
void Database::touchAllTables() { m_versions->touchAll(); }

QString Database::storedName(const QString &name) const {
    Stmt s(*this, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE"));
    s.bind(1, tableNameOf(name));
    return s.step() ? s.text(0) : QString();
}

bool Database::tableExists(const QString &name) const { return !storedName(name).isEmpty(); }

QStringList Database::tableNames() const {
    QStringList names;
    Stmt s(*this, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name"));
    while (s.step())
        names << s.text(0);
    return names;
}

TableDef Database::tableDef(const QString &name) const {
    TableDef def;
    def.name = storedName(name);
    if (def.name.isEmpty())
        throw core::DbError(QStringLiteral("Table does not exist: %1").arg(tableNameOf(name)));

    QString createSql;
    {
        Stmt s(*this, QStringLiteral("SELECT sql FROM sqlite_schema WHERE type='table' AND name=?1"));
        s.bind(1, def.name);
        if (s.step())
            createSql = s.text(0);
    }
    const bool autoincrement = createSql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);

    std::map<int, QString> pkColumns;
    {
        Stmt s(*this, QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?1)"));
        s.bind(1, def.name);
        while (s.step()) {
            FieldDef f = fieldFromDeclared(s.text(0), s.text(1), s.integer(2) != 0);
            if (s.integer(3) > 0)
                pkColumns[s.integer(3)] = f.name;
            def.fields << f;
        }
    }
    if (!pkColumns.empty()) {
        IndexDef pk;
        pk.options = IndexPrimary | IndexUnique;
        for (const auto &[order, col] : pkColumns)
            pk.fields << col;
        if (pk.fields.size() == 1 && autoincrement) {
            const int i = def.fieldIndex(pk.fields.first());
            def.fields[i].type = FieldType::AutoInc;
            def.fields[i].required = false;
        }
        def.indexes << pk;
    }

    Stmt list(*this, QStringLiteral("SELECT name, \"unique\", origin FROM pragma_index_list(?1) ORDER BY seq DESC"));
    list.bind(1, def.name);
    const QString prefix = def.name + QLatin1Char('.');
    while (list.step()) {
        const QString physical = list.text(0);
        const QString origin = list.text(2);
        if (origin == QLatin1String("pk"))
            continue;  // already described by the primary key columns
        IndexDef ix;
        ix.name = physical.startsWith(prefix, Qt::CaseInsensitive) ? physical.mid(prefix.size()) : physical;
        if (list.integer(1))
            ix.options |= IndexUnique;
        Stmt cols(*this, QStringLiteral("SELECT name, \"desc\", coll FROM pragma_index_xinfo(?1) WHERE key=1 ORDER BY seqno"));
        cols.bind(1, physical);
        while (cols.step()) {
            ix.fields << cols.text(0);
            if (cols.integer(1))
                ix.options |= IndexDescending;
            if (cols.text(2).compare(QLatin1String(PolishCollationName), Qt::CaseInsensitive) == 0)
                ix.options |= IndexCaseInsensitive;
        }
        def.indexes << ix;
    }
    return def;
}

QString Database::rowIdField(const QString &name) const {
    const QString table = storedName(name);
    QStringList keys;
    {
        Stmt s(*this, QStringLiteral("SELECT name FROM pragma_table_info(?1) WHERE pk > 0"));
        s.bind(1, table);
        while (s.step())
            keys << s.text(0);
    }
    if (keys.size() != 1)
        return QString();
    // A key that is not the row id has an index of its own.
    Stmt s(*this, QStringLiteral("SELECT count(*) FROM pragma_index_list(?1) WHERE origin='pk'"));
    s.bind(1, table);
    return s.step() && s.integer(0) == 0 ? keys.first() : QString();
}

namespace {

QString columnSql(const FieldDef &f, bool autoincKey) {
    QString s = Database::quoted(f.name) + QLatin1Char(' ');
    if (f.type == FieldType::AutoInc) {
        if (!autoincKey)
            throw core::DbError(QStringLiteral("Autoincrement field '%1' must be the primary key").arg(f.name));
        return s + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    }
    s += declaredType(f);
    if (f.required)
        s += QStringLiteral(" NOT NULL");
    return s;
}

QString indexColumnsSql(const TableDef &def, const IndexDef &ix) {
    QStringList cols;
    for (const auto &name : ix.fields) {
        const int i = def.fieldIndex(name);
        if (i < 0)
            throw core::DbError(QStringLiteral("Index %1: field '%2' not found").arg(ix.name, name));
        QString c = Database::quoted(def.fields[i].name);
        if (isTextual(def.fields[i].type))
            c += QStringLiteral(" COLLATE ") + QLatin1String(PolishCollationName);
        if (ix.options & IndexDescending)
            c += QStringLiteral(" DESC");
        cols << c;
    }
    return cols.join(QStringLiteral(", "));
}

}  // namespace

void Database::createIndexes(const QString &table, const TableDef &def, bool withPrimary) {
    for (const auto &ix : def.indexes) {
        if (ix.isPrimary()) {
            if (withPrimary)
                throw core::DbError(QStringLiteral("Table %1 already has a primary index").arg(table));
            continue;
        }
        if (ix.name.isEmpty())
            throw core::DbError(QStringLiteral("An index of table %1 has no name").arg(table));
        exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                 .arg(ix.options & IndexUnique ? QStringLiteral("UNIQUE ") : QString(),
                      quoted(physicalIndexName(table, ix.name)), quoted(table), indexColumnsSql(def, ix)));
    }
}

void Database::createTable(const TableDef &def) {
    const QString name = tableNameOf(def.name);
    if (name.isEmpty())
        throw core::DbError(QStringLiteral("A table needs a name"));
    if (def.fields.isEmpty())
        throw core::DbError(QStringLiteral("Table %1 has no fields").arg(name));

    const IndexDef *pk = def.primaryIndex();
    const bool autoincKey = pk && pk->fields.size() == 1 && def.fieldIndex(pk->fields.first()) >= 0
                            && def.fields[def.fieldIndex(pk->fields.first())].type == FieldType::AutoInc;
    QStringList cols;
    for (const auto &f : def.fields)
        cols << columnSql(f, autoincKey);
    if (pk && !autoincKey) {
        QStringList keys;
        for (const auto &k : pk->fields) {
            if (def.fieldIndex(k) < 0)
                throw core::DbError(QStringLiteral("Primary index of %1: field '%2' not found").arg(name, k));
            keys << quoted(k);
        }
        cols << QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QStringLiteral(", ")));
    }

    Step step(*this);
    const QString old = storedName(name);
    if (!old.isEmpty())
        exec(QStringLiteral("DROP TABLE %1").arg(quoted(old)));
    exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(name), cols.join(QStringLiteral(", "))));
    createIndexes(name, def, false);
    step.done();
    touchTable(name);
}

void Database::renameTable(const QString &from, const QString &to) {
    const QString src = storedName(from);
    const QString dst = tableNameOf(to);
    if (src.isEmpty())
        throw core::DbError(QStringLiteral("Table does not exist: %1").arg(tableNameOf(from)));
    if (dst.isEmpty())
        throw core::DbError(QStringLiteral("A table needs a name"));
    const bool sameTable = src.compare(dst, Qt::CaseInsensitive) == 0;
    if (!sameTable && tableExists(dst))
        throw core::DbError(QStringLiteral("Table already exists: %1").arg(dst));

    const TableDef def = tableDef(src);
    Step step(*this);
    if (sameTable) {
        // A change of case only: SQLite needs a detour over another name.
        exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(src), quoted(dst + QStringLiteral("~rename"))));
        exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(dst + QStringLiteral("~rename")), quoted(dst)));
    } else {
        exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(src), quoted(dst)));
    }
    // The indexes move with the table; their names are made anew so that
    // they name their table again.
    for (const auto &ix : def.indexes) {
        if (ix.isPrimary())
            continue;
        exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(physicalIndexName(src, ix.name))));
        exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(ix.name)));
    }
    createIndexes(dst, def, false);
    step.done();
    touchTable(src);
    touchTable(dst);
}

void Database::deleteTable(const QString &name) {
    const QString stored = storedName(name);
    if (stored.isEmpty())
        throw core::DbError(QStringLiteral("Table does not exist: %1").arg(tableNameOf(name)));
    exec(QStringLiteral("DROP TABLE %1").arg(quoted(stored)));
    touchTable(stored);
}

int Database::copyTable(const QString &from, const QString &to, core::Progress *progress) {
    TableDef def = tableDef(from);
    const QString src = def.name;
    const QString dst = tableNameOf(to);
    if (src.compare(dst, Qt::CaseInsensitive) == 0)
        throw core::DbError(QStringLiteral("Cannot copy table %1 onto itself").arg(src));
    def.name = dst;
    TableDef bare = def;
    bare.indexes.clear();
    if (const IndexDef *pk = def.primaryIndex())
        bare.indexes << *pk;

    Step step(*this);
    createTable(bare);
    QStringList cols;
    for (const auto &f : def.fields)
        cols << quoted(f.name);
    const QString list = cols.join(QStringLiteral(", "));
    int rows = 0;
    if (!progress) {
        exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(quoted(dst), list, quoted(src)));
        rows = sqlite3_changes(m_db);
    } else {
        // In blocks of rows by row id, so that the progress moves while the
        // copy runs at the speed of one INSERT ... SELECT.
        constexpr int Block = 2000;
        int total = 0;
        {
            Stmt count(*this, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(src)));
            if (count.step())
                total = count.integer(0);
        }
        core::ShownProgress shown(*progress, total);
        Stmt boundary(*this, QStringLiteral("SELECT rowid FROM %1 WHERE rowid > ?1 ORDER BY rowid LIMIT 1 OFFSET %2")
                                 .arg(quoted(src))
                                 .arg(Block - 1));
        Stmt copy(*this, QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 WHERE rowid > ?1 AND rowid <= ?2")
                             .arg(quoted(dst), list, quoted(src)));
        sqlite3_int64 low = std::numeric_limits<sqlite3_int64>::min();
        for (;;) {
            boundary.reset();
            boundary.bind(1, low);
            const bool full = boundary.step();
            const sqlite3_int64 high = full ? boundary.integer64(0) : std::numeric_limits<sqlite3_int64>::max();
            copy.reset();
            copy.bind(1, low);
            copy.bind(2, high);
            copy.step();
            const int copied = sqlite3_changes(m_db);
            rows += copied;
            for (int n = copied; n > 0; --n)
                progress->step();
            if (!full)
                break;
            low = high;
        }
    }
    // Indexes are built once over the copied rows, which is faster than
    // keeping them up to date row by row.
    createIndexes(dst, def, false);
    step.done();
    touchTable(dst);
    return rows;
}

void Database::addIndex(const QString &table, const IndexDef &index) {
    TableDef def = tableDef(table);
    if (index.isPrimary()) {
        const IndexDef *pk = def.primaryIndex();
        if (pk && pk->fields == index.fields)
            return;
        throw core::DbError(QStringLiteral("Table %1: a primary index cannot be added to an existing table").arg(def.name));
    }
    if (def.index(index.name))
        throw core::DbError(QStringLiteral("Table %1 already has an index %2").arg(def.name, index.name));
    TableDef one = def;
    one.indexes = {index};
    createIndexes(def.name, one, false);
    touchTable(def.name);
}

}  // namespace varnel::data
