#pragma once

#include <QString>

struct sqlite3;

namespace varnel::data {

// Polish alphabetical order without regard to case (Lis, Luty, Łoś, Łukasz,
// Zając, Ziomek, Żak): the order of every text key of the secondary indexes.
// SQLite knows it as the collation "PL" on every connection of the program,
// and cursors compare keys with the very same function, so a search lands
// where the index puts a row.
inline constexpr const char *PolishCollationName = "PL";

// Compares two UTF-8 texts in that order: <0, 0, >0.
int comparePolish(const char *a, int aLength, const char *b, int bLength);
int comparePolish(const QString &a, const QString &b);

// Registers the collation on a connection; throws core::DbError when ICU
// has no Polish rules or SQLite refuses it.
void registerPolishCollation(sqlite3 *db);

}  // namespace varnel::data
