// The month close killed at random moments: whatever the moment, the
// archive list and the archive tables are either as before the close or
// hold the new month complete.
#include "archive/ArchiveList.h"
#include "data/Database.h"
#include "data/Table.h"
#include "support/AdminRun.h"
#include "support/OldLayouts.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <iostream>
#include <gtest/gtest.h>

using namespace varnel;
using data::Database;

namespace {

const QString Current = QStringLiteral("Aktualne");
const QDate April(1999, 4, 1);
const QString Archive = QStringLiteral("ar041999");

// Every value of a table, row after row in primary-key order.
QList<QVariantList> contents(Database &db, const QString &table) {
    QList<QVariantList> all;
    data::Table t(db, table);
    t.open();
    const int fields = int(db.tableDef(table).fields.size());
    for (t.first(); !t.eof(); t.next()) {
        QVariantList row;
        for (int i = 0; i < fields; ++i)
            row << t.value(i);
        all << row;
    }
    return all;
}

class MonthCloseCrash : public test::AdminDatabase {
protected:
    // Starts varnel-admin close-month for April 1999 and kills it with
    // SIGKILL after `delayMs` (or lets it end when it is quicker).
    bool runKilledAfter(int delayMs) {
        QProcess p;
        p.start(QString::fromUtf8(VARNEL_ADMIN_PROGRAM),
                {QStringLiteral("close-month"), QStringLiteral("1999-04"), QStringLiteral("--replace"),
                 QStringLiteral("--db"), dbDir()});
        if (!p.waitForStarted(10000))
            return false;
        const bool ended = p.waitForFinished(delayMs);
        if (!ended) {
            p.kill();
            p.waitForFinished(10000);
        }
        return ended;
    }
};

}  // namespace

TEST_F(MonthCloseCrash, AKilledCloseLeavesTheOldStateOrTheCompleteNewMonth) {
    ASSERT_EQ(onDb({QStringLiteral("demo"), QStringLiteral("--count"), QStringLiteral("2000")}).code, 0);

    // How long a whole close takes here; kills fall anywhere in it.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(runKilledAfter(60000));
    const int whole = std::max<int>(int(timer.elapsed()), 50);
    {
        auto db = Database::open(dbDir());
        db->deleteTable(Archive);
        data::Table list(*db, archive::ArchiveListTable);
        list.open();
        ASSERT_TRUE(list.findKey({April}));
        list.remove();
    }

    QRandomGenerator random(20261209);
    int killed = 0, completed = 0;
    // Each round changes the register and the lowest pension first, so that
    // an archive from an earlier round is told from the new one.
    QList<QVariantList> previous;  // the archive of the last complete round
    std::optional<double> previousPension;
    QElapsedTimer budget;
    budget.start();
    for (int round = 1; round <= 12 && budget.elapsed() < 40000; ++round) {
        QList<QVariantList> expected;
        const double pension = 500.0 + round;
        {
            auto db = Database::open(dbDir());
            test::addApplication(*db, Current, QStringLiteral("Runda%1").arg(round));
            data::Table param(*db, QStringLiteral("param"));
            param.open();
            param.first();
            param.edit();
            param.field(QStringLiteral("Min_emeryt")).setFloat(pension);
            param.post();
            expected = contents(*db, Current);
        }
        const int delay = int(random.bounded(whole + whole / 4));
        if (runKilledAfter(delay))
            ++completed;
        else
            ++killed;

        auto db = Database::open(dbDir());
        ASSERT_TRUE(db->integrityProblems().isEmpty()) << "round " << round;
        const std::optional<archive::ArchiveEntry> entry = archive::archiveEntry(*db, April);
        const bool table = db->tableExists(Archive);
        ASSERT_EQ(entry.has_value(), table) << "round " << round << ", killed after " << delay << " ms";
        if (!entry) {
            EXPECT_FALSE(previousPension) << "round " << round;  // only before the first complete close
            continue;
        }
        EXPECT_EQ(entry->fileName, Archive);
        if (entry->najnEmer == pension) {
            EXPECT_EQ(contents(*db, Archive), expected) << "round " << round;
            previous = expected;
            previousPension = pension;
        } else {
            ASSERT_TRUE(previousPension) << "round " << round;
            EXPECT_EQ(entry->najnEmer, previousPension);
            EXPECT_EQ(contents(*db, Archive), previous) << "round " << round;
        }
        EXPECT_EQ(db->tableDef(Archive).indexes, db->tableDef(Current).indexes);
    }
    std::cout << "month close killed " << killed << " times, completed " << completed << " times (a whole close: "
              << whole << " ms)\n";
    EXPECT_GT(killed, 0);
}
