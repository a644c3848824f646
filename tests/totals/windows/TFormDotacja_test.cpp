// The range window and the statement of expenditure.
#include "totals/windows/TFormDotacja.h"
#include "totals/windows/TFormOkres.h"

#include "data/Layouts.h"
#include "data/Table.h"
#include "print/windows/PrintActions.h"
#include "support/AdminRun.h"
#include "support/FileModes.h"
#include "support/OldLayouts.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"
#include "ui/DbControls.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;
using Kind = test::ScriptedQuestions::Kind;

namespace {

class Statement : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::addManager(*db, QStringLiteral("ZGM"), true);
        test::addManager(*db, QStringLiteral("SM Jutrzenka"), false);
        test::fillDictionary(*db, QStringLiteral("statlok"), QStringList{"komunalne", "spółdzielcze"});
        app(QStringLiteral("Aktualne"), QStringLiteral("Nowak"), 250, QStringLiteral("komunalne"), QStringLiteral("ZGM"));
        app(QStringLiteral("Aktualne"), QStringLiteral("Adamski"), 750, QStringLiteral("spółdzielcze"), QStringLiteral("SM Jutrzenka"));
        makeMainWindow();
    }
    void app(const QString &table, const QString &surname, double amount, const QString &status, const QString &manager) {
        test::addApplication(*db, table, surname,
                             {{QStringLiteral("Wyplata_calosc"), amount},
                              {QStringLiteral("Status_lokalu"), status},
                              {QStringLiteral("Zarzadca"), manager}});
    }
    void archive(int month, const QString &manager, double amount) {
        const QString name = QStringLiteral("ar%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(1999);
        db->createTable(data::applicationTableDef(name));
        app(name, QStringLiteral("Kowalski"), amount, QStringLiteral("komunalne"), manager);
        Table t(*db, QStringLiteral("ArcLista"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Data_Key")).setDate(QDate(1999, month, 1));
        t.field(QStringLiteral("FileName")).setString(name);
        t.field(QStringLiteral("Data_str")).setString(reg::monthName(month) + QStringLiteral(" 1999"));
        t.post();
    }
    void check(ui::DbCheckBox *box, bool on) {
        if (box->isChecked() != on)
            box->click();
    }
};

}  // namespace

TEST_F(Statement, MonthModeTotalsTheRegisterTableWithTheDemand) {
    ASSERT_TRUE(main->FormShow());
    totals::TFormDotacja form(ctx, *reg, main.get());
    form.setMonthMode();
    ASSERT_TRUE(form.FormShow());
    EXPECT_TRUE(form.LabelProc->text().isEmpty());
    EXPECT_TRUE(form.PanelZapotrz->isHidden());
    EXPECT_TRUE(form.PanelZarzadca->isHidden());
    check(form.DBCBoxLiczDotacje, true);
    EXPECT_FALSE(form.PanelZapotrz->isHidden());
    EXPECT_FALSE(form.RGroupWzor->isHidden());
    EXPECT_EQ(form.RGroupWzor->itemIndex(), 0);

    form.ButtonLiczClick();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zestawienie wydatków: wnioski bieżące"));
    EXPECT_EQ(form.PageControl->currentWidget(), form.TabSheetWyniki);
    EXPECT_EQ(form.EditIlosc->text(), QStringLiteral("2"));
    EXPECT_EQ(form.EditSuma->text(), QStringLiteral(" 1000.00"));
    EXPECT_EQ(form.EditKomunal->text(), QStringLiteral("  250.00"));
    EXPECT_EQ(form.EditSpoldz->text(), QStringLiteral("  750.00"));
    EXPECT_EQ(form.EditInne->text(), QStringLiteral("    0.00"));
    EXPECT_EQ(form.EditWlasnGminy->text(), QStringLiteral("  250.00"));
    EXPECT_EQ(form.EditWlasnNieGminy->text(), QStringLiteral("  750.00"));
    EXPECT_EQ(form.LabelProc->text(), QStringLiteral("tj 25.00 %"));
    EXPECT_EQ(form.LabelDotacja->text(), QStringLiteral("(0,2 dk + 0,5 dp)"));
    EXPECT_EQ(form.EditDotacja->text(), QStringLiteral("  425.00"));
    EXPECT_TRUE(questions.asked().empty());

    // The options are kept in skladlic when the window closes.
    form.done(QDialog::Accepted);
    EXPECT_TRUE(totals::readTotalsOptions(*db).liczDotacje);
}

TEST_F(Statement, MissingAndUnknownManagersAreToldThenWarnedInOrder) {
    app(QStringLiteral("Aktualne"), QStringLiteral("Bez"), 10, QStringLiteral("komunalne"), QString());
    app(QStringLiteral("Aktualne"), QStringLiteral("Obcy"), 10, QStringLiteral("komunalne"), QStringLiteral("XYZ"));
    ASSERT_TRUE(main->FormShow());
    questions.clear();
    totals::TFormDotacja form(ctx, *reg, main.get());
    ASSERT_TRUE(form.FormShow());
    check(form.DBCBoxLiczDotacje, true);
    form.ButtonLiczClick();
    EXPECT_EQ(questions.texts(Kind::Inform),
              (QStringList{QStringLiteral("Brak zarządcy we wniosku: Bez Jan"),
                           QStringLiteral("Nie istniejący zarządca  XYZ  we wniosku: Obcy Jan"), totals::WarningNoManager,
                           totals::WarningUnknownManager, totals::WarningDemand}));

    // Without "Pełna inform. o błędach" only the warnings are shown.
    reg->setPelnaInformacja(false);
    questions.clear();
    form.ButtonLiczClick();
    EXPECT_EQ(questions.texts(Kind::Inform),
              (QStringList{totals::WarningNoManager, totals::WarningUnknownManager, totals::WarningDemand}));
    form.done(QDialog::Rejected);
}

TEST_F(Statement, RangeWindowRefusesAnEndBeforeTheStart) {
    archive(1, QStringLiteral("ZGM"), 10);
    archive(2, QStringLiteral("ZGM"), 20);
    archive(3, QStringLiteral("ZGM"), 30);
    totals::TFormOkres okres(ctx);
    ASSERT_TRUE(okres.FormShow());
    EXPECT_EQ(okres.windowTitle(), QStringLiteral("Okres"));
    EXPECT_EQ(okres.CBoxOd->count(), 3);
    EXPECT_EQ(okres.CBoxOd->currentText(), QStringLiteral("marzec 1999"));
    EXPECT_EQ(okres.CBoxDo->currentText(), QStringLiteral("marzec 1999"));
    okres.CBoxOd->setCurrentIndex(1);
    okres.CBoxDo->setCurrentIndex(0);
    okres.ButtonOKClick();
    EXPECT_EQ(questions.texts(), QStringList{QStringLiteral("Nielogiczne następstwo dat!")});
    EXPECT_FALSE(okres.chosen());
    okres.CBoxDo->setCurrentIndex(2);
    okres.ButtonOKClick();
    ASSERT_TRUE(okres.chosen());
    EXPECT_EQ(okres.chosen()->first, QDate(1999, 2, 1));
    EXPECT_EQ(okres.chosen()->second, QDate(1999, 3, 1));
}

TEST_F(Statement, RangeModeTotalsTheArchivesAndLeavesTheRegisterOnTheCurrentApplications) {
    archive(1, QStringLiteral("ZGM"), 10);
    archive(2, QStringLiteral("ZGM"), 20);
    archive(4, QStringLiteral("SM Jutrzenka"), 40);
    archive(5, QStringLiteral("ZGM"), 50);
    ASSERT_TRUE(main->FormShow());
    reg->ChangeTable(QStringLiteral("ar011999"));  // whatever is shown before
    QStringList shown;
    QObject::connect(reg.get(), &reg::Register::tableNameChanged, [&](const QString &n) { shown << n; });
    questions.clear();

    totals::TFormDotacja form(ctx, *reg, main.get());
    form.setRangeMode(QDate(1999, 2, 1), QDate(1999, 4, 1));
    ASSERT_TRUE(form.FormShow());
    check(form.DBCBoxLiczDotacje, true);
    form.ButtonLiczClick();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Zest. wydatków:   luty 1999 - kwiecień  1999"));
    EXPECT_EQ(shown, (QStringList{"ar021999", "ar041999", "Aktualne"}));
    EXPECT_EQ(reg->currentTableName(), QStringLiteral("Aktualne"));
    EXPECT_TRUE(view().isOpen());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Wnioski bieżące"));
    EXPECT_EQ(form.EditIlosc->text(), QStringLiteral("2"));
    EXPECT_EQ(form.EditSuma->text(), QStringLiteral("   60.00"));
    EXPECT_EQ(form.EditWlasnGminy->text(), QStringLiteral("   20.00"));
    EXPECT_EQ(form.EditWlasnNieGminy->text(), QStringLiteral("   40.00"));
    EXPECT_EQ(form.LabelDotacja->text(), QStringLiteral("(0,2 dk + 0,5 dp)"));  // a third
    EXPECT_EQ(form.EditDotacja->text(), QStringLiteral("   24.00"));
    EXPECT_TRUE(questions.asked().empty());

    // A start no longer in the list totals nothing.
    form.setRangeMode(QDate(1999, 3, 1), QDate(1999, 5, 1));
    form.ButtonLiczClick();
    EXPECT_EQ(form.EditIlosc->text(), QStringLiteral("0"));
    EXPECT_EQ(form.EditSuma->text(), QStringLiteral("    0.00"));
    form.done(QDialog::Accepted);
}

TEST_F(Statement, TheStatementSavesAsPdfAndExportsAsCsvOwnerOnly) {
    ASSERT_TRUE(main->FormShow());
    totals::TFormDotacja form(ctx, *reg, main.get());
    ASSERT_TRUE(form.FormShow());
    check(form.DBCBoxLiczDotacje, true);
    EXPECT_FALSE(form.printActions().savePdf()) << "nothing to print before Licz";
    EXPECT_EQ(questions.count(Kind::Inform), 1);
    form.ButtonLiczClick();

    QTemporaryDir dir;
    files.chosen = dir.filePath(QStringLiteral("zestawienie.pdf"));
    ASSERT_TRUE(form.printActions().savePdf());
    EXPECT_EQ(test::modeOf(files.chosen), 0600);
    const QString text = test::pdfText(files.chosen);
    EXPECT_TRUE(text.contains(QStringLiteral("Zestawienie wydatków: wnioski bieżące"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("425.00"))) << text.toStdString();

    files.chosen = dir.filePath(QStringLiteral("zestawienie.csv"));
    ASSERT_TRUE(form.exportCsv());
    EXPECT_EQ(test::modeOf(files.chosen), 0600);
    QFile csv(files.chosen);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(csv.readAll()).contains(QStringLiteral("Kwota przyzn. dodatków :,1000.00")));

    // Never onto the database's own file.
    questions.clear();
    files.chosen = data::Database::filePathIn(db->directory());
    EXPECT_FALSE(form.exportCsv());
    EXPECT_EQ(questions.count(Kind::Error), 1);
    form.done(QDialog::Accepted);
}
