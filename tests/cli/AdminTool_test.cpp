#include "cli/AdminTool.h"
#include "data/Alias.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/AdminRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace varnel::cli;
using namespace varnel::data;
using varnel::test::EnvGuard;

namespace {

using Outcome = varnel::test::AdminOutcome;
Outcome admin(const QStringList &arguments) { return varnel::test::runAdminTool(arguments); }

class AdminTool : public varnel::test::AdminDatabase {};

}  // namespace

TEST_F(AdminTool, DescribeListsTheFieldsInOrderAndTheIndexes) {
    const Outcome r = onDb({QStringLiteral("describe"), QStringLiteral("aktualne.DB")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), QStringLiteral("Tabela Aktualne: 47 pól, 5 indeksów, 0 wierszy"));
    QStringList fieldNames, indexNames;
    for (const QString &line : lines) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 3 && words[0].toInt() > 0)
            fieldNames << words[1];
        if (words.value(0) == QLatin1String("(primary)") || words.value(0).endsWith(QLatin1String("Ndx")))
            indexNames << words[0];
    }
    EXPECT_EQ(fieldNames, applicationFieldNames());
    EXPECT_EQ(indexNames, QStringList({QStringLiteral("(primary)"), QStringLiteral("NazwNdx"), QStringLiteral("AdresNdx"),
                                       QStringLiteral("WyplataNdx"), QStringLiteral("NrDecNdx")}));
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("\n 3  Nazwisko +text +28 +tak\n"))));
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("\nNazwNdx +Nazwisko, Imie +polski porządek"))));

    for (const TableDef &def : deliveredTables()) {
        const Outcome d = onDb({QStringLiteral("describe"), def.name});
        EXPECT_EQ(d.code, 0) << def.name.toStdString();
        for (const FieldDef &f : def.fields)
            EXPECT_TRUE(d.out.contains(QLatin1Char(' ') + f.name + QLatin1Char(' ')) || d.out.contains(f.name + QLatin1Char('\n')))
                << def.name.toStdString() << " " << f.name.toStdString();
    }
}

TEST_F(AdminTool, ExportAndImportThroughFilesAndTheAlias) {
    const QString csv = dir.filePath(QStringLiteral("zarzadcy.csv"));
    EXPECT_EQ(onDb({QStringLiteral("export"), QStringLiteral("zarzadcy"), QStringLiteral("--out"), csv}).code, 0);
    EnvGuard ini("VARNEL_INI", dir.filePath(QStringLiteral("varnel.ini")));
    Alias::write(Alias::userFile(), dbDir());
    const Outcome r = admin({QStringLiteral("import"), QStringLiteral("Zarzadcy.db"), csv});  // through the alias
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Dopisano 7 wierszy do tabeli zarzadcy.\n"));
    EXPECT_TRUE(r.err.contains(QLatin1String("Auto")));  // the autoinc column is skipped, and said so
    EXPECT_EQ(rows(QStringLiteral("zarzadcy")), 14);
}

TEST_F(AdminTool, BadInputEndsWithAClearMessageAndChangesNothing) {
    // Missing database directory, and a directory without a database.
    Outcome r = admin({QStringLiteral("describe"), QStringLiteral("Aktualne"), QStringLiteral("--db"), dir.filePath(QStringLiteral("brak"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Katalog bazy danych nie istnieje"))) << r.err.toStdString();
    r = admin({QStringLiteral("demo"), QStringLiteral("--db"), dir.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("varnel.sqlite")));
    EXPECT_FALSE(Database::existsIn(dir.path()));

    // Unknown table.
    r = onDb({QStringLiteral("export"), QStringLiteral("Wnioski")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nie ma tabeli „Wnioski”")));
    EXPECT_TRUE(r.out.isEmpty());

    // A malformed CSV file: the good rows before the fault are not kept.
    const QString bad = writeFile(QStringLiteral("zle.csv"), "Nazwisko,Imie\nNowak,Jan\n\"Lis,Anna\n");
    r = onDb({QStringLiteral("import"), QStringLiteral("Aktualne"), bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Wiersz 3, kolumna 1"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Nie dopisano żadnego wiersza")));
    EXPECT_EQ(rows(QStringLiteral("Aktualne")), 0);
    r = onDb({QStringLiteral("import"), QStringLiteral("Aktualne"), dir.filePath(QStringLiteral("nie-ma.csv"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nie można otworzyć pliku")));

    // A second init over the database.
    r = admin({QStringLiteral("init"), dbDir()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nie zostanie nadpisana")));
    EXPECT_EQ(rows(QStringLiteral("uspass")), 1);

    // Wrong command lines.
    EXPECT_EQ(onDb({QStringLiteral("demo"), QStringLiteral("--count"), QStringLiteral("dużo")}).code, 1);
    EXPECT_EQ(rows(QStringLiteral("Aktualne")), 0);
    EXPECT_EQ(admin({}).code, 2);
    r = admin({QStringLiteral("usun")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nieznane polecenie „usun”")));
    r = onDb({QStringLiteral("describe"), QStringLiteral("param"), QStringLiteral("--szybko")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nieznana opcja „szybko”"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = onDb({QStringLiteral("import"), QStringLiteral("param")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("za mało argumentów")));
    r = admin({QStringLiteral("export"), QStringLiteral("param"), QStringLiteral("--out")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("brak wartości po opcji"))) << r.err.toStdString();
}

TEST(AdminInit, WritesTheAliasOrLeavesNoDatabaseWhenItCannot) {
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("nowa"));
    {
        EnvGuard ini("VARNEL_INI", dir.filePath(QStringLiteral("conf/varnel.ini")));
        const Outcome r = admin({QStringLiteral("init"), db, QStringLiteral("--alias")});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(Alias::resolve(), db);
        EXPECT_EQ(admin({QStringLiteral("demo"), QStringLiteral("--count"), QStringLiteral("3")}).code, 0);
    }
    // An alias file that cannot be written (its folder would be a file).
    QFile blocker(dir.filePath(QStringLiteral("plik")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EnvGuard ini("VARNEL_INI", dir.filePath(QStringLiteral("plik/varnel.ini")));
    const QString second = dir.filePath(QStringLiteral("druga"));
    const Outcome r = admin({QStringLiteral("init"), second, QStringLiteral("--alias")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Bazy danych nie utworzono"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(second));
}

TEST(AdminHelp, IsPolishForTheToolAndEveryCommand) {
    Outcome r = admin({QStringLiteral("--help")});
    EXPECT_EQ(r.code, 0);
    for (const Command &c : adminCommands()) {
        EXPECT_TRUE(r.out.contains(QStringLiteral("  ") + c.usage)) << c.name.toStdString();
        const Outcome help = admin({c.name, QStringLiteral("--help")});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Użycie: varnel-admin ") + c.usage));
        EXPECT_TRUE(help.out.contains(QStringLiteral("--db KATALOG")));
    }
    r = admin({QStringLiteral("import"), QStringLiteral("-h")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("NrEw")));  // tells what happens to autoinc columns
}

TEST(AdminProgram, RunsAsABuiltProgram) {
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral(VARNEL_ADMIN_PROGRAM), {QStringLiteral("init"), dir.filePath(QStringLiteral("b"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    p.start(QStringLiteral(VARNEL_ADMIN_PROGRAM),
            {QStringLiteral("export"), QStringLiteral("statlok"), QStringLiteral("--db"), dir.filePath(QStringLiteral("b"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("2,spółdzielcze,0\r\n")));
    p.start(QStringLiteral(VARNEL_ADMIN_PROGRAM),
            {QStringLiteral("describe"), QStringLiteral("brak"), QStringLiteral("--db"), dir.filePath(QStringLiteral("b"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("nie ma tabeli „brak”")));
}

TEST_F(AdminTool, RecalcComputesEveryApplicationAndNamesTheInvalidOnes) {
    ASSERT_EQ(admin({QStringLiteral("demo"), dbDir(), QStringLiteral("--count"), QStringLiteral("40")}).code, 0);
    {
        auto db = Database::open(dbDir());
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.edit();
        t.field(QStringLiteral("Liczba_osob")).clear();  // no persons: no valid result
        t.post();
    }
    const QString who = [&] {
        auto db = Database::open(dbDir());
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        return t.field(QStringLiteral("Nazwisko")).asString() + QLatin1Char(' ') + t.field(QStringLiteral("Imie")).asString();
    }();
    const Outcome r = onDb({QStringLiteral("recalc")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.split(QLatin1Char('\n')).contains(who)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Przeliczono 40 wniosków w tabeli Aktualne"))) << r.out.toStdString();

    auto db = Database::open(dbDir());
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    int valid = 0;
    for (t.first(); !t.eof(); t.next())
        valid += t.field(QStringLiteral("ObliczeniaOK")).asBoolean() ? 1 : 0;
    EXPECT_GT(valid, 0);
    t.first();
    EXPECT_FALSE(t.field(QStringLiteral("ObliczeniaOK")).asBoolean());

    EXPECT_EQ(onDb({QStringLiteral("recalc"), QStringLiteral("--table"), QStringLiteral("ar011999")}).code, 1);
}
