#pragma once

#include "admin/windows/TFormSlownikBase.h"

namespace varnel::admin {

// Entry dialog of a value list: the text alone.
class TFormNewDict : public TFormNewEntry {
    Q_OBJECT
public:
    TFormNewDict(DictionaryRules &rules, data::Table &table, core::Context &ctx, QWidget *parent);
};

// The value-list dictionaries (legal titles, heating of the dwelling and of
// water, dwelling statuses), one at a time, with the column Opis.
class TFormSlowniki : public TFormSlownikBase {
    Q_OBJECT
public:
    TFormSlowniki(core::Context &ctx, Closed onClosed, QWidget *parent = nullptr);

    // The menu handlers of "Parametry" › "Słowniki" (SMnuTytulydolkaluClick,
    // Sposobyogrzewanialokalu1Click, SMnuOgrzWodyClick, SMnuStatLokaliClick):
    // the window on that table with that caption, shown without waiting; see
    // valueDictionaries() for the four tables and captions. Open on another
    // list, the window is closed (refilling the choice lists) and opened
    // again on this one.
    void showFor(const QString &tableName, const QString &caption);
    void showFor(const ValueDictionary &list) { showFor(list.table, list.caption); }

    TFormNewDict *entryDialog() const { return m_dialog; }

private:
    TFormNewDict *m_dialog;
};

}  // namespace varnel::admin
