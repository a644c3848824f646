#include "register/windows/QtQuestions.h"
#include "register/windows/TFormPytanie.h"
#include "support/windows/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

using varnel::reg::TFormPytanie;
using varnel::reg::QtQuestions;

namespace {

// Runs `ask`, looks at the message box it shows, then presses the button
// with the given text.
void answerBox(const std::function<void()> &ask, const QString &button, const std::function<void(QMessageBox &)> &check) {
    const bool shown = varnel::test::answerModalOf<QMessageBox>(ask, [&](QMessageBox &box) {
        check(box);
        varnel::test::clickButton(&box, button);
    });
    EXPECT_TRUE(shown) << "no message box";
}

QStringList buttonTexts(QMessageBox &box) {
    QStringList out;
    for (QAbstractButton *b : box.buttons())
        out << b->text();
    out.sort();
    return out;
}

}  // namespace

TEST(QtQuestions, ConfirmIsTheTakNieMessageBox) {
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    bool yes = false;
    answerBox([&] { yes = q.confirm(QStringLiteral("Usunąć?")); }, QStringLiteral("Tak"), [](QMessageBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Potwierdzenie"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(buttonTexts(box), (QStringList{QStringLiteral("Nie"), QStringLiteral("Tak")}));
        EXPECT_EQ(box.text(), QStringLiteral("Usunąć?"));
    });
    EXPECT_TRUE(yes);
    answerBox([&] { yes = q.confirm(QStringLiteral("Usunąć?")); }, QStringLiteral("Nie"), [](QMessageBox &) {});
    EXPECT_FALSE(yes);
}

TEST(QtQuestions, ConfirmOrCancelHasTakNieAnuluj) {
    using Choice = varnel::core::Questions::Choice;
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    Choice c = Choice::Yes;
    const auto ask = [&] { c = q.confirmOrCancel(QStringLiteral("Zapisać zmiany?")); };
    answerBox(ask, QStringLiteral("Anuluj"), [](QMessageBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Potwierdzenie"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(buttonTexts(box), (QStringList{QStringLiteral("Anuluj"), QStringLiteral("Nie"), QStringLiteral("Tak")}));
        EXPECT_EQ(box.text(), QStringLiteral("Zapisać zmiany?"));
    });
    EXPECT_EQ(c, Choice::Cancel);
    answerBox(ask, QStringLiteral("Nie"), [](QMessageBox &) {});
    EXPECT_EQ(c, Choice::No);
    answerBox(ask, QStringLiteral("Tak"), [](QMessageBox &) {});
    EXPECT_EQ(c, Choice::Yes);
    // Closing the box any other way is Anuluj: nothing is decided.
    c = Choice::Yes;
    EXPECT_TRUE(varnel::test::answerModalOf<QMessageBox>(ask, [](QMessageBox &box) { box.close(); }));
    EXPECT_EQ(c, Choice::Cancel);
}

TEST(QtQuestions, InformAndErrorHaveOneOkButton) {
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    answerBox([&] { q.inform(QStringLiteral(" Brak danych ")); }, QStringLiteral("OK"), [](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(buttonTexts(box), QStringList{QStringLiteral("OK")});
        EXPECT_EQ(box.text(), QStringLiteral(" Brak danych "));  // blanks belong to the text
    });
    answerBox([&] { q.error(QStringLiteral("disk I/O error")); }, QStringLiteral("OK"),
              [](QMessageBox &box) { EXPECT_EQ(box.icon(), QMessageBox::Critical); });
}

TEST(QtQuestions, KontynuujPrzerwijAsksTheQuestionDialogAtItsPlace) {
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    bool goOn = true;
    const bool shown = varnel::test::answerModalOf<TFormPytanie>(
        [&] { goOn = q.kontynuujPrzerwij(QStringLiteral("Przekroczona norma powierzchni !"), QPoint(200, 300)); },
        [&](TFormPytanie &d) {
            EXPECT_EQ(d.pos(), QPoint(200, 300));
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Uwaga!"));
            varnel::test::clickButton(&d, QStringLiteral("Przerwij"));
        });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(goOn);
}

TEST(QtQuestions, ADeleteIsConfirmedWithNieAsTheDefault) {
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    bool yes = true;
    QString defaultButton;
    answerBox([&] { yes = q.confirmDelete(QStringLiteral("Usunąć pozycję ?")); }, QStringLiteral("Tak"), [&](QMessageBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Potwierdzenie"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.text(), QStringLiteral("Usunąć pozycję ?"));
        defaultButton = box.defaultButton() ? box.defaultButton()->text() : QString();
    });
    EXPECT_TRUE(yes);
    EXPECT_EQ(defaultButton, QStringLiteral("Nie"));
    // Enter at once keeps the row.
    const bool shown = varnel::test::answerModalOf<QMessageBox>([&] { yes = q.confirmDelete(QStringLiteral("Usunąć pozycję ?")); },
                                                                [](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(yes);
    answerBox([&] { yes = q.confirm(QStringLiteral("Zakończyć pracę programu ?")); }, QStringLiteral("Nie"), [&](QMessageBox &box) {
        defaultButton = box.defaultButton() ? box.defaultButton()->text() : QString();
    });
    EXPECT_EQ(defaultButton, QStringLiteral("Tak"));
}
