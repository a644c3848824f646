// The removal of expired applications: the current-period test, the list
// in Temp and the deletion in one transaction.
#include "archive/ExpiredList.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/Program.h"
#include "support/RecordedProgress.h"

#include <gtest/gtest.h>

using namespace varnel;
using archive::ExpiryFilter;
using data::Table;
using test::column;

namespace {

const QString Current = QStringLiteral("Aktualne");
const QDate Today(2026, 12, 9);
const QDate NoDate;

class ExpiredListTest : public test::ProgramTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        // NrEw 1 … 6; the gap after 2 shows that Temp keeps the numbers.
        add("Bez", NoDate, NoDate);                           // 1: no period
        add("Wczoraj", NoDate, Today.addDays(-1));          // 2: ended yesterday
        add("Usuniety", NoDate, NoDate);                      // 3: removed below
        add("Dzisiaj", Today.addYears(-1), Today);        // 4: ends today, current
        add("Jutro", Today.addDays(1), Today.addYears(1)); // 5: starts tomorrow
        add("Od", Today.addMonths(-3), NoDate);             // 6: only a start, in the past
        Table t(*db, Current);
        t.open();
        ASSERT_TRUE(t.findKey({3}));
        t.remove();
        applications.open();
        applications.setIndexName(QStringLiteral("NazwNdx"));
    }
    void add(const char *surname, const QDate &od, const QDate &doDnia) {
        test::addApplication(*db, Current, QString::fromUtf8(surname),
                             {{QStringLiteral("Okres_od"), od.isValid() ? QVariant(od) : QVariant()},
                              {QStringLiteral("Okres_do"), doDnia.isValid() ? QVariant(doDnia) : QVariant()}});
    }
    QVariantList listed(ExpiryFilter filter) {
        archive::buildExpiredList(applications, filter, Today, nullptr);
        return column(*db, QStringLiteral("Temp"), QStringLiteral("Nazwisko"));
    }

    Table applications{*db, Current};
};

}  // namespace

TEST(CurrentPeriod, APeriodEndingTodayIsCurrentOneStartingTomorrowIsNot) {
    EXPECT_FALSE(archive::isCurrentPeriod(NoDate, NoDate, Today));
    EXPECT_FALSE(archive::isCurrentPeriod(NoDate, Today.addDays(-1), Today));
    EXPECT_TRUE(archive::isCurrentPeriod(NoDate, Today, Today));
    EXPECT_TRUE(archive::isCurrentPeriod(NoDate, Today.addDays(1), Today));
    EXPECT_TRUE(archive::isCurrentPeriod(Today, NoDate, Today));
    EXPECT_FALSE(archive::isCurrentPeriod(Today.addDays(1), NoDate, Today));
    EXPECT_TRUE(archive::isCurrentPeriod(Today.addYears(-2), NoDate, Today));
    // A date stored as the engine's zero counts as none.
    EXPECT_FALSE(archive::isCurrentPeriod(QDate(1899, 12, 30), QDate(1899, 12, 30), Today));

    EXPECT_TRUE(archive::isListed(ExpiryFilter::NotCurrentOrUndated, NoDate, NoDate, Today));
    EXPECT_FALSE(archive::isListed(ExpiryFilter::NotCurrentOnly, NoDate, NoDate, Today));
    EXPECT_TRUE(archive::isListed(ExpiryFilter::NotCurrentOnly, NoDate, Today.addDays(-1), Today));
    EXPECT_FALSE(archive::isListed(ExpiryFilter::NotCurrentOnly, NoDate, Today, Today));
}

TEST_F(ExpiredListTest, TheListKeepsEveryFieldAndNumberWithTheIndexesOfTheRegister) {
    EXPECT_EQ(listed(ExpiryFilter::NotCurrentOrUndated),
              (QVariantList{QStringLiteral("Bez"), QStringLiteral("Wczoraj"), QStringLiteral("Jutro")}));
    EXPECT_EQ(listed(ExpiryFilter::NotCurrentOnly), (QVariantList{QStringLiteral("Wczoraj"), QStringLiteral("Jutro")}));

    // A fresh list each time, NrEw the application's own number (a plain
    // integer), the register's indexes.
    EXPECT_EQ(column(*db, QStringLiteral("Temp"), QStringLiteral("NrEw")), (QVariantList{2, 5}));
    const data::TableDef temp = db->tableDef(QStringLiteral("Temp"));
    const data::TableDef register_ = db->tableDef(Current);
    EXPECT_EQ(temp.fields.first().type, data::FieldType::Integer);
    EXPECT_EQ(temp.fields.size(), register_.fields.size());
    for (int i = 1; i < temp.fields.size(); ++i)
        EXPECT_EQ(temp.fields[i], register_.fields[i]);
    EXPECT_EQ(temp.indexes, register_.indexes);
    // The register is as it was, and so is its cursor's order.
    EXPECT_EQ(applications.recordCount(), 5);
    EXPECT_EQ(applications.indexName(), QStringLiteral("NazwNdx"));
}

TEST_F(ExpiredListTest, WithdrawnRowsStayAndAMissingApplicationIsToldWhileTheRestGo) {
    archive::buildExpiredList(applications, ExpiryFilter::NotCurrentOrUndated, Today, nullptr);
    Table list(*db, QStringLiteral("Temp"));
    list.open();
    list.setIndexName(archive::ExpiredListOrder);
    list.first();
    list.remove();  // "Bez" withdrawn

    // "Wczoraj" went from the register meanwhile (another workstation).
    {
        Table other(*db, Current);
        other.open();
        ASSERT_TRUE(other.findKey({2}));
        other.remove();
    }
    test::RecordedProgress progress;
    QVector<qint64> told;
    const archive::DeletionResult r =
        archive::deleteListed(list, applications, &progress, [&](qint64 nr) { told << nr; });
    EXPECT_EQ(r.listed, 2);
    EXPECT_EQ(r.deleted, 1);
    EXPECT_EQ(told, QVector<qint64>{2});
    EXPECT_EQ(progress.steps, 2);
    EXPECT_EQ(column(*db, Current, QStringLiteral("Nazwisko")),
              (QVariantList{QStringLiteral("Bez"), QStringLiteral("Dzisiaj"), QStringLiteral("Od")}));
}

TEST_F(ExpiredListTest, WithEveryRowWithdrawnNothingIsDeleted) {
    archive::buildExpiredList(applications, ExpiryFilter::NotCurrentOrUndated, Today, nullptr);
    Table list(*db, QStringLiteral("Temp"));
    list.open();
    while (!list.isEmpty()) {
        list.first();
        list.remove();
    }
    const archive::DeletionResult r = archive::deleteListed(list, applications, nullptr);
    EXPECT_EQ(r.listed, 0);
    EXPECT_EQ(r.deleted, 0);
    EXPECT_EQ(applications.recordCount(), 5);
}

TEST_F(ExpiredListTest, ADeletionThatFailsMidwayDeletesNoDate) {
    archive::buildExpiredList(applications, ExpiryFilter::NotCurrentOrUndated, Today, nullptr);
    Table list(*db, QStringLiteral("Temp"));
    list.open();
    test::RecordedProgress failing;
    failing.failAtStep = 3;
    EXPECT_ANY_THROW(archive::deleteListed(list, applications, &failing));
    EXPECT_EQ(column(*db, Current, QStringLiteral("NrEw")), (QVariantList{1, 2, 4, 5, 6}));
    EXPECT_FALSE(db->inTransaction());

    test::RecordedProgress failingAgain;
    failingAgain.failAtStep = 2;
    EXPECT_ANY_THROW(archive::deleteExpired(applications, ExpiryFilter::NotCurrentOnly, Today, &failingAgain));
    EXPECT_EQ(column(*db, Current, QStringLiteral("NrEw")), (QVariantList{1, 2, 4, 5, 6}));

    QStringList deleted;
    applications.setIndexName(QStringLiteral("NazwNdx"));
    EXPECT_EQ(archive::deleteExpired(applications, ExpiryFilter::NotCurrentOnly, Today, nullptr,
                                     [&](Table &t) { deleted << t.field(QStringLiteral("Nazwisko")).asString(); }),
              2);
    EXPECT_EQ(deleted, (QStringList{QStringLiteral("Jutro"), QStringLiteral("Wczoraj")}));
    EXPECT_EQ(column(*db, Current, QStringLiteral("NrEw")), (QVariantList{1, 4, 6}));
}
