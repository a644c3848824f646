// The template editor's work on its document: placeholders, formatting of
// the selection, the caret's line and column, and the files it writes.
#include "templates/doc/TemplateEditorDocument.h"

#include "cli/OfficeDatabase.h"
#include "data/Table.h"
#include "support/DocumentText.h"
#include "support/TempDatabase.h"
#include "templates/Rtf.h"
#include "templates/TemplateFile.h"
#include "templates/doc/DecisionDocument.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace varnel::templates;
using namespace varnel::templates::doc;
using varnel::test::formatAt;

namespace {

const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

QTextCharFormat textFormat(const char *family, double size, bool bold = false) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{QString::fromLatin1(family)});
    f.setFontPointSize(size);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

QTextCursor select(QTextDocument &doc, const QString &what) {
    QTextCursor c = doc.find(what);
    EXPECT_FALSE(c.isNull()) << what.toStdString();
    return c;
}

}  // namespace

TEST(EditorDocument, APlaceholderReplacesTheSelectionInRedFollowedByABlackSpace) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Pan "), textFormat("Arial", 12));
    c.insertText(QStringLiteral("XXX"), textFormat("Arial", 14, true));
    c.insertText(QStringLiteral(" z Sieradza"), textFormat("Arial", 12));
    doc.setModified(false);

    QTextCursor sel = select(doc, QStringLiteral("XXX"));
    insertPlaceholder(sel, QStringLiteral("Nazwisko"));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Pan @<Nazwisko>@  z Sieradza"));
    EXPECT_FALSE(sel.hasSelection());
    EXPECT_EQ(sel.position(), QStringLiteral("Pan @<Nazwisko>@ ").size());  // after the space
    EXPECT_TRUE(doc.isModified());

    // The placeholder keeps the look of the text it replaced, in red.
    const QTextCharFormat p = formatAt(doc, QStringLiteral("@<Nazwisko>@"));
    EXPECT_EQ(p.foreground().color(), Red);
    EXPECT_EQ(p.fontWeight(), QFont::Bold);
    EXPECT_EQ(p.fontPointSize(), 14);
    QTextCursor space(&doc);
    space.setPosition(QStringLiteral("Pan @<Nazwisko>@ ").size());
    EXPECT_EQ(space.charFormat().foreground().color(), Black);
    EXPECT_EQ(space.charFormat().fontPointSize(), 14);
    // Nothing else turned red.
    EXPECT_NE(formatAt(doc, QStringLiteral("z Sieradza")).foreground().color(), Red);

    // One step undoes the insertion.
    doc.undo();
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Pan XXX z Sieradza"));
}

TEST(EditorDocument, APlaceholderGoesInAtTheCaretWithoutASelection) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Dnia "), textFormat("Times New Roman", 12));
    insertPlaceholder(c, QStringLiteral("Dzisiejsza data"));
    c.insertText(QStringLiteral("r."));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Dnia @<Dzisiejsza data>@ r."));
    EXPECT_EQ(formatAt(doc, QStringLiteral("@<Dzisiejsza")).foreground().color(), Red);
    // Typing goes on in black after the space.
    EXPECT_EQ(formatAt(doc, QStringLiteral("r.")).foreground().color(), Black);
    EXPECT_EQ(formatAt(doc, QStringLiteral("r.")).fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
}

TEST(EditorDocument, FormattingChangesOnlyTheSelection) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat italic = textFormat("Arial", 12);
    italic.setFontItalic(true);
    c.insertText(QStringLiteral("jeden dwa trzy"), italic);
    doc.setModified(false);

    // Nothing selected: nothing changes, the document stays unmodified.
    QTextCursor caret(&doc);
    caret.setPosition(3);
    EXPECT_FALSE(setSelectionStyles(caret, true, false, false));
    EXPECT_FALSE(setSelectionFontFamily(caret, QStringLiteral("Courier New")));
    EXPECT_FALSE(setSelectionPointSize(caret, 20));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(formatAt(doc, QStringLiteral("jeden")).fontWeight(), QFont::Normal);

    // The three styles are set at once, each as its button stands: bold on,
    // italic off, underline on.
    QTextCursor dwa = select(doc, QStringLiteral("dwa"));
    EXPECT_TRUE(setSelectionStyles(dwa, true, false, true));
    EXPECT_TRUE(setSelectionFontFamily(dwa, QStringLiteral("Courier New")));
    EXPECT_TRUE(setSelectionPointSize(dwa, 20));
    EXPECT_TRUE(doc.isModified());
    const QTextCharFormat f = formatAt(doc, QStringLiteral("dwa"));
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_FALSE(f.fontItalic());
    EXPECT_TRUE(f.fontUnderline());
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    EXPECT_EQ(f.fontPointSize(), 20);
    for (const char *other : {"jeden", "trzy"}) {
        const QTextCharFormat o = formatAt(doc, QString::fromLatin1(other));
        EXPECT_EQ(o.fontWeight(), QFont::Normal) << other;
        EXPECT_TRUE(o.fontItalic()) << other;
        EXPECT_EQ(o.fontPointSize(), 12) << other;
    }
}

TEST(EditorDocument, ScreenFontsAreNamedWithoutTheirFoundry) {
    const QStringList fonts = screenFontFamilies();
    ASSERT_FALSE(fonts.isEmpty());
    EXPECT_TRUE(fonts.contains(QStringLiteral("Liberation Serif")));
    for (int i = 0; i < fonts.size(); ++i) {
        EXPECT_FALSE(fonts[i].contains(QStringLiteral(" ["))) << fonts[i].toStdString();
        if (i > 0) {
            EXPECT_NE(fonts[i - 1], fonts[i]);
            EXPECT_LE(fonts[i - 1].compare(fonts[i], Qt::CaseInsensitive), 0) << fonts[i].toStdString();
        }
    }
    // Every family the font system knows is offered under its plain name.
    for (const QString &family : QFontDatabase::families())
        EXPECT_TRUE(fonts.contains(family.section(QStringLiteral(" ["), 0, 0))) << family.toStdString();
}

TEST(EditorDocument, CaretLineAndColumnCountLaidOutLines) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Liberation Mono"), 10));
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("DECYZJA"));
    c.insertBlock();
    c.insertBlock();
    c.insertText(QStringLiteral("Pan Jan"));
    EXPECT_EQ(caretPlace(doc, 0).line, 1);
    EXPECT_EQ(caretPlace(doc, 0).column, 1);
    EXPECT_EQ(caretPlace(doc, 7).column, 8);  // end of the first line
    const int pan = static_cast<int>(doc.toPlainText().indexOf(QStringLiteral("Jan")));
    EXPECT_EQ(caretPlace(doc, pan).line, 3);
    EXPECT_EQ(caretPlace(doc, pan).column, 5);

    // A paragraph wider than the text makes several lines; the column
    // counts from the start of the caret's own line.
    QTextDocument wrapped;
    wrapped.setDefaultFont(QFont(QStringLiteral("Liberation Mono"), 10));
    wrapped.setPlainText(QStringLiteral("aaaa bbbb cccc dddd eeee ffff gggg hhhh"));
    wrapped.setTextWidth(QFontMetricsF(wrapped.defaultFont()).horizontalAdvance(QStringLiteral("aaaa bbbb ")) + 12);
    const int g = static_cast<int>(wrapped.toPlainText().indexOf(QStringLiteral("gggg")));
    const CaretPlace at = caretPlace(wrapped, g + 2);
    EXPECT_GT(at.line, 1);
    QTextBlock block = wrapped.begin();
    const QTextLine line = block.layout()->lineForTextPosition(g + 2);
    EXPECT_EQ(at.line, line.lineNumber() + 1);
    EXPECT_EQ(at.column, g + 2 - line.textStart() + 1);

    // Table cells are lines of their own.
    QTextDocument table;
    QTextCursor t(&table);
    t.insertText(QStringLiteral("Tabela"));
    t.insertBlock();
    QTextTable *tt = t.insertTable(1, 2);
    QTextCursor cell = tt->cellAt(0, 1).firstCursorPosition();
    cell.insertText(QStringLiteral("kwota"));
    EXPECT_EQ(caretPlace(table, cell.position()).line, 4);  // "Tabela", the paragraph, cell 1, cell 2
    EXPECT_EQ(caretPlace(table, cell.position()).column, 6);
}

class EditorFiles : public ::testing::Test {
protected:
    QString path(const char *name) const { return QDir(db.path()).filePath(QString::fromLatin1(name)); }
    varnel::test::TempDatabase db;
};

// A template as a clerk writes one: a centred bold title in one font, text
// and placeholders in another; saved as RTF, it opens again the same and
// fills through the decision's assembly.
TEST_F(EditorFiles, AWrittenTemplateIsSavedAsRtfReopensAndFills) {
    QTextDocument doc;
    TemplateEditorDocument edited(doc);
    edited.setDefaultFont(QFont(QStringLiteral("Times New Roman"), 10));
    edited.clear();
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("DECYZJA nr "), textFormat("Arial", 16, true));
    insertPlaceholder(c, QStringLiteral("Nr wniosku"));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("Przyznaje się Pani "), textFormat("Times New Roman", 12));
    insertPlaceholder(c, QStringLiteral("Imię"));
    insertPlaceholder(c, QStringLiteral("Nazwisko"));
    c.insertText(QStringLiteral("dodatek w kwocie "));
    insertPlaceholder(c, QStringLiteral("Wypłata (całość)"));
    EXPECT_TRUE(edited.isModified());

    const QString file = path("moja.fmz");
    edited.saveFile(file);
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(isRtf(bytes));
    EXPECT_TRUE(bytes.contains("\\qc"));
    EXPECT_TRUE(bytes.contains("Arial"));
    EXPECT_TRUE(bytes.contains("\\red255\\green0\\blue0"));
    EXPECT_TRUE(bytes.contains("Przyznaje si\\'ea"));  // Windows-1250, as the office suites write it

    QTextDocument again;
    TemplateEditorDocument reopened(again);
    reopened.loadFile(file);
    EXPECT_FALSE(reopened.isModified());
    EXPECT_EQ(again.toPlainText(), doc.toPlainText());
    EXPECT_EQ(again.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat title = formatAt(again, QStringLiteral("DECYZJA"));
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(title.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    EXPECT_EQ(title.fontPointSize(), 16);
    EXPECT_EQ(formatAt(again, QStringLiteral("@<Imię>@")).foreground().color(), Red);
    EXPECT_EQ(formatAt(again, QStringLiteral("Przyznaje")).fontFamilies().toStringList().value(0),
              QStringLiteral("Times New Roman"));

    // Filled for an application as the decision is.
    varnel::cli::fillNewDatabase(*db);
    varnel::data::Table apps(*db, QStringLiteral("Aktualne"));
    apps.open();
    apps.insert();
    apps.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Kowalska"));
    apps.field(QStringLiteral("Imie")).setString(QStringLiteral("Anna"));
    apps.field(QStringLiteral("Numer_decyzji")).setString(QStringLiteral("DM.5342.7.2024"));
    apps.field(QStringLiteral("Wyplata_calosc")).setCurrency(210.5);
    apps.post();
    QTextDocument decision;
    assembleDecision(decision, file, apps, QStringLiteral("ADMIN"));
    const QString text = decision.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("DECYZJA nr DM.5342.7.2024 \n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Przyznaje się Pani Anna Kowalska dodatek w kwocie 210.50 zł ")))
        << text.toStdString();
    EXPECT_EQ(formatAt(decision, QStringLiteral("Kowalska")).foreground().color(), Black);
}

TEST_F(EditorFiles, ClearingGivesAnEmptyDocumentInTheEditorsFontAndAFailedLoadChangesNothing) {
    QTextDocument doc;
    TemplateEditorDocument edited(doc);
    edited.setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 10));
    edited.clear();
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(doc.defaultFont().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(doc.defaultFont().pointSizeF(), 10);
    EXPECT_FALSE(edited.isModified());

    QTextCursor(&doc).insertText(QStringLiteral("mój tekst"));
    EXPECT_THROW(edited.loadFile(path("brak.fmz")), TemplateFileError);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("mój tekst"));
    EXPECT_TRUE(edited.isModified());

    // A template typed in the default font only keeps it when saved.
    edited.saveFile(path("prosty.fmz"));
    QTextDocument again;
    TemplateEditorDocument(again).loadFile(path("prosty.fmz"));
    EXPECT_EQ(again.toPlainText(), QStringLiteral("mój tekst"));
    const QTextCharFormat f = formatAt(again, QStringLiteral("tekst"));
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(f.fontPointSize(), 10);

    // Saving into a folder that does not exist is a file error.
    EXPECT_THROW(edited.saveFile(path("brak/x.fmz")), TemplateFileError);
}
