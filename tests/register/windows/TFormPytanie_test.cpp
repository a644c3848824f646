#include "register/windows/TFormPytanie.h"
#include "support/windows/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

using varnel::reg::PytanieFileError;
using varnel::reg::TFormPytanie;

namespace {

// The icons are copied next to the test program by the build.
QString programDir() { return QCoreApplication::applicationDirPath(); }

// The answer to a question of the dialog, with `inside` run while it is
// shown; the question must show, and one left open fails the test.
bool whileShown(const std::function<bool()> &ask, const std::function<void()> &inside) {
    bool answer = false;
    EXPECT_TRUE(varnel::test::answerModal([&] { answer = ask(); }, [&](QDialog &) { inside(); })) << "no question shown";
    return answer;
}

int textWidth(TFormPytanie &dlg, const QString &text) {
    return QFontMetrics(dlg.Label1->font()).boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft, text).width();
}

const QString LongText = QStringLiteral(
    "Czy na pewno usunąć wszystkie wnioski, których okres przysługiwania dodatku zakończył się?");

}  // namespace

TEST(TFormPytanie, KontynuujPrzerwijShortTextMinimumWidthAtItsPlace) {
    TFormPytanie dlg(programDir());
    EXPECT_TRUE(whileShown([&] { return dlg.KontynuujPrzerwij(QStringLiteral("Stop"), 120, 140); }, [&] {
        const int w = dlg.ButtonTak->width();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Uwaga!"));
        EXPECT_EQ(dlg.ButtonTak->text(), QStringLiteral("Kontynuuj"));
        EXPECT_EQ(dlg.ButtonNie->text(), QStringLiteral("Przerwij"));
        EXPECT_FALSE(dlg.ButtonCofnij->isVisible());
        EXPECT_EQ(dlg.width(), 2 * w + 76);
        EXPECT_EQ(dlg.ButtonTak->x(), 30);
        EXPECT_EQ(dlg.ButtonNie->x(), 30 + w + 16);
        EXPECT_EQ(dlg.ButtonNie->width(), w);
        EXPECT_EQ(dlg.pos(), QPoint(120, 140));
        EXPECT_EQ(dlg.focusWidget(), dlg.ButtonTak);
        EXPECT_TRUE(dlg.Label1->font().bold());
        EXPECT_EQ(dlg.Image->pixmap().size(), QSize(16, 16));
        EXPECT_FALSE(dlg.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
        QTest::mouseClick(dlg.ButtonTak, Qt::LeftButton);
    }));
}

TEST(TFormPytanie, TakNieLongTextWidensAndCentres) {
    TFormPytanie dlg(programDir());
    EXPECT_FALSE(whileShown([&] { return dlg.TakNie(LongText); }, [&] {
        const int w = dlg.ButtonTak->width();
        const int t = textWidth(dlg, LongText);
        const int width = 16 + 16 + 30 + t + 30;
        ASSERT_GT(width, 2 * w + 76);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Potwierdzenie"));
        EXPECT_EQ(dlg.ButtonTak->text(), QStringLiteral("Tak"));
        EXPECT_EQ(dlg.width(), width);
        EXPECT_EQ(dlg.ButtonTak->x(), width / 2 - 8 - w);
        EXPECT_EQ(dlg.ButtonNie->x(), width / 2 - 8 + 16);
        EXPECT_EQ(dlg.Label1->x(), width / 2 - t / 2);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(dlg.pos(), QPoint(screen.width() / 2 - width / 2, screen.height() / 2 - dlg.height() / 2));
        QTest::mouseClick(dlg.ButtonNie, Qt::LeftButton);
    }));
}

TEST(TFormPytanie, ThreeButtonsShortAndLong) {
    for (const QString &text : {QStringLiteral("Zapisać?"), LongText}) {
        TFormPytanie dlg(programDir());
        bool cancelled = false;
        EXPECT_FALSE(whileShown([&] { return dlg.TakNieCofnij(text, cancelled); }, [&] {
            const int w = dlg.ButtonTak->width();
            const int width = std::max(16 + 16 + 30 + textWidth(dlg, text) + 30, 3 * w + 92);
            EXPECT_EQ(dlg.width(), width);
            EXPECT_TRUE(dlg.ButtonCofnij->isVisible());
            EXPECT_EQ(dlg.ButtonCofnij->text(), QStringLiteral("Cofnij"));
            EXPECT_EQ(dlg.ButtonNie->x(), width / 2 - w / 2);
            EXPECT_EQ(dlg.ButtonTak->x(), width / 2 - w / 2 - w - 16);
            EXPECT_EQ(dlg.ButtonCofnij->x(), width / 2 - w / 2 + w + 16);
            QTest::mouseClick(dlg.ButtonCofnij, Qt::LeftButton);
        }));
        EXPECT_TRUE(cancelled);

        EXPECT_TRUE(whileShown([&] { return dlg.TakNieCofnij(text, cancelled); }, [&] { QTest::mouseClick(dlg.ButtonTak, Qt::LeftButton); }));
        EXPECT_FALSE(cancelled);
    }
}

TEST(TFormPytanie, EscapeDoesNothingWithTwoButtons) {
    TFormPytanie dlg(programDir());
    EXPECT_FALSE(whileShown([&] { return dlg.KontynuujPrzerwij(QStringLiteral("Błąd"), 10, 10); }, [&] {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        EXPECT_TRUE(dlg.isVisible());
        QTest::mouseClick(dlg.ButtonNie, Qt::LeftButton);
    }));
    EXPECT_FALSE(dlg.isVisible());
}

TEST(TFormPytanie, EscapeAnswersCofnijWithThree) {
    TFormPytanie dlg(programDir());
    bool cancelled = false;
    EXPECT_FALSE(whileShown([&] { return dlg.TakNieCofnij(QStringLiteral("Zapisać?"), cancelled); }, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); }));
    EXPECT_TRUE(cancelled);
}

TEST(TFormPytanie, MissingIconFailsBeforeTheDialogOpens) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QDir(programDir()).filePath(QStringLiteral("pytajnik.bmp")),
                            QDir(dir.path()).filePath(QStringLiteral("pytajnik.bmp"))));
    TFormPytanie dlg(dir.path());
    try {
        dlg.KontynuujPrzerwij(QStringLiteral("Stop"), 10, 10);
        ADD_FAILURE() << "no error";
    } catch (const PytanieFileError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("wykrzyknik.bmp"))) << e.what();
        EXPECT_TRUE(e.path().endsWith(QStringLiteral("wykrzyknik.bmp")));
    }
    EXPECT_FALSE(dlg.isVisible());

    // The question icon is there: that question is asked.
    EXPECT_TRUE(whileShown([&] { return dlg.TakNie(QStringLiteral("Dalej?")); }, [&] { QTest::mouseClick(dlg.ButtonTak, Qt::LeftButton); }));
}
