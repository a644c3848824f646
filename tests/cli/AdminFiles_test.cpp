#include "cli/TableCsv.h"
#include "data/Alias.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/AdminRun.h"
#include "support/FileModes.h"
#include "support/OldLayouts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

using namespace varnel::data;
using varnel::test::AdminOutcome;
using varnel::test::runAdminTool;
using varnel::test::modeOf;
using varnel::test::Umask;

namespace {

QString csvOf(Database &db, const QString &table) {
    QString text;
    QTextStream out(&text);
    varnel::cli::exportTableCsv(db, table, out);
    out.flush();
    return text;
}

// The current applications of a database file as CSV.
QString applicationsIn(const QString &file) { return csvOf(*Database::openCopy(file), QStringLiteral("Aktualne")); }

// Whether every delivered table is there with its rows: the database whole.
void expectWhole(const QString &dir) {
    auto db = Database::openReadOnly(dir);
    for (const TableDef &def : deliveredTables())
        EXPECT_TRUE(db->tableExists(def.name)) << def.name.toStdString();
    Table users(*db, QStringLiteral("uspass"));
    users.open();
    EXPECT_EQ(users.field(QStringLiteral("User")).asString(), QStringLiteral("ADMIN"));
}

class AdminFiles : public varnel::test::AdminDatabase {
protected:
    QString dbFile() const { return Database::filePathIn(dbDir()); }
};

}  // namespace

TEST_F(AdminFiles, ExportNeverLandsOnTheDatabaseFilesOrOnADevice) {
    ASSERT_EQ(runAdminTool({QStringLiteral("demo"), dbDir(), QStringLiteral("--count"), QStringLiteral("5")}).code, 0);
    const QString link = dir.filePath(QStringLiteral("dane.csv"));
    ASSERT_TRUE(QFile::link(dbFile(), link));
    for (const QString &out : {dbFile(), dbFile() + QStringLiteral("-wal"), dbFile() + QStringLiteral("-shm"), link,
                               dbDir() + QStringLiteral("/./varnel.sqlite")}) {
        const AdminOutcome r = onDb({QStringLiteral("export"), QStringLiteral("uspass"), QStringLiteral("--out"), out});
        EXPECT_EQ(r.code, 1) << out.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("należy do bazy danych"))) << r.err.toStdString();
    }
    expectWhole(dbDir());
    EXPECT_EQ(rows(QStringLiteral("Aktualne")), 5);

    const QString fifo = dir.filePath(QStringLiteral("potok"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const AdminOutcome r = onDb({QStringLiteral("export"), QStringLiteral("uspass"), QStringLiteral("--out"), fifo});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nie jest zwykły plik"))) << r.err.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(onDb({QStringLiteral("backup"), dbFile()}).code, 1);
    expectWhole(dbDir());
}

TEST(AdminFileModes, EveryFileWrittenIsOwnerOnlyUnderAnyUmask) {
    for (const mode_t mask : {mode_t(022), mode_t(0)}) {
        Umask umask(mask);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("baza"));
        ASSERT_EQ(runAdminTool({QStringLiteral("init"), db}).code, 0);
        EXPECT_EQ(modeOf(db), 0700) << mask;
        EXPECT_EQ(modeOf(Database::filePathIn(db)), 0600) << mask;
        const QString csv = dir.filePath(QStringLiteral("uspass.csv"));
        const QString copy = dir.filePath(QStringLiteral("kopia.sqlite"));
        ASSERT_EQ(runAdminTool({QStringLiteral("export"), QStringLiteral("uspass"), QStringLiteral("--out"), csv, QStringLiteral("--db"), db}).code, 0);
        EXPECT_EQ(modeOf(csv), 0600) << mask;
        ASSERT_EQ(runAdminTool({QStringLiteral("backup"), copy, QStringLiteral("--db"), db}).code, 0);
        EXPECT_EQ(modeOf(copy), 0600) << mask;
        ASSERT_EQ(runAdminTool({QStringLiteral("restore"), copy, QStringLiteral("--db"), db}).code, 0);
        EXPECT_EQ(modeOf(Database::filePathIn(db)), 0600) << mask;
        {
            auto open = Database::open(db);
            open->exec(QStringLiteral("UPDATE uspass SET Pass='nowe'"));
            EXPECT_EQ(modeOf(open->filePath() + QStringLiteral("-wal")), 0600) << mask;
            EXPECT_EQ(modeOf(open->filePath() + QStringLiteral("-shm")), 0600) << mask;
        }
        for (const QString &name : QDir(db).entryList(QDir::Files | QDir::Hidden)) {
            if (Database::isOwnPath(db, QDir(db).filePath(name))) {
                EXPECT_EQ(modeOf(QDir(db).filePath(name)), 0600) << name.toStdString();
            }
        }
    }
}

TEST_F(AdminFiles, RecalcThatFailsMidwayChangesNoApplication) {
    ASSERT_EQ(runAdminTool({QStringLiteral("demo"), dbDir(), QStringLiteral("--count"), QStringLiteral("30")}).code, 0);
    {
        // An engine failure at the eleventh application.
        auto db = Database::open(dbDir());
        db->exec(QStringLiteral("CREATE TRIGGER awaria BEFORE UPDATE ON Aktualne WHEN "
                                "(SELECT count(*) FROM Aktualne WHERE ObliczeniaOK IS NOT NULL) >= 10 "
                                "BEGIN SELECT RAISE(ABORT, 'awaria dysku'); END"));
    }
    const QString before = applicationsIn(dbFile());
    const AdminOutcome r = onDb({QStringLiteral("recalc")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("awaria dysku"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("żaden wniosek nie został zmieniony")));
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(applicationsIn(dbFile()), before);
}

TEST(AdminInit, KilledAtAnyMomentLeavesNoDatabaseOrAWholeOneAndCanBeRetried) {
    QTemporaryDir dir;
    int killedMidway = 0;
    for (int delay = 5; delay <= 150; delay += 5) {
        const QString db = dir.filePath(QStringLiteral("baza%1").arg(delay));
        QProcess p;
        p.start(QStringLiteral(VARNEL_ADMIN_PROGRAM), {QStringLiteral("init"), db});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(delay);
        p.kill();
        p.waitForFinished();
        const bool finished = p.exitStatus() == QProcess::NormalExit;
        if (!QFileInfo::exists(Database::filePathIn(db))) {
            killedMidway += QFileInfo(db).isDir() ? 1 : 0;
            const AdminOutcome r = runAdminTool({QStringLiteral("init"), db});
            ASSERT_EQ(r.code, 0) << delay << " ms: " << r.err.toStdString();
        } else if (!finished) {
            // Killed after the rename: the database is complete.
            EXPECT_EQ(runAdminTool({QStringLiteral("check"), QStringLiteral("--db"), db}).code, 0) << delay;
        }
        expectWhole(db);
        EXPECT_TRUE(QDir(db).entryList({QStringLiteral("*.init-*")}, QDir::Files | QDir::Hidden).isEmpty()) << delay;
    }
    std::cout << "init killed before its database was complete: " << killedMidway << " times\n";
}

TEST_F(AdminFiles, SqlitesOwnTablesAreRefusedByEveryCommand) {
    const QString csv = writeFile(QStringLiteral("seq.csv"), "name,seq\nAktualne,2147483647\n");
    for (const QStringList &command :
         {QStringList{QStringLiteral("import"), QStringLiteral("sqlite_sequence"), csv},
          QStringList{QStringLiteral("export"), QStringLiteral("sqlite_sequence")},
          QStringList{QStringLiteral("describe"), QStringLiteral("sqlite_master")},
          QStringList{QStringLiteral("recalc"), QStringLiteral("--table"), QStringLiteral("sqlite_sequence")}}) {
        const AdminOutcome r = onDb(command);
        EXPECT_EQ(r.code, 1) << command.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("nie ma tabeli"))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("sqlite_sequence,"))) << r.err.toStdString();  // not in the list
    }
}

TEST_F(AdminFiles, ReadingCommandsLeaveABrokenDatabaseFileAsItIs) {
    for (const QByteArray &content : {QByteArray(), QByteArray("PK\x03\x04 to jest archiwum zip, nie baza danych")}) {
        QFile::remove(dbFile());
        const QString file = writeFile(QStringLiteral("baza/varnel.sqlite"), content);
        for (const QStringList &command : {QStringList{QStringLiteral("describe"), QStringLiteral("Aktualne")},
                                           QStringList{QStringLiteral("export"), QStringLiteral("param")},
                                           QStringList{QStringLiteral("check")}}) {
            const AdminOutcome r = onDb(command);
            EXPECT_EQ(r.code, 1) << command.first().toStdString();
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), content) << command.first().toStdString();
            if (!content.isEmpty()) {
                EXPECT_TRUE((r.err + r.out).contains(QStringLiteral("nie jest bazą danych programu Varnel")))
                    << (r.err + r.out).toStdString();
            }
        }
    }
}

TEST_F(AdminFiles, FailuresNameTheirCauseAndWhatToDo) {
    // A table that is no table of applications.
    AdminOutcome r = onDb({QStringLiteral("recalc"), QStringLiteral("--table"), QStringLiteral("param")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nie jest tabelą wniosków"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("NazwNdx")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("(Index does not exist"))) << r.err.toStdString();

    // An archive in the layout before an upgrade.
    {
        auto db = Database::open(dbDir());
        db->createTable(varnel::test::without(applicationTableDef(QStringLiteral("ar011999")), {QStringLiteral("WskProc")}));
        varnel::test::addApplication(*db, QStringLiteral("ar011999"), QStringLiteral("Nowak"));
    }
    r = onDb({QStringLiteral("recalc"), QStringLiteral("--table"), QStringLiteral("ar011999")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("układ sprzed aktualizacji programu"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Uruchom raz program Varnel")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("WskProc"))) << r.err.toStdString();

    // A directory that cannot be made.
    const QString file = writeFile(QStringLiteral("plik"), "x");
    r = runAdminTool({QStringLiteral("init"), file + QStringLiteral("/baza")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Nie można utworzyć katalogu"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("%1 istnieje i nie jest katalogiem").arg(file))) << r.err.toStdString();
}

TEST_F(AdminFiles, ABackupTakenWhileAnotherProcessRecalculatesIsWholeAndOfOneMoment) {
    ASSERT_EQ(runAdminTool({QStringLiteral("demo"), dbDir(), QStringLiteral("--count"), QStringLiteral("5000")}).code, 0);
    const QString before = applicationsIn(dbFile());
    QProcess recalc;
    recalc.start(QStringLiteral(VARNEL_ADMIN_PROGRAM), {QStringLiteral("recalc"), QStringLiteral("--db"), dbDir()});
    ASSERT_TRUE(recalc.waitForStarted());
    QStringList copies;
    while (recalc.state() != QProcess::NotRunning && copies.size() < 12) {
        const QString copy = dir.filePath(QStringLiteral("kopia%1.sqlite").arg(copies.size()));
        const AdminOutcome r = onDb({QStringLiteral("backup"), copy});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        copies << copy;
    }
    ASSERT_TRUE(recalc.waitForFinished(60000));
    ASSERT_EQ(recalc.exitCode(), 0) << recalc.readAllStandardError().toStdString();
    const QString after = applicationsIn(dbFile());
    ASSERT_NE(before, after);
    ASSERT_FALSE(copies.isEmpty());
    int ofBefore = 0, ofAfter = 0;
    for (const QString &copy : copies) {
        EXPECT_EQ(runAdminTool({QStringLiteral("check"), copy}).code, 0) << copy.toStdString();
        const QString state = applicationsIn(copy);
        ofBefore += state == before ? 1 : 0;
        ofAfter += state == after ? 1 : 0;
        EXPECT_TRUE(state == before || state == after) << copy.toStdString();
    }
    std::cout << copies.size() << " backups during the recalculation: " << ofBefore << " before it, " << ofAfter
              << " after it\n";
}

TEST_F(AdminFiles, RestoreIsRefusedWhileTheProgramHasTheDatabaseOpen) {
    const QString copy = dir.filePath(QStringLiteral("kopia.sqlite"));
    ASSERT_EQ(onDb({QStringLiteral("backup"), copy}).code, 0);
    ASSERT_EQ(runAdminTool({QStringLiteral("demo"), dbDir(), QStringLiteral("--count"), QStringLiteral("3")}).code, 0);

    // A connection held in this process.
    {
        auto held = Database::open(dbDir());
        const AdminOutcome r = onDb({QStringLiteral("restore"), copy});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("jest w użyciu"))) << r.err.toStdString();
    }
    // The program itself, waiting at its log-in.
    const QString ini = dir.filePath(QStringLiteral("varnel.ini"));
    Alias::write(ini, dbDir());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VARNEL_INI"), ini);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VARNEL_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!Database::isInUse(dbDir()) && waited.elapsed() < 30000 && program.state() == QProcess::Running)
        QThread::msleep(50);
    ASSERT_TRUE(Database::isInUse(dbDir())) << program.readAllStandardError().toStdString();
    const AdminOutcome refused = onDb({QStringLiteral("restore"), copy});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("jest w użyciu"))) << refused.err.toStdString();
    EXPECT_EQ(rows(QStringLiteral("Aktualne")), 3);
    program.kill();
    program.waitForFinished();

    const AdminOutcome r = onDb({QStringLiteral("restore"), copy});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(rows(QStringLiteral("Aktualne")), 0);
    const QDir folder = QFileInfo(Database::filePathIn(dbDir())).dir();
    QStringList kept = folder.entryList({QStringLiteral("varnel.sqlite.przed-odtworzeniem-*")}, QDir::Files);
    kept.removeIf([](const QString &name) { return name.endsWith(QLatin1String("-wal")) || name.endsWith(QLatin1String("-shm")); });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(r.out.contains(kept.first()));
    EXPECT_EQ(applicationsIn(folder.filePath(kept.first())).count(QStringLiteral("\r\n")), 4);  // header and 3 rows

    // A copy that is damaged does not replace the database.
    const QString bad = writeFile(QStringLiteral("zla.sqlite"), "nie baza");
    const AdminOutcome refusedCopy = onDb({QStringLiteral("restore"), bad});
    EXPECT_EQ(refusedCopy.code, 1);
    EXPECT_TRUE(refusedCopy.err.contains(QStringLiteral("nie nadaje się do odtworzenia"))) << refusedCopy.err.toStdString();
    expectWhole(dbDir());
}

TEST_F(AdminFiles, CheckTellsEveryLayoutFaultAndAVerdict) {
    AdminOutcome r = onDb({QStringLiteral("check")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("Wynik: w porządku.\n"))) << r.out.toStdString();
    {
        auto db = Database::open(dbDir());
        // An archive before the last upgrades: the program upgrades it, so it is only a note.
        db->createTable(varnel::test::without(applicationTableDef(QStringLiteral("ar031999")),
                                              {QStringLiteral("IlOsobNaWozku"), QStringLiteral("WskProc")}));
    }
    r = onDb({QStringLiteral("check")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Uwaga: ar031999: układ sprzed aktualizacji"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1 archiwum")));
    {
        auto db = Database::open(dbDir());
        TableDef param = paramTableDef();
        param.fields[3].size = 20;  // Wzor_NrDec
        db->createTable(param);
        TableDef managers = managerDictionaryDef();
        managers.indexes.removeLast();  // OpisNdx
        managers.fields << FieldDef{QStringLiteral("Telefon"), FieldType::Text, 20, false};
        db->createTable(managers);
        db->deleteTable(QStringLiteral("skladlic"));
        db->createTable(varnel::test::without(applicationTableDef(QStringLiteral("ar041999")), {QStringLiteral("Data_urodz")}));
    }
    r = onDb({QStringLiteral("check")});
    EXPECT_EQ(r.code, 1);
    for (const char *finding : {"Problem: param: pole Wzor_NrDec: typ text(20) zamiast text(30)",
                                "Problem: zarzadcy: brak indeksu OpisNdx", "Problem: zarzadcy: pole Telefon",
                                "Problem: brak tabeli skladlic", "Problem: ar041999: brak pola Data_urodz (date)"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(finding))) << finding << "\n" << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("Wynik: 5 problemów; baza danych nie jest taka, jakiej oczekuje program.\n")))
        << r.out.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("\nWynik:")), 1);
}
