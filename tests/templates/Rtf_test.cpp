// The RTF reader and writer of decision templates, on the template model.
#include "templates/Rtf.h"

#include "support/RtfFixtures.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace varnel::templates;
using namespace varnel::test;

namespace {

const quint32 Red = 0xFF0000;

std::vector<const Paragraph *> paragraphs(const RichText &t) {
    std::vector<const Paragraph *> out;
    for (const Block &b : t.blocks)
        if (const Paragraph *p = std::get_if<Paragraph>(&b))
            out.push_back(p);
    return out;
}

const TextTable *firstTable(const RichText &t) {
    for (const Block &b : t.blocks)
        if (const TextTable *x = std::get_if<TextTable>(&b))
            return x;
    return nullptr;
}

QString cellText(const TextTable &t, size_t row, size_t column) {
    QStringList lines;
    for (const Paragraph &p : t.rows.at(row).cells.at(column).paragraphs)
        lines << p.text();
    return lines.join(QLatin1Char('\n'));
}

// The style of the run that is `what`, or else of the first run holding it.
CharStyle styleAt(const Paragraph &p, const QString &what) {
    for (const TextRun &r : p.runs)
        if (r.text == what)
            return r.style;
    for (const TextRun &r : p.runs)
        if (r.text.contains(what))
            return r.style;
    ADD_FAILURE() << "no run holds " << what.toStdString();
    return {};
}

RichText read(const QByteArray &rtf) {
    const RtfReadResult r = readRtf(rtf);
    EXPECT_FALSE(r.truncated);
    return r.text;
}

TEST(RtfReader, TakesAWordDocument) {
    const RichText t = read(WordFixture);
    EXPECT_EQ(t.plainText(), QStringLiteral("DECYZJA\n"
                                            "Przyznaję się Panu @<Imię>@ z SM „Zgoda” – kwota 10\u00A0zł, strona 1\n"
                                            "Czynsz\n@<Czynsz>@\n"
                                            "Kierownik\n"));
    const auto ps = paragraphs(t);
    ASSERT_EQ(ps.size(), 3u);
    EXPECT_EQ(ps[0]->alignment, Alignment::Center);
    const CharStyle title = styleAt(*ps[0], QStringLiteral("DECYZJA"));
    EXPECT_TRUE(title.bold);
    EXPECT_EQ(title.pointSize, 14);
    EXPECT_EQ(title.font, QStringLiteral("Times New Roman"));

    // The placeholder split into three runs, the letter in the middle bold.
    EXPECT_EQ(ps[1]->alignment, Alignment::Justify);
    EXPECT_EQ(ps[1]->spaceAfter, 200);
    EXPECT_EQ(styleAt(*ps[1], QStringLiteral("@<Imi")).color, Red);
    EXPECT_TRUE(styleAt(*ps[1], QStringLiteral("ę")).bold);
    EXPECT_FALSE(styleAt(*ps[1], QStringLiteral(">@")).bold);
    EXPECT_FALSE(styleAt(*ps[1], QStringLiteral("Przyznaję")).color);
    EXPECT_EQ(styleAt(*ps[1], QStringLiteral("Przyznaję")).pointSize, 11);

    const TextTable *table = firstTable(t);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows.size(), 1u);
    ASSERT_EQ(table->rows[0].cells.size(), 2u);
    EXPECT_TRUE(table->borders);
    EXPECT_EQ(table->rows[0].cells[0].rightBoundary, 4606);  // from the row's own left edge (\trleft-108)
    EXPECT_EQ(table->rows[0].cells[1].rightBoundary, 9212);
    EXPECT_EQ(styleAt(table->rows[0].cells[0].paragraphs.at(0), QStringLiteral("Czynsz")).font, QStringLiteral("Arial"));

    EXPECT_EQ(ps[2]->alignment, Alignment::Right);
    EXPECT_TRUE(styleAt(*ps[2], QStringLiteral("Kierownik")).italic);
    EXPECT_EQ(t.defaultFont, QStringLiteral("Times New Roman"));
}

TEST(RtfReader, TakesALibreOfficeDocument) {
    const RichText t = read(LibreOfficeFixture);
    EXPECT_EQ(t.plainText(), QStringLiteral("Decyzja nr @<Nr wniosku>@\n"
                                            "Przyznaję się dodatek w kwocie @<Wypłata (całość)>@ – płatne do „10”.\n"
                                            "Okres\n@<Okres - od>@ – @<Okres - do>@\n"
                                            "Kwota\n@<Wypłata (zarządca)>@\n"
                                            "Koniec\n"));
    const auto ps = paragraphs(t);
    ASSERT_EQ(ps.size(), 3u);
    const CharStyle nr = styleAt(*ps[0], QStringLiteral("@<Nr"));
    EXPECT_EQ(nr.color, Red);
    EXPECT_TRUE(nr.bold);
    EXPECT_FALSE(nr.italic);
    EXPECT_TRUE(styleAt(*ps[0], QStringLiteral("wniosku>@")).italic);
    EXPECT_EQ(nr.pointSize, 16);
    EXPECT_EQ(nr.font, QStringLiteral("Liberation Serif"));  // the {\*\falt} name is not part of it
    EXPECT_TRUE(styleAt(*ps[1], QStringLiteral("Wypłata")).underline);
    EXPECT_FALSE(styleAt(*ps[1], QStringLiteral("płatne")).underline);

    const TextTable *table = firstTable(t);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows.size(), 2u);
    EXPECT_EQ(table->columnCount(), 2);
    EXPECT_EQ(cellText(*table, 1, 1), QStringLiteral("@<Wypłata (zarządca)>@"));
    EXPECT_EQ(table->rows[1].cells[1].paragraphs.at(0).alignment, Alignment::Right);
    EXPECT_EQ(table->rows[0].cells[1].rightBoundary, 9638);
    EXPECT_TRUE(table->borders);
    EXPECT_EQ(t.defaultFont, QStringLiteral("Liberation Sans"));  // \deff4
}

TEST(RtfReader, TakesAnOldEditorDocument) {
    const RichText t = read(OldEditorFixture);
    EXPECT_EQ(t.plainText().toStdString(), QStringLiteral("DECYZJA\n"
                                            "Pan(i) @<Imię>@ @<Nazwisko>@ zamieszkały(a) w @<Adres>@\n"
                                            "Łódź, dnia @<Dzisiejsza data>@\n"
                                            "\tKwota: @<Wypłata (całość)>@\n"
                                            "Żółty\n").toStdString());
    const auto ps = paragraphs(t);
    ASSERT_EQ(ps.size(), 5u);
    EXPECT_EQ(ps[0]->alignment, Alignment::Center);
    EXPECT_TRUE(styleAt(*ps[0], QStringLiteral("DECYZJA")).bold);
    EXPECT_EQ(styleAt(*ps[1], QStringLiteral("@<Imię>@")).color, Red);
    // The first colour entry is black but \cf0 stays the automatic colour.
    EXPECT_FALSE(styleAt(*ps[1], QStringLiteral("Pan(i)")).color);
    EXPECT_FALSE(styleAt(*ps[1], QStringLiteral("Pan(i)")).bold);  // \plain
    EXPECT_EQ(ps[2]->alignment, Alignment::Right);
    EXPECT_TRUE(styleAt(*ps[2], QStringLiteral("Łódź")).italic);
    EXPECT_EQ(styleAt(*ps[2], QStringLiteral("Łódź")).pointSize, 10);
    EXPECT_EQ(styleAt(*ps[2], QStringLiteral("Łódź")).font, QStringLiteral("Times New Roman CE"));
    EXPECT_EQ(ps[4]->markStyle.pointSize, 8);
}

TEST(RtfReader, UnicodeWithItsFallbacksAndCodePages) {
    // \uc2 drops two fallback characters, \uc0 none; a group ends a fallback;
    // surrogate pairs join; \'xx follows the code page of the font.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}{\\f2\\fcharset204 Arial Cyr;}}"
        "\\uc2 a\\u261\\'b9\\'b9b{\\uc0\\u322}c\\u263{x}y\\uc1 \\u-10179?\\u-8704?"
        " \\'e9 {\\f1\\'e9\\'b9} {\\f2\\'c6} \\u8364\\'80\\par}";
    const RichText t = read(rtf);
    EXPECT_EQ(t.plainText(), QStringLiteral("aąbłcćxy\U0001F600 é éą Ж €\n"));
}

TEST(RtfReader, NamedCharactersBreaksAndTabs) {
    const QByteArray rtf =
        "{\\rtf1\\ansi a\\emdash b\\endash c\\lquote d\\rquote e\\ldblquote f\\rdblquote g\\bullet h\\~i\\_j\\-k"
        "\\tab l\\line m\\par\\pard\\qc n\\par}";
    const RichText t = read(rtf);
    EXPECT_EQ(t.plainText(), QStringLiteral("a—b–c‘d’e“f”g•h\u00A0i\u2011j\u00ADk\tl\u2028m\nn\n"));
    EXPECT_EQ(paragraphs(t)[1]->alignment, Alignment::Center);
}

TEST(RtfReader, FormattingOnAndOffAndGroupsRestoreIt) {
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green128\\blue255;}"
        "\\b B\\b0 n{\\i I{\\ul U\\ulnone u}i}n\\ulw W\\ul0 w\\strike S\\strike0 \\super 2\\nosupersub \\cf1 C\\cf0 "
        "\\fs0 d\\fs7000 big\\plain p\\par}";
    const RichText t = read(rtf);
    const Paragraph &p = *paragraphs(t).at(0);
    EXPECT_EQ(p.text(), QStringLiteral("BnIUuinWwS2Cdbigp"));
    EXPECT_TRUE(styleAt(p, QStringLiteral("B")).bold);
    EXPECT_FALSE(styleAt(p, QStringLiteral("n")).bold);
    EXPECT_TRUE(styleAt(p, QStringLiteral("U")).underline);
    EXPECT_TRUE(styleAt(p, QStringLiteral("U")).italic);
    EXPECT_FALSE(styleAt(p, QStringLiteral("u")).underline);
    EXPECT_TRUE(styleAt(p, QStringLiteral("i")).italic);
    EXPECT_TRUE(styleAt(p, QStringLiteral("W")).underline);
    EXPECT_FALSE(styleAt(p, QStringLiteral("w")).underline);
    EXPECT_TRUE(styleAt(p, QStringLiteral("S")).strike);
    EXPECT_EQ(styleAt(p, QStringLiteral("2")).vertical, 1);
    EXPECT_EQ(styleAt(p, QStringLiteral("C")).color, 0x0080FFu);
    EXPECT_FALSE(styleAt(p, QStringLiteral("d")).color);
    EXPECT_EQ(styleAt(p, QStringLiteral("d")).pointSize, 12);  // \fs0: the default size
    EXPECT_EQ(styleAt(p, QStringLiteral("big")).pointSize, 1638);
    EXPECT_EQ(styleAt(p, QStringLiteral("p")).pointSize, 12);
    EXPECT_FALSE(styleAt(p, QStringLiteral("p")).strike);

    // LibreOffice raises superscripts with \up.
    const RichText raised = read("{\\rtf1 x{\\*\\updnprop8000}\\up8 2\\up0 y\\dn4 z\\par}");
    const Paragraph &lo = *paragraphs(raised).at(0);
    EXPECT_EQ(styleAt(lo, QStringLiteral("2")).vertical, 1);
    EXPECT_EQ(styleAt(lo, QStringLiteral("y")).vertical, 0);
    EXPECT_EQ(styleAt(lo, QStringLiteral("z")).vertical, -1);
}

TEST(RtfReader, SkipsWhatItDoesNotUse) {
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\*\\unknowndest hidden {nested} text}{\\stylesheet{\\s1 Style;}}{\\info{\\title T}}"
        "{\\pict\\wmetafile8\\picw100 0123456789abcdef}{\\object{\\*\\objdata 01020304}{\\result R}}"
        "{\\footer F\\par}{\\footnote N}\\bin5 {}}\\ visible\\unknownword42 {\\foo kept}\\par}";
    const RichText t = read(rtf);
    EXPECT_EQ(t.plainText(), QStringLiteral("visiblekept\n"));
}

TEST(RtfReader, DamagedAndHostileInputEndsCleanly) {
    // Nesting far beyond the limit, then text at the top level again.
    QByteArray deep = "{\\rtf1\\ansi ";
    deep += QByteArray(100000, '{');
    deep += "deep";
    deep += QByteArray(100000, '}');
    deep += "after\\par}";
    EXPECT_EQ(read(deep).plainText(), QStringLiteral("after\n"));

    // A file cut short inside groups keeps the text read so far.
    EXPECT_EQ(read("{\\rtf1\\ansi {\\b Przerwany te").plainText(), QStringLiteral("Przerwany te\n"));
    // \bin longer than the file, a lone backslash, numbers too long.
    EXPECT_EQ(read("{\\rtf1 ab\\bin999999999 xyz").plainText(), QStringLiteral("ab\n"));
    EXPECT_EQ(read("{\\rtf1 ab\\").plainText(), QStringLiteral("ab\n"));
    EXPECT_EQ(read("{\\rtf1 \\fs99999999999999999999 a\\u99999999999 xb}").plainText(), QStringLiteral("ab\n"));
    // A broken escape is dropped, the text after it kept.
    EXPECT_EQ(read("{\\rtf1 a\\'zzb\\'4").plainText(), QStringLiteral("azzb\n"));
    // A closing brace before the end ends the document.
    EXPECT_EQ(read("{\\rtf1 a}b").plainText(), QStringLiteral("a\n"));
    // Control characters do not reach the document.
    EXPECT_EQ(read("{\\rtf1\\uc0 a\x01\x7f\\u0 \\u8233 b\\u65532 c}").plainText(), QStringLiteral("a\u2028bc\n"));
}

TEST(RtfReader, SizesAreBounded) {
    // More paragraphs than the limit: the rest is dropped and told.
    QByteArray many = "{\\rtf1 ";
    for (int i = 0; i < RtfReadLimits::MaxParagraphs + 10; ++i)
        many += "x\\par ";
    many += "}";
    const RtfReadResult r = readRtf(many);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(r.text.blocks.size(), static_cast<size_t>(RtfReadLimits::MaxParagraphs));

    // A row of 100 cells keeps 64, the text of the others in the last one.
    QByteArray wide = "{\\rtf1 \\trowd";
    for (int i = 1; i <= 100; ++i)
        wide += "\\cellx" + QByteArray::number(i * 100);
    for (int i = 1; i <= 100; ++i)
        wide += "\\intbl c" + QByteArray::number(i) + "\\cell";
    wide += "\\row}";
    const RichText w = read(wide);
    const TextTable *t = firstTable(w);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->columnCount(), RtfReadLimits::MaxColumns);
    EXPECT_TRUE(w.plainText().contains(QStringLiteral("c100")));

    // Rows beyond the cells a table may have go on as paragraphs.
    QByteArray tall = "{\\rtf1 \\trowd\\cellx100\\cellx200";
    for (int i = 0; i < RtfReadLimits::MaxTableCells; ++i)
        tall += "\\intbl a\\cell b\\cell\\row ";
    tall += "}";
    const RichText l = read(tall);
    ASSERT_NE(firstTable(l), nullptr);
    EXPECT_EQ(firstTable(l)->rows.size(), static_cast<size_t>(RtfReadLimits::MaxTableCells / 2));
    EXPECT_EQ(l.plainText().count(QLatin1Char('a')), RtfReadLimits::MaxTableCells);
}

TEST(RtfReader, TableCellsKeepTheirTextInReadingOrder) {
    // Cells of several paragraphs, a row without its \row, a nested cell
    // and text outside after the table.
    const QByteArray rtf =
        "{\\rtf1 \\trowd\\cellx3000\\cellx6000\\pard\\intbl A1\\par A2\\cell B\\cell\\row"
        "\\trowd\\cellx3000\\cellx6000\\pard\\intbl C\\nestcell D\\cell E\\cell"
        "\\pard after\\par}";
    const RichText t = read(rtf);
    EXPECT_EQ(t.plainText(), QStringLiteral("A1\nA2\nB\nC\nD\nE\nafter\n"));
    const TextTable *table = firstTable(t);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows.size(), 2u);
    EXPECT_EQ(cellText(*table, 0, 0), QStringLiteral("A1\nA2"));
    EXPECT_FALSE(table->borders);
}

// ---- the writer ------------------------------------------------------------

CharStyle style(const QString &font, double size) {
    CharStyle s;
    s.font = font;
    s.pointSize = size;
    return s;
}

RichText sample() {
    RichText t;
    t.defaultFont = QStringLiteral("Times New Roman");
    Paragraph title;
    title.alignment = Alignment::Center;
    title.spaceAfter = 240;
    CharStyle bold = style(QStringLiteral("Arial"), 16);
    bold.bold = true;
    title.append(QStringLiteral("DECYZJA "), bold);
    CharStyle red = style(QStringLiteral("Arial"), 16);
    red.color = 0xFF0000;
    red.italic = true;
    title.append(QStringLiteral("@<Nr wniosku>@"), red);
    title.markStyle = bold;
    t.blocks.emplace_back(title);

    Paragraph body;
    body.alignment = Alignment::Justify;
    body.leftIndent = 567;
    body.firstLineIndent = -283;
    body.rightIndent = 100;
    body.spaceBefore = 60;
    CharStyle plain = style(QStringLiteral("Times New Roman"), 12);
    body.append(QStringLiteral("Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ {nawias} \\ „cudzysłów” – € §\t"
                               "Ж ♥ \U0001F600 m² nbsp\u00A0end\u2028nowa linia"),
                plain);
    CharStyle under = plain;
    under.underline = true;
    under.strike = true;
    under.vertical = -1;
    body.append(QStringLiteral("dół"), under);
    body.markStyle = plain;
    t.blocks.emplace_back(body);

    Paragraph empty;
    empty.markStyle = style(QStringLiteral("Courier New"), 8);
    empty.pageBreakBefore = true;
    empty.alignment = Alignment::Right;
    t.blocks.emplace_back(empty);

    TextTable table;
    table.borders = true;
    for (int r = 0; r < 2; ++r) {
        TableRow row;
        for (int c = 0; c < 3; ++c) {
            TableCell cell;
            cell.rightBoundary = (c + 1) * 3000;
            Paragraph p;
            p.markStyle = plain;
            if (!(r == 1 && c == 1))  // an empty cell
                p.append(QStringLiteral("k%1%2").arg(r).arg(c), plain);
            cell.paragraphs.push_back(p);
            if (r == 0 && c == 2) {
                Paragraph second;
                second.markStyle = plain;
                second.append(QStringLiteral("drugi akapit"), bold);
                cell.paragraphs.push_back(second);
            }
            row.cells.push_back(cell);
        }
        table.rows.push_back(row);
    }
    t.blocks.emplace_back(table);

    Paragraph last;
    last.markStyle = plain;
    last.append(QStringLiteral("Koniec"), plain);
    t.blocks.emplace_back(last);
    return t;
}

void expectSame(const Paragraph &a, const Paragraph &b) {
    EXPECT_EQ(a.text(), b.text());
    ASSERT_EQ(a.runs.size(), b.runs.size()) << a.text().toStdString();
    for (size_t i = 0; i < a.runs.size(); ++i) {
        EXPECT_EQ(a.runs[i].text, b.runs[i].text);
        EXPECT_TRUE(a.runs[i].style == b.runs[i].style) << a.runs[i].text.toStdString();
    }
    EXPECT_TRUE(a.markStyle == b.markStyle) << a.text().toStdString();
    EXPECT_EQ(a.alignment, b.alignment);
    EXPECT_EQ(a.leftIndent, b.leftIndent);
    EXPECT_EQ(a.rightIndent, b.rightIndent);
    EXPECT_EQ(a.firstLineIndent, b.firstLineIndent);
    EXPECT_EQ(a.spaceBefore, b.spaceBefore);
    EXPECT_EQ(a.spaceAfter, b.spaceAfter);
    EXPECT_EQ(a.pageBreakBefore, b.pageBreakBefore);
}

TEST(RtfWriter, WritesCodePage1250WithATableOfFontsAndColours) {
    const QByteArray rtf = writeRtf(sample());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0"));
    EXPECT_TRUE(isRtf(rtf));
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset238 Times New Roman;}{\\f1\\fnil\\fcharset238 Arial;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;}"));
    // Polish letters as Windows-1250 bytes; what the code page lacks as \uN.
    EXPECT_TRUE(rtf.contains("Za\\'bf\\'f3\\'b3\\'e6 g\\'ea\\'9cl\\'b9 ja\\'9f\\'f1"));
    EXPECT_TRUE(rtf.contains("\\'a5\\'c6\\'ca\\'a3\\'d1\\'d3\\'8c\\'8f\\'af"));
    EXPECT_TRUE(rtf.contains("\\'84cudzys\\'b3\\'f3w\\'94 \\'96 \\'80 \\'a7\\tab "));
    EXPECT_TRUE(rtf.contains("\\u1046?"));
    EXPECT_TRUE(rtf.contains("\\u9829?"));
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));
    EXPECT_TRUE(rtf.contains("\\{nawias\\} \\\\ "));
    EXPECT_TRUE(rtf.contains("\\line "));
    EXPECT_TRUE(rtf.contains("\\~"));
    EXPECT_TRUE(rtf.contains("\\trowd"));
    EXPECT_TRUE(rtf.contains("\\cellx9000"));
    // Only ASCII in the file.
    for (char c : rtf)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80);
}

TEST(RtfWriter, WhatItWritesReadsBackTheSame) {
    const RichText original = sample();
    const RichText back = read(writeRtf(original));
    EXPECT_EQ(back.plainText(), original.plainText());
    EXPECT_EQ(back.defaultFont, original.defaultFont);
    ASSERT_EQ(back.blocks.size(), original.blocks.size());
    for (size_t i = 0; i < original.blocks.size(); ++i) {
        if (const Paragraph *p = std::get_if<Paragraph>(&original.blocks[i])) {
            ASSERT_TRUE(std::holds_alternative<Paragraph>(back.blocks[i]));
            expectSame(*p, std::get<Paragraph>(back.blocks[i]));
            continue;
        }
        const TextTable &a = std::get<TextTable>(original.blocks[i]);
        ASSERT_TRUE(std::holds_alternative<TextTable>(back.blocks[i]));
        const TextTable &b = std::get<TextTable>(back.blocks[i]);
        EXPECT_EQ(b.borders, a.borders);
        ASSERT_EQ(b.rows.size(), a.rows.size());
        for (size_t r = 0; r < a.rows.size(); ++r) {
            ASSERT_EQ(b.rows[r].cells.size(), a.rows[r].cells.size());
            for (size_t c = 0; c < a.rows[r].cells.size(); ++c) {
                EXPECT_EQ(b.rows[r].cells[c].rightBoundary, a.rows[r].cells[c].rightBoundary);
                ASSERT_EQ(b.rows[r].cells[c].paragraphs.size(), a.rows[r].cells[c].paragraphs.size());
                for (size_t k = 0; k < a.rows[r].cells[c].paragraphs.size(); ++k)
                    expectSame(a.rows[r].cells[c].paragraphs[k], b.rows[r].cells[c].paragraphs[k]);
            }
        }
    }
    // Written again, the same bytes.
    EXPECT_EQ(writeRtf(back), writeRtf(original));
}

TEST(RtfWriter, EmptyDocumentsAndEmptyParagraphs) {
    EXPECT_TRUE(read(writeRtf(RichText())).blocks.empty());
    RichText two;
    two.blocks.emplace_back(Paragraph());
    two.blocks.emplace_back(Paragraph());
    EXPECT_EQ(read(writeRtf(two)).blocks.size(), 2u);
}

}  // namespace
