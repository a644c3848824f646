#include "cli/Csv.h"

#include <QBuffer>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace varnel::cli;

namespace {

QList<CsvRecord> readAll(const QString &text) {
    CsvReader reader(text);
    QList<CsvRecord> out;
    CsvRecord r;
    while (reader.next(r))
        out << r;
    return out;
}

// The line and cell of the fault of a malformed text.
std::pair<int, int> faultOf(const QString &text) {
    try {
        readAll(text);
    } catch (const CsvError &e) {
        return {e.line(), e.column()};
    }
    return {0, 0};
}

}  // namespace

TEST(Csv, QuotedCellsKeepCommasQuotesAndLineBreaksAndLinesAreCountedAsInTheFile) {
    const auto records = readAll(QStringLiteral("a,\"b,c\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n"
                                                "x,,\"\"\r\n"
                                                "\n"
                                                "\"cr\r\nlf\",last"));
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0].cells, QStringList({QStringLiteral("a"), QStringLiteral("b,c"), QStringLiteral("say \"hi\""),
                                             QStringLiteral("two\nlines")}));
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].line, 3);  // the quoted line break of record 1 is line 2
    EXPECT_EQ(records[1].cells, QStringList({QStringLiteral("x"), QString(), QString()}));
    EXPECT_TRUE(records[2].blank);
    EXPECT_FALSE(records[1].blank);
    EXPECT_EQ(records[3].line, 5);
    EXPECT_EQ(records[3].cells, QStringList({QStringLiteral("cr\r\nlf"), QStringLiteral("last")}));

    // A final line break ends the last record; it does not start another.
    EXPECT_EQ(readAll(QStringLiteral("a\nb\n")).size(), 2);
    EXPECT_TRUE(readAll(QString()).isEmpty());
}

TEST(Csv, WrittenRecordsReadBackUnchanged) {
    const QStringList cells = {QStringLiteral("Łoś, Żaneta"), QStringLiteral("\"cytat\""), QString(),
                               QStringLiteral(" spacje "), QStringLiteral("wiersz 1\nwiersz 2\r\nwiersz 3"),
                               QStringLiteral("zwykły")};
    QString text;
    QTextStream out(&text);
    writeCsvRecord(out, cells);
    writeCsvRecord(out, {QStringLiteral("1")});
    out.flush();
    EXPECT_TRUE(text.endsWith(QLatin1String("\r\n1\r\n")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("\"Łoś, Żaneta\",\"\"\"cytat\"\"\",, spacje ,")));

    const auto records = readAll(text);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].cells, cells);
    EXPECT_EQ(records[1].cells, QStringList({QStringLiteral("1")}));
}

TEST(Csv, MalformedTextIsReportedWithLineAndCell) {
    // An unterminated quote is reported where the quoted cell began.
    EXPECT_EQ(faultOf(QStringLiteral("a,b\nc,\"open\nmore\nstill")), std::make_pair(2, 2));
    EXPECT_EQ(faultOf(QStringLiteral("a,b\"c\n")), std::make_pair(1, 2));          // quote in a bare cell
    EXPECT_EQ(faultOf(QStringLiteral("a\n\"x\"y,z\n")), std::make_pair(2, 1));     // text after the closing quote
    EXPECT_EQ(faultOf(QStringLiteral("\"a\"\"\n")), std::make_pair(1, 1));         // doubled quote, never closed
}

TEST(Csv, AFileReadPieceByPieceGivesTheRecordsOfItsWholeText) {
    // Long enough for several pieces, so that pieces end inside a quoted
    // cell, between the two quotes of a doubled one, between CR and LF and
    // inside a Polish letter, wherever the cycle of lengths puts them.
    QString text;
    for (int i = 0; text.size() < 1200000; ++i) {
        const QString pad = QString(i % 37, QLatin1Char('x'));
        text += QStringLiteral("%1,\"Żółć \"\"%2\"\"\r\nśrodek\",ąę%3\r\n").arg(i).arg(pad).arg(pad);
        if (i % 5 == 0)
            text += QStringLiteral("\r\n");
    }
    const QByteArray bytes = text.toUtf8();
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    CsvReader streamed(device);
    const QList<CsvRecord> whole = readAll(text);
    CsvRecord r;
    int n = 0;
    while (streamed.next(r)) {
        ASSERT_LT(n, whole.size());
        EXPECT_EQ(r.cells, whole[n].cells) << "record " << n;
        EXPECT_EQ(r.line, whole[n].line) << "record " << n;
        EXPECT_EQ(r.blank, whole[n].blank) << "record " << n;
        if (r.cells != whole[n].cells)
            break;
        ++n;
    }
    EXPECT_EQ(n, whole.size());
}
