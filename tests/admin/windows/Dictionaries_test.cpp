#include "admin/Dictionaries.h"
#include "admin/windows/TFormSlownZarz.h"
#include "admin/windows/TFormSlowniki.h"
#include "core/Context.h"
#include "data/Database.h"
#include "data/Table.h"
#include "support/Program.h"
#include "support/windows/Dialogs.h"
#include "ui/DataGrid.h"
#include "ui/DbControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

using namespace varnel;
using admin::TFormNewEntry;
using data::Table;

namespace {

using test::typeText;

// Runs `act` on the entry dialog that `open` shows; false when none showed.
bool withEntryDialog(const std::function<void()> &open, const std::function<void(TFormNewEntry *)> &act) {
    return test::answerModalOf<TFormNewEntry>(open, [&](TFormNewEntry &d) { act(&d); });
}

class DictionaryWindows : public test::ProgramTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::fillDictionary(*db, QStringLiteral("zarzadcy"),
                             {{QStringLiteral("ZGM Opole"), true}, {QStringLiteral("Wspólnota Lipowa"), false}});
        test::fillDictionary(*db, QStringLiteral("tytprawn"), {{QStringLiteral("najem"), false}, {QStringLiteral("własność"), true}});
        test::fillDictionary(*db, QStringLiteral("statlok"), {{QStringLiteral("komunalny"), false}});
    }

    int closed = 0;
};

}  // namespace

TEST_F(DictionaryWindows, TheManagerListOpensWithoutBlockingInTableOrder) {
    admin::TFormSlownZarz form(ctx, [&] { ++closed; });
    form.showList();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Słownik: Lista zarządców domów"));
    auto *model = form.DBGridDict->model();
    ASSERT_EQ(model->rowCount(), 2);
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Wlasn_gminy"));
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("ZGM Opole"));
    EXPECT_EQ(form.ButtonZakoncz->text(), QStringLiteral("Zakończ"));
}

TEST_F(DictionaryWindows, AUsedManagerRefusesChangeAndDeleteByButtonAndKey) {
    admin::TFormSlownZarz form(ctx, [&] { ++closed; });
    form.showList();
    form.table().first();  // ZGM Opole, used
    EXPECT_FALSE(test::answerModal(
        [&] {
            form.ButtonPopraw->click();
            QTest::keyClick(form.DBGridDict, Qt::Key_Return);
            form.ButtonUsun->click();
            QTest::keyClick(form.DBGridDict, Qt::Key_Delete);
        },
        [](QDialog &) {}));
    const QString change = QStringLiteral("Pozycja była używana! Zmiana niemożliwa!");
    const QString remove = QStringLiteral("Pozycja była używana! Usunięcie niemożliwe!");
    EXPECT_EQ(questions.texts(), (QStringList{change, change, remove, remove}));
    EXPECT_EQ(form.table().recordCount(), 2);
    EXPECT_EQ(form.table().state(), data::TableState::Browse);
}

TEST_F(DictionaryWindows, AUsedValueRefusesWithTheValueListTexts) {
    admin::TFormSlowniki form(ctx, [&] { ++closed; });
    form.showFor(admin::valueDictionaries().first());
    form.table().last();  // "własność", used
    QTest::keyClick(form.ButtonDodaj, Qt::Key_Return);
    QTest::keyClick(form.ButtonDodaj, Qt::Key_Delete);
    EXPECT_EQ(questions.texts(),
              (QStringList{QStringLiteral("Zmiana zawartości niemożliwa!"), QStringLiteral("Usunięcie pozycji niemożliwe!")}));
}

TEST_F(DictionaryWindows, EnterOpensPoprawOnTheCurrentRowWhateverTheModifiers) {
    admin::TFormSlownZarz form(ctx, [&] { ++closed; });
    form.showList();
    form.DBGridDict->setCurrentIndex(form.DBGridDict->model()->index(1, 0));
    const bool shown = withEntryDialog(
        [&] { QTest::keyClick(form.DBGridDict, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier); },
        [&](TFormNewEntry *d) {
            EXPECT_EQ(form.table().state(), data::TableState::Edit);
            EXPECT_EQ(d->DBEdit->text(), QStringLiteral("Wspólnota Lipowa"));
            EXPECT_EQ(d->focusWidget(), d->DBEdit);
            EXPECT_TRUE(d->windowTitle().isEmpty());
            typeText(d->DBEdit, QStringLiteral("Wspólnota Lipowa 2"));  // the text is selected: replaced
            QTest::keyClick(d->DBEdit, Qt::Key_Return);                  // "OK" is the default button
        });
    EXPECT_TRUE(shown);
    EXPECT_EQ(form.table().recordCount(), 2);
    EXPECT_EQ(admin::dictionaryTexts(*db, QStringLiteral("zarzadcy")),
              (QStringList{QStringLiteral("ZGM Opole"), QStringLiteral("Wspólnota Lipowa 2")}));
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(DictionaryWindows, AddedManagerIsStoredUnusedWithItsMunicipalFlag) {
    admin::TFormSlownZarz form(ctx, [&] { ++closed; });
    form.showList();
    const bool shown = withEntryDialog([&] { QTest::keyClick(form.DBGridDict, Qt::Key_Insert); }, [&](TFormNewEntry *d) {
        EXPECT_EQ(form.table().state(), data::TableState::Insert);
        EXPECT_TRUE(d->DBEdit->text().isEmpty());
        auto *zarz = qobject_cast<admin::TFormNewZarz *>(d);
        ASSERT_NE(zarz, nullptr);
        EXPECT_EQ(zarz->DBCBoxWlasnGminy->text(), QStringLiteral("Lokale są własnością gminy"));
        typeText(d->DBEdit, QStringLiteral("ZBM Łąka"));
        zarz->DBCBoxWlasnGminy->click();
        test::pressOK(d);
    });
    EXPECT_TRUE(shown);
    Table t(*db, QStringLiteral("zarzadcy"));
    t.open();
    t.last();
    EXPECT_EQ(t.field(QStringLiteral("Opis")).asString(), QStringLiteral("ZBM Łąka"));
    EXPECT_TRUE(t.field(QStringLiteral("Wlasn_gminy")).asBoolean());
    EXPECT_FALSE(t.field(QStringLiteral("BylModi")).isNull());
    EXPECT_FALSE(t.field(QStringLiteral("BylModi")).asBoolean());
    EXPECT_EQ(form.DBGridDict->model()->rowCount(), 3);
}

TEST_F(DictionaryWindows, CofnijOrEscAfterDodajLeavesNoRow) {
    admin::TFormSlowniki form(ctx, [&] { ++closed; });
    form.showFor(QStringLiteral("ogrzwody.db"), QStringLiteral("Słownik: Sposoby ogrzewania wody"));
    EXPECT_TRUE(withEntryDialog([&] { form.ButtonDodaj->click(); }, [](TFormNewEntry *d) {
        typeText(d->DBEdit, QStringLiteral("bojler"));
        QTest::mouseClick(d->ButtonCofnij, Qt::LeftButton);
    }));
    EXPECT_TRUE(withEntryDialog([&] { form.ButtonDodaj->click(); }, [](TFormNewEntry *d) {
        typeText(d->DBEdit, QStringLiteral("piecyk"));
        QTest::keyClick(d->DBEdit, Qt::Key_Escape);
    }));
    EXPECT_EQ(form.table().recordCount(), 0);
    EXPECT_EQ(form.table().state(), data::TableState::Browse);
    EXPECT_TRUE(admin::dictionaryTexts(*db, QStringLiteral("ogrzwody")).isEmpty());
    EXPECT_TRUE(form.isVisible());  // Esc belonged to the dialog, not to the list
}

TEST_F(DictionaryWindows, DeleteAsksAndTakesTheCurrentRowAndAnEmptyListAsksNothing) {
    admin::TFormSlowniki form(ctx, [&] { ++closed; });
    form.showFor(admin::valueDictionaries().first());
    form.table().first();  // "najem", unused
    questions.setDefaultAnswer(test::ScriptedQuestions::Answer::No);
    QTest::keyClick(form.DBGridDict, Qt::Key_Delete);
    EXPECT_EQ(form.table().recordCount(), 2);
    questions.setDefaultAnswer(test::ScriptedQuestions::Answer::Yes);
    form.ButtonUsun->click();
    EXPECT_EQ(questions.texts(), (QStringList{QStringLiteral("Usunąć pozycję?"), QStringLiteral("Usunąć pozycję?")}));
    for (const auto &asked : questions.asked())
        EXPECT_TRUE(asked.defaultNo);  // Enter out of habit deletes nothing
    EXPECT_EQ(admin::dictionaryTexts(*db, QStringLiteral("tytprawn")), QStringList{QStringLiteral("własność")});

    form.showFor(admin::valueDictionaries()[2]);  // an empty list has nothing to delete: nothing is asked
    questions.clear();
    form.ButtonUsun->click();
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(DictionaryWindows, ClosingClosesTheTableAndCallsBackOnce) {
    QStringList seen;  // what a refill of the choice lists would read then
    admin::TFormSlownZarz form(ctx, [&] {
        ++closed;
        seen = admin::dictionaryTexts(*db, admin::ManagerDictionary);
    });
    form.showList();
    form.ButtonZakoncz->click();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.table().isOpen());
    EXPECT_EQ(seen.size(), 2);

    form.showList();
    form.showList();  // already open: comes to the front, nothing closes
    EXPECT_EQ(closed, 1);
    QTest::keyClick(form.DBGridDict, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(closed, 2);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(DictionaryWindows, F1AsksForTheDictionariesHelpTopic) {
    admin::TFormSlowniki form(ctx, [&] { ++closed; });
    form.showFor(admin::valueDictionaries()[2]);
    QList<int> help;
    form.showHelp = [&](int topic) { help << topic; };
    QTest::keyClick(form.ButtonUsun, Qt::Key_F1);
    EXPECT_EQ(help, QList<int>{27});
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(DictionaryWindows, ChoosingAnotherValueListClosesAndReopensTheWindow) {
    QStringList closedOn;
    admin::TFormSlowniki form(ctx, [&] { ++closed; });
    form.showFor(admin::valueDictionaries()[0]);
    EXPECT_EQ(form.DBGridDict->model()->rowCount(), 2);
    form.showFor(admin::valueDictionaries()[3]);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Słownik: Statusy lokali"));
    EXPECT_EQ(data::Database::tableNameOf(form.openTable()), QStringLiteral("statlok"));
    EXPECT_EQ(form.DBGridDict->model()->rowCount(), 1);
    EXPECT_EQ(form.DBGridDict->model()->index(0, 0).data().toString(), QStringLiteral("komunalny"));
}

TEST_F(DictionaryWindows, AManagerWindowOpenWhileAnApplicationMarksItsManagerShowsTheMark) {
    admin::TFormSlownZarz form(ctx, [&] { ++closed; });
    form.showList();
    form.table().last();  // Wspólnota Lipowa, unused
    EXPECT_TRUE(admin::markManagerUsed(*db, QStringLiteral("Wspólnota Lipowa")));
    EXPECT_FALSE(test::answerModal([&] { form.ButtonPopraw->click(); }, [](QDialog &) {}));
    EXPECT_EQ(questions.texts(), QStringList{QStringLiteral("Pozycja była używana! Zmiana niemożliwa!")});
    EXPECT_TRUE(form.table().isOpen());
}

TEST_F(DictionaryWindows, AMissingDictionaryIsToldWithTheEnginesMessageAndNothingOpens) {
    db->deleteTable(QStringLiteral("ogrzlok"));
    admin::TFormSlowniki form(ctx, [&] { ++closed; });
    form.showFor(admin::valueDictionaries()[1]);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(questions.asked().size(), 1u);
    EXPECT_EQ(questions.count(test::ScriptedQuestions::Kind::Error), 1);
    form.close();
    EXPECT_EQ(closed, 0);
}
