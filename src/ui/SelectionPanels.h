#pragma once

#include <functional>

class QGroupBox;
class QWidget;

namespace varnel::core {
class Questions;
}
namespace varnel::data {
class Table;
}

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

// The one row of a settings table (skladlist, skladlic) that a window keeps
// in editing while it is open: opened and put into editing, or inserted
// (and given `fillNew`) when the table has none. False, told and closed,
// when it cannot be opened.
bool openSettingsRow(data::Table &settings, core::Questions &questions,
                     const std::function<void(data::Table &)> &fillNew = {});
// Stores the row and closes the table when the window closes. False (told)
// when the row cannot be stored (a date that is no date): the window stays
// open to have it corrected.
bool closeSettingsRow(data::Table &settings, core::Questions &questions);

}  // namespace varnel::ui
