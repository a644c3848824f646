#include "core/Context.h"
#include "data/Database.h"
#include "register/windows/TFormPomoc.h"
#include "support/Program.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"
#include "support/windows/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTabBar>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace varnel;
using help::TFormPomoc;

namespace {

class HelpWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ctx.values.programDir = dir.path() + QLatin1Char('/');
        ctx.values.helpFile = ctx.values.programDir + help::FileName;
        write(QStringLiteral("#topic 8 Okno główne\n"
                             "#keywords lista wniosków\n"
                             "Lista. Zobacz [[18]].\n"
                             "#topic 18 Formularz wniosku\n"
                             "#keywords wniosek; lista wniosków\n"
                             "Formularz.\n"
                             "#topic 27 Słowniki\n"
                             "#keywords zarządcy\n"
                             "Słowniki.\n"));
    }

    void write(const QString &text, const QDateTime &stamp = QDateTime::currentDateTime().addSecs(-60)) {
        QFile f(ctx.values.helpFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        f.setFileTime(stamp, QFileDevice::FileModificationTime);
    }

    QString shown(const TFormPomoc &w) const { return w.Tekst->toPlainText(); }

    QTemporaryDir dir;
    test::TempDatabase db;
    test::ScriptedQuestions answers;
    test::ScriptedFiles files;
    core::Context ctx{*db, answers, files, {}};
};

}  // namespace

TEST_F(HelpWindow, F1OpensAtTheTopicAndLinksLeadOnAndBack) {
    TFormPomoc w(ctx);
    ASSERT_TRUE(w.showTopic(8));
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(w.currentTopic(), 8);
    EXPECT_TRUE(shown(w).startsWith(QStringLiteral("Okno główne")));
    EXPECT_EQ(w.Tabs->currentIndex(), 0);
    EXPECT_EQ(w.LBoxSpis->currentItem()->text(), QStringLiteral("Okno główne"));
    EXPECT_FALSE(w.ButtonWstecz->isEnabled());

    w.Tekst->setSource(QUrl(QStringLiteral("topic:18")));  // what a click on the link does
    EXPECT_EQ(w.currentTopic(), 18);
    EXPECT_TRUE(shown(w).contains(QStringLiteral("Formularz.")));
    EXPECT_EQ(w.LBoxSpis->currentItem()->text(), QStringLiteral("Formularz wniosku"));
    ASSERT_TRUE(w.ButtonWstecz->isEnabled());
    w.ButtonWstecz->click();
    EXPECT_EQ(w.currentTopic(), 8);

    w.LBoxSpis->setCurrentRow(2);
    EXPECT_EQ(w.currentTopic(), 27);
    EXPECT_TRUE(shown(w).contains(QStringLiteral("Słowniki.")));
    EXPECT_TRUE(answers.asked().empty());
}

TEST_F(HelpWindow, ATopicTheFileLacksLeavesTheContentsToChooseFrom) {
    TFormPomoc w(ctx);
    ASSERT_TRUE(w.showTopic(117));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.currentTopic(), 0);
    EXPECT_TRUE(shown(w).contains(QStringLiteral("nie zawiera tematu nr 117")));
    EXPECT_EQ(w.LBoxSpis->count(), 3);
    EXPECT_EQ(w.LBoxSpis->currentItem(), nullptr);
    w.showTopic(18);
    EXPECT_TRUE(shown(w).contains(QStringLiteral("Formularz.")));
}

TEST_F(HelpWindow, TheKeywordSearchListsEveryKeywordAndLeadsToItsTopics) {
    TFormPomoc w(ctx);
    ASSERT_TRUE(w.showKeywordSearch(QString()));
    EXPECT_EQ(w.Tabs->currentIndex(), 1);
    QStringList keywords;
    for (int i = 0; i < w.LBoxIndeks->count(); ++i)
        keywords << w.LBoxIndeks->item(i)->text();
    EXPECT_EQ(keywords, (QStringList{QStringLiteral("Formularz wniosku"), QStringLiteral("lista wniosków"),
                                     QStringLiteral("Okno główne"), QStringLiteral("Słowniki"),
                                     QStringLiteral("wniosek"), QStringLiteral("zarządcy")}));
    EXPECT_EQ(w.LBoxIndeks->currentRow(), 0);

    QTest::keyClicks(w.EditSzukaj, QStringLiteral("LI"));
    EXPECT_EQ(w.LBoxIndeks->currentItem()->text(), QStringLiteral("lista wniosków"));
    ASSERT_EQ(w.LBoxTematy->count(), 2);  // a keyword of two topics
    w.LBoxTematy->setCurrentRow(1);
    QTest::keyClick(w.EditSzukaj, Qt::Key_Return);
    EXPECT_EQ(w.currentTopic(), 18);

    w.showKeywordSearch(QStringLiteral("zarz"));
    EXPECT_EQ(w.EditSzukaj->text(), QStringLiteral("zarz"));
    EXPECT_EQ(w.LBoxIndeks->currentItem()->text(), QStringLiteral("zarządcy"));
    QTest::mouseClick(w.LBoxTematy->viewport(), Qt::LeftButton, {},
                      w.LBoxTematy->visualItemRect(w.LBoxTematy->item(0)).center());
    EXPECT_EQ(w.currentTopic(), 27);
}

TEST_F(HelpWindow, AMissingHelpFileIsToldAndNothingOpens) {
    QFile::remove(ctx.values.helpFile);
    TFormPomoc w(ctx);
    EXPECT_FALSE(w.showTopic(8));
    EXPECT_FALSE(w.showKeywordSearch());
    EXPECT_FALSE(w.isVisible());
    const QString told = QStringLiteral("Brak pliku pomocy: ") + ctx.values.helpFile;
    EXPECT_EQ(answers.texts(test::ScriptedQuestions::Kind::Error), (QStringList{told, told}));
    EXPECT_EQ(answers.asked().size(), 2u);
}

TEST_F(HelpWindow, AChangedHelpFileIsReadAgain) {
    TFormPomoc w(ctx);
    w.showTopic(8);
    write(QStringLiteral("#topic 8 Okno główne\nNowy tekst.\n"), QDateTime::currentDateTime());
    w.showTopic(8);
    EXPECT_TRUE(shown(w).contains(QStringLiteral("Nowy tekst.")));
    EXPECT_EQ(w.LBoxSpis->count(), 1);
}

TEST_F(HelpWindow, OpenedFromAModalWindowItCanBeUsedThereAndClosesWithEsc) {
    QWidget home;  // the main window
    home.resize(900, 600);
    home.show();
    TFormPomoc w(ctx, &home);
    QDialog form(&home);  // a modal window asking for help with F1
    form.resize(500, 400);
    bool closedByButton = false, closedByEsc = false, indexChosen = false;
    const bool shown = test::answerModal([&] { form.exec(); }, [&](QDialog &d) {
        ASSERT_TRUE(w.showTopic(18));
        QApplication::processEvents();
        // Clicks and keys as the window system delivers them, where a window
        // blocked by the modal one would not get them.
        QTabBar *tabs = w.Tabs->tabBar();
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, tabs->mapTo(&w, tabs->tabRect(1).center()));
        indexChosen = w.Tabs->currentIndex() == 1;
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, w.ButtonZamknij->mapTo(&w, w.ButtonZamknij->rect().center()));
        closedByButton = !w.isVisible();
        ASSERT_TRUE(w.showTopic(18));
        QApplication::processEvents();
        QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
        closedByEsc = !w.isVisible();
        ASSERT_TRUE(w.showTopic(8));
        d.reject();
    });
    ASSERT_TRUE(shown);
    EXPECT_TRUE(indexChosen);
    EXPECT_TRUE(closedByButton);
    EXPECT_TRUE(closedByEsc);
    // The form closed: the help stays open, the main window's again.
    EXPECT_EQ(w.parentWidget(), &home);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.currentTopic(), 8);
    EXPECT_TRUE(home.frameGeometry().contains(w.frameGeometry().center()));  // placed over the main window
}
