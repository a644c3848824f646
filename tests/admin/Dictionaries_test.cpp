#include "admin/Dictionaries.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/Program.h"

#include <gtest/gtest.h>

using namespace varnel;
using admin::DictionaryRules;
using data::Table;
using data::TableState;

namespace {

class Dictionaries : public test::ProgramTest {
protected:
    void SetUp() override { test::createDeliveredTables(*db); }

    void fill(const QString &table, const QList<std::pair<QString, bool>> &rows) { test::fillDictionary(*db, table, rows); }

    QList<bool> usedFlags(const QString &table) {
        Table t(*db, table);
        t.open();
        QList<bool> out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(QStringLiteral("BylModi")).asBoolean();
        return out;
    }

};

}  // namespace

TEST_F(Dictionaries, TextsForTheChoiceListsComeInTableOrder) {
    fill(QStringLiteral("statlok"), {{QStringLiteral("Zasoby komunalne"), false},
                                     {QStringLiteral("Spółdzielczy"), true},
                                     {QStringLiteral("Ąb"), false},
                                     {QString(), false}});
    EXPECT_EQ(admin::dictionaryTexts(*db, QStringLiteral("statlok.db")),
              (QStringList{QStringLiteral("Zasoby komunalne"), QStringLiteral("Spółdzielczy"), QStringLiteral("Ąb"),
                           QString()}));
    EXPECT_TRUE(admin::dictionaryTexts(*db, QStringLiteral("Zarzadcy.db")).isEmpty());
    EXPECT_THROW(admin::dictionaryTexts(*db, QStringLiteral("brak.db")), core::DbError);
}

TEST_F(Dictionaries, MarkingAManagerSetsTheExactTextOnly) {
    fill(QStringLiteral("zarzadcy"), {{QStringLiteral("ZGM Opole"), false},
                                      {QStringLiteral("zgm opole"), false},
                                      {QStringLiteral("Spółdzielnia Łąka"), false}});
    EXPECT_TRUE(admin::markManagerUsed(*db, QStringLiteral("zgm opole")));
    EXPECT_EQ(usedFlags(QStringLiteral("zarzadcy")), (QList<bool>{false, true, false}));
    EXPECT_TRUE(admin::markManagerUsed(*db, QStringLiteral("Spółdzielnia Łąka")));
    EXPECT_EQ(usedFlags(QStringLiteral("zarzadcy")), (QList<bool>{false, true, true}));
}

TEST_F(Dictionaries, ATextNotInTheDictionaryMarksNothing) {
    const QString fifty(50, QLatin1Char('A'));
    fill(QStringLiteral("zarzadcy"), {{QStringLiteral("ZGM Opole"), false}, {fifty, false}});
    EXPECT_FALSE(admin::markManagerUsed(*db, QStringLiteral("ZGM Opol")));
    EXPECT_FALSE(admin::markManagerUsed(*db, QStringLiteral("Zgm Opole")));
    EXPECT_FALSE(admin::markManagerUsed(*db, fifty + QLatin1Char('B')));  // not a cut-down match
    EXPECT_FALSE(admin::markManagerUsed(*db, QString()));
    EXPECT_EQ(usedFlags(QStringLiteral("zarzadcy")), (QList<bool>{false, false}));
}

TEST_F(Dictionaries, ANewRowIsStoredUnusedAsTypedAndCofnijLeavesNothing) {
    Table t(*db, QStringLiteral("zarzadcy.DB"));
    t.open();
    DictionaryRules rules(t, DictionaryRules::Kind::Managers);
    rules.add();
    t.field(QStringLiteral("Opis")).setString(QStringLiteral("Nowy"));
    rules.discard();
    EXPECT_EQ(t.recordCount(), 0);

    for (int i = 0; i < 2; ++i) {  // a repeated and an empty text are stored as well
        rules.add();
        rules.accept();
    }
    rules.add();
    t.field(QStringLiteral("Opis")).setString(QStringLiteral("Nowy"));
    t.field(QStringLiteral("BylModi")).setBoolean(true);
    rules.accept();
    EXPECT_EQ(t.recordCount(), 3);
    for (t.first(); !t.eof(); t.next()) {
        EXPECT_FALSE(t.field(QStringLiteral("BylModi")).isNull());
        EXPECT_FALSE(t.field(QStringLiteral("BylModi")).asBoolean());
        EXPECT_FALSE(t.field(QStringLiteral("Wlasn_gminy")).isNull());
    }

    // An edit keeps the flag it had; accepting in browse mode does nothing.
    t.first();
    ASSERT_TRUE(rules.change(questions));
    t.field(QStringLiteral("Opis")).setString(QStringLiteral("Zmieniony"));
    rules.accept();
    rules.accept();
    EXPECT_EQ(admin::dictionaryTexts(*db, QStringLiteral("zarzadcy")).first(), QStringLiteral("Zmieniony"));
}
