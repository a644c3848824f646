#pragma once

#include "data/Table.h"
#include "totals/Totals.h"
#include "ui/DataSource.h"

#include <QDate>
#include <QDialog>
#include <QPrinter>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
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

namespace varnel::totals {

// "Zestawienie wydatków": the statement of the allowances granted, for the
// table the register shows (month mode) or for a range of archived months
// (range mode, each archive shown by the register in turn, the current
// applications again at the end). The "Składniki" page edits the one row of
// skladlic, kept in editing while the window is open and stored when it
// closes. "Licz" computes; the statement then prints, previews, saves as PDF
// and exports as CSV.
class TFormDotacja : public QDialog {
    Q_OBJECT
public:
    TFormDotacja(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);
    ~TFormDotacja() override;

    // The mode of the next showing.
    void setMonthMode();
    void setRangeMode(const QDate &from, const QDate &to);
    bool rangeMode() const { return m_range; }

    int ShowModal();
    bool FormShow();
    bool FormClose();
    void ButtonLiczClick();
    // Shows the panels by the three check boxes.
    void showPanels();
    // "Eksport CSV": the statement into a file chosen in the database
    // directory (owner-only, written aside and renamed into place).
    bool exportCsv();

    const Statement &statement() const { return m_statement; }
    QString statementCaption() const { return m_caption; }
    bool computed() const { return m_computed; }
    print::PrintActions &printActions() const { return *m_actions; }
    QPrinter &printer() { return m_printer; }
    data::Table &settingsTable() { return m_settings; }

    QPushButton *ButtonLicz = nullptr;
    QPushButton *ButtonOK = nullptr;
    QPushButton *ButtonCsv = nullptr;
    QTabWidget *PageControl = nullptr;
    QWidget *TabSheetWyniki = nullptr;
    QWidget *TabSheetSkladniki = nullptr;
    QLineEdit *EditIlosc = nullptr;
    QLineEdit *EditSuma = nullptr;
    QLineEdit *EditKomunal = nullptr;
    QLineEdit *EditSpoldz = nullptr;
    QLineEdit *EditZaklad = nullptr;
    QLineEdit *EditInne = nullptr;
    QGroupBox *PanelZapotrz = nullptr;
    QLineEdit *EditWlasnGminy = nullptr;
    QLineEdit *EditWlasnNieGminy = nullptr;
    QLabel *LabelProc = nullptr;
    QLabel *LabelDotacja = nullptr;
    QLineEdit *EditDotacja = nullptr;
    ui::DbRadioGroup *RGroupKogo = nullptr;
    ui::DbCheckBox *DBCBoxCtrlOkres = nullptr;
    QWidget *PanelOkres = nullptr;
    ui::DbLineEdit *DBEditOd = nullptr;
    ui::DbLineEdit *DBEditDo = nullptr;
    ui::DbCheckBox *DBCBoxWszyscy = nullptr;
    QWidget *PanelZarzadca = nullptr;
    ui::DbComboBox *DBCBoxZarzadca = nullptr;
    ui::DbCheckBox *DBCBoxLiczDotacje = nullptr;
    ui::DbRadioGroup *RGroupWzor = nullptr;

public slots:
    void done(int result) override;

private:
    QWidget *buildResultsTab();
    QWidget *buildSettingsTab();
    void totalRange(const TotalsOptions &options, RunningTotals &totals, const RecordMessage &message);
    void writeResults();
    void render(print::PageDevice &device);

    core::Context &m_ctx;
    reg::Register &m_reg;
    data::Table m_settings;
    ui::DataSource m_source;
    QPrinter m_printer;
    print::PrintActions *m_actions = nullptr;
    bool m_range = false;
    QDate m_from, m_to;
    bool m_computed = false;
    QString m_caption;
    TotalsOptions m_options;
    Statement m_statement;
};

}  // namespace varnel::totals
