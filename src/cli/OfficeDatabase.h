#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace varnel::data {
class Database;
}

namespace varnel::cli {

// The amounts and patterns a new database starts with in its parameter row.
struct StartingParameters {
    double minEmeryt = 0;     // lowest pension
    double kosztKwh = 0;      // cost of one kWh
    QString wzorNrDec;        // decision-number pattern
    QString wzorPlatneDo;     // payment-term pattern
    int wskaznikProc = 70;    // percentage index
    int algorytmSortowania = 2;
};
StartingParameters startingParameters();

// Creates every delivered table in an empty database and fills it: the
// parameter row, the dictionaries, the user ADMIN (password ADMIN, both
// rights) and the settings rows of list printing and of the totals. One
// transaction: after a failure the database holds none of it.
void fillNewDatabase(varnel::data::Database &db);

// A new database in a directory (made when missing), filled as above, with
// the example list templates and the example decision template decyzja.fmz
// beside it. Refuses a directory that already holds a database. When anything fails after the
// database file was made, the file (and a directory made for it) is removed
// again, so no half database is left behind. `fillFurther`, when given, runs
// after the filling in the same transaction (it may replace starting rows).
std::unique_ptr<varnel::data::Database> createOfficeDatabase(
    const QString &directory, const std::function<void(varnel::data::Database &)> &fillFurther = {});

// Removes the database file of a directory with SQLite's side files and the
// example templates a new database brings, as long as unchanged. The
// directory itself goes too when `removeDirectory` is set and it is empty.
void removeDatabaseFiles(const QString &directory, bool removeDirectory);

}  // namespace varnel::cli
