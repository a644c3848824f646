// The program's file dialog on the database directory must leave the
// program's locks on the database file in place: another program that opens
// the database meanwhile must neither lose rows nor damage an index.
#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "ui/QtFileDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace varnel;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");

// Whether this process holds a POSIX lock on the file (as /proc/locks says).
bool holdsLock(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QString pid = QString::number(::getpid());
    const QString inode = QStringLiteral(":%1").arg(quint64(st.st_ino));
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QStringList f = QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // "1: POSIX  ADVISORY  READ 26851 fe:00:10953030 128 128"
        if (f.size() >= 6 && f[1] == QLatin1String("POSIX") && f[4] == pid && f[5].endsWith(inode))
            return true;
    }
    return false;
}

void writeFile(const QString &path, const QByteArray &content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void addApplications(data::Database &db, const QString &surname, int count) {
    for (int i = 0; i < count; ++i)
        test::addApplication(db, Aktualne, surname + QString::number(i));
}

QString integrity(data::Database &db) {
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db.handle(), "PRAGMA integrity_check", -1, &s, nullptr);
    QStringList lines;
    while (sqlite3_step(s) == SQLITE_ROW)
        lines << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    return lines.join(QLatin1Char('\n'));
}

// Lists the database directory in the program's file dialog, then lets
// another program read and write the database twice while this one goes on
// writing; every row of both must be there afterwards and the file whole.
void listAndShare(const QString &dir, std::unique_ptr<data::Database> db) {
    // Files the dialog lists: templates, and one whose type only its content tells.
    writeFile(QDir(dir).filePath(QStringLiteral("decyzja.fmz")), "{\\rtf1\\ansi Decyzja @<Nazwisko>@}");
    writeFile(QDir(dir).filePath(QStringLiteral("lista.lsa")), "[Lista]\n");
    writeFile(QDir(dir).filePath(QStringLiteral("stary.dat")), QByteArray("SQLite format 3\0", 16));
    data::Table view(*db, Aktualne);  // the register keeps its table open
    view.open();
    addApplications(*db, QStringLiteral("Przed"), 3);
    ASSERT_TRUE(holdsLock(db->filePath()));

    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto *list = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
        ASSERT_TRUE(list);
        const auto names = [&] {
            QStringList out;
            const QModelIndex root = list->rootIndex();
            for (int r = 0; r < list->model()->rowCount(root); ++r)
                out << list->model()->index(r, 0, root).data().toString();
            return out;
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return names().contains(QStringLiteral("stary.dat")); }, 10000));
        QTest::qWait(500);  // icons and types are fetched meanwhile
        list->viewport()->repaint();
        shown = names();
        dialog->reject();
    });
    ui::QtFileDialogs files;
    EXPECT_TRUE(files.openFile(nullptr, dir, QStringLiteral("Dowolny (*.*)|*.*|Wzorzec decyzji (*.fmz)|*.fmz"),
                               QStringLiteral("fmz"))
                    .isEmpty());
    EXPECT_TRUE(shown.contains(QStringLiteral("decyzja.fmz"))) << shown.join(QLatin1Char(' ')).toStdString();
    for (const QString &name : shown)
        EXPECT_FALSE(name.contains(QLatin1String("varnel"))) << name.toStdString();
    EXPECT_TRUE(holdsLock(db->filePath()));

    for (const QString &surname : {QStringLiteral("Po"), QStringLiteral("Potem")}) {
        addApplications(*db, surname, 3);
        QProcess admin;
        admin.start(QStringLiteral(VARNEL_ADMIN_PROGRAM),
                    {QStringLiteral("demo"), QStringLiteral("--count"), QStringLiteral("5"), QStringLiteral("--db"), dir});
        ASSERT_TRUE(admin.waitForFinished(30000));
        ASSERT_EQ(admin.exitCode(), 0) << admin.readAllStandardError().toStdString();
    }
    addApplications(*db, QStringLiteral("Koniec"), 3);
    EXPECT_EQ(view.recordCount(), 22);

    view.close();
    db.reset();
    auto again = data::Database::open(dir);
    EXPECT_EQ(integrity(*again), QStringLiteral("ok"));
    data::Table check(*again, Aktualne);
    check.open();
    EXPECT_EQ(check.recordCount(), 22);
}

}  // namespace

TEST(FileDialogs, ListingTheDatabaseDirectoryLeavesTheDatabaseLockedAndWhole) {
    QTemporaryDir dir;
    listAndShare(dir.path(), cli::createOfficeDatabase(dir.path()));
}

TEST(FileDialogs, ADatabaseOfTheEarlierLayoutStillInPlaceKeepsItsLocksToo) {
    QTemporaryDir dir;
    cli::createOfficeDatabase(dir.path()).reset();
    test::moveToEarlierLayout(dir.path());
    std::unique_ptr<data::Database> db;
    {
        auto other = data::Database::open(dir.path());  // moved into the folder: nobody else had it
        other.reset();
        test::moveToEarlierLayout(dir.path());
        sqlite3 *raw = nullptr;  // another program has it open: it stays in place
        sqlite3_open_v2(QFile::encodeName(QDir(dir.path()).filePath(QStringLiteral("varnel.sqlite"))).constData(), &raw,
                        SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(raw, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
        db = data::Database::open(dir.path());
        sqlite3_close_v2(raw);
    }
    ASSERT_FALSE(data::Database::isDatabasePath(QFileInfo(db->filePath()).absolutePath()));
    listAndShare(dir.path(), std::move(db));
}

TEST(FileDialogs, AFileOfTheDatabaseCannotBeChosenByName) {
    QTemporaryDir dir;
    auto db = cli::createOfficeDatabase(dir.path());
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->selectFile(db->filePath());
        static_cast<QDialog *>(dialog)->accept();  // refused: the dialog stays open
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    ui::QtFileDialogs files;
    EXPECT_TRUE(files.openFile(nullptr, dir.path(), QStringLiteral("Dowolny (*.*)|*.*"), QString()).isEmpty());
    EXPECT_TRUE(holdsLock(db->filePath()));
}
