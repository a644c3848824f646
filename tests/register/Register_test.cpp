// The register outside the main window: the view, the table switch with the
// rebuild of old archives, the order and search, the switches.
#include "data/Layouts.h"
#include "data/Table.h"
#include "register/Register.h"
#include "support/OldLayouts.h"
#include "support/Program.h"

#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using reg::SwitchOutcome;
using test::column;
using Kind = test::ScriptedQuestions::Kind;

namespace {

const QString Message1141 = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.14.1  ");
const QString Message1152 = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.15.2  ");
const QString Message116 = QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.16  ");
const QString RestartText = QStringLiteral("Aby zakończyć aktualizację archiwum trzeba ponownie uruchomić program!");

class RegisterTest : public test::ProgramTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::setParameters(*db, {{QStringLiteral("Wzor_NrDec"), QStringLiteral("AB/")}});
        test::fillDictionary(*db, QStringLiteral("zarzadcy"), QStringList{QStringLiteral("ZGM Opole")});
        test::fillDictionary(*db, QStringLiteral("statlok"), QStringList{QStringLiteral("komunalny")});
        for (const char *name : {"Nowak", "Lis", "Adamczyk"})
            test::addApplication(*db, QStringLiteral("Aktualne"), QString::fromUtf8(name),
                                 {{QStringLiteral("Adres_miejsc"), QStringLiteral("Opole")},
                                  {QStringLiteral("Numer_decyzji"), QStringLiteral("AB/%1").arg(name[0] == 'N' ? 7 : 12)},
                                  {QStringLiteral("IndexNrSupport"), QStringLiteral("AB/%1").arg(name[0] == 'N' ? 7 : 12)}});
        QObject::connect(&reg, &reg::Register::tableNameChanged, [this](const QString &name) { names << name; });
        QObject::connect(&reg, &reg::Register::restartRequired, [this] { ++restarts; });
    }

    // A row of the archive list for a month.
    void listArchive(int month, int year, double najnEmer, double kosztKwh) {
        Table list(*db, QStringLiteral("ArcLista"));
        list.open();
        list.insert();
        list.field(QStringLiteral("Data_Key")).setDate(QDate(year, month, 1));
        list.field(QStringLiteral("FileName")).setString(QStringLiteral("ar%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(year));
        list.field(QStringLiteral("NajnEmer")).setFloat(najnEmer);
        list.field(QStringLiteral("KosztKwh")).setFloat(kosztKwh);
        list.post();
    }
    // An archive in the layout of an older version: the fields given are
    // missing; one application with a person in a wheelchair.
    void makeOldArchive(const QString &name, const QStringList &missing) {
        db->createTable(test::without(data::applicationTableDef(name), missing));
        test::addApplication(*db, name, QStringLiteral("Wójcik"), {{QStringLiteral("Osoba_na_wozku"), QStringLiteral("Tak")}});
    }

    reg::Register reg{ctx};
    QStringList names;
    int restarts = 0;
};

}  // namespace

TEST_F(RegisterTest, TheViewHasTheCalculatedFieldsAndTheSwitchGoesToTheNamedTable) {
    ASSERT_TRUE(reg.PokazListeWnioskow());
    Table &view = reg.TableWnioski();
    EXPECT_EQ(view.recordCount(), 3);
    EXPECT_EQ(view.indexName(), QStringLiteral("NazwNdx"));  // in surname order from the start
    view.first();
    EXPECT_EQ(view.field(QStringLiteral("NazwIm")).asString(), QStringLiteral("Adamczyk Jan"));
    EXPECT_EQ(view.field(QStringLiteral("Adres")).asString(), QStringLiteral("Opole  "));
    EXPECT_FALSE(reg.showsArchive());

    db->copyTable(QStringLiteral("Aktualne"), QStringLiteral("ar041999"));
    listArchive(4, 1999, 500, 0.3);
    EXPECT_EQ(reg.ChangeTable(QStringLiteral("ar041999")), SwitchOutcome::Opened);
    EXPECT_EQ(names, QStringList{QStringLiteral("ar041999")});
    EXPECT_EQ(reg.currentTableName(), QStringLiteral("ar041999"));
    EXPECT_TRUE(reg.showsArchive());
    EXPECT_EQ(view.tableName(), QStringLiteral("ar041999"));
    EXPECT_TRUE(view.isOpen());
    EXPECT_TRUE(questions.asked().empty());  // the month is in the list
    EXPECT_EQ(reg.choiceLists().managers, QStringList{QStringLiteral("ZGM Opole")});

    // A month missing from the list is told and the switch goes on; a table
    // that is not there leaves the view closed, and opening the list tells it.
    EXPECT_EQ(reg.ChangeTable(QStringLiteral("ar051999")), SwitchOutcome::Closed);
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Brak w archiwum: ar051999")});
    EXPECT_FALSE(view.isOpen());
    EXPECT_FALSE(reg.PokazListeWnioskow());
    EXPECT_EQ(questions.count(Kind::Error), 1);

    // Back to the current applications; the view was closed, so it stays
    // closed until the list opens it.
    EXPECT_EQ(reg.ChangeTable(reg::CurrentApplications), SwitchOutcome::Closed);
    EXPECT_TRUE(reg.PokazListeWnioskow());
    EXPECT_EQ(view.recordCount(), 3);
    EXPECT_EQ(names.size(), 3);
}

TEST_F(RegisterTest, AnArchiveLackingTheLaterFieldsIsRebuiltStepByStepAndOpenedInTheSameRun) {
    makeOldArchive(QStringLiteral("ar031999"), {QStringLiteral("IlOsobNaWozku"), QStringLiteral("WskProc")});
    listArchive(3, 1999, 500, 0.3);
    ASSERT_TRUE(reg.PokazListeWnioskow());
    EXPECT_EQ(reg.ChangeTable(QStringLiteral("ar031999")), SwitchOutcome::Opened);
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList({Message1152, Message116}));
    EXPECT_EQ(restarts, 0);
    Table &view = reg.TableWnioski();
    ASSERT_TRUE(view.isOpen());
    EXPECT_EQ(view.field(QStringLiteral("IlOsobNaWozku")).asInteger(), 1);
    EXPECT_EQ(view.field(QStringLiteral("WskProc")).asInteger(), 70);
    EXPECT_TRUE(db->tableExists(QStringLiteral("ar031999_1151")));  // the old table is kept
}

TEST_F(RegisterTest, AnArchiveWithoutTheKwhCostIsRebuiltWithItsMonthsValuesAndTheRunMustEnd) {
    makeOldArchive(QStringLiteral("ar021999"), {QStringLiteral("KosztKwh"), QStringLiteral("NajnEmeryt")});
    listArchive(2, 1999, 412.5, 0.31);
    ASSERT_TRUE(reg.PokazListeWnioskow());
    EXPECT_EQ(reg.ChangeTable(QStringLiteral("ar021999")), SwitchOutcome::Restart);
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList({Message1141, RestartText}));
    EXPECT_EQ(restarts, 1);
    EXPECT_FALSE(reg.TableWnioski().isOpen());
    EXPECT_EQ(column(*db, QStringLiteral("ar021999"), QStringLiteral("KosztKwh")), QVariantList{0.31});
    EXPECT_EQ(column(*db, QStringLiteral("ar021999"), QStringLiteral("NajnEmeryt")), QVariantList{412.5});

    // Values given by the caller (the archive window's selected row) are the ones taken.
    makeOldArchive(QStringLiteral("ar011999"), {QStringLiteral("Calosc_do_rak"), QStringLiteral("KosztKwh"), QStringLiteral("NajnEmeryt")});
    ASSERT_TRUE(reg.PokazListeWnioskow());
    questions.clear();
    EXPECT_EQ(reg.ChangeTable(QStringLiteral("ar011999"), reg::ArchiveParameters{600, 0.5}), SwitchOutcome::Restart);
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList({QStringLiteral("Brak w archiwum: ar011999"), Message1141, RestartText}));
    EXPECT_EQ(column(*db, QStringLiteral("ar011999"), QStringLiteral("NajnEmeryt")), QVariantList{600.0});
    EXPECT_EQ(column(*db, QStringLiteral("ar011999"), QStringLiteral("Calosc_do_rak")), QVariantList{false});
}

TEST_F(RegisterTest, TheSortOrderSelectsItsIndexAndTellsTheSearchTextItStartsWith) {
    ASSERT_TRUE(reg.PokazListeWnioskow());
    QList<std::pair<reg::SortOrder, QString>> applied;
    QObject::connect(&reg, &reg::Register::sortOrderApplied,
                     [&](reg::SortOrder order, const QString &text) { applied.append({order, text}); });
    ctx.values.sortAlgorithm = 1;
    reg.setSortOrder(reg::SortOrder::NrDec);
    EXPECT_EQ(reg.TableWnioski().indexName(), QStringLiteral("NrDecNdx"));
    ctx.values.sortAlgorithm = 2;
    reg.setSortOrder(reg::SortOrder::NrDec);
    reg.setSortOrder(reg::SortOrder::Kwota);
    EXPECT_EQ(reg.TableWnioski().indexName(), QStringLiteral("WyplataNdx"));
    ASSERT_EQ(applied.size(), 3);
    EXPECT_EQ(applied[0].second, QStringLiteral("AB/"));  // the pattern under algorithm 1
    EXPECT_TRUE(applied[1].second.isEmpty());
    EXPECT_EQ(applied[2].first, reg::SortOrder::Kwota);

    reg.setSortOrder(reg::SortOrder::Nazwiska);
    reg.seek(QStringLiteral("l"));
    EXPECT_EQ(reg.TableWnioski().field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Lis"));
    EXPECT_EQ(reg.searchText(), QStringLiteral("l"));
}

TEST_F(RegisterTest, TheDisplaySwitchesAreOnAtTheStartAndTellWhenTurnedOver) {
    EXPECT_TRUE(reg.wynikiPosrednie());
    EXPECT_TRUE(reg.pelnaInformacja());
    int told = 0;
    QObject::connect(&reg, &reg::Register::switchesChanged, [&] { ++told; });
    reg.setWynikiPosrednie(false);
    reg.setWynikiPosrednie(false);
    reg.setPelnaInformacja(false);
    EXPECT_FALSE(reg.wynikiPosrednie());
    EXPECT_FALSE(reg.pelnaInformacja());
    EXPECT_EQ(told, 2);
}
