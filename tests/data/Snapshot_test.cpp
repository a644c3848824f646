// Random inserts, edits, removals, moves and index changes through several
// cursors on two connections: after every step each cursor's rows, walked
// from first to last, are those a freshly opened cursor reads, its record
// number and count agree with them, and the table holds exactly what the
// steps wrote (an edit never lands on another row).
#include "core/DbError.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OrderSlices.h"
#include "support/TempDatabase.h"

#include <QRandomGenerator>
#include <map>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using data::TableState;

namespace {

const QString Aktualne = QStringLiteral("Aktualne");
const QStringList Indexes = {QString(), QStringLiteral("NazwNdx"), QStringLiteral("AdresNdx"),
                             QStringLiteral("WyplataNdx"), QStringLiteral("NrDecNdx")};
// Few values, so that equal keys and Polish letters meet often.
const QStringList Surnames = {QStringLiteral("Lis"), QStringLiteral("lis"), QStringLiteral("Łoś"), QStringLiteral("Luty"),
                              QStringLiteral("Żak"), QStringLiteral("Zając"), QStringLiteral("Ąbel"), QString()};
const QStringList Towns = {QStringLiteral("Opole"), QStringLiteral("Nysa"), QStringLiteral("Łódź"), QString()};

// The fields the steps write, of the current row (or its edit buffer).
QStringList written(Table &t) {
    QStringList row;
    for (const char *f : {"Nazwisko", "Imie", "Adres_miejsc", "Wyplata_calosc", "IndexNrSupport"})
        row << t.field(QString::fromLatin1(f)).asString();
    return row;
}

qint64 number(Table &t) { return t.field(QStringLiteral("NrEw")).asInteger(); }

// The rows of a cursor from first to last.
QStringList rowsOf(Table &t) {
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << QString::number(number(t)) + QLatin1Char(':') + written(t).join(QLatin1Char('|'));
    return out;
}

class Snapshot : public ::testing::TestWithParam<quint32> {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        second = db->openSecondConnection();
        for (int i = 0; i < 4; ++i) {
            auto c = std::make_unique<Table>(i < 3 ? *db : *second, Aktualne);
            c->open();
            cursors.push_back(std::move(c));
        }
        for (int i = 0; i < 12; ++i)
            insert(*cursors[0]);
    }

    int pick(int n) { return int(random.bounded(quint32(n))); }
    template <typename T>
    const T &any(const QList<T> &list) { return list[pick(int(list.size()))]; }

    void setKeys(Table &t) {
        // Nazwisko and Imie are required: a blank surname is refused.
        const QString surname = any(Surnames);
        t.field(QStringLiteral("Nazwisko")).setString(surname.isEmpty() ? QStringLiteral("Nowak") : surname);
        t.field(QStringLiteral("Imie")).setString(pick(2) ? QStringLiteral("Jan") : QStringLiteral("Ewa"));
        t.field(QStringLiteral("Adres_miejsc")).setString(any(Towns));
        t.field(QStringLiteral("Wyplata_calosc")).setCurrency(pick(4) * 12.5);
        t.field(QStringLiteral("IndexNrSupport")).setString(QString::number(pick(5)).rightJustified(3, QLatin1Char('0')));
    }
    void insert(Table &t) {
        t.insert();
        setKeys(t);
        t.post();
        expected[number(t)] = written(t);
    }
    void moveSomewhere(Table &t) {
        switch (pick(6)) {
        case 0: t.first(); break;
        case 1: t.last(); break;
        case 2: t.next(); break;
        case 3: t.prior(); break;
        case 4: t.moveTo(1 + pick(std::max(1, t.recordCount()))); break;
        default:
            if (!t.indexName().isEmpty() && t.indexName() != QLatin1String("WyplataNdx"))
                t.findNearest({any(Surnames)});
            else
                t.refresh();
            break;
        }
    }

    // One random step through one cursor; a post or removal of a row that
    // another cursor removed meanwhile is refused, as it must be.
    void step(Table &t) {
        // A move, an insert or an index change posts an edit left open.
        const bool hadEdit = edits.count(&t) > 0;
        try {
            if (hadEdit && pick(6) == 0) {
                t.cancel();
                edits.erase(&t);
                return;
            }
            act(t);
            if (hadEdit && edits.count(&t) && !t.isEditing())
                postEdit(t);
        } catch (const core::RecordGoneError &) {
            EXPECT_EQ(t.state(), TableState::Browse);
            edits.erase(&t);
        }
    }
    void act(Table &t) {
        {
            switch (pick(8)) {
            case 0: insert(t); break;
            case 1:
            case 2:
                if (t.isEditing()) {
                    postEdit(t);  // an edit begun in an earlier step
                } else if (!t.isEmpty()) {
                    t.moveTo(1 + pick(t.recordCount()));
                    t.edit();
                    Edit &e = edits[&t];
                    e.row = number(t);
                    e.before = written(t);
                    setKeys(t);
                    e.after = written(t);
                    if (pick(3) == 0)
                        postEdit(t);  // mostly left open for a later step
                }
                break;
            case 3:
                if (!t.isEmpty()) {
                    if (!t.isEditing())
                        moveSomewhere(t);
                    const qint64 nr = t.isEditing() ? edits[&t].row : number(t);
                    edits.erase(&t);
                    t.remove();
                    expected.erase(nr);
                }
                break;
            case 4: t.setIndexName(any(Indexes)); break;
            default: moveSomewhere(t); break;
            }
        }
    }
    // Posts the cursor's open edit (when it is still open) and records it:
    // a post writes the fields the edit changed, and only those.
    void postEdit(Table &t) {
        const Edit e = edits[&t];
        t.post();
        edits.erase(&t);
        const auto row = expected.find(e.row);
        if (row == expected.end()) {
            ADD_FAILURE() << "an edit of the removed row " << e.row << " was posted";
            return;
        }
        for (int i = 0; i < e.after.size(); ++i)
            if (e.after[i] != e.before[i])
                row->second[i] = e.after[i];
    }
    // What the steps wrote, in registry-number order.
    QStringList expectedRows() const {
        QStringList out;
        for (const auto &[nr, row] : expected)
            out << QString::number(nr) + QLatin1Char(':') + row.join(QLatin1Char('|'));
        return out;
    }

    void runSteps();

    void check(Table &t, int which) {
        const int count = t.recordCount();
        const int recNo = t.recNo();
        if (t.state() != TableState::Insert) {
            if (count == 0) {
                EXPECT_EQ(recNo, 0) << which;
            } else {
                EXPECT_GE(recNo, 1) << which;
                EXPECT_LE(recNo, count) << which;
            }
        }
        if (t.isEditing())
            return;  // walking would post it; checked once it is posted
        if (count > 0) {
            const int nazwisko = t.fieldIndex(QStringLiteral("Nazwisko"));
            EXPECT_EQ(t.valueAt(recNo, nazwisko), t.value(nazwisko)) << which;
        }
        Table fresh(t.database(), Aktualne);
        fresh.open();
        fresh.setIndexName(t.indexName());
        const QStringList expected = rowsOf(fresh);
        EXPECT_EQ(count, expected.size()) << which;
        EXPECT_EQ(rowsOf(t).join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString())
            << which << " on " << t.indexName().toStdString();
    }

    test::TempDatabase db;
    std::unique_ptr<data::Database> second;
    std::vector<std::unique_ptr<Table>> cursors;
    QRandomGenerator random{GetParam()};
    struct Edit {
        qint64 row = 0;
        QStringList before, after;
    };
    std::map<qint64, QStringList> expected;  // registry number -> fields written
    std::map<Table *, Edit> edits;           // edits not yet posted
};

}  // namespace

void Snapshot::runSteps() {
    for (int n = 0; n < 120 && !HasFailure(); ++n) {
        step(*cursors[pick(int(cursors.size()))]);
        for (size_t c = 0; c < cursors.size(); ++c)
            check(*cursors[c], int(c));
        Table fresh(*db, Aktualne);
        fresh.open();
        EXPECT_EQ(rowsOf(fresh).join(QLatin1Char('\n')).toStdString(), expectedRows().join(QLatin1Char('\n')).toStdString())
            << "after step " << n;
    }
}

TEST_P(Snapshot, EveryCursorWalksWhatAFreshCursorWalks) { runSteps(); }

INSTANTIATE_TEST_SUITE_P(Seeds, Snapshot, ::testing::Values(1u, 2u, 3u, 4u, 5u));

namespace {

// The same steps with every cursor reading its order a few rows at a time,
// so that moves, searches, writes and changes made elsewhere meet an order
// read only in part.
class SnapshotInSlices : public Snapshot {
    test::OrderSlices slices{3, 2};
};

}  // namespace

TEST_P(SnapshotInSlices, EveryCursorWalksWhatAFreshCursorWalks) { runSteps(); }

INSTANTIATE_TEST_SUITE_P(Seeds, SnapshotInSlices, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));
