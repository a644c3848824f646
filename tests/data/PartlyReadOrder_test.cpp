// A cursor shows the first rows of a large table before it has read the
// whole order of its rows, and reads the rest in slices. With slices of a
// few rows, every rule of the cursor holds as if the order were read whole:
// the rows, their order, counts and record numbers, searches, writes placed
// in the order, the nearest row after a removal, and changes made by another
// connection while the order is only partly read.
#include "core/DbError.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Walk.h"
#include "support/OrderSlices.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QSet>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using data::TableEvent;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");
const QStringList Indexes = {QString(), QStringLiteral("NazwNdx"), QStringLiteral("AdresNdx"),
                             QStringLiteral("WyplataNdx"), QStringLiteral("NrDecNdx")};

struct Application {
    const char *surname;
    const char *name;
    const char *town;  // "" for a blank
    const char *street;
    double payment;
    const char *decision;
};

// Many equal keys, keys equal but for case, blanks in every part of the
// address and decision keys: the places where reading on after the last row
// read can lose or repeat rows.
const Application Applications[] = {
    {"Nowak", "Jan", "Opole", "Długa", 10, "003"},   {"nowak", "Jan", "Opole", "Długa", 10, ""},
    {"Nowak", "Ewa", "", "Długa", 0, "001"},         {"Lis", "Jan", "Nysa", "", 12.5, "003"},
    {"lis", "Jan", "", "", 12.5, ""},                {"Łoś", "Ewa", "Łódź", "Krótka", 25, "002"},
    {"Żak", "Jan", "Opole", "", 0, "001"},           {"Zając", "Ewa", "Opole", "Długa", 10, "003"},
    {"Ąbel", "Jan", "Nysa", "Krótka", 25, ""},       {"Nowak", "Jan", "Opole", "Długa", 10, "003"},
    {"Kowal", "Ewa", "", "Krótka", 0, "002"},        {"Nowak", "Jan", "Opole", "", 12.5, "001"},
    {"Żak", "Ewa", "Nysa", "Długa", 10, "002"},      {"Lis", "Ewa", "Opole", "Krótka", 0, ""},
    {"Luty", "Jan", "Łódź", "", 25, "003"},          {"Nowak", "Jan", "", "Długa", 10, "001"},
};

class PartlyReadOrder : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        Table t(*db, Aktualne);
        t.open();
        data::Transaction tx(*db);
        for (const Application &a : Applications)
            add(t, a);
        tx.commit();
    }

    static void add(Table &t, const Application &a) {
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QString::fromUtf8(a.surname));
        t.field(QStringLiteral("Imie")).setString(QString::fromUtf8(a.name));
        t.field(QStringLiteral("Adres_miejsc")).setString(QString::fromUtf8(a.town));
        t.field(QStringLiteral("Adres_ulica")).setString(QString::fromUtf8(a.street));
        t.field(QStringLiteral("Wyplata_calosc")).setCurrency(a.payment);
        t.field(QStringLiteral("IndexNrSupport")).setString(QString::fromUtf8(a.decision));
        t.post();
    }

    static qint64 number(Table &t) { return t.field(QStringLiteral("NrEw")).asInteger(); }
    static QString surname(Table &t) { return t.field(QStringLiteral("Nazwisko")).asString(); }

    // The registry numbers of a cursor from first to last.
    static QList<qint64> numbers(Table &t) {
        QList<qint64> out;
        for (t.first(); !t.eof(); t.next())
            out << number(t);
        return out;
    }

    // Those of a cursor on the connection that reads its order whole at once.
    QList<qint64> whole(const QString &index, data::Database *on = nullptr) {
        test::OrderSlices atOnce(1u << 20, 1u << 20);
        Table t(on ? *on : *db, Aktualne);
        t.open();
        t.setIndexName(index);
        return numbers(t);
    }

    // A cursor opened on the index, standing on its first row, that has read
    // only the first slice of its order (a cursor given an index keeps its
    // row, which may stand far down the new order; one opened again keeps
    // the index).
    std::unique_ptr<Table> cursor(const QString &index, data::Database *on = nullptr) {
        auto t = std::make_unique<Table>(on ? *on : *db, Aktualne);
        t->open();
        t->setIndexName(index);
        t->close();
        t->open();
        EXPECT_EQ(t->recNo(), 1);
        EXPECT_FALSE(t->orderReadWhole());
        return t;
    }

    test::TempDatabase db;
    test::OrderSlices slices{3, 2};
};

struct Recorder : data::TableObserver {
    int rowsChanged = 0;
    void tableEvent(Table &, TableEvent e, int) override { rowsChanged += e == TableEvent::RowsChanged; }
};

void runEventLoopUntilRead(const Table &t) {
    for (int pass = 0; pass < 1000 && !t.orderReadWhole(); ++pass)
        QCoreApplication::processEvents();
}

}  // namespace

TEST_F(PartlyReadOrder, EveryOrderReadInSlicesIsTheWholeOrderForwardsAndBackwards) {
    const int all = int(std::size(Applications));
    for (const QString &index : Indexes) {
        const QList<qint64> expected = whole(index);
        ASSERT_EQ(expected.size(), all) << index.toStdString();
        {
            auto t = cursor(index);
            EXPECT_EQ(t->recordCount(), all) << "counted before the rows are read";
            EXPECT_EQ(numbers(*t), expected) << index.toStdString();
            EXPECT_TRUE(t->orderReadWhole());
        }
        {
            auto t = cursor(index);
            QList<qint64> backwards;
            for (t->last(); !t->bof(); t->prior())
                backwards.prepend(number(*t));
            EXPECT_EQ(backwards, expected) << index.toStdString();
        }
        {
            auto t = cursor(index);  // a walk reads the order whole first
            QList<qint64> walked;
            data::walk(*t, [&](Table &row) {
                walked << number(row);
                return true;
            });
            EXPECT_EQ(walked, expected) << index.toStdString();
        }
    }
}

TEST_F(PartlyReadOrder, SearchesRecordNumbersAndGridRowsBeyondTheRowsRead) {
    const QList<qint64> expected = whole(QStringLiteral("NazwNdx"));
    {
        auto t = cursor(QStringLiteral("NazwNdx"));
        t->findNearest({QStringLiteral("ż")});
        EXPECT_EQ(surname(*t), QStringLiteral("Żak"));
        EXPECT_EQ(t->recNo(), expected.indexOf(number(*t)) + 1);
        EXPECT_EQ(t->recNo(), int(std::size(Applications)) - 1);
    }
    {
        auto t = cursor(QStringLiteral("NazwNdx"));
        EXPECT_TRUE(t->findKey({QStringLiteral("zając")}));
        EXPECT_EQ(t->recNo(), expected.indexOf(number(*t)) + 1);
        EXPECT_FALSE(t->findKey({QStringLiteral("Zz")}));
        EXPECT_EQ(surname(*t), QStringLiteral("Zając")) << "a key not found leaves the cursor where it was";
        t->findNearest({QStringLiteral("Żz")});
        EXPECT_TRUE(t->eof());
        EXPECT_EQ(number(*t), expected.last());
    }
    {
        auto t = cursor(QStringLiteral("NazwNdx"));
        const int nazwisko = t->fieldIndex(QStringLiteral("NrEw"));
        EXPECT_EQ(t->valueAt(12, nazwisko).toLongLong(), expected[11]) << "a grid's row further down";
        EXPECT_FALSE(t->valueAt(int(std::size(Applications)) + 1, nazwisko).isValid());
        EXPECT_EQ(t->recNo(), 1);
        t->moveTo(9);
        EXPECT_EQ(number(*t), expected[8]);
        EXPECT_EQ(t->recNo(), 9);
        t->moveTo(1000);
        EXPECT_EQ(number(*t), expected.last());
    }
    {
        auto t = cursor(QString());
        EXPECT_TRUE(t->findKey({14}));
        EXPECT_EQ(t->recNo(), 14) << "the primary order is that of the numbers";
        auto u = cursor(QStringLiteral("AdresNdx"));
        const qint64 far = whole(QStringLiteral("AdresNdx")).at(14);
        ASSERT_TRUE(u->gotoRowId(far));
        EXPECT_EQ(u->recNo(), 15);
    }
}

TEST_F(PartlyReadOrder, WritesBeforeTheRestIsReadPlaceTheirRowsInTheOrder) {
    const QString nazw = QStringLiteral("NazwNdx");
    {  // a new row that sorts after every row read
        auto t = cursor(nazw);
        add(*t, {"Żurek", "Jan", "Opole", "", 0, ""});
        const qint64 added = number(*t);
        const QList<qint64> expected = whole(nazw);
        EXPECT_EQ(t->recNo(), expected.indexOf(added) + 1);
        EXPECT_EQ(t->recordCount(), expected.size());
        EXPECT_EQ(numbers(*t), expected);
    }
    {  // a row read first, given a key that sorts after the rows read
        auto t = cursor(nazw);
        const qint64 moved = number(*t);
        t->edit();
        t->field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Żywiec"));
        t->post();
        const QList<qint64> expected = whole(nazw);
        EXPECT_EQ(number(*t), moved);
        EXPECT_EQ(t->recNo(), expected.indexOf(moved) + 1);
        EXPECT_EQ(numbers(*t), expected);
    }
    {  // a row from further down, given a key that sorts first
        auto t = cursor(nazw);
        t->findNearest({QStringLiteral("Łoś")});
        t->edit();
        t->field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Aaron"));
        t->post();
        EXPECT_EQ(t->recNo(), 1);
        EXPECT_EQ(numbers(*t), whole(nazw));
    }
    {  // removing the last row read lands on the next row, not yet read
        auto t = cursor(nazw);
        const QList<qint64> before = whole(nazw);
        t->moveTo(3);
        t->remove();
        EXPECT_EQ(number(*t), before[3]);
        EXPECT_EQ(t->recNo(), 3);
        EXPECT_EQ(t->recordCount(), before.size() - 1);
        EXPECT_EQ(numbers(*t), whole(nazw));
    }
    {  // an insert cancelled returns to the row it left
        auto t = cursor(nazw);
        t->moveTo(3);
        const qint64 at = number(*t);
        t->insert();
        t->cancel();
        EXPECT_EQ(number(*t), at);
    }
}

TEST_F(PartlyReadOrder, AChangeByAnotherConnectionWhileTheOrderIsPartlyReadIsSeen) {
    const QString nazw = QStringLiteral("NazwNdx");
    auto other = db->openSecondConnection();
    {  // between the first slice and the count
        auto t = cursor(nazw);
        Table o(*other, Aktualne);
        o.open();
        add(o, {"Aaron", "Jan", "", "", 0, ""});
        add(o, {"Zyzio", "Jan", "", "", 0, ""});
        EXPECT_EQ(t->recordCount(), int(std::size(Applications)) + 2);
        EXPECT_EQ(numbers(*t), whole(nazw));
    }
    {  // between two slices of a move down the order
        auto t = cursor(nazw);
        for (int i = 0; i < 5; ++i)
            t->next();
        const qint64 standing = number(*t);
        Table o(*other, Aktualne);
        o.open();
        o.setIndexName(nazw);
        // Before the row: one row gone, one new; after it: one gone, one new.
        o.first();
        o.remove();
        add(o, {"Abacki", "Jan", "", "", 0, ""});
        ASSERT_TRUE(o.findKey({QStringLiteral("Żak")}));
        o.remove();
        add(o, {"Żmuda", "Jan", "", "", 0, ""});

        const QList<qint64> expected = whole(nazw);
        QList<qint64> rest;
        for (t->next(); !t->eof(); t->next())
            rest << number(*t);
        EXPECT_EQ(rest, expected.mid(expected.indexOf(standing) + 1)) << "the rows after the row the cursor stood on";
        EXPECT_EQ(numbers(*t), expected);
        EXPECT_EQ(t->recordCount(), expected.size());
    }
    {  // the cursor's own row removed elsewhere: it lands on the row after it
        auto t = cursor(nazw);
        t->moveTo(2);
        const QList<qint64> before = whole(nazw);
        Table o(*other, Aktualne);
        o.open();
        ASSERT_TRUE(o.gotoRowId(t->rowId()));
        o.remove();
        EXPECT_EQ(t->recNo(), 2);
        EXPECT_EQ(number(*t), before[2]);
    }
}

TEST_F(PartlyReadOrder, TheRestIsReadFromTheEventLoopQuietlyUnlessChangedElsewhere) {
    const QString nazw = QStringLiteral("NazwNdx");
    const QList<qint64> expected = whole(nazw);
    {
        auto t = cursor(nazw);
        Recorder recorder;
        t->addObserver(&recorder);
        t->moveTo(2);
        runEventLoopUntilRead(*t);
        EXPECT_TRUE(t->orderReadWhole());
        EXPECT_EQ(recorder.rowsChanged, 0) << "reading on changes no row a grid shows";
        EXPECT_EQ(t->recNo(), 2);
        EXPECT_EQ(numbers(*t), expected);
    }
    {
        auto t = cursor(nazw);
        Recorder recorder;
        t->addObserver(&recorder);
        QCoreApplication::processEvents();
        auto other = db->openSecondConnection();
        Table o(*other, Aktualne);
        o.open();
        add(o, {"Aaron", "Jan", "", "", 0, ""});
        runEventLoopUntilRead(*t);
        QCoreApplication::processEvents();
        EXPECT_EQ(recorder.rowsChanged, 1) << "the rows read anew are told";
        EXPECT_EQ(numbers(*t), whole(nazw));
    }
}

TEST_F(PartlyReadOrder, TablesNoLargerThanASliceAndEmptyTables) {
    auto t = cursor(QStringLiteral("NazwNdx"));
    data::walk(*t, [](Table &row) {
        row.remove();
        return true;
    });
    EXPECT_EQ(t->recordCount(), 0);
    {  // empty
        Table e(*db, Aktualne);
        e.open();
        e.setIndexName(QStringLiteral("NazwNdx"));
        EXPECT_TRUE(e.orderReadWhole());
        EXPECT_EQ(e.recordCount(), 0);
        EXPECT_TRUE(e.isEmpty());
        e.last();
        EXPECT_TRUE(e.eof() && e.bof());
        e.moveTo(4);
        EXPECT_EQ(e.recNo(), 0);
        e.findNearest({QStringLiteral("K")});
        EXPECT_TRUE(e.eof());
        EXPECT_FALSE(e.valueAt(1, 0).isValid());
        e.edit();  // an edit of no row is an insert
        EXPECT_EQ(e.state(), data::TableState::Insert);
        e.cancel();
        EXPECT_TRUE(e.eof());
    }
    for (const int rows : {1, 2, 3, 4}) {  // fewer, as many and more than the first slice
        {
            Table w(*db, Aktualne);
            w.open();
            add(w, {rows % 2 ? "Zięba" : "Adamek", "Jan", "", "", 0, ""});
        }
        auto s = std::make_unique<Table>(*db, Aktualne);
        s->open();
        s->setIndexName(QStringLiteral("NazwNdx"));
        EXPECT_EQ(s->orderReadWhole(), rows < 3) << rows;
        EXPECT_EQ(s->recordCount(), rows);
        EXPECT_EQ(numbers(*s), whole(QStringLiteral("NazwNdx"))) << rows;
        EXPECT_TRUE(s->orderReadWhole());
        s->last();
        EXPECT_EQ(s->recNo(), rows);
    }
}

TEST_F(PartlyReadOrder, ADescendingIndexWithBlanksReadsInSlices) {
    data::TableDef def;
    def.name = QStringLiteral("Malejace");
    def.fields = {data::FieldDef{QStringLiteral("Nr"), data::FieldType::AutoInc, 0, false},
                  data::FieldDef{QStringLiteral("Nazwa"), data::FieldType::Text, 10, false},
                  data::FieldDef{QStringLiteral("Kwota"), data::FieldType::Float, 0, false}};
    def.indexes = {data::IndexDef{QString(), {QStringLiteral("Nr")}, data::IndexPrimary},
                   data::IndexDef{QStringLiteral("Malejaco"), {QStringLiteral("Nazwa"), QStringLiteral("Kwota")},
                                  data::IndexDescending | data::IndexCaseInsensitive}};
    db->createTable(def);
    {
        Table t(*db, def.name);
        t.open();
        const QStringList names = {QStringLiteral("b"), QString(), QStringLiteral("B"), QStringLiteral("a"),
                                   QStringLiteral("ą"), QString(), QStringLiteral("c"), QStringLiteral("b")};
        for (int i = 0; i < 24; ++i) {
            t.insert();
            t.field(QStringLiteral("Nazwa")).setString(names[i % names.size()]);
            if (i % 3)
                t.field(QStringLiteral("Kwota")).setFloat(i % 4);
            t.post();
        }
    }
    auto numbersOf = [&](Table &t) {
        QList<qint64> out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(QStringLiteral("Nr")).asInteger();
        return out;
    };
    QList<qint64> expected;
    {
        test::OrderSlices atOnce(1u << 20, 1u << 20);
        Table t(*db, def.name);
        t.open();
        t.setIndexName(QStringLiteral("Malejaco"));
        expected = numbersOf(t);
    }
    ASSERT_EQ(expected.size(), 24);
    EXPECT_EQ(QSet<qint64>(expected.begin(), expected.end()).size(), 24);
    Table t(*db, def.name);
    t.open();
    t.setIndexName(QStringLiteral("Malejaco"));
    EXPECT_EQ(numbersOf(t), expected);
}
