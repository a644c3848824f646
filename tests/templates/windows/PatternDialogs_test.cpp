// The field patterns of "Parametry" › "Wzorce pól" and what they change.
#include "templates/windows/PatternDialogs.h"

#include "cli/OfficeDatabase.h"
#include "data/Table.h"
#include "register/windows/TFormWnioski.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"
#include "ui/DbControls.h"

#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using Kind = test::ScriptedQuestions::Kind;

namespace {

class FieldPatterns : public test::MainWindowTest {
protected:
    void SetUp() override {
        cli::fillNewDatabase(*db);
        test::setParameters(*db, {{QStringLiteral("Wzor_NrDec"), QStringLiteral("SM.5322/")},
                                  {QStringLiteral("Wzor_PlatneDo"), QStringLiteral("do 10 dnia")},
                                  {QStringLiteral("Wzor_OkresOd"), QDate(2024, 1, 1)},
                                  {QStringLiteral("Wzor_OkresDo"), QDate(2024, 6, 30)},
                                  {QStringLiteral("AlgorytmSortowania"), 1}});
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nowak"));
        t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
        t.field(QStringLiteral("Numer_decyzji")).setString(QStringLiteral("SM.5322/1/2024"));
        t.post();
        makeMainWindow();
        ASSERT_TRUE(main->FormShow());
    }

    QVariant param(const char *field) {
        Table p(*db, QStringLiteral("param"));
        p.open();
        p.first();
        return p.field(QString::fromLatin1(field)).asVariant();
    }
    // Opens a dialog modally, lets `act` work in it, and returns whether it
    // was shown.
    template <class Dialog>
    bool run(Dialog &d, const std::function<void(Dialog &)> &act) {
        return test::answerModalOf<Dialog>([&] { d.exec(); }, act);
    }
    void type(ui::DbLineEdit *e, const QString &text) {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        test::typeText(e, text);
    }
    // A new application as "Dodaj" starts it, then dropped.
    QList<QVariant> newApplication() {
        reg::TFormWnioski form(ctx, *reg, main.get());
        form.setMode(reg::TFormWnioski::Add);
        form.FormShow();
        Table &v = view();
        QList<QVariant> values = {v.field(QStringLiteral("Numer_decyzji")).asVariant(),
                                  v.field(QStringLiteral("Termin_platnosci")).asVariant(),
                                  v.field(QStringLiteral("Okres_od")).asVariant(),
                                  v.field(QStringLiteral("Okres_do")).asVariant()};
        v.cancel();
        return values;
    }
};

}  // namespace

TEST_F(FieldPatterns, TheDecisionNumberPatternGoesToNewApplicationsTheSortKeyAndTheSearch) {
    templates::TFormWzorNrDec dialog(ctx, main.get());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Definiowanie wzorca"));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    ASSERT_TRUE(run<templates::TFormWzorNrDec>(dialog, [&](templates::TFormWzorNrDec &d) {
        EXPECT_EQ(d.DBEWzorDec->text(), QStringLiteral("SM.5322/"));
        type(d.DBEWzorDec, QStringLiteral("DM.5342."));
        test::pressOK(&d);
    }));
    EXPECT_EQ(param("Wzor_NrDec").toString(), QStringLiteral("DM.5342."));
    EXPECT_EQ(ctx.values.decisionPattern, QStringLiteral("DM.5342."));
    EXPECT_FALSE(dialog.param().isOpen());

    // The numbers of existing applications stay as they were.
    view().first();
    EXPECT_EQ(view().field(QStringLiteral("Numer_decyzji")).asString(), QStringLiteral("SM.5322/1/2024"));
    EXPECT_EQ(newApplication().value(0).toString(), QStringLiteral("DM.5342."));
    // Ordered by decision number under algorithm 1, the search starts with the pattern.
    main->setSortOrder(reg::SortOrder::NrDec);
    EXPECT_EQ(main->editSeek()->text(), QStringLiteral("DM.5342."));
}

TEST_F(FieldPatterns, CofnijDropsTheChange) {
    templates::TFormWzorTerminPlatn dialog(ctx, main.get());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    ASSERT_TRUE(run<templates::TFormWzorTerminPlatn>(dialog, [&](templates::TFormWzorTerminPlatn &d) {
        type(d.DBEPlatneDo, QStringLiteral("do 15 dnia"));
        test::pressCofnij(&d);
    }));
    EXPECT_EQ(param("Wzor_PlatneDo").toString(), QStringLiteral("do 10 dnia"));
    // Esc is "Cofnij" too; "OK" stores.
    ASSERT_TRUE(run<templates::TFormWzorTerminPlatn>(dialog, [&](templates::TFormWzorTerminPlatn &d) {
        type(d.DBEPlatneDo, QStringLiteral("do 15 dnia"));
        QTest::keyClick(&d, Qt::Key_Escape);
    }));
    EXPECT_EQ(param("Wzor_PlatneDo").toString(), QStringLiteral("do 10 dnia"));
    ASSERT_TRUE(run<templates::TFormWzorTerminPlatn>(dialog, [&](templates::TFormWzorTerminPlatn &d) {
        type(d.DBEPlatneDo, QStringLiteral("do 15 dnia"));
        test::pressOK(&d);
    }));
    EXPECT_EQ(param("Wzor_PlatneDo").toString(), QStringLiteral("do 15 dnia"));
    EXPECT_EQ(newApplication().value(1).toString(), QStringLiteral("do 15 dnia"));
}

TEST_F(FieldPatterns, ADateTheTableCannotTakeIsToldAndTheDialogStaysOpen) {
    templates::TFormWzorPlatneOdDo dialog(ctx, main.get());
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    ASSERT_TRUE(run<templates::TFormWzorPlatneOdDo>(dialog, [&](templates::TFormWzorPlatneOdDo &d) {
        EXPECT_EQ(d.DBEOkresOd->text(), QStringLiteral("01.01.2024"));
        type(d.DBEOkresOd, QStringLiteral("31.02.2024"));
        test::pressOK(&d);
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(questions.count(Kind::Error) + questions.count(Kind::Inform), 1);
        EXPECT_TRUE(questions.texts().last().contains(QStringLiteral("31.02.2024"))) << questions.texts().last().toStdString();
        // Corrected: the start of the period emptied means none.
        type(d.DBEOkresOd, QString());
        type(d.DBEOkresDo, QStringLiteral("31.12.2024"));
        test::pressOK(&d);
    }));
    EXPECT_TRUE(param("Wzor_OkresOd").isNull());
    EXPECT_EQ(param("Wzor_OkresDo").toDate(), QDate(2024, 12, 31));
    const QList<QVariant> fresh = newApplication();
    EXPECT_TRUE(fresh.value(2).isNull());
    EXPECT_EQ(fresh.value(3).toDate(), QDate(2024, 12, 31));
}

TEST_F(FieldPatterns, TheFooterTakesAnyNumberOfLinesAndItsCloseBoxIsCofnij) {
    const QString before = param("Stopka").toString();
    templates::TFormWzorStopki dialog(ctx, main.get());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wzorzec stopki "));
    // Two lines typed in place of the footer, then the dialog closed.
    const auto typeTwoLines = [](templates::TFormWzorStopki &d, const std::function<void()> &close) {
        d.DBMemo1->setFocus();
        d.DBMemo1->selectAll();
        test::typeText(d.DBMemo1, QStringLiteral("Sprawę prowadzi: @<Nazwisko>@"));
        QTest::keyClick(d.DBMemo1, Qt::Key_Return);
        test::typeText(d.DBMemo1, QStringLiteral("Otrzymują: 1. Wnioskodawca"));
        close();
    };
    ASSERT_TRUE(run<templates::TFormWzorStopki>(dialog, [&](templates::TFormWzorStopki &d) { typeTwoLines(d, [&] { d.close(); }); }));
    EXPECT_EQ(param("Stopka").toString(), before);
    ASSERT_TRUE(run<templates::TFormWzorStopki>(dialog, [&](templates::TFormWzorStopki &d) {
        typeTwoLines(d, [&] { test::pressOK(&d); });
    }));
    EXPECT_EQ(param("Stopka").toString().split(QRegularExpression(QStringLiteral("\r?\n"))),
              (QStringList{QStringLiteral("Sprawę prowadzi: @<Nazwisko>@"), QStringLiteral("Otrzymują: 1. Wnioskodawca")}));
}

TEST_F(FieldPatterns, AParameterTableWithoutARowGetsOne) {
    db->exec(QStringLiteral("DELETE FROM \"param\""));
    db->touchAllTables();
    EXPECT_TRUE(newApplication().value(0).isNull());  // no pattern: empty
    templates::TFormWzorNrDec dialog(ctx, main.get());
    ASSERT_TRUE(run<templates::TFormWzorNrDec>(dialog, [&](templates::TFormWzorNrDec &d) {
        EXPECT_TRUE(d.DBEWzorDec->text().isEmpty());
        type(d.DBEWzorDec, QStringLiteral("AB/"));
        test::pressOK(&d);
    }));
    Table p(*db, QStringLiteral("param"));
    p.open();
    EXPECT_EQ(p.recordCount(), 1);
    EXPECT_EQ(param("Wzor_NrDec").toString(), QStringLiteral("AB/"));
}
