// The service window and the windows it opens, on the table the register
// shows: the menus, the field setting, undoing 90%, the synchronisation.
#include "admin/windows/TFormModiIndex.h"
#include "admin/windows/TFormOdkr90proc.h"
#include "admin/windows/TFormRyczaltDoRak.h"
#include "admin/windows/TFormSerwis.h"
#include "admin/windows/TFormSortowanieWnioskow.h"
#include "admin/windows/TFormSynchBases.h"
#include "admin/windows/TFormWyborTabeli.h"
#include "core/HelpTopics.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "register/Register.h"
#include "support/OldLayouts.h"
#include "support/Program.h"
#include "support/RecordedProgress.h"
#include "support/windows/Dialogs.h"
#include "ui/DbControls.h"

#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using test::column;
constexpr auto No = test::ScriptedQuestions::Answer::No;
using Kind = test::ScriptedQuestions::Kind;

namespace {

class Service : public test::ProgramTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::setParameters(*db, {{QStringLiteral("Koszt_kwh"), 0.55},
                                  {QStringLiteral("Min_emeryt"), 1200.0},
                                  {QStringLiteral("Wzor_OkresOd"), QDate(2002, 1, 1)}});
        add(QStringLiteral("Aktualne"), QStringLiteral("Adamczyk"), 45.678, QDate(2002, 1, 1));
        add(QStringLiteral("Aktualne"), QStringLiteral("Lis"), 50.0, QDate(2001, 12, 1));
        ASSERT_TRUE(reg.PokazListeWnioskow());
    }

    void add(const QString &table, const QString &surname, double area, const QDate &from) {
        test::addApplication(*db, table, surname,
                             {{QStringLiteral("Pow_uzytk"), area},
                              {QStringLiteral("Okres_od"), from},
                              {QStringLiteral("Wydatki_czynsz"), 90.0}});
    }
    void showArchive() {
        db->createTable(data::applicationTableDef(QStringLiteral("ar041999")));
        add(QStringLiteral("ar041999"), QStringLiteral("Kowal"), 45.671, QDate(2003, 1, 1));
        reg.ChangeTable(QStringLiteral("ar041999"));
        ASSERT_TRUE(reg.showsArchive());
    }
    QVariant parameter(const char *field) {
        Table param(*db, QStringLiteral("param"));
        param.open();
        return param.field(QString::fromUtf8(field)).asVariant();
    }

    reg::Register reg{ctx};
    test::RecordedProgress progress;
    admin::TFormSerwis serwis{ctx, reg, [this] {
                                  return std::unique_ptr<core::Progress>(new ProgressOf(progress));
                              }};

    // Hands the test's progress to the window, which owns what it gets.
    struct ProgressOf : core::Progress {
        explicit ProgressOf(core::Progress &p) : p(p) {}
        void start(int max) override { p.start(max); }
        void step() override { p.step(); }
        void finish() override { p.finish(); }
        core::Progress &p;
    };
};

// Counts how often a widget was shown.
struct ShowCounter : QObject {
    int shown = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Show)
            ++shown;
        return false;
    }
};

QStringList captions(QMenu *menu) {
    QStringList out;
    for (QAction *a : menu->actions())
        out << a->text();
    return out;
}

}  // namespace

TEST_F(Service, TheServiceWindowHasItsTwoMenusWithEveryItem) {
    EXPECT_EQ(serwis.windowTitle(), QStringLiteral("FormSerwis"));
    QStringList menus;
    for (QAction *a : serwis.MainMenu->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("Korekty"), QStringLiteral("Inicjacja pól")}));
    EXPECT_EQ(captions(serwis.MnuKorekty),
              (QStringList{QStringLiteral("Pow.użytk. (zaokrąglenia)"), QStringLiteral("Indeksuj numery pomocnicze"),
                           QStringLiteral("Synchronizacja baz"), QStringLiteral("Odkręć 90%")}));
    EXPECT_EQ(captions(serwis.MnuInicjacja),
              (QStringList{QStringLiteral("Ustaw parametr \"Ryczałt do rąk wnioskod.\""),
                           QStringLiteral("Algorytm sortowania wniosków"),
                           QStringLiteral("Inicjuj pole \"Pow.pokoi i kuchni przekr. 60%\""),
                           QStringLiteral("Inicjuj pole \"Ryczałt za gaz\""), QStringLiteral("Inicjuj pole \"Całość do rąk\""),
                           QStringLiteral("Inicjuj pole \"Koszt kWh\""), QStringLiteral("Inicjuj pole \"Najniższa emerytura\"")}));

    // Each item opens its window; the field setting gets its kind.
    EXPECT_TRUE(test::answerModalOf<admin::TFormModiIndex>([&] { serwis.SMnuIndeksuj->trigger(); },
                                                           [](admin::TFormModiIndex &w) { w.reject(); }));
    EXPECT_TRUE(test::answerModalOf<admin::TFormSynchBases>([&] { serwis.SMnuSynchBases->trigger(); },
                                                            [](admin::TFormSynchBases &w) { w.reject(); }));
    EXPECT_TRUE(test::answerModalOf<admin::TFormOdkr90proc>([&] { serwis.SMnuOdkr90->trigger(); },
                                                            [](admin::TFormOdkr90proc &w) { w.reject(); }));
    EXPECT_TRUE(test::answerModalOf<admin::TFormSortowanieWnioskow>(
        [&] { serwis.SMnuAlgorytmSortowania->trigger(); }, [](admin::TFormSortowanieWnioskow &w) { w.accept(); }));
    const std::vector<std::pair<QAction *, int>> kinds = {{serwis.SMnuRyczaltDoRak, 1}, {serwis.SMnuPowKuchni, 2},
                                                          {serwis.SMnuRyczaltGaz, 3},   {serwis.SMnuCaloscDoRak, 4},
                                                          {serwis.SMnuKosztKwh, 5},     {serwis.SMnuNajnEmeryt, 6}};
    for (const auto &[item, kind] : kinds) {
        int shownKind = 0;
        EXPECT_TRUE(test::answerModalOf<admin::TFormRyczaltDoRak>([&] { item->trigger(); },
                                                                  [&](admin::TFormRyczaltDoRak &w) {
                                                                      shownKind = w.kind();
                                                                      test::pressCofnij(&w);
                                                                  }));
        EXPECT_EQ(shownKind, kind);
    }
    EXPECT_TRUE(questions.asked().empty()) << questions.texts().join(u'\n').toStdString();
}

TEST_F(Service, AreaRoundingAsksFirstAndRoundsTheTableShown) {
    questions.answer(No);
    serwis.SMnuPowUzytk->trigger();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Zaokrąglić pow. użytkowe ?")});
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk")), (QVariantList{45.678, 50.0}));
    EXPECT_EQ(progress.starts, 0);

    showArchive();
    serwis.SMnuPowUzytk->trigger();
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Pow_uzytk")), QVariantList{45.67});
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Pow_uzytk")), (QVariantList{45.678, 50.0}));
    EXPECT_EQ(progress.max, 1);
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(Service, FieldSettingOfKindTwoWritesNieIntoEveryApplicationAndStaysOpen) {
    admin::TFormRyczaltDoRak w(ctx, reg);
    w.setKind(2);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ustaw pole: \"Pow.pokoi i kuchni ponad 60%\""));
    EXPECT_TRUE(w.RGroup->isVisible());
    EXPECT_EQ(w.RGroup->title(), QStringLiteral("Ustaw we wszystkich wnioskach"));
    EXPECT_TRUE(w.RButtonTak->isChecked());
    EXPECT_FALSE(w.PanelVal->isVisible());
    EXPECT_FALSE(w.ProgressBar->isVisible());

    w.RButtonNie->click();
    ASSERT_TRUE(test::clickButton(&w, QStringLiteral("Działaj")));
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("PowKuchniPonad60")),
              QVariantList(2, QStringLiteral("Nie")));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.ProgressBar->isVisible());
    EXPECT_EQ(w.ProgressBar->value(), 2);

    w.RButtonTak->click();
    w.ButtonDzialaj->click();
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("PowKuchniPonad60")),
              QVariantList(2, QStringLiteral("Tak")));
    test::pressCofnij(&w);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Service, FieldSettingOfKindOneSetsTheFlagOfTheArchiveShown) {
    showArchive();
    admin::TFormRyczaltDoRak w(ctx, reg);
    w.setKind(1);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ustaw pole: \"Ryczalt_do_rak\""));
    w.ButtonDzialaj->click();
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Ryczalt_do_rak")), QVariantList{true});
    EXPECT_NE(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Ryczalt_do_rak")), QVariantList(2, true));
}

TEST_F(Service, KindsFiveAndSixWriteTheParameterShownWithoutStoringWhatWasTyped) {
    admin::TFormRyczaltDoRak w(ctx, reg);
    w.setKind(5);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ustaw pole: \"Koszt kWh\""));
    EXPECT_TRUE(w.PanelVal->isVisible());
    EXPECT_FALSE(w.RGroup->isVisible());
    EXPECT_TRUE(w.DBEVal->text().contains(QStringLiteral("55"))) << w.DBEVal->text().toStdString();
    w.ButtonDzialaj->click();
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("KosztKwh")), QVariantList(2, 0.55));

    // A value typed for the run is written, and not kept in the parameters.
    w.DBEVal->selectAll();
    test::typeText(w.DBEVal, QStringLiteral("0.61"));
    w.ButtonDzialaj->click();
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("KosztKwh")), QVariantList(2, 0.61));
    // A blank would wipe every application: refused.
    w.DBEVal->selectAll();
    QTest::keyClick(w.DBEVal, Qt::Key_Backspace);
    w.ButtonDzialaj->click();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Wprowadź wartość, którą ma dostać każdy wniosek.")});
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("KosztKwh")), QVariantList(2, 0.61));
    test::pressCofnij(&w);
    EXPECT_EQ(parameter("Koszt_kwh"), QVariant(0.55));

    admin::TFormRyczaltDoRak six(ctx, reg);
    six.setKind(6);
    six.show();
    EXPECT_EQ(six.windowTitle(), QStringLiteral("Ustaw pole: \"Najniższa emerytura\""));
    six.ButtonDzialaj->click();
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("NajnEmeryt")), QVariantList(2, 1200.0));
}

TEST_F(Service, UndoingNinetyPercentConvertsOnceFromTheDateShown) {
    admin::TFormOdkr90proc w(ctx, reg);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Odkręć 90%"));
    EXPECT_TRUE(w.Memo1->toPlainText().contains(QStringLiteral("UWAGA! Uruchomić tylko raz!")));
    EXPECT_TRUE(w.Memo1->toPlainText().contains(QStringLiteral("KOPIA przed uruchomieniem.")));
    EXPECT_TRUE(w.Memo1->isReadOnly());
    EXPECT_FALSE(w.ProgressBar->isVisible());
    EXPECT_TRUE(w.ButtonOK->isEnabled());
    // F1 tells how to make the copy the note asks for.
    int topic = 0;
    w.showHelp = [&](int t) { topic = t; };
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(topic, help::DatabaseCopy);

    test::pressOK(&w);
    // Adamczyk's period starts on the date itself; Lis's before it.
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz")), (QVariantList{100.0, 90.0}));
    EXPECT_FALSE(w.ButtonOK->isEnabled());
    EXPECT_FALSE(w.ProgressBar->isVisible());
    w.ButtonOK->click();
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz")), (QVariantList{100.0, 90.0}));
    test::pressCofnij(&w);

    // A date typed for the run is used and not stored.
    admin::TFormOdkr90proc again(ctx, reg);
    again.show();
    EXPECT_TRUE(again.ButtonOK->isEnabled());
    again.DBEOkresOd->selectAll();
    test::typeText(again.DBEOkresOd, QStringLiteral("2001-12-01"));
    again.ButtonOK->click();
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz")), (QVariantList{100.0 * 10 / 9, 100.0}));
    test::pressCofnij(&again);
    EXPECT_EQ(parameter("Wzor_OkresOd"), QVariant(QDate(2002, 1, 1)));
    EXPECT_TRUE(questions.asked().empty()) << questions.texts().join(u'\n').toStdString();
}

TEST_F(Service, UndoingNinetyPercentWithAnArchiveShownConvertsTheArchive) {
    showArchive();
    admin::TFormOdkr90proc w(ctx, reg);
    w.show();
    w.ButtonOK->click();
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Wydatki_czynsz")), QVariantList{100.0});
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne"), QStringLiteral("Wydatki_czynsz")), (QVariantList{90.0, 90.0}));
}

TEST_F(Service, SynchronisationWithAnEmptyListOnlyShowsAndHidesTheBar) {
    admin::TFormSynchBases w(ctx, reg);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Synchronizacja baz"));
    EXPECT_FALSE(w.ProgressBar->isVisible());
    ShowCounter counter;
    w.ProgressBar->installEventFilter(&counter);
    const QStringList tables = db->tableNames();
    ASSERT_TRUE(test::clickButton(&w, QStringLiteral("Działaj")));
    EXPECT_EQ(counter.shown, 1);
    EXPECT_FALSE(w.ProgressBar->isVisible());
    EXPECT_EQ(db->tableNames(), tables);
    EXPECT_TRUE(questions.asked().empty()) << questions.texts().join(u'\n').toStdString();
}

TEST_F(Service, SynchronisationRebuildsTheTablesChosenAndTheRegisterShowsTheResult) {
    // An archive shown in the register; the pattern, in another database,
    // has one field more.
    db->createTable(data::applicationTableDef(QStringLiteral("ar041999")));
    test::addApplication(*db, QStringLiteral("ar041999"), QStringLiteral("Kowal"));
    data::TableDef pattern = data::applicationTableDef(QStringLiteral("Wzorzec"));
    pattern.fields << data::FieldDef{QStringLiteral("Dodatkowe"), data::FieldType::Text, 10};
    QTemporaryDir otherDir;
    {
        auto other = data::Database::create(otherDir.path());
        other->createTable(pattern);
    }

    admin::TFormSynchBases w(ctx, reg);
    w.show();
    // The pattern from another database, through "Inna baza...".
    files.chosenDirectory = otherDir.path();
    EXPECT_TRUE(test::answerModalOf<admin::TFormWyborTabeli>([&] { w.ButtonSource->click(); },
                                                             [&](admin::TFormWyborTabeli &d) {
                                                                 EXPECT_EQ(d.directory(), QDir(db.path()).absolutePath());
                                                                 d.ButtonKatalog->click();
                                                                 ASSERT_EQ(d.LBoxTabele->count(), 1);
                                                                 d.LBoxTabele->item(0)->setSelected(true);
                                                                 test::pressOK(&d);
                                                             }));
    EXPECT_EQ(w.EditPattern->text(), QDir(otherDir.path()).filePath(QStringLiteral("Wzorzec")));
    // The next choice starts where the last ended; the table from this database.
    EXPECT_TRUE(test::answerModalOf<admin::TFormWyborTabeli>([&] { w.ButtonDestPlus->click(); },
                                                             [&](admin::TFormWyborTabeli &d) {
                                                                 EXPECT_EQ(d.directory(), QDir(otherDir.path()).absolutePath());
                                                                 files.chosenDirectory = db.path();
                                                                 d.ButtonKatalog->click();
                                                                 d.LBoxTabele->clearSelection();
                                                                 for (int i = 0; i < d.LBoxTabele->count(); ++i)
                                                                     if (d.LBoxTabele->item(i)->text() == QStringLiteral("ar041999")
                                                                         || d.LBoxTabele->item(i)->text() == QStringLiteral("zarzadcy"))
                                                                         d.LBoxTabele->item(i)->setSelected(true);
                                                                 test::pressOK(&d);
                                                             }));
    ASSERT_EQ(w.LBoxDest->count(), 2);
    EXPECT_EQ(w.LBoxDest->item(0)->text(), QDir(QDir(db.path()).absolutePath()).filePath(QStringLiteral("ar041999")));
    w.LBoxDest->setCurrentRow(1);
    test::clickButton(&w, QStringLiteral("Usuń"));
    ASSERT_EQ(w.LBoxDest->count(), 1);

    reg.ChangeTable(QStringLiteral("ar041999"));
    ASSERT_TRUE(reg.TableWnioski().isOpen());
    questions.clear();
    w.ButtonCopy->click();
    EXPECT_EQ(db->tableDef(QStringLiteral("ar041999")).fields, pattern.fields);
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Nazwisko")), QVariantList{QStringLiteral("Kowal")});
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Dodatkowe")), QVariantList{QVariant()});
    EXPECT_TRUE(reg.TableWnioski().isOpen());
    EXPECT_TRUE(reg.showsArchive());
    EXPECT_EQ(reg.TableWnioski().recordCount(), 1);
    EXPECT_FALSE(w.ProgressBar->isVisible());
    EXPECT_EQ(w.LBoxDest->currentRow(), -1);
    EXPECT_TRUE(questions.asked().empty()) << questions.texts().join(u'\n').toStdString();
}
