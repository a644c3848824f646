#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "data/Table.h"
#include "lists/ExampleTemplates.h"
#include "lists/ListSettings.h"
#include "lists/windows/ColumnGrid.h"
#include "lists/windows/TFormPrtLista.h"
#include "print/windows/PrintActions.h"
#include "support/AdminRun.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"
#include "ui/DbControls.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::lists;
using Kind = test::ScriptedQuestions::Kind;

namespace {

// A new office database with 30 demo applications; the first ten in
// surname order are paid, to the manager.
class ListPrinting : public test::MainWindowTest {
protected:
    void SetUp() override {
        cli::fillNewDatabase(*db);
        cli::addDemoApplications(*db, 30, 11);
        firstName = test::payFirstApplications(*db, 10);
        ASSERT_EQ(writeListTemplateFile(templateFile(), managerPaymentList()), QString());
        makeMainWindow();
        ASSERT_TRUE(main->FormShow());
        form = std::make_unique<TFormPrtLista>(ctx, *reg, main.get());
        ASSERT_TRUE(form->FormShow());
    }

    QString file(const char *name) const { return QDir(db.path()).filePath(QString::fromLatin1(name)); }
    QString templateFile() const { return file("lista.lsa"); }
    void load(const QString &path) {
        files.chosen = path;
        form->ButtonWzor->click();
        files.chosen.clear();
        files.asked.clear();
    }
    void writeFile(const QString &path, const QByteArray &bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    bool printButtonsEnabled() const {
        return form->ButtonDrukuj->isEnabled() && form->ButtonPodglad->isEnabled() && form->ButtonPdf->isEnabled();
    }
    bool printButtonsDisabled() const {
        return !form->ButtonDrukuj->isEnabled() && !form->ButtonPodglad->isEnabled() && !form->ButtonPdf->isEnabled();
    }

    std::unique_ptr<TFormPrtLista> form;
    QString firstName;
};

}  // namespace

TEST_F(ListPrinting, TheSettingsRowIsEditedThroughTheControlsAndStoredOnClosing) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Drukowanie listy"));
    EXPECT_EQ(form->PageControl->currentWidget(), form->TabSheetWzor);
    EXPECT_TRUE(form->ProgressBarPrt->isHidden());
    EXPECT_TRUE(form->settingsTable().isEditing());
    EXPECT_EQ(form->RGroupKogo->itemIndex(), 0);
    EXPECT_EQ(form->RGroupSort->itemIndex(), 0);
    EXPECT_TRUE(form->DBCBoxRamki->isChecked());
    EXPECT_TRUE(form->DBCBoxNrStrony->isChecked());
    EXPECT_FALSE(form->DBCBoxPodkrWiersz->isChecked());
    // The panels follow the check boxes.
    EXPECT_TRUE(form->PanelZarzadca->isHidden());
    EXPECT_TRUE(form->PanelOkres->isHidden());
    form->DBCBoxWszyscy->click();
    EXPECT_FALSE(form->PanelZarzadca->isHidden());
    form->DBCBoxCtrlOkres->click();
    EXPECT_FALSE(form->PanelOkres->isHidden());
    form->DBCBoxCtrlOkres->click();
    EXPECT_TRUE(form->PanelOkres->isHidden());
    form->DBCBoxCtrlOkres->click();

    form->RGroupKogo->button(2)->click();
    form->RGroupSort->button(1)->click();
    form->DBCBoxPodkrWiersz->click();
    ASSERT_GT(form->DBCBoxZarzadca->count(), 1);
    const QString manager = form->DBCBoxZarzadca->itemText(1);
    form->DBCBoxZarzadca->setCurrentIndex(1);
    emit form->DBCBoxZarzadca->activated(1);
    form->DBEditOd->setFocus();
    QTest::keyClicks(form->DBEditOd, QStringLiteral("01.02.2024"));
    QTest::keyClicks(form->DBEditDo, QStringLiteral("31.12.2024"));

    // Nothing is stored before the window closes.
    EXPECT_EQ(readListSettings(*db).kogo, QStringLiteral("Wszystkich"));
    form->reject();
    EXPECT_FALSE(form->settingsTable().isOpen());
    const ListSettings s = readListSettings(*db);
    EXPECT_EQ(s.kogo, QStringLiteral("Z wypłatą dla zarządcy "));
    EXPECT_EQ(s.sort, QStringLiteral("W/g n-ru decyzji"));
    EXPECT_TRUE(s.podkrWiersz);
    EXPECT_FALSE(s.wszyscy);
    EXPECT_EQ(s.dlaZarzadcy, manager);
    EXPECT_TRUE(s.ctrlOkres);
    EXPECT_EQ(s.dataPrzyslOd, QDate(2024, 2, 1));
    EXPECT_EQ(s.dataPrzyslDo, QDate(2024, 12, 31));

    // The next opening shows them again.
    ASSERT_TRUE(form->FormShow());
    EXPECT_EQ(form->RGroupKogo->itemIndex(), 2);
    EXPECT_EQ(form->RGroupSort->itemIndex(), 1);
    EXPECT_FALSE(form->PanelZarzadca->isHidden());
    EXPECT_FALSE(form->PanelOkres->isHidden());
    EXPECT_EQ(form->DBCBoxZarzadca->currentText(), manager);
    EXPECT_EQ(form->DBEditOd->text(), QStringLiteral("01.02.2024"));
}

TEST_F(ListPrinting, AnEmptySettingsTableGetsItsRowAndNothingChosenListsNothing) {
    form->reject();
    {
        data::Table t(*db, QStringLiteral("skladlist"));
        t.open();
        t.first();
        t.remove();
    }
    ASSERT_TRUE(form->FormShow());
    EXPECT_EQ(form->RGroupKogo->itemIndex(), -1);
    load(templateFile());
    files.chosen = file("nic.pdf");
    form->ButtonPdf->click();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Brak wniosków spełniających warunki listy.")});
    EXPECT_FALSE(QFile::exists(files.chosen));
    form->reject();
    data::Table t(*db, QStringLiteral("skladlist"));
    t.open();
    EXPECT_EQ(t.recordCount(), 1);
}

TEST_F(ListPrinting, TheManagersFollowTheDictionaries) {
    EXPECT_EQ(form->DBCBoxZarzadca->count(), reg->choiceLists().managers.size());
    reg->choiceLists().set({QStringLiteral("ZGM Nowe Miasto"), QStringLiteral("SM Zgoda")}, {}, {});
    ASSERT_EQ(form->DBCBoxZarzadca->count(), 2);
    EXPECT_EQ(form->DBCBoxZarzadca->itemText(1), QStringLiteral("SM Zgoda"));
}

TEST_F(ListPrinting, PrintingIsEnabledByATemplateWithColumns) {
    EXPECT_TRUE(printButtonsDisabled());
    EXPECT_EQ(form->LabelWzorzec->text(), QStringLiteral("Wzorzec: "));
    form->PageControl->setCurrentWidget(form->TabSheetSkladniki);

    files.chosen = templateFile();
    form->ButtonWzor->click();
    ASSERT_EQ(files.asked.size(), 1);
    EXPECT_EQ(files.asked[0].directory, db.path());
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("Wzorzec listy (*.lsa)|*.lsa|Dowolny (*.*)|*.*"));
    EXPECT_EQ(files.asked[0].suffix, QStringLiteral("lsa"));
    EXPECT_EQ(form->PageControl->currentWidget(), form->TabSheetWzor);
    EXPECT_TRUE(printButtonsEnabled());
    EXPECT_EQ(form->LabelWzorzec->text(), QStringLiteral("Wzorzec: lista.lsa"));
    const ListTemplate t = managerPaymentList();
    EXPECT_EQ(form->MemoNagl->toPlainText(), t.headerLines.join(QLatin1Char('\n')));
    EXPECT_EQ(form->LabelOdstepNagl->text(), QStringLiteral("Odstępy: 1/4 linii"));
    EXPECT_EQ(form->LabelOdstepLinia->text(), QStringLiteral("Odstępy: 1/2 linii"));
    EXPECT_EQ(form->DBGridLineDef->model()->rowCount(), t.columns.size());
    EXPECT_EQ(form->loadedTemplate(), t);
    EXPECT_FALSE(form->DBGridLineDef->model()->flags(form->DBGridLineDef->model()->index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(questions.asked().empty());

    // Not a list template: told, and printing is off again.
    files.asked.clear();
    const QString bad = file("zly.lsa");
    writeFile(bad, "to nie jest wzorzec\r\n");
    load(bad);
    EXPECT_EQ(questions.texts(Kind::Inform),
              QStringList{QStringLiteral("Zbiór: ") + bad + QStringLiteral(" nie zawiera opisu listy!!")});
    EXPECT_TRUE(printButtonsDisabled());

    // A template without a column loads but leaves printing off.
    const QString empty = file("pusty.lsa");
    writeFile(empty, "biu10Arial\r\n1\r\n0\r\nbiu10Arial\r\n1\r\n");
    load(empty);
    EXPECT_EQ(form->LabelWzorzec->text(), QStringLiteral("Wzorzec: pusty.lsa"));
    EXPECT_TRUE(printButtonsDisabled());

    // Giving up in the dialog changes nothing.
    load(templateFile());
    ASSERT_TRUE(printButtonsEnabled());
    form->ButtonWzor->click();
    EXPECT_TRUE(printButtonsEnabled());
}

TEST_F(ListPrinting, FromPageTakesDigitsAndMustBeAWholeNumber) {
    QLineEdit *from = form->EditOdStrony;
    EXPECT_EQ(from->text(), QStringLiteral("1"));
    from->clear();
    test::typeText(from, QStringLiteral("x2-b 5.ą"));
    // Characters from the blank to code 128 other than digits are refused;
    // others come through and the number is then refused.
    EXPECT_EQ(from->text(), QStringLiteral("25ą"));
    QTest::keyClick(from, Qt::Key_Backspace);
    EXPECT_EQ(from->text(), QStringLiteral("25"));
    from->setCursorPosition(0);
    QTest::keyClick(from, Qt::Key_Delete);
    EXPECT_EQ(from->text(), QStringLiteral("5"));

    load(templateFile());
    files.chosen = file("lista.pdf");
    for (const QString &text : {QStringLiteral(""), QStringLiteral("2ą"), QStringLiteral("1.5")}) {
        questions.clear();
        from->setText(text);
        form->ButtonPdf->click();
        EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Nieprawidłowa zawartość pola: Od strony")})
            << text.toStdString();
    }
    EXPECT_TRUE(files.asked.isEmpty());
    EXPECT_FALSE(QFile::exists(files.chosen));

    // 0 prints from the first page; a page past the end prints nothing.
    questions.clear();
    from->setText(QStringLiteral("0"));
    form->ButtonPdf->click();
    EXPECT_TRUE(QFile::exists(files.chosen));
    EXPECT_EQ(form->lastResult().firstPrintedPage, 1);
    QFile::remove(files.chosen);
    from->setText(QStringLiteral("9"));
    form->ButtonPdf->click();
    ASSERT_EQ(questions.texts(Kind::Inform).size(), 1);
    EXPECT_TRUE(questions.texts(Kind::Inform)[0].startsWith(QStringLiteral("Lista kończy się na stronie 1")));
    EXPECT_FALSE(QFile::exists(files.chosen));
}

TEST_F(ListPrinting, TheListIsPrintedIntoAPdfInTheOrderChosenWhichStaysSet) {
    load(templateFile());
    form->RGroupKogo->button(2)->click();  // "Z wypłatą dla zarządcy "
    form->RGroupSort->button(1)->click();  // "W/g n-ru decyzji"
    files.chosen = file("lista.pdf");
    form->ButtonPdf->click();
    ASSERT_TRUE(QFile::exists(files.chosen)) << questions.texts().join(QLatin1Char('\n')).toStdString();
    const ListPrintResult &r = form->lastResult();
    EXPECT_EQ(r.outcome, ListPrintResult::Printed);
    EXPECT_EQ(r.rows, 10);
    EXPECT_DOUBLE_EQ(r.sums[4], 1045.0);  // "Wypłata (całość)": 100 + ... + 109
    const QString text = test::pdfText(files.chosen);
    EXPECT_TRUE(text.contains(QStringLiteral("LISTA WYPŁAT DODATKÓW MIESZKANIOWYCH DLA ZARZĄDCY BUDYNKÓW")));
    EXPECT_TRUE(text.contains(firstName));
    EXPECT_TRUE(text.contains(QStringLiteral("1045.00")));
    EXPECT_TRUE(form->ProgressBarPrt->isHidden());
    EXPECT_EQ(form->ProgressBarPrt->maximum(), 10000);
    EXPECT_EQ(reg->sortOrder(), reg::SortOrder::NrDec);
    EXPECT_EQ(view().indexName(), QStringLiteral("NrDecNdx"));
    // The settings row is still being edited; the window stays open.
    EXPECT_TRUE(form->settingsTable().isEditing());
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(ListPrinting, APreviewShowsTheSamePages) {
    load(templateFile());
    int pages = -1;
    form->printActions().showPreview = [&](QPrintPreviewDialog &dialog) {
        auto *widget = dialog.findChild<QPrintPreviewWidget *>();
        ASSERT_TRUE(widget);
        widget->updatePreview();
        pages = widget->pageCount();
    };
    form->ButtonPodglad->click();
    EXPECT_EQ(pages, form->lastResult().pages);
    EXPECT_GE(pages, 1);
    EXPECT_EQ(form->lastResult().rows, 30);
}
