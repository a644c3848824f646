#pragma once

class QGroupBox;
class QWidget;

namespace varnel::ui {

class DataSource;
class DbCheckBox;
class DbComboBox;
class DbLineEdit;

// The controls that choose applications by manager and by the start of
// their period, as the payment lists and the statement of expenditure offer
// them, bound to the fields Wszyscy, DlaZarzadcy, CtrlOkres, DataPrzyslOd and
// DataPrzyslDo of a settings row. The window shows each panel by its check
// box.

// "Zarządca:": "Wszyscy", and the panel "Tylko dla:" with the manager list.
struct ManagerSelection {
    QGroupBox *box = nullptr;
    DbCheckBox *wszyscy = nullptr;  // DBCBoxWszyscy
    QWidget *panel = nullptr;       // PanelZarzadca
    DbComboBox *zarzadca = nullptr; // DBCBoxZarzadca
};
ManagerSelection makeManagerSelection(DataSource *source, QWidget *parent);

// "Uwzględniaj okres przysługiwania:", and the panel with its two dates.
struct PeriodSelection {
    QWidget *box = nullptr;
    DbCheckBox *ctrlOkres = nullptr;  // DBCBoxCtrlOkres
    QWidget *panel = nullptr;         // PanelOkres
    DbLineEdit *od = nullptr;         // DBEditOd
    DbLineEdit *doo = nullptr;        // DBEditDo
};
PeriodSelection makePeriodSelection(DataSource *source, QWidget *parent);

}  // namespace varnel::ui
