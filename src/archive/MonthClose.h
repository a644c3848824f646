#pragma once

#include "archive/ArchiveList.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Database;
}

namespace varnel::archive {

// The month close: the current applications copied whole into the archive
// table of a month, and the month entered in the archive list with the
// lowest pension and the kWh cost in force.

inline const QString InvalidDateText = QStringLiteral("Nieprawidłowa data!");
inline const QString CloseQuestion = QStringLiteral("Skopiować bieżące dane do archiwum?");

// What the archive window offers when the run starts: the month before
// today's (January gives December of the year before), and the years from
// 1997 to one year after the proposed month's year.
struct MonthProposal {
    int month = 1;  // 1 … 12
    int year = 0;
    QStringList years;
};
MonthProposal proposeMonth(const QDate &today);

// The month chosen in the window: the position in the month list (0 for
// styczeń) and the year's text. Nothing when the year is not a whole number
// of four digits or the month is outside the list ("Nieprawidłowa data!").
std::optional<QDate> chosenMonth(int monthIndex, const QString &yearText);

// The positions the two lists take for a row of the archive list clicked in
// the grid: its Data_str is "<month name> <year>"; -1 where the text finds
// no item (that list keeps its selection).
struct ListChoice {
    int monthIndex = -1;
    int yearIndex = -1;
};
ListChoice choiceForMonthText(const QString &dataStr, const QStringList &years);

// "Pozycja: kwiecień 1999 jest w archiwum!.Zapisać ponownie?"
QString alreadyArchivedQuestion(const QString &dataStr);

struct MonthCloseResult {
    ArchiveEntry entry;     // the row written into the list
    int rows = 0;           // applications copied
    bool replaced = false;  // the month had been archived before
};

// Closes a month (any day of it): in one transaction the list row of the
// month is written (FileName, Data_str, Data_Key, and NajnEmer and KosztKwh
// from the first row of param, blank when it has none) and Aktualne is
// copied whole, with its fields and every one of its indexes, into the
// archive table, replacing an earlier archive of the month. Either both are
// written or, after any failure (of the engine, of the progress) or a crash,
// neither: the list row and the table of an earlier close stay as they were.
// The progress steps once per application copied. Throws core::DbError.
MonthCloseResult closeMonth(data::Database &db, const QDate &month, core::Progress *progress = nullptr);

}  // namespace varnel::archive
