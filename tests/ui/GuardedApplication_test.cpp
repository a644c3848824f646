#include "core/DbError.h"
#include "support/ScriptedQuestions.h"
#include "ui/GuardedApplication.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace varnel;
using Kind = test::ScriptedQuestions::Kind;

namespace {

// The window tests run under the program's application object; each test
// here points its boundary at its own questions.
class Boundary : public ::testing::Test {
protected:
    void SetUp() override {
        app = qobject_cast<ui::GuardedApplication *>(qApp);
        ASSERT_NE(app, nullptr);
        app->setQuestions(&questions);
    }
    void TearDown() override {
        if (app)
            app->setQuestions(nullptr);
    }

    ui::GuardedApplication *app = nullptr;
    test::ScriptedQuestions questions;
};

}  // namespace

TEST_F(Boundary, AnEngineErrorThrownInASlotIsShownAndTheProgramGoesOn) {
    QPushButton button(QStringLiteral("Pokaż"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1)
            throw core::DbError(QStringLiteral("no such table: Aktualne"));
        throw std::runtime_error("out of memory");
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(questions.texts(Kind::Error), QStringList{QStringLiteral("no such table: Aktualne")});

    // The button, and the program, still work.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(questions.texts(Kind::Error),
              QStringList({QStringLiteral("no such table: Aktualne"), QStringLiteral("out of memory")}));
}

TEST_F(Boundary, AFailureWhileAFailureIsBeingShownOpensNoSecondBox) {
    struct Repeating : test::ScriptedQuestions {
        ui::GuardedApplication *app = nullptr;
        void error(const QString &text) override {
            ScriptedQuestions::error(text);
            app->tell(QStringLiteral("again: ") + text);  // as a repaint behind the box would
        }
    } repeating;
    repeating.app = app;
    app->setQuestions(&repeating);
    app->tell(QStringLiteral("disk I/O error"));
    EXPECT_EQ(repeating.texts(), QStringList{QStringLiteral("disk I/O error")});
}
