#include "cli/AdminTool.h"
#include "cli/DemoData.h"
#include "data/Database.h"
#include "data/Table.h"
#include "lists/ExampleTemplates.h"
#include "lists/ListTemplate.h"
#include "support/AdminRun.h"
#include "support/Program.h"
#include "support/FileModes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace varnel;

namespace {

using Outcome = test::AdminOutcome;
using test::pdfText;

// A new database made by init, with 30 demo applications whose payments are
// set by hand: the first ten of the surname order are paid to the manager.
class ListCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(admin({QStringLiteral("init"), dbDir()}).code, 0);
        auto db = data::Database::open(dbDir());
        cli::addDemoApplications(*db, 30, 7);
        test::payFirstApplications(*db, 10);
    }

    Outcome admin(const QStringList &arguments) { return test::runAdminTool(arguments); }
    Outcome list(const QStringList &more) {
        return admin(QStringList{QStringLiteral("list"), QStringLiteral("--db"), dbDir(), QStringLiteral("--template"),
                                 managerTemplate()} +
                     more);
    }
    void setSettings(const QString &field, const QVariant &value) {
        auto db = data::Database::open(dbDir());
        data::Table t(*db, QStringLiteral("skladlist"));
        t.open();
        t.first();
        t.edit();
        t.field(field).setVariant(value);
        t.post();
    }
    QString dbDir() const { return dir.filePath(QStringLiteral("baza")); }
    QString managerTemplate() const { return QDir(dbDir()).filePath(QStringLiteral("lista_zarzadcy.lsa")); }
    QString out(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

QList<QStringList> fields(const QString &file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char('\t'));
    return rows;
}

}  // namespace

TEST_F(ListCommand, InitWritesTwoExampleTemplatesThatLoad) {
    for (const char *name : {"lista_zarzadcy.lsa", "lista_wnioskodawcow.lsa"}) {
        const auto r = lists::readListTemplateFile(QDir(dbDir()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(r.loaded()) << name << r.error.toStdString();
    }
    EXPECT_EQ(lists::readListTemplateFile(managerTemplate()).tmpl, lists::managerPaymentList());
    const auto applicants = lists::applicantLumpSumList();
    EXPECT_EQ(applicants.columns.last().name, QStringLiteral("Podpis"));
    int totalled = 0;
    for (const auto &c : lists::managerPaymentList().columns)
        totalled += c.sum == QLatin1String("+") ? 1 : 0;
    EXPECT_EQ(totalled, 3);

    // An office's own file of the same name is kept.
    QTemporaryDir other;
    const QString own = QDir(other.path()).filePath(QStringLiteral("lista_zarzadcy.lsa"));
    QFile f(own);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("moja lista");
    f.close();
    EXPECT_EQ(lists::writeExampleListTemplates(other.path()).size(), 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("moja lista"));
    f.close();
    // Given up: what init wrote goes, the office's own file stays.
    lists::removeExampleListTemplates(other.path());
    EXPECT_TRUE(QFile::exists(own));
    EXPECT_FALSE(QFile::exists(QDir(other.path()).filePath(QStringLiteral("lista_wnioskodawcow.lsa"))));
}

TEST_F(ListCommand, PdfAndTextOfTheSameList) {
    const Outcome pdf = list({QStringLiteral("--pdf"), out("lista.pdf")});
    ASSERT_EQ(pdf.code, 0) << pdf.err.toStdString();
    EXPECT_TRUE(pdf.out.contains(QStringLiteral("30 wniosków"))) << pdf.out.toStdString();
    EXPECT_EQ(QFile::permissions(out("lista.pdf")) & 0x0077, 0);
    const QString text = pdfText(out("lista.pdf"));
    EXPECT_TRUE(text.contains(QStringLiteral("LISTA WYPŁAT DODATKÓW MIESZKANIOWYCH DLA ZARZĄDCY"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1045.00")));  // the total of 100 ... 109

    const Outcome txt = list({QStringLiteral("--text"), out("lista.txt")});
    ASSERT_EQ(txt.code, 0) << txt.err.toStdString();
    const auto rows = fields(out("lista.txt"));
    ASSERT_GT(rows.size(), 30 * 8);
    for (const QStringList &r : rows)
        ASSERT_EQ(r.size(), 4) << r.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("50"),
                                    QStringLiteral("Urząd Miasta - Sekcja Dodatków Mieszkaniowych")}));
    // Every text of the PDF is in the dump (the totals among them).
    bool total = false;
    for (const QStringList &r : rows)
        total = total || r[3] == QStringLiteral("   1045.00");
    EXPECT_TRUE(total);
}

TEST_F(ListCommand, TheSettingsOfSkladlistChooseTheApplications) {
    setSettings(QStringLiteral("Kogo"), QStringLiteral("Z wypłatą dla zarządcy "));
    const Outcome r = list({QStringLiteral("--text"), out("z.txt")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("10 wniosków"))) << r.out.toStdString();

    setSettings(QStringLiteral("Kogo"), QStringLiteral("Z wyplatą ryczałtu"));
    const Outcome none = list({QStringLiteral("--pdf"), out("pusta.pdf")});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("Brak wniosków spełniających warunki listy."))) << none.err.toStdString();
    EXPECT_FALSE(QFile::exists(out("pusta.pdf")));
}

TEST_F(ListCommand, FromPageNumbersTheTextByTheListsPages) {
    // Rows of 14 pt with one and a half lines between them: 30 applications
    // take several pages.
    lists::ListTemplate t = lists::applicantLumpSumList();
    t.rowSpacing = 6;
    t.rowFont.size = 14;
    const QString file = out("duza.lsa");
    ASSERT_EQ(lists::writeListTemplateFile(file, t), QString());
    const auto run = [&](const QString &from, const char *name) {
        return admin({QStringLiteral("list"), QStringLiteral("--db"), dbDir(), QStringLiteral("--template"), file,
                      QStringLiteral("--from-page"), from, QStringLiteral("--text"), out(name)});
    };
    ASSERT_EQ(run(QStringLiteral("1"), "all.txt").code, 0);
    const Outcome second = run(QStringLiteral("2"), "from2.txt");
    ASSERT_EQ(second.code, 0) << second.err.toStdString();
    const auto all = fields(out("all.txt"));
    const auto from2 = fields(out("from2.txt"));
    ASSERT_FALSE(from2.isEmpty());
    EXPECT_EQ(from2.first().first(), QStringLiteral("2"));
    QList<QStringList> expected;
    for (const auto &r : all)
        if (r[0] != QLatin1String("1"))
            expected << r;
    EXPECT_EQ(from2, expected);

    const Outcome beyond = run(QStringLiteral("99"), "none.txt");
    EXPECT_EQ(beyond.code, 1);
    EXPECT_FALSE(QFile::exists(out("none.txt")));
}

TEST_F(ListCommand, BadInputIsToldAndWritesNothing) {
    QFile bad(out("zly.lsa"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("biu10Arial\r\n1\r\n0\r\nbiu10Arial\r\n1\r\n20/+/Nazwisko\r\nNazwisko\r\n");
    bad.close();
    struct Case {
        QStringList args;
        int code;
        const char *message;
    } cases[] = {
        {{QStringLiteral("--template"), out("brak.lsa"), QStringLiteral("--pdf"), out("x.pdf")}, 1, "brak.lsa"},
        {{QStringLiteral("--template"), out("zly.lsa"), QStringLiteral("--pdf"), out("x.pdf")}, 1, "wiersz 7"},
        {{QStringLiteral("--template"), managerTemplate()}, 1, "--pdf"},
        {{QStringLiteral("--template"), managerTemplate(), QStringLiteral("--pdf"), out("x.pdf"), QStringLiteral("--text"),
          out("x.txt")},
         1,
         "dokładnie jedno"},
        {{QStringLiteral("--template"), managerTemplate(), QStringLiteral("--from-page"), QStringLiteral("x"),
          QStringLiteral("--pdf"), out("x.pdf")},
         1,
         "Od strony"},
        {{QStringLiteral("--template"), managerTemplate(), QStringLiteral("--table"), QStringLiteral("ar011999"),
          QStringLiteral("--pdf"), out("x.pdf")},
         1,
         "ar011999"},
        {{QStringLiteral("--pdf"), out("x.pdf")}, 1, "--template"},
        {{QStringLiteral("--template"), managerTemplate(), QStringLiteral("--pdf"), out("brak/x.pdf")}, 1, "brak/x.pdf"},
    };
    for (const Case &c : cases) {
        const Outcome r = admin(QStringList{QStringLiteral("list"), QStringLiteral("--db"), dbDir()} + c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out("x.pdf")));
        EXPECT_FALSE(QFile::exists(out("x.txt")));
    }
}

TEST_F(ListCommand, TheProgramRunsWithoutADisplay) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VARNEL_ADMIN_PROGRAM), {QStringLiteral("list"), QStringLiteral("--db"), dbDir(),
                                                   QStringLiteral("--template"), managerTemplate(),
                                                   QStringLiteral("--pdf"), out("bin.pdf")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(out("bin.pdf")));
}

TEST_F(ListCommand, AListIsNeverWrittenOntoTheDatabaseOrADeviceAndIsTheOwnersOnly) {
    const QString database = data::Database::filePathIn(dbDir());
    const QString fifo = out("potok");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const char *option : {"--pdf", "--text"}) {
        Outcome r = list({QString::fromLatin1(option), database});
        EXPECT_EQ(r.code, 1) << option;
        EXPECT_TRUE(r.err.contains(QStringLiteral("należy do bazy danych"))) << r.err.toStdString();
        r = list({QString::fromLatin1(option), fifo});
        EXPECT_EQ(r.code, 1) << option;
        EXPECT_TRUE(r.err.contains(QStringLiteral("nie jest zwykły plik"))) << r.err.toStdString();
    }
    EXPECT_EQ(admin({QStringLiteral("check"), QStringLiteral("--db"), dbDir()}).code, 0);
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());

    Outcome pdf, text;
    {
        test::Umask none(0);
        pdf = list({QStringLiteral("--pdf"), out("lista.pdf")});
        text = list({QStringLiteral("--text"), out("lista.txt")});
    }
    ASSERT_EQ(pdf.code, 0) << pdf.err.toStdString();
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    for (const char *name : {"lista.pdf", "lista.txt"})
        EXPECT_EQ(test::modeOf(out(name)), 0600) << name;
}
