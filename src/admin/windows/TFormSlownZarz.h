#pragma once

#include "admin/windows/TFormSlownikBase.h"

namespace varnel::ui {
class DbCheckBox;
}

namespace varnel::admin {

// Entry dialog of the manager dictionary: the name and whether the
// manager's dwellings belong to the municipality.
class TFormNewZarz : public TFormNewEntry {
    Q_OBJECT
public:
    TFormNewZarz(DictionaryRules &rules, data::Table &table, core::Context &ctx, QWidget *parent);

    ui::DbCheckBox *DBCBoxWlasnGminy;
};

// The manager dictionary zarzadcy.DB, with the columns Opis and Wlasn_gminy.
class TFormSlownZarz : public TFormSlownikBase {
    Q_OBJECT
public:
    TFormSlownZarz(core::Context &ctx, Closed onClosed, QWidget *parent = nullptr);

    // Menu "Parametry" › "Słowniki" › "Lista zarządców" (SMnuZarzadcyClick):
    // the window captioned "Słownik: Lista zarządców domów", shown without
    // waiting.
    void showList();

    TFormNewZarz *entryDialog() const { return m_dialog; }

private:
    TFormNewZarz *m_dialog;
};

}  // namespace varnel::admin
