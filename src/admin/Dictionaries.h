#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data
namespace varnel::core {
class Questions;
}

namespace varnel::admin {

// The dictionaries: the building managers and four value lists whose texts
// (Opis) the clerk picks on the application form, the list printing and the
// totals. A row used on an application (BylModi) can be neither changed nor
// deleted through the dictionary windows.

inline const QString ManagerDictionary = QStringLiteral("zarzadcy.DB");
inline const QString ManagerCaption = QStringLiteral("Słownik: Lista zarządców domów");
inline const QString ManagerMenuItem = QStringLiteral("Lista zarządców");

// A value list: its table, the caption of its window, and its menu item
// under "Parametry" › "Słowniki" (the caption and the item's object name).
struct ValueDictionary {
    QString table;
    QString caption;
    QString menuItem;
    QString menuName;
};

// The four value lists in menu order: tytprawn, ogrzlok, ogrzwody, statlok.
const QVector<ValueDictionary> &valueDictionaries();

// The Opis texts of every row of a dictionary in table (primary key) order:
// the items of the choice lists.
QStringList dictionaryTexts(data::Database &db, const QString &table);

// Marks the manager whose Opis is exactly this text as used (BylModi True).
// A text that is not in the dictionary marks nothing; returns whether a row
// was marked.
bool markManagerUsed(data::Database &db, const QString &managerText);

// The rules of a dictionary list window on its own open table: what "Dodaj",
// "Popraw" and "Usuń" do, and what the entry dialog's "OK" and "Cofnij" do.
class DictionaryRules {
public:
    enum class Kind { Managers, Values };

    DictionaryRules(data::Table &table, Kind kind) : m_table(table), m_kind(kind) {}

    // True when the current row has been used on an application.
    bool isUsed() const;

    // "Dodaj": a new empty row; the entry dialog follows.
    void add();
    // "Popraw": a used row is refused with the window's message and nothing
    // else happens (false); otherwise the row goes into editing and the entry
    // dialog follows (true).
    bool change(core::Questions &questions);
    // "Usuń": a used row is refused with the window's message; otherwise the
    // clerk is asked "Usunąć pozycję?" and Tak deletes the row. An empty list
    // has nothing to delete and asks nothing. True when a row was deleted.
    bool remove(core::Questions &questions);

    // Entry dialog "OK": a new row starts unused (and a new manager, unless
    // ticked, not municipal); a row being edited or inserted is posted. The text is not checked: an empty or repeated Opis
    // is stored as typed.
    void accept();
    // Entry dialog "Cofnij": the pending change is dropped.
    void discard();

    QString changeRefusal() const;
    QString deleteRefusal() const;

private:
    data::Table &m_table;
    Kind m_kind;
};

}  // namespace varnel::admin
