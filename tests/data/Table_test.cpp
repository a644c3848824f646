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

    const auto kindOf = [&](const QVariant &v) {
        try {
            t.field(QStringLiteral("Liczba_osob")).setVariant(v);
        } catch (const core::FieldValueError &e) {
            return int(e.kind());
        }
        return -1;
    };
    EXPECT_EQ(kindOf(QStringLiteral("trzy")), int(core::FieldValueError::Kind::Malformed));
    EXPECT_EQ(kindOf(40000), int(core::FieldValueError::Kind::OutOfRange));
    EXPECT_EQ(kindOf(QStringLiteral("-40000")), int(core::FieldValueError::Kind::OutOfRange));
    // The refusals reach the clerk, in Polish.
    const auto messageOf = [&](const QVariant &v) {
        try {
            t.field(QStringLiteral("Liczba_osob")).setVariant(v);
        } catch (const core::FieldValueError &e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(messageOf(QStringLiteral("trzy")), QStringLiteral("'trzy' nie jest poprawną wartością pola 'Liczba_osob' (oczekiwana liczba całkowita)"));
    EXPECT_EQ(messageOf(40000), QStringLiteral("40000 nie jest dopuszczalną wartością pola 'Liczba_osob'. Dopuszczalny zakres: od -32768 do 32767"));
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

TEST_F(ApplicationTable, AfterAnotherCursorRemovedTheCurrentRowTheCursorLandsOnTheNearestRow) {
    add({QStringLiteral("Adamski"), QStringLiteral("Bąk"), QStringLiteral("Cichy"), QStringLiteral("Dudek"),
         QStringLiteral("Ebert")});
    Table view(*db, QStringLiteral("Aktualne"));
    view.open();
    view.setIndexName(QStringLiteral("NazwNdx"));
    const auto removeByOther = [&](const QString &surname) {
        Table other(*db, QStringLiteral("Aktualne"));
        other.open();
        other.setIndexName(QStringLiteral("NazwNdx"));
        ASSERT_TRUE(other.findKey({surname}));
        other.remove();
    };
    const int nazwisko = view.fieldIndex(QStringLiteral("Nazwisko"));
    const auto agrees = [&] {
        // Record number and count agree with the rows the cursor shows.
        ASSERT_GE(view.recNo(), 1);
        ASSERT_LE(view.recNo(), view.recordCount());
        EXPECT_EQ(view.valueAt(view.recNo(), nazwisko), view.value(nazwisko));
    };

    // A change of index: the row that now stands where Cichy stood in the
    // new order (registry number order: Dudek follows Cichy).
    ASSERT_TRUE(view.findKey({QStringLiteral("Cichy")}));
    removeByOther(QStringLiteral("Cichy"));
    removeByOther(QStringLiteral("Adamski"));
    view.setIndexName(QString());
    EXPECT_EQ(view.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Dudek"));
    EXPECT_EQ(view.recNo(), 2);
    agrees();

    // A refresh after the last row went.
    view.last();
    removeByOther(QStringLiteral("Ebert"));
    view.refresh();
    EXPECT_EQ(view.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Dudek"));
    agrees();

    // A move: next goes on from the row that took the gone row's place.
    view.setIndexName(QStringLiteral("NazwNdx"));
    view.first();  // Bąk
    removeByOther(QStringLiteral("Bąk"));
    EXPECT_EQ(view.recordCount(), 1);
    agrees();
    EXPECT_EQ(view.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Dudek"));
    view.next();
    EXPECT_TRUE(view.eof());
}

TEST_F(ApplicationTable, PostingOrRemovingARowAnotherCursorRemovedChangesNothingAndSaysSo) {
    add({QStringLiteral("Adamski"), QStringLiteral("Bąk"), QStringLiteral("Cichy")});
    Table view(*db, QStringLiteral("Aktualne"));
    view.open();
    view.moveTo(2);
    view.edit();
    view.field(QStringLiteral("Adres_miejsc")).setString(QStringLiteral("Opole"));
    {
        Table other(*db, QStringLiteral("Aktualne"));
        other.open();
        other.moveTo(2);
        other.remove();
    }
    EXPECT_EQ(view.recordCount(), 2);  // the grid's read does not move the edited row
    try {
        view.post();
        FAIL() << "post of a removed row";
    } catch (const core::RecordGoneError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Rekord został zmieniony lub usunięty przez innego użytkownika."));
    }
    EXPECT_EQ(view.state(), TableState::Browse);
    EXPECT_EQ(view.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Cichy"));
    EXPECT_EQ(walk(view), QStringList({QStringLiteral("Adamski"), QStringLiteral("Cichy")}));
    for (const QString &town : {QStringLiteral("Adamski"), QStringLiteral("Cichy")}) {
        Table check(*db, QStringLiteral("Aktualne"));
        check.open();
        check.setIndexName(QStringLiteral("NazwNdx"));
        ASSERT_TRUE(check.findKey({town}));
        EXPECT_TRUE(check.field(QStringLiteral("Adres_miejsc")).isNull());  // nothing written elsewhere
    }

    // Removing: the row shown is gone, so no other row goes in its place.
    view.first();
    {
        Table other(*db, QStringLiteral("Aktualne"));
        other.open();
        other.remove();  // Adamski
    }
    EXPECT_THROW(view.remove(), core::RecordGoneError);
    EXPECT_EQ(view.recordCount(), 1);
    EXPECT_EQ(view.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Cichy"));
    view.remove();
    EXPECT_TRUE(view.isEmpty());
}

TEST(ForeignTable, AnIntPrimaryKeyIsAColumnThatOrdersSearchesAndMovesRows) {
    TempDatabase db;
    // Declared INT, not INTEGER: SQLite keeps its own row ids beside the key.
    db->exec(QStringLiteral("CREATE TABLE obcy (nr INT PRIMARY KEY, nazwa TEXT)"));
    db->exec(QStringLiteral("INSERT INTO obcy VALUES (30, 'trzydzieści'), (10, 'dziesięć'), (20, 'dwadzieścia')"));
    EXPECT_TRUE(db->rowIdField(QStringLiteral("obcy")).isEmpty());
    db->exec(QStringLiteral("CREATE TABLE wlasny (nr INTEGER PRIMARY KEY, nazwa TEXT)"));
    EXPECT_EQ(db->rowIdField(QStringLiteral("wlasny")), QStringLiteral("nr"));

    Table t(*db, QStringLiteral("obcy"));
    t.open();
    const auto keys = [&] {
        QList<qint64> out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(QStringLiteral("nr")).asInteger();
        return out;
    };
    EXPECT_EQ(keys(), (QList<qint64>{10, 20, 30}));
    ASSERT_TRUE(t.findKey({20}));
    EXPECT_EQ(t.field(QStringLiteral("nazwa")).asString(), QStringLiteral("dwadzieścia"));
    EXPECT_FALSE(t.findKey({2}));  // a row id, not a key
    t.findNearest({25});
    EXPECT_EQ(t.field(QStringLiteral("nr")).asInteger(), 30);

    // A changed key moves the row; a new row takes its place by its key.
    ASSERT_TRUE(t.findKey({10}));
    t.edit();
    t.field(QStringLiteral("nr")).setInteger(40);
    t.post();
    EXPECT_EQ(t.recNo(), 3);
    t.insert();
    t.field(QStringLiteral("nr")).setInteger(5);
    t.field(QStringLiteral("nazwa")).setString(QStringLiteral("pięć"));
    t.post();
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_EQ(keys(), (QList<qint64>{5, 20, 30, 40}));
    ASSERT_TRUE(t.findKey({40}));
    EXPECT_EQ(t.field(QStringLiteral("nazwa")).asString(), QStringLiteral("dziesięć"));
}

TEST_F(ApplicationTable, TextsAreCutByWholeCharactersAndControlCharactersAreRefused) {
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.insert();
    // 30 characters outside the basic plane into text(28): 28 whole ones.
    QString clefs;
    for (int i = 0; i < 30; ++i)
        clefs += QString::fromUcs4(U"\U0001D11E");
    t.field(QStringLiteral("Nazwisko")).setString(clefs);
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), clefs.left(56));
    // Cut where a UTF-16 count would split a pair.
    t.field(QStringLiteral("Adres_miejsc")).setString(QStringLiteral("a") + clefs + clefs);
    EXPECT_EQ(t.field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("a") + clefs + clefs.left(18));
    // A letter with a combining accent is not split from it.
    const QString accented = QString(23, QLatin1Char('x')) + QStringLiteral("e\u0301");  // 25 code points
    t.field(QStringLiteral("Imie")).setString(accented);
    EXPECT_EQ(t.field(QStringLiteral("Imie")).asString(), QString(23, QLatin1Char('x')));
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));

    for (const QString &bad : {QString::fromUtf16(u"Now\0ak", 6), QStringLiteral("Nowak\x1b[31m"), QStringLiteral("Nowak\tLis"),
                               QStringLiteral("Nowak\nLis"), QStringLiteral("Nowak\u0085")})
        EXPECT_THROW(t.field(QStringLiteral("Adres_ulica")).setString(bad), core::FieldValueError) << bad.toStdString();
    EXPECT_TRUE(t.field(QStringLiteral("Adres_ulica")).isNull());
    t.post();
    Table again(*db, QStringLiteral("Aktualne"));
    again.open();
    EXPECT_EQ(again.field(QStringLiteral("Nazwisko")).asString(), clefs.left(56));
    EXPECT_EQ(again.field(QStringLiteral("Adres_miejsc")).asString(), QStringLiteral("a") + clefs + clefs.left(18));

    // A memo takes tab and line breaks, no other control character.
    db->createTable(paramTableDef());
    Table param(*db, QStringLiteral("param"));
    param.open();
    param.insert();
    param.field(QStringLiteral("Stopka")).setString(QStringLiteral("Otrzymują:\r\n\t1. Wnioskodawca"));
    EXPECT_THROW(param.field(QStringLiteral("Stopka")).setString(QStringLiteral("a\x07")), core::FieldValueError);
    param.post();
    EXPECT_EQ(param.field(QStringLiteral("Stopka")).asString(), QStringLiteral("Otrzymują:\r\n\t1. Wnioskodawca"));
}

TEST_F(ApplicationTable, SpacesOnlyAreABlankAndARequiredFieldOfSpacesCannotBePosted) {
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nowak"));
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("   "));
    t.field(QStringLiteral("Adres_ulica")).setString(QStringLiteral(" "));
    EXPECT_TRUE(t.field(QStringLiteral("Imie")).isNull());
    EXPECT_TRUE(t.field(QStringLiteral("Adres_ulica")).isNull());
    try {
        t.post();
        FAIL();
    } catch (const core::RequiredFieldError &e) {
        EXPECT_EQ(e.field(), QStringLiteral("Imie"));
    }
    t.field(QStringLiteral("Imie")).setString(QStringLiteral(" Jan "));  // text around spaces is kept as typed
    t.post();
    EXPECT_EQ(t.field(QStringLiteral("Imie")).asString(), QStringLiteral(" Jan "));
}

TEST_F(ApplicationTable, DatesBeforeNineteenHundredAreRefusedAndTheZeroDateStaysTheBlank) {
    Table t(*db, QStringLiteral("Aktualne"));
    t.open();
    t.insert();
    Field born = t.field(QStringLiteral("Data_urodz"));
    for (const QVariant &early : {QVariant(QStringLiteral("0001-01-01")), QVariant(QStringLiteral("01.05.1800")),
                                  QVariant(QStringLiteral("30.12.1899")), QVariant(QStringLiteral("31.12.1899")),
                                  QVariant(QDate(1800, 5, 1)), QVariant(QDate(1, 1, 1))}) {
        try {
            born.setVariant(early);
            ADD_FAILURE() << early.toString().toStdString();
        } catch (const core::FieldValueError &e) {
            EXPECT_EQ(e.field(), QStringLiteral("Data_urodz"));
            EXPECT_TRUE(e.message().contains(QStringLiteral("1900-01-01"))) << e.message().toStdString();
        }
    }
    EXPECT_TRUE(born.isNull());
    born.setDate(QDate(1900, 1, 1));
    EXPECT_EQ(born.asDate(), QDate(1900, 1, 1));
    born.setDate(zeroDate());  // the program's own blank
    EXPECT_TRUE(born.isNull());
    born.setDate(QDate());
    EXPECT_TRUE(born.isNull());
}

TEST(FieldValues, StoredRulesKeepWhatEarlierVersionsStored) {
    // A value brought over from a stored row (migration, copies) keeps what
    // the rules for entered values would refuse or blank.
    const FieldDef name{QStringLiteral("Imie"), FieldType::Text, 24, true};
    const FieldDef street{QStringLiteral("Adres_ulica"), FieldType::Text, 28, false};
    const FieldDef born{QStringLiteral("Data_urodz"), FieldType::Date, 0, false};
    EXPECT_EQ(Table::coerce(name, QStringLiteral("   "), ValueRules::Stored), QVariant(QStringLiteral("   ")));
    EXPECT_FALSE(Table::coerce(name, QStringLiteral("   ")).isValid());
    EXPECT_EQ(Table::coerce(street, QStringLiteral("Lipowa\x1b"), ValueRules::Stored), QVariant(QStringLiteral("Lipowa\x1b")));
    EXPECT_THROW(Table::coerce(street, QStringLiteral("Lipowa\x1b")), core::FieldValueError);
    EXPECT_EQ(Table::coerce(born, QDate(1899, 12, 31), ValueRules::Stored), QVariant(QDate(1899, 12, 31)));
    EXPECT_THROW(Table::coerce(born, QDate(1899, 12, 31)), core::FieldValueError);
    // Whole characters either way.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    EXPECT_EQ(Table::coerce(FieldDef{QStringLiteral("Nr"), FieldType::Text, 2, false}, QStringLiteral("a") + clef + clef,
                            ValueRules::Stored),
              QVariant(QStringLiteral("a") + clef));
}
