#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Walk.h"
#include "support/OldLayouts.h"
#include "support/RecordedProgress.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace varnel;
using data::Table;
using data::TableEvent;
using data::WalkFailure;
using data::WalkOptions;
using test::column;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");
const QString Nazwisko = QStringLiteral("Nazwisko");
const QString Adres = QStringLiteral("Adres_miejsc");

// What the grids and controls are told, less the request to store pending
// text before a post (which reaches them even while they are quiet).
struct Events : data::TableObserver {
    QList<TableEvent> seen;
    void tableEvent(Table &, TableEvent e, int) override {
        if (e != TableEvent::UpdateRecord)
            seen << e;
    }
};

// A column in primary-key order as text ("-" for a blank), for readable failures.
QStringList texts(data::Database &db, const QString &field) {
    QStringList out;
    for (const QVariant &v : column(db, Aktualne, field))
        out << (v.isNull() ? QStringLiteral("-") : v.toString());
    return out;
}

class Walk : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        for (const char *s : {"Dudek", "Adamski", "Cichy", "Borek", "Ebert"})
            test::addApplication(*db, Aktualne, QString::fromUtf8(s));
        table.open();
        table.setIndexName(QStringLiteral("NazwNdx"));
    }

    // Marks the town of the current row with its place in the walk.
    data::RowWork mark(QStringList &visited) {
        return [&visited](Table &t) {
            visited << t.field(Nazwisko).asString();
            t.edit();
            t.field(Adres).setString(QString::number(visited.size()));
            t.post();
            return true;
        };
    }

    test::TempDatabase db;
    Table table{*db, Aktualne};
    test::RecordedProgress progress;
};

}  // namespace

TEST_F(Walk, VisitsEveryRowInIndexOrderWithProgressAndQuietControls) {
    Events events;
    table.addObserver(&events);
    QStringList visited;
    WalkOptions options;
    options.progress = &progress;
    const auto r = data::walk(table, mark(visited), options);

    EXPECT_EQ(visited, (QStringList{"Adamski", "Borek", "Cichy", "Dudek", "Ebert"}));
    EXPECT_EQ(r.total, 5);
    EXPECT_EQ(r.done, 5);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(progress.max, 5);
    EXPECT_EQ(progress.steps, 5);
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(events.seen, QList<TableEvent>{TableEvent::RowsChanged});  // once, at the end
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(table.field(Nazwisko).asString(), QStringLiteral("Ebert"));  // the last row visited
    EXPECT_EQ(texts(*db, Adres), (QStringList{"4", "1", "3", "2", "5"}));
    table.removeObserver(&events);
}

TEST_F(Walk, RowsThatMoveOrGoDuringTheWalkAreVisitedOnce) {
    // Renaming moves each row to the end of the surname order; removing
    // Cichy and Dudek (one ahead, one current) skips nothing else.
    QStringList visited;
    data::walk(table, [&](Table &t) {
        const QString name = t.field(Nazwisko).asString();
        visited << name;
        if (name == QLatin1String("Borek")) {
            Table other(*db, Aktualne);  // a row ahead goes through another cursor
            other.open();
            other.setIndexName(QStringLiteral("NazwNdx"));
            EXPECT_TRUE(other.findKey({QStringLiteral("Dudek")}));
            other.remove();
        }
        if (name == QLatin1String("Cichy")) {
            t.remove();
            return true;
        }
        t.edit();
        t.field(Nazwisko).setString(QStringLiteral("Z") + name);
        t.post();
        return true;
    });
    EXPECT_EQ(visited, (QStringList{"Adamski", "Borek", "Cichy", "Ebert"}));
    EXPECT_EQ(texts(*db, Nazwisko), (QStringList{"ZAdamski", "ZBorek", "ZEbert"}));
    EXPECT_EQ(table.recordCount(), 3);
}

TEST_F(Walk, AFailureRollsEverythingBackByDefault) {
    auto other = db->openSecondConnection();
    QStringList visited;
    const auto work = mark(visited);
    EXPECT_THROW(data::walk(table,
                            [&](Table &t) {
                                work(t);
                                if (visited.size() == 3) {
                                    // One transaction: nothing is seen from outside meanwhile.
                                    EXPECT_TRUE(column(*other, Aktualne, Adres).at(1).isNull());
                                    t.edit();
                                    t.field(Adres).setString(QStringLiteral("pół"));
                                    throw core::DbError(QStringLiteral("disk I/O error"));
                                }
                                return true;
                            }),
                 core::DbError);
    EXPECT_EQ(texts(*db, Adres), QStringList(5, QStringLiteral("-")));
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(table.state(), data::TableState::Browse);
    EXPECT_TRUE(table.field(Adres).isNull());
    EXPECT_EQ(table.recordCount(), 5);
}

TEST_F(Walk, KeepDoneKeepsTheRowsBeforeTheFailureAndDropsTheFailingEdit) {
    QStringList visited;
    const auto work = mark(visited);
    WalkOptions options;
    options.onFailure = WalkFailure::KeepDone;
    options.progress = &progress;
    progress.failAtStep = 3;  // the progress itself fails after the third row
    EXPECT_THROW(data::walk(table, work, options), std::runtime_error);
    EXPECT_EQ(texts(*db, Adres), (QStringList{"-", "1", "3", "2", "-"}));
    EXPECT_EQ(progress.finished, 1);

    visited.clear();
    EXPECT_THROW(data::walk(table,
                            [&](Table &t) {
                                if (visited.size() == 1) {
                                    t.edit();
                                    t.field(Adres).setString(QStringLiteral("pół"));
                                    throw core::DbError(QStringLiteral("disk I/O error"));
                                }
                                return work(t);
                            },
                            options),
                 core::DbError);
    // The first row again "1"; the second (Borek) keeps its earlier "2".
    EXPECT_EQ(texts(*db, Adres), (QStringList{"-", "1", "3", "2", "-"}));
    EXPECT_FALSE(db->inTransaction());
}

TEST_F(Walk, AGoOnAnswerStopsAfterTheRowAndKeepsWhatWasDone) {
    QStringList visited;
    const auto work = mark(visited);
    auto r = data::walk(table, [&](Table &t) { return work(t) && visited.size() < 2; });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.done, 2);
    EXPECT_EQ(texts(*db, Adres), (QStringList{"-", "1", "-", "2", "-"}));

    visited.clear();
    WalkOptions options;
    options.progress = &progress;
    progress.stopAtStep = 1;
    r = data::walk(table, work, options);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.done, 1);
    EXPECT_EQ(visited, QStringList{"Adamski"});
    EXPECT_FALSE(db->inTransaction());
}

TEST_F(Walk, InsideTheCallersTransactionTheCallerDecides) {
    QStringList visited;
    {
        data::Transaction outer(*db);
        data::walk(table, mark(visited));
        EXPECT_TRUE(db->inTransaction());
        // no commit
    }
    EXPECT_EQ(texts(*db, Adres), QStringList(5, QStringLiteral("-")));
}

TEST_F(Walk, APendingEditIsPostedBeforeAndAnEmptyTableIsWalkedAtOnce) {
    table.first();
    table.edit();
    table.field(Adres).setString(QStringLiteral("Opole"));
    int rows = 0;
    data::walk(table, [&](Table &t) {
        ++rows;
        EXPECT_EQ(t.state(), data::TableState::Browse);
        return true;
    });
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(texts(*db, Adres).at(1), QStringLiteral("Opole"));

    db->createTable(data::applicationTableDef(QStringLiteral("Pusta")));
    Table empty(*db, QStringLiteral("Pusta"));
    empty.open();
    WalkOptions options;
    options.progress = &progress;
    const auto r = data::walk(empty, [](Table &) { return true; }, options);
    EXPECT_EQ(r.total, 0);
    EXPECT_EQ(progress.max, 0);
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(Walk, OnADatabaseOpenedReadOnlyTheWalkReadsOneStateWithoutAWriteLock) {
    auto reader = data::Database::openReadOnly(db.path());
    Table rows(*reader, Aktualne);
    rows.open();
    rows.setIndexName(QStringLiteral("NazwNdx"));
    QStringList visited;
    WalkOptions options;
    options.progress = &progress;
    const auto r = data::walk(
        rows,
        [&](Table &t) {
            visited << t.field(Nazwisko).asString();
            if (visited.size() == 1)  // another connection writes meanwhile
                test::addApplication(*db, Aktualne, QStringLiteral("Fabiański"));
            return true;
        },
        options);
    EXPECT_EQ(r.total, 5);
    EXPECT_EQ(visited, (QStringList{"Adamski", "Borek", "Cichy", "Dudek", "Ebert"}));
    EXPECT_EQ(progress.steps, 5);
    EXPECT_FALSE(reader->inTransaction());
}

// The walk reads a field from its statement, unconverted, when nobody read it
// yet, and by row id when its work named other fields: either way a field
// reads as it reads outside a walk, whatever other programs stored in it.
namespace {

const QStringList MixedFields{"Id", "T", "M", "F", "C", "S", "B", "D", "R"};

data::TableDef mixedTableDef() {
    using data::FieldType;
    data::TableDef def;
    def.name = QStringLiteral("Mix");
    def.fields = {{"Id", FieldType::Integer, 0, true},  {"T", FieldType::Text, 10, false}, {"M", FieldType::Memo, 0, false},
                  {"F", FieldType::Float, 0, false},    {"C", FieldType::Currency, 0, false},
                  {"S", FieldType::SmallInt, 0, false}, {"B", FieldType::Boolean, 0, false},
                  {"D", FieldType::Date, 0, false},     {"R", FieldType::Text, 5, true}};
    def.indexes = {data::IndexDef{QString(), {QStringLiteral("Id")}, data::IndexPrimary}};
    return def;
}

// One reading of every field of the current row, as text ("!" for a
// refusal). Each walk makes one kind of reading only, so that every kind
// meets fields nobody read before it in that row.
constexpr int ReadingKinds = 6;

QStringList rowReadings(Table &t, int kind) {
    QStringList out;
    for (const QString &name : MixedFields) {
        const data::Field f = t.field(name);
        try {
            switch (kind) {
            case 0: out << (f.isNull() ? QStringLiteral("null") : QStringLiteral("set")); break;
            case 1: out << f.asString(); break;
            case 2: out << QString::number(f.asInteger()); break;
            case 3: out << QString::number(f.asFloat(), 'g', 17); break;
            case 4: out << (f.asBoolean() ? QStringLiteral("T") : QStringLiteral("F")); break;
            default: out << f.asDate().toString(Qt::ISODate); break;
            }
        } catch (const core::FieldValueError &) {
            out << QStringLiteral("!");
        }
    }
    return out;
}

}  // namespace

TEST(WalkReads, AFieldReadsInAWalkAsItReadsOutsideItWhateverIsStored) {
    test::TempDatabase db;
    db->createTable(mixedTableDef());
    // Rows as the program writes them, and as other SQLite tools may leave
    // them: numbers as text, a real in a whole-number field, dates that are
    // no dates, blanks.
    db->exec(QStringLiteral(
        "INSERT INTO Mix VALUES"
        "(1, 'Żółć', 'wiersz\ndrugi', 0.1, 1234.56, 7, 1, '2024-02-29', 'ab'),"
        "(2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'x'),"
        "(3, '', '', '12.5', '99', 'abc', 0, '31.12.2020', 'y'),"
        "(4, '  ', 'x', 5, 1e-7, 2.7, 2, '2021-02-30', 'z'),"
        "(5, '42', 'Łódź', -0.0, 9e15, 32767, 'True', '1899-12-30', 'w'),"
        "(6, 'Kraków', 'm', 3.25, 0, -32768, 0, '2024-1-05', ''),"
        "(7, NULL, NULL, 9e999, NULL, 5000000000, NULL, '0000-01-01', 'v')"));
    Table outside(*db, QStringLiteral("Mix"));
    outside.open();
    for (int kind = 0; kind < ReadingKinds; ++kind) {
        QList<QStringList> expected;
        for (outside.first(); !outside.eof(); outside.next())
            expected << rowReadings(outside, kind);
        ASSERT_EQ(expected.size(), 7);
        for (const QStringList &reads : {QStringList(), QStringList{"F", "T", "D"}}) {
            SCOPED_TRACE(QStringLiteral("reading %1, reads %2").arg(kind).arg(reads.join(QLatin1Char(','))).toStdString());
            Table walked(*db, QStringLiteral("Mix"));
            walked.open();
            QList<QStringList> seen;
            WalkOptions options;
            options.reads = reads;
            data::walk(
                walked,
                [&](Table &t) {
                    seen << rowReadings(t, kind);
                    return true;
                },
                options);
            EXPECT_EQ(seen, expected);
        }
    }
    // Dates as stored are read as such; text that is no date is a blank.
    QList<QDate> dates;
    for (outside.first(); !outside.eof(); outside.next())
        dates << outside.field(QStringLiteral("D")).asDate();
    const QDate zero(1899, 12, 30);
    EXPECT_EQ(dates, (QList<QDate>{QDate(2024, 2, 29), zero, zero, zero, zero, zero, zero}));
}

TEST(WalkReads, ANumberSetInAWalkWritesOnlyWhatDiffersAndARequiredFieldClearedIsRefused) {
    test::TempDatabase db;
    db->createTable(mixedTableDef());
    db->exec(QStringLiteral("INSERT INTO Mix (Id, F, C, S, R) VALUES (1, 0.5, '12.5', 3, 'a'), (2, NULL, 7, 4, 'b'),"
                            " (3, 1, 2, 5, 'c')"));
    Table t(*db, QStringLiteral("Mix"));
    t.open();
    QList<bool> modified;
    QStringList refused;
    WalkOptions options;
    options.reads = QStringList{"F", "C"};
    options.onFailure = WalkFailure::KeepDone;
    data::walk(
        t,
        [&](Table &row) {
            row.edit();
            row.field(QStringLiteral("F")).setFloat(0.5);    // row 1: as stored
            row.field(QStringLiteral("C")).setFloat(12.5);   // row 1: the same number stored as text
            modified << row.isModified();
            row.field(QStringLiteral("S")).setInteger(9);    // a field the work did not name
            if (row.field(QStringLiteral("Id")).asInteger() == 3)
                row.field(QStringLiteral("R")).clear();
            try {
                row.post();
            } catch (const core::RequiredFieldError &) {
                refused << row.field(QStringLiteral("Id")).asString();
                row.cancel();
            }
            return true;
        },
        options);
    EXPECT_EQ(modified, (QList<bool>{false, true, true}));
    EXPECT_EQ(refused, QStringList{"3"});
    EXPECT_EQ(column(*db, QStringLiteral("Mix"), QStringLiteral("F")), (QVariantList{0.5, 0.5, 1.0}));
    EXPECT_EQ(column(*db, QStringLiteral("Mix"), QStringLiteral("S")), (QVariantList{9, 9, 5}));
}

TEST(WalkCache, AWalkHoldsTheDatabaseInItsPageCacheAndGivesTheCacheBackAfter) {
    test::TempDatabase db;
    db->createTable(data::applicationTableDef());
    test::addApplication(*db, Aktualne, QStringLiteral("Adamski"));
    auto cacheSize = [&] {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db->handle(), "PRAGMA cache_size", -1, &s, nullptr);
        const qint64 v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
        sqlite3_finalize(s);
        return v;
    };
    const qint64 before = cacheSize();
    Table t(*db, Aktualne);
    t.open();
    qint64 during = 0;
    data::walk(t, [&](Table &) {
        during = cacheSize();
        return true;
    });
    EXPECT_EQ(during, -64 * 1024);  // KiB: the least a walk takes
    EXPECT_EQ(cacheSize(), before);
    // A large database is held whole with room to spare, up to 1 GB.
    EXPECT_EQ(data::PageCacheForBulkWork::kibFor(400LL << 20), 500LL << 10);
    EXPECT_EQ(data::PageCacheForBulkWork::kibFor(8LL << 30), 1LL << 20);
}
