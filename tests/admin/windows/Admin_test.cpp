#include "admin/Login.h"
#include "admin/windows/TFormHaslo.h"
#include "admin/windows/TFormLogin.h"
#include "admin/windows/TFormOneUser.h"
#include "admin/windows/TFormUsers.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/Program.h"
#include "support/windows/Dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

using namespace varnel;
using admin::TFormLogin;
using admin::TFormOneUser;
using admin::TFormUsers;
constexpr auto Yes = test::ScriptedQuestions::Answer::Yes;
constexpr auto No = test::ScriptedQuestions::Answer::No;
using Kind = test::ScriptedQuestions::Kind;

namespace {

class Admin : public test::ProgramTest {
protected:
    void SetUp() override {
        questions.setDefaultAnswer(No);
        db->createTable(data::usersTableDef());
        data::Table t(*db, QStringLiteral("uspass"));
        t.open();
        t.insert();
        t.field(QStringLiteral("User")).setString(QStringLiteral("ADMIN"));
        t.field(QStringLiteral("Pass")).setString(QStringLiteral("ADMIN"));
        t.field(QStringLiteral("ModiUsers")).setBoolean(true);
        t.field(QStringLiteral("ModiDict")).setBoolean(false);
        t.post();
    }
    // The user names as the rest of the program reads them.
    QVariantList storedUsers() {
        data::Table t(*db, QStringLiteral("uspass"));
        t.open();
        QVariantList names;
        for (t.first(); !t.eof(); t.next())
            names << t.field(QStringLiteral("User")).asVariant();
        return names;
    }
    // Fills in the user dialog that `open` shows and presses one of its
    // buttons.
    void inUserDialog(const std::function<void(TFormOneUser &)> &fill, const std::function<void()> &open) {
        EXPECT_TRUE(test::answerModalOf<TFormOneUser>(open, fill)) << "no user dialog";
    }
    // A user added by another workstation: another connection, at once.
    void addUserElsewhere(const QString &name) {
        auto other = db->openSecondConnection();
        data::Table t(*other, QStringLiteral("uspass"));
        t.open();
        t.insert();
        t.field(QStringLiteral("User")).setString(name);
        t.post();
    }
    static void type(QWidget *w, const QString &text) {
        w->setFocus();
        QTest::keyClicks(w, text);
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Log-in window

TEST_F(Admin, LoginAdmitsWithTheRowsRightsAndSaysNothing) {
    TFormLogin w(ctx);
    w.show();
    type(w.EditNazwa, QStringLiteral("admin"));
    type(w.EditPassword, QStringLiteral(" admin"));
    QTest::keyClick(w.EditPassword, Qt::Key_Return);  // OK is the default button
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.loggedIn());
    EXPECT_TRUE(w.rights().modiUsers);
    EXPECT_FALSE(w.rights().modiDict);
    EXPECT_TRUE(questions.asked().empty());
    // The run knows who logged in (the metric line of decisions names it).
    EXPECT_EQ(ctx.values.userName, QStringLiteral("ADMIN"));
}

TEST_F(Admin, AFailedLoginIsToldOnceWhenTheWindowCloses) {
    TFormLogin w(ctx);
    EXPECT_FALSE(w.rights().modiUsers || w.rights().modiDict);  // none before the log-in
    w.show();
    type(w.EditNazwa, QStringLiteral("ADMIN "));
    type(w.EditPassword, QStringLiteral("ADMIN"));
    w.ButtonOK->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.loggedIn());
    EXPECT_FALSE(w.cancelled());
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("   Nieprawidłowe hasło lub nazwa użytkownika!  ")});
    EXPECT_FALSE(w.rights().modiUsers || w.rights().modiDict);
    EXPECT_TRUE(ctx.values.userName.isEmpty());

    // The close box is not a cancel either.
    questions.clear();
    w.show();
    w.close();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{admin::FailedLoginText});
}

TEST_F(Admin, CancelAndEscCloseWithoutAMessage) {
    TFormLogin w(ctx);
    w.show();
    type(w.EditPassword, QStringLiteral("PELSIRAN"));
    w.ButtonCancel->click();
    EXPECT_TRUE(w.cancelled());
    EXPECT_FALSE(w.loggedIn());

    w.show();  // showing again starts afresh
    EXPECT_FALSE(w.cancelled());
    QTest::keyClick(w.EditNazwa, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.cancelled());
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(Admin, MasterPasswordWithAnUnknownNameGivesBothRights) {
    TFormLogin w(ctx);
    w.show();
    type(w.EditNazwa, QStringLiteral("ktokolwiek"));
    type(w.EditPassword, QStringLiteral("pelsiran"));
    w.ButtonOK->click();
    EXPECT_TRUE(w.loggedIn());
    EXPECT_TRUE(w.rights().modiUsers && w.rights().modiDict);
}

// ---------------------------------------------------------------------------
// Users window

TEST_F(Admin, AddedUserStaysInTheWindowsTransactionUntilOK) {
    TFormUsers w(ctx);
    ASSERT_TRUE(w.openSession());
    w.show();
    inUserDialog([](TFormOneUser &d) {
        type(d.DBENazwa, QStringLiteral("Ola"));
        type(d.DBEPassword, QStringLiteral("las"));
        d.DBCBoxModiSlown->click();
        d.ButtonOK->click();
    }, [&] { w.ButtonDodaj->click(); });
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 2);
    EXPECT_EQ(storedUsers(), QVariantList{"ADMIN"});  // not seen by the program yet

    w.ButtonOK->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.inSession());
    EXPECT_EQ(storedUsers(), (QVariantList{"ADMIN", "Ola"}));
    const auto r = admin::checkLogin(*db, QStringLiteral("OLA"), QStringLiteral("LAS"));
    EXPECT_TRUE(r.loggedIn);
    EXPECT_FALSE(r.rights.modiUsers);
    EXPECT_TRUE(r.rights.modiDict);
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(Admin, ClosingAndDroppingTheChangesLeavesTheUserTableUnchanged) {
    TFormUsers w(ctx);
    ASSERT_TRUE(w.openSession());
    w.show();
    inUserDialog([](TFormOneUser &d) {
        type(d.DBENazwa, QStringLiteral("Nowy"));
        d.ButtonOK->click();
    }, [&] { w.ButtonDodaj->click(); });
    questions.answer(Yes);  // "Usunąć pozycję ?"
    w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
    w.ButtonUsun->click();
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 1);

    questions.answer(Yes);  // drop the changes
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(questions.texts(Kind::Confirm), (QStringList{"Usunąć pozycję ?", "Zrezygnować z zapisania zmian ?"}));
    EXPECT_TRUE(questions.asked()[0].defaultNo);  // a delete: "Nie" first
    EXPECT_EQ(storedUsers(), QVariantList{"ADMIN"});
}

TEST_F(Admin, AnsweringNoKeepsTheWindowOpenWithItsChanges) {
    TFormUsers w(ctx);
    ASSERT_TRUE(w.openSession());
    w.show();
    inUserDialog([](TFormOneUser &d) {
        type(d.DBENazwa, QStringLiteral("Nowy"));
        d.ButtonOK->click();
    }, [&] { w.ButtonDodaj->click(); });

    questions.answer(No);
    QTest::keyClick(w.DBGrid1, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.inSession());
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), 2);

    w.ButtonOK->click();
    EXPECT_EQ(storedUsers(), (QVariantList{"ADMIN", "Nowy"}));
}

TEST_F(Admin, UserDialogCancelDropsTheRowsEditsAndNoRowIsDeletedOnNo) {
    TFormUsers w(ctx);
    ASSERT_TRUE(w.openSession());
    w.show();
    inUserDialog([](TFormOneUser &d) {
        EXPECT_EQ(d.DBENazwa->text(), QStringLiteral("ADMIN"));
        type(d.DBENazwa, QStringLiteral("X"));
        d.DBCBoxModiUsers->click();
        d.ButtonCancel->click();
    }, [&] {
        const QRect first = w.DBGrid1->visualRect(w.DBGrid1->model()->index(0, 0));
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, first.center());
    });
    questions.answer(No);
    w.ButtonUsun->click();
    w.ButtonOK->click();

    data::Table t(*db, QStringLiteral("uspass"));
    t.open();
    ASSERT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.field(QStringLiteral("User")).asString(), QStringLiteral("ADMIN"));
    EXPECT_TRUE(t.field(QStringLiteral("ModiUsers")).asBoolean());
}

TEST_F(Admin, TheOpenUsersWindowLocksNothingAndOkWritesOnlyItsOwnChanges) {
    TFormUsers w(ctx);
    ASSERT_TRUE(w.openSession());
    w.show();
    inUserDialog([](TFormOneUser &d) {
        type(d.DBENazwa, QStringLiteral("Ola"));
        d.ButtonOK->click();
    }, [&] { w.ButtonDodaj->click(); });
    inUserDialog([](TFormOneUser &d) {
        d.DBCBoxModiSlown->click();
        d.ButtonOK->click();
    }, [&] {
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
        w.ButtonPopraw->click();
    });

    // Another workstation writes while the window is open, at once.
    addUserElsewhere(QStringLiteral("KASIA"));
    EXPECT_EQ(storedUsers(), (QVariantList{"ADMIN", "KASIA"}));

    w.ButtonOK->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(storedUsers(), (QVariantList{"ADMIN", "KASIA", "Ola"}));  // the other's row is kept
    const auto admin = admin::checkLogin(*db, QStringLiteral("ADMIN"), QStringLiteral("ADMIN"));
    EXPECT_TRUE(admin.rights.modiUsers);
    EXPECT_TRUE(admin.rights.modiDict);  // the change made in the window
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(Admin, DroppingTheChangesLeavesTheUserTableAsOthersLeftIt) {
    TFormUsers w(ctx);
    ASSERT_TRUE(w.openSession());
    w.show();
    inUserDialog([](TFormOneUser &d) {
        type(d.DBEPassword, QStringLiteral("nowe"));
        d.ButtonOK->click();
    }, [&] {
        const QPoint first = w.DBGrid1->visualRect(w.DBGrid1->model()->index(0, 0)).center();
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, first);
    });
    addUserElsewhere(QStringLiteral("KASIA"));
    questions.answer(Yes);  // "Zrezygnować z zapisania zmian ?"
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(storedUsers(), (QVariantList{"ADMIN", "KASIA"}));
    EXPECT_TRUE(admin::checkLogin(*db, QStringLiteral("ADMIN"), QStringLiteral("ADMIN")).loggedIn);
}

TEST_F(Admin, AUserTableThatCannotBeOpenedIsToldAndNoWindowShows) {
    db->deleteTable(QStringLiteral("uspass"));
    TFormUsers w(ctx);
    EXPECT_FALSE(w.openSession());
    EXPECT_EQ(questions.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(questions.texts(Kind::Error).first().contains(QStringLiteral("uspass")));
}

// ---------------------------------------------------------------------------
// Service password

TEST_F(Admin, WrongServicePasswordKeepsTheWindowOpenWithTheEntry) {
    admin::TFormHaslo w;
    w.show();
    EXPECT_TRUE(w.LabelOK->text().isEmpty());
    type(w.EditPass, QStringLiteral("TOLMERAK "));
    w.ButtonPassOK->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.LabelOK->text(), QStringLiteral("Błędne hasło!"));
    EXPECT_EQ(w.EditPass->text(), QStringLiteral("TOLMERAK "));
    EXPECT_FALSE(w.succeeded());

    QTest::keyClick(w.EditPass, Qt::Key_Backspace);
    QTest::keyClick(w.EditPass, Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.succeeded());
}

TEST_F(Admin, EscLeavesTheServicePasswordWindowWithoutSuccess) {
    admin::TFormHaslo w;
    w.show();
    type(w.EditPass, QStringLiteral("tolmerak"));
    QTest::keyClick(w.EditPass, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.succeeded());

    w.show();  // a success before does not carry over
    w.ButtonPassEsc->click();
    EXPECT_FALSE(w.succeeded());
}
