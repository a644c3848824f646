#include "admin/UserList.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using admin::UserList;
using admin::UserRow;
using test::column;

namespace {

class Users : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::usersTableDef());
        for (const char *name : {"ADAM", "EWA", "OLA"})
            add(*db, QString::fromLatin1(name));
    }
    static void add(data::Database &on, const QString &name) {
        data::Table t(on, QStringLiteral("uspass"));
        t.open();
        t.insert();
        t.field(QStringLiteral("User")).setString(name);
        t.field(QStringLiteral("Pass")).setString(name.toLower());
        t.post();
    }
    QVariantList names() { return column(*db, QStringLiteral("uspass"), QStringLiteral("User")); }

    test::TempDatabase db;
};

}  // namespace

TEST_F(Users, SavingWritesTheChangesOfTheOpeningAndKeepsWhatOthersWroteMeanwhile) {
    UserList list;
    list.load(*db);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.userWidth(), 30);
    EXPECT_FALSE(list.isModified());

    UserRow ewa = list.at(1);
    ewa.modiDict = true;
    list.change(1, ewa);
    list.remove(2);  // OLA
    list.add({QStringLiteral("NOWY"), QStringLiteral("x"), false, true});
    EXPECT_TRUE(list.isModified());

    // Meanwhile another connection adds a user and deletes ADAM, then EWA.
    {
        auto other = db->openSecondConnection();
        add(*other, QStringLiteral("KASIA"));
        data::Table t(*other, QStringLiteral("uspass"));
        t.open();
        t.first();
        t.remove();  // ADAM
        t.first();
        t.remove();  // EWA
    }

    list.save(*db);
    // KASIA stays; EWA, changed here, is stored again with the change; OLA
    // is gone; NOWY is added.
    EXPECT_EQ(names(), (QVariantList{"KASIA", "EWA", "NOWY"}));
    data::Table t(*db, QStringLiteral("uspass"));
    t.open();
    t.moveTo(2);
    EXPECT_TRUE(t.field(QStringLiteral("ModiDict")).asBoolean());
    EXPECT_EQ(t.field(QStringLiteral("Pass")).asString(), QStringLiteral("ewa"));
    EXPECT_EQ(list.size(), 3);
    EXPECT_FALSE(list.isModified());
}

TEST_F(Users, ASaveThatFailsChangesNothingAndKeepsTheChanges) {
    UserList list;
    list.load(*db);
    list.remove(0);
    list.add({QStringLiteral("NOWY"), QString(), false, false});
    // The table is replaced by one the rows cannot go into.
    data::TableDef broken = data::usersTableDef();
    broken.fields[0].required = true;
    db->createTable(broken);
    add(*db, QStringLiteral("ADAM"));
    UserRow nameless;
    list.add(nameless);  // a required name left empty
    EXPECT_THROW(list.save(*db), core::DbError);
    EXPECT_EQ(names(), QVariantList{"ADAM"});
    EXPECT_TRUE(list.isModified());
    EXPECT_EQ(list.size(), 4);
}
