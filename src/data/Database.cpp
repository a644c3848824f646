#include "data/Database.h"

#include "data/Collation.h"
#include "data/EngineErrors.h"
#include "core/DbError.h"
#include "core/PrivateFile.h"
#include "core/Progress.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <limits>
#include <map>
#include <sqlite3.h>
#include <unordered_map>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The database files that connections of this process have open, with the
// number of connections to each. SQLite's locks do not tell a process about
// its own connections, and a restore must not replace a file that this
// process works on.
std::map<QString, int> &openFiles() {
    static std::map<QString, int> files;
    return files;
}

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

// ---------------------------------------------------------------------------
// Files of a database directory

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }
QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A path with every symbolic link resolved, also when its last parts do
// not exist yet.
QString resolvedPath(const QString &path) {
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (info.exists() || info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
    }
    const QString parent = info.absolutePath();
    if (parent == info.absoluteFilePath())
        return parent;
    return QDir(resolvedPath(parent)).filePath(info.fileName());
}

bool sameFile(const struct stat &a, const QString &path) {
    struct stat b {};
    return ::stat(nativePath(path).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Why a directory could not be made, in words an administrator can act on.
QString mkdirReason(int error, const QString &path) {
    const QString parent = QFileInfo(path).absolutePath();
    QString why;
    switch (error) {
    case EACCES:
    case EPERM: why = QStringLiteral("brak uprawnień do zakładania katalogów w %1").arg(parent); break;
    case EEXIST: why = QStringLiteral("%1 istnieje i nie jest katalogiem").arg(path); break;
    case ENOTDIR: why = QStringLiteral("część ścieżki %1 jest plikiem, a nie katalogiem").arg(parent); break;
    case EROFS: why = QStringLiteral("dysk jest tylko do odczytu"); break;
    case ENOSPC:
    case EDQUOT: why = QStringLiteral("brak miejsca na dysku"); break;
    case ENAMETOOLONG: why = QStringLiteral("nazwa jest za długa"); break;
    case ELOOP: why = QStringLiteral("za dużo dowiązań symbolicznych w ścieżce"); break;
    default: return systemText(error);
    }
    return why + QStringLiteral(" (system: %1)").arg(systemText(error));
}

// Makes a directory and the missing folders above it. The directory itself
// is readable by its owner only, the folders above it as usual. Returns the
// directories made, outermost first.
QStringList makeDirectory(const QString &directory) {
    QStringList missing;
    QString p = QDir::cleanPath(directory);
    while (!QFileInfo(p).isDir()) {
        if (QFileInfo(p).exists() || QFileInfo(p).isSymLink())
            throw core::DbError(QStringLiteral("Nie można utworzyć katalogu %1: %2").arg(directory, mkdirReason(EEXIST, p)));
        missing.prepend(p);
        const QString up = QFileInfo(p).absolutePath();
        if (up == p)
            break;
        p = up;
    }
    QStringList made;
    for (const QString &dir : missing) {
        const mode_t mode = dir == missing.last() ? 0700 : 0755;
        if (::mkdir(nativePath(dir).constData(), mode) != 0 && errno != EEXIST) {
            const int error = errno;
            for (auto it = made.crbegin(); it != made.crend(); ++it)
                ::rmdir(nativePath(*it).constData());
            throw core::DbError(QStringLiteral("Nie można utworzyć katalogu %1: %2").arg(directory, mkdirReason(error, dir)));
        }
        made << dir;
    }
    return made;
}

void removeMadeDirectories(const QStringList &made) {
    for (auto it = made.crbegin(); it != made.crend(); ++it)
        ::rmdir(nativePath(*it).constData());
}

// Creates a new file with owner-only permissions in the very call that makes
// it: it holds the passwords of the office.
void createPrivateFile(const QString &path) {
    const int fd = ::open(nativePath(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        throw core::DbError(QStringLiteral("Nie można utworzyć pliku %1: %2").arg(path, systemText(errno)));
    ::close(fd);
}

// A new, empty owner-only file whose name is `prefix` and six random letters.
QString createUniqueFile(const QString &prefix) {
    QTemporaryFile file(prefix + QStringLiteral("XXXXXX"));  // O_EXCL, mode 0600
    file.setAutoRemove(false);
    if (!file.open())
        throw core::DbError(QStringLiteral("Nie można utworzyć pliku w katalogu %1: %2")
                                .arg(QFileInfo(prefix).absolutePath(), file.errorString()));
    return file.fileName();
}

const QStringList &sideSuffixes() {
    static const QStringList suffixes{QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};
    return suffixes;
}

void removeWithSideFiles(const QString &file) {
    for (const QString &suffix : sideSuffixes())
        QFile::remove(file + suffix);
    QFile::remove(file);
}

// Whether a process other than this one holds a lock on a file. SQLite
// locks the database file while a transaction runs and keeps a lock on the
// shared-memory file (-shm) for as long as a connection in WAL mode is open.
bool lockedByAnotherProcess(const QString &path) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    const bool locked = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    // This process has no connection to the file (see isInUse), so closing
    // this descriptor drops no lock of SQLite's.
    ::close(fd);
    return locked;
}

bool openInThisProcess(const QString &file) {
    const QString wanted = resolvedPath(file);
    for (const auto &[path, connections] : openFiles())
        if (connections > 0 && resolvedPath(path) == wanted)
            return true;
    return false;
}

bool fileInUse(const QString &file) {
    if (openInThisProcess(file))
        return true;
    if (lockedByAnotherProcess(file))
        return true;
    for (const QString &suffix : sideSuffixes())
        if (lockedByAnotherProcess(file + suffix))
            return true;
    return false;
}

// Removes what an interrupted attempt left: files named `prefix` and six
// letters, with their side files, unless some process still works on them.
void removeLeftovers(const QString &prefix) {
    const QFileInfo info(prefix);
    QDir dir = info.absoluteDir();
    const QStringList names = dir.entryList({info.fileName() + QStringLiteral("??????")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (!fileInUse(path))
            removeWithSideFiles(path);
    }
}

// Renames a finished file into place without replacing a file that appeared
// there meanwhile.
void placeFile(const QString &from, const QString &to) {
    if (::renameat2(AT_FDCWD, nativePath(from).constData(), AT_FDCWD, nativePath(to).constData(), RENAME_NOREPLACE) == 0)
        return;
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // A file system without the flag: check, then rename.
        if (QFileInfo::exists(to))
            error = EEXIST;
        else if (::rename(nativePath(from).constData(), nativePath(to).constData()) == 0)
            return;
        else
            error = errno;
    }
    if (error == EEXIST)
        throw core::DbError(QStringLiteral("W katalogu %1 już jest baza danych; nie zostanie nadpisana")
                                .arg(QFileInfo(to).absolutePath()));
    throw core::DbError(QStringLiteral("Nie można przenieść pliku %1 na %2: %3").arg(from, to, systemText(error)));
}

void renameFile(const QString &from, const QString &to) {
    if (::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        throw core::DbError(QStringLiteral("Nie można przenieść pliku %1 na %2: %3").arg(from, to, systemText(errno)));
}

}  // namespace

void Database::CloseHandle::operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
void Database::FinalizeStatement::operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }

Database::Database(Handle db, const QString &directory, const QString &path, bool readOnly)
    : m_handle(std::move(db)), m_db(m_handle.get()), m_directory(directory), m_path(path), m_readOnly(readOnly),
      m_versions(std::make_unique<TableVersions>()) {
    configure();
    ++openFiles()[m_path];
}

Database::~Database() {
    if (m_depth > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    auto it = openFiles().find(m_path);
    if (it != openFiles().end() && --it->second <= 0)
        openFiles().erase(it);
}

Database::Handle Database::openHandle(const QString &path, int flags) {
    sqlite3 *raw = nullptr;
    // Without SQLite's per-connection mutex: a connection belongs to its
    // Database object, which is neither copied nor shared, and the program
    // runs no threads of its own (the event loop's thread does all its work),
    // so no two threads ever use one connection.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Handle db(raw);
    if (rc != SQLITE_OK) {
        const QString msg = raw ? engineFailureText(sqlite3_errcode(raw), QString::fromUtf8(sqlite3_errmsg(raw)), path)
                                : QStringLiteral("out of memory");
        throw core::DbError(QStringLiteral("Nie można otworzyć bazy danych %1: %2").arg(path, msg));
    }
    return db;
}

QString Database::filePathIn(const QString &directory) {
    const QDir dir(QDir(directory).absolutePath());
    return QDir(dir.filePath(QString::fromLatin1(FolderName))).filePath(QString::fromLatin1(FileName));
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

namespace {

// Whether `target` (a resolved path) is the database file `file`, a file
// beside it whose name begins with the file's name (its journals, temporary
// and kept files), or one of those under another name (a hard link).
bool ownsFile(const QString &file, const QString &target) {
    const QString resolved = resolvedPath(file);
    const QFileInfo info(target);
    if (info.absolutePath() == QFileInfo(resolved).absolutePath()
        && info.fileName().startsWith(QFileInfo(resolved).fileName()))
        return true;
    struct stat st {};
    if (::stat(nativePath(target).constData(), &st) == 0) {
        if (sameFile(st, resolved))
            return true;
        for (const QString &suffix : sideSuffixes())
            if (sameFile(st, resolved + suffix))
                return true;
    }
    return false;
}

}  // namespace

bool Database::isOwnPath(const QString &directory, const QString &path) {
    if (isDatabasePath(path))
        return true;
    const QString dir = QDir(directory).absolutePath();
    const QString target = resolvedPath(path);
    // The database's folder, apart from the directory: all of it.
    const QString folder = QFileInfo(resolvedPath(filePathIn(dir))).absolutePath();
    if (folder != resolvedPath(dir) && (target == folder || target.startsWith(folder + QLatin1Char('/'))))
        return true;
    return ownsFile(filePathIn(dir), target) || ownsFile(oldLayoutPath(dir), target);
}

std::unique_ptr<Database> Database::openExisting(const QString &directory, bool readOnly) {
    const QString dir = QDir(directory).absolutePath();
    if (!QFileInfo(dir).isDir())
        throw core::DbError(QStringLiteral("Katalog bazy danych nie istnieje: %1").arg(dir));
    const QString path = filePathIn(dir);
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!QFileInfo::exists(path)) {
        const QString old = oldLayoutPath(dir);
        if (!QFileInfo::exists(old))
            throw core::DbError(QStringLiteral("W katalogu %1 nie ma bazy danych (brak pliku %2)")
                                    .arg(dir, QString::fromLatin1(FolderName) + QLatin1Char('/') + QString::fromLatin1(FileName)));
        // Reading changes nothing, the place of the file included.
        if (readOnly || !moveIntoFolder(dir))
            return std::unique_ptr<Database>(new Database(openHandle(old, flags), dir, old, readOnly));
    }
    return std::unique_ptr<Database>(new Database(openHandle(path, flags), dir, path, readOnly));
}

std::unique_ptr<Database> Database::open(const QString &directory) { return openExisting(directory, false); }

std::unique_ptr<Database> Database::openReadOnly(const QString &directory) { return openExisting(directory, true); }

std::unique_ptr<Database> Database::openCopy(const QString &file) {
    const QFileInfo info(file);
    if (!info.isFile())
        throw core::DbError(QStringLiteral("Nie ma pliku %1").arg(file));
    const QString path = info.absoluteFilePath();
    return std::unique_ptr<Database>(new Database(openHandle(path, SQLITE_OPEN_READONLY), info.absolutePath(), path, true));
}

std::unique_ptr<Database> Database::create(const QString &directory) {
    const QString dir = QDir(directory).absolutePath();
    if (existsIn(dir))
        throw core::DbError(QStringLiteral("W katalogu %1 już jest baza danych; nie zostanie nadpisana").arg(dir));
    const QString path = filePathIn(dir);
    // The directory and the database's folder are made owner-only, the file
    // owner-only in the call that makes it: it holds the passwords.
    QStringList made = makeDirectory(dir);
    try {
        made += makeDirectory(QFileInfo(path).absolutePath());
        createPrivateFile(path);
    } catch (...) {
        removeMadeDirectories(made);
        throw;
    }
    return std::unique_ptr<Database>(new Database(openHandle(path, SQLITE_OPEN_READWRITE), dir, path, false));
}

std::unique_ptr<Database> Database::createComplete(const QString &directory, const std::function<void(Database &)> &fill) {
    const QString dir = QDir(directory).absolutePath();
    if (existsIn(dir))
        throw core::DbError(QStringLiteral("W katalogu %1 już jest baza danych; nie zostanie nadpisana").arg(dir));
    const QString path = filePathIn(dir);
    QStringList made = makeDirectory(dir);
    QString temp;
    try {
        made += makeDirectory(QFileInfo(path).absolutePath());
        const QString prefix = path + QStringLiteral(".init-");
        removeLeftovers(prefix);
        temp = createUniqueFile(prefix);
        {
            std::unique_ptr<Database> db(new Database(openHandle(temp, SQLITE_OPEN_READWRITE), dir, temp, false));
            fill(*db);
            // Everything into the file itself: the WAL goes when the last
            // connection closes, and the file is whole on its own.
            db->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
        placeFile(temp, path);
        removeWithSideFiles(temp);  // an empty WAL the close may leave
        core::syncDirectory(QFileInfo(path).absolutePath());
    } catch (...) {
        if (!temp.isEmpty())
            removeWithSideFiles(temp);
        removeMadeDirectories(made);
        throw;
    }
    return open(dir);
}

bool Database::isInUse(const QString &directory) {
    const QString dir = QDir(directory).absolutePath();
    return fileInUse(filePathIn(dir)) || fileInUse(oldLayoutPath(dir));
}

QString Database::restore(const QString &directory, const QString &source) {
    const QString dir = QDir(directory).absolutePath();
    if (!QFileInfo(dir).isDir())
        throw core::DbError(QStringLiteral("Katalog bazy danych nie istnieje: %1").arg(dir));
    if (isOwnPath(dir, source))
        throw core::DbError(QStringLiteral("Plik %1 jest plikiem bazy danych katalogu %2, a nie jej kopią").arg(source, dir));
    const QString path = filePathIn(dir);
    // The file replaced: the database where it is now (the earlier layout's
    // place while it was not moved yet); the copy goes into the folder.
    const QString old = oldLayoutPath(dir);
    const QString current = QFileInfo::exists(path) ? path : (QFileInfo::exists(old) ? old : QString());
    const QString inUse = QStringLiteral("Baza danych w katalogu %1 jest w użyciu (program Varnel albo inne polecenie "
                                         "varnel-admin ma ją otwartą). Zakończ pracę programu na każdym stanowisku "
                                         "i spróbuj ponownie.")
                              .arg(dir);
    if (isInUse(dir))
        throw core::DbError(inUse);

    const QStringList made = makeDirectory(QFileInfo(path).absolutePath());
    const QString prefix = path + QStringLiteral(".restore-");
    removeLeftovers(prefix);
    QString temp;
    try {
        temp = createUniqueFile(prefix);
    } catch (...) {
        removeMadeDirectories(made);
        throw;
    }
    QString kept;
    try {
        openCopy(source)->backupTo(temp);
        // Checked once more right before the exchange, the copy being long.
        if (isInUse(dir))
            throw core::DbError(inUse);
        if (!current.isEmpty()) {
            const QString base = current + QStringLiteral(".przed-odtworzeniem-")
                                 + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            kept = base;
            for (int n = 2; QFileInfo::exists(kept); ++n)
                kept = base + QLatin1Char('-') + QString::number(n);
            renameFile(current, kept);
            // The WAL holds committed changes of the replaced file: it stays
            // with it. The shared-memory file is rebuilt from the WAL.
            for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-journal")})
                if (QFileInfo::exists(current + suffix))
                    renameFile(current + suffix, kept + suffix);
            QFile::remove(current + QStringLiteral("-shm"));
        }
        try {
            placeFile(temp, path);
        } catch (...) {
            if (!kept.isEmpty()) {
                ::rename(nativePath(kept).constData(), nativePath(current).constData());
                ::rename(nativePath(kept + QStringLiteral("-wal")).constData(), nativePath(current + QStringLiteral("-wal")).constData());
            }
            throw;
        }
        core::syncDirectory(QFileInfo(path).absolutePath());
    } catch (...) {
        removeWithSideFiles(temp);
        throw;
    }
    removeWithSideFiles(temp);
    return kept;
}

std::unique_ptr<Database> Database::openSecondConnection() const {
    const int flags = m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    return std::unique_ptr<Database>(new Database(openHandle(m_path, flags), m_directory, m_path, m_readOnly));
}

void Database::configure() {
    registerPolishCollation(m_db);
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 0);
    if (m_readOnly) {
        // Reading changes nothing: no journal mode is set, and a file that
        // is broken or no database at all stays exactly as it is.
        exec(QStringLiteral("PRAGMA query_only=1"));
    }
    // A file that is no database is refused here, not at the first table.
    exec(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    if (!m_readOnly) {
        // WAL: a walk that posts every row does not pay a disk flush per row
        // inside a transaction, and readers never block the writer.
        sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
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

void Database::backupTo(const QString &file) const {
    Handle dest = openHandle(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup *backup = sqlite3_backup_init(dest.get(), "main", m_db, "main");
    if (!backup)
        throwEngineFailure(dest.get(), QStringLiteral("Kopia bazy danych do pliku %1").arg(file));
    // All pages in one step: the copy is of one state of the database, the
    // writers of other connections going on meanwhile (WAL).
    int rc = SQLITE_OK;
    for (int attempt = 0; attempt < 100; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        sqlite3_sleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        // The failure is told on the side it happened.
        sqlite3 *failed = sqlite3_errcode(dest.get()) != SQLITE_OK ? dest.get() : m_db;
        throwEngineFailure(failed, QStringLiteral("Kopia bazy danych do pliku %1").arg(file));
    }
    sqlite3 *raw = dest.release();
    if (sqlite3_close(raw) != SQLITE_OK) {
        sqlite3_close_v2(raw);
        throw core::DbError(QStringLiteral("Kopia bazy danych do pliku %1: nie można zamknąć pliku").arg(file));
    }
}

QStringList Database::integrityProblems() const {
    QStringList problems;
    Stmt s(*this, QStringLiteral("PRAGMA integrity_check"));
    while (s.step()) {
        const QString line = s.text(0);
        if (line != QLatin1String("ok"))
            problems << line;
    }
    return problems;
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

void Database::fail(const QString &context) const { throwEngineFailure(m_db, context); }

void Database::exec(const QString &sql) {
    char *err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        throw core::DbError(engineFailureText(rc, msg, m_path));
    }
}

void Database::beginRead() {
    if (m_depth == 0) {
        exec(QStringLiteral("BEGIN DEFERRED"));
        try {
            // The first read fixes the state the transaction sees; what
            // others committed before it is seen now, so cursors whose rows
            // were read earlier read them again.
            exec(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
            const quint64 v = dataVersion();
            if (v != m_dataVersion) {
                m_dataVersion = v;
                touchAllTables();
            }
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } else {
        exec(QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    }
    ++m_depth;
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
// The counters are the connection's own (TableVersions); the const of the
// cell handed out is for its readers.
void Database::touchTableCell(const quint64 *cell) { ++*const_cast<quint64 *>(cell); }
void Database::touchAllTables() { m_versions->touchAll(); }

QString Database::storedName(const QString &name) const {
    // SQLite's own tables (sqlite_sequence...) are no tables of the program.
    Stmt s(*this, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE "
                                 "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    s.bind(1, tableNameOf(name));
    return s.step() ? s.text(0) : QString();
}

bool Database::tableExists(const QString &name) const { return !storedName(name).isEmpty(); }

QStringList Database::tableNames() const {
    QStringList names;
    Stmt s(*this, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
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
