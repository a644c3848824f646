#include "data/Layouts.h"
#include "data/Table.h"
#include "register/RegisterRules.h"
#include "register/windows/TFormVarnelMain.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"
#include "ui/DataGrid.h"
#include "core/FileDialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using reg::SortOrder;
using reg::TFormVarnelMain;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

struct NoFiles : core::FileDialogs {
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
};

class Register : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto &def : data::deliveredTables())
            db->createTable(def);
        Table param(*db, QStringLiteral("param"));
        param.open();
        param.insert();
        param.field(QStringLiteral("Wzor_NrDec")).setString(QStringLiteral("AB/"));
        param.field(QStringLiteral("AlgorytmSortowania")).setInteger(2);
        param.field(QStringLiteral("DrukujStopke")).setBoolean(true);
        param.post();
        for (const char *s : {"najem", "brak tytułu prawnego"})
            addText(QStringLiteral("tytprawn"), QString::fromUtf8(s));
        for (const char *s : {"komunalne", "spółdzielcze"})
            addText(QStringLiteral("statlok"), QString::fromUtf8(s));
        addText(QStringLiteral("zarzadcy"), QStringLiteral("ZGM Żyrardów"));

        // Running numbers 1..12 in decision numbers; keys as algorithm 2 makes them.
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        const QStringList names = {QStringLiteral("Żak"), QStringLiteral("Lis"), QStringLiteral("Łoś"), QStringLiteral("Nowak")};
        for (int i = 1; i <= 12; ++i) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(names[i % names.size()] + QString::number(i));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Adres_miejsc")).setString(i % 2 ? QStringLiteral("Opole") : QStringLiteral("Brzeg"));
            t.field(QStringLiteral("Numer_decyzji")).setString(QStringLiteral("AB/%1/2006").arg(i));
            t.field(QStringLiteral("IndexNrSupport")).setString(QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')));
            t.field(QStringLiteral("Wyplata_calosc")).setFloat(100.0 + i);
            t.post();
        }
        window = std::make_unique<TFormVarnelMain>(context);
        window->logIn = [] { return std::optional<admin::Rights>(admin::Rights{}); };
    }

    void addText(const QString &table, const QString &text) {
        Table t(*db, table);
        t.open();
        t.insert();
        t.field(QStringLiteral("Opis")).setString(text);
        t.post();
    }

    QString current() { return window->TableWnioski().field(QStringLiteral("Nazwisko")).asString(); }

    test::TempDatabase db;
    test::ScriptedQuestions questions;
    NoFiles files;
    core::Context context{*db, questions, files, core::RunValues{}};
    std::unique_ptr<TFormVarnelMain> window;
};

}  // namespace

TEST_F(Register, FirstShowingOpensTheCurrentRegisterInSurnameOrder) {
    ASSERT_TRUE(window->FormShow());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Wnioski bieżące"));
    EXPECT_EQ(context.values.sortAlgorithm, 2);
    EXPECT_EQ(context.values.decisionPattern, QStringLiteral("AB/"));
    EXPECT_TRUE(window->menuItem(QStringLiteral("SMnuDrukujStopke"))->isChecked());
    EXPECT_FALSE(window->menuItem(QStringLiteral("SMnuDrukujMetryczke"))->isChecked());
    EXPECT_EQ(window->TableWnioski().indexName(), QStringLiteral("NazwNdx"));
    EXPECT_EQ(window->TableWnioski().recordCount(), 12);
    EXPECT_EQ(window->grid()->model()->rowCount(), 12);
    QAction *biezace = window->menuItem(QStringLiteral("SmnuAktualne"));
    EXPECT_TRUE(biezace->isChecked());
    EXPECT_FALSE(biezace->isEnabled());
    // Choice lists: statuses and titles in table order.
    EXPECT_EQ(window->choiceLists().statuses, QStringList({QStringLiteral("komunalne"), QStringLiteral("spółdzielcze")}));
    EXPECT_EQ(window->choiceLists().managers, QStringList{QStringLiteral("ZGM Żyrardów")});
}

TEST_F(Register, AFailedLogInEndsTheRunAndRightsEnableTheMenus) {
    window->logIn = [] { return std::optional<admin::Rights>(); };
    EXPECT_FALSE(window->FormShow());

    auto other = std::make_unique<TFormVarnelMain>(context);
    other->logIn = [] { return std::optional<admin::Rights>(admin::Rights{false, false}); };
    ASSERT_TRUE(other->FormShow());
    EXPECT_FALSE(other->menuItem(QStringLiteral("SMnuUsers"))->isEnabled());
    EXPECT_FALSE(other->menuItem(QStringLiteral("MnuSlowniki"))->isEnabled());
    EXPECT_FALSE(other->menuItem(QStringLiteral("MnuKwoty"))->isEnabled());
    EXPECT_TRUE(other->menuItem(QStringLiteral("SMnuIndeksuj"))->isEnabled());
}

TEST_F(Register, ServiceItemShowsOnlyWithTheServiceSwitch) {
    EXPECT_FALSE(window->menuItem(QStringLiteral("SMnuSerwis"))->isVisible());
    context.values.serviceSwitch = true;
    TFormVarnelMain serviced(context);
    EXPECT_TRUE(serviced.menuItem(QStringLiteral("SMnuSerwis"))->isVisible());
}

TEST_F(Register, EachSortOrderSelectsItsIndexAndTheSearchLandsOnTheNearestKey) {
    ASSERT_TRUE(window->FormShow());
    window->editSeek()->setText(QStringLiteral("ł"));  // as typed
    EXPECT_TRUE(current().startsWith(QStringLiteral("Łoś")));
    window->editSeek()->clear();
    QTest::keyClicks(window->editSeek(), QStringLiteral("No"));
    EXPECT_TRUE(current().startsWith(QStringLiteral("Nowak")));

    window->setSortOrder(SortOrder::Adres);
    EXPECT_EQ(window->TableWnioski().indexName(), QStringLiteral("AdresNdx"));
    QTest::keyClicks(window->editSeek(), QStringLiteral("op"));
    EXPECT_EQ(window->TableWnioski().field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("Opole"));

    // Under algorithm 2 the typed number is padded: 7 lands on running number 7.
    window->setSortOrder(SortOrder::NrDec);
    EXPECT_EQ(window->TableWnioski().indexName(), QStringLiteral("NrDecNdx"));
    EXPECT_EQ(window->editSeek()->text(), QString());
    QTest::keyClicks(window->editSeek(), QStringLiteral("7"));
    EXPECT_EQ(window->TableWnioski().field(QStringLiteral("Numer_decyzji")).asString(), QStringLiteral("AB/7/2006"));
    QTest::keyClicks(window->editSeek(), QStringLiteral("0"));  // "70": nothing that high, the last row
    EXPECT_EQ(window->TableWnioski().field(QStringLiteral("Numer_decyzji")).asString(), QStringLiteral("AB/12/2006"));

    // Under algorithm 1 the search field starts with the decision-number pattern.
    context.values.sortAlgorithm = 1;
    window->setSortOrder(SortOrder::NrDec);
    EXPECT_EQ(window->editSeek()->text(), QStringLiteral("AB/"));

    window->setSortOrder(SortOrder::Kwota);
    EXPECT_EQ(window->TableWnioski().indexName(), QStringLiteral("WyplataNdx"));
    EXPECT_TRUE(window->editSeek()->text().isEmpty());
    EXPECT_FALSE(window->editSeek()->isEnabled());
}

TEST_F(Register, DeleteWhileTypingInTheSearchFieldAsksForTheCurrentRow) {
    ASSERT_TRUE(window->FormShow());
    window->show();
    window->editSeek()->setFocus();
    QTest::keyClicks(window->editSeek(), QStringLiteral("Lis"));
    const QString before = current();
    questions.answer(Answer::No);
    QTest::keyClick(window->editSeek(), Qt::Key_Delete);
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Usunąć pozycję ?")});
    EXPECT_EQ(window->TableWnioski().recordCount(), 12);
    EXPECT_EQ(window->editSeek()->text(), QStringLiteral("Lis"));  // the key did not reach the field

    questions.answer(Answer::Yes);
    QTest::keyClick(window->editSeek(), Qt::Key_Delete);
    EXPECT_EQ(window->TableWnioski().recordCount(), 11);
    Table check(*db, QStringLiteral("Aktualne"));
    check.open();
    check.setIndexName(QStringLiteral("NazwNdx"));
    EXPECT_FALSE(check.findKey({before}));
}

TEST_F(Register, EnterAndInsertOpenTheApplicationFormInTheirModes) {
    ASSERT_TRUE(window->FormShow());
    window->show();
    QList<int> modes;
    window->showApplicationForm = [&](TFormVarnelMain::FormMode m) { modes << m; };
    QTest::keyClick(window->grid(), Qt::Key_Return);
    QTest::keyClick(window->editSeek(), Qt::Key_Insert);
    window->ButtonAktualizujWniosekClick();
    EXPECT_EQ(modes, QList<int>({TFormVarnelMain::ModeView, TFormVarnelMain::ModeAdd, TFormVarnelMain::ModeUpdate}));
}

TEST_F(Register, ItemsNotYetBuiltSaySoAndTheEndOfWorkIsConfirmed) {
    ASSERT_TRUE(window->FormShow());
    window->menuItem(QStringLiteral("SMnuListy"))->trigger();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Funkcja w przygotowaniu.")});

    window->show();
    questions.answer(Answer::No);
    window->menuItem(QStringLiteral("SMnuKoniec"))->trigger();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Zakończyć pracę programu ?")});
    EXPECT_TRUE(window->isVisible());
    questions.answer(Answer::Yes);
    window->menuItem(QStringLiteral("SMnuKoniec"))->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->TableWnioski().isOpen());
}

TEST_F(Register, PrintSwitchesAreStoredInTheParameterRow) {
    ASSERT_TRUE(window->FormShow());
    window->menuItem(QStringLiteral("SMnuDrukujMetryczke"))->trigger();
    Table param(*db, QStringLiteral("param"));
    param.open();
    EXPECT_TRUE(param.field(QStringLiteral("DrukujMetryczke")).asBoolean());
}

TEST_F(Register, ArchiveCaptionAndTheMenuStatesOfTheTwoRegisterStates) {
    ASSERT_TRUE(window->FormShow());
    db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar041999"));
    context.values.currentTableName = QStringLiteral("ar041999");
    window->ZmienNaglowekMain();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Archiwum: kwiecień 1999"));
    EXPECT_FALSE(window->menuItem(QStringLiteral("SMnuPrzeliczDod"))->isEnabled());

    window->ChangeTable();  // not in ArcLista: told, and the switch goes on
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Brak w archiwum: ar041999")});
    window->PokazListeWnioskow();
    EXPECT_EQ(window->TableWnioski().tableName(), QStringLiteral("ar041999"));

    window->SmnuAktualneClick();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Wnioski bieżące"));
    EXPECT_TRUE(window->menuItem(QStringLiteral("SMnuPrzeliczDod"))->isEnabled());
    EXPECT_TRUE(window->menuItem(QStringLiteral("SMnuZamknijMies"))->isEnabled());

    questions.clear();
    context.values.currentTableName = QStringLiteral("arXX1999");
    window->ZmienNaglowekMain();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Miesiąc: XX ?")});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Archiwum:  1999"));
}

TEST_F(Register, NameAndAddressColumnsFollowTheWindowButNotBelowTwentyCharacters) {
    ASSERT_TRUE(window->FormShow());
    window->show();
    window->resize(1400, 600);
    QApplication::processEvents();
    const QVector<int> wide = window->columnChars();
    EXPECT_GT(wide[1], 22);
    EXPECT_GT(wide[2], 25);
    window->resize(300, 600);
    QApplication::processEvents();
    const QVector<int> narrow = window->columnChars();
    EXPECT_EQ(narrow[1], 20);
    EXPECT_EQ(narrow[2], 20);
}

TEST(RegisterRules, ColumnFittingWidensToTheLimitAndNarrowsNotBelowTwenty) {
    const QVector<int> start = {20, 22, 25, 11, 11, 11};  // 100 characters
    // 7 px a character, grid of 1000 px: limit 950 = 135.7 characters.
    QVector<int> wide = reg::fitColumns(start, 1, 2, 7, 1000);
    EXPECT_EQ(wide[1] - 22, wide[2] - 25);
    EXPECT_GE((wide[0] + wide[1] + wide[2] + 33) * 7, 950);
    EXPECT_LT((wide[0] + wide[1] + wide[2] + 33 - 2) * 7, 950);
    // Narrow: one column is already at 20, the other stops there too.
    QVector<int> narrow = reg::fitColumns({20, 21, 30, 11, 11, 11}, 1, 2, 7, 700);
    EXPECT_EQ(narrow[1], 20);
    EXPECT_EQ(narrow[2], 20);
    // Stops as soon as the total fits.
    // Both shrink together: 113 -> 111 -> 109 characters, within the limit of 110.
    QVector<int> fits = reg::fitColumns({20, 30, 30, 11, 11, 11}, 1, 2, 1, 160);
    EXPECT_EQ(fits[1] + fits[2], 56);
}

TEST(RegisterRules, CalculatedFieldsAndSearchKeys) {
    EXPECT_EQ(reg::nazwIm(QStringLiteral("Abcdefghijklmnopqr"), QStringLiteral("Jerzy")), QStringLiteral("Abcdefghijklmnopqr J"));
    EXPECT_EQ(reg::adres(QStringLiteral("Opole"), QString(), QStringLiteral("7")), QStringLiteral("Opole  7"));
    EXPECT_EQ(reg::searchKeyFor(SortOrder::NrDec, QStringLiteral("12"), 2)->value, QStringLiteral("0000000012"));
    EXPECT_EQ(reg::searchKeyFor(SortOrder::NrDec, QString(), 2)->value, QStringLiteral("0000000000"));
    EXPECT_EQ(reg::searchKeyFor(SortOrder::NrDec, QStringLiteral("AB/1"), 1)->value, QStringLiteral("AB/1"));
    EXPECT_FALSE(reg::searchKeyFor(SortOrder::Kwota, QStringLiteral("1"), 2).has_value());
    EXPECT_EQ(reg::monthName(10), QStringLiteral("październik"));
    EXPECT_EQ(reg::monthName(13), QStringLiteral("?"));
}
