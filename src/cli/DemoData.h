#pragma once

#include <QtGlobal>

namespace varnel::data {
class Database;
}

namespace varnel::cli {

// Adds `count` synthetic but realistic applications to the current
// applications ("Aktualne"), for trying the program and for benchmarks:
// Polish names and addresses (streets by their name alone, without "ul."),
// households of 1 to 9 persons with their incomes, dwellings, rents, lump
// sums and granted periods. As in a real register about four in five are
// granted an allowance; the others are refused or invalid for one plain
// reason each: an income far above the threshold, a dwelling over the area
// norm, no legal title, no costs at all. Managers, legal titles, dwelling
// statuses and ways of heating are taken from the database's dictionaries,
// and the managers used are marked used (BylModi); the decision-number
// pattern, payment term and the three amounts from its parameter row (built-in
// starting values when the row is missing). Decision numbers continue after
// the highest running number already in the table. The computed allowance
// fields stay blank until the allowance calculation runs.
//
// The same database contents and seed give the same rows (within one month
// when the parameter row has no default period start: periods follow today). All rows are added
// in one transaction: after a failure none of them remains.
void addDemoApplications(varnel::data::Database &db, int count, quint32 seed);

}  // namespace varnel::cli
