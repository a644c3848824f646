#pragma once

#include "data/FieldDef.h"

#include <QVariant>

struct sqlite3_stmt;

namespace varnel::data {

// A column of a result row as the field type gives it: text, int, double,
// bool or QDate; SQL NULL gives an invalid QVariant (a blank).
QVariant readColumn(sqlite3_stmt *s, int col, FieldType type);
// Binds a value already normalised by Table::coerce; a blank binds NULL.
void bindValue(sqlite3_stmt *s, int idx, FieldType type, const QVariant &v);

}  // namespace varnel::data
