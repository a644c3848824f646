// The placeholder catalogue on the current row of an application table.
#include "templates/FieldCatalogue.h"

#include "calc/AllowanceRecord.h"
#include "data/Table.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <functional>

using namespace varnel::templates;
using varnel::data::Table;
using varnel::test::TempDatabase;

namespace {

const QString Sp = QStringLiteral(" ");

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(varnel::data::applicationTableDef());
        table.open();
    }

    // One application, saved and current; `change` sets fields beyond the
    // required names.
    void add(const std::function<void(Table &)> &change = {}) {
        table.insert();
        set("Nazwisko", QStringLiteral("Wójcik"));
        set("Imie", QStringLiteral("Zofia"));
        if (change)
            change(table);
        table.post();
    }
    void set(const char *field, const QVariant &v) { table.field(QString::fromLatin1(field)).setVariant(v); }

    FieldValue value(const QString &name) { return FieldCatalogue(table, QDate(2024, 3, 5)).ObsluzBaze(name); }
    QString text(const QString &name) { return value(name).text; }

    TempDatabase db;
    Table table{*db, QStringLiteral("Aktualne")};
};

TEST(CatalogueNames, AreThe38OfTheEditorAndThreeMore) {
    EXPECT_EQ(decisionFieldNames().size(), 38);
    EXPECT_EQ(extraFieldNames(), (QStringList{QStringLiteral("Nazwisko i imię"), QStringLiteral("Uwagi"),
                                              QStringLiteral("Podpis")}));
    EXPECT_EQ(allFieldNames(), decisionFieldNames() + extraFieldNames());
    EXPECT_EQ(decisionFieldNames().first(), QStringLiteral("Adres"));
    EXPECT_EQ(decisionFieldNames().last(), QStringLiteral("Zarządca lokalu"));
    EXPECT_EQ(placeholder(QStringLiteral("Imię")), QStringLiteral("@<Imię>@"));
}

TEST_F(Catalogue, EveryNameOfTheListGivesAValueAndOthersAQuestionMark) {
    add([](Table &t) {
        t.field(QStringLiteral("Liczba_osob")).setInteger(2);
        t.field(QStringLiteral("Pow_uzytk")).setFloat(30);
    });
    for (const QString &name : allFieldNames())
        EXPECT_NE(text(name), QStringLiteral("?")) << name.toStdString();
    for (const QString &name : {QStringLiteral("imię"), QStringLiteral("Imie"), QString(), QStringLiteral("Imię "),
                                QStringLiteral("NAZWISKO")}) {
        const FieldValue v = value(name);
        EXPECT_EQ(v.text, QStringLiteral("?")) << name.toStdString();
        EXPECT_EQ(v.number, 0);
    }
}

TEST_F(Catalogue, TextFieldsAsStoredAndTheAddressWithOrWithoutStreet) {
    add([this](Table &) {
        set("Adres_miejsc", QStringLiteral("Łódź"));
        set("Adres_nr", QStringLiteral("12/4"));
        set("Numer_decyzji", QStringLiteral("DM.5342.17.2024"));
        set("Termin_platnosci", QStringLiteral("do 10 dnia miesiąca"));
        set("Zarzadca", QStringLiteral("Spółdzielnia Mieszkaniowa „Zgoda”"));
    });
    EXPECT_EQ(text(QStringLiteral("Adres")), QStringLiteral("Łódź 12/4"));
    EXPECT_EQ(text(QStringLiteral("Imię")), QStringLiteral("Zofia"));
    EXPECT_EQ(text(QStringLiteral("Nazwisko i imię")), QStringLiteral("Wójcik Zofia"));
    EXPECT_EQ(text(QStringLiteral("Nr wniosku")), QStringLiteral("DM.5342.17.2024"));
    EXPECT_EQ(text(QStringLiteral("Termin płatn.")), QStringLiteral("do 10 dnia miesiąca"));
    EXPECT_EQ(text(QStringLiteral("Zarządca lokalu")), QStringLiteral("Spółdzielnia Mieszkaniowa „Zgoda”"));
    EXPECT_EQ(text(QStringLiteral("Uwagi")), Sp);
    EXPECT_EQ(text(QStringLiteral("Podpis")), Sp);

    table.edit();
    set("Adres_ulica", QStringLiteral("Piotrkowska"));
    table.post();
    EXPECT_EQ(text(QStringLiteral("Adres")), QStringLiteral("Łódź ul.Piotrkowska 12/4"));

    // An empty text field: the placeholder disappears.
    table.edit();
    set("Termin_platnosci", QVariant());
    table.post();
    EXPECT_EQ(text(QStringLiteral("Termin płatn.")), QString());
}

TEST_F(Catalogue, NumbersArePaddedWithAPointAndAmountsCarryTheUnit) {
    add([this](Table &) {
        set("Liczba_osob", 3);
        set("Pow_normatywna", 45.0);
        set("Pow_uzytk", 52.125);
        set("Wydatki_czynsz", 412.5);
        set("OplatyDodatkowe", 37.5);
        set("Dochod_razem", 2400.0);
        set("Wyplata_calosc", 169.0);
        set("Wyplata_zarzadca", 125.01);
        set("Dodatek_wylicz", -12.345);
        set("Ryczalt_procent", 26.03);
    });
    EXPECT_EQ(text(QStringLiteral("Liczba osób")), QStringLiteral("  3"));
    EXPECT_EQ(value(QStringLiteral("Liczba osób")).number, 3);
    EXPECT_EQ(text(QStringLiteral("Pow. normatywna")), QStringLiteral(" 45"));
    // 52.125 is exact in binary: the half goes to the even digit.
    EXPECT_EQ(text(QStringLiteral("Pow. użytkowa")), QStringLiteral(" 52.12"));
    EXPECT_EQ(text(QStringLiteral("Czynsz")), QStringLiteral(" 412.50 zł"));
    EXPECT_EQ(value(QStringLiteral("Czynsz")).number, 412.5);
    EXPECT_EQ(text(QStringLiteral("Czynsz 90% (z opł.dod.)")), QStringLiteral(" 405.00 zł"));
    EXPECT_EQ(text(QStringLiteral("Opłata dodatkowa")), QStringLiteral("  37.50"));
    EXPECT_EQ(text(QStringLiteral("Łączny dochód")), QStringLiteral("2400.00 zł"));
    EXPECT_EQ(text(QStringLiteral("Dochód na osobę")), QStringLiteral("800.00 zł"));
    EXPECT_EQ(text(QStringLiteral("Wypłata (całość)")), QStringLiteral("169.00 zł"));
    EXPECT_EQ(text(QStringLiteral("Wypłata (zarządca)")), QStringLiteral("125.01 zł"));
    EXPECT_EQ(text(QStringLiteral("Dodatek wyliczony")), QStringLiteral(" -12.35 zł"));
    EXPECT_EQ(text(QStringLiteral("Ryczałt [udział %]")), QStringLiteral("26.03"));
    // The larger area divides the rent; Pow. max. by the kitchen switch.
    EXPECT_EQ(text(QStringLiteral("Pow.lok. lub pow.normat.")), QStringLiteral(" 52.12"));
    EXPECT_EQ(text(QStringLiteral("Czynsz/pow.")), QStringLiteral("  7.91 zł"));
    EXPECT_EQ(text(QStringLiteral("Pow. max.")), QStringLiteral(" 67.50"));
    table.edit();
    set("PowKuchniPonad60", QStringLiteral("Tak"));
    table.post();
    EXPECT_EQ(text(QStringLiteral("Pow. max.")), QStringLiteral(" 58.50"));
}

TEST_F(Catalogue, EmptyNumbersAreZeroAndEmptyDatesTheZeroDate) {
    add();
    EXPECT_EQ(text(QStringLiteral("Czynsz")), QStringLiteral("   0.00 zł"));
    EXPECT_EQ(value(QStringLiteral("Czynsz")).number, 0);
    EXPECT_EQ(text(QStringLiteral("Liczba osób")), QStringLiteral("  0"));
    EXPECT_EQ(text(QStringLiteral("Data urodz.")), QStringLiteral("30.12.1899"));
    EXPECT_EQ(text(QStringLiteral("Okres - od")), QStringLiteral("30.12.1899"));
    EXPECT_EQ(text(QStringLiteral("Dzisiejsza data")), QStringLiteral("05.03.2024"));

    table.edit();
    set("Okres_od", QDate(2024, 1, 1));
    set("Okres_do", QDate(2024, 6, 30));
    set("Data_zlozenia", QDate(2023, 12, 7));
    table.post();
    EXPECT_EQ(text(QStringLiteral("Okres - od")), QStringLiteral("01.01.2024"));
    EXPECT_EQ(text(QStringLiteral("Okres - do")), QStringLiteral("30.06.2024"));
    EXPECT_EQ(text(QStringLiteral("Data złoż. wniosku")), QStringLiteral("07.12.2023"));
    EXPECT_EQ(value(QStringLiteral("Okres - od")).number, 0);
}

TEST_F(Catalogue, LumpSumsAndTheCostOfKwh) {
    add([this](Table &) {
        set("Liczba_osob", 3);
        set("Pow_normatywna", 45.0);
        set("Pow_uzytk", 40.0);
        set("KosztKwh", 0.3);
    });
    for (const char *name : {"Ryczałt CO", "Ryczałt CW", "Ryczałt gaz"}) {
        const FieldValue v = value(QString::fromUtf8(name));
        EXPECT_EQ(v.text, QStringLiteral(" - ")) << name;
        EXPECT_EQ(v.number, 0) << name;
    }
    EXPECT_EQ(text(QStringLiteral("Koszt kWh")), QStringLiteral(" 0.3"));
    EXPECT_EQ(value(QStringLiteral("Koszt kWh")).number, 0);

    table.edit();
    set("Ryczalt_CO", true);
    set("Ryczalt_woda", true);
    set("Ryczalt_gaz", true);
    table.post();
    // CO on the smaller area: 40 * 5 * 0.3; CW 20 * 3 * 0.3; gas 2 * 2 * 0.3 + 10 * 0.3.
    EXPECT_EQ(text(QStringLiteral("Ryczałt CO")), QStringLiteral(" 60.00 zł"));
    EXPECT_NEAR(value(QStringLiteral("Ryczałt CO")).number, 60, 1e-9);
    EXPECT_EQ(text(QStringLiteral("Ryczałt CW")), QStringLiteral(" 18.00 zł"));
    EXPECT_EQ(text(QStringLiteral("Ryczałt gaz")), QStringLiteral("  4.20 zł"));

    table.edit();
    set("KosztKwh", 0.0);
    table.post();
    EXPECT_EQ(text(QStringLiteral("Koszt kWh")), QStringLiteral(" 0."));
    table.edit();
    set("KosztKwh", 1.0);
    table.post();
    EXPECT_EQ(text(QStringLiteral("Koszt kWh")), QStringLiteral(" 1."));
    table.edit();
    set("KosztKwh", 0.2505);
    table.post();
    EXPECT_EQ(text(QStringLiteral("Koszt kWh")), QStringLiteral(" 0.2505"));
}

TEST_F(Catalogue, TheIncomeShareIsTheCalculationsRuleAtItsEdges) {
    // One person at exactly 1.5 lowest pensions: the higher band from 2003.
    add([this](Table &) {
        set("Liczba_osob", 1);
        set("NajnEmeryt", 600.0);
        set("Dochod_razem", 900.0);
        set("Okres_od", QDate(2006, 1, 1));
    });
    EXPECT_EQ(text(QStringLiteral("Wydatki mieszk. [%]")), QStringLiteral("20"));
    EXPECT_EQ(value(QStringLiteral("Wydatki mieszk. [%]")).number, 20);
    EXPECT_EQ(text(QStringLiteral("Wydatki mieszk. [zł]")), QStringLiteral("180.00 zł"));
    EXPECT_EQ(varnel::calc::OkreslProcDochodu(table), 20);
    table.edit();
    set("Okres_od", QDate(2002, 6, 1));
    table.post();
    EXPECT_EQ(text(QStringLiteral("Wydatki mieszk. [%]")), QStringLiteral("15"));
    table.edit();
    set("Okres_od", QVariant());  // no period: the rules before 2003
    table.post();
    EXPECT_EQ(text(QStringLiteral("Wydatki mieszk. [%]")), QStringLiteral("15"));

    // Three persons at exactly 1.25 lowest pensions from 2005; a grosz above.
    table.edit();
    set("Liczba_osob", 3);
    set("Dochod_razem", 2250.0);
    set("Okres_od", QDate(2005, 2, 1));
    table.post();
    EXPECT_EQ(text(QStringLiteral("Wydatki mieszk. [%]")), QStringLiteral("15"));
    table.edit();
    set("Dochod_razem", 2250.03);
    table.post();
    EXPECT_EQ(text(QStringLiteral("Wydatki mieszk. [%]")), QStringLiteral("12"));
}

TEST_F(Catalogue, DivisionsByNoPersonsOrNoAreaGiveAQuestionMark) {
    add([this](Table &) { set("Dochod_razem", 1000.0); set("Wydatki_czynsz", 300.0); });
    for (const char *name : {"Dochód na osobę", "Wydatki mieszk. [%]", "Wydatki mieszk. [zł]", "Czynsz/pow."}) {
        const FieldValue v = value(QString::fromUtf8(name));
        EXPECT_EQ(v.text, QStringLiteral("?")) << name;
        EXPECT_EQ(v.number, 0) << name;
    }
    // The other names of the same row still have their values.
    EXPECT_EQ(text(QStringLiteral("Pow.lok. lub pow.normat.")), QStringLiteral("  0.00"));
    EXPECT_EQ(text(QStringLiteral("Łączny dochód")), QStringLiteral("1000.00 zł"));
}

TEST_F(Catalogue, ReadsTheRowBeingEdited) {
    add();
    table.edit();
    set("Imie", QStringLiteral("Ewa"));
    EXPECT_EQ(text(QStringLiteral("Imię")), QStringLiteral("Ewa"));
    table.cancel();
    EXPECT_EQ(text(QStringLiteral("Imię")), QStringLiteral("Zofia"));
}

}  // namespace
