// The amount windows and the window of the bulk recalculation.
#include "calc/windows/AmountWindows.h"
#include "calc/windows/TFormLiczWszystko.h"

#include "calc/AmountParameters.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"
#include "ui/DbControls.h"

#include <QListWidget>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

class AmountWindows : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        makeMainWindow();
    }
    void retype(QLineEdit *edit, const QString &text) {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            test::typeText(edit, text);
    }
    QVariant param(const QString &field) {
        Table t(*db, QStringLiteral("param"));
        t.open();
        t.first();
        return t.isEmpty() ? QVariant() : t.field(field).asVariant();
    }
    int paramRows() {
        Table t(*db, QStringLiteral("param"));
        t.open();
        return t.recordCount();
    }
    void addArchive(const QString &name, const QDate &key, double emer) {
        db->createTable(data::applicationTableDef(name));
        Table t(*db, QStringLiteral("ArcLista"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Data_Key")).setDate(key);
        t.field(QStringLiteral("FileName")).setString(name);
        t.field(QStringLiteral("Data_str")).setString(QStringLiteral("kwiecień 1999"));
        t.field(QStringLiteral("NajnEmer")).setFloat(emer);
        t.post();
    }
    double archiveEmer() {
        Table t(*db, QStringLiteral("ArcLista"));
        t.open();
        t.first();
        return t.field(QStringLiteral("NajnEmer")).asFloat();
    }
};

}  // namespace

TEST_F(AmountWindows, AnEmptyParameterTableGetsItsRowAndOkSavesIt) {
    for (const calc::Amount amount : {calc::Amount::MinEmeryt, calc::Amount::KosztKwh}) {
        std::unique_ptr<calc::AmountWindow> form;
        if (amount == calc::Amount::MinEmeryt)
            form = std::make_unique<calc::TFormEmerytMin>(ctx, *reg);
        else
            form = std::make_unique<calc::TFormKosztKwh>(ctx, *reg);
        ASSERT_TRUE(form->FormShow());
        EXPECT_EQ(form->windowTitle(), calc::amountCaption(amount));
        retype(form->edit(), amount == calc::Amount::MinEmeryt ? QStringLiteral("1780,96") : QStringLiteral("0.75"));
        form->ButtonOKClick();
        EXPECT_EQ(form->result(), QDialog::Accepted);
    }
    EXPECT_EQ(paramRows(), 1);
    EXPECT_DOUBLE_EQ(param(QStringLiteral("Min_emeryt")).toDouble(), 1780.96);
    EXPECT_DOUBLE_EQ(param(QStringLiteral("Koszt_kwh")).toDouble(), 0.75);
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(AmountWindows, CofnijDropsTheEdit) {
    test::setParameters(*db, {{QStringLiteral("Min_emeryt"), 500.0}});
    calc::TFormEmerytMin form(ctx, *reg);
    ASSERT_TRUE(form.FormShow());
    retype(form.DBEMinEmeryt, QStringLiteral("999"));
    test::pressCofnij(&form);
    EXPECT_DOUBLE_EQ(param(QStringLiteral("Min_emeryt")).toDouble(), 500.0);
}

TEST_F(AmountWindows, WithAnArchiveShownThePensionIsTheArchiveEntrysAndTheIndexStaysTheParameterRows) {
    test::setParameters(*db, {{QStringLiteral("Min_emeryt"), 500.0}, {QStringLiteral("WskaznikProc"), 70}});
    addArchive(QStringLiteral("ar041999"), QDate(1999, 4, 1), 400);
    ASSERT_TRUE(main->FormShow());
    reg->ChangeTable(QStringLiteral("ar041999"));
    questions.clear();

    calc::TFormEmerytMin form(ctx, *reg);
    ASSERT_TRUE(form.FormShow());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Najniższa emerytura - kwiecień 1999"));
    EXPECT_EQ(form.DBEMinEmeryt->text().toDouble(), 400);
    retype(form.DBEMinEmeryt, QStringLiteral("420"));
    test::pressOK(&form);
    EXPECT_DOUBLE_EQ(archiveEmer(), 420);
    EXPECT_DOUBLE_EQ(param(QStringLiteral("Min_emeryt")).toDouble(), 500.0) << "param.db stays as it was";

    calc::TFormWskProc wsk(ctx, *reg);
    ASSERT_TRUE(wsk.FormShow());
    EXPECT_EQ(wsk.DBEWskaznik->text(), QStringLiteral("70"));
    retype(wsk.DBEWskaznik, QStringLiteral("75"));
    questions.answer(Answer::No);
    test::pressOK(&wsk);
    EXPECT_EQ(param(QStringLiteral("WskaznikProc")).toInt(), 75);
}

TEST_F(AmountWindows, AnArchiveMissingFromTheListIsTold) {
    db->createTable(data::applicationTableDef(QStringLiteral("ar051999")));
    ASSERT_TRUE(main->FormShow());
    reg->ChangeTable(QStringLiteral("ar051999"));
    questions.clear();
    calc::TFormKosztKwh form(ctx, *reg);
    ASSERT_TRUE(form.FormShow());
    EXPECT_EQ(questions.texts(), QStringList{QStringLiteral("Błąd w odczycie archiwum!")});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kilowatogodzina - "));
    EXPECT_FALSE(form.DBEKwh->isEnabled());
    form.ButtonOKClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(paramRows(), 0);
}

TEST_F(AmountWindows, PercentageIndexAsksOnlyWhenChangedAndRewritesEveryRecord) {
    test::setParameters(*db, {{QStringLiteral("WskaznikProc"), 70}});
    for (const char *s : {"Nowak", "Adamski", "Zięba"})
        test::addApplication(*db, QStringLiteral("Aktualne"), QString::fromUtf8(s), {{QStringLiteral("WskProc"), 70}});
    ASSERT_TRUE(main->FormShow());
    questions.clear();

    calc::TFormWskProc same(ctx, *reg);
    ASSERT_TRUE(same.FormShow());
    EXPECT_TRUE(same.ProgressBar->isHidden());
    retype(same.DBEWskaznik, QStringLiteral("70"));
    test::pressOK(&same);
    EXPECT_TRUE(questions.asked().empty()) << "70 to 70 asks nothing";

    calc::TFormWskProc form(ctx, *reg);
    ASSERT_TRUE(form.FormShow());
    retype(form.DBEWskaznik, QStringLiteral("65"));
    questions.answer(Answer::Yes);
    test::pressOK(&form);
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{calc::WskaznikRewriteQuestion});
    EXPECT_EQ(param(QStringLiteral("WskaznikProc")).toInt(), 65);
    EXPECT_EQ(test::column(*db, QStringLiteral("Aktualne"), QStringLiteral("WskProc")), (QVariantList{65, 65, 65}));
    EXPECT_TRUE(form.ProgressBar->isHidden());

    // "Nie" keeps the records as they are.
    questions.clear();
    calc::TFormWskProc no(ctx, *reg);
    ASSERT_TRUE(no.FormShow());
    retype(no.DBEWskaznik, QStringLiteral("80"));
    questions.answer(Answer::No);
    test::pressOK(&no);
    EXPECT_EQ(param(QStringLiteral("WskaznikProc")).toInt(), 80);
    EXPECT_EQ(test::column(*db, QStringLiteral("Aktualne"), QStringLiteral("WskProc")), (QVariantList{65, 65, 65}));
}

TEST_F(AmountWindows, PercentageIndexTakesFiftyToNinety) {
    test::setParameters(*db, {{QStringLiteral("WskaznikProc"), 70}});
    ASSERT_TRUE(main->FormShow());
    questions.setDefaultAnswer(Answer::No);
    for (const auto &[typed, accepted] : {std::pair{"49", false}, {"91", false}, {"50", true}, {"90", true}, {"", false}}) {
        questions.clear();
        calc::TFormWskProc form(ctx, *reg);
        ASSERT_TRUE(form.FormShow());
        retype(form.DBEWskaznik, QString::fromLatin1(typed));
        form.ButtonOKClick();
        if (accepted) {
            EXPECT_EQ(form.result(), QDialog::Accepted) << typed;
            EXPECT_EQ(param(QStringLiteral("WskaznikProc")).toString(), QString::fromLatin1(typed));
        } else {
            EXPECT_EQ(questions.texts(Kind::Inform), QStringList{calc::WskaznikOutOfRange}) << typed;
            EXPECT_TRUE(form.table()->isEditing()) << "the row stays in editing";
            form.ButtonCofnijClick();
        }
    }
    EXPECT_EQ(param(QStringLiteral("WskaznikProc")).toInt(), 90);
}

// ---------------------------------------------------------------------------
// The bulk recalculation

namespace {

class LiczWszystko : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        makeMainWindow();
    }
    // One person, 30 m², rent 300, income 900, pension 600, 2006: 90.00;
    // no persons fails the first check.
    void add(const QString &surname, int persons) {
        test::addApplication(*db, QStringLiteral("Aktualne"), surname,
                             {{QStringLiteral("Imie"), QStringLiteral("Jan")},
                              {QStringLiteral("Liczba_osob"), persons},
                              {QStringLiteral("Pow_uzytk"), 30.0},
                              {QStringLiteral("Wydatki_czynsz"), 300.0},
                              {QStringLiteral("Dochod_razem"), 900.0},
                              {QStringLiteral("NajnEmeryt"), 600.0},
                              {QStringLiteral("WskProc"), 70},
                              {QStringLiteral("Okres_od"), QDate(2006, 1, 1)},
                              {QStringLiteral("Wyplata_calosc"), -1.0}});
    }
    QVariantList paid() { return test::column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wyplata_calosc")); }
};

}  // namespace

TEST_F(LiczWszystko, AnEmptyRegisterHidesTheWindowAtOnce) {
    ASSERT_TRUE(main->FormShow());
    calc::TFormLiczWszystko form(ctx, *reg, main.get());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Naliczanie wyskości dodatków"));
    const calc::BulkRecalcResult r = form.SMnuPrzeliczDodClick();
    EXPECT_EQ(r.rows, 0);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(LiczWszystko, AllValidComputeAndTheWindowDisappears) {
    add(QStringLiteral("Nowak"), 1);
    add(QStringLiteral("Adamski"), 1);
    ASSERT_TRUE(main->FormShow());
    calc::TFormLiczWszystko form(ctx, *reg, main.get());
    const calc::BulkRecalcResult r = form.SMnuPrzeliczDodClick();
    EXPECT_EQ(r.rows, 2);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(paid(), (QVariantList{90.0, 90.0}));
    EXPECT_EQ(view().field(QStringLiteral("Wyplata_calosc")).asFloat(), 90.0) << "the register shows the new amounts";
    EXPECT_EQ(view().indexName(), QStringLiteral("NazwNdx"));
}

TEST_F(LiczWszystko, AnInvalidApplicationStaysListedWithItsAmountsCleared) {
    add(QStringLiteral("Nowak"), 1);
    add(QStringLiteral("Bez"), 0);
    ASSERT_TRUE(main->FormShow());
    reg->setPelnaInformacja(false);
    calc::TFormLiczWszystko form(ctx, *reg, main.get());
    form.SMnuPrzeliczDodClick();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.ProgressBar->isHidden());
    EXPECT_EQ(form.failedApplications(), QStringList{QStringLiteral("Bez Jan")});
    EXPECT_EQ(paid(), (QVariantList{90.0, 0.0}));
    EXPECT_TRUE(questions.asked().empty()) << "with the full information off nothing interrupts the run";
    test::clickButton(&form, QStringLiteral("Zamknij"));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(LiczWszystko, PrzerwijOnTheSecondFailureStopsTheRunAfterIt) {
    for (const auto &[name, persons] : {std::pair{"A", 0}, {"B", 1}, {"C", 0}, {"D", 0}, {"E", 1}})
        add(QString::fromLatin1(name), persons);
    ASSERT_TRUE(main->FormShow());
    questions.clear();
    questions.answer({Answer::Yes, Answer::No});
    calc::TFormLiczWszystko form(ctx, *reg, main.get());
    const calc::BulkRecalcResult r = form.SMnuPrzeliczDodClick();
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(form.failedApplications(), (QStringList{QStringLiteral("A Jan"), QStringLiteral("C Jan")}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(questions.count(Kind::KontynuujPrzerwij), 2);
    EXPECT_EQ(questions.asked().at(0).pos, form.dialogPosition());
    EXPECT_EQ(paid(), (QVariantList{0.0, 90.0, 0.0, -1.0, -1.0})) << "what was computed before the stop is kept";
}
