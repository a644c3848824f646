#include "register/HelpFile.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

using namespace varnel::help;
using Kind = HelpBlock::Kind;

TEST(HelpFile, TopicsKeywordsParagraphsAndItems) {
    const QString text = QStringLiteral(
        "\xFEFF# komentarz\r\n"
        "#\r\n"
        "#topic 8 Okno główne\r\n"
        "#keywords lista;  rejestr ;;\r\n"
        "#keywords sortowanie\r\n"
        "Pierwszy akapit,\r\n"
        "   ciąg dalszy.   \r\n"
        "\r\n"
        "- punkt pierwszy\r\n"
        "  dokończony\r\n"
        "- punkt drugi\r\n"
        "\r\n"
        "Drugi akapit.\r\n"
        "#topic 117 Drukowanie decyzji\r\n"
        "Tekst.");
    const HelpFile f = HelpFile::parse(text);
    EXPECT_TRUE(f.problems().isEmpty()) << qPrintable(f.problems().join(QLatin1Char('\n')));
    ASSERT_EQ(f.topics().size(), 2);
    const HelpTopic *t = f.topic(8);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->title, QStringLiteral("Okno główne"));
    EXPECT_EQ(t->keywords, (QStringList{QStringLiteral("lista"), QStringLiteral("rejestr"), QStringLiteral("sortowanie")}));
    EXPECT_EQ(t->blocks, (QVector<HelpBlock>{{Kind::Paragraph, QStringLiteral("Pierwszy akapit, ciąg dalszy.")},
                                             {Kind::Item, QStringLiteral("punkt pierwszy dokończony")},
                                             {Kind::Item, QStringLiteral("punkt drugi")},
                                             {Kind::Paragraph, QStringLiteral("Drugi akapit.")}}));
    EXPECT_EQ(f.topic(117)->blocks.size(), 1);
    EXPECT_EQ(f.topic(9), nullptr);
}

TEST(HelpFile, MistakesAreListedByLineAndTheRestIsRead) {
    const HelpFile f = HelpFile::parse(QStringLiteral("tekst bez tematu\n"
                                                      "#topic 8 Pierwszy\n"
                                                      "Zobacz [[9]] i [[77|brak]].\n"
                                                      "#tytul zły\n"
                                                      "#topic 8 Powtórzony\n"
                                                      "#keywords nie do tematu 8\n"
                                                      "Nie należy do tematu 8.\n"
                                                      "#topic x Bez numeru\n"
                                                      "#topic 10\n"
                                                      "#topic 9 Drugi\n"
                                                      "Treść."));
    EXPECT_EQ(f.problems(), (QStringList{QStringLiteral("wiersz 1: tekst poza tematem"),
                                         QStringLiteral("wiersz 4: nieznane polecenie #tytul"),
                                         QStringLiteral("wiersz 5: temat 8 powtórzony"),
                                         QStringLiteral("wiersz 8: temat bez numeru lub tytułu"),
                                         QStringLiteral("wiersz 9: temat bez numeru lub tytułu"),
                                         QStringLiteral("wiersz 3: odsyłacz do brakującego tematu 77")}));
    ASSERT_EQ(f.topics().size(), 2);
    EXPECT_EQ(f.topic(8)->title, QStringLiteral("Pierwszy"));
    EXPECT_EQ(f.topic(8)->blocks.size(), 1);
    EXPECT_TRUE(f.topic(8)->keywords.isEmpty());
    EXPECT_EQ(f.topic(9)->blocks.first().text, QStringLiteral("Treść."));
}

TEST(HelpFile, KeywordIndexInPolishOrderWithTitlesAndTopicsMerged) {
    const HelpFile f = HelpFile::parse(QStringLiteral("#topic 1 Zając\n"
                                                      "#keywords lis; Łoś\n"
                                                      "#topic 2 Ąb\n"
                                                      "#keywords Lis; żaba; Luty\n"));
    QStringList order;
    for (const auto &k : f.keywords())
        order << k.keyword;
    EXPECT_EQ(order, (QStringList{QStringLiteral("Ąb"), QStringLiteral("lis"), QStringLiteral("Luty"),
                                  QStringLiteral("Łoś"), QStringLiteral("Zając"), QStringLiteral("żaba")}));
    EXPECT_EQ(f.keywords()[1].topics, (QVector<int>{1, 2}));

    EXPECT_EQ(f.findKeyword(QString()), 0);
    EXPECT_EQ(f.findKeyword(QStringLiteral("LU")), 2);
    EXPECT_EQ(f.findKeyword(QStringLiteral("ł")), 3);
    EXPECT_EQ(f.findKeyword(QStringLiteral("lz")), 3);   // nothing begins so: the next one
    EXPECT_EQ(f.findKeyword(QStringLiteral(" Ża ")), 5);  // blanks around do not count
    EXPECT_EQ(f.findKeyword(QStringLiteral("żz")), -1);
}

TEST(HelpFile, PagesEscapeTextAndLinkToTopics) {
    const HelpFile f = HelpFile::parse(QStringLiteral("#topic 8 Okno <główne>\n"
                                                      "Przyciski [[9]], [[9|pomocy]] & [[5|brak]].\n"
                                                      "- punkt\n"
                                                      "\n"
                                                      "Koniec.\n"
                                                      "#topic 9 Pomoc\n"));
    EXPECT_EQ(f.html(*f.topic(8)),
              QStringLiteral("<h2>Okno &lt;główne&gt;</h2>\n"
                             "<p>Przyciski <a href=\"topic:9\">Pomoc</a>, <a href=\"topic:9\">pomocy</a> &amp; brak.</p>\n"
                             "<ul>\n<li>punkt</li>\n</ul>\n"
                             "<p>Koniec.</p>\n"));
}

TEST(HelpFile, AMissingFileIsToldWithItsPath) {
    HelpFile f;
    QString error;
    EXPECT_FALSE(HelpFile::load(QStringLiteral("/nie/ma/kalvo2a.hlp"), f, error));
    EXPECT_EQ(error, QStringLiteral("Brak pliku pomocy: /nie/ma/kalvo2a.hlp"));
}

// The help file shipped beside the program.
TEST(HelpFile, TheProgramsHelpFileHasEveryTopicTheProgramOpens) {
    HelpFile f;
    QString error;
    ASSERT_TRUE(HelpFile::load(QCoreApplication::applicationDirPath() + QLatin1Char('/') + FileName, f, error))
        << qPrintable(error);
    EXPECT_TRUE(f.problems().isEmpty()) << qPrintable(f.problems().join(QLatin1Char('\n')));
    for (int n : {MainWindow, HelpMenu, ApplicationsMenu, Archive, MonthClose, OperationsMenu, PrintTemplatesMenu,
                  ApplicationForm, Recalculation, ListTemplates, ParametersMenu, CalculationDisplay, Amounts,
                  Dictionaries, PrinterSetup, ExpiredRemoval, DatabaseCopy, PrintDecision, PrintList}) {
        const HelpTopic *t = f.topic(n);
        ASSERT_NE(t, nullptr) << n;
        EXPECT_FALSE(t->blocks.isEmpty()) << n;
        EXPECT_FALSE(t->keywords.isEmpty()) << n;
    }
}

TEST(HelpFile, TheAdviceToCopyTheDatabaseLeadsToTheBackupCommand) {
    HelpFile f;
    QString error;
    ASSERT_TRUE(HelpFile::load(QCoreApplication::applicationDirPath() + QLatin1Char('/') + FileName, f, error));
    const int entry = f.findKeyword(QStringLiteral("KOPIA przed"));
    ASSERT_GE(entry, 0);
    ASSERT_EQ(f.keywords()[entry].topics, QVector<int>{DatabaseCopy});
    QString text;
    for (const HelpBlock &b : f.topic(DatabaseCopy)->blocks)
        text += b.text + QLatin1Char('\n');
    for (const char *command : {"varnel-admin backup PLIK", "varnel-admin restore PLIK", "varnel-admin check"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(command))) << command;
}
