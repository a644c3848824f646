// LiczDodatek / LiczDodatekOld on the current record of an application table.
#include "calc/AllowanceRecord.h"
#include "data/Table.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace varnel::calc;
using namespace varnel::data;
using varnel::test::ScriptedQuestions;
using varnel::test::TempDatabase;

namespace {

const QPoint Pos(200, 300);

// The three-person example: 169.00 paid, 43.99 to the applicant.
void threePersons(Table &t) {
    t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nowak"));
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Anna"));
    t.field(QStringLiteral("Liczba_osob")).setInteger(3);
    t.field(QStringLiteral("Pow_uzytk")).setFloat(50);
    t.field(QStringLiteral("PowKuchniPonad60")).setString(QStringLiteral("Nie"));
    t.field(QStringLiteral("Wydatki_czynsz")).setCurrency(400);
    t.field(QStringLiteral("OplatyDodatkowe")).setCurrency(50);
    t.field(QStringLiteral("Ryczalt_CO")).setBoolean(true);
    t.field(QStringLiteral("Ryczalt_woda")).setBoolean(true);
    t.field(QStringLiteral("KosztKwh")).setFloat(0.5);
    t.field(QStringLiteral("Dochod_razem")).setCurrency(2400);
    t.field(QStringLiteral("NajnEmeryt")).setCurrency(600);
    t.field(QStringLiteral("WskProc")).setInteger(70);
    t.field(QStringLiteral("Ryczalt_do_rak")).setBoolean(true);
    t.field(QStringLiteral("Okres_od")).setDate(QDate(2006, 3, 1));
    t.field(QStringLiteral("Wydatki_razem90")).setCurrency(123.45);
    t.field(QStringLiteral("Pow_normatywna")).setFloat(99);
}

class AllowanceRecord : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(applicationTableDef());
        table.open();
    }

    // Adds one application and leaves it current and saved.
    void add(const std::function<void(Table &)> &change = {}) {
        table.insert();
        threePersons(table);
        if (change)
            change(table);
        table.post();
    }

    double num(const char *field) { return table.field(QString::fromLatin1(field)).asFloat(); }
    // The stored row, read through a second cursor.
    double stored(const char *field) {
        Table other(*db, QStringLiteral("Aktualne"));
        other.open();
        other.gotoRowId(table.rowId());
        return other.field(QString::fromLatin1(field)).asFloat();
    }

    TempDatabase db;
    Table table{*db, QStringLiteral("Aktualne")};
    ScriptedQuestions q;
    bool valid = false;
    bool goOn = false;
};

}  // namespace

TEST_F(AllowanceRecord, WorkedExampleIsStoredAndTheRecordSaved) {
    add();
    const AllowanceDisplay d = LiczDodatek(table, true, Pos, true, valid, goOn, q);
    EXPECT_TRUE(valid);
    EXPECT_TRUE(goOn);
    EXPECT_EQ(table.state(), TableState::Browse);
    const std::pair<const char *, double> expected[] = {
        {"Pow_normatywna", 45},     {"Wydatki_wg_pow", 405},   {"RyczaltMax", 142.5},
        {"Wydatki_razem", 547.5},   {"Wydatki_razem90", 507},  {"Ryczalt_procent", 26.03},
        {"Wyplata_calosc", 169},    {"Wyplata_ryczalt", 43.99}, {"Wyplata_zarzadca", 125.01},
        {"Dodatek_wylicz", 219}};
    for (auto [field, value] : expected)
        EXPECT_EQ(stored(field), value) << field;
    EXPECT_EQ(stored("ObliczeniaOK"), 1);
    EXPECT_EQ(d.labelM07, QStringLiteral("*0.70= 383.25"));
    EXPECT_EQ(d.labelC09, QStringLiteral("*0,9= 364.50"));
    EXPECT_EQ(d.panelResults, Visibility::Shown);
}

TEST_F(AllowanceRecord, PendingChangesAreSavedFirst) {
    // A record being inserted is posted before the calculation.
    table.insert();
    threePersons(table);
    LiczDodatek(table, false, Pos, true, valid, goOn, q);
    EXPECT_FALSE(table.isEditing());
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(stored("Wyplata_calosc"), 169);

    // A record being edited keeps the clerk's change.
    table.edit();
    table.field(QStringLiteral("Dochod_razem")).setCurrency(1800);  // E per member: p = 15
    LiczDodatek(table, false, Pos, true, valid, goOn, q);
    EXPECT_EQ(stored("Dochod_razem"), 1800);
    EXPECT_EQ(stored("Dodatek_wylicz"), 237);  // 507 - 270
}

TEST_F(AllowanceRecord, FailedChecksClearAmountsButKeepCorrectedExpensesAndNorm) {
    add();
    LiczDodatek(table, true, Pos, true, valid, goOn, q);  // fills the amounts
    table.edit();
    table.field(QStringLiteral("Liczba_osob")).setInteger(0);
    table.field(QStringLiteral("Pow_normatywna")).setFloat(99);
    table.post();
    const AllowanceDisplay d = LiczDodatek(table, true, Pos, true, valid, goOn, q);
    EXPECT_FALSE(valid);
    EXPECT_FALSE(table.isEditing());
    for (const char *f : {"Wydatki_wg_pow", "RyczaltMax", "Wydatki_razem", "Ryczalt_procent", "Wyplata_calosc",
                          "Wyplata_ryczalt", "Wyplata_zarzadca", "Dodatek_wylicz", "ObliczeniaOK"})
        EXPECT_EQ(stored(f), 0) << f;
    EXPECT_EQ(stored("Wydatki_razem90"), 507);  // unchanged
    EXPECT_EQ(stored("Pow_normatywna"), 99);    // checks failed before the norm
    EXPECT_EQ(d.panelResults, Visibility::Hidden);
    EXPECT_EQ(d.labelM07, QString());
}

TEST_F(AllowanceRecord, AreaLimitFailureKeepsTheNormWritten) {
    add([](Table &t) { t.field(QStringLiteral("Pow_uzytk")).setFloat(70); });
    LiczDodatek(table, true, Pos, false, valid, goOn, q);
    EXPECT_FALSE(valid);
    EXPECT_EQ(stored("Pow_normatywna"), 45);
    EXPECT_EQ(stored("Wydatki_razem90"), 123.45);
    EXPECT_TRUE(q.asked().empty());
}

TEST_F(AllowanceRecord, BlankPeriodStartMeansTheRulesBefore2003) {
    add([](Table &t) {
        t.field(QStringLiteral("Okres_od")).clear();
        t.field(QStringLiteral("Dochod_razem")).setCurrency(1800);  // E per member
    });
    LiczDodatek(table, true, Pos, true, valid, goOn, q);
    EXPECT_EQ(stored("Dodatek_wylicz"), 291);  // 507 - 12 % of 1800
}

TEST_F(AllowanceRecord, EarlierRulesNeverWriteTheCorrectedExpenses) {
    add([](Table &t) {
        t.field(QStringLiteral("Liczba_osob")).setInteger(2);
        t.field(QStringLiteral("Pow_uzytk")).setFloat(40);
        t.field(QStringLiteral("Wydatki_czynsz")).setCurrency(200);
        t.field(QStringLiteral("OplatyDodatkowe")).setCurrency(0);
        t.field(QStringLiteral("Ryczalt_CO")).setBoolean(false);
        t.field(QStringLiteral("Ryczalt_woda")).setBoolean(false);
        t.field(QStringLiteral("Dochod_razem")).setCurrency(1000);
        t.field(QStringLiteral("NajnEmeryt")).setCurrency(500);
    });
    const AllowanceDisplay d = LiczDodatekOld(table, true, Pos, true, valid, goOn, q);
    EXPECT_TRUE(valid);
    EXPECT_EQ(stored("Wyplata_calosc"), 80);
    EXPECT_EQ(stored("Wydatki_razem90"), 123.45);
    EXPECT_FALSE(d.labelM07);
}

TEST_F(AllowanceRecord, AFailingQuestionAbandonsTheCalculation) {
    struct Failing : ScriptedQuestions {
        bool kontynuujPrzerwij(const QString &, QPoint) override { throw std::runtime_error("icon"); }
    } failing;
    add([](Table &t) { t.field(QStringLiteral("Tytul_prawny")).setString(QStringLiteral("brak tytułu prawnego")); });
    EXPECT_THROW(LiczDodatek(table, true, Pos, true, valid, goOn, failing), std::runtime_error);
    EXPECT_FALSE(table.isEditing());
    EXPECT_EQ(stored("Wyplata_calosc"), 0);  // never computed
    EXPECT_EQ(stored("Pow_normatywna"), 99);
}
