// The statement of expenditure over application tables.
#include "totals/Totals.h"

#include "calc/ArchiveList.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/Program.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::totals;
using data::Table;

namespace {

struct App {
    const char *surname;
    double calosc;
    const char *status = "komunalne";
    const char *zarzadca = "ZGM";
    QDate okresOd = QDate(2006, 1, 1);
    double zarzadcaPart = 0;
    double ryczalt = 0;
};

class Totals : public ::testing::Test {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::addManager(*db, QStringLiteral("ZGM"), true);
        test::addManager(*db, QStringLiteral("Spółdzielnia Jutrzenka"), false);
    }
    void add(const QString &table, std::initializer_list<App> apps) {
        if (!db->tableExists(table))
            db->createTable(data::applicationTableDef(table));
        Table t(*db, table);
        t.open();
        for (const App &a : apps) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(a.surname));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Wyplata_calosc")).setCurrency(a.calosc);
            t.field(QStringLiteral("Wyplata_zarzadca")).setCurrency(a.zarzadcaPart);
            t.field(QStringLiteral("Wyplata_ryczalt")).setCurrency(a.ryczalt);
            t.field(QStringLiteral("Status_lokalu")).setString(QString::fromUtf8(a.status));
            t.field(QStringLiteral("Zarzadca")).setString(QString::fromUtf8(a.zarzadca));
            t.field(QStringLiteral("Okres_od")).setDate(a.okresOd);
            t.post();
        }
    }
    Statement run(const TotalsOptions &o, const QStringList &tables = {QStringLiteral("Aktualne")}) {
        messages.clear();
        return computeStatement(*db, tables, o, [this](const QString &m) { messages << m; });
    }

    test::TempDatabase db;
    QStringList messages;
};

TotalsOptions withDemand(const QString &wzor = QStringLiteral("automatycznie")) {
    TotalsOptions o;
    o.liczDotacje = true;
    o.wzor = wzor;
    return o;
}

}  // namespace

TEST_F(Totals, AnEmptyRegisterGivesZerosAndNoDemand) {
    const Statement s = run(withDemand());
    EXPECT_EQ(s.totals.count, 0);
    EXPECT_EQ(s.totals.suma, 0);
    EXPECT_FALSE(s.demandComputed);
    EXPECT_EQ(s.dotacja, 0);
    EXPECT_TRUE(s.labelProc.isEmpty());
    EXPECT_TRUE(s.warnings.isEmpty());
    EXPECT_EQ(formatAmount(s.totals.suma), QStringLiteral("    0.00"));
}

TEST_F(Totals, SplitsByExactStatusAndALetterOfAnotherCaseCountsAsOther) {
    add(QStringLiteral("Aktualne"), {{"A", 100.10, "komunalne"},
                                     {"B", 200.20, "Komunalne"},
                                     {"C", 300.30, "spółdzielcze"},
                                     {"D", 400.40, "zakładowe"},
                                     {"E", 0.01, ""},
                                     {"F", 10, "komunalne"}});
    const Statement s = run({});
    EXPECT_EQ(s.totals.count, 6);
    EXPECT_EQ(s.totals.suma, 101101);
    EXPECT_EQ(s.totals.komunal, 11010);
    EXPECT_EQ(s.totals.spoldz, 30030);
    EXPECT_EQ(s.totals.zaklad, 40040);
    EXPECT_EQ(s.totals.inne, 20021);
    EXPECT_EQ(formatAmount(s.totals.suma), QStringLiteral(" 1011.01"));
    EXPECT_FALSE(s.liczDotacje);
}

TEST_F(Totals, WhichApplicationsCountByListChoiceManagerAndPeriod) {
    add(QStringLiteral("Aktualne"), {{"Zero", 0},
                                     {"Paid", 50, "komunalne", "ZGM", QDate(2006, 3, 1), 30},
                                     {"Lump", 20, "komunalne", "zgm", QDate(2006, 3, 31), 0, 20},
                                     {"Early", 10, "komunalne", "ZGM", QDate(2006, 2, 28)},
                                     {"Late", 10, "komunalne", "ZGM", QDate(2006, 4, 1)}});
    TotalsOptions o;
    o.kogo = QStringLiteral("Tylko z dodatkiem");
    EXPECT_EQ(run(o).totals.count, 4) << "a record with Wyplata_calosc 0 is neither counted nor totalled";
    o.kogo = QStringLiteral("Z wypłatą dla zarządcy");  // the stored text may lose its trailing blank
    EXPECT_EQ(run(o).totals.suma, 5000);
    o.kogo = QStringLiteral("Z wyplatą ryczałtu");
    EXPECT_EQ(run(o).totals.suma, 2000);

    o.kogo = QStringLiteral("Wszystkich");
    o.wszyscy = false;
    o.dlaZarzadcy = QStringLiteral("ZGM");
    EXPECT_EQ(run(o).totals.count, 4) << "the manager is compared exactly, letter case included";

    o.wszyscy = true;
    o.ctrlOkres = true;
    o.dataPrzyslOd = QDate(2006, 3, 1);
    o.dataPrzyslDo = QDate(2006, 3, 31);
    const Statement s = run(o);
    EXPECT_EQ(s.totals.count, 2) << "both bounds of the period are inclusive";
    EXPECT_EQ(s.totals.suma, 7000);

    o.kogo = QString();
    EXPECT_EQ(run(o).totals.count, 0) << "no item chosen counts nothing";
}

TEST_F(Totals, AutomaticFormulaSwitchesExactlyAtAQuarterAndTwoFifths) {
    // dk / Suma = 0.25 exactly (250 of 1000).
    add(QStringLiteral("Aktualne"), {{"A", 250, "komunalne", "ZGM"}, {"B", 750, "spółdzielcze", "Spółdzielnia Jutrzenka"}});
    Statement s = run(withDemand());
    EXPECT_EQ(s.formula, Formula::Dk02Dp05);
    EXPECT_DOUBLE_EQ(s.dotacja, 0.2 * 250 + 0.5 * 750);
    EXPECT_EQ(s.labelDotacja, QStringLiteral("(0,2 dk + 0,5 dp)"));
    EXPECT_EQ(s.labelProc, QStringLiteral("tj 25.00 %"));

    // 0.4 exactly (400 of 1000).
    add(QStringLiteral("ar011999"), {{"A", 400, "komunalne", "ZGM"}, {"B", 600, "", "Spółdzielnia Jutrzenka"}});
    s = run(withDemand(), {QStringLiteral("ar011999")});
    EXPECT_EQ(s.formula, Formula::Dk04Dp03);
    EXPECT_DOUBLE_EQ(s.dotacja, 0.4 * 400 + 0.3 * 600);
    EXPECT_EQ(s.labelDotacja, QStringLiteral("(0,4 dk + 0,3 dp)"));

    // Just under a quarter: 249.99 of 999.99.
    add(QStringLiteral("ar021999"), {{"A", 249.99, "komunalne", "ZGM"}, {"B", 750, "", "Spółdzielnia Jutrzenka"}});
    s = run(withDemand(), {QStringLiteral("ar021999")});
    EXPECT_EQ(s.formula, Formula::Dp07);
    EXPECT_EQ(formatAmount(s.dotacja), QStringLiteral("  525.00"));

    // A formula chosen is used whatever the share, and the totals of several
    // tables add up before the demand is computed.
    s = run(withDemand(QStringLiteral("wg wzoru:  0 dk + 0,7 dp")), {QStringLiteral("Aktualne"), QStringLiteral("ar011999")});
    EXPECT_EQ(s.formula, Formula::Dp07);
    EXPECT_EQ(s.totals.dk, 65000);
    EXPECT_EQ(s.totals.dp, 135000);
    EXPECT_DOUBLE_EQ(s.dotacja, 0.7 * 1350);
    EXPECT_EQ(s.labelDotacja, QStringLiteral("(0 dk + 0,7 dp)"));
    EXPECT_EQ(s.labelProc, QStringLiteral("tj 32.50 %"));
}

TEST_F(Totals, MissingAndUnknownManagersAreToldPerRecordAndWarnedInOrder) {
    add(QStringLiteral("Aktualne"), {{"Bez", 10, "komunalne", ""},
                                     {"Dobry", 20, "komunalne", "ZGM"},
                                     {"Obcy", 30, "komunalne", "Nieznany Zarządca"},
                                     {"Wielki", 40, "komunalne", "zgm"}});
    Statement s = run(withDemand());
    EXPECT_EQ(messages, (QStringList{QStringLiteral("Brak zarządcy we wniosku: Bez Jan"),
                                     QStringLiteral("Nie istniejący zarządca  Nieznany Zarządca  we wniosku: Obcy Jan")}));
    EXPECT_EQ(s.warnings, (QStringList{WarningNoManager, WarningUnknownManager, WarningDemand}));
    // The dictionary finds a manager whatever the case of its letters, as
    // its index does; the unknown one counts in Suma but in neither dk nor dp.
    EXPECT_EQ(s.totals.dk, 6000);
    EXPECT_EQ(s.totals.dp, 0);
    EXPECT_EQ(s.totals.suma, 10000);

    add(QStringLiteral("ar011999"), {{"Obcy", 30, "komunalne", "Inny"}});
    s = run(withDemand(), {QStringLiteral("ar011999")});
    EXPECT_EQ(s.warnings, (QStringList{WarningUnknownManager, WarningDemand}));

    // Without the demand the managers are not looked at.
    s = run({});
    EXPECT_TRUE(s.warnings.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Totals, RangeStartsAtItsEntryAndEndsAfterTheLastMonthNotLater) {
    const auto entry = [](int month, int year) {
        calc::ArchiveEntry e;
        e.key = QDate(year, month, 1);
        e.fileName = QStringLiteral("ar%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(year);
        return e;
    };
    const QVector<calc::ArchiveEntry> all{entry(1, 1999), entry(2, 1999), entry(4, 1999), entry(5, 1999)};
    const auto names = [](const QVector<calc::ArchiveEntry> &es) {
        QStringList out;
        for (const auto &e : es)
            out << e.fileName;
        return out;
    };
    EXPECT_EQ(names(rangeEntries(all, QDate(1999, 2, 1), QDate(1999, 4, 1))), (QStringList{"ar021999", "ar041999"}));
    EXPECT_TRUE(rangeEntries(all, QDate(1999, 3, 1), QDate(1999, 5, 1)).isEmpty()) << "a start entry not in the list totals nothing";
    EXPECT_EQ(names(rangeEntries(all, QDate(1999, 5, 1), QDate(1999, 5, 1))), (QStringList{"ar051999"}));
}

TEST_F(Totals, CaptionsAndTheStoredOptions) {
    EXPECT_EQ(monthCaption(QStringLiteral("Aktualne")), QStringLiteral("Zestawienie wydatków: wnioski bieżące"));
    EXPECT_EQ(monthCaption(QStringLiteral("ar041999")), QStringLiteral("Zestawienie wydatków: kwiecień 1999"));
    EXPECT_EQ(rangeCaption(QDate(1999, 1, 1), QDate(2000, 3, 1)),
              QStringLiteral("Zest. wydatków:   styczeń 1999 - marzec  2000"));

    // The settings row as the window keeps it.
    TotalsOptions o = withDemand(wzorItems()[3]);
    o.kogo = kogoItems()[2];
    o.ctrlOkres = true;
    o.dataPrzyslOd = QDate(2006, 1, 1);
    o.wszyscy = false;
    o.dlaZarzadcy = QStringLiteral("ZGM");
    {
        Table t(*db, QStringLiteral("skladlic"));
        t.open();
        t.insert();
        setTotalsOptions(t, o);
        t.post();
    }
    const TotalsOptions back = readTotalsOptions(*db);
    EXPECT_EQ(back.kogo, o.kogo);
    EXPECT_EQ(back.wzor, o.wzor);
    EXPECT_EQ(back.dataPrzyslOd, o.dataPrzyslOd);
    EXPECT_FALSE(back.dataPrzyslDo.isValid() && back.dataPrzyslDo > QDate(1900, 1, 1));
    EXPECT_EQ(back.dlaZarzadcy, QStringLiteral("ZGM"));
    EXPECT_TRUE(back.liczDotacje && back.ctrlOkres && !back.wszyscy);
}

TEST_F(Totals, CsvHoldsTheOptionsAndEveryFigureQuotedWhereNeeded) {
    add(QStringLiteral("Aktualne"), {{"A", 250, "komunalne", "ZGM"}, {"B", 750, "spółdzielcze", "Spółdzielnia Jutrzenka"}});
    const TotalsOptions o = withDemand();
    const Statement s = run(o);
    const QString csv = QString::fromUtf8(statementCsv(monthCaption(QStringLiteral("Aktualne")), o, s));
    const QStringList lines = csv.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QStringLiteral("pozycja,wartość"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Kwota przyzn. dodatków :,1000.00")));
    EXPECT_TRUE(lines.contains(QStringLiteral("spółdzielczych,750.00")));
    EXPECT_TRUE(lines.contains(QStringLiteral("\"dotacja: (0,2 dk + 0,5 dp)\",425.00")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Znaleziono wniosków:,2")));
}
