// Where the database file lives, how a database of the earlier layout is
// moved, and how a connection notices changes made by other programs.
#include "cli/OfficeDatabase.h"
#include "core/DbError.h"
#include "data/Collation.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace varnel;
using data::Database;
using data::Table;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");

QString oldPath(const QString &dir) { return QDir(dir).filePath(QStringLiteral("varnel.sqlite")); }

// A raw SQLite connection, as another program of the office would hold it.
struct Raw {
    sqlite3 *db = nullptr;
    explicit Raw(const QString &path) {
        EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        data::registerPolishCollation(db);
    }
    ~Raw() { sqlite3_close_v2(db); }
    void exec(const char *sql) { EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db); }
    qint64 number(const char *sql) {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        const qint64 n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
        sqlite3_finalize(s);
        return n;
    }
    QString text(const char *sql) {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        const QString t = sqlite3_step(s) == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0))) : QString();
        sqlite3_finalize(s);
        return t;
    }
};

// A database of the earlier layout, <dir>/varnel.sqlite, with `inFile`
// applications in the file and `inJournal` more that only its WAL holds.
void makeOldLayout(const QString &dir, int inFile, int inJournal) {
    {
        auto db = Database::create(dir);
        db->createTable(data::applicationTableDef());
        for (int i = 0; i < inFile; ++i)
            test::addApplication(*db, Aktualne, QStringLiteral("Plik%1").arg(i));
    }
    test::moveToEarlierLayout(dir);
    Raw raw(oldPath(dir));
    sqlite3_db_config(raw.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    raw.exec("PRAGMA journal_mode=WAL");
    raw.exec("PRAGMA wal_autocheckpoint=0");
    for (int i = 0; i < inJournal; ++i)
        raw.exec(QStringLiteral("INSERT INTO Aktualne (Nazwisko, Imie) VALUES ('Dziennik%1', 'Jan')").arg(i).toUtf8().constData());
}

int openDescriptors() { return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size()); }

}  // namespace

TEST(DatabaseFile, AnOldLayoutIsMovedIntoTheFolderWithEveryRowItsJournalHolds) {
    QTemporaryDir dir;
    makeOldLayout(dir.path(), 3, 2);
    ASSERT_GT(QFileInfo(oldPath(dir.path()) + QStringLiteral("-wal")).size(), 0);  // rows only in the journal

    auto db = Database::open(dir.path());
    EXPECT_EQ(db->filePath(), Database::filePathIn(dir.path()));
    for (const char *ending : {"", "-wal", "-shm", "-journal"})
        EXPECT_FALSE(QFileInfo::exists(oldPath(dir.path()) + QString::fromLatin1(ending))) << ending;
    EXPECT_EQ(test::column(*db, Aktualne, QStringLiteral("Nazwisko")),
              (QVariantList{"Plik0", "Plik1", "Plik2", "Dziennik0", "Dziennik1"}));
    test::addApplication(*db, Aktualne, QStringLiteral("Nowy"));

    const QFileInfo folder(QFileInfo(db->filePath()).absolutePath());
    EXPECT_EQ(folder.fileName(), QStringLiteral(".varnel"));
    EXPECT_EQ(folder.permissions() & (QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup), 0);
    Raw check(db->filePath());
    EXPECT_EQ(check.text("PRAGMA integrity_check"), QStringLiteral("ok"));
    EXPECT_EQ(check.text("PRAGMA journal_mode"), QStringLiteral("wal"));
    EXPECT_EQ(check.number("SELECT count(*) FROM Aktualne"), 6);
}

TEST(DatabaseFile, AnOldLayoutInUseIsOpenedWhereItIsAndMovedByALaterOpening) {
    QTemporaryDir dir;
    makeOldLayout(dir.path(), 2, 0);
    {
        Raw other(oldPath(dir.path()));  // another program has the file open
        EXPECT_EQ(other.number("SELECT count(*) FROM Aktualne"), 2);
        auto db = Database::open(dir.path());
        EXPECT_EQ(db->filePath(), oldPath(dir.path()));
        EXPECT_FALSE(QFileInfo::exists(Database::filePathIn(dir.path())));
        test::addApplication(*db, Aktualne, QStringLiteral("Trzeci"));
        EXPECT_EQ(other.number("SELECT count(*) FROM Aktualne"), 3);  // one file for both
        auto second = db->openSecondConnection();
        EXPECT_EQ(second->filePath(), oldPath(dir.path()));
    }
    auto db = Database::open(dir.path());
    EXPECT_EQ(db->filePath(), Database::filePathIn(dir.path()));
    EXPECT_FALSE(QFileInfo::exists(oldPath(dir.path())));
    EXPECT_EQ(test::column(*db, Aktualne, QStringLiteral("Nazwisko")).size(), 3);
}

TEST(DatabaseFile, AFileThatIsNoDatabaseIsRefusedAtOnceWithoutLeakingItsHandle) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(".varnel")));
    QFile f(Database::filePathIn(dir.path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    const int before = openDescriptors();
    for (int i = 0; i < 5; ++i)
        EXPECT_THROW(Database::open(dir.path()), core::DbError);
    EXPECT_EQ(openDescriptors(), before);
}

TEST(DatabaseFile, ACursorSeesRowsAnotherProgramAdded) {
    QTemporaryDir dir;
    auto db = cli::createOfficeDatabase(dir.path());
    Table view(*db, Aktualne);
    view.open();
    view.setIndexName(QStringLiteral("NazwNdx"));
    ASSERT_EQ(view.recordCount(), 0);
    struct Events : data::TableObserver {
        int rowsChanged = 0;
        void tableEvent(Table &, data::TableEvent e, int) override { rowsChanged += e == data::TableEvent::RowsChanged; }
    } events;
    view.addObserver(&events);

    QProcess admin;
    admin.start(QStringLiteral(VARNEL_ADMIN_PROGRAM),
                {QStringLiteral("demo"), QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--db"), dir.path()});
    ASSERT_TRUE(admin.waitForFinished(30000));
    ASSERT_EQ(admin.exitCode(), 0) << admin.readAllStandardError().toStdString();

    EXPECT_EQ(view.recordCount(), 4);
    view.first();
    EXPECT_GE(events.rowsChanged, 1);  // the grid is told before the move
    int walked = 0;
    for (view.first(); !view.eof(); view.next())
        ++walked;
    EXPECT_EQ(walked, 4);

    // The same for a change committed through a second connection.
    auto second = db->openSecondConnection();
    test::addApplication(*second, Aktualne, QStringLiteral("Drugi"));
    EXPECT_EQ(view.recordCount(), 5);
    view.removeObserver(&events);
}
