// varnel-admin decision: decisions filled without a window, into a PDF file
// or as text.
#include "data/Database.h"
#include "data/Table.h"
#include "support/AdminRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace varnel;
using test::AdminOutcome;
using test::pdfText;

namespace {

// A new database made by init with twelve demo applications, computed by
// recalc; every one is marked as validly calculated except the last of the
// surname order (the demo data may hold an application the calculation
// refuses).
class DecisionCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(admin({QStringLiteral("init"), dbDir()}).code, 0);
        ASSERT_EQ(admin({QStringLiteral("demo"), dbDir(), QStringLiteral("--count"), QStringLiteral("12")}).code, 0);
        ASSERT_EQ(admin({QStringLiteral("recalc"), QStringLiteral("--db"), dbDir()}).code, 0);
        auto db = data::Database::open(dbDir());
        data::Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.setIndexName(QStringLiteral("NazwNdx"));
        for (t.first(); !t.eof(); t.next()) {
            t.edit();
            t.field(QStringLiteral("ObliczeniaOK")).setBoolean(true);
            t.post();
        }
        t.first();
        firstNrEw = t.field(QStringLiteral("NrEw")).asString();
        firstSurname = t.field(QStringLiteral("Nazwisko")).asString();
        t.last();
        lastName = t.field(QStringLiteral("Nazwisko")).asString() + QLatin1Char(' ') + t.field(QStringLiteral("Imie")).asString();
        t.edit();
        t.field(QStringLiteral("ObliczeniaOK")).setBoolean(false);
        t.post();
        setSwitches(false, false, QString());
    }

    void setSwitches(bool metric, bool footer, const QString &stopka) {
        auto db = data::Database::open(dbDir());
        data::Table p(*db, QStringLiteral("param"));
        p.open();
        p.first();
        p.edit();
        p.field(QStringLiteral("DrukujMetryczke")).setBoolean(metric);
        p.field(QStringLiteral("DrukujStopke")).setBoolean(footer);
        p.field(QStringLiteral("Stopka")).setString(stopka);
        p.post();
    }

    AdminOutcome admin(const QStringList &arguments) { return test::runAdminTool(arguments); }
    AdminOutcome decision(const QStringList &more, const QString &templ = QString()) {
        return admin(QStringList{QStringLiteral("decision"), QStringLiteral("--db"), dbDir(), QStringLiteral("--template"),
                                 templ.isEmpty() ? exampleTemplate() : templ} +
                     more);
    }
    QString dbDir() const { return dir.filePath(QStringLiteral("baza")); }
    QString exampleTemplate() const { return QDir(dbDir()).filePath(QStringLiteral("decyzja.fmz")); }
    QString out(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString read(const QString &file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir dir;
    QString firstNrEw, firstSurname, lastName;
};

}  // namespace

TEST_F(DecisionCommand, TheTextOfEveryDecisionInSurnameOrderNamesTheOnesNotCalculated) {
    const AdminOutcome r = decision({QStringLiteral("--all"), QStringLiteral("--text"), out("decyzje.txt")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("12 decyzji"))) << r.out.toStdString();
    // Only the application left without a valid calculation is named.
    EXPECT_EQ(r.err.count(QStringLiteral("uwaga:")), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(lastName)) << r.err.toStdString();

    const QString text = read(out("decyzje.txt"));
    EXPECT_EQ(QFile::permissions(out("decyzje.txt")) & 0x0077, 0);
    const QStringList decisions = text.split(QLatin1Char('\f'));
    ASSERT_EQ(decisions.size(), 12);
    EXPECT_TRUE(decisions[0].contains(firstSurname));
    EXPECT_TRUE(decisions[11].contains(lastName.section(QLatin1Char(' '), 0, 0)));
    for (const QString &d : decisions) {
        EXPECT_TRUE(d.contains(QStringLiteral("DECYZJA"))) << d.left(200).toStdString();
        EXPECT_FALSE(d.contains(QStringLiteral("@<")));
        EXPECT_TRUE(d.endsWith(QLatin1Char('\n')));
    }
    // With both switches off, neither the metric line nor a footer.
    EXPECT_FALSE(text.contains(QStringLiteral("Wniosek nr ew.")));
}

TEST_F(DecisionCommand, APdfOfOneDecisionShowsTheFilledValuesAndTheFooterWhenSwitchedOn) {
    setSwitches(true, true, QStringLiteral("Sprawę prowadzi: Sekcja Dodatków, pokój 12\nNazwisko: @<Nazwisko>@"));
    const AdminOutcome r =
        decision({QStringLiteral("--nrew"), firstNrEw, QStringLiteral("--pdf"), out("jedna.pdf")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1 decyzję"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(QFile::permissions(out("jedna.pdf")) & 0x0077, 0);
    const QString text = pdfText(out("jedna.pdf"));
    EXPECT_TRUE(text.contains(firstSurname)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Sprawę prowadzi: Sekcja Dodatków, pokój 12"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Nazwisko: ") + firstSurname)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Wniosek nr ew. ") + firstNrEw)) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("@<")));

    // The whole table: each decision starts a page of its own.
    const AdminOutcome all = decision({QStringLiteral("--all"), QStringLiteral("--pdf"), out("wszystkie.pdf")});
    ASSERT_EQ(all.code, 0) << all.err.toStdString();
    const QStringList pages = pdfText(out("wszystkie.pdf")).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    int starts = 0;
    for (const QString &page : pages)
        starts += page.trimmed().startsWith(QStringLiteral("Urząd")) ? 1 : 0;
    EXPECT_EQ(starts, 12);
}

TEST_F(DecisionCommand, BadInputIsToldAndWritesNoFile) {
    const QString target = out("nic.pdf");
    struct Case {
        QStringList more;
        QString templ;
        int code;
        QString told;
    };
    const QList<Case> cases = {
        {{QStringLiteral("--nrew"), QStringLiteral("9999"), QStringLiteral("--pdf"), target}, {}, 1,
         QStringLiteral("nie ma wniosku o numerze ewidencyjnym 9999")},
        {{QStringLiteral("--all"), QStringLiteral("--pdf"), target}, out("brak.fmz"), 1, QStringLiteral("brak.fmz")},
        {{QStringLiteral("--all"), QStringLiteral("--table"), QStringLiteral("ar011999"), QStringLiteral("--pdf"), target},
         {}, 1, QStringLiteral("ar011999")},
        {{QStringLiteral("--all"), QStringLiteral("--nrew"), firstNrEw, QStringLiteral("--pdf"), target}, {}, 2,
         QStringLiteral("--nrew N i --all")},
        {{QStringLiteral("--pdf"), target}, {}, 2, QStringLiteral("--nrew N i --all")},
        {{QStringLiteral("--nrew"), QStringLiteral("pierwszy"), QStringLiteral("--pdf"), target}, {}, 2,
         QStringLiteral("„pierwszy”")},
        {{QStringLiteral("--all"), QStringLiteral("--pdf"), target, QStringLiteral("--text"), out("nic.txt")}, {}, 2,
         QStringLiteral("--pdf PLIK i --text PLIK")},
    };
    for (const Case &c : cases) {
        const AdminOutcome r = decision(c.more, c.templ);
        EXPECT_EQ(r.code, c.code) << c.more.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(c.told)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(target)) << c.more.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(out("nic.txt")));
    }

    // An empty table has nothing to print.
    {
        auto db = data::Database::open(dbDir());
        db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar011999"));
        db->exec(QStringLiteral("DELETE FROM \"ar011999\""));
        db->touchAllTables();
    }
    const AdminOutcome empty = decision(
        {QStringLiteral("--all"), QStringLiteral("--table"), QStringLiteral("ar011999"), QStringLiteral("--text"), out("nic.txt")});
    EXPECT_EQ(empty.code, 1);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("nie ma żadnego wniosku"))) << empty.err.toStdString();
    EXPECT_FALSE(QFile::exists(out("nic.txt")));
}

TEST_F(DecisionCommand, NeverWritesOntoTheDatabaseFilesAndLeavesTheDatabaseAsItWas) {
    const QString dbFile = data::Database::filePathIn(dbDir());
    const auto bytes = [](const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray before = bytes(dbFile);
    ASSERT_FALSE(before.isEmpty());
    for (const QString &target : {dbFile, dbFile + QStringLiteral("-wal"), dbDir() + QStringLiteral("/./varnel.sqlite")}) {
        for (const char *format : {"--pdf", "--text"}) {
            const AdminOutcome r = decision({QStringLiteral("--all"), QString::fromLatin1(format), target});
            EXPECT_EQ(r.code, 1) << target.toStdString() << ' ' << format;
            EXPECT_TRUE(r.err.contains(QStringLiteral("należy do bazy danych"))) << r.err.toStdString();
        }
    }
    EXPECT_EQ(bytes(dbFile), before);
    EXPECT_FALSE(QFile::exists(dbFile + QStringLiteral("-wal")));

    // Printing reads only: the database file stays byte for byte as it was.
    ASSERT_EQ(decision({QStringLiteral("--all"), QStringLiteral("--pdf"), out("wszystkie.pdf")}).code, 0);
    ASSERT_EQ(decision({QStringLiteral("--all"), QStringLiteral("--text"), out("wszystkie.txt")}).code, 0);
    EXPECT_EQ(bytes(dbFile), before);
}
