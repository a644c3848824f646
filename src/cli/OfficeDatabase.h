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

// Fills a new database directory: the tables with their starting rows
// (fillNewDatabase) and then `fillFurther` (when given; it may replace
// starting rows) in one transaction, then the example list templates and the
// example decision template decyzja.fmz beside the database, and whatever
// else a new directory starts with. The database it gets is still under its
// temporary name (see below).
void fillNewDirectory(varnel::data::Database &db,
                      const std::function<void(varnel::data::Database &)> &fillFurther = {});

// A new database in a directory (made when missing), filled by
// fillNewDirectory. Refuses a directory that already holds a database. The
// database is built under a temporary name and renamed into place only
// when complete: after a failure, or a kill midway, the directory holds no
// database file (and the example templates written and a directory made for
// it are removed again), so a new init can start over.
std::unique_ptr<varnel::data::Database> createOfficeDatabase(
    const QString &directory, const std::function<void(varnel::data::Database &)> &fillFurther = {});

// Removes the files of a database just made that must go again (every file
// the program owns in the directory) and the example templates it brought,
// as long as unchanged. The directory itself goes too when
// `removeDirectory` is set and it is empty.
void removeDatabaseFiles(const QString &directory, bool removeDirectory);

}  // namespace varnel::cli
