#pragma once

#include "data/Table.h"
#include "lists/ListSettings.h"
#include "lists/ListTemplate.h"
#include "lists/doc/ListPrint.h"
#include "ui/DataSource.h"

#include <QDialog>
#include <QPrinter>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;

namespace varnel::core {
struct Context;
}
namespace varnel::print {
class PageDevice;
class PrintActions;
}
namespace varnel::reg {
class Register;
}
namespace varnel::ui {
class DbCheckBox;
class DbComboBox;
class DbLineEdit;
class DbRadioGroup;
}

namespace varnel::lists {

class ColumnGridModel;

// "Drukowanie listy" ("Operacje" › "Drukuj listę"): a payment list of the
// applications of the table in view, laid out by a list template chosen
// with "Wzór". The "Składniki" tab edits the one row of skladlist (which
// applications, which manager, which period, the order, frame, page numbers
// and underlined rows), held in editing while the window is open and
// stored when it closes. "Drukuj" (the print dialog, then the printer),
// "Podgląd" and "Zapisz PDF" print the same list, as one job, from page
// "Od strony:" on; they are disabled until a template with at least one
// column has loaded.
//
// The window keeps the template it loaded, fonts, spacings and columns, for
// the whole run: the template editor emptying its own columns meanwhile
// changes nothing here. It is made once and shown modally each time.
class TFormPrtLista : public QDialog {
    Q_OBJECT
public:
    TFormPrtLista(core::Context &context, reg::Register &reg, QWidget *parent = nullptr);
    ~TFormPrtLista() override;

    int ShowModal();

    // Handlers.
    bool FormShow();
    bool FormClose();
    void ButtonWzorClick();
    // What every print runs first: "Od strony:" must be a whole number, the
    // settings typed must fit their fields and some application must pass
    // the selection. False (told) stops the print.
    bool checkPrint();
    // Shows the panels by the check boxes "Wszyscy" and "Uwzględniaj okres
    // przysługiwania:".
    void showPanels();

    const ListTemplate &loadedTemplate() const { return m_template; }
    bool templateLoaded() const { return m_loaded; }
    // The outcome of the last print.
    const ListPrintResult &lastResult() const { return m_result; }
    print::PrintActions &printActions() const { return *m_actions; }
    QPrinter &printer() { return m_printer; }
    data::Table &settingsTable() { return m_settings; }

    static const QString OpenFilter;  // "Wzorzec listy (*.lsa)|*.lsa|Dowolny (*.*)|*.*"

    QTabWidget *PageControl = nullptr;
    QWidget *TabSheetWzor = nullptr;
    QWidget *TabSheetSkladniki = nullptr;
    QLabel *LabelWzorzec = nullptr;
    QPlainTextEdit *MemoNagl = nullptr;
    QTableView *DBGridLineDef = nullptr;
    QLabel *LabelOdstepNagl = nullptr;
    QLabel *LabelOdstepLinia = nullptr;
    ui::DbRadioGroup *RGroupKogo = nullptr;
    ui::DbRadioGroup *RGroupSort = nullptr;
    ui::DbCheckBox *DBCBoxRamki = nullptr;
    ui::DbCheckBox *DBCBoxNrStrony = nullptr;
    ui::DbCheckBox *DBCBoxPodkrWiersz = nullptr;
    ui::DbCheckBox *DBCBoxWszyscy = nullptr;
    QWidget *PanelZarzadca = nullptr;
    ui::DbComboBox *DBCBoxZarzadca = nullptr;
    ui::DbCheckBox *DBCBoxCtrlOkres = nullptr;
    QWidget *PanelOkres = nullptr;
    ui::DbLineEdit *DBEditOd = nullptr;
    ui::DbLineEdit *DBEditDo = nullptr;
    QPushButton *ButtonWzor = nullptr;
    QPushButton *ButtonDrukuj = nullptr;
    QPushButton *ButtonPodglad = nullptr;
    QPushButton *ButtonPdf = nullptr;
    QPushButton *ButtonPrintEsc = nullptr;
    QLineEdit *EditOdStrony = nullptr;
    QProgressBar *ProgressBarPrt = nullptr;

public slots:
    // Every way of closing: FormClose, which keeps the window open when the
    // settings cannot be stored.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildTemplateTab();
    QWidget *buildSettingsTab();
    void fillManagers();
    void setPrintEnabled(bool enabled);
    void render(print::PageDevice &device);

    core::Context &m_ctx;
    reg::Register &m_reg;
    data::Table m_settings;
    ui::DataSource m_source;
    QPrinter m_printer;
    print::PrintActions *m_actions = nullptr;
    ColumnGridModel *m_columns = nullptr;
    ListTemplate m_template;
    bool m_loaded = false;
    // Taken by checkPrint for the print it lets go.
    ListSettings m_printSettings;
    int m_fromPage = 1;
    ListPrintResult m_result;
};

}  // namespace varnel::lists
