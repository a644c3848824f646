// Templates in a QTextDocument: fixtures of the office suites, round trips
// through RTF, and the reader over damaged files.
#include "templates/doc/RichTextDocument.h"

#include "support/DocumentText.h"
#include "support/RtfFixtures.h"
#include "templates/Rtf.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <random>

using namespace varnel::templates;
using namespace varnel::templates::doc;
using namespace varnel::test;

namespace {

void load(QTextDocument &doc, const QByteArray &rtf) {
    const RtfReadResult r = readRtf(rtf);
    setRichText(doc, r.text);
}

QByteArray save(const QTextDocument &doc) { return writeRtf(richTextOf(doc)); }

Qt::Alignment alignmentOf(const QTextDocument &doc, const QString &what) {
    return doc.find(what).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

QTextTable *firstTable(QTextDocument &doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextCursor c(b);
        if (QTextTable *t = c.currentTable())
            return t;
    }
    return nullptr;
}

QString cellText(QTextTable *t, int r, int c) {
    QTextCursor cur = t->cellAt(r, c).firstCursorPosition();
    cur.setPosition(t->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cur.selectedText();
}

// The font family and size a format shows, the document's default where it
// sets none.
QString familyOf(const QTextCharFormat &f, const QTextDocument &doc) {
    const QStringList families = f.fontFamilies().toStringList();
    return families.isEmpty() ? doc.defaultFont().family() : families.first();
}
double sizeOf(const QTextCharFormat &f, const QTextDocument &doc) {
    return f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
}

// Text and character formats of two documents, fragment by fragment.
void expectSameDocuments(const QTextDocument &a, const QTextDocument &b) {
    EXPECT_EQ(a.toPlainText().toStdString(), b.toPlainText().toStdString());
    ASSERT_EQ(a.blockCount(), b.blockCount());
    QTextBlock x = a.begin(), y = b.begin();
    for (; x.isValid() && y.isValid(); x = x.next(), y = y.next()) {
        EXPECT_EQ(x.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  y.blockFormat().alignment() & Qt::AlignHorizontal_Mask)
            << x.text().toStdString();
        auto i = x.begin();
        auto j = y.begin();
        for (; !i.atEnd() && !j.atEnd(); ++i, ++j) {
            const QTextFragment f = i.fragment(), g = j.fragment();
            EXPECT_EQ(f.text().toStdString(), g.text().toStdString());
            const QTextCharFormat p = f.charFormat(), q = g.charFormat();
            EXPECT_EQ(familyOf(p, a), familyOf(q, b)) << f.text().toStdString();
            EXPECT_EQ(sizeOf(p, a), sizeOf(q, b)) << f.text().toStdString();
            EXPECT_EQ(p.fontWeight(), q.fontWeight()) << f.text().toStdString();
            EXPECT_EQ(p.fontItalic(), q.fontItalic());
            EXPECT_EQ(p.fontUnderline(), q.fontUnderline());
            EXPECT_EQ(p.foreground().color(), q.foreground().color()) << f.text().toStdString();
        }
        EXPECT_TRUE(i.atEnd() && j.atEnd()) << x.text().toStdString();
    }
}

TEST(TemplateDocument, ALibreOfficeTemplateWithItsFormatsAndARealTable) {
    QTextDocument doc;
    load(doc, LibreOfficeFixture);
    const QTextCharFormat nr = formatAt(doc, QStringLiteral("@<Nr"));
    EXPECT_EQ(nr.fontFamilies().toStringList(), QStringList{QStringLiteral("Liberation Serif")});
    EXPECT_EQ(nr.fontPointSize(), 16);
    EXPECT_EQ(nr.fontWeight(), QFont::Bold);
    EXPECT_EQ(nr.foreground().color(), QColor(Qt::red));
    EXPECT_TRUE(formatAt(doc, QStringLiteral("wniosku>@")).fontItalic());
    EXPECT_EQ(alignmentOf(doc, QStringLiteral("Decyzja nr")), Qt::AlignHCenter);
    EXPECT_EQ(alignmentOf(doc, QStringLiteral("Przyznaję")), Qt::AlignJustify);
    EXPECT_TRUE(formatAt(doc, QStringLiteral("@<Wypłata (całość)")).fontUnderline());

    QTextTable *t = firstTable(doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rows(), 2);
    EXPECT_EQ(t->columns(), 2);
    EXPECT_EQ(cellText(t, 0, 0), QStringLiteral("Okres"));
    EXPECT_EQ(cellText(t, 1, 1), QStringLiteral("@<Wypłata (zarządca)>@"));
    EXPECT_GT(t->format().border(), 0);
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_NEAR(widths[0].rawValue(), 50, 0.01);
    // The text after the table follows it.
    EXPECT_TRUE(doc.toPlainText().endsWith(QStringLiteral("Koniec")));
}

TEST(TemplateDocument, WordAndOldEditorTemplatesKeepTheirText) {
    QTextDocument word;
    load(word, WordFixture);
    EXPECT_TRUE(word.toPlainText().startsWith(QStringLiteral("DECYZJA\nPrzyznaję się Panu @<Imię>@ z SM „Zgoda”")));
    EXPECT_FALSE(word.toPlainText().contains(QStringLiteral("NAGŁÓWEK")));
    EXPECT_EQ(formatAt(word, QStringLiteral("ę>@")).fontWeight(), QFont::Bold);
    ASSERT_NE(firstTable(word), nullptr);
    EXPECT_EQ(cellText(firstTable(word), 0, 1), QStringLiteral("@<Czynsz>@"));

    QTextDocument old;
    load(old, OldEditorFixture);
    EXPECT_EQ(old.toPlainText(), QStringLiteral("DECYZJA\nPan(i) @<Imię>@ @<Nazwisko>@ zamieszkały(a) w @<Adres>@\n"
                                                "Łódź, dnia @<Dzisiejsza data>@\n\tKwota: @<Wypłata (całość)>@\n"
                                                "Żółty"));
    EXPECT_EQ(alignmentOf(old, QStringLiteral("Łódź")), Qt::AlignRight);
    EXPECT_EQ(formatAt(old, QStringLiteral("@<Imię")).foreground().color(), QColor(Qt::red));
}

TEST(TemplateDocument, RoundTripsKeepTextAndFormats) {
    for (const QByteArray *fixture : {&WordFixture, &LibreOfficeFixture, &OldEditorFixture}) {
        QTextDocument first;
        load(first, *fixture);
        const QByteArray written = save(first);
        QTextDocument second;
        load(second, written);
        expectSameDocuments(first, second);
        // And it settles: writing again gives the same file.
        EXPECT_EQ(save(second), written);
    }
}

TEST(TemplateDocument, ADocumentMadeInTheEditorSurvivesSavingAndLoading) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QTextCursor c(&doc);
    QTextCharFormat red;
    red.setFontFamilies({QStringLiteral("Times New Roman")});
    red.setFontPointSize(14);
    red.setForeground(QColor(255, 0, 0));
    red.setFontUnderline(true);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    c.insertText(QStringLiteral("@<Imię>@"), red);
    c.insertText(QStringLiteral(" i zwykły tekst ąę"));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLeftMargin(20);
    c.insertBlock(right);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontItalic(true);
    c.insertText(QStringLiteral("Podpis €Ж"), bold);
    // A table at the end of the document.
    c.insertBlock();
    QTextTable *t = c.insertTable(1, 3);
    t->cellAt(0, 2).firstCursorPosition().insertText(QStringLiteral("trzecia"));

    const QByteArray rtf = save(doc);
    QTextDocument back;
    load(back, rtf);
    expectSameDocuments(doc, back);
    EXPECT_EQ(back.defaultFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(back.begin().next().blockFormat().leftMargin(), 20);
    // Loading and saving many times does not add empty lines around the table.
    QByteArray again = save(back);
    for (int i = 0; i < 3; ++i) {
        QTextDocument d;
        load(d, again);
        again = save(d);
    }
    EXPECT_EQ(again, rtf);
}

TEST(TemplateDocument, ATemplateBeginningWithATableKeepsItsShape) {
    const QByteArray rtf = "{\\rtf1\\ansi\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row\\pard po\\par}";
    QTextDocument doc;
    load(doc, rtf);
    ASSERT_NE(firstTable(doc), nullptr);
    const QByteArray once = save(doc);
    QTextDocument again;
    load(again, once);
    EXPECT_EQ(save(again), once);
    EXPECT_EQ(again.toPlainText(), doc.toPlainText());
    EXPECT_EQ(richTextOf(again).blocks.size(), 2u);  // the table and "po"
}

// Mutations of the fixtures: flipped bytes, tokens of the format put in
// anywhere, cut and repeated stretches, an early end.
QByteArray mutate(QByteArray data, std::mt19937 &rng) {
    static const char *const tokens[] = {
        "{", "}", "\\", "\\'", "\\'f", "\\u-", "\\u65535", "\\uc9 ", "\\bin", "\\bin99999 ", "\\cell", "\\row",
        "\\trowd", "\\cellx", "\\cellx-5", "\\par", "\\*", "\\fonttbl", "\\colortbl", "\\f", "\\f99999 ", "\\fs",
        "\\fs-1 ", "\\cf7", "\\red300", ";", "\\intbl", "\\nestcell", "\\page", "\\plain", "\\pard", "{\\*\\x ",
        "{\\pict ", "\\u-10179 ", "\\u-8704 ", "@<", ">@", "9999999999999", "\\trleft-99999 ", "\\li99999999 ",
        "\x80", "\xff", "\x00", "\r\n",
    };
    const int steps = 1 + static_cast<int>(rng() % 8);
    for (int s = 0; s < steps && !data.isEmpty(); ++s) {
        const auto at = static_cast<qsizetype>(rng() % static_cast<quint32>(data.size()));
        switch (rng() % 6) {
        case 0:
            data[at] = static_cast<char>(rng() & 0xFF);
            break;
        case 1: {
            const char *t = tokens[rng() % (sizeof tokens / sizeof *tokens)];
            data.insert(at, QByteArray(t, t[0] ? static_cast<qsizetype>(qstrlen(t)) : 1));
            break;
        }
        case 2:
            data.remove(at, static_cast<qsizetype>(rng() % 64));
            break;
        case 3: {
            const QByteArray slice = data.mid(at, static_cast<qsizetype>(rng() % 200));
            data.insert(static_cast<qsizetype>(rng() % static_cast<quint32>(data.size())), slice);
            break;
        }
        case 4:
            data.truncate(at + 1);
            break;
        default:
            data.insert(at, QByteArray(static_cast<qsizetype>(rng() % 300), (rng() & 1) ? '{' : '}'));
            break;
        }
    }
    return data;
}

TEST(TemplateDocument, TheReaderTakesDamagedFilesWithoutFailing) {
    // A fixed seed: the same files every run, in a bounded number.
    std::mt19937 rng(20240305);
    const QByteArray fixtures[] = {WordFixture, LibreOfficeFixture, OldEditorFixture};
    for (int i = 0; i < 1500; ++i) {
        const QByteArray input = mutate(fixtures[i % 3], rng);
        const RtfReadResult r = readRtf(input);
        // Every character read comes from at least one byte of the file.
        ASSERT_LE(r.text.plainText().size(), input.size() + 1) << "case " << i;
        QTextDocument doc;
        setRichText(doc, r.text);
        ASSERT_LE(doc.characterCount(), input.size() + 2 * RtfReadLimits::MaxTableCells + 2) << "case " << i;
        // What it made can be written and read again.
        const RichText back = readRtf(writeRtf(richTextOf(doc))).text;
        QTextDocument again;
        setRichText(again, back);
        ASSERT_EQ(again.toPlainText(), doc.toPlainText()) << "case " << i;
    }
}

}  // namespace
