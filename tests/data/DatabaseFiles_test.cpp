#include "core/DbError.h"
#include "core/PrivateFile.h"
#include "data/Database.h"
#include "data/EngineErrors.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/FileModes.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varnel::data;
namespace core = varnel::core;
using varnel::test::modeOf;
using varnel::test::TempDatabase;
using varnel::test::Umask;

namespace {

QByteArray contentOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

TableDef people() {
    TableDef t;
    t.name = QStringLiteral("People");
    t.fields = {{QStringLiteral("Nr"), FieldType::AutoInc, 0, false},
                {QStringLiteral("Nazwisko"), FieldType::Text, 28, true}};
    t.indexes = {{QString(), {QStringLiteral("Nr")}, IndexPrimary | IndexUnique},
                 {QStringLiteral("NazwNdx"), {QStringLiteral("Nazwisko")}, IndexCaseInsensitive}};
    return t;
}

void addPeople(Database &db, const QStringList &names) {
    Table t(db, QStringLiteral("People"));
    t.open();
    for (const QString &n : names) {
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(n);
        t.post();
    }
}

QStringList peopleIn(Database &db) {
    Table t(db, QStringLiteral("People"));
    t.open();
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.field(QStringLiteral("Nazwisko")).asString();
    return out;
}

}  // namespace

TEST(DatabaseFiles, OwnPathsAreTheFileItsSideFilesAndTemporariesUnderAnyName) {
    TempDatabase db;
    const QString dir = db.path();
    const QString file = db->filePath();
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal"),
                                  QStringLiteral(".init-abc123"), QStringLiteral(".przed-odtworzeniem-20240101-120000")})
        EXPECT_TRUE(Database::isOwnPath(dir, file + suffix)) << suffix.toStdString();
    EXPECT_TRUE(Database::isOwnPath(dir, dir + QStringLiteral("/inny/../varnel.sqlite")));
    // Other names: a symbolic and a hard link.
    const QString link = QDir(dir).filePath(QStringLiteral("dowiazanie.csv"));
    ASSERT_TRUE(QFile::link(file, link));
    EXPECT_TRUE(Database::isOwnPath(dir, link));
    const QString hard = QDir(dir).filePath(QStringLiteral("twardy.csv"));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(hard).constData()), 0);
    EXPECT_TRUE(Database::isOwnPath(dir, hard));

    EXPECT_FALSE(Database::isOwnPath(dir, QDir(dir).filePath(QStringLiteral("eksport.csv"))));
    EXPECT_FALSE(Database::isOwnPath(dir, QDir(dir).filePath(QStringLiteral("wzor.fmz"))));
    EXPECT_FALSE(Database::isOwnPath(dir, dir));
    QTemporaryDir other;
    EXPECT_FALSE(Database::isOwnPath(dir, QDir(other.path()).filePath(QStringLiteral("kopia.sqlite"))));
}

TEST(DatabaseFiles, EveryFileHoldingDataIsOwnerOnlyUnderAnyUmask) {
    for (const mode_t mask : {mode_t(022), mode_t(0)}) {
        Umask umask(mask);
        QTemporaryDir parent;
        const QString dir = parent.filePath(QStringLiteral("nowy/baza"));
        {
            auto db = Database::createComplete(dir, [](Database &d) { d.createTable(people()); });
            EXPECT_EQ(modeOf(dir), 0700) << mask;
            EXPECT_EQ(modeOf(parent.filePath(QStringLiteral("nowy"))) & 0022, 0) << mask;
            EXPECT_EQ(modeOf(db->filePath()), 0600) << mask;
            addPeople(*db, {QStringLiteral("Nowak")});
            // SQLite gives its side files the mode of the database file.
            EXPECT_EQ(modeOf(db->filePath() + QStringLiteral("-wal")), 0600) << mask;
            EXPECT_EQ(modeOf(db->filePath() + QStringLiteral("-shm")), 0600) << mask;

            core::PrivateFile copy(parent.filePath(QStringLiteral("kopia.sqlite")));
            ASSERT_TRUE(copy.open()) << copy.errorString().toStdString();
            EXPECT_EQ(modeOf(copy.temporaryPath()), 0600) << mask;
            db->backupTo(copy.temporaryPath());
            ASSERT_TRUE(copy.commit());
            EXPECT_EQ(modeOf(copy.targetPath()), 0600) << mask;
        }
        TempDatabase plain;
        EXPECT_EQ(modeOf(plain->filePath()), 0600) << mask;
    }
}

TEST(DatabaseFiles, APrivateFileReplacesOnlyARegularFileAndOnlyWhenComplete) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dane.csv"));
    writeFile(path, "stare");
    {
        core::PrivateFile f(path);
        ASSERT_TRUE(f.open());
        f.device()->write("nowe, niedokończone");
    }  // not committed: the old file stays, no temporary file is left
    EXPECT_EQ(contentOf(path), QByteArray("stare"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    const QString fifo = dir.filePath(QStringLiteral("potok"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    core::PrivateFile onFifo(fifo);
    EXPECT_FALSE(onFifo.open());
    EXPECT_TRUE(onFifo.errorString().contains(QStringLiteral("nie jest zwykły plik"))) << onFifo.errorString().toStdString();
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    EXPECT_FALSE(core::PrivateFile(QStringLiteral("/dev/null")).open());
    EXPECT_FALSE(core::PrivateFile(dir.path()).open());

    // A link to a regular file: the file it points to is replaced.
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(path, link));
    core::PrivateFile viaLink(link);
    ASSERT_TRUE(viaLink.open());
    viaLink.device()->write("nowe");
    ASSERT_TRUE(viaLink.commit());
    EXPECT_EQ(contentOf(path), QByteArray("nowe"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(DatabaseFiles, ADirectoryThatCannotBeMadeIsToldWithTheReason) {
    QTemporaryDir parent;
    writeFile(parent.filePath(QStringLiteral("plik")), "x");
    for (const QString &dir : {parent.filePath(QStringLiteral("plik")), parent.filePath(QStringLiteral("plik/baza"))}) {
        try {
            Database::create(dir);
            FAIL() << dir.toStdString();
        } catch (const core::DbError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Nie można utworzyć katalogu"))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QStringLiteral("nie jest katalogiem"))
                        || e.message().contains(QStringLiteral("jest plikiem")))
                << e.message().toStdString();
        }
    }
}

TEST(DatabaseFiles, ANewDatabaseAppearsOnlyWhenCompleteAndLeftoversOfAKilledAttemptGo) {
    QTemporaryDir parent;
    const QString dir = parent.filePath(QStringLiteral("baza"));
    EXPECT_THROW(Database::createComplete(dir,
                                          [](Database &d) {
                                              d.createTable(people());
                                              EXPECT_FALSE(QFileInfo::exists(Database::filePathIn(d.directory())));
                                              throw core::DbError(QStringLiteral("przerwane"));
                                          }),
                 core::DbError);
    EXPECT_FALSE(QFileInfo::exists(dir));  // the directory it made went too

    // What a kill during the filling leaves: the temporary file and its WAL.
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString leftover = Database::filePathIn(dir) + QStringLiteral(".init-zabity");
    writeFile(leftover, "SQLite format 3");
    writeFile(leftover + QStringLiteral("-wal"), "");
    auto db = Database::createComplete(dir, [](Database &d) { d.createTable(people()); });
    EXPECT_TRUE(db->tableExists(QStringLiteral("People")));
    EXPECT_TRUE(QFileInfo(Database::filePathIn(dir)).dir().entryList({QStringLiteral("*.init-*")}, QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_THROW(Database::createComplete(dir, [](Database &) {}), core::DbError);
}

TEST(DatabaseFiles, SqlitesOwnTablesAreNoTablesOfTheProgram) {
    TempDatabase db;
    db->createTable(people());
    addPeople(*db, {QStringLiteral("Nowak")});  // AUTOINCREMENT makes sqlite_sequence
    EXPECT_EQ(db->tableNames(), QStringList{QStringLiteral("People")});
    for (const char *name : {"sqlite_sequence", "SQLITE_SEQUENCE", "sqlite_schema", "sqlite_master"}) {
        EXPECT_FALSE(db->tableExists(QString::fromLatin1(name))) << name;
        Table t(*db, QString::fromLatin1(name));
        EXPECT_THROW(t.open(), core::DbError) << name;
    }
    EXPECT_THROW(db->deleteTable(QStringLiteral("sqlite_sequence")), core::DbError);
}

TEST(DatabaseFiles, ReadingOpensReadOnlyAndLeavesABrokenFileAsItIs) {
    QTemporaryDir dir;
    const QString file = Database::filePathIn(dir.path());
    writeFile(file, "");
    {
        auto db = Database::openReadOnly(dir.path());
        EXPECT_TRUE(db->isReadOnly());
        EXPECT_TRUE(db->tableNames().isEmpty());
        EXPECT_THROW(db->createTable(people()), core::DbError);
    }
    EXPECT_EQ(QFileInfo(file).size(), 0);

    const QByteArray garbage("To nie jest baza danych, tylko zwykły tekst.\n");
    writeFile(file, garbage);
    try {
        Database::openReadOnly(dir.path())->tableNames();
        FAIL();
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("nie jest bazą danych programu Varnel"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("(SQLite: file is not a database)"))) << e.message().toStdString();
    }
    EXPECT_EQ(contentOf(file), garbage);

    // A write through a read-only connection is told in Polish too.
    QFile::remove(file);
    {
        auto db = Database::create(dir.path());
        db->createTable(people());
    }
    auto ro = Database::openReadOnly(dir.path());
    try {
        addPeople(*ro, {QStringLiteral("Nowak")});
        FAIL();
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Nie można zapisać bazy danych"))) << e.message().toStdString();
    }
}

TEST(DatabaseFiles, AReadTransactionSeesOneStateWhileAnotherConnectionCommits) {
    TempDatabase db;
    db->createTable(people());
    addPeople(*db, {QStringLiteral("Adamski"), QStringLiteral("Nowak")});
    auto writer = db->openSecondConnection();
    {
        ReadTransaction read(*db);
        Table t(*db, QStringLiteral("People"));
        t.open();
        EXPECT_EQ(t.recordCount(), 2);
        addPeople(*writer, {QStringLiteral("Zieliński")});
        writer->exec(QStringLiteral("UPDATE People SET Nazwisko='Kowal' WHERE Nazwisko='Nowak'"));
        QStringList seen;
        for (t.first(); !t.eof(); t.next())
            seen << t.field(QStringLiteral("Nazwisko")).asString();
        EXPECT_EQ(seen, (QStringList{QStringLiteral("Adamski"), QStringLiteral("Nowak")}));
    }
    EXPECT_EQ(peopleIn(*db), (QStringList{QStringLiteral("Adamski"), QStringLiteral("Kowal"), QStringLiteral("Zieliński")}));
}

TEST(DatabaseFiles, CommonSqliteFailuresAreToldInPolishWithTheEngineTextAfter) {
    const struct {
        int code;
        const char *engine;
        const char *polish;
    } cases[] = {
        {SQLITE_BUSY, "database is locked", "jest zajęta przez inny program"},
        {SQLITE_NOTADB, "file is not a database", "nie jest bazą danych programu Varnel"},
        {SQLITE_IOERR, "disk I/O error", "Błąd odczytu lub zapisu dysku"},
        {SQLITE_FULL, "database or disk is full", "Brak miejsca na dysku"},
        {SQLITE_READONLY, "attempt to write a readonly database", "uprawnienia pliku"},
        {SQLITE_CORRUPT, "database disk image is malformed", "jest uszkodzony"},
    };
    for (const auto &c : cases) {
        const QString text = engineFailureText(c.code, QString::fromLatin1(c.engine), QStringLiteral("/srv/baza/varnel.sqlite"));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.polish))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("/srv/baza/varnel.sqlite"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("(SQLite: %1)").arg(QString::fromLatin1(c.engine)))) << text.toStdString();
    }
    EXPECT_EQ(engineFailureText(SQLITE_CONSTRAINT, QStringLiteral("UNIQUE constraint failed"), QString()),
              QStringLiteral("UNIQUE constraint failed"));

    // The same texts on the way from the engine: a database held by another
    // connection, and a full one.
    TempDatabase db;
    db->createTable(people());
    auto other = db->openSecondConnection();
    other->begin();
    addPeople(*other, {QStringLiteral("Nowak")});
    sqlite3_busy_timeout(db->handle(), 0);
    try {
        addPeople(*db, {QStringLiteral("Lis")});
        FAIL();
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("jest zajęta przez inny program"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(db->filePath()));
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("(SQLite: database is locked)"))) << e.message().toStdString();
    }
    other->rollback();
    db->exec(QStringLiteral("PRAGMA max_page_count=%1").arg(QFileInfo(db->filePath()).size() / 4096 + 1));
    try {
        for (int i = 0; i < 2000; ++i)
            addPeople(*db, {QStringLiteral("Nazwisko numer %1 dość długie").arg(i)});
        FAIL();
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Brak miejsca na dysku"))) << e.message().toStdString();
    }
}

TEST(DatabaseFiles, BackupIsWholeAndRestoreKeepsTheReplacedFileBesideIt) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("kopia.sqlite"));
    TempDatabase db;
    db->createTable(people());
    addPeople(*db, {QStringLiteral("Łoś"), QStringLiteral("Adamski")});
    db->backupTo(copy);
    addPeople(*db, {QStringLiteral("Później")});

    auto backup = Database::openCopy(copy);
    EXPECT_TRUE(backup->integrityProblems().isEmpty());
    EXPECT_EQ(peopleIn(*backup), (QStringList{QStringLiteral("Łoś"), QStringLiteral("Adamski")}));
    backup.reset();

    // Refused while a connection is open, in this process or in another.
    try {
        Database::restore(db.path(), copy);
        FAIL();
    } catch (const core::DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("jest w użyciu"))) << e.message().toStdString();
    }
    EXPECT_THROW(Database::restore(db.path(), db->filePath()), core::DbError);
    db.db.reset();
    EXPECT_FALSE(Database::isInUse(db.path()));

    const QString kept = Database::restore(db.path(), copy);
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_TRUE(Database::isOwnPath(db.path(), kept));
    EXPECT_EQ(peopleIn(*Database::openCopy(kept)).size(), 3);
    auto restored = Database::open(db.path());
    EXPECT_EQ(peopleIn(*restored), (QStringList{QStringLiteral("Łoś"), QStringLiteral("Adamski")}));
    EXPECT_EQ(modeOf(restored->filePath()), 0600);
    const QStringList left = QDir(db.path()).entryList({QStringLiteral("*.restore-*")}, QDir::Files | QDir::Hidden);
    EXPECT_TRUE(left.isEmpty());
}

TEST(DatabaseFiles, TheIntegrityCheckKnowsThePolishCollationAndFindsADamagedIndex) {
    TempDatabase db;
    db->createTable(people());
    addPeople(*db, {QStringLiteral("Żak"), QStringLiteral("Łoś"), QStringLiteral("Adamski"), QStringLiteral("Lis")});
    EXPECT_TRUE(db->integrityProblems().isEmpty());

    // A plain SQLite connection cannot even check the file.
    sqlite3 *plain = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(db->filePath()).constData(), &plain), SQLITE_OK);
    EXPECT_NE(sqlite3_exec(plain, "PRAGMA integrity_check", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(QString::fromUtf8(sqlite3_errmsg(plain)).contains(QStringLiteral("collation")));
    sqlite3_close(plain);

    // An index whose declared order no longer matches its entries.
    db->exec(QStringLiteral("PRAGMA writable_schema=ON"));
    db->exec(QStringLiteral("UPDATE sqlite_schema SET sql='CREATE INDEX \"People.NazwNdx\" ON \"People\" (\"Nazwisko\" COLLATE BINARY DESC)' "
                            "WHERE name='People.NazwNdx'"));
    db->exec(QStringLiteral("PRAGMA writable_schema=OFF"));
    db.db.reset();
    auto reopened = Database::openReadOnly(db.path());
    EXPECT_FALSE(reopened->integrityProblems().isEmpty());
}
