#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::lists {

// The selection and look of a list: the row of skladlist.db. "Kogo" and
// "Sort" hold the text of the chosen radio item.
struct ListSettings {
    QString kogo;
    QString sort;
    bool ramki = false;          // WygladRamki: draw the frame
    bool nrStrony = false;       // WygladNrStrony: print page numbers
    bool podkrWiersz = false;    // PodkrWiersz: underline every row
    bool wszyscy = true;         // every manager
    QString dlaZarzadcy;         // the one manager otherwise
    bool ctrlOkres = false;      // filter by the start of the period
    QDate dataPrzyslOd, dataPrzyslDo;  // its bounds, inclusive (blank: the zero date)
};

// The items of "Lista:" and "Uporządkowanie:", in their order.
QStringList kogoItems();  // "Wszystkich", "Tylko z dodatkiem", "Z wypłatą dla zarządcy ", "Z wyplatą ryczałtu"
QStringList sortItems();  // "Alfabetycznie", "W/g n-ru decyzji"
// The position of the chosen item, -1 when none is chosen. A blank after the
// text is not counted (one item has one, and a stored text may lose it).
int itemIndex(const QStringList &items, const QString &chosen);

// The first row of skladlist.db; a table without a row gives blank settings
// (nothing is chosen, so nothing is listed).
ListSettings readListSettings(data::Database &db);
// The settings of the current row of a cursor over skladlist, the row being
// edited included (the printing window holds it in editing).
ListSettings listSettingsOf(data::Table &settingsRow);

// The footer of a list: the fields of the parameter row.
struct ListFooter {
    bool print = false;  // DrukujStopke
    QString text;        // Stopka, any number of lines
    QString fontName;    // StopkaFontName
    int fontSize = 10;   // StopkaFontHeight, in points (10 when not given)
    QStringList lines() const;
};
ListFooter readListFooter(data::Database &db);

// Whether the current application of the table passes the selection:
// "Wszystkich" every one, "Tylko z dodatkiem" Wyplata_calosc > 0, "Z wypłatą
// dla zarządcy " Wyplata_zarzadca > 0, "Z wyplatą ryczałtu" Wyplata_ryczalt
// > 0, no item none; a chosen manager must equal Zarzadca exactly (letter
// case counts); with the period filter Okres_od must lie between the bounds,
// a blank date counting as the zero date.
bool isSelected(const ListSettings &s, data::Table &applications);

// The index a list is ordered by: "NazwNdx", "NrDecNdx", or empty for the
// table's order as it stands.
QString orderIndex(const ListSettings &s);

}  // namespace varnel::lists
