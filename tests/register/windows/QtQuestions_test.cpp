#include "register/windows/QtQuestions.h"
#include "register/windows/TFormPytanie.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

using varnel::reg::TFormPytanie;
using varnel::reg::QtQuestions;

namespace {

// Looks at the message box open while `ask` runs, then presses the button
// with the given text.
void answerBox(const QString &button, std::function<void(QMessageBox &)> check) {
    QTimer::singleShot(0, [button, check] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
        for (QAbstractButton *b : box->buttons())
            if (b->text() == button)
                QTest::mouseClick(b, Qt::LeftButton);
        if (box->isVisible())
            box->done(0);
    });
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
    answerBox(QStringLiteral("Tak"), [](QMessageBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Potwierdzenie"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(buttonTexts(box), (QStringList{QStringLiteral("Nie"), QStringLiteral("Tak")}));
        EXPECT_EQ(box.text(), QStringLiteral("Usunąć?"));
    });
    EXPECT_TRUE(q.confirm(QStringLiteral("Usunąć?")));
    answerBox(QStringLiteral("Nie"), [](QMessageBox &) {});
    EXPECT_FALSE(q.confirm(QStringLiteral("Usunąć?")));
}

TEST(QtQuestions, ConfirmOrCancelHasTakNieAnuluj) {
    using Choice = varnel::core::Questions::Choice;
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    answerBox(QStringLiteral("Anuluj"), [](QMessageBox &box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Potwierdzenie"));
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(buttonTexts(box), (QStringList{QStringLiteral("Anuluj"), QStringLiteral("Nie"), QStringLiteral("Tak")}));
        EXPECT_EQ(box.text(), QStringLiteral("Zapisać zmiany?"));
    });
    EXPECT_EQ(q.confirmOrCancel(QStringLiteral("Zapisać zmiany?")), Choice::Cancel);
    answerBox(QStringLiteral("Nie"), [](QMessageBox &) {});
    EXPECT_EQ(q.confirmOrCancel(QStringLiteral("Zapisać zmiany?")), Choice::No);
    answerBox(QStringLiteral("Tak"), [](QMessageBox &) {});
    EXPECT_EQ(q.confirmOrCancel(QStringLiteral("Zapisać zmiany?")), Choice::Yes);
    // Closing the box any other way is Anuluj: nothing is decided.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(q.confirmOrCancel(QStringLiteral("Zapisać zmiany?")), Choice::Cancel);
}

TEST(QtQuestions, InformAndErrorHaveOneOkButton) {
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    answerBox(QStringLiteral("OK"), [](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(buttonTexts(box), QStringList{QStringLiteral("OK")});
        EXPECT_EQ(box.text(), QStringLiteral(" Brak danych "));  // blanks belong to the text
    });
    q.inform(QStringLiteral(" Brak danych "));
    answerBox(QStringLiteral("OK"), [](QMessageBox &box) { EXPECT_EQ(box.icon(), QMessageBox::Critical); });
    q.error(QStringLiteral("disk I/O error"));
}

TEST(QtQuestions, KontynuujPrzerwijAsksTheQuestionDialogAtItsPlace) {
    TFormPytanie pytanie(QCoreApplication::applicationDirPath());
    QtQuestions q(pytanie);
    QTimer::singleShot(0, &pytanie, [&] {
        EXPECT_EQ(pytanie.pos(), QPoint(200, 300));
        EXPECT_EQ(pytanie.windowTitle(), QStringLiteral("Uwaga!"));
        QTest::mouseClick(pytanie.ButtonNie, Qt::LeftButton);
    });
    EXPECT_FALSE(q.kontynuujPrzerwij(QStringLiteral("Przekroczona norma powierzchni !"), QPoint(200, 300)));
}
