#include "core/Context.h"
#include "print/RichTextPrint.h"
#include "print/windows/PrintActions.h"
#include "support/AdminRun.h"
#include "support/Program.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

using namespace varnel;
using test::pdfText;
using test::ScriptedQuestions;

namespace {

class PrintActionsTest : public ::testing::Test {
protected:
    PrintActionsTest() {
        document.setPlainText(QStringLiteral("Decyzja nr SM.5322/7\nPan Józef Kuźniar"));
        actions = new print::PrintActions(&window, ctx, printer, [this](print::PageDevice &d) {
            ++renders;
            if (failHalfway) {
                d.beginJob();
                throw std::runtime_error("Przerwano wydruk");
            }
            d.setJobTitle(QStringLiteral("Decyzja"));
            d.setCopies(copies);
            print::printRichText(d, document, d.area(print::DecisionMargins));
        });
        auto *row = new QHBoxLayout(&window);
        actions->addButtons(row);
    }

    test::TempDatabase db;
    ScriptedQuestions answers;
    test::ScriptedFiles files;
    core::Context ctx{*db, answers, files, {}};
    QWidget window;
    QPrinter printer;
    QTextDocument document;
    print::PrintActions *actions = nullptr;
    int renders = 0;
    int copies = 1;
    bool failHalfway = false;
};

}  // namespace

TEST_F(PrintActionsTest, ThreeButtonsInOrder) {
    const auto buttons = window.findChildren<QPushButton *>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(actions->printButton()->text(), QStringLiteral("Drukuj"));
    EXPECT_EQ(actions->previewButton()->text(), QStringLiteral("Podgląd"));
    EXPECT_EQ(actions->pdfButton()->text(), QStringLiteral("Zapisz PDF"));
}

TEST_F(PrintActionsTest, SavePdfAsksInTheDatabaseDirectoryAndWritesAnOwnersOnlyFile) {
    files.chosen = QDir(db.path()).filePath(QStringLiteral("decyzja.pdf"));
    copies = 2;
    actions->pdfButton()->click();
    ASSERT_EQ(files.asked.size(), 1);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].directory, db.path());
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("Dokument PDF (*.pdf)|*.pdf"));
    EXPECT_EQ(files.asked[0].suffix, QStringLiteral("pdf"));
    ASSERT_TRUE(QFile::exists(files.chosen));
    EXPECT_EQ(QFile::permissions(files.chosen) & 0x0077, 0);  // nothing for the group and others
    EXPECT_EQ(pdfText(files.chosen).count(QStringLiteral("Pan Józef Kuźniar")), 2);
    EXPECT_TRUE(answers.asked().empty());

    // Given up in the dialog: nothing rendered.
    files.chosen.clear();
    EXPECT_FALSE(actions->savePdf());
    EXPECT_EQ(renders, 1);
}

TEST_F(PrintActionsTest, AFailedRenderIsToldAndLeavesNoFile) {
    files.chosen = QDir(db.path()).filePath(QStringLiteral("zly.pdf"));
    failHalfway = true;
    EXPECT_FALSE(actions->savePdf());
    EXPECT_FALSE(QFile::exists(files.chosen));
    EXPECT_EQ(answers.texts(ScriptedQuestions::Kind::Error), QStringList{QStringLiteral("Przerwano wydruk")});
}

TEST_F(PrintActionsTest, PrintGoesToThePrinterChosenAsOneJob) {
    // The print dialog chooses the printer's PDF output here.
    const QString out = QDir(db.path()).filePath(QStringLiteral("drukarka.pdf"));
    bool asked = false;
    actions->choosePrinter = [&](QPrinter &p, QWidget *) {
        asked = true;
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(out);
        return true;
    };
    int printedSignals = 0;
    QObject::connect(actions, &print::PrintActions::printed, [&] { ++printedSignals; });
    copies = 3;
    EXPECT_TRUE(actions->print());
    EXPECT_TRUE(asked);
    EXPECT_EQ(printedSignals, 1);
    EXPECT_EQ(printer.docName(), QStringLiteral("Decyzja"));
    EXPECT_EQ(printer.resolution(), print::PageResolution);
    // PDF output makes no copies of its own: the document went in three times.
    EXPECT_EQ(pdfText(out).count(QStringLiteral("Pan Józef Kuźniar")), 3);

    actions->choosePrinter = [](QPrinter &, QWidget *) { return false; };
    EXPECT_FALSE(actions->print());
    EXPECT_EQ(renders, 1);
}

TEST_F(PrintActionsTest, PreviewShowsThePagesOfTheRenderFunction) {
    document.setPlainText(QString(QStringLiteral("wiersz decyzji\n")).repeated(150));
    int previewPages = -1;
    actions->showPreview = [&](QPrintPreviewDialog &dialog) {
        auto *widget = dialog.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(widget, nullptr);
        widget->updatePreview();
        previewPages = widget->pageCount();
    };
    EXPECT_TRUE(actions->preview());
    EXPECT_GE(renders, 1);
    EXPECT_GE(previewPages, 2);
}

TEST_F(PrintActionsTest, TheWindowsCheckComesFirst) {
    actions->check = [this] {
        answers.inform(QStringLiteral("Błędna wartość w polu: Liczba kopii"));
        return false;
    };
    files.chosen = QDir(db.path()).filePath(QStringLiteral("x.pdf"));
    EXPECT_FALSE(actions->savePdf());
    EXPECT_FALSE(actions->print());
    EXPECT_FALSE(actions->preview());
    EXPECT_EQ(renders, 0);
    EXPECT_EQ(answers.count(ScriptedQuestions::Kind::Inform), 3);
}

TEST_F(PrintActionsTest, APdfIsNeverSavedOntoTheDatabaseFile) {
    files.chosen = db->filePath();
    EXPECT_FALSE(actions->savePdf());
    EXPECT_EQ(renders, 0);
    const QStringList told = answers.texts(ScriptedQuestions::Kind::Error);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains(QStringLiteral("jest plikiem bazy danych"))) << told.first().toStdString();
    EXPECT_TRUE(db->integrityProblems().isEmpty());
}
