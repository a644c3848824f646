// The decision document: template, metric line, footer, substitution.
#include "templates/doc/DecisionDocument.h"

#include "cli/OfficeDatabase.h"
#include "data/Table.h"
#include "print/PdfFile.h"
#include "print/RichTextPrint.h"
#include "support/AdminRun.h"
#include "support/DocumentText.h"
#include "support/RtfFixtures.h"
#include "support/TempDatabase.h"
#include "templates/ExampleTemplate.h"
#include "templates/FieldCatalogue.h"
#include "templates/Rtf.h"
#include "templates/TemplateFile.h"
#include "templates/doc/RichTextDocument.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace varnel::templates;
using namespace varnel::templates::doc;
using DbTable = varnel::data::Table;
using varnel::test::TempDatabase;
using varnel::test::formatAt;

namespace {

const QDate Today(2024, 3, 5);

class Decision : public ::testing::Test {
protected:
    void SetUp() override {
        varnel::cli::fillNewDatabase(*db);
        table.open();
        table.insert();
        auto set = [this](const char *f, const QVariant &v) { table.field(QString::fromLatin1(f)).setVariant(v); };
        set("Nazwisko", QStringLiteral("Kowalska"));
        set("Imie", QStringLiteral("Anna"));
        set("Numer_decyzji", QStringLiteral("DM.5342.7.2024"));
        set("Adres_miejsc", QStringLiteral("Sieradz"));
        set("Adres_ulica", QStringLiteral("Kościuszki"));
        set("Adres_nr", QStringLiteral("3/5"));
        set("Liczba_osob", 2);
        set("Wyplata_calosc", 210.5);
        table.post();
    }

    QString write(const QString &name, const QByteArray &data) { return db.writeFile(name, data); }

    void assemble(QTextDocument &doc, const QByteArray &rtf, const DecisionPrintSwitches &switches) {
        DecisionOptions o;
        o.switches = switches;
        o.userName = QStringLiteral("ADMIN");
        o.today = Today;
        assembleDecision(doc, readRtf(rtf).text, table, o);
    }

    TempDatabase db;
    DbTable table{*db, QStringLiteral("Aktualne")};
};

TEST_F(Decision, PlaceholdersSplitIntoRunsAreFilledInTheFormatOfTheirFirstCharacter) {
    QTextDocument doc;
    assemble(doc, varnel::test::LibreOfficeFixture, {});
    const QString text = doc.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Decyzja nr DM.5342.7.2024\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("w kwocie 210.50 zł – płatne"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("@<")));
    // "@<Nr " was bold and red, "wniosku>@" also italic: the value is bold,
    // 16 pt, not italic, and black.
    const QTextCharFormat f = formatAt(doc, QStringLiteral("DM.5342"));
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_EQ(f.fontPointSize(), 16);
    EXPECT_FALSE(f.fontItalic());
    EXPECT_EQ(f.foreground().color(), QColor(Qt::black));
    EXPECT_TRUE(formatAt(doc, QStringLiteral("210.50")).fontUnderline());
    // Placeholders in table cells are filled in their cells.
    EXPECT_TRUE(text.contains(QStringLiteral("30.12.1899 – 30.12.1899")));
}

TEST_F(Decision, MetricLineAndFooterFollowTheTemplateInCourierNew) {
    DecisionPrintSwitches s;
    s.drukujMetryczke = true;
    s.drukujStopke = true;
    s.stopka = QStringLiteral("Sprawę prowadzi: pokój 12\r\nDotyczy: @<Nazwisko>@ @<Imię>@\r\n");
    QTextDocument doc;
    assemble(doc, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\qc\\fs40 Decyzja\\par}", s);
    const QStringList lines = doc.toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1 + 1 + 4 + 2 + 2) << doc.toPlainText().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Decyzja"));
    EXPECT_EQ(lines[1], QStringLiteral("Wniosek nr ew. %1 | decyzja nr DM.5342.7.2024 | wystawił: ADMIN | 05.03.2024")
                            .arg(table.field(QStringLiteral("NrEw")).asString()));
    for (int i = 2; i < 8; ++i)
        EXPECT_TRUE(lines[i].isEmpty()) << i;
    EXPECT_EQ(lines[8], QStringLiteral("Sprawę prowadzi: pokój 12"));
    EXPECT_EQ(lines[9], QStringLiteral("Dotyczy: Kowalska Anna"));  // the footer's placeholders are filled too

    EXPECT_FALSE(doc.isUndoAvailable());  // corrections in the window start from the filled decision
    EXPECT_FALSE(doc.isModified());

    const QTextBlock metric = doc.begin().next();
    const QTextCharFormat m = formatAt(doc, QStringLiteral("Wniosek nr ew."));
    EXPECT_EQ(m.fontFamilies().toStringList(), QStringList{MetricFontFamily});
    EXPECT_EQ(m.fontPointSize(), 8);
    EXPECT_EQ(m.fontWeight(), QFont::Normal);
    EXPECT_EQ(m.foreground().color(), QColor(Qt::black));
    EXPECT_EQ(metric.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);  // not the template's centre
    const QTextCharFormat foot = formatAt(doc, QStringLiteral("Kowalska"));
    EXPECT_EQ(foot.fontFamilies().toStringList(), QStringList{MetricFontFamily});
    EXPECT_EQ(foot.fontPointSize(), 8);
}

TEST_F(Decision, SwitchesOffAddNothingAndAnEmptyFooterItsTwoLines) {
    QTextDocument plain;
    assemble(plain, "{\\rtf1 Decyzja @<Nazwisko>@\\par}", {});
    EXPECT_EQ(plain.toPlainText(), QStringLiteral("Decyzja Kowalska"));

    DecisionPrintSwitches footerOnly;
    footerOnly.drukujStopke = true;
    QTextDocument doc;
    assemble(doc, "{\\rtf1 Decyzja\\par}", footerOnly);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Decyzja\n\n"));
}

TEST_F(Decision, TheSwitchesComeFromTheParameterRow) {
    DecisionPrintSwitches s = readDecisionPrintSwitches(*db);
    EXPECT_TRUE(s.drukujMetryczke);  // as a new database starts
    EXPECT_TRUE(s.drukujStopke);
    EXPECT_TRUE(s.stopka.startsWith(QStringLiteral("Sprawę prowadzi")));
    {
        DbTable param(*db, QStringLiteral("param"));
        param.open();
        param.first();
        param.edit();
        param.field(QStringLiteral("DrukujMetryczke")).setBoolean(false);
        param.field(QStringLiteral("Stopka")).setString(QStringLiteral("Stopka: @<Imię>@"));
        param.post();
    }
    const QString path = write(QStringLiteral("d.fmz"), "{\\rtf1 Tekst\\par}");
    QTextDocument doc;
    assembleDecision(doc, path, table, QStringLiteral("ADMIN"));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Tekst\n\n\nStopka: Anna"));

    // A parameter table without a row: nothing is added.
    {
        DbTable param(*db, QStringLiteral("param"));
        param.open();
        param.first();
        param.remove();
    }
    s = readDecisionPrintSwitches(*db);
    EXPECT_FALSE(s.drukujMetryczke);
    EXPECT_FALSE(s.drukujStopke);
}

TEST_F(Decision, AnUnreadableTemplateIsToldAndTheDocumentStays) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("poprzedni"));
    EXPECT_THROW(assembleDecision(doc, QDir(db.path()).filePath(QStringLiteral("brak.fmz")), table,
                                  QStringLiteral("ADMIN")),
                 TemplateFileError);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("poprzedni"));
    EXPECT_THROW(loadTemplate(doc, QDir(db.path()).filePath(QStringLiteral("brak.fmz"))), TemplateFileError);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("poprzedni"));
}

TEST_F(Decision, AnyOtherFileLoadsAsPlainTextAndIsFilledTheSameWay) {
    QStringEncoder cp1250("windows-1250");
    const QString path = write(QStringLiteral("decyzja.txt"), cp1250.encode(QStringLiteral("Pani @<Imię>@ z ulicy\n@<Adres>@")));
    QTextDocument doc;
    loadTemplate(doc, path);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Pani @<Imię>@ z ulicy\n@<Adres>@"));
    assembleDecision(doc, path, table, QStringLiteral("ADMIN"));
    EXPECT_TRUE(doc.toPlainText().startsWith(QStringLiteral("Pani Anna z ulicy\nSieradz ul.Kościuszki 3/5\n")))
        << doc.toPlainText().toStdString();
}

TEST_F(Decision, APlaceholderRunningFromCellToCellStaysAsItIs) {
    const QByteArray rtf = "{\\rtf1 \\trowd\\cellx2000\\cellx4000\\intbl @<Imi\\cell \\'ea>@ @<Imi\\'ea>@\\cell\\row"
                           "\\pard @<Nazwisko>@\\par}";
    QTextDocument doc;
    assemble(doc, rtf, {});
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::NextBlock);
    ASSERT_NE(c.currentTable(), nullptr);
    EXPECT_EQ(c.currentTable()->columns(), 2);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("\n@<Imi\nę>@ Anna\nKowalska")) << doc.toPlainText().toStdString();
}

TEST_F(Decision, TheExampleTemplateFillsCompletely) {
    QTextDocument doc;
    assemble(doc, writeRtf(exampleDecision()), readDecisionPrintSwitches(*db));
    const QString text = doc.toPlainText();
    EXPECT_FALSE(text.contains(QStringLiteral("@<"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("?"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Anna Kowalska")));
    EXPECT_TRUE(text.contains(QStringLiteral("zam. Sieradz ul.Kościuszki 3/5")));
    EXPECT_TRUE(text.contains(QStringLiteral("w wysokości 210.50 zł miesięcznie")));
    EXPECT_TRUE(text.contains(QStringLiteral("Otrzymują")));  // the footer of a new database
}

TEST_F(Decision, TheFilledExamplePrintsIntoAPdfWithItsFooter) {
    QTextDocument doc;
    assemble(doc, writeRtf(exampleDecision()), readDecisionPrintSwitches(*db));
    const QString pdf = QDir(db.path()).filePath(QStringLiteral("decyzja.pdf"));
    const auto outcome = varnel::print::writePdfFile(pdf, [&doc](varnel::print::PageDevice &device) {
        device.setJobTitle(QStringLiteral("Decyzja"));
        varnel::print::printRichText(device, doc, device.area(varnel::print::DecisionMargins));
    });
    ASSERT_EQ(outcome.kind, varnel::print::PdfOutcome::Written) << outcome.error.toStdString();
    const QString text = varnel::test::pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("w sprawie przyznania dodatku mieszkaniowego"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Anna Kowalska")));
    EXPECT_TRUE(text.contains(QStringLiteral("210.50 zł")));
    EXPECT_TRUE(text.contains(QStringLiteral("decyzja nr DM.5342.7.2024 | wystawił: ADMIN | 05.03.2024")));
    EXPECT_TRUE(text.contains(QStringLiteral("Sprawę prowadzi")));
}

}  // namespace
