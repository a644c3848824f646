#include "cli/OfficeDatabase.h"
#include "data/Collation.h"
#include "data/Table.h"
#include "register/windows/TFormWnioski.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"
#include "ui/DbControls.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using reg::TFormWnioski;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

class ApplicationForm : public test::MainWindowTest {
protected:
    void SetUp() override {
        cli::fillNewDatabase(*db);
        test::setParameters(*db, {{QStringLiteral("Min_emeryt"), 600.0},
                                  {QStringLiteral("Koszt_kwh"), 0.5},
                                  {QStringLiteral("WskaznikProc"), 70},
                                  {QStringLiteral("Wzor_NrDec"), QStringLiteral("AB/")},
                                  {QStringLiteral("Wzor_PlatneDo"), QStringLiteral("do 10 dnia miesiąca")},
                                  {QStringLiteral("Wzor_OkresOd"), QDate(2006, 1, 1)},
                                  {QStringLiteral("Wzor_OkresDo"), QVariant()}});

        makeMainWindow();
        ASSERT_TRUE(main->FormShow());
        form = std::make_unique<TFormWnioski>(ctx, *reg, main.get());
    }

    Table &table() { return view(); }
    QString field(const char *name) { return table().field(QString::fromLatin1(name)).asString(); }
    ui::DbLineEdit *edit(const char *name) { return form->findChild<ui::DbLineEdit *>(QString::fromLatin1(name)); }
    void type(const char *control, const QString &text) {
        ui::DbLineEdit *e = edit(control);
        ASSERT_TRUE(e) << control;
        e->selectAll();
        if (text.isEmpty())
            QTest::keyClick(e, Qt::Key_Backspace);
        else
            QTest::keyClicks(e, text);
    }
    void check(const char *control) { form->findChild<QCheckBox *>(QString::fromLatin1(control))->click(); }

    // The second worked example: three persons, 50 m², rent 400 with 50 of
    // charges, heating and water lump sums, income 2400, period from 2006.
    void fillWorkedExample() {
        type("DBEditNazwisko", QStringLiteral("Nowak"));
        type("DBEdit3", QStringLiteral("Anna"));
        type("DBELiczbaOsob", QStringLiteral("3"));
        type("DBEPowUzytk", QStringLiteral("50"));
        form->findChild<ui::DbComboBox *>(QStringLiteral("DBComboBox1"))->setCurrentText(QStringLiteral("Nie"));
        table().field(QStringLiteral("PowKuchniPonad60")).setString(QStringLiteral("Nie"));
        type("DBEDochodRazem", QStringLiteral("2400"));
        type("DBEWydatkiCzynsz", QStringLiteral("400"));
        type("DBEOplataDodatk", QStringLiteral("50"));
        check("DBCBoxRyczaltCO");
        check("DBCBoxWoda");
    }

    std::unique_ptr<TFormWnioski> form;
};

}  // namespace

TEST_F(ApplicationForm, AddingPresetsANewRowFromTheParameters) {
    const int before = table().recordCount();
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wniosek:   (Nowy)"));
    EXPECT_EQ(table().state(), data::TableState::Insert);
    EXPECT_EQ(form->PageControl->currentIndex(), 0);
    EXPECT_EQ(field("Numer_decyzji"), QStringLiteral("AB/"));
    EXPECT_EQ(edit("DBENrDec")->text(), QStringLiteral("AB/"));
    EXPECT_EQ(field("Termin_platnosci"), QStringLiteral("do 10 dnia miesiąca"));
    EXPECT_EQ(table().field(QStringLiteral("Okres_od")).asDate(), QDate(2006, 1, 1));
    EXPECT_TRUE(table().field(QStringLiteral("Okres_do")).isNull());  // no pattern: stays empty
    EXPECT_EQ(field("PowKuchniPonad60"), QStringLiteral("Tak"));
    EXPECT_EQ(field("Osoba_na_wozku"), QStringLiteral("Nie"));
    EXPECT_EQ(field("Ureg_stan_prawny"), QStringLiteral("Tak"));
    EXPECT_TRUE(table().field(QStringLiteral("Ryczalt_do_rak")).asBoolean());
    EXPECT_DOUBLE_EQ(table().field(QStringLiteral("NajnEmeryt")).asCurrency(), 600);
    EXPECT_DOUBLE_EQ(table().field(QStringLiteral("KosztKwh")).asFloat(), 0.5);
    EXPECT_EQ(table().field(QStringLiteral("WskProc")).asInteger(), 70);
    EXPECT_FALSE(form->PanelResults->isVisibleTo(form.get()));
    EXPECT_TRUE(form->LabelM07->text().isEmpty());
    EXPECT_EQ(table().recordCount(), before);  // nothing stored yet
}

TEST_F(ApplicationForm, PrzeliczShowsTheWorkedExampleAndOkStoresIt) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    fillWorkedExample();
    form->ButtonPrzeliczClick();
    EXPECT_TRUE(questions.texts(Kind::KontynuujPrzerwij).isEmpty()) << questions.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(form->PanelResults->isVisibleTo(form.get()));
    EXPECT_EQ(edit("DBEWyplataCalosc")->text(), QStringLiteral("169.00"));
    EXPECT_EQ(edit("DBEWyplataRyczalt")->text(), QStringLiteral("43.99"));
    EXPECT_EQ(edit("DBEWyplataZarzadca")->text(), QStringLiteral("125.01"));
    EXPECT_EQ(edit("DBEWydatkiRazem")->text(), QStringLiteral("547.50"));
    EXPECT_EQ(edit("DBEWydatkiWgPow")->text(), QStringLiteral("405.00"));
    EXPECT_EQ(edit("DBEPowNormat")->text(), QStringLiteral("45"));
    EXPECT_EQ(form->LabelM07->text(), QStringLiteral("*0.70= 383.25"));
    EXPECT_EQ(form->LabelC09->text(), QStringLiteral("*0,9= 364.50"));
    EXPECT_EQ(form->LabelProcentDochodow->text(), QStringLiteral("12% dochodów gospodarstwa:"));
    EXPECT_EQ(form->EditNadwyzka->text().trimmed(), QStringLiteral("50.00"));

    form->ButtonOKClick();
    EXPECT_FALSE(table().isEditing());
    Table stored(*db, QStringLiteral("Aktualne"));
    stored.open();
    stored.setIndexName(QStringLiteral("NazwNdx"));
    ASSERT_TRUE(stored.findKey({QStringLiteral("Nowak"), QStringLiteral("Anna")}));
    EXPECT_DOUBLE_EQ(stored.field(QStringLiteral("Wyplata_calosc")).asCurrency(), 169.00);
    EXPECT_TRUE(stored.field(QStringLiteral("ObliczeniaOK")).asBoolean());
    EXPECT_EQ(stored.field(QStringLiteral("Numer_decyzji")).asString(), QStringLiteral("AB/"));
}

TEST_F(ApplicationForm, MissingSurnameOrFirstNameKeepsTheFormOpenWithTheRowInEditing) {
    form->setMode(TFormWnioski::Add);
    form->show();
    form->FormShow();
    form->ButtonOKClick();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("       Nie wprowadzono nazwiska!    ")});
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(table().state(), data::TableState::Insert);
    type("DBEditNazwisko", QStringLiteral("Nowak"));
    form->ButtonOKClick();
    EXPECT_EQ(questions.texts(Kind::Inform).last(), QStringLiteral("       Nie wprowadzono imienia!    "));
    EXPECT_TRUE(form->isVisible());

    // The close box reports the engine's field check and the form stays.
    questions.clear();
    type("DBEditNazwisko", QString());
    form->close();
    EXPECT_EQ(questions.texts(Kind::Error), QStringList{QStringLiteral("Pole 'Nazwisko' musi mieć wartość")});
    EXPECT_TRUE(form->isVisible());

    type("DBEditNazwisko", QStringLiteral("Nowak"));
    type("DBEdit3", QStringLiteral("Jan"));
    type("DBENrDec", QStringLiteral("AB/17/2006"));
    form->close();  // stores the row as OK does, with its sort key
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(field("IndexNrSupport"), QStringLiteral("0000000017"));
}

TEST_F(ApplicationForm, CofnijAfterPrzeliczKeepsTheCalculatedState) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    fillWorkedExample();
    form->ButtonPrzeliczClick();
    type("DBEdit5", QStringLiteral("12a"));  // a change after the calculation
    form->ButtonCofnijClick();
    Table stored(*db, QStringLiteral("Aktualne"));
    stored.open();
    stored.setIndexName(QStringLiteral("NazwNdx"));
    ASSERT_TRUE(stored.findKey({QStringLiteral("Nowak")}));
    EXPECT_DOUBLE_EQ(stored.field(QStringLiteral("Wyplata_calosc")).asCurrency(), 169.00);
    EXPECT_TRUE(stored.field(QStringLiteral("Adres_nr")).isNull());
}

TEST_F(ApplicationForm, ViewModeLeavesOnlyTheDatesEditableAndOkStoresThem) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    type("DBEditNazwisko", QStringLiteral("Lis"));
    type("DBEdit3", QStringLiteral("Ewa"));
    form->ButtonOKClick();

    form->setMode(TFormWnioski::View);
    form->show();
    form->FormShow();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wniosek:   Lis Ewa"));
    for (int page = 0; page < 3; ++page)
        EXPECT_FALSE(form->PageControl->widget(page)->isEnabled()) << page;
    EXPECT_TRUE(form->PageControl->widget(3)->isEnabled());
    EXPECT_EQ(table().state(), data::TableState::Browse);
    type("DBEOkresDo", QStringLiteral("31.12.2006"));
    EXPECT_EQ(table().state(), data::TableState::Edit);
    form->ButtonOKClick();
    EXPECT_EQ(table().field(QStringLiteral("Okres_do")).asDate(), QDate(2006, 12, 31));
}

TEST_F(ApplicationForm, TheIntermediateResultsFollowTheRegistersSwitch) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    type("DBEditNazwisko", QStringLiteral("Lis"));
    type("DBEdit3", QStringLiteral("Ewa"));
    form->ButtonOKClick();

    main->menuItem(QStringLiteral("SMnuWynikiPosrednie"))->trigger();  // off
    form->setMode(TFormWnioski::View);
    form->FormShow();
    EXPECT_TRUE(form->PanelPosrLokal->isHidden());
    EXPECT_TRUE(form->PanelPosrDochody->isHidden());
    EXPECT_TRUE(form->PanelPosrResults->isHidden());
    reg->setWynikiPosrednie(true);
    form->FormShow();
    EXPECT_FALSE(form->PanelPosrLokal->isHidden());
    EXPECT_FALSE(form->PanelPosrResults->isHidden());
    form->ButtonCofnijClick();
}

TEST_F(ApplicationForm, TextAFieldCannotHoldIsRefusedNamingTheField) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    type("DBEditNazwisko", QStringLiteral("Lis"));
    type("DBEdit3", QStringLiteral("Ewa"));
    type("DBELiczbaOsob", QStringLiteral("-2"));
    form->ButtonOKClick();
    ASSERT_EQ(questions.texts(Kind::Inform).size(), 1);
    EXPECT_TRUE(questions.texts(Kind::Inform).first().contains(QStringLiteral("Liczba osób")));
    EXPECT_EQ(table().state(), data::TableState::Insert);
    type("DBELiczbaOsob", QStringLiteral("trzy"));
    form->ButtonOKClick();
    EXPECT_TRUE(questions.texts(Kind::Inform).last().contains(QStringLiteral("„trzy”")));
    type("DBELiczbaOsob", QStringLiteral("3"));
    form->ButtonOKClick();
    EXPECT_FALSE(table().isEditing());
    EXPECT_EQ(table().field(QStringLiteral("Liczba_osob")).asInteger(), 3);
}

TEST_F(ApplicationForm, PrzerwijToThePeriodQuestionEndsPrintingAtOnce) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    fillWorkedExample();
    table().field(QStringLiteral("Okres_od")).clear();
    table().field(QStringLiteral("Termin_platnosci")).clear();
    questions.answer(Answer::No);  // "Przerwij"
    form->ButtonDrukujClick();
    EXPECT_EQ(questions.texts(Kind::KontynuujPrzerwij), QStringList{QStringLiteral("Nie zdefiniowano okresu przysługiwania!")});
    EXPECT_EQ(questions.asked().back().pos, QPoint(200, 300));
    EXPECT_TRUE(files.asked.isEmpty());

    // Going on past both questions reaches the template dialog in the
    // database directory; without a choice nothing is printed.
    questions.clear();
    form->ButtonDrukujClick();
    EXPECT_EQ(questions.texts(Kind::KontynuujPrzerwij),
              QStringList({QStringLiteral("Nie zdefiniowano okresu przysługiwania!"), QStringLiteral("Nie wprowadzono teminu płatności!")}));
    ASSERT_EQ(files.asked.size(), 1);
    EXPECT_FALSE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].directory, db->directory());
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("Wzorzec decyzji (*.fmz)|*.fmz|Dowolny (*.*)|*.*"));
    EXPECT_EQ(files.asked[0].suffix, QStringLiteral("fmz"));
    EXPECT_TRUE(questions.texts(Kind::Inform).isEmpty());
}

TEST_F(ApplicationForm, WithAnArchiveInViewPrzeliczOffersBothRules) {
    form->setMode(TFormWnioski::Add);
    form->FormShow();
    fillWorkedExample();
    form->ButtonOKClick();
    db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar011999"));
    reg->ChangeTable(QStringLiteral("ar011999"));
    reg->PokazListeWnioskow();
    view().first();

    form->setMode(TFormWnioski::Update);
    form->show();
    form->FormShow();
    form->ButtonPrzeliczClick();
    EXPECT_TRUE(form->PopupMenuPrzelicz->isVisible());
    form->PopupMenuPrzelicz->hide();
    // By the earlier rules: Wn = 360, R = 157.5 + 45 + 45 (the charges go
    // into the lump sums), T = 607.5, U = 288, X = 800 − 600, A = 119.50.
    form->SMnuWgStarych->trigger();
    EXPECT_TRUE(table().field(QStringLiteral("ObliczeniaOK")).asBoolean());
    EXPECT_EQ(edit("DBEWyplataCalosc")->text(), QStringLiteral("119.50"));
    EXPECT_EQ(edit("DBEWyplataRyczalt")->text(), QStringLiteral("48.69"));
    EXPECT_EQ(edit("DBEWyplataZarzadca")->text(), QStringLiteral("70.81"));
    EXPECT_TRUE(form->LabelM07->text().isEmpty());  // the earlier rules leave the working lines alone
    form->SMnuWgNowych->trigger();
    EXPECT_EQ(edit("DBEWyplataCalosc")->text(), QStringLiteral("169.00"));
}

TEST_F(ApplicationForm, PickListsFollowTheDictionariesWhenTheyAreRefilled) {
    test::fillDictionary(*db, QStringLiteral("zarzadcy"), QStringList{"Ąbc Zarząd"});
    test::fillDictionary(*db, QStringLiteral("tytprawn"), QStringList{"dzierżawa"});
    test::fillDictionary(*db, QStringLiteral("statlok"), QStringList{"Ąb status na końcu"});
    reg->IniAllDictList();  // as when a dictionary window closes
    auto items = [](QComboBox *c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    };
    const QStringList managers = items(form->DBCBoxZarzadca);
    ASSERT_TRUE(managers.contains(QStringLiteral("Ąbc Zarząd")));
    for (int i = 0; i + 1 < managers.size(); ++i)  // Polish order: A…, Ą…, B…
        EXPECT_LE(data::comparePolish(managers[i], managers[i + 1]), 0) << managers[i].toStdString();
    EXPECT_TRUE(items(form->DBCBoxTytPrawny).contains(QStringLiteral("dzierżawa")));
    QStringList sortedTitles = items(form->DBCBoxTytPrawny);
    EXPECT_LT(sortedTitles.indexOf(QStringLiteral("brak tytułu prawnego")), sortedTitles.indexOf(QStringLiteral("dzierżawa")));
    EXPECT_EQ(items(form->DBCBoxStatusLokalu).last(), QStringLiteral("Ąb status na końcu"));  // table order

    QList<int> topics;
    form->showHelp = [&](int t) { topics << t; };
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(topics, QList<int>{18});
}

// ---------------------------------------------------------------------------
// The form as a clerk meets it

TEST_F(ApplicationForm, AddingPutsTheCaretAfterThePresetDecisionNumber) {
    QString typed;
    bool selected = true;
    const bool shown = test::answerModalOf<TFormWnioski>([&] { form->ShowModal(TFormWnioski::Add); },
                                                         [&](TFormWnioski &f) {
                                                             QApplication::processEvents();
                                                             auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget());
                                                             ASSERT_EQ(e, edit("DBENrDec"));
                                                             selected = e->hasSelectedText();
                                                             QTest::keyClicks(e, QStringLiteral("201/2026"));
                                                             typed = e->text();
                                                             test::pressCofnij(&f);
                                                         });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(selected);
    EXPECT_EQ(typed, QStringLiteral("AB/201/2026"));  // the pattern, continued
}

TEST_F(ApplicationForm, NeitherTheSizeNorTheButtonsMoveWhenTheResultsAppear) {
    for (const bool intermediate : {true, false}) {
        SCOPED_TRACE(intermediate ? "intermediate results on" : "intermediate results off");
        reg->setWynikiPosrednie(intermediate);
        form->setMode(TFormWnioski::Add);
        form->show();
        form->FormShow();
        QApplication::processEvents();
        const QSize size = form->size();
        const QPoint ok = form->ButtonOK->mapTo(form.get(), QPoint());
        const QPoint przelicz = form->ButtonPrzelicz->mapTo(form.get(), QPoint());
        const QSize pages = form->PageControl->size();
        fillWorkedExample();
        form->ButtonPrzeliczClick();
        QApplication::processEvents();
        ASSERT_TRUE(form->PanelResults->isVisible());
        EXPECT_EQ(form->size(), size);
        EXPECT_EQ(form->ButtonOK->mapTo(form.get(), QPoint()), ok);
        EXPECT_EQ(form->ButtonPrzelicz->mapTo(form.get(), QPoint()), przelicz);
        EXPECT_EQ(form->PageControl->size(), pages);  // the pages are not squeezed
        form->ButtonCofnijClick();
    }
}

TEST_F(ApplicationForm, TheLumpSumLabelAndPercentageReadAsTheFormHasThem) {
    form->setMode(TFormWnioski::Add);
    form->show();
    form->FormShow();
    const QString caption = QStringLiteral("Ryczałt za brak c.o./c.w. wypłac. do rąk wnioskodawcy:");
    EXPECT_EQ(form->LabelRyczProc->text(), caption);
    fillWorkedExample();
    form->ButtonPrzeliczClick();
    EXPECT_EQ(form->LabelRyczProc->text(), caption);   // paid to the applicant
    EXPECT_EQ(edit("DBERyczalt")->text(), QStringLiteral("26"));  // 26.03: three significant digits
    check("DBCBoxRyczaltDoRak");
    form->ButtonPrzeliczClick();
    EXPECT_EQ(form->LabelRyczProc->text(), QStringLiteral("Ryczałt za brak c.o./c.w."));

    // One rule for every value: 19.1 and 7.13 as they are.
    table().edit();
    for (const auto &[stored, shown] : {std::pair{19.1, "19.1"}, std::pair{7.13, "7.13"}, std::pair{100.0, "100"}}) {
        table().field(QStringLiteral("Ryczalt_procent")).setFloat(stored);
        EXPECT_EQ(edit("DBERyczalt")->text(), QString::fromLatin1(shown));
    }
    form->ButtonCofnijClick();
}

TEST_F(ApplicationForm, ATypedAmountOrDateReadsInTheFieldsFormatOnLeavingIt) {
    form->setMode(TFormWnioski::Add);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->FormShow();
    // Typed into a field, then the focus moves on to the next one.
    auto typedAndLeft = [&](int page, const char *control, const QString &text, const char *next) {
        form->PageControl->setCurrentIndex(page);
        edit(control)->setFocus();
        type(control, text);
        edit(next)->setFocus();
        return edit(control)->text();
    };
    EXPECT_EQ(typedAndLeft(2, "DBEDochodRazem", QStringLiteral("1234,5"), "DBEWydatkiCzynsz"), QStringLiteral("1234.50"));
    EXPECT_EQ(typedAndLeft(3, "DBEDataZloz", QStringLiteral("1.2.2026"), "DBETerminPlatn"), QStringLiteral("01.02.2026"));
    EXPECT_EQ(table().field(QStringLiteral("Data_zlozenia")).asDate(), QDate(2026, 2, 1));
    form->ButtonCofnijClick();
}

TEST_F(ApplicationForm, TabGoesThroughThePageInReadingOrderBeforeTheButtons) {
    const QList<QStringList> pages = {
        {"DBEditNazwisko", "DBEdit3", "DBEdit6", "DBEdit2", "DBEdit4", "DBEdit5", "DBENrDec"},
        {"DBCBoxZarzadca", "DBCBoxTytPrawny", "DBELiczbaOsob", "DBEPowUzytk", "DBCBoxStanPrawny", "DBCBoxStatusLokalu",
         "DBComboBox1", "DBEKosztKwh", "DBENajnEmer", "DBEdit1"},
        {"DBEDochodRazem", "DBEWydatkiCzynsz", "DBEOplataDodatk", "DBCBoxRyczaltCO", "DBCBoxWoda", "DBCBoxGaz",
         "DBCBoxRyczaltDoRak", "DBCBoxCaloscDoRak", "DBEWskProc", "DBEWydatki90"},
        {"DBEOkresOd", "DBEOkresDo", "DBETerminPlatn", "DBEDataZloz"},
    };
    form->setMode(TFormWnioski::Add);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->FormShow();
    for (int page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE(page);
        form->PageControl->setCurrentIndex(page);
        QWidget *first = form->findChild<QWidget *>(pages[page].first());
        first->setFocus();
        QStringList order;
        for (int i = 0; i < pages[page].size() + 1; ++i) {
            QWidget *w = QApplication::focusWidget();
            // An editable pick list has the focus in its text line.
            while (w && w->objectName().isEmpty())
                w = w->parentWidget();
            order << (w ? w->objectName() : QStringLiteral("(none)"));
            ASSERT_TRUE(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QStringList expected = pages[page];
        expected << QStringLiteral("ButtonOK");
        EXPECT_EQ(order, expected);
    }
    form->ButtonCofnijClick();
}
