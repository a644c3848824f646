#include "data/Layouts.h"
#include "data/Table.h"
#include "lists/ListItems.h"
#include "lists/WorkTable.h"
#include "support/TempDatabase.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::lists;

namespace {

class WorkTableTest : public ::testing::Test {
protected:
    void SetUp() override { db->createTable(data::listTemplateDef()); }
    QVector<int> positions() {
        data::Table t(*db, WorkTableName);
        t.open();
        QVector<int> p;
        for (t.first(); !t.eof(); t.next())
            p << int(t.field(QStringLiteral("NrPola")).asInteger());
        return p;
    }
    test::TempDatabase db;
};

}  // namespace

TEST_F(WorkTableTest, FillingReplacesTheRowsInPositionOrder) {
    fillWorkTable(*db, {{QStringLiteral("Nazwisko"), 30, QString()}, {QStringLiteral("Czynsz"), 12, QStringLiteral("+")}});
    const QVector<ListColumn> cols{{QStringLiteral("Lp."), 4, QString()},
                                   {QStringLiteral("Wypłata (całość)"), 13, QStringLiteral("+")},
                                   {QStringLiteral("Podpis"), 20, QString()}};
    fillWorkTable(*db, cols);
    EXPECT_EQ(readWorkTable(*db), cols);
    EXPECT_EQ(positions(), (QVector<int>{1, 2, 3}));

    storeWorkTableSums(*db, {0, 1234.5, 0});
    data::Table t(*db, WorkTableName);
    t.open();
    t.moveTo(2);
    EXPECT_DOUBLE_EQ(t.field(QStringLiteral("ValSuma")).asFloat(), 1234.5);
    fillWorkTable(*db, cols);
    t.refresh();
    t.moveTo(2);
    EXPECT_DOUBLE_EQ(t.field(QStringLiteral("ValSuma")).asFloat(), 0);
}

TEST_F(WorkTableTest, OnlyAWholeTemplateEntersTheTable) {
    const QVector<ListColumn> before{{QStringLiteral("Nazwisko"), 30, QString()}};
    fillWorkTable(*db, before);
    const QString bad = db.dir.filePath(QStringLiteral("zly.lsa"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("biu10Arial\r\n1\r\n1\r\nNag\r\nbiu10Arial\r\n1\r\n4/N/Lp.\r\n20/+Czynsz\r\n");
    f.close();
    const ListTemplateReading r = loadTemplateIntoWorkTable(*db, bad);
    EXPECT_EQ(r.read, ListTemplateReading::Read::Header);
    EXPECT_EQ(readWorkTable(*db), before);

    const QString good = db.dir.filePath(QStringLiteral("dobry.lsa"));
    ListTemplate t;
    t.columns = {{QStringLiteral("Lp."), 4, QString()}, {QStringLiteral("Czynsz"), 12, QStringLiteral("+")}};
    ASSERT_EQ(writeListTemplateFile(good, t), QString());
    EXPECT_TRUE(loadTemplateIntoWorkTable(*db, good).loaded());
    EXPECT_EQ(readWorkTable(*db), t.columns);
}

TEST_F(WorkTableTest, TheEditorsStepsAddToggleAndRenumber) {
    data::Table t(*db, WorkTableName);
    t.open();
    appendColumn(t, QStringLiteral("Nazwisko i imię"));
    appendColumn(t, QStringLiteral("Wypłata (zarządca)"));
    appendColumn(t, QStringLiteral("Podpis"));
    EXPECT_EQ(readWorkTable(*db), (QVector<ListColumn>{{QStringLiteral("Nazwisko i imię"), 20, QString()},
                                                       {QStringLiteral("Wypłata (zarządca)"), 20, QStringLiteral("-")},
                                                       {QStringLiteral("Podpis"), 20, QString()}}));
    t.moveTo(2);
    EXPECT_EQ(toggleColumnSum(t), QString());
    EXPECT_EQ(t.field(QStringLiteral("Suma")).asString(), QStringLiteral("+"));
    EXPECT_EQ(toggleColumnSum(t), QString());
    EXPECT_EQ(t.field(QStringLiteral("Suma")).asString(), QStringLiteral("-"));
    t.moveTo(1);
    EXPECT_EQ(toggleColumnSum(t), QStringLiteral("Nie można sumować wg pola: Nazwisko i imię"));
    EXPECT_EQ(t.field(QStringLiteral("Suma")).asString(), QString());

    t.remove();
    renumberColumns(t);
    EXPECT_EQ(positions(), (QVector<int>{1, 2}));
    appendColumn(t, QStringLiteral("Uwagi"));
    EXPECT_EQ(positions(), (QVector<int>{1, 2, 3}));
}

TEST(ListItemsTest, SeventeenItemsCanBeTotalledByTheirExactName) {
    int summable = 0;
    for (const QString &item : listItems())
        summable += isSummable(item) ? 1 : 0;
    EXPECT_EQ(summable, 17);
    EXPECT_EQ(listItems().size(), 33);
    EXPECT_TRUE(isSummable(QStringLiteral("Wypłata (całość)")));
    EXPECT_FALSE(isSummable(QStringLiteral("wypłata (całość)")));
    EXPECT_FALSE(isSummable(QStringLiteral("Lp.")));
}
