#include "admin/DecisionKey.h"
#include "core/Progress.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace varnel;
using admin::WyliczIndexSupp;
using data::Table;

namespace {
const QString AB = QStringLiteral("AB/");
QString key2(const char *number, const QString &pattern = AB) {
    return WyliczIndexSupp(QString::fromUtf8(number), pattern, 2);
}
}  // namespace

TEST(DecisionKey, RunningNumberAfterThePatternIsPaddedToTenDigits) {
    EXPECT_EQ(key2("AB/123/2005"), QStringLiteral("0000000123"));
    EXPECT_EQ(key2("AB/123/2006"), QStringLiteral("0000000123"));  // ties are not broken
    EXPECT_EQ(key2("AB/007/2005"), QStringLiteral("0000000007"));  // the digit text is padded, not the value
    EXPECT_EQ(key2("AB/2147483647"), QStringLiteral("2147483647"));
    EXPECT_EQ(key2("AB/000000000012"), QStringLiteral("000000000012"));  // fits, longer than ten: as it is
}

TEST(DecisionKey, OnlyTheLastCharacterOfThePatternStaysInFront) {
    // "AB-45" keeps "-45": no leading digit, the number is its own key.
    EXPECT_EQ(key2("AB-45", QStringLiteral("AB-")), QStringLiteral("AB-45"));
    // A pattern without a separator leaves its last letter in front.
    EXPECT_EQ(key2("XY45", QStringLiteral("XY")), QStringLiteral("XY45"));
    EXPECT_EQ(key2("XY/45", QStringLiteral("XY")), QStringLiteral("XY/45"));
    // The pattern is matched with case.
    EXPECT_EQ(key2("ab/12"), QStringLiteral("ab/12"));
}

TEST(DecisionKey, WithoutThePatternOneLeadingSlashIsDropped) {
    EXPECT_EQ(key2("/77/2004"), QStringLiteral("0000000077"));
    EXPECT_EQ(key2("77/2004"), QStringLiteral("0000000077"));
    EXPECT_EQ(key2("//77"), QStringLiteral("//77"));
    EXPECT_EQ(key2("123/2005", QString()), QStringLiteral("0000000123"));  // empty pattern
}

TEST(DecisionKey, NumbersWithoutARunningNumberAreTheirOwnKey) {
    EXPECT_EQ(key2("K/12/2005"), QStringLiteral("K/12/2005"));         // begins with a letter
    EXPECT_EQ(key2("AB/12345678901/2005"), QStringLiteral("AB/12345678901/2005"));  // eleven digits
    EXPECT_EQ(key2("AB/2147483648"), QStringLiteral("AB/2147483648"));  // just above the 32-bit limit
    EXPECT_EQ(key2("AB/"), QStringLiteral("AB/"));
    EXPECT_EQ(key2("AB/x1"), QStringLiteral("AB/x1"));
    EXPECT_EQ(key2("AB/١٢"), QStringLiteral("AB/١٢"));  // only 0-9 count as digits
    EXPECT_EQ(key2(""), QString());
}

TEST(DecisionKey, AnyOtherAlgorithmKeepsTheNumber) {
    for (int algorithm : {1, 0, 3, -1})
        EXPECT_EQ(WyliczIndexSupp(QStringLiteral("AB/123/2005"), AB, algorithm), QStringLiteral("AB/123/2005"));
    // As text, 10 sorts before 9; under algorithm 2 it does not.
    EXPECT_LT(WyliczIndexSupp(QStringLiteral("AB/10"), AB, 1), WyliczIndexSupp(QStringLiteral("AB/9"), AB, 1));
    EXPECT_GT(key2("AB/10"), key2("AB/9"));
}

namespace {

class KeyRebuild : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        db->createTable(data::paramTableDef());
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        int i = 0;
        for (const char *n : {"AB/9/2005", "AB/10/2005", "K/1", "/77/2004", ""}) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Z%1").arg(9 - i++));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Numer_decyzji")).setString(QString::fromUtf8(n));
            t.field(QStringLiteral("IndexNrSupport")).setString(QStringLiteral("stary"));
            t.post();
        }
        reg.open();
        reg.setIndexName(QStringLiteral("NazwNdx"));
    }

    QStringList keys() {
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(QStringLiteral("IndexNrSupport")).asString();
        return out;
    }

    test::TempDatabase db;
    Table reg{*db, QStringLiteral("Aktualne")};
};

}  // namespace

TEST_F(KeyRebuild, TheWalkIsOneTransactionAndAFailureLeavesEveryKeyAsItWas) {
    auto other = db->openSecondConnection();
    // Halfway through, another connection still sees none of the new keys.
    struct Failing : core::Progress {
        data::Database &other;
        int done = 0;
        explicit Failing(data::Database &o) : other(o) {}
        void start(int) override {}
        void finish() override {}
        void step() override {
            if (++done == 3) {
                Table t(other, QStringLiteral("Aktualne"));
                t.open();
                EXPECT_EQ(t.field(QStringLiteral("IndexNrSupport")).asString(), QStringLiteral("stary"));
                throw std::runtime_error("przerwano");
            }
        }
    } failing(*other);
    EXPECT_THROW(admin::rebuildDecisionKeys(reg, AB, &failing), std::runtime_error);
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(keys(), QStringList(5, QStringLiteral("stary")));
    EXPECT_EQ(reg.state(), data::TableState::Browse);
    EXPECT_EQ(reg.field(QStringLiteral("IndexNrSupport")).asString(), QStringLiteral("stary"));
}
