#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::archive {

// The monthly archives: one table per closed month, named "ar" + the month
// in two digits + the year in four ("ar041999" for April 1999), and their
// list ArcLista, one row per archived month:
//
//   Data_Key   date       the first day of the month (primary key)
//   FileName   text(255)  the archive table's name
//   Data_str   text(20)   month name, a blank, the year: "kwiecień 1999"
//   NajnEmer   float      the lowest pension when the month was closed
//   KosztKwh   float      the kWh cost when the month was closed
//
// Everything that reads or writes the list goes through here: the month
// close, the archive window, the register's table switch, the amount
// windows and the expenditure totals. Reading the list never opens an
// archive table, so an office with twenty years of archives lists them at
// once.

inline const QString ArchiveListTable = QStringLiteral("ArcLista");

// "styczeń" … "grudzień" for 1 … 12; "?" for any other number.
const QStringList &monthNames();
QString monthName(int month);

// "kwiecień 1999": the month text of the list and of the register's caption.
QString monthText(int month, int year);
QString monthText(const QDate &month);

// "ar041999" for April 1999.
QString archiveTableName(int month, int year);
QString archiveTableName(const QDate &month);

// The month and year an archive table name stands for: characters 3-4 and
// 5-8 of the name, as they stand and as numbers.
struct ArchiveMonth {
    std::optional<int> month;  // empty when characters 3-4 are not a number
    std::optional<int> year;   // empty when characters 5-8 are not a number
    QString monthText;         // characters 3-4 as they stand
    QString yearText;          // characters 5-8 as they stand
};
ArchiveMonth decodeArchiveName(const QString &tableName);
// The first day of the month of an archive name, or nothing when the name
// does not decode to a month (its key in the list).
std::optional<QDate> monthOfArchiveName(const QString &tableName);

// One row of the list. A blank amount (a close made with no parameter row)
// has no value.
struct ArchiveEntry {
    QDate key;  // the first day of the month
    QString fileName;
    QString dataStr;
    std::optional<double> najnEmer;
    std::optional<double> kosztKwh;

    bool operator==(const ArchiveEntry &) const = default;
};

// Every row of the list in month order.
QVector<ArchiveEntry> archiveEntries(data::Database &db);
// The row of a month (any day of it), or nothing.
std::optional<ArchiveEntry> archiveEntry(data::Database &db, const QDate &month);
// A cursor on the list, open on its primary index (month order); the amount
// windows bind a control to a row of it.
std::unique_ptr<data::Table> openArchiveList(data::Database &db);
// The current row of an open cursor on the list (a window's grid).
ArchiveEntry entryAt(data::Table &list);

// Writes the row of entry.key: the row of that month is changed, or a new
// one is added. Throws core::DbError.
void writeArchiveEntry(data::Database &db, const ArchiveEntry &entry);

}  // namespace varnel::archive
