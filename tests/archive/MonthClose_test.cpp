// The archive list and the month close: names, the proposal, the copy of the
// current applications with the list row in one transaction.
#include "archive/ArchiveList.h"
#include "archive/MonthClose.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/Program.h"
#include "support/RecordedProgress.h"

#include <gtest/gtest.h>

using namespace varnel;
using archive::ArchiveEntry;
using data::Table;
using test::column;

namespace {

const QString Current = QStringLiteral("Aktualne");

class MonthCloseTest : public test::ProgramTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        for (const char *name : {"Nowak", "Lis", "Adamczyk"})
            test::addApplication(*db, Current, QString::fromUtf8(name),
                                 {{QStringLiteral("Okres_od"), QDate(1999, 1, 1)},
                                  {QStringLiteral("Wyplata_calosc"), 120.5}});
    }
    void setAmounts() {
        test::setParameters(*db, {{QStringLiteral("Min_emeryt"), 562.58}, {QStringLiteral("Koszt_kwh"), 0.35}});
    }
    // The whole table in primary-key order, field by field.
    QList<QVariantList> contents(const QString &table) {
        QList<QVariantList> all;
        for (const data::FieldDef &f : db->tableDef(table).fields)
            all << column(*db, table, f.name);
        return all;
    }
    QVector<data::IndexDef> indexes(const QString &table) { return db->tableDef(table).indexes; }
};

}  // namespace

TEST(ArchiveNames, MonthsTablesAndTheirTextsReadBothWays) {
    EXPECT_EQ(archive::monthText(4, 1999), QStringLiteral("kwiecień 1999"));
    EXPECT_EQ(archive::monthName(13), QStringLiteral("?"));
    EXPECT_EQ(archive::archiveTableName(QDate(1999, 4, 17)), QStringLiteral("ar041999"));
    EXPECT_EQ(archive::archiveTableName(11, 2003), QStringLiteral("ar112003"));
    EXPECT_EQ(archive::monthOfArchiveName(QStringLiteral("ar041999")), QDate(1999, 4, 1));
    EXPECT_EQ(archive::monthOfArchiveName(QStringLiteral("ar131999")), std::nullopt);
    EXPECT_EQ(archive::monthOfArchiveName(QStringLiteral("arXX1999")), std::nullopt);
    EXPECT_EQ(archive::monthOfArchiveName(QStringLiteral("Aktualne")), std::nullopt);
}

TEST(MonthProposal, TheMonthBeforeTodayWithYearsFrom1997ToTheYearAfter) {
    for (const QDate &day : {QDate(2000, 1, 1), QDate(2000, 1, 31)}) {
        const archive::MonthProposal p = archive::proposeMonth(day);
        EXPECT_EQ(p.month, 12);
        EXPECT_EQ(p.year, 1999);
        ASSERT_EQ(p.years.size(), 4);
        EXPECT_EQ(p.years.first(), QStringLiteral("1997"));
        EXPECT_EQ(p.years.last(), QStringLiteral("2000"));
    }
    const archive::MonthProposal p = archive::proposeMonth(QDate(2026, 12, 9));
    EXPECT_EQ(p.month, 11);
    EXPECT_EQ(p.years.last(), QStringLiteral("2027"));
}

TEST(MonthChoice, ABadYearOrMonthIsRefusedAndAClickedRowSelectsItsMonth) {
    EXPECT_EQ(archive::chosenMonth(3, QStringLiteral("1999")), QDate(1999, 4, 1));
    const std::initializer_list<std::pair<int, QString>> bad = {
        {3, QString()}, {3, QStringLiteral("19x9")}, {3, QStringLiteral(" 1999")}, {-1, QStringLiteral("1999")},
        {12, QStringLiteral("1999")}};
    for (const auto &[month, year] : bad)
        EXPECT_EQ(archive::chosenMonth(month, year), std::nullopt) << month << " " << year.toStdString();

    const QStringList years = archive::proposeMonth(QDate(2001, 3, 1)).years;
    const archive::ListChoice c = archive::choiceForMonthText(QStringLiteral("październik 2000"), years);
    EXPECT_EQ(c.monthIndex, 9);
    EXPECT_EQ(years.value(c.yearIndex), QStringLiteral("2000"));
    // Text the lists do not hold keeps their selections.
    const archive::ListChoice none = archive::choiceForMonthText(QStringLiteral("Kwiecien 1890"), years);
    EXPECT_EQ(none.monthIndex, -1);
    EXPECT_EQ(none.yearIndex, -1);
    EXPECT_EQ(archive::alreadyArchivedQuestion(QStringLiteral("kwiecień 1999")),
              QStringLiteral("Pozycja: kwiecień 1999 jest w archiwum!.Zapisać ponownie?"));
}

TEST_F(MonthCloseTest, ClosingAprilWritesTheListRowAndAnEqualTableWithEveryIndex) {
    setAmounts();
    test::RecordedProgress progress;
    const archive::MonthCloseResult r = archive::closeMonth(*db, QDate(1999, 4, 20), &progress);
    EXPECT_EQ(r.rows, 3);
    EXPECT_FALSE(r.replaced);
    EXPECT_EQ(progress.max, 3);
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(progress.finished, 1);

    const std::optional<ArchiveEntry> e = archive::archiveEntry(*db, QDate(1999, 4, 1));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->key, QDate(1999, 4, 1));
    EXPECT_EQ(e->fileName, QStringLiteral("ar041999"));
    EXPECT_EQ(e->dataStr, QStringLiteral("kwiecień 1999"));
    EXPECT_DOUBLE_EQ(e->najnEmer.value_or(0), 562.58);
    EXPECT_DOUBLE_EQ(e->kosztKwh.value_or(0), 0.35);

    EXPECT_EQ(db->tableDef(QStringLiteral("ar041999")).fields, db->tableDef(Current).fields);
    EXPECT_EQ(indexes(QStringLiteral("ar041999")), indexes(Current));
    EXPECT_GE(indexes(Current).size(), 4);
    EXPECT_EQ(contents(QStringLiteral("ar041999")), contents(Current));
    // The archive is a table like the register: it opens on its indexes.
    Table archived(*db, QStringLiteral("ar041999"));
    archived.open();
    archived.setIndexName(QStringLiteral("NazwNdx"));
    archived.first();
    EXPECT_EQ(archived.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Adamczyk"));
}

TEST_F(MonthCloseTest, WithoutAParameterRowTheAmountsStayBlankAndTheListIsInMonthOrder) {
    archive::closeMonth(*db, QDate(2000, 10, 1));
    archive::closeMonth(*db, QDate(1999, 12, 1));
    archive::closeMonth(*db, QDate(2000, 2, 1));
    const QVector<ArchiveEntry> all = archive::archiveEntries(*db);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0].fileName, QStringLiteral("ar121999"));
    EXPECT_EQ(all[1].fileName, QStringLiteral("ar022000"));
    EXPECT_EQ(all[2].dataStr, QStringLiteral("październik 2000"));
    for (const ArchiveEntry &e : all) {
        EXPECT_EQ(e.najnEmer, std::nullopt);
        EXPECT_EQ(e.kosztKwh, std::nullopt);
    }
    Table list(*db, QStringLiteral("ArcLista"));
    list.open();
    list.first();
    EXPECT_TRUE(list.field(QStringLiteral("NajnEmer")).isNull());
}

TEST_F(MonthCloseTest, ACloseThatFailsLeavesNeitherRowNorTableAndARepeatReplacesOnlyWhenComplete) {
    // A first close failing midway: no row points at a missing table.
    test::RecordedProgress failing;
    failing.failAtStep = 2;
    EXPECT_ANY_THROW(archive::closeMonth(*db, QDate(1999, 4, 1), &failing));
    EXPECT_EQ(archive::archiveEntry(*db, QDate(1999, 4, 1)), std::nullopt);
    EXPECT_FALSE(db->tableExists(QStringLiteral("ar041999")));
    EXPECT_FALSE(db->inTransaction());

    archive::closeMonth(*db, QDate(1999, 4, 1));
    const QList<QVariantList> before = contents(QStringLiteral("ar041999"));
    const std::optional<ArchiveEntry> entryBefore = archive::archiveEntry(*db, QDate(1999, 4, 1));

    // The register changes; a repeated close that fails keeps the old
    // archive and its row (blank amounts included) as they were.
    setAmounts();
    test::addApplication(*db, Current, QStringLiteral("Zieliński"));
    test::RecordedProgress failingAgain;
    failingAgain.failAtStep = 4;
    EXPECT_ANY_THROW(archive::closeMonth(*db, QDate(1999, 4, 1), &failingAgain));
    EXPECT_EQ(contents(QStringLiteral("ar041999")), before);
    EXPECT_EQ(archive::archiveEntry(*db, QDate(1999, 4, 1)), entryBefore);
    EXPECT_EQ(indexes(QStringLiteral("ar041999")), indexes(Current));

    // A complete repeat replaces both.
    const archive::MonthCloseResult r = archive::closeMonth(*db, QDate(1999, 4, 1));
    EXPECT_TRUE(r.replaced);
    EXPECT_EQ(r.rows, 4);
    EXPECT_EQ(contents(QStringLiteral("ar041999")), contents(Current));
    EXPECT_DOUBLE_EQ(archive::archiveEntry(*db, QDate(1999, 4, 1))->najnEmer.value_or(0), 562.58);
    EXPECT_EQ(archive::archiveEntries(*db).size(), 1);
}

TEST_F(MonthCloseTest, TheCloseCopiesTheLayoutTheRegisterHasNow) {
    // An index added to the register later is in the archives made after it.
    db->addIndex(Current, data::IndexDef{QStringLiteral("PeselNdx"), {QStringLiteral("Nazwisko"), QStringLiteral("Imie")}, 0});
    archive::closeMonth(*db, QDate(2001, 5, 1));
    ASSERT_NE(db->tableDef(QStringLiteral("ar052001")).index(QStringLiteral("PeselNdx")), nullptr);
    EXPECT_EQ(indexes(QStringLiteral("ar052001")), indexes(Current));
}
