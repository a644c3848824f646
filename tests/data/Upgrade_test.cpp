#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Upgrade.h"
#include "support/OldLayouts.h"
#include "support/RecordedProgress.h"
#include "support/TempDatabase.h"
#include "core/Progress.h"

#include <gtest/gtest.h>

using namespace varnel;
using test::column;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");

QStringList fieldNames(const data::TableDef &def) {
    QStringList names;
    for (const auto &f : def.fields)
        names << f.name;
    return names;
}

class Upgrade : public ::testing::Test {
protected:
    // An application table lacking the given fields, with rows of these
    // surnames.
    void makeTable(const QStringList &missing, const QStringList &surnames) {
        db->createTable(test::without(data::applicationTableDef(), missing));
        for (const QString &s : surnames)
            test::addApplication(*db, Aktualne, s);
    }

    test::TempDatabase db;
    test::RecordedProgress progress;
};

}  // namespace

TEST_F(Upgrade, RowsAreNumberedAfreshInTheFormerKeyOrderAndKeepEveryValueAndIndex) {
    makeTable({QStringLiteral("WskProc")}, {"Adamski", "Borek", "Cichy", "Dudek", "Ebert"});
    {
        data::Table t(*db, Aktualne);
        t.open();
        t.moveTo(4);  // Dudek
        t.remove();
        t.moveTo(2);  // Borek
        t.edit();
        t.field(QStringLiteral("Wyplata_calosc")).setCurrency(123.45);
        t.field(QStringLiteral("Okres_od")).setDate(QDate(2024, 3, 1));
        t.field(QStringLiteral("Ryczalt_CO")).setBoolean(true);
        t.post();
        t.moveTo(1);
        t.remove();  // Adamski: numbers now 2, 3, 5
    }
    const data::TableDef before = db->tableDef(Aktualne);

    EXPECT_EQ(data::Upgrade116Dane(*db, Aktualne, progress), QStringLiteral("Aktualne_1153"));

    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("NrEw")), (QVariantList{1, 2, 3}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("Nazwisko")), (QVariantList{"Borek", "Cichy", "Ebert"}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("WskProc")), (QVariantList{70, 70, 70}));
    data::Table t(*db, Aktualne);
    t.open();
    EXPECT_DOUBLE_EQ(t.field(QStringLiteral("Wyplata_calosc")).asCurrency(), 123.45);
    EXPECT_EQ(t.field(QStringLiteral("Okres_od")).asDate(), QDate(2024, 3, 1));
    EXPECT_TRUE(t.field(QStringLiteral("Ryczalt_CO")).asBoolean());

    const data::TableDef after = db->tableDef(Aktualne);
    EXPECT_EQ(fieldNames(after), fieldNames(data::applicationTableDef()));
    EXPECT_EQ(after.indexes, before.indexes);
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne_1153"), QStringLiteral("NrEw")), (QVariantList{2, 3, 5}));
    EXPECT_FALSE(db->tableExists(QStringLiteral("Temp1")));
    EXPECT_EQ(progress.max, 3);
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(progress.finished, 1);

    // The next application continues the new numbering.
    test::addApplication(*db, Aktualne, QStringLiteral("Fik"));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("NrEw")).last(), 4);
}

TEST_F(Upgrade, OnlyExactlyTakCountsAWheelchairUser) {
    makeTable({QStringLiteral("IlOsobNaWozku"), QStringLiteral("WskProc")}, {});
    for (const char *v : {"Tak", "tak", "TAK", "Nie", ""})
        test::addApplication(*db, Aktualne, QStringLiteral("X"),
                             {{QStringLiteral("Osoba_na_wozku"), QString::fromLatin1(v)}});

    EXPECT_EQ(data::Upgrade1152(*db, Aktualne, progress), QStringLiteral("Aktualne_1151"));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("IlOsobNaWozku")), (QVariantList{1, 0, 0, 0, 0}));
    EXPECT_EQ(fieldNames(db->tableDef(Aktualne)).last(), QStringLiteral("IlOsobNaWozku"));
}

TEST_F(Upgrade, Step1141FullOrPartialAppendsItsFieldsWithTheGivenValues) {
    makeTable(test::FieldsSince1141, {"Nowak", "Kowal"});
    data::Upgrade1141(*db, Aktualne, true, 1234.567851, 0.6125, progress);
    QStringList names = fieldNames(db->tableDef(Aktualne));
    EXPECT_EQ(names.mid(names.size() - 3),
              (QStringList{"Calosc_do_rak", "KosztKwh", "NajnEmeryt"}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("Calosc_do_rak")), (QVariantList{false, false}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("KosztKwh")), (QVariantList{0.6125, 0.6125}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("NajnEmeryt")), (QVariantList{1234.5679, 1234.5679}));

    // Partial: an archive that has Calosc_do_rak keeps its values.
    const QString archive = QStringLiteral("ar041999");
    db->createTable(test::without(data::applicationTableDef(archive), test::FieldsSince1141.mid(1)));
    test::addApplication(*db, archive, QStringLiteral("Nowak"), {{QStringLiteral("Calosc_do_rak"), true}});
    EXPECT_EQ(data::Upgrade1141(*db, archive, false, 500, 0.5, progress), QStringLiteral("ar041999_1140"));
    names = fieldNames(db->tableDef(archive));
    EXPECT_EQ(names.mid(names.size() - 3), (QStringList{"Calosc_do_rak", "KosztKwh", "NajnEmeryt"}));
    EXPECT_EQ(column(*db, archive, QStringLiteral("Calosc_do_rak")), (QVariantList{true}));
}

TEST_F(Upgrade, ATakenBackupNameIsKeptAndTheOldTableGoesBesideIt) {
    makeTable({QStringLiteral("WskProc")}, {"Nowy"});
    db->createTable(test::without(data::applicationTableDef(QStringLiteral("Aktualne_1153")), {"WskProc"}));
    test::addApplication(*db, QStringLiteral("Aktualne_1153"), QStringLiteral("Stary"));
    db->createTable(test::without(data::applicationTableDef(QStringLiteral("Aktualne_1153_1")), {"WskProc"}));

    EXPECT_EQ(data::Upgrade116Dane(*db, Aktualne, progress), QStringLiteral("Aktualne_1153_2"));
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne_1153"), QStringLiteral("Nazwisko")), (QVariantList{"Stary"}));
    EXPECT_TRUE(column(*db, QStringLiteral("Aktualne_1153_1"), QStringLiteral("Nazwisko")).isEmpty());
    EXPECT_EQ(column(*db, QStringLiteral("Aktualne_1153_2"), QStringLiteral("Nazwisko")), (QVariantList{"Nowy"}));
}

TEST_F(Upgrade, AnInterruptedRebuildLeavesTheTableWholeAndCanBeMadeAgain) {
    makeTable({QStringLiteral("WskProc")}, {"Adamski", "Borek", "Cichy"});
    const data::TableDef before = db->tableDef(Aktualne);
    progress.failAtStep = 2;
    EXPECT_THROW(data::Upgrade116Dane(*db, Aktualne, progress), std::runtime_error);
    EXPECT_EQ(progress.finished, 1);  // the window is closed all the same
    EXPECT_EQ(db->tableDef(Aktualne).fields, before.fields);
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("Nazwisko")), (QVariantList{"Adamski", "Borek", "Cichy"}));
    EXPECT_FALSE(db->tableExists(QStringLiteral("Temp1")));
    EXPECT_FALSE(db->tableExists(QStringLiteral("Aktualne_1153")));
    EXPECT_FALSE(db->inTransaction());

    // A work table left by anything earlier does not stand in the way.
    db->createTable(data::usersTableDef());
    db->renameTable(QStringLiteral("uspass"), QStringLiteral("Temp1"));
    progress.failAtStep = 0;
    data::Upgrade116Dane(*db, Aktualne, progress);
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("WskProc")), (QVariantList{70, 70, 70}));
}

TEST_F(Upgrade, ATableWithoutTheWheelchairFieldIsNotTouched) {
    makeTable({QStringLiteral("Osoba_na_wozku"), QStringLiteral("IlOsobNaWozku"), QStringLiteral("WskProc")}, {});
    EXPECT_THROW(data::Upgrade1152(*db, Aktualne, progress), core::MissingFieldError);
    EXPECT_EQ(db->tableNames(), QStringList{Aktualne});
}

TEST_F(Upgrade, ParameterTableGetsThePercentageIndexInEveryRow) {
    db->createTable(test::without(data::paramTableDef(), {"WskaznikProc"}));
    for (double pension : {900.0, 950.0}) {
        data::Table t(*db, QStringLiteral("param"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Min_emeryt")).setCurrency(pension);
        t.field(QStringLiteral("Stopka")).setString(QStringLiteral("Stopka\ndecyzji"));
        t.post();
    }
    EXPECT_EQ(data::Upgrade116Param(*db), QStringLiteral("param_1153"));
    EXPECT_EQ(column(*db, QStringLiteral("param"), QStringLiteral("WskaznikProc")), (QVariantList{70, 70}));
    EXPECT_EQ(column(*db, QStringLiteral("param"), QStringLiteral("Min_emeryt")), (QVariantList{900.0, 950.0}));
    EXPECT_EQ(column(*db, QStringLiteral("param"), QStringLiteral("Stopka")).first(), QStringLiteral("Stopka\ndecyzji"));
    EXPECT_EQ(fieldNames(db->tableDef(QStringLiteral("param"))), fieldNames(data::paramTableDef()));
}

TEST_F(Upgrade, RowsStoredBeforeTheRulesForEnteredValuesAreCopiedWhole) {
    makeTable({QStringLiteral("WskProc")}, {});
    db->exec(QStringLiteral("INSERT INTO Aktualne (Nazwisko, Imie, Adres_nr) VALUES ('Nowak', '  ', '12' || char(9) || 'a')"));
    data::Upgrade116Dane(*db, Aktualne, progress);
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("Imie")), (QVariantList{QStringLiteral("  ")}));
    EXPECT_EQ(column(*db, Aktualne, QStringLiteral("Adres_nr")), (QVariantList{QStringLiteral("12\ta")}));
}
