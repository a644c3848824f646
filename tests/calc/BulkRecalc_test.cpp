// The bulk recalculation over an application table.
#include "calc/BulkRecalc.h"
#include "data/Table.h"
#include "support/RecordedProgress.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel::calc;
using namespace varnel::data;
using varnel::test::ScriptedQuestions;
using varnel::test::TempDatabase;
namespace test = varnel::test;
using Answer = ScriptedQuestions::Answer;

namespace {

struct App {
    const char *surname;
    int persons;  // 0 fails the first check
    int wskProc = 70;
};

class BulkRecalc : public ::testing::Test {
protected:
    void SetUp() override { db->createTable(applicationTableDef()); }

    // One person, 30 m², rent 300, income 900, pension 600, 2006: 90.00.
    void add(std::initializer_list<App> apps) {
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        for (const App &a : apps) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(a.surname));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Liczba_osob")).setInteger(a.persons);
            t.field(QStringLiteral("Pow_uzytk")).setFloat(30);
            t.field(QStringLiteral("Wydatki_czynsz")).setCurrency(300);
            t.field(QStringLiteral("Dochod_razem")).setCurrency(900);
            t.field(QStringLiteral("NajnEmeryt")).setCurrency(600);
            t.field(QStringLiteral("WskProc")).setInteger(a.wskProc);
            t.field(QStringLiteral("Okres_od")).setDate(QDate(2006, 1, 1));
            t.field(QStringLiteral("Wyplata_calosc")).setCurrency(-1);  // not yet computed
            t.post();
        }
    }

    // Surname -> Wyplata_calosc, in surname order.
    QStringList paid() {
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.setIndexName(QStringLiteral("NazwNdx"));
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(QStringLiteral("Nazwisko")).asString() + QLatin1Char('=') +
                       QString::number(t.field(QStringLiteral("Wyplata_calosc")).asFloat());
        return out;
    }

    TempDatabase db;
    QStringList failed;
};

}  // namespace

TEST_F(BulkRecalc, ComputesEveryRowInSurnameOrderAndListsTheFailed) {
    add({{"Żak", 0}, {"Lis", 1}, {"Łoś", 0}, {"Zając", 1}});
    const auto r = recalcAll(*db, QStringLiteral("Aktualne"), Rules::Current, [&](const QString &n) { failed << n; });
    EXPECT_EQ(r.rows, 4);
    EXPECT_EQ(r.invalid, 2);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(failed, (QStringList{QStringLiteral("Łoś Jan"), QStringLiteral("Żak Jan")}));
    EXPECT_EQ(paid(), (QStringList{QStringLiteral("Lis=90"), QStringLiteral("Łoś=0"), QStringLiteral("Zając=90"),
                                   QStringLiteral("Żak=0")}));
}

TEST_F(BulkRecalc, IndexWarningDoesNotStopAHeadlessRun) {
    add({{"A", 1, 40}, {"B", 1, 95}, {"C", 1}});
    const auto r = recalcAll(*db);
    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(r.invalid, 0);
    EXPECT_EQ(r.indexWarnings, 2);
}

TEST_F(BulkRecalc, EarlierRulesOnAnArchiveTable) {
    db->createTable(applicationTableDef(QStringLiteral("ar041999")));
    add({{"A", 1}});
    db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar041999"));
    const auto r = recalcAll(*db, QStringLiteral("ar041999"), Rules::Before2002);
    EXPECT_EQ(r.rows, 1);
    Table t(*db, QStringLiteral("ar041999"));
    t.open();
    t.first();
    EXPECT_EQ(t.field(QStringLiteral("Wyplata_calosc")).asFloat(), 165);  // 300 - 15 % of 900
    EXPECT_EQ(paid(), QStringList{QStringLiteral("A=-1")});               // current table untouched
}

TEST_F(BulkRecalc, PrzerwijOnTheSecondFailureStopsAfterIt) {
    add({{"A", 0}, {"B", 1}, {"C", 0}, {"D", 0}, {"E", 1}});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    ScriptedQuestions q;
    q.answer({Answer::Yes, Answer::No});
    BulkRecalcCallbacks cb;
    cb.invalid = [&](const QString &n) { failed << n; };
    test::RecordedProgress progress;
    cb.progress = &progress;
    const auto r = recalcTable(t, Rules::Current, QPoint(95, 460), true, q, cb);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(failed, (QStringList{QStringLiteral("A Jan"), QStringLiteral("C Jan")}));
    EXPECT_EQ(progress.max, 5);
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(q.asked().at(1).pos, QPoint(95, 460));
    EXPECT_EQ(t.indexName(), QStringLiteral("NazwNdx"));
    EXPECT_EQ(paid(), (QStringList{QStringLiteral("A=0"), QStringLiteral("B=90"), QStringLiteral("C=0"),
                                   QStringLiteral("D=-1"), QStringLiteral("E=-1")}));
}

TEST_F(BulkRecalc, EmptyTableComputesNothing) {
    const auto r = recalcAll(*db);
    EXPECT_EQ(r.rows, 0);
    EXPECT_EQ(r.invalid, 0);
}
