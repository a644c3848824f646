#pragma once

#include "data/FieldDef.h"

#include <QString>
#include <QStringList>

namespace varnel::data {
class Database;
}

namespace varnel::cli {

// What a check of a database found.
struct CheckReport {
    QStringList findings;  // what is wrong, one line each naming its table
    QStringList notes;     // what is right but worth knowing (earlier layouts the program upgrades itself)
    int tables = 0;        // delivered tables compared
    int archives = 0;      // monthly archives compared
    bool ok() const { return findings.isEmpty(); }
};

// Checks a database: SQLite's integrity check of the file (with the Polish
// collation of the indexes registered, which a plain SQLite tool lacks),
// then the layouts of the delivered tables and of the monthly archives
// ("ar" + MMYYYY) against the layouts the program expects. A delivered
// table that is missing, a field or index that is missing or differs in
// type, size, required mark, order or options, and a field or index the
// program does not know are findings; a table that lacks only the last
// fields the upgrades added is a note, since the program upgrades it.
CheckReport checkDatabase(const data::Database &db);

// The differences of a stored layout from the expected one ("brak pola
// WskProc", "pole Imie: rozmiar 20 zamiast 24"...), empty when it is as
// expected. `olderLayout` is set when the table lacks only some last fields
// of `addedByUpgrades`, which are then not listed.
QStringList layoutDifferences(const data::TableDef &expected, const data::TableDef &stored,
                              const QStringList &addedByUpgrades, bool &olderLayout);

// Index options in words: "główny, unikalny, polski porządek ...".
QString indexOptionsText(unsigned options);

// Whether a table name is that of a monthly archive: "ar" + MMYYYY.
bool isArchiveName(const QString &table);

}  // namespace varnel::cli
