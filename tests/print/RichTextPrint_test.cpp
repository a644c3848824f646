#include "print/PdfFile.h"
#include "print/RecordingPageDevice.h"
#include "print/RichTextPrint.h"
#include "support/AdminRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace varnel::print;
using Recorder = RecordingPageDevice;
using varnel::test::pdfText;

namespace {

// Paragraphs "Akapit 1" ... "Akapit n" in a 12 pt font.
std::unique_ptr<QTextDocument> paragraphs(int n) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 12));
    QTextCursor c(doc.get());
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            c.insertBlock();
        c.insertText(QStringLiteral("Akapit %1").arg(i));
    }
    return doc;
}

QStringList textsOf(const Recorder::Page &page) {
    QStringList list;
    for (const auto &t : page.texts)
        list << t.text;
    return list;
}

}  // namespace

TEST(RichTextPrint, StaysInsideTheRectangleAndBreaksPagesWithoutLosingALine) {
    Recorder device(QSize(1240, 1700));
    const QRect area = device.area(DecisionMargins);
    ASSERT_EQ(area, QRect(200, 50, 1240 - 400, 1700 - 100));
    const auto doc = paragraphs(150);
    device.setJobTitle(QStringLiteral("Decyzja"));
    ASSERT_TRUE(printRichText(device, *doc, area));

    ASSERT_EQ(device.jobs().size(), 1);
    EXPECT_EQ(device.jobs()[0].title, QStringLiteral("Decyzja"));
    const auto pages = device.pages();
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(pages.size(), RichTextPages(device, *doc, area).pageCount());

    QStringList all;
    for (const auto &page : pages) {
        ASSERT_FALSE(page.texts.isEmpty());
        // Each page starts at the top of the rectangle.
        EXPECT_EQ(page.texts.first().y, 50);
        for (const auto &t : page.texts) {
            EXPECT_EQ(t.x, 200) << t.text.toStdString();
            EXPECT_GE(t.y, 50);
            // The line's bottom stays above the bottom edge of the rectangle.
            EXPECT_GT(t.height, 20);
            EXPECT_LE(t.y + t.height, 1700 - 50) << t.text.toStdString();
        }
        all << textsOf(page);
    }
    QStringList expected;
    for (int i = 1; i <= 150; ++i)
        expected << QStringLiteral("Akapit %1").arg(i);
    EXPECT_EQ(all, expected);
}

TEST(RichTextPrint, AParagraphAskingForAPageBreakStartsANewPage) {
    auto doc = paragraphs(3);
    QTextCursor c(doc->findBlockByNumber(2));
    QTextBlockFormat f = c.blockFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.setBlockFormat(f);
    Recorder device(QSize(1240, 1754));
    ASSERT_TRUE(printRichText(device, *doc, device.area(DecisionMargins)));
    const auto pages = device.pages();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(textsOf(pages[0]), (QStringList{QStringLiteral("Akapit 1"), QStringLiteral("Akapit 2")}));
    EXPECT_EQ(textsOf(pages[1]), QStringList{QStringLiteral("Akapit 3")});
    EXPECT_EQ(pages[1].texts[0].y, 50);
}

TEST(RichTextPrint, CopiesAreOneJobUnlessTheDeviceMakesThem) {
    const auto doc = paragraphs(120);
    Recorder device(QSize(1240, 1754));
    const QRect area = device.area(DecisionMargins);
    const int pagesOfOne = RichTextPages(device, *doc, area).pageCount();
    ASSERT_GE(pagesOfOne, 2);

    device.setCopies(3);
    ASSERT_TRUE(printRichText(device, *doc, area));
    ASSERT_EQ(device.jobs().size(), 1);
    const auto pages = device.pages();
    ASSERT_EQ(pages.size(), 3 * pagesOfOne);
    for (int copy = 1; copy < 3; ++copy)
        for (int p = 0; p < pagesOfOne; ++p)
            EXPECT_EQ(textsOf(pages[copy * pagesOfOne + p]), textsOf(pages[p]));

    // A printer makes the copies itself: the document goes once, with the count.
    device.setMakesCopies(true);
    ASSERT_TRUE(printRichText(device, *doc, area));
    EXPECT_EQ(device.jobs().size(), 2);
    EXPECT_EQ(device.jobs()[1].copies, 3);
    EXPECT_EQ(device.pages().size(), pagesOfOne);

    device.setCopies(0);
    EXPECT_EQ(device.copies(), 1);
}

TEST(RichTextPrint, TableCellsAreLaidOutInReadingOrder) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Przed tabelą"));
    QTextTable *table = c.insertTable(2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("Wnioskodawca"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("Kowalski Jan"));
    table->cellAt(1, 0).firstCursorPosition().insertText(QStringLiteral("Kwota"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("312.50 zł"));
    Recorder device(QSize(1240, 1754));
    ASSERT_TRUE(printRichText(device, doc, device.area(DecisionMargins)));
    const auto page = device.pages().value(0);
    EXPECT_EQ(textsOf(page), (QStringList{QStringLiteral("Przed tabelą"), QStringLiteral("Wnioskodawca"),
                                          QStringLiteral("Kowalski Jan"), QStringLiteral("Kwota"),
                                          QStringLiteral("312.50 zł")}));
    // The second cell of a row stands right of the first, on the same line.
    ASSERT_EQ(page.texts.size(), 5);
    EXPECT_GT(page.texts[2].x, page.texts[1].x);
    EXPECT_EQ(page.texts[2].y, page.texts[1].y);
    EXPECT_GT(page.texts[3].y, page.texts[1].y);
}

// A PDF file written through the painter device, read back by pdftotext.
class PdfFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("wydruk.pdf")); }
};

TEST_F(PdfFileTest, PolishTextAndRichTextComeBackAndTheFileIsTheOwnersOnly) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 12));
    doc.setPlainText(QStringLiteral("Decyzja w sprawie dodatku mieszkaniowego\nŻółta łódź, gęś i źrebię"));
    const PdfOutcome out = writePdfFile(path(), [&](PageDevice &d) {
        d.setJobTitle(QStringLiteral("Decyzja"));
        d.setCopies(2);
        ASSERT_TRUE(printRichText(d, doc, d.area(DecisionMargins)));
    });
    ASSERT_EQ(out.kind, PdfOutcome::Written) << out.error.toStdString();
    EXPECT_EQ(out.pages, 2);
    EXPECT_EQ(QFile::permissions(path()) & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    const QString text = pdfText(path());
    EXPECT_EQ(text.count(QStringLiteral("Żółta łódź, gęś i źrebię")), 2) << text.toStdString();

    // Plain text and lines through the same device.
    const PdfOutcome lines = writePdfFile(path(), [](PageDevice &d) {
        d.beginJob();
        d.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
        d.drawText(100, 50, QStringLiteral("Lista wypłat – Łódź"));
        d.drawLine(73, 40, 600, 40);
        d.newPage();
        d.drawText(100, 50, QStringLiteral("Strona druga"));
        d.endJob();
    });
    ASSERT_EQ(lines.kind, PdfOutcome::Written);
    EXPECT_EQ(lines.pages, 2);
    const QString second = pdfText(path());
    EXPECT_TRUE(second.contains(QStringLiteral("Lista wypłat – Łódź"))) << second.toStdString();
    EXPECT_EQ(second.count(QLatin1Char('\f')), 2);
}

TEST_F(PdfFileTest, NothingPrintedOrAFailureLeavesNoFileAndKeepsAnOldOne) {
    EXPECT_EQ(writePdfFile(path(), [](PageDevice &) {}).kind, PdfOutcome::NothingPrinted);
    EXPECT_FALSE(QFile::exists(path()));

    {
        QFile old(path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stary plik");
    }
    EXPECT_THROW(writePdfFile(path(),
                              [](PageDevice &d) {
                                  d.beginJob();
                                  d.drawText(100, 100, QStringLiteral("pół strony"));
                                  throw std::runtime_error("błąd w połowie");
                              }),
                 std::runtime_error);
    // A job left open is not a finished print either.
    EXPECT_EQ(writePdfFile(path(), [](PageDevice &d) { d.beginJob(); }).kind, PdfOutcome::Failed);
    QFile old(path());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("stary plik"));

    const PdfOutcome bad = writePdfFile(dir.filePath(QStringLiteral("brak/wydruk.pdf")), [](PageDevice &d) {
        d.beginJob();
        d.endJob();
    });
    EXPECT_EQ(bad.kind, PdfOutcome::Failed);
    EXPECT_TRUE(bad.error.contains(QStringLiteral("brak/wydruk.pdf"))) << bad.error.toStdString();
}

TEST(PdfLikeRecording, HasThePdfPageAndItsMetrics) {
    const auto device = pdfLikeRecordingDevice();
    // A4 less 5 mm each side at 150 dpi.
    EXPECT_NEAR(device->pageWidth(), (210.0 - 10) / 25.4 * PageResolution, 2);
    EXPECT_NEAR(device->pageHeight(), (297.0 - 10) / 25.4 * PageResolution, 2);
    device->setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    const QSize wide = device->textExtent(QStringLiteral("WWWW"));
    const QSize narrow = device->textExtent(QStringLiteral("iiii"));
    EXPECT_GT(wide.width(), 2 * narrow.width());
    // The line of a 10 pt font at 150 dpi is a little over 10/72 inch.
    EXPECT_NEAR(wide.height(), 10.0 / 72 * PageResolution * 1.15, 4);
}

TEST(RichTextPrint, IndentsAndSpacingAreScaledToTheDevice) {
    // 150 units an inch: an indent of an inch (96 pixels) lies 150 units in.
    Recorder device(QSize(1240, 1700));
    const QRect area = device.area(DecisionMargins);
    const auto doc = paragraphs(2);
    QTextBlockFormat indented;
    indented.setLeftMargin(96);
    indented.setTopMargin(48);
    QTextCursor(doc->begin().next()).setBlockFormat(indented);
    ASSERT_TRUE(printRichText(device, *doc, area));
    const auto texts = device.pages().at(0).texts;
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].x, 200);
    EXPECT_EQ(texts[1].x, 200 + PageResolution);
    EXPECT_GE(texts[1].y - (texts[0].y + texts[0].height), PageResolution / 2 - 1);
    // The caller's document keeps its own lengths.
    EXPECT_EQ(doc->begin().next().blockFormat().leftMargin(), 96);
}
