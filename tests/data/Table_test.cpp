#include "core/DbError.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Values.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>
#include <functional>

using namespace varnel::data;
namespace core = varnel::core;
using varnel::test::TempDatabase;

namespace {

class ApplicationTable : public ::testing::Test {
protected:
    void SetUp() override { db->createTable(applicationTableDef()); }

    // Adds applications with these surnames (first name "Jan").
    void add(const QStringList &surnames) {
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        Transaction tx(*db);
        for (const QString &s : surnames) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(s);
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.post();
        }
        tx.commit();
    }

    QStringList walk(Table &t) {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(QStringLiteral("Nazwisko")).asString();
        return out;
    }

    TempDatabase db;
};

}  // namespace

TEST_F(ApplicationTable, SurnameIndexOrdersInPolishAndNearestKeyUsesTheSameOrder) {
    add({QStringLiteral("Żak"), QStringLiteral("Zając"), QStringLiteral("łukasz"), QStringLiteral("Lis"),
         QStringLiteral("Ziomek"), QStringLiteral("Łoś"), QStringLiteral("Luty")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    EXPECT_EQ(walk(t), QStringList({QStringLiteral("Lis"), QStringLiteral("Luty"), QStringLiteral("Łoś"),
                                    QStringLiteral("łukasz"), QStringLiteral("Zając"), QStringLiteral("Ziomek"),
                                    QStringLiteral("Żak")}));

    t.findNearest({QStringLiteral("ł")});
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Łoś"));
    EXPECT_EQ(t.recNo(), 3);
    t.findNearest({QStringLiteral("ZI")});  // case does not matter
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Ziomek"));
    t.findNearest({QStringLiteral("Ża")});
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Żak"));
    t.findNearest({QString()});
    EXPECT_EQ(t.recNo(), 1);
    t.findNearest({QStringLiteral("Żz")});  // past the last key
    EXPECT_TRUE(t.eof());

    EXPECT_TRUE(t.findKey({QStringLiteral("ŁUKASZ")}));
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("łukasz"));
    EXPECT_FALSE(t.findKey({QStringLiteral("Łuk")}));
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("łukasz"));  // stays
}

TEST_F(ApplicationTable, PrimaryIndexSeeksTheRegistryNumber) {
    add({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    t.setIndexName(QString());
    EXPECT_TRUE(t.findKey({2}));
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("B"));
    EXPECT_FALSE(t.findKey({7}));
}

TEST_F(ApplicationTable, PostingWithoutARequiredFieldNamesTheField) {
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
    try {
        t.post();
        FAIL();
    } catch (const core::RequiredFieldError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Pole 'Nazwisko' musi mieć wartość"));
    }
    EXPECT_EQ(t.state(), TableState::Insert);  // the row is still there to be completed
    t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nowak"));
    t.field(QStringLiteral("Imie")).setString(QString());  // empty text is a blank
    EXPECT_THROW(t.post(), core::RequiredFieldError);
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Ewa"));
    t.post();
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(ApplicationTable, FieldValuesAreCutCheckedAndBlankAware) {
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("ŻółćżółćżółćżółćżółćżółćżółćŻÓŁĆ"));  // 32 letters
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString().size(), 28);

    // The engine's refusals reach the clerk, in Polish; a number beyond the
    // range is told apart from a wrong kind of value.
    auto refusal = [&](const std::function<void()> &set) -> std::pair<QString, bool> {
        try {
            set();
        } catch (const core::FieldValueError &e) {
            return {e.message(), e.outOfRange()};
        }
        return {QStringLiteral("(accepted)"), false};
    };
    EXPECT_EQ(refusal([&] { t.field(QStringLiteral("Liczba_osob")).setString(QStringLiteral("trzy")); }),
              std::make_pair(QStringLiteral("'trzy' nie jest poprawną wartością pola 'Liczba_osob' (oczekiwana liczba całkowita)"), false));
    EXPECT_EQ(refusal([&] { t.field(QStringLiteral("Liczba_osob")).setInteger(40000); }),
              std::make_pair(QStringLiteral("40000 nie jest dopuszczalną wartością pola 'Liczba_osob'. Dopuszczalny zakres: od -32768 do 32767"),
                             true));
    EXPECT_THROW(t.field(QStringLiteral("Okres_od")).setString(QStringLiteral("31.02.2006")), core::FieldValueError);
    EXPECT_THROW(t.field(QStringLiteral("Dochod_razem")).setString(QStringLiteral("12zł")), core::FieldValueError);
    EXPECT_TRUE(t.field(QStringLiteral("Liczba_osob")).isNull());  // unchanged by the refused values

    t.field(QStringLiteral("Dochod_razem")).setString(QStringLiteral("1234,56"));
    t.field(QStringLiteral("Okres_od")).setString(QStringLiteral("01.03.2006"));
    t.field(QStringLiteral("Ryczalt_CO")).setBoolean(true);
    t.post();

    Table again(*db, QStringLiteral("Aktualne"));
    again.open();
    EXPECT_DOUBLE_EQ(again.field(QStringLiteral("Dochod_razem")).asCurrency(), 1234.56);
    EXPECT_EQ(again.field(QStringLiteral("Okres_od")).asDate(), QDate(2006, 3, 1));
    EXPECT_TRUE(again.field(QStringLiteral("Ryczalt_CO")).asBoolean());
    // Blanks read as empty values; an empty date is the zero date.
    EXPECT_TRUE(again.field(QStringLiteral("Okres_do")).isNull());
    EXPECT_EQ(again.field(QStringLiteral("Okres_do")).asDate(), QDate(1899, 12, 30));
    EXPECT_LT(again.field(QStringLiteral("Okres_do")).asDate(), again.field(QStringLiteral("Okres_od")).asDate());
    EXPECT_EQ(again.field(QStringLiteral("Adres_ulica")).asString(), QString());
    EXPECT_EQ(again.field(QStringLiteral("Liczba_osob")).asInteger(), 0);
    EXPECT_FALSE(again.field(QStringLiteral("Ryczalt_woda")).asBoolean());
}

TEST_F(ApplicationTable, AutoincNumbersAreNeverReusedAndARebuiltTableStartsAtOne) {
    add({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    {
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.last();
        t.remove();  // number 3 goes
    }
    add({QStringLiteral("D")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.last();
    EXPECT_EQ(t.field(QStringLiteral("NrEw")).asInteger(), 4);

    db->createTable(applicationTableDef(QStringLiteral("Aktualne")));
    add({QStringLiteral("E")});
    Table rebuilt(*db, QStringLiteral("Aktualne"));
    rebuilt.open();
    EXPECT_EQ(rebuilt.field(QStringLiteral("NrEw")).asInteger(), 1);
}

TEST_F(ApplicationTable, OpeningWithAnExpectedFieldListNamesTheFirstMissingField) {
    TableDef old = applicationTableDef(QStringLiteral("Stara"));
    old.fields.resize(42);  // before Calosc_do_rak and the fields after it
    db->createTable(old);
    Table t(*db, QStringLiteral("Stara"));
    t.setFieldNames(applicationFieldNames());
    try {
        t.open();
        FAIL();
    } catch (const core::MissingFieldError &e) {
        EXPECT_EQ(e.field(), QStringLiteral("Calosc_do_rak"));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Calosc_do_rak")));
    }
    EXPECT_FALSE(t.isOpen());
    t.setFieldNames({});
    t.open();  // with all stored fields
    EXPECT_EQ(t.fieldCount(), 42);
}

TEST_F(ApplicationTable, EditingAKeyFieldMovesTheRowAndKeepsItCurrent) {
    add({QStringLiteral("Adamski"), QStringLiteral("Bąk"), QStringLiteral("Cichy")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    t.first();
    t.edit();
    t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Zieliński"));
    t.post();
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Zieliński"));
    EXPECT_EQ(walk(t), QStringList({QStringLiteral("Bąk"), QStringLiteral("Cichy"), QStringLiteral("Zieliński")}));
}

TEST_F(ApplicationTable, NavigatingWhileEditingPostsAndAnUntouchedInsertIsDropped) {
    add({QStringLiteral("A"), QStringLiteral("B")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.first();
    t.edit();
    t.field(QStringLiteral("Adres_miejsc")).setString(QStringLiteral("Opole"));
    t.next();  // posts
    EXPECT_EQ(t.state(), TableState::Browse);
    t.insert();
    t.first();  // nothing typed: no row
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("Opole"));

    t.edit();
    t.field(QStringLiteral("Adres_miejsc")).setString(QStringLiteral("Nysa"));
    t.cancel();
    EXPECT_EQ(t.field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("Opole"));
}

TEST_F(ApplicationTable, DeletingKeepsAPlaceInTheOrder) {
    add({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.moveTo(2);
    t.remove();
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("C"));
    t.remove();
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("A"));
    t.remove();
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof() && t.bof());
    EXPECT_THROW(t.remove(), core::DbError);
}

TEST_F(ApplicationTable, ACursorSeesChangesMadeThroughAnother) {
    add({QStringLiteral("A"), QStringLiteral("C")});
    Table view(*db, QStringLiteral("Aktualne"));
    view.open();
    view.setIndexName(QStringLiteral("NazwNdx"));
    view.last();
    {
        Table other(*db, QStringLiteral("aktualne.db"));
        other.open();
        other.insert();
        other.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("B"));
        other.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
        other.post();
        other.first();
        other.edit();
        other.field(QStringLiteral("Adres_nr")).setString(QStringLiteral("7"));
        other.post();
    }
    EXPECT_EQ(view.recordCount(), 3);
    EXPECT_EQ(view.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("C"));  // still current
    EXPECT_EQ(view.recNo(), 3);
    EXPECT_EQ(view.valueAt(1, view.fieldIndex(QStringLiteral("Adres_nr"))).toString(), QStringLiteral("7"));
    EXPECT_EQ(view.valueAt(2, view.fieldIndex(QStringLiteral("Nazwisko"))).toString(), QStringLiteral("B"));
}

TEST_F(ApplicationTable, CalculatedFieldsAreComputedFromTheRow) {
    add({QStringLiteral("Konstantynopolitańczykowianeczka")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.setFieldNames(applicationFieldNames());
    t.addCalculatedField({FieldDef{QStringLiteral("NazwIm"), FieldType::Text, 20, false}, [](const RowView &r) {
                              return (r.text(QStringLiteral("Nazwisko")) + QLatin1Char(' ') + r.text(QStringLiteral("Imie"))).left(20);
                          }});
    t.open();
    EXPECT_EQ(t.fieldCount(), 48);
    EXPECT_EQ(t.field(QStringLiteral("NazwIm")).asString(), QStringLiteral("Konstantynopolitańcz"));
    t.edit();
    EXPECT_THROW(t.field(QStringLiteral("NazwIm")).setString(QStringLiteral("x")), core::DbError);
}

TEST_F(ApplicationTable, ObserversHearOfScrollingEditingAndRows) {
    struct Log : TableObserver {
        QList<TableEvent> events;
        void tableEvent(Table &, TableEvent e, int) override { events << e; }
    } log;
    add({QStringLiteral("A"), QStringLiteral("B")});
    Table t(*db, QStringLiteral("Aktualne"));
    t.addObserver(&log);
    t.open();
    t.next();
    t.edit();
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Ola"));
    t.post();
    EXPECT_TRUE(log.events.contains(TableEvent::Opened));
    EXPECT_TRUE(log.events.contains(TableEvent::Scrolled));
    EXPECT_TRUE(log.events.contains(TableEvent::RowEdited));
    EXPECT_TRUE(log.events.contains(TableEvent::StateChanged));

    log.events.clear();
    t.disableControls();
    t.first();
    t.next();
    EXPECT_TRUE(log.events.isEmpty());
    t.enableControls();
    EXPECT_EQ(log.events, QList<TableEvent>{TableEvent::RowsChanged});
}
