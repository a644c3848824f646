// "Synchronizacja baz": tables of this and of other databases brought into
// line with a pattern, table by table, and a rebuild that a kill at any
// moment cannot leave half done.
#include "admin/Synchronisation.h"
#include "core/DbError.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/TempDatabase.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace varnel;
using admin::TableLocation;
using test::column;

namespace {

class Synchronisation : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        // An archive of an older layout in this database.
        db->createTable(test::without(data::applicationTableDef(QStringLiteral("ar041999")), test::FieldsSince1141));
        for (const char *name : {"Nowak", "Lis"})
            test::addApplication(*db, QStringLiteral("ar041999"), QString::fromUtf8(name));
    }

    TableLocation own(const QString &table) const { return {QDir(db.path()).absolutePath(), table}; }

    test::TempDatabase db;
    admin::Databases databases{*db};
};

}  // namespace

TEST_F(Synchronisation, PathsNameADirectoryAndATable) {
    const auto full = admin::parseTablePath(QStringLiteral("/srv/varnel/baza/ar041999.DB"), QStringLiteral("/x"));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->directory, QStringLiteral("/srv/varnel/baza"));
    EXPECT_EQ(full->table, QStringLiteral("ar041999"));
    EXPECT_EQ(full->path(), QStringLiteral("/srv/varnel/baza/ar041999"));
    const auto bare = admin::parseTablePath(QStringLiteral(" Aktualne "), QStringLiteral("/srv/baza"));
    ASSERT_TRUE(bare);
    EXPECT_EQ(*bare, (TableLocation{QStringLiteral("/srv/baza"), QStringLiteral("Aktualne")}));
    EXPECT_EQ(admin::parseTablePath(QStringLiteral("inna/../stara/ar1"), QStringLiteral("/srv"))->directory,
              QStringLiteral("/srv/stara"));
    EXPECT_FALSE(admin::parseTablePath(QString(), QStringLiteral("/srv")));
    EXPECT_FALSE(admin::parseTablePath(QStringLiteral("/srv/baza/"), QStringLiteral("/srv")));
}

TEST_F(Synchronisation, AnEmptyListDoesNothingAndAPatternIsRequired) {
    EXPECT_EQ(admin::synchronise(databases, std::nullopt, {}), 0);
    EXPECT_THROW(admin::synchronise(databases, std::nullopt, {own(QStringLiteral("ar041999"))}), core::DbError);
    try {
        admin::synchronise(databases, own(QStringLiteral("brak")), {own(QStringLiteral("ar041999"))});
        FAIL() << "a missing pattern was taken";
    } catch (const core::DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nie ma tabeli wzorca struktury bazy: ") + own(QStringLiteral("brak")).path());
    }
    try {
        admin::synchronise(databases, own(QStringLiteral("Aktualne")), {own(QStringLiteral("brak"))});
        FAIL() << "a missing table was taken";
    } catch (const core::DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Nie ma tabeli ") + own(QStringLiteral("brak")).path());
    }
    EXPECT_EQ(db->tableDef(QStringLiteral("ar041999")).fieldIndex(QStringLiteral("KosztKwh")), -1);
}

TEST_F(Synchronisation, TablesOfOtherDatabasesAndAPatternFromAnotherDatabase) {
    // Another office's database holds the pattern and one more old archive.
    QTemporaryDir otherDir;
    {
        auto other = data::Database::create(otherDir.path());
        other->createTable(data::applicationTableDef(QStringLiteral("Wzorzec")));
        other->createTable(test::without(data::applicationTableDef(QStringLiteral("ar121998")), test::FieldsSince1141));
        test::addApplication(*other, QStringLiteral("ar121998"), QStringLiteral("Żak"));
    }
    EXPECT_EQ(admin::tablesIn(databases, otherDir.path()), (QStringList{QStringLiteral("ar121998"), QStringLiteral("Wzorzec")}));
    EXPECT_THROW(admin::tablesIn(databases, QDir(otherDir.path()).filePath(QStringLiteral("brak"))), core::DbError);
    EXPECT_TRUE(databases.isOwn(db.path() + QStringLiteral("/.")));

    std::vector<int> told;
    const int done = admin::synchronise(databases, TableLocation{otherDir.path(), QStringLiteral("Wzorzec")},
                                        {own(QStringLiteral("ar041999")), {otherDir.path(), QStringLiteral("ar121998")}},
                                        nullptr, [&](int i) { told.push_back(i); });
    EXPECT_EQ(done, 2);
    EXPECT_EQ(told, (std::vector<int>{0, 1}));
    EXPECT_EQ(db->tableDef(QStringLiteral("ar041999")).fields, data::applicationTableDef().fields);
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("Nazwisko")),
              (QVariantList{QStringLiteral("Nowak"), QStringLiteral("Lis")}));
    EXPECT_EQ(column(*db, QStringLiteral("ar041999"), QStringLiteral("KosztKwh")), QVariantList(2, QVariant()));
    EXPECT_EQ(column(databases.of(otherDir.path()), QStringLiteral("ar121998"), QStringLiteral("Nazwisko")),
              QVariantList{QStringLiteral("Żak")});
    EXPECT_EQ(databases.of(otherDir.path()).tableDef(QStringLiteral("ar121998")).fields, data::applicationTableDef().fields);
}

TEST_F(Synchronisation, TheFirstFailureStopsTheRunAndLeavesThatTableWhole) {
    // The pattern keeps the first name as a number: the second table holds a
    // name that is no number.
    data::TableDef pattern = data::applicationTableDef(QStringLiteral("wzor"));
    for (data::FieldDef &f : pattern.fields)
        if (f.name == QStringLiteral("Imie"))
            f = data::FieldDef{QStringLiteral("Imie"), data::FieldType::Integer};
    db->createTable(pattern);
    db->createTable(test::without(data::applicationTableDef(QStringLiteral("ar051999")), test::FieldsSince1141));
    test::addApplication(*db, QStringLiteral("ar051999"), QStringLiteral("Kot"), {{QStringLiteral("Imie"), QStringLiteral("Ala")}});
    db->exec(QStringLiteral("UPDATE ar041999 SET Imie = '7'"));
    const auto before = db->tableDef(QStringLiteral("ar051999"));

    EXPECT_THROW(admin::synchronise(databases, own(QStringLiteral("wzor")),
                                    {own(QStringLiteral("ar041999")), own(QStringLiteral("ar051999")),
                                     own(QStringLiteral("Aktualne"))}),
                 core::DbError);
    EXPECT_EQ(db->tableDef(QStringLiteral("ar041999")).fields, pattern.fields);
    EXPECT_EQ(db->tableDef(QStringLiteral("ar051999")).fields, before.fields);
    EXPECT_EQ(column(*db, QStringLiteral("ar051999"), QStringLiteral("Imie")), QVariantList{QStringLiteral("Ala")});
    EXPECT_EQ(db->tableDef(QStringLiteral("Aktualne")).fields, data::applicationTableDef().fields);
    EXPECT_FALSE(db->tableExists(QStringLiteral("tmp1")));
}

// A child process rebuilds a table back and forth between two layouts
// without end and is killed with SIGKILL at a random moment; the table is
// then whole in one of the two layouts with all its rows, and no work table
// is left. Repeated for a few seconds.
TEST(SynchronisationCrash, AKillAtAnyMomentLeavesTheTableWhole) {
    constexpr int Rows = 400;
    QTemporaryDir dir;
    const data::TableDef newLayout = data::applicationTableDef(QStringLiteral("Aktualne"));
    const data::TableDef oldLayout = test::without(data::applicationTableDef(QStringLiteral("stary")), test::FieldsSince1141);
    {
        auto db = data::Database::create(dir.path());
        db->createTable(newLayout);
        db->createTable(oldLayout);
        db->createTable(test::without(data::applicationTableDef(QStringLiteral("ar041999")), test::FieldsSince1141));
        data::Transaction tx(*db);
        for (int i = 0; i < Rows; ++i)
            test::addApplication(*db, QStringLiteral("ar041999"), QStringLiteral("N%1").arg(i, 4, 10, QLatin1Char('0')));
        tx.commit();
    }  // closed before the fork: the child opens its own connection

    QDeadlineTimer deadline(6000);
    int kills = 0;
    int midway = 0;
    while (!deadline.hasExpired() || kills < 5) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            try {
                auto db = data::Database::open(dir.path());
                admin::Databases databases(*db);
                const TableLocation target{dir.path(), QStringLiteral("ar041999")};
                for (bool toNew = true;; toNew = !toNew)
                    admin::synchronise(databases, TableLocation{dir.path(), toNew ? QStringLiteral("Aktualne") : QStringLiteral("stary")},
                                       {target});
            } catch (...) {
            }
            _exit(3);
        }
        usleep(static_cast<useconds_t>(QRandomGenerator::global()->bounded(20000, 400000)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
        ++kills;

        auto db = data::Database::open(dir.path());
        ASSERT_TRUE(db->tableExists(QStringLiteral("ar041999")));
        EXPECT_FALSE(db->tableExists(QStringLiteral("tmp1")));
        const data::TableDef def = db->tableDef(QStringLiteral("ar041999"));
        const bool isNew = def.fields == newLayout.fields;
        ASSERT_TRUE(isNew || def.fields == oldLayout.fields);
        if (isNew)
            ++midway;
        const QVariantList names = column(*db, QStringLiteral("ar041999"), QStringLiteral("Nazwisko"));
        ASSERT_EQ(names.size(), Rows);
        EXPECT_EQ(names.first(), QVariant(QStringLiteral("N0000")));
        EXPECT_EQ(names.last(), QVariant(QStringLiteral("N%1").arg(Rows - 1, 4, 10, QLatin1Char('0'))));
        EXPECT_TRUE(db->integrityProblems().isEmpty());
        EXPECT_NE(def.index(QStringLiteral("NazwNdx")), nullptr);
    }
    std::printf("%d kills, %d with the table in the new layout\n", kills, midway);
}
