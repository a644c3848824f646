#include "admin/windows/TFormModiIndex.h"
#include "admin/windows/TFormSlowniki.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "register/RegisterRules.h"
#include "support/windows/MainWindow.h"
#include "ui/DataGrid.h"
#include "ui/WindowPlacement.h"

#include "support/windows/Dialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QToolButton>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

using namespace varnel;
using data::Table;
using reg::SortOrder;
using reg::TFormVarnelMain;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

class Register : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::setParameters(*db, {{QStringLiteral("Wzor_NrDec"), QStringLiteral("AB/")},
                                  {QStringLiteral("AlgorytmSortowania"), 2},
                                  {QStringLiteral("DrukujStopke"), true}});
        test::fillDictionary(*db, QStringLiteral("tytprawn"), QStringList{"najem", "brak tytułu prawnego"});
        test::fillDictionary(*db, QStringLiteral("statlok"), QStringList{"komunalne", "spółdzielcze"});
        test::fillDictionary(*db, QStringLiteral("zarzadcy"), QStringList{"ZGM Żyrardów"});

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
        makeMainWindow();
    }

    QString current() { return view().field(QStringLiteral("Nazwisko")).asString(); }
};

}  // namespace

TEST_F(Register, FirstShowingOpensTheCurrentRegisterInSurnameOrder) {
    ASSERT_TRUE(main->FormShow());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Wnioski bieżące"));
    EXPECT_EQ(ctx.values.sortAlgorithm, 2);
    EXPECT_EQ(ctx.values.decisionPattern, QStringLiteral("AB/"));
    EXPECT_TRUE(main->menuItem(QStringLiteral("SMnuDrukujStopke"))->isChecked());
    EXPECT_FALSE(main->menuItem(QStringLiteral("SMnuDrukujMetryczke"))->isChecked());
    EXPECT_EQ(view().indexName(), QStringLiteral("NazwNdx"));
    EXPECT_EQ(view().recordCount(), 12);
    EXPECT_EQ(main->grid()->model()->rowCount(), 12);
    QAction *biezace = main->menuItem(QStringLiteral("SmnuAktualne"));
    EXPECT_TRUE(biezace->isChecked());
    EXPECT_FALSE(biezace->isEnabled());
    // Choice lists: statuses and titles in table order.
    EXPECT_EQ(reg->choiceLists().statuses, QStringList({QStringLiteral("komunalne"), QStringLiteral("spółdzielcze")}));
    EXPECT_EQ(reg->choiceLists().managers, QStringList{QStringLiteral("ZGM Żyrardów")});
}

TEST_F(Register, AFailedLogInEndsTheRunAndRightsEnableTheMenus) {
    main->logIn = [] { return std::optional<admin::Rights>(); };
    EXPECT_FALSE(main->FormShow());

    auto other = std::make_unique<TFormVarnelMain>(ctx, *reg);
    other->logIn = [] { return std::optional<admin::Rights>(admin::Rights{false, false}); };
    ASSERT_TRUE(other->FormShow());
    EXPECT_FALSE(other->menuItem(QStringLiteral("SMnuUsers"))->isEnabled());
    EXPECT_FALSE(other->menuItem(QStringLiteral("MnuSlowniki"))->isEnabled());
    EXPECT_FALSE(other->menuItem(QStringLiteral("MnuKwoty"))->isEnabled());
    EXPECT_TRUE(other->menuItem(QStringLiteral("SMnuIndeksuj"))->isEnabled());
}

TEST_F(Register, ServiceItemShowsOnlyWithTheServiceSwitch) {
    EXPECT_FALSE(main->menuItem(QStringLiteral("SMnuSerwis"))->isVisible());
    ctx.values.serviceSwitch = true;
    TFormVarnelMain serviced(ctx, *reg);
    EXPECT_TRUE(serviced.menuItem(QStringLiteral("SMnuSerwis"))->isVisible());
}

TEST_F(Register, EachSortOrderSelectsItsIndexAndTheSearchLandsOnTheNearestKey) {
    ASSERT_TRUE(main->FormShow());
    main->editSeek()->setText(QStringLiteral("ł"));  // as typed
    EXPECT_TRUE(current().startsWith(QStringLiteral("Łoś")));
    main->editSeek()->clear();
    QTest::keyClicks(main->editSeek(), QStringLiteral("No"));
    EXPECT_TRUE(current().startsWith(QStringLiteral("Nowak")));

    main->setSortOrder(SortOrder::Adres);
    EXPECT_EQ(view().indexName(), QStringLiteral("AdresNdx"));
    QTest::keyClicks(main->editSeek(), QStringLiteral("op"));
    EXPECT_EQ(view().field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("Opole"));

    // Under algorithm 2 the typed number is padded: 7 lands on running number 7.
    main->setSortOrder(SortOrder::NrDec);
    EXPECT_EQ(view().indexName(), QStringLiteral("NrDecNdx"));
    EXPECT_EQ(main->editSeek()->text(), QString());
    QTest::keyClicks(main->editSeek(), QStringLiteral("7"));
    EXPECT_EQ(view().field(QStringLiteral("Numer_decyzji")).asString(), QStringLiteral("AB/7/2006"));
    QTest::keyClicks(main->editSeek(), QStringLiteral("0"));  // "70": nothing that high, the last row
    EXPECT_EQ(view().field(QStringLiteral("Numer_decyzji")).asString(), QStringLiteral("AB/12/2006"));

    // Under algorithm 1 the search field starts with the decision-number pattern.
    ctx.values.sortAlgorithm = 1;
    main->setSortOrder(SortOrder::NrDec);
    EXPECT_EQ(main->editSeek()->text(), QStringLiteral("AB/"));

    main->setSortOrder(SortOrder::Kwota);
    EXPECT_EQ(view().indexName(), QStringLiteral("WyplataNdx"));
    EXPECT_TRUE(main->editSeek()->text().isEmpty());
    EXPECT_FALSE(main->editSeek()->isEnabled());
}

TEST_F(Register, DeleteWhileTypingInTheSearchFieldAsksForTheCurrentRow) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    main->editSeek()->setFocus();
    QTest::keyClicks(main->editSeek(), QStringLiteral("Lis"));
    const QString before = current();
    questions.answer(Answer::No);
    QTest::keyClick(main->editSeek(), Qt::Key_Delete);
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Usunąć pozycję ?")});
    EXPECT_EQ(view().recordCount(), 12);
    EXPECT_EQ(main->editSeek()->text(), QStringLiteral("Lis"));  // the key did not reach the field

    questions.answer(Answer::Yes);
    QTest::keyClick(main->editSeek(), Qt::Key_Delete);
    EXPECT_EQ(view().recordCount(), 11);
    Table check(*db, QStringLiteral("Aktualne"));
    check.open();
    check.setIndexName(QStringLiteral("NazwNdx"));
    EXPECT_FALSE(check.findKey({before}));
}

TEST_F(Register, EnterAndInsertOpenTheApplicationFormInTheirModes) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    QList<int> modes;
    main->showApplicationForm = [&](TFormVarnelMain::FormMode m) { modes << m; };
    QTest::keyClick(main->grid(), Qt::Key_Return);
    QTest::keyClick(main->editSeek(), Qt::Key_Insert);
    main->ButtonAktualizujWniosekClick();
    EXPECT_EQ(modes, QList<int>({TFormVarnelMain::ModeView, TFormVarnelMain::ModeAdd, TFormVarnelMain::ModeUpdate}));
}

TEST_F(Register, ItemsNotYetBuiltSaySoAndTheEndOfWorkIsConfirmed) {
    ASSERT_TRUE(main->FormShow());
    main->menuItem(QStringLiteral("SMnuListy"))->trigger();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Funkcja w przygotowaniu.")});

    main->show();
    questions.answer(Answer::No);
    main->menuItem(QStringLiteral("SMnuKoniec"))->trigger();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Zakończyć pracę programu ?")});
    EXPECT_TRUE(main->isVisible());
    questions.answer(Answer::Yes);
    main->menuItem(QStringLiteral("SMnuKoniec"))->trigger();
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(view().isOpen());
}

TEST_F(Register, PrintSwitchesAreStoredInTheParameterRow) {
    ASSERT_TRUE(main->FormShow());
    main->menuItem(QStringLiteral("SMnuDrukujMetryczke"))->trigger();
    Table param(*db, QStringLiteral("param"));
    param.open();
    EXPECT_TRUE(param.field(QStringLiteral("DrukujMetryczke")).asBoolean());
}

TEST_F(Register, ArchiveCaptionAndTheMenuStatesOfTheTwoRegisterStates) {
    ASSERT_TRUE(main->FormShow());
    db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar041999"));
    // Not in ArcLista: told, and the switch goes on; the window follows.
    EXPECT_EQ(reg->ChangeTable(QStringLiteral("ar041999")), reg::SwitchOutcome::Opened);
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Brak w archiwum: ar041999")});
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Archiwum: kwiecień 1999"));
    EXPECT_FALSE(main->menuItem(QStringLiteral("SMnuPrzeliczDod"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("SMnuZamknijMies"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("SMnuCtrlAkt"))->isEnabled());
    EXPECT_TRUE(main->menuItem(QStringLiteral("SmnuAktualne"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("SmnuAktualne"))->isChecked());
    reg->PokazListeWnioskow();
    EXPECT_EQ(view().tableName(), QStringLiteral("ar041999"));
    EXPECT_EQ(main->grid()->model()->rowCount(), 12);

    main->SmnuAktualneClick();
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Wnioski bieżące"));
    EXPECT_EQ(reg->currentTableName(), QStringLiteral("Aktualne"));
    EXPECT_TRUE(main->menuItem(QStringLiteral("SMnuPrzeliczDod"))->isEnabled());
    EXPECT_TRUE(main->menuItem(QStringLiteral("SMnuZamknijMies"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("SmnuAktualne"))->isEnabled());

    questions.clear();
    reg->ChangeTable(QStringLiteral("arXX1999"));
    EXPECT_EQ(questions.texts(Kind::Inform),
              QStringList({QStringLiteral("Miesiąc: XX ?"), QStringLiteral("Błąd dekodowania daty: arXX1999")}));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Archiwum:  1999"));
}

TEST_F(Register, NameAndAddressColumnsFollowTheWindowButNotBelowTwentyCharacters) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    main->resize(1400, 600);
    QApplication::processEvents();
    const QVector<int> wide = main->columnChars();
    EXPECT_GT(wide[1], 22);
    EXPECT_GT(wide[2], 25);
    main->resize(300, 600);
    QApplication::processEvents();
    const QVector<int> narrow = main->columnChars();
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
    // On the primary index: registry numbers, digits only.
    EXPECT_EQ(reg::searchKeyFor(SortOrder::Primary, QStringLiteral("12"), 2)->field, QStringLiteral("NrEw"));
    EXPECT_EQ(reg::searchKeyFor(SortOrder::Primary, QStringLiteral("99999999999"), 2)->value, QStringLiteral("2147483647"));
    EXPECT_TRUE(reg::searchTextFits(SortOrder::Primary, QStringLiteral("0123")));
    EXPECT_FALSE(reg::searchTextFits(SortOrder::Primary, QStringLiteral("12K")));
    EXPECT_TRUE(reg::searchTextFits(SortOrder::Nazwiska, QStringLiteral("12K")));
    EXPECT_TRUE(reg::indexForOrder(SortOrder::Primary).isEmpty());
    EXPECT_EQ(reg::monthName(10), QStringLiteral("październik"));
    EXPECT_EQ(reg::monthName(13), QStringLiteral("?"));
}

TEST_F(Register, WithoutALogInNobodyHasARight) {
    main->logIn = nullptr;  // no log-in step: nobody logged in
    ASSERT_TRUE(main->FormShow());
    EXPECT_FALSE(main->rights().modiUsers);
    EXPECT_FALSE(main->rights().modiDict);
    EXPECT_FALSE(main->menuItem(QStringLiteral("SMnuUsers"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("MnuSlowniki"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("MnuKwoty"))->isEnabled());

    makeMainWindow();
    main->logIn = [] { return std::optional<admin::Rights>(admin::Rights{true, false}); };
    ASSERT_TRUE(main->FormShow());
    EXPECT_TRUE(main->menuItem(QStringLiteral("SMnuUsers"))->isEnabled());
    EXPECT_FALSE(main->menuItem(QStringLiteral("MnuKwoty"))->isEnabled());
}

TEST_F(Register, TheDisplaySwitchesAreTheRegistersAndTheirCheckMarksFollowIt) {
    ASSERT_TRUE(main->FormShow());
    QAction *posrednie = main->menuItem(QStringLiteral("SMnuWynikiPosrednie"));
    QAction *pelna = main->menuItem(QStringLiteral("SMnuPelnaInfo"));
    EXPECT_TRUE(posrednie->isChecked() && pelna->isChecked());
    posrednie->trigger();
    EXPECT_FALSE(reg->wynikiPosrednie());
    EXPECT_TRUE(reg->pelnaInformacja());
    reg->setPelnaInformacja(false);
    EXPECT_FALSE(pelna->isChecked());
}

TEST_F(Register, ThePrinterChosenInTheSetUpIsTheRunsForEveryPrint) {
    ASSERT_TRUE(main->FormShow());
    ctx.values.printer.chosen = true;
    ctx.values.printer.landscape = true;
    ctx.values.printer.copies = 2;
    QPageLayout::Orientation shown = QPageLayout::Portrait;
    int copies = 0;
    const bool asked = test::answerModalOf<QPrintDialog>([&] { main->menuItem(QStringLiteral("SMnuUstawieniaDrukarki"))->trigger(); },
                                                         [&](QPrintDialog &d) {
                                                             shown = d.printer()->pageLayout().orientation();
                                                             copies = d.printer()->copyCount();
                                                             d.accept();
                                                         });
    ASSERT_TRUE(asked);
    EXPECT_EQ(shown, QPageLayout::Landscape);  // the dialog starts from the run's settings
    EXPECT_EQ(copies, 2);
    EXPECT_TRUE(ctx.values.printer.chosen);
    EXPECT_TRUE(ctx.values.printer.landscape);  // and what it accepts stays the run's

    // Cancelling changes nothing.
    test::answerModalOf<QPrintDialog>([&] { main->menuItem(QStringLiteral("SMnuUstawieniaDrukarki"))->trigger(); },
                                      [](QPrintDialog &d) {
                                          d.printer()->setPageOrientation(QPageLayout::Portrait);
                                          d.reject();
                                      });
    EXPECT_TRUE(ctx.values.printer.landscape);
}

// ---------------------------------------------------------------------------
// The register as a clerk meets it

TEST_F(Register, EveryValueListOpensFromTheMenuOnItsOwnTable) {
    main->logIn = [] { return std::optional<admin::Rights>(admin::Rights{false, true}); };
    ASSERT_TRUE(main->FormShow());
    main->show();
    // Wired as the program wires it: one value-list window for the run.
    std::unique_ptr<admin::TFormSlowniki> window;
    main->showValueDictionary = [&](const admin::ValueDictionary &list) {
        if (!window)
            window = std::make_unique<admin::TFormSlowniki>(ctx, [] {}, main.get());
        window->showFor(list);
    };
    const std::pair<const char *, std::pair<const char *, const char *>> items[] = {
        {"SMnuTytulydolkalu", {"tytprawn", "Słownik: Tytuły prawne do lokalu"}},
        {"Sposobyogrzewanialokalu1", {"ogrzlok", "Słownik: Sposoby ogrzewania lokalu"}},
        {"SMnuOgrzWody", {"ogrzwody", "Słownik: Sposoby ogrzewania wody"}},
        {"SMnuStatLokali", {"statlok", "Słownik: Statusy lokali"}},
    };
    for (const auto &[item, expected] : items) {
        SCOPED_TRACE(item);
        QAction *a = main->menuItem(QString::fromLatin1(item));
        ASSERT_TRUE(a);
        a->trigger();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(data::Database::tableNameOf(window->openTable()).toLower(), QString::fromLatin1(expected.first));
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(expected.second));
    }
    EXPECT_TRUE(questions.texts(Kind::Inform).isEmpty()) << questions.texts().join(QLatin1Char('|')).toStdString();
    // The window opens over the main window, not in the corner of the screen.
    EXPECT_TRUE(main->frameGeometry().contains(window->frameGeometry().center()));
    window->close();
}

TEST_F(Register, AfterTheKeyRebuildNoOrderIsPressedAndALetterSearchesNothing) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    admin::TFormModiIndex index(ctx, *reg, main.get());
    index.show();
    index.ButtonStartClick();
    EXPECT_TRUE(view().indexName().isEmpty());
    for (SortOrder o : {SortOrder::Nazwiska, SortOrder::NrDec, SortOrder::Adres, SortOrder::Kwota})
        EXPECT_FALSE(main->sortButton(o)->isChecked());
    EXPECT_TRUE(main->editSeek()->isEnabled());

    // A letter is refused without a word; digits search the registry number.
    QTest::keyClicks(main->editSeek(), QStringLiteral("K"));
    EXPECT_EQ(main->editSeek()->text(), QString());
    QTest::keyClicks(main->editSeek(), QStringLiteral("7"));
    EXPECT_EQ(view().field(QStringLiteral("NrEw")).asInteger(), 7);
    QTest::keyClicks(main->editSeek(), QStringLiteral("9999999999"));  // beyond any number: the last row
    EXPECT_EQ(view().field(QStringLiteral("NrEw")).asInteger(), 12);
    EXPECT_TRUE(questions.asked().empty()) << questions.texts().join(QLatin1Char('|')).toStdString();

    // A sort button brings a named order back, and letters with it.
    QTest::mouseClick(main->sortButton(SortOrder::Nazwiska), Qt::LeftButton);
    EXPECT_TRUE(main->sortButton(SortOrder::Nazwiska)->isChecked());
    EXPECT_EQ(view().indexName(), QStringLiteral("NazwNdx"));
    QTest::keyClicks(main->editSeek(), QStringLiteral("No"));
    EXPECT_TRUE(current().startsWith(QStringLiteral("Nowak")));
}

TEST_F(Register, DeleteConfirmationsHaveNieAsTheirDefault) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    questions.answer(Answer::No);
    QTest::keyClick(main->editSeek(), Qt::Key_Delete);
    ASSERT_EQ(questions.asked().size(), 1u);
    EXPECT_EQ(questions.asked().back().text, QStringLiteral("Usunąć pozycję ?"));
    EXPECT_TRUE(questions.asked().back().defaultNo);
    EXPECT_EQ(view().recordCount(), 12);
    // Other confirmations keep "Tak" first.
    questions.answer(Answer::No);
    main->menuItem(QStringLiteral("SMnuKoniec"))->trigger();
    EXPECT_FALSE(questions.asked().back().defaultNo);
}

TEST_F(Register, TheKeyboardReachesTheSearchTheOrdersAndTheMenus) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    main->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), main->editSeek());  // after the log-in

    // Tab reaches the pressed sort button after "Usuń", the arrow keys press
    // the others (the four are one group, as radio buttons are), Space too.
    for (SortOrder o : {SortOrder::Nazwiska, SortOrder::NrDec, SortOrder::Adres, SortOrder::Kwota})
        EXPECT_TRUE(main->sortButton(o)->focusPolicy() & Qt::TabFocus);
    main->findChild<QWidget *>(QStringLiteral("ButtonUsunWniosek"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), main->sortButton(SortOrder::Nazwiska));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), main->sortButton(SortOrder::NrDec));
    EXPECT_TRUE(main->sortButton(SortOrder::NrDec)->isChecked());
    EXPECT_EQ(view().indexName(), QStringLiteral("NrDecNdx"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), main->editSeek());
    main->sortButton(SortOrder::Adres)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(view().indexName(), QStringLiteral("AdresNdx"));

    // Every menu and item has a letter of its own within its menu, and its
    // caption reads as before.
    std::function<void(QMenu *, const QList<QAction *> &)> letters = [&](QMenu *menu, const QList<QAction *> &actions) {
        QSet<QChar> used;
        for (QAction *a : actions) {
            if (a->isSeparator())
                continue;
            const int amp = a->text().indexOf(QLatin1Char('&'));
            EXPECT_GE(amp, 0) << a->text().toStdString();
            if (amp >= 0) {
                const QChar letter = a->text().at(amp + 1).toLower();
                EXPECT_FALSE(used.contains(letter)) << a->text().toStdString();
                used.insert(letter);
            }
            if (a->menu())
                letters(a->menu(), a->menu()->actions());
        }
        (void)menu;
    };
    letters(nullptr, main->menuBar()->actions());
    // Alt with the letter opens the menu.
    QTest::keyClick(main->editSeek(), Qt::Key_P, Qt::AltModifier);
    QApplication::processEvents();
    QMenu *parametry = main->menuItem(QStringLiteral("MnuParametry"))->menu();
    EXPECT_TRUE(parametry->isVisible());
    parametry->hide();
    EXPECT_EQ(main->editSeek()->text(), QString());
    EXPECT_EQ(ui::captionOf(main->menuItem(QStringLiteral("SMnuZarzadcy"))->text()), QStringLiteral("Lista zarządców"));
    EXPECT_EQ(ui::captionOf(main->menuItem(QStringLiteral("SMnuStopka"))->text()), QStringLiteral("Stopka "));
    EXPECT_EQ(ui::captionOf(main->menuItem(QStringLiteral("MnuWnioski"))->text()), QStringLiteral("Wnioski"));
}

TEST_F(Register, ANarrowedWindowKeepsTheSortButtonsOffTheRegisterButtons) {
    ASSERT_TRUE(main->FormShow());
    main->show();
    main->resize(200, 200);
    QApplication::processEvents();
    EXPECT_GE(main->width(), main->minimumWidth());
    auto *sort = main->findChild<QWidget *>(QStringLiteral("PanelSort"));
    auto *usun = main->findChild<QWidget *>(QStringLiteral("ButtonUsunWniosek"));
    ASSERT_TRUE(sort && usun);
    const QRect sortRect(sort->mapTo(main.get(), QPoint()), sort->size());
    const QRect usunRect(usun->mapTo(main.get(), QPoint()), usun->size());
    EXPECT_FALSE(sortRect.intersects(usunRect));
    EXPECT_TRUE(usun->isVisible());
}
