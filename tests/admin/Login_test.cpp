#include "admin/Login.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using admin::checkLogin;

namespace {

class Login : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::usersTableDef());
        addUser("ADAM", "Tajne", true, false);
        addUser("ewa", "kot", false, true);
        addUser("Adam", "drugie", true, true);  // a second row of the same name
    }
    void addUser(const char *name, const char *pass, bool modiUsers, bool modiDict) {
        data::Table t(*db, QStringLiteral("uspass"));
        t.open();
        t.insert();
        t.field(QStringLiteral("User")).setString(QString::fromUtf8(name));
        t.field(QStringLiteral("Pass")).setString(QString::fromUtf8(pass));
        t.field(QStringLiteral("ModiUsers")).setBoolean(modiUsers);
        t.field(QStringLiteral("ModiDict")).setBoolean(modiDict);
        t.post();
    }
    admin::LoginResult logIn(const QString &name, const QString &password) {
        return checkLogin(*db, name, password);
    }

    test::TempDatabase db;
};

}  // namespace

TEST_F(Login, NameAndPasswordMatchWithoutRegardToCaseAndThePasswordsBlanks) {
    auto r = logIn(QStringLiteral("adam"), QStringLiteral("  tAJNE "));
    EXPECT_TRUE(r.loggedIn);
    EXPECT_EQ(r.userName, QStringLiteral("ADAM"));
    EXPECT_TRUE(r.rights.modiUsers);
    EXPECT_FALSE(r.rights.modiDict);

    r = logIn(QStringLiteral("EWA"), QStringLiteral("KOT"));
    EXPECT_TRUE(r.loggedIn);
    EXPECT_FALSE(r.rights.modiUsers);
    EXPECT_TRUE(r.rights.modiDict);

    EXPECT_FALSE(logIn(QStringLiteral("ewa"), QStringLiteral("pies")).loggedIn);
    EXPECT_TRUE(logIn(QStringLiteral("ewa"), QStringLiteral("pies")).userName.isEmpty());
    EXPECT_FALSE(logIn(QStringLiteral("ewa"), QStringLiteral("k o t")).loggedIn);
}

TEST_F(Login, BlanksAroundTheNameCount) {
    EXPECT_FALSE(logIn(QStringLiteral("EWA "), QStringLiteral("kot")).loggedIn);
    EXPECT_FALSE(logIn(QStringLiteral(" EWA"), QStringLiteral("kot")).loggedIn);
}

TEST_F(Login, OnlyTheFirstRowOfANameIsTried) {
    EXPECT_FALSE(logIn(QStringLiteral("adam"), QStringLiteral("drugie")).loggedIn);
}

TEST_F(Login, MasterPasswordAdmitsWithBothRightsUnderAnyName) {
    for (const char *name : {"", "NIKT", "ewa"}) {
        const auto r = logIn(QString::fromUtf8(name), QStringLiteral(" pelsiran "));
        EXPECT_TRUE(r.loggedIn) << name;
        EXPECT_TRUE(r.rights.modiUsers) << name;
        EXPECT_TRUE(r.rights.modiDict) << name;
        EXPECT_EQ(r.userName, QString::fromUtf8(name).toUpper()) << name;
    }
}

TEST_F(Login, RightsAreNoneUntilALogInAdmitsAndThenTheRowsOwnOrBoth) {
    EXPECT_FALSE(admin::Rights{}.modiUsers);
    EXPECT_FALSE(admin::Rights{}.modiDict);
    const auto refused = logIn(QStringLiteral("ADAM"), QStringLiteral("zle"));
    EXPECT_FALSE(refused.loggedIn);
    EXPECT_FALSE(refused.rights.modiUsers || refused.rights.modiDict);
    const auto own = logIn(QStringLiteral("ewa"), QStringLiteral("kot"));
    EXPECT_FALSE(own.rights.modiUsers);
    EXPECT_TRUE(own.rights.modiDict);
    const auto master = logIn(QStringLiteral("ewa"), QStringLiteral("PELSIRAN"));  // a wrong password for EWA
    EXPECT_TRUE(master.rights.modiUsers && master.rights.modiDict);
}

TEST_F(Login, AMissingUserTableIsAnEngineFailure) {
    db->deleteTable(QStringLiteral("uspass"));
    EXPECT_THROW(logIn(QStringLiteral("ADAM"), QStringLiteral("PELSIRAN")), core::DbError);
}

TEST(ServicePassword, IsTakenInCapitalsWithItsBlanks) {
    EXPECT_TRUE(admin::isServicePassword(QStringLiteral("tolmerak")));
    EXPECT_TRUE(admin::isServicePassword(QStringLiteral("TOLMERAK")));
    EXPECT_FALSE(admin::isServicePassword(QStringLiteral("TOLMERAK ")));
    EXPECT_FALSE(admin::isServicePassword(QStringLiteral(" TOLMERAK")));
    EXPECT_FALSE(admin::isServicePassword(QStringLiteral("PELSIRAN")));
}
