// The printed statement of expenditure.
#include "totals/doc/StatementPrint.h"

#include "print/PdfFile.h"
#include "print/RecordingPageDevice.h"

#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::totals;

TEST(StatementPrint, OnePageWithTheCaptionTheOptionsAndEveryFigureInsideThePage) {
    TotalsOptions o;
    o.liczDotacje = true;
    o.wszyscy = false;
    o.dlaZarzadcy = QStringLiteral("ZGM");
    RunningTotals t;
    t.count = 3;
    t.suma = 100000;
    t.komunal = 25000;
    t.spoldz = 75000;
    t.dk = 25000;
    t.dp = 75000;
    t.noManager = true;
    const Statement s = finishStatement(t, o);
    const QString caption = rangeCaption(QDate(1999, 1, 1), QDate(1999, 3, 1));

    const auto device = print::pdfLikeRecordingDevice();
    printStatement(*device, caption, o, s);
    ASSERT_EQ(device->jobs().size(), 1);
    EXPECT_EQ(device->jobs().first().title, caption);
    ASSERT_EQ(device->pages().size(), 1);
    QStringList texts;
    for (const auto &text : device->pages().first().texts) {
        texts << text.text;
        EXPECT_GE(text.x, 0);
        EXPECT_LT(text.x + device->textExtent(text.text).width(), device->pageWidth() + 400) << text.text.toStdString();
        EXPECT_LT(text.y + text.height, device->pageHeight()) << text.text.toStdString();
    }
    EXPECT_EQ(texts.first(), caption);
    for (const QString &want : {QStringLiteral("ZGM"), QStringLiteral("    3"), QStringLiteral(" 1000.00"),
                                QStringLiteral("  250.00"), QStringLiteral("  750.00"), QStringLiteral("tj 25.00 %"),
                                QStringLiteral("dotacja: (0,2 dk + 0,5 dp)"), QStringLiteral("  425.00"), WarningNoManager})
        EXPECT_TRUE(texts.contains(want) || texts.contains(want.trimmed())) << want.toStdString();
}
