#pragma once

#include <QString>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::admin {

// The decision-number sort algorithms kept in AlgorytmSortowania.
inline constexpr int SortAsText = 1;          // "1 - sortowanie wg ASCII"
inline constexpr int SortByRunningNumber = 2;  // the zero-padded running number

// Width of a key under algorithm 2; the register's search pads a typed number
// to the same width.
inline constexpr int DecisionKeyWidth = 10;

// The sort key IndexNrSupport of a decision number. Under algorithm 2 the
// pattern in force (Wzor_NrDec) is dropped from the front except for its last
// character, then one leading "/", and the running number that follows is
// padded with zeros to ten characters: with the pattern "AB/" the number
// "AB/123/2005" gets "0000000123". A number that yields no running number (no
// leading digit, or one above 2147483647) is its own key, as is every number
// under any other algorithm.
QString WyliczIndexSupp(const QString &decisionNumber, const QString &pattern, int algorithm);

// Rebuilds IndexNrSupport of every record of a register table under
// algorithm 2: the table is switched to its primary index (and stays on it),
// its controls are held off, and every record from the first to the last gets
// the key of its Numer_decyzji, all in one walk (data/Walk.h), advancing the
// progress by one per record. A failure rolls the whole walk back and is
// passed on. Returns the number of records.
int rebuildDecisionKeys(data::Table &registerTable, const QString &pattern, core::Progress *progress = nullptr);

// Stores the sort algorithm in the first row of param.db; false when the
// table has no row (nothing is stored then).
bool storeSortAlgorithm(data::Database &db, int algorithm);

}  // namespace varnel::admin
