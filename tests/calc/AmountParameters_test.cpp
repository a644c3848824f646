// The amount parameters: where each window edits, and the rewrite of the
// percentage index.
#include "calc/AmountParameters.h"

#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/Program.h"
#include "support/RecordedProgress.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::calc;
using data::Table;

namespace {

class Amounts : public ::testing::Test {
protected:
    void SetUp() override { test::createDeliveredTables(*db); }
    void addArchiveEntry(const QDate &key, const QString &file, const QString &str, double emer) {
        Table t(*db, QStringLiteral("ArcLista"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Data_Key")).setDate(key);
        t.field(QStringLiteral("FileName")).setString(file);
        t.field(QStringLiteral("Data_str")).setString(str);
        t.field(QStringLiteral("NajnEmer")).setFloat(emer);
        t.post();
    }
    int paramRows() {
        Table t(*db, QStringLiteral("param"));
        t.open();
        return t.recordCount();
    }
    test::TempDatabase db;
};

}  // namespace

TEST_F(Amounts, CurrentApplicationsEditTheParameterRowInsertedWhenMissing) {
    ASSERT_EQ(paramRows(), 0);
    {
        AmountRow row = openAmountRow(*db, Amount::KosztKwh, QStringLiteral("Aktualne"));
        EXPECT_TRUE(row.found);
        EXPECT_EQ(row.caption, QStringLiteral("Kilowatogodzina"));
        EXPECT_EQ(row.field, QStringLiteral("Koszt_kwh"));
        ASSERT_TRUE(row.table->isEditing());
        row.table->field(row.field).setFloat(0.61);
        row.table->post();
    }
    ASSERT_EQ(paramRows(), 1);
    AmountRow again = openAmountRow(*db, Amount::KosztKwh, QStringLiteral("Aktualne"));
    EXPECT_DOUBLE_EQ(again.table->field(again.field).asFloat(), 0.61);
    again.table->cancel();
    EXPECT_EQ(paramRows(), 1) << "a second opening edits the row there is";
}

TEST_F(Amounts, AnArchiveEditsItsEntryOrIsNotFound) {
    addArchiveEntry(QDate(1999, 4, 1), QStringLiteral("ar041999"), QStringLiteral("kwiecień 1999"), 500);
    AmountRow row = openAmountRow(*db, Amount::MinEmeryt, QStringLiteral("ar041999"));
    ASSERT_TRUE(row.found);
    EXPECT_EQ(row.field, QStringLiteral("NajnEmer"));
    EXPECT_EQ(row.caption, QStringLiteral("Najniższa emerytura - kwiecień 1999"));
    EXPECT_DOUBLE_EQ(row.table->field(row.field).asFloat(), 500);
    row.table->cancel();

    const AmountRow missing = openAmountRow(*db, Amount::MinEmeryt, QStringLiteral("ar051999"));
    EXPECT_FALSE(missing.found);
    EXPECT_FALSE(missing.table->isEditing());
    EXPECT_FALSE(openAmountRow(*db, Amount::KosztKwh, QStringLiteral("arXX1999")).found);
    EXPECT_EQ(paramRows(), 0) << "an archive never touches the parameter row";
}

TEST_F(Amounts, PercentageIndexRangeAndRewriteOfEveryRecord) {
    EXPECT_FALSE(wskaznikInRange(49));
    EXPECT_TRUE(wskaznikInRange(50));
    EXPECT_TRUE(wskaznikInRange(90));
    EXPECT_FALSE(wskaznikInRange(91));

    for (const char *s : {"Nowak", "Adamski", "Zięba"})
        test::addApplication(*db, QStringLiteral("Aktualne"), QString::fromUtf8(s), {{QStringLiteral("WskProc"), 70}});
    Table view(*db, QStringLiteral("Aktualne"));
    view.setFieldNames(data::applicationFieldNames());
    view.open();
    // A failure midway leaves every record as it was: one transaction.
    test::RecordedProgress failing;
    failing.failAtStep = 2;
    EXPECT_THROW(rewriteWskProc(view, 60, &failing), std::runtime_error);
    EXPECT_EQ(test::column(*db, QStringLiteral("Aktualne"), QStringLiteral("WskProc")), (QVariantList{70, 70, 70}));

    test::RecordedProgress progress;
    EXPECT_EQ(rewriteWskProc(view, 65, &progress), 3);
    EXPECT_EQ(test::column(*db, QStringLiteral("Aktualne"), QStringLiteral("WskProc")), (QVariantList{65, 65, 65}));
    EXPECT_EQ(progress.max, 3);
}
