#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Walk.h"
#include "support/OldLayouts.h"
#include "support/RecordedProgress.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

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
