// varnel-admin totals.
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/AdminRun.h"
#include "support/OldLayouts.h"
#include "support/Program.h"

#include <gtest/gtest.h>

using namespace varnel;
using data::Table;

namespace {

class TotalsCommand : public test::AdminDatabase {
protected:
    void SetUp() override {
        AdminDatabase::SetUp();
        auto db = data::Database::open(dbDir());
        {
            Table m(*db, QStringLiteral("zarzadcy"));
            m.open();
            m.first();
            while (!m.eof())
                m.remove();
        }
        test::addManager(*db, QStringLiteral("ZGM"), true);
        test::addManager(*db, QStringLiteral("SM Jutrzenka"), false);
        add(*db, QStringLiteral("Aktualne"), 250, QStringLiteral("komunalne"), QStringLiteral("ZGM"), QDate(2006, 1, 1));
        add(*db, QStringLiteral("Aktualne"), 750, QStringLiteral("spółdzielcze"), QStringLiteral("SM Jutrzenka"), QDate(2006, 6, 1));
        for (int month : {1, 2, 3}) {
            const QString name = QStringLiteral("ar%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(1999);
            db->createTable(data::applicationTableDef(name));
            add(*db, name, 10.0 * month, QStringLiteral("Komunalne"), month == 3 ? QString() : QStringLiteral("ZGM"), QDate(1999, 1, 1));
            Table list(*db, QStringLiteral("ArcLista"));
            list.open();
            list.insert();
            list.field(QStringLiteral("Data_Key")).setDate(QDate(1999, month, 1));
            list.field(QStringLiteral("FileName")).setString(name);
            list.post();
        }
    }
    static void add(data::Database &db, const QString &table, double amount, const QString &status, const QString &manager,
                    const QDate &from) {
        test::addApplication(db, table, QStringLiteral("Nowak"),
                             {{QStringLiteral("Wyplata_calosc"), amount},
                              {QStringLiteral("Status_lokalu"), status},
                              {QStringLiteral("Zarzadca"), manager},
                              {QStringLiteral("Okres_od"), from}});
    }
    QStringList lines(const QStringList &args) {
        const test::AdminOutcome r = onDb(QStringList{QStringLiteral("totals")} + args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

}  // namespace

TEST_F(TotalsCommand, PrintsEveryFigureOfTheStoredOptions) {
    EXPECT_EQ(lines({}), (QStringList{"count=2", "suma=1000.00", "komunalne=250.00", "spoldzielcze=750.00", "zakladowe=0.00",
                                      "inne=0.00", "dk=0.00", "dp=0.00", "dotacja=0.00", "procent=", "wzor="}));
}

TEST_F(TotalsCommand, OptionsGivenAndTheDemand) {
    EXPECT_EQ(lines({QStringLiteral("--formula"), QStringLiteral("0")}),
              (QStringList{"count=2", "suma=1000.00", "komunalne=250.00", "spoldzielcze=750.00", "zakladowe=0.00",
                           "inne=0.00", "dk=250.00", "dp=750.00", "dotacja=425.00", "procent=25.00", "wzor=2"}));
    EXPECT_EQ(lines({QStringLiteral("--manager"), QStringLiteral("ZGM")}).value(0), QStringLiteral("count=1"));
    EXPECT_EQ(lines({QStringLiteral("--period"), QStringLiteral("2006-06-01..2006-12-31")}).value(1), QStringLiteral("suma=750.00"));
    EXPECT_EQ(lines({QStringLiteral("--kogo"), QStringLiteral("2")}).value(0), QStringLiteral("count=0"));
}

TEST_F(TotalsCommand, ARangeOfArchivesWithItsWarnings) {
    const QStringList out = lines({QStringLiteral("--from"), QStringLiteral("1999-02"), QStringLiteral("--to"),
                                   QStringLiteral("1999-03"), QStringLiteral("--formula"), QStringLiteral("3")});
    EXPECT_EQ(out.mid(0, 6), (QStringList{"count=2", "suma=50.00", "komunalne=0.00", "spoldzielcze=0.00", "zakladowe=0.00",
                                          "inne=50.00"}));
    EXPECT_EQ(out.mid(6), (QStringList{"dk=20.00", "dp=0.00", "dotacja=8.00", "procent=40.00", "wzor=3",
                                       QStringLiteral("warning=Uwaga! Istnieją wnioski z niewypełnionym polem \"Zarządca\"!"),
                                       QStringLiteral("warning=Uwaga! Zapotrzebowanie na dotację może być obliczone błędnie!")}));
    EXPECT_EQ(lines({QStringLiteral("--table"), QStringLiteral("ar011999")}).value(1), QStringLiteral("suma=10.00"));
}

TEST_F(TotalsCommand, BadInputIsToldAndFails) {
    for (const QStringList &args : QList<QStringList>{
             {"--from", "1999-03", "--to", "1999-02"},
             {"--from", "1999-02"},
             {"--from", "1998-12", "--to", "1999-02"},
             {"--table", "Aktualne", "--from", "1999-01", "--to", "1999-02"},
             {"--from", "1999-2", "--to", "1999-03"},
             {"--kogo", "7"},
             {"--formula", "x"},
             {"--period", "2006-01-01"},
             {"--period", "2006-12-31..2006-01-01"},
             {"--table", "nieznana"},
             {"--table", "zarzadcy"},
         }) {
        const test::AdminOutcome r = onDb(QStringList{QStringLiteral("totals")} + args);
        EXPECT_NE(r.code, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty()) << args.join(' ').toStdString();
    }
}
