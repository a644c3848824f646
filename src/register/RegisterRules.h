#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace varnel::reg {

// "styczeń" … "grudzień" for 1 … 12, "?" for any other number.
QString monthName(int month);
const QStringList &monthNames();

// The month and year an archive table name "arMMYYYY" stands for.
struct ArchiveMonth {
    std::optional<int> month;  // empty when characters 3-4 are not a number
    std::optional<int> year;   // empty when characters 5-8 are not a number
    QString monthText;         // characters 3-4 as they stand
    QString yearText;          // characters 5-8 as they stand
};
ArchiveMonth decodeArchiveName(const QString &tableName);

// The caption of the register: "Wnioski bieżące", or "Archiwum: kwiecień 1999"
// for ar041999. badMonth tells that the month part is not a number (the month
// name is then left empty and the user is told "Miesiąc: MM ?").
struct RegisterCaption {
    QString caption;
    bool archive = false;
    bool badMonth = false;
    QString monthText;
};
RegisterCaption registerCaption(const QString &currentTableName);

// The four orders of the register, and the primary index (registry number
// NrEw), which no sort button names: the rebuild of the decision-number keys
// leaves the register on it.
enum class SortOrder { Nazwiska, NrDec, Adres, Kwota, Primary };
// NazwNdx, NrDecNdx, AdresNdx, WyplataNdx; "" (the primary index) for Primary.
QString indexForOrder(SortOrder order);

// What the incremental search sets for a typed text: the field of the key
// and its value; no field for the order by amount. Under sort algorithm 2 a
// decision number is padded with "0" in front to the 10 characters of the
// sort key. On the primary index the text is a registry number (one beyond
// the number range searches for the highest).
struct SearchKey {
    QString field;
    QString value;
};
std::optional<SearchKey> searchKeyFor(SortOrder order, const QString &text, int sortAlgorithm);
// Whether a typed text can be searched for in an order: on the primary index
// only digits make a registry number; any text elsewhere.
bool searchTextFits(SortOrder order, const QString &text);

// The calculated fields of a register row, cut to 20 characters.
QString nazwIm(const QString &nazwisko, const QString &imie);
QString adres(const QString &miejsc, const QString &ulica, const QString &nr);

// Fits the display widths (in characters) of the name and address columns
// to a grid: total = sum of all widths × the pixel width of "1",
// limit = gridWidth − 50; widen both by one until total ≥ limit, or narrow
// each (not below 20) until total ≤ limit or neither can shrink.
QVector<int> fitColumns(QVector<int> widths, int nameColumn, int addressColumn, int charPixels, int gridWidth);

}  // namespace varnel::reg
