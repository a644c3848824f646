#pragma once

#include <QString>

namespace varnel::core {
class Progress;
}

namespace varnel::data {

class Database;

// Rebuilding of tables stored in an older layout into the current one. Each
// routine builds the work table "Temp1" with the stored fields of the table
// followed by the fields the step adds and with the table's indexes, copies
// every row into it in primary-key order (the first field, the table's
// autoincrement number, is not copied, so the rows are numbered afresh 1, 2,
// 3, ...), writes the added fields, and then renames the old table to its
// backup name and "Temp1" to the table's name.
//
// A rebuild is one transaction: when anything fails the table is as it was,
// no "Temp1" and no backup remain, and the next start can try again. A backup
// name that is taken already (a backup of an earlier run) is kept, and the
// old table goes to the first free name beside it: "Aktualne_1140_1",
// "Aktualne_1140_2", ... Nothing is overwritten or deleted.
//
// Every routine returns the name the old table was kept under.

inline constexpr const char *UpgradeWorkTable = "Temp1";

// Step 1.14.1: adds Calosc_do_rak (False; only when withCaloscDoRak), KosztKwh
// (kosztKwh) and NajnEmeryt (najnEmeryt rounded to four decimal places); the
// old table becomes tableName + "_1140".
QString Upgrade1141(Database &db, const QString &tableName, bool withCaloscDoRak, double najnEmeryt,
                    double kosztKwh, core::Progress &progress);
// Step 1.15.2: adds IlOsobNaWozku, 1 when Osoba_na_wozku is exactly "Tak",
// otherwise 0; the old table becomes tableName + "_1151".
QString Upgrade1152(Database &db, const QString &tableName, core::Progress &progress);
// Step 1.16 of an application table: adds WskProc = 70; the old table becomes
// tableName + "_1153".
QString Upgrade116Dane(Database &db, const QString &tableName, core::Progress &progress);
// Step 1.16 of the parameter table: adds WskaznikProc = 70 to "param"; the old
// table becomes "param_1153". No progress is shown.
QString Upgrade116Param(Database &db);

// The name a table is kept under: `wanted` when it is free, otherwise the
// first free of wanted + "_1", wanted + "_2", ...
QString freeBackupName(const Database &db, const QString &wanted);

// The lowest pension as a rebuild stores it: rounded to four decimal places.
double roundTo4Places(double value);

}  // namespace varnel::data
