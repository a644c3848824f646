// The decision print window: filling, the copy count, printing, the layout.
#include "templates/windows/TFormPrtDec.h"

#include "cli/OfficeDatabase.h"
#include "data/Table.h"
#include "print/windows/PrintActions.h"
#include "register/windows/TFormWnioski.h"
#include "support/AdminRun.h"
#include "support/Program.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"
#include "ui/UpDown.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace varnel;
using templates::TFormPrtDec;
using data::Table;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;
using test::pdfText;

namespace {

class PrintWindow : public test::ProgramTest {
protected:
    void SetUp() override {
        cli::fillNewDatabase(*db);
        test::setParameters(*db, {{QStringLiteral("DrukujMetryczke"), true},
                                  {QStringLiteral("DrukujStopke"), true},
                                  {QStringLiteral("Stopka"), QStringLiteral("Sprawę prowadzi: @<Nazwisko>@")}});
        applications.open();
        applications.insert();
        applications.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Kuźniar"));
        applications.field(QStringLiteral("Imie")).setString(QStringLiteral("Józef"));
        applications.field(QStringLiteral("Wyplata_calosc")).setCurrency(215.4);
        applications.post();
        ctx.values.userName = QStringLiteral("EWA");
        templateFile = db.writeFile(QStringLiteral("decyzja.txt"),
                             "Decyzja dla @<Imię>@ @<Nazwisko>@\nKwota: @<Wypłata (całość)>@\n");
        window = std::make_unique<TFormPrtDec>(ctx, applications);
    }

    QString text() const { return window->REdit->toPlainText(); }
    // "Drukuj" prints into a PDF file as the printer chosen.
    void printInto(const QString &file) {
        window->choosePrinter = [file](QPrinter &p, QWidget *) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(file);
            return true;
        };
    }
    QString pdf(const char *name) const { return QDir(db.path()).filePath(QString::fromLatin1(name)); }

    data::Table applications{*db, QStringLiteral("Aktualne")};
    QString templateFile;
    std::unique_ptr<TFormPrtDec> window;
};

}  // namespace

TEST_F(PrintWindow, OpensOnTheFilledDecisionWithTheCaretAtTheStart) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Drukowanie decyzji"));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("Liczba kopii:"));
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("1"));
    ASSERT_TRUE(window->FormShow(templateFile));
    const QStringList lines = text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines[0], QStringLiteral("Decyzja dla Józef Kuźniar"));
    EXPECT_EQ(lines[1], QStringLiteral("Kwota: 215.40 zł"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Wniosek nr ew. 1 | decyzja nr  | wystawił: EWA | ")));
    EXPECT_EQ(lines.last(), QStringLiteral("Sprawę prowadzi: Kuźniar"));
    EXPECT_EQ(window->REdit->textCursor().position(), 0);
    EXPECT_FALSE(window->REdit->textCursor().hasSelection());
    EXPECT_FALSE(window->REdit->isReadOnly());
    EXPECT_TRUE(questions.asked().empty());

    int topic = 0;
    window->showHelp = [&](int t) { topic = t; };
    QTest::keyClick(window->REdit, Qt::Key_F1);
    EXPECT_EQ(topic, 117);
}

TEST_F(PrintWindow, AnUnreadableTemplateIsToldWithTheFilesErrorAndTheWindowDoesNotOpen) {
    const QString missing = QDir(db.path()).filePath(QStringLiteral("nie_ma.fmz"));
    bool opened = false;
    test::answerModal([&] { EXPECT_FALSE(window->ShowModal(missing)); }, [&](QDialog &) { opened = true; });
    EXPECT_FALSE(opened);
    ASSERT_EQ(questions.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(questions.texts(Kind::Error)[0].contains(QStringLiteral("nie_ma.fmz")));
}

TEST_F(PrintWindow, TheSpinButtonsRunFromOneToNineAndATypedCountIsTakenAsTyped) {
    ui::UpDown *spin = window->UpDown;
    for (int i = 0; i < 12; ++i)
        spin->upButton()->click();
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("9"));
    spin->downButton()->click();
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("8"));
    QTest::keyClick(window->EditLKopii, Qt::Key_Up);
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("9"));

    window->EditLKopii->setText(QStringLiteral("12"));
    EXPECT_EQ(window->readCopies(), 12);
    // A step from beyond the range comes back into it.
    spin->upButton()->click();
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("9"));
    window->EditLKopii->setText(QStringLiteral("0"));
    spin->downButton()->click();
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("1"));
    // From text that is no number, the last position.
    window->EditLKopii->setText(QStringLiteral("xyz"));
    spin->upButton()->click();
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("2"));
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(PrintWindow, TextThatIsNotACopyCountIsToldAndNothingIsPrinted) {
    ASSERT_TRUE(window->FormShow(templateFile));
    window->EditLKopii->setText(QStringLiteral("dwie"));
    bool chosen = false;
    window->choosePrinter = [&](QPrinter &, QWidget *) { return chosen = true; };
    files.chosen = pdf("x.pdf");
    window->ButtonPrint->click();
    window->ButtonPdf->click();
    window->ButtonPreview->click();
    EXPECT_FALSE(chosen);
    EXPECT_FALSE(QFile::exists(files.chosen));
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList(3, QStringLiteral("Błędna wartość w polu: Liczba kopii")));
    EXPECT_EQ(window->result(), 0);
}

TEST_F(PrintWindow, DrukujPrintsTheCorrectedDecisionInItsCopiesClosesAndKeepsThePrinterForTheRun) {
    const QString out = pdf("drukarka.pdf");
    printInto(out);
    ctx.values.printer.copies = 1;
    bool shown = test::answerModalOf<TFormPrtDec>([&] { EXPECT_TRUE(window->ShowModal(templateFile)); },
                                                  [&](TFormPrtDec &w) {
                                                      QTextCursor c(w.REdit->document());
                                                      c.movePosition(QTextCursor::End);
                                                      c.insertText(QStringLiteral("\nDopisek urzędnika"));
                                                      w.EditLKopii->setText(QStringLiteral("3"));
                                                      w.ButtonPrint->click();
                                                      EXPECT_FALSE(w.isVisible());
                                                  });
    ASSERT_TRUE(shown);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    const QString printed = pdfText(out);
    EXPECT_EQ(printed.count(QStringLiteral("Decyzja dla Józef Kuźniar")), 3) << printed.toStdString();
    EXPECT_EQ(printed.count(QStringLiteral("Dopisek urzędnika")), 3);
    EXPECT_EQ(printed.count(QStringLiteral("Sprawę prowadzi: Kuźniar")), 3);
    EXPECT_EQ(window->printer().docName(), QStringLiteral("Decyzja"));
    EXPECT_TRUE(ctx.values.printer.chosen);
    EXPECT_EQ(ctx.values.printer.copies, 1);

    // The next opening fills the template afresh; the copy count stays.
    ASSERT_TRUE(window->FormShow(templateFile));
    EXPECT_FALSE(text().contains(QStringLiteral("Dopisek")));
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("3"));
}

TEST_F(PrintWindow, ACountChangedInThePrintDialogIsTheWindows) {
    ASSERT_TRUE(window->FormShow(templateFile));
    window->EditLKopii->setText(QStringLiteral("2"));
    int shownCount = 0;
    const QString out = pdf("dwie.pdf");
    window->choosePrinter = [&](QPrinter &p, QWidget *) {
        shownCount = p.copyCount();
        p.setCopyCount(4);
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(out);
        return true;
    };
    EXPECT_TRUE(window->actions().print());
    EXPECT_EQ(shownCount, 2);
    EXPECT_EQ(window->EditLKopii->text(), QStringLiteral("4"));
    EXPECT_EQ(pdfText(out).count(QStringLiteral("Kwota: 215.40 zł")), 4);
}

TEST_F(PrintWindow, CofnijAndAGivenUpPrintDialogPrintNothing) {
    bool asked = false;
    window->choosePrinter = [&](QPrinter &, QWidget *) {
        asked = true;
        return false;
    };
    ASSERT_TRUE(test::answerModalOf<TFormPrtDec>([&] { window->ShowModal(templateFile); },
                                                 [&](TFormPrtDec &w) {
                                                     w.ButtonPrint->click();
                                                     EXPECT_TRUE(w.isVisible());  // the dialog was given up
                                                     test::pressCofnij(&w);
                                                 }));
    EXPECT_TRUE(asked);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_FALSE(ctx.values.printer.chosen);
}

TEST_F(PrintWindow, PreviewAndPdfShowTheDecisionAndLeaveTheWindowOpen) {
    ASSERT_TRUE(window->FormShow(templateFile));
    int pages = -1;
    window->actions().showPreview = [&](QPrintPreviewDialog &dialog) {
        auto *widget = dialog.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(widget, nullptr);
        widget->updatePreview();
        pages = widget->pageCount();
    };
    window->EditLKopii->setText(QStringLiteral("2"));
    EXPECT_TRUE(window->actions().preview());
    EXPECT_GE(pages, 1);

    files.chosen = pdf("decyzja.pdf");
    window->ButtonPdf->click();
    ASSERT_EQ(files.asked.size(), 1);
    EXPECT_EQ(files.asked[0].directory, db.path());
    const QString saved = pdfText(files.chosen);
    EXPECT_EQ(saved.count(QStringLiteral("Decyzja dla Józef Kuźniar")), 2) << saved.toStdString();
    EXPECT_EQ(window->result(), 0);
}

TEST_F(PrintWindow, TheEditorFollowsTheWindowsSize) {
    window->resize(900, 700);
    window->show();
    QCoreApplication::processEvents();
    window->resize(640, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Panel->geometry(), QRect(0, 0, 640, 470));
    EXPECT_EQ(window->REdit->geometry(), QRect(0, 0, 640, 440));
    // The buttons stay in the bottom row.
    const QPoint print = window->ButtonPrint->mapTo(window.get(), QPoint(0, 0));
    EXPECT_GE(print.y(), 470);
    EXPECT_LE(print.y() + window->ButtonPrint->height(), 500 + 1);
    EXPECT_TRUE(window->ButtonPrintEsc->isVisible());
    window->hide();
}

namespace {

// "Drukuj decyzję" of the main menu, wired as the program wires it: the
// application form's operation on the register's current row, then the
// print window.
class DecisionFromTheMenu : public test::MainWindowTest {
protected:
    void SetUp() override {
        cli::fillNewDatabase(*db);
        test::setParameters(*db, {{QStringLiteral("DrukujMetryczke"), false}, {QStringLiteral("DrukujStopke"), false}});
        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.insert();
        const QList<std::pair<const char *, QVariant>> fields = {
            {"Nazwisko", QStringLiteral("Nowak")}, {"Imie", QStringLiteral("Anna")},  {"Liczba_osob", 3},
            {"Pow_uzytk", 50.0},                   {"PowKuchniPonad60", QStringLiteral("Nie")},
            {"Dochod_razem", 2400.0},              {"Wydatki_czynsz", 400.0},         {"OplatyDodatkowe", 50.0},
            {"Ryczalt_CO", true},                  {"Ryczalt_woda", true},            {"NajnEmeryt", 600.0},
            {"KosztKwh", 0.5},                     {"WskProc", 70},                   {"Okres_od", QDate(2006, 1, 1)},
            {"Ureg_stan_prawny", QStringLiteral("Tak")}, {"Tytul_prawny", QStringLiteral("najem")},
        };
        for (const auto &[name, value] : fields)
            t.field(QString::fromLatin1(name)).setVariant(value);
        t.field(QStringLiteral("ObliczeniaOK")).setBoolean(false);
        t.post();

        makeMainWindow();
        ASSERT_TRUE(main->FormShow());
        form = std::make_unique<reg::TFormWnioski>(ctx, *reg, main.get());
        prtDec = std::make_unique<TFormPrtDec>(ctx, reg->TableWnioski(), main.get());
        main->printDecision = [this] { form->ButtonDrukujClick(); };
        form->printDecision = [this](const QString &file) { prtDec->ShowModal(file); };
        templateFile = db.writeFile(QStringLiteral("krotka.fmz"),
                                    "Decyzja: @<Nazwisko i imię>@, @<Wypłata (całość)>@, płatne @<Termin płatn.>@");
    }
    void printFromTheMenu(const std::function<void(TFormPrtDec &)> &act, bool expectWindow = true) {
        const bool shown = test::answerModalOf<TFormPrtDec>(
            [&] { main->menuItem(QStringLiteral("SMnuDrukujDecyzje"))->trigger(); }, act);
        EXPECT_EQ(shown, expectWindow);
    }

    std::unique_ptr<reg::TFormWnioski> form;
    std::unique_ptr<TFormPrtDec> prtDec;
    QString templateFile;
};

}  // namespace

TEST_F(DecisionFromTheMenu, TheCalculationThenTheQuestionsInOrderThenTheTemplateThenTheWindow) {
    files.chosen = templateFile;
    printFromTheMenu([&](TFormPrtDec &w) {
        // The allowance was computed and stored before the window opened.
        EXPECT_TRUE(view().field(QStringLiteral("ObliczeniaOK")).asBoolean());
        EXPECT_TRUE(w.REdit->toPlainText().startsWith(QStringLiteral("Decyzja: Nowak Anna, ")));
        EXPECT_TRUE(w.REdit->toPlainText().contains(QStringLiteral(" zł, płatne ")));
        test::pressCofnij(&w);
    });
    // The period's end and the payment term are missing: asked in that order.
    QStringList asked = questions.texts(Kind::KontynuujPrzerwij);
    ASSERT_GE(asked.size(), 2);
    EXPECT_EQ(asked.mid(asked.size() - 2), (QStringList{QStringLiteral("Nie zdefiniowano okresu przysługiwania!"),
                                                        QStringLiteral("Nie wprowadzono teminu płatności!")}));
    ASSERT_EQ(files.asked.size(), 1);
    EXPECT_EQ(files.asked[0].directory, db->directory());
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("Wzorzec decyzji (*.fmz)|*.fmz|Dowolny (*.*)|*.*"));
    EXPECT_TRUE(questions.texts(Kind::Inform).isEmpty());
}

TEST_F(DecisionFromTheMenu, PrzerwijAtTheTermOrNoTemplateChosenOpensNothing) {
    files.chosen = templateFile;
    questions.answer({Answer::Yes, Answer::No});  // period: "Kontynuuj"; term: "Przerwij"
    printFromTheMenu([](TFormPrtDec &) {}, false);
    EXPECT_EQ(questions.texts(Kind::KontynuujPrzerwij).last(), QStringLiteral("Nie wprowadzono teminu płatności!"));
    EXPECT_TRUE(files.asked.isEmpty());

    files.chosen.clear();
    printFromTheMenu([](TFormPrtDec &) {}, false);
    EXPECT_EQ(files.asked.size(), 1);
}

TEST_F(DecisionFromTheMenu, AnEmptyRegisterHasNothingToPrint) {
    view().first();
    view().remove();
    ASSERT_TRUE(view().isEmpty());
    files.chosen = templateFile;
    printFromTheMenu([](TFormPrtDec &) {}, false);
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Brak wniosku do wydrukowania.")});
    EXPECT_TRUE(view().isEmpty());
    EXPECT_TRUE(files.asked.isEmpty());
}
