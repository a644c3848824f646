// varnel-admin close-month, archives and expired on a database made by init.
#include "archive/ArchiveList.h"
#include "data/Database.h"
#include "data/Table.h"
#include "support/AdminRun.h"
#include "support/OldLayouts.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace varnel;
using data::Database;
using test::AdminOutcome;

namespace {

const QString Current = QStringLiteral("Aktualne");

class ArchiveCommands : public test::AdminDatabase {
protected:
    void SetUp() override {
        AdminDatabase::SetUp();
        const QDate today = QDate::currentDate();
        auto db = Database::open(dbDir());
        add(*db, "Bez", QDate(), QDate());
        add(*db, "Minione", today.addYears(-1), today.addDays(-1));
        add(*db, "Biezace", today.addMonths(-1), today);
        add(*db, "Przyszle", today.addDays(1), today.addYears(1));
    }
    static void add(Database &db, const char *surname, const QDate &od, const QDate &doDnia) {
        test::addApplication(db, Current, QString::fromUtf8(surname),
                             {{QStringLiteral("Okres_od"), od.isValid() ? QVariant(od) : QVariant()},
                              {QStringLiteral("Okres_do"), doDnia.isValid() ? QVariant(doDnia) : QVariant()}});
    }
    QStringList surnames() {
        auto db = Database::openReadOnly(dbDir());
        QStringList names;
        for (const QVariant &v : test::column(*db, Current, QStringLiteral("Nazwisko")))
            names << v.toString();
        return names;
    }
    QStringList tables() { return Database::openReadOnly(dbDir())->tableNames(); }
};

}  // namespace

TEST_F(ArchiveCommands, CloseMonthWritesTheArchiveAndRefusesAnArchivedMonthWithoutReplace) {
    AdminOutcome r = onDb({QStringLiteral("close-month"), QStringLiteral("1999-04")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Przepisano do archiwum miesiąc kwiecień 1999: tabela ar041999, 4 wnioski;")))
        << r.out.toStdString();
    EXPECT_EQ(rows(QStringLiteral("ar041999")), 4);

    // The month again: refused, nothing written.
    {
        auto db = Database::open(dbDir());
        add(*db, "Nowy", QDate(), QDate());
    }
    r = onDb({QStringLiteral("close-month"), QStringLiteral("1999-04")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("kwiecień 1999 jest już w archiwum"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("ar041999")), 4);

    r = onDb({QStringLiteral("close-month"), QStringLiteral("1999-04"), QStringLiteral("--replace")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Zapisano ponownie miesiąc kwiecień 1999"))) << r.out.toStdString();
    EXPECT_EQ(rows(QStringLiteral("ar041999")), 5);

    // Bad months are refused before the database is touched.
    for (const char *bad : {"1999-13", "1999-4", "04-1999", "1999-00", "abcd-01"}) {
        r = onDb({QStringLiteral("close-month"), QString::fromUtf8(bad)});
        EXPECT_EQ(r.code, 1) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("RRRR-MM"))) << bad << r.err.toStdString();
    }
    EXPECT_EQ(onDb({QStringLiteral("close-month")}).code, 2);
    EXPECT_EQ(tables().filter(QRegularExpression(QStringLiteral("^ar[0-9]{6}$"))).size(), 1);
}

TEST_F(ArchiveCommands, ArchivesListsOneLinePerMonthInMonthOrder) {
    ASSERT_EQ(onDb({QStringLiteral("close-month"), QStringLiteral("2000-10")}).code, 0);
    {
        // A month closed with no parameter row has blank amounts.
        auto db = Database::open(dbDir());
        data::Table param(*db, QStringLiteral("param"));
        param.open();
        while (!param.isEmpty()) {
            param.first();
            param.remove();
        }
    }
    ASSERT_EQ(onDb({QStringLiteral("close-month"), QStringLiteral("1999-12")}).code, 0);
    const AdminOutcome r = onDb({QStringLiteral("archives")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("1999-12-01\tar121999\tgrudzień 1999\t\t"));
    const QStringList oct = lines[1].split(QLatin1Char('\t'));
    ASSERT_EQ(oct.size(), 5);
    EXPECT_EQ(oct.mid(0, 3), (QStringList{QStringLiteral("2000-10-01"), QStringLiteral("ar102000"),
                                          QStringLiteral("październik 2000")}));
    EXPECT_FALSE(oct[3].isEmpty());
    EXPECT_FALSE(oct[4].isEmpty());
}

TEST_F(ArchiveCommands, ExpiredListsWhatTheWindowWouldMarkAndDeletesItInOneGo) {
    AdminOutcome r = onDb({QStringLiteral("expired")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("1\t\tBez Jan\t\t"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\tMinione Jan\t")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("\tPrzyszle Jan\t")));

    r = onDb({QStringLiteral("expired"), QStringLiteral("--dated-only")});
    EXPECT_EQ(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
    EXPECT_EQ(surnames().size(), 4);  // listing deletes nothing

    r = onDb({QStringLiteral("expired"), QStringLiteral("--dated-only"), QStringLiteral("--delete")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.last(), QStringLiteral("Usunięto 2 wnioski."));
    EXPECT_EQ(surnames(), (QStringList{QStringLiteral("Bez"), QStringLiteral("Biezace")}));

    EXPECT_EQ(onDb({QStringLiteral("expired"), QStringLiteral("zbędny")}).code, 2);
}
