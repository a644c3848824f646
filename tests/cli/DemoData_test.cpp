#include "calc/BulkRecalc.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "cli/TableCsv.h"
#include "data/Database.h"
#include "data/Table.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace varnel::cli;
using namespace varnel::data;

namespace {

struct DemoDatabase {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = createOfficeDatabase(dir.path());
};

QString applications(Database &db) {
    QString text;
    QTextStream out(&text);
    exportTableCsv(db, QStringLiteral("Aktualne"), out);
    out.flush();
    return text;
}

QSet<QString> dictionary(Database &db, const QString &table, bool municipalOnly = false) {
    Table t(db, table);
    t.open();
    QSet<QString> out;
    for (t.first(); !t.eof(); t.next())
        if (!municipalOnly || t.field(QStringLiteral("Wlasn_gminy")).asBoolean())
            out << t.field(QStringLiteral("Opis")).asString();
    return out;
}

double normativeArea(int persons, int wheelchairUsers) {
    const int table[] = {0, 35, 40, 45, 55, 65, 70};
    return (persons <= 6 ? table[persons] : 70 + 5 * (persons - 6)) + 15.0 * wheelchairUsers;
}

}  // namespace

TEST(DemoApplications, AreTheSameForTheSameSeedAndDifferForAnother) {
    DemoDatabase a, b, c;
    addDemoApplications(*a.db, 60, 7);
    addDemoApplications(*b.db, 60, 7);
    addDemoApplications(*c.db, 60, 8);
    EXPECT_EQ(applications(*a.db), applications(*b.db));
    EXPECT_NE(applications(*a.db), applications(*c.db));
}

TEST(DemoApplications, AreValidAndTakeTheirTextsFromTheDatabase) {
    DemoDatabase d;
    Database &db = *d.db;
    addDemoApplications(db, 400, 3);
    const QSet<QString> titles = dictionary(db, QStringLiteral("tytprawn"));
    const QSet<QString> statuses = dictionary(db, QStringLiteral("statlok"));
    const QSet<QString> managers = dictionary(db, QStringLiteral("zarzadcy"));
    const QSet<QString> municipal = dictionary(db, QStringLiteral("zarzadcy"), true);
    const QRegularExpression polishLetter(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));

    Table t(db, QStringLiteral("Aktualne"));
    t.open();
    ASSERT_EQ(t.recordCount(), 400);
    int running = 0, withinNorm = 0, polishNames = 0;
    QSet<int> households;
    for (t.first(); !t.eof(); t.next()) {
        auto f = [&](const char *name) { return t.field(QString::fromLatin1(name)); };
        ++running;
        const QDate filed = f("Data_zlozenia").asDate();
        EXPECT_EQ(f("Numer_decyzji").asString(), QStringLiteral("SM.5322/%1/%2").arg(running).arg(filed.year()));
        EXPECT_EQ(f("IndexNrSupport").asString(), QStringLiteral("%1").arg(running, 10, 10, QLatin1Char('0')));
        EXPECT_FALSE(f("Nazwisko").isNull());
        EXPECT_FALSE(f("Imie").isNull());
        if (polishLetter.match(f("Nazwisko").asString() + f("Imie").asString()).hasMatch())
            ++polishNames;
        const int persons = int(f("Liczba_osob").asInteger());
        EXPECT_GE(persons, 1);
        EXPECT_LE(persons, 9);
        households << persons;
        EXPECT_GT(f("Dochod_razem").asCurrency(), 0.0);
        const int wheelchair = int(f("IlOsobNaWozku").asInteger());
        EXPECT_EQ(f("Osoba_na_wozku").asString(), wheelchair > 0 ? QStringLiteral("Tak") : QStringLiteral("Nie"));
        const double area = f("Pow_uzytk").asFloat();
        EXPECT_GT(area, 0.0);
        if (area <= 1.5 * normativeArea(persons, wheelchair))
            ++withinNorm;
        EXPECT_TRUE(titles.contains(f("Tytul_prawny").asString()));
        EXPECT_TRUE(statuses.contains(f("Status_lokalu").asString()));
        EXPECT_TRUE(managers.contains(f("Zarzadca").asString()));
        if (f("Status_lokalu").asString() == QLatin1String("komunalne")) {
            EXPECT_TRUE(municipal.contains(f("Zarzadca").asString()));
        }
        const QDate from = f("Okres_od").asDate(), to = f("Okres_do").asDate();
        EXPECT_EQ(from.day(), 1);
        EXPECT_GT(from, filed);
        EXPECT_EQ(to, from.addMonths(6).addDays(-1));
        EXPECT_LT(f("Data_urodz").asDate(), filed.addYears(-18));
        EXPECT_TRUE(f("Ryczalt_do_rak").asBoolean());
        EXPECT_TRUE(f("PowKuchniPonad60").asString() == QLatin1String("Tak")
                    || f("PowKuchniPonad60").asString() == QLatin1String("Nie"));
        EXPECT_DOUBLE_EQ(f("NajnEmeryt").asCurrency(), 1780.96);
        EXPECT_DOUBLE_EQ(f("KosztKwh").asFloat(), 0.75);
        EXPECT_EQ(f("WskProc").asInteger(), 70);
        EXPECT_EQ(f("Termin_platnosci").asString(), QStringLiteral("do 10 dnia każdego miesiąca"));
        EXPECT_TRUE(f("Wyplata_calosc").isNull());  // left to the allowance calculation
    }
    EXPECT_EQ(households.size(), 9);
    EXPECT_GT(withinNorm, 360);
    EXPECT_LT(withinNorm, 400);  // a few exceed the norm, as in life
    EXPECT_GT(polishNames, 100);
}

TEST(DemoApplications, FollowTheOfficePatternsAndContinueTheRunningNumbers) {
    DemoDatabase d;
    Database &db = *d.db;
    {
        Table param(db, QStringLiteral("param"));
        param.open();
        param.edit();
        param.field(QStringLiteral("Wzor_NrDec")).setString(QStringLiteral("DM/"));
        param.field(QStringLiteral("Wzor_OkresOd")).setDate(QDate(2025, 7, 1));
        param.field(QStringLiteral("WskaznikProc")).setInteger(65);
        param.post();
        Table titles(db, QStringLiteral("tytprawn"));
        titles.open();
        while (!titles.isEmpty())
            titles.remove();
        titles.insert();
        titles.field(QStringLiteral("Opis")).setString(QStringLiteral("umowa użyczenia"));
        titles.post();
    }
    addDemoApplications(db, 5, 1);
    addDemoApplications(db, 5, 2);

    Table t(db, QStringLiteral("Aktualne"));
    t.open();
    int n = 0;
    for (t.first(); !t.eof(); t.next()) {
        ++n;
        EXPECT_TRUE(t.field(QStringLiteral("Numer_decyzji")).asString().startsWith(QStringLiteral("DM/%1/").arg(n)));
        EXPECT_EQ(t.field(QStringLiteral("IndexNrSupport")).asString().toInt(), n);
        EXPECT_EQ(t.field(QStringLiteral("Tytul_prawny")).asString(), QStringLiteral("umowa użyczenia"));
        EXPECT_EQ(t.field(QStringLiteral("WskProc")).asInteger(), 65);
        // Filed in the year before the default period start.
        EXPECT_LT(t.field(QStringLiteral("Data_zlozenia")).asDate(), QDate(2025, 7, 1));
        EXPECT_GE(t.field(QStringLiteral("Data_zlozenia")).asDate(), QDate(2024, 7, 1));
    }
    EXPECT_EQ(n, 10);
}

TEST(DemoApplications, FourInFiveAreGrantedAndTheOthersFailForAPlainReason) {
    DemoDatabase d;
    Database &db = *d.db;
    addDemoApplications(db, 400, 5);
    varnel::calc::recalcAll(db);
    const double pension = 1780.96;

    Table t(db, QStringLiteral("Aktualne"));
    t.open();
    int granted = 0, highIncome = 0, overArea = 0, noTitle = 0, noCosts = 0;
    QStringList unexplained;
    QSet<QString> usedManagers;
    for (t.first(); !t.eof(); t.next()) {
        auto f = [&](const char *name) { return t.field(QString::fromLatin1(name)); };
        usedManagers << f("Zarzadca").asString();
        const QString street = f("Adres_ulica").asString();
        EXPECT_FALSE(street.startsWith(QStringLiteral("ul.")) || street.startsWith(QStringLiteral("pl."))) << street.toStdString();
        const int persons = int(f("Liczba_osob").asInteger());
        const double norm = normativeArea(persons, int(f("IlOsobNaWozku").asInteger()));
        const double limit = (f("PowKuchniPonad60").asString() == QLatin1String("Tak") ? 1.3 : 1.5) * norm;
        const bool anyLump = f("Ryczalt_CO").asBoolean() || f("Ryczalt_woda").asBoolean() || f("Ryczalt_gaz").asBoolean();
        const double perMember = f("Dochod_razem").asCurrency() / persons;
        const double threshold = (persons == 1 ? 1.75 : 1.25) * pension;
        if (f("ObliczeniaOK").asBoolean() && f("Wyplata_calosc").asCurrency() > 0)
            ++granted;
        else if (!f("ObliczeniaOK").asBoolean() && f("Pow_uzytk").asFloat() > limit)
            ++overArea;
        else if (!f("ObliczeniaOK").asBoolean() && f("Wydatki_czynsz").asCurrency() == 0 && !anyLump)
            ++noCosts;
        else if (f("ObliczeniaOK").asBoolean() && f("Tytul_prawny").asString() == QStringLiteral("brak tytułu prawnego"))
            ++noTitle;
        else if (f("ObliczeniaOK").asBoolean() && perMember > 1.25 * threshold)
            ++highIncome;
        else
            unexplained << f("Numer_decyzji").asString();
    }
    EXPECT_TRUE(unexplained.isEmpty()) << unexplained.join(QLatin1Char(' ')).toStdString();
    EXPECT_GE(granted, 290);  // about four in five of 400
    EXPECT_LE(granted, 350);
    EXPECT_GT(highIncome, 0);
    EXPECT_GT(overArea, 0);
    EXPECT_GT(noTitle, 0);
    EXPECT_GT(noCosts, 0);

    // The managers on the applications are marked used, the others are not.
    Table managers(db, QStringLiteral("zarzadcy"));
    managers.open();
    for (managers.first(); !managers.eof(); managers.next()) {
        const QString opis = managers.field(QStringLiteral("Opis")).asString();
        EXPECT_EQ(managers.field(QStringLiteral("BylModi")).asBoolean(), usedManagers.contains(opis)) << opis.toStdString();
    }
}
