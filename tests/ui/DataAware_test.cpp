#include "data/Layouts.h"
#include "data/Table.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"
#include "ui/DataGrid.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using data::TableState;

namespace {

class DataAware : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        for (const char *n : {"Nowak", "Adamczyk", "Łoś"}) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(n));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Liczba_osob")).setInteger(2);
            t.post();
        }
        table.setFieldNames(data::applicationFieldNames());
        table.open();
        table.setIndexName(QStringLiteral("NazwNdx"));
        source.setTable(&table);
        source.setQuestions(&questions);
    }

    test::TempDatabase db;
    Table table{*db, QStringLiteral("Aktualne")};
    ui::DataSource source;
    test::ScriptedQuestions questions;
};

}  // namespace

TEST_F(DataAware, GridShowsRowsInIndexOrderAndFollowsTheCursorBothWays) {
    ui::DataGrid grid;
    grid.setColumns({{QStringLiteral("Nazwisko"), QStringLiteral("Nazwisko"), 20}});
    grid.setTable(&table);
    grid.resize(300, 200);
    ASSERT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.model()->index(1, 0).data().toString(), QStringLiteral("Łoś"));

    table.last();
    EXPECT_EQ(grid.currentIndex().row(), 2);
    grid.setCurrentIndex(grid.model()->index(0, 0));
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(table.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Adamczyk"));

    table.insert();
    table.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Bąk"));
    table.field(QStringLiteral("Imie")).setString(QStringLiteral("Ala"));
    table.post();
    EXPECT_EQ(grid.model()->rowCount(), 4);
    EXPECT_EQ(grid.currentIndex().row(), 1);
}

TEST_F(DataAware, TypingPutsTheRowIntoEditingAndIsWrittenBeforeThePost) {
    table.first();
    ui::DbLineEdit edit;
    edit.bind(&source, QStringLiteral("Adres_miejsc"));
    ui::DbLineEdit persons;
    persons.bind(&source, QStringLiteral("Liczba_osob"));
    EXPECT_EQ(persons.text(), QStringLiteral("2"));

    edit.setFocus();
    QTest::keyClicks(&edit, QStringLiteral("Opole"));
    EXPECT_EQ(table.state(), TableState::Edit);
    EXPECT_TRUE(edit.isPending());
    table.post();  // no focus change: the pending text still reaches the row
    EXPECT_EQ(table.field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("Opole"));

    table.next();
    EXPECT_EQ(table.field(QStringLiteral("Adres_miejsc")).asString(), QString());
    EXPECT_EQ(edit.text(), QString());  // the next row's value
}

TEST_F(DataAware, TextAFieldCannotHoldIsRefusedNamingTheFieldAndNothingIsStored) {
    ui::DbLineEdit persons;
    persons.bind(&source, QStringLiteral("Liczba_osob"));
    persons.setCaption(QStringLiteral("Liczba osób"));
    persons.setRange(0, 99);

    persons.setText(QString());
    QTest::keyClicks(&persons, QStringLiteral("dwa"));
    EXPECT_THROW(table.post(), core::FieldValueError);
    EXPECT_EQ(table.state(), TableState::Edit);
    EXPECT_EQ(table.field(QStringLiteral("Liczba_osob")).asInteger(), 2);

    persons.selectAll();
    QTest::keyClicks(&persons, QStringLiteral("-3"));
    try {
        persons.store();
        FAIL();
    } catch (const core::FieldValueError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Liczba osób")));
    }
    // Beyond the field's own range (smallint), whatever the engine's wording.
    ui::DbLineEdit wheelchair;
    wheelchair.bind(&source, QStringLiteral("IlOsobNaWozku"));
    wheelchair.setCaption(QStringLiteral("Osoby na wózku"));
    QTest::keyClicks(&wheelchair, QStringLiteral("70000"));
    try {
        wheelchair.store();
        FAIL();
    } catch (const core::FieldValueError &e) {
        EXPECT_EQ(e.kind(), core::FieldValueError::Kind::OutOfRange);
        EXPECT_EQ(e.message(), QStringLiteral("Pole „Osoby na wózku”: wartość 70000 jest poza dopuszczalnym zakresem."));
    }
    wheelchair.setText(QStringLiteral("1"));

    persons.selectAll();
    QTest::keyClicks(&persons, QStringLiteral("4"));
    table.post();
    EXPECT_EQ(table.field(QStringLiteral("Liczba_osob")).asInteger(), 4);
}

TEST_F(DataAware, CheckBoxesWriteAtOnceAndCancelRestoresEveryControl) {
    ui::DbCheckBox co(QStringLiteral("CO"));
    co.bind(&source, QStringLiteral("Ryczalt_CO"));
    ui::DbCheckBox kitchen(QStringLiteral("60%"));
    kitchen.bind(&source, QStringLiteral("PowKuchniPonad60"));
    ui::DbComboBox title;
    title.setSorted(true);
    title.setItems({QStringLiteral("najem"), QStringLiteral("brak tytułu prawnego"), QStringLiteral("ąb")});
    title.bind(&source, QStringLiteral("Tytul_prawny"));
    EXPECT_EQ(title.itemText(0), QStringLiteral("ąb"));
    EXPECT_EQ(title.itemText(1), QStringLiteral("brak tytułu prawnego"));

    co.click();
    kitchen.click();
    EXPECT_TRUE(table.field(QStringLiteral("Ryczalt_CO")).asBoolean());
    EXPECT_EQ(table.field(QStringLiteral("PowKuchniPonad60")).asString(), QStringLiteral("Tak"));
    table.cancel();
    EXPECT_FALSE(co.isChecked());
    EXPECT_FALSE(kitchen.isChecked());
}

TEST_F(DataAware, RadioGroupsStoreTheChosenTextAndShowNoChoiceForAnyOther) {
    ui::DbRadioGroup status(QStringLiteral("Status:"));
    status.setItems({QStringLiteral("najem"), QStringLiteral("własność ")});
    status.bind(&source, QStringLiteral("Status_lokalu"));
    EXPECT_EQ(status.itemIndex(), -1);  // blank

    status.button(1)->click();
    EXPECT_EQ(table.state(), TableState::Edit);
    EXPECT_EQ(table.field(QStringLiteral("Status_lokalu")).asString(), QStringLiteral("własność "));
    table.post();
    // A stored text that lost its trailing blank still chooses its item;
    // one that matches no item chooses none, also after a choice.
    table.edit();
    table.field(QStringLiteral("Status_lokalu")).setString(QStringLiteral("własność"));
    EXPECT_EQ(status.itemIndex(), 1);
    table.field(QStringLiteral("Status_lokalu")).setString(QStringLiteral("dzierżawa"));
    EXPECT_EQ(status.itemIndex(), -1);
    EXPECT_FALSE(status.button(0)->isChecked());
    EXPECT_FALSE(status.button(1)->isChecked());
    table.cancel();
    EXPECT_EQ(status.itemIndex(), 1);
}

TEST_F(DataAware, EarlyDatesAndControlCharactersAreRefusedInPolishNamingTheField) {
    ui::DbLineEdit born;
    born.bind(&source, QStringLiteral("Data_urodz"));
    born.setCaption(QStringLiteral("Data urodzenia"));
    for (const QString &typed : {QStringLiteral("01.05.1800"), QStringLiteral("30.12.1899"), QStringLiteral("0001-01-01")}) {
        born.setText(QString());
        QTest::keyClicks(&born, typed);
        try {
            born.store();
            ADD_FAILURE() << typed.toStdString();
        } catch (const core::FieldValueError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Pole „Data urodzenia”: data ")) && e.message().contains(QStringLiteral("jest wcześniejsza niż 01.01.1900")))
                << e.message().toStdString();
        }
    }
    EXPECT_TRUE(table.field(QStringLiteral("Data_urodz")).isNull());
    born.setText(QString());
    QTest::keyClicks(&born, QStringLiteral("01.01.1900"));
    born.store();
    EXPECT_EQ(table.field(QStringLiteral("Data_urodz")).asDate(), QDate(1900, 1, 1));

    ui::DbLineEdit street;
    street.bind(&source, QStringLiteral("Adres_ulica"));
    street.setCaption(QStringLiteral("Ulica"));
    street.setText(QString());
    QTest::keyClicks(&street, QStringLiteral("Lipowa"));
    street.insert(QStringLiteral("\x1b[2J"));  // as pasted
    try {
        street.store();
        FAIL();
    } catch (const core::FieldValueError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Pole „Ulica”: tekst zawiera niedozwolony znak sterujący (U+001B)."));
    }
    EXPECT_TRUE(table.field(QStringLiteral("Adres_ulica")).isNull());
    street.load();

    // Spaces alone in a required field are no first name.
    ui::DbLineEdit name;
    name.bind(&source, QStringLiteral("Imie"));
    name.selectAll();
    QTest::keyClicks(&name, QStringLiteral("   "));
    name.store();
    EXPECT_THROW(table.post(), core::RequiredFieldError);
}

// ---------------------------------------------------------------------------
// A table that goes away under its grid, and the lifetime of the bindings

TEST_F(DataAware, AGridWhoseTableWasRenamedByAnotherCursorShowsEmptyAndTellsOnce) {
    ui::DataGrid grid;
    grid.setQuestions(&questions);
    grid.setColumns({{QStringLiteral("Nazwisko"), QStringLiteral("Nazwisko"), 20}});
    grid.setTable(&table);
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();
    ASSERT_EQ(grid.model()->rowCount(), 3);

    db->renameTable(QStringLiteral("Aktualne"), QStringLiteral("Stare"));
    grid.viewport()->repaint();  // reads rows of a table that is not there
    QApplication::processEvents();
    EXPECT_EQ(grid.model()->rowCount(), 0);
    ASSERT_EQ(questions.texts(test::ScriptedQuestions::Kind::Error).size(), 1);
    EXPECT_TRUE(questions.texts(test::ScriptedQuestions::Kind::Error).first().contains(QStringLiteral("Aktualne")));
    grid.viewport()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(questions.asked().size(), 1u);  // told once, not at every paint

    // Opened again on the table's new name, the grid shows its rows.
    table.close();
    table.setTableName(QStringLiteral("Stare"));
    table.open();
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_FALSE(grid.model()->index(0, 0).data().toString().isEmpty());
}

TEST_F(DataAware, ATableDestroyedFirstUnbindsItsGridAndItsControls) {
    auto other = std::make_unique<Table>(*db, QStringLiteral("Aktualne"));
    other->setFieldNames(data::applicationFieldNames());
    other->open();
    ui::DataGrid grid;
    grid.setTable(other.get());
    ui::DataSource source2;
    source2.setTable(other.get());
    ui::DbLineEdit name;
    name.bind(&source2, QStringLiteral("Nazwisko"));
    EXPECT_EQ(name.text(), QStringLiteral("Nowak"));

    other.reset();
    EXPECT_EQ(source2.table(), nullptr);
    EXPECT_EQ(grid.tableModel()->table(), nullptr);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_TRUE(name.text().isEmpty());
    grid.repaint();
    source2.reloadControls();
}

TEST_F(DataAware, AModelOrSourceDestroyedFirstIsNoLongerTold) {
    {
        ui::DataGrid grid;
        grid.setTable(&table);
        ui::DataSource source2;
        source2.setTable(&table);
        ui::DbLineEdit name;
        name.bind(&source2, QStringLiteral("Nazwisko"));
    }
    // The table goes on with its edits and moves, telling nobody gone.
    table.first();
    table.edit();
    table.field(QStringLiteral("Imie")).setString(QStringLiteral("Ola"));
    table.post();
    table.next();
    EXPECT_EQ(table.recNo(), 2);
}

TEST_F(DataAware, TheLumpSumPercentageShowsWithThreeSignificantDigitsInGridsAndBoxes) {
    // Stored values as the calculation rounds them; the grid column asks for
    // nothing special, the field's own format applies.
    const std::pair<double, const char *> values[] = {{19.1, "19.1"}, {7.13, "7.13"}, {26.03, "26"}};
    table.first();
    for (const auto &[v, shown] : values) {
        table.edit();
        table.field(QStringLiteral("Ryczalt_procent")).setFloat(v);
        table.post();
        table.next();
    }
    ui::DataGrid grid;
    grid.setColumns({{QStringLiteral("Ryczalt_procent"), QStringLiteral("Ryczalt_procent"), 8}});
    grid.setTable(&table);
    ui::DbLineEdit box;
    box.bind(&source, QStringLiteral("Ryczalt_procent"));
    table.first();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(grid.model()->index(row, 0).data().toString(), QString::fromLatin1(values[row].second));
        EXPECT_EQ(box.text(), QString::fromLatin1(values[row].second));
        table.next();
    }
    // Other floats keep their plain form.
    const data::FieldDef area{QStringLiteral("Pow_uzytk"), data::FieldType::Float, 0, false};
    EXPECT_EQ(ui::displayText(area, 26.03), QStringLiteral("26.03"));
    const data::FieldDef percent{QStringLiteral("Ryczalt_procent"), data::FieldType::Float, 0, false};
    EXPECT_EQ(ui::displayText(percent, 100.0), QStringLiteral("100"));
    EXPECT_EQ(ui::displayText(percent, 12345.0), QStringLiteral("12345"));  // never an exponent
}

TEST_F(DataAware, AGridPaintedAfterAnotherConnectionAddedRowsShowsThemAll) {
    ui::DataGrid grid;
    grid.setColumns({{QStringLiteral("Nazwisko"), QStringLiteral("Nazwisko"), 20}});
    grid.setTable(&table);
    grid.resize(300, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    ASSERT_EQ(grid.model()->rowCount(), 3);
    {
        auto second = db->openSecondConnection();
        Table other(*second, QStringLiteral("Aktualne"));
        other.open();
        other.insert();
        other.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Bąk"));
        other.field(QStringLiteral("Imie")).setString(QStringLiteral("Ewa"));
        other.post();
    }
    // The grid reads the rows again before it paints, and is told right after.
    grid.viewport()->repaint();
    QApplication::processEvents();
    ASSERT_EQ(grid.model()->rowCount(), 4);
    QStringList shown;
    for (int r = 0; r < 4; ++r)
        shown << grid.model()->index(r, 0).data().toString().trimmed();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Adamczyk"), QStringLiteral("Bąk"), QStringLiteral("Łoś"), QStringLiteral("Nowak")}));
}
