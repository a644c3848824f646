#pragma once

#include "data/Database.h"
#include "data/FieldDef.h"

#include <QStringList>

namespace varnel::test {

// A delivered layout with some fields taken out: the tables as earlier
// versions of the program left them.
data::TableDef without(data::TableDef def, const QStringList &fields);

// The application table before 1.14.1, 1.15.2 and 1.16.
inline const QStringList FieldsSince1141 = {QStringLiteral("Calosc_do_rak"), QStringLiteral("KosztKwh"),
                                            QStringLiteral("NajnEmeryt"), QStringLiteral("IlOsobNaWozku"),
                                            QStringLiteral("WskProc")};

// Adds an application with a surname and other fields by name.
void addApplication(data::Database &db, const QString &table, const QString &surname,
                    const QList<QPair<QString, QVariant>> &fields = {});
// Puts the (closed) database of a directory back where earlier versions of
// the program kept it: <directory>/varnel.sqlite.
void moveToEarlierLayout(const QString &directory);
// The values of one field over the table in primary-key order.
QVariantList column(data::Database &db, const QString &table, const QString &field);

}  // namespace varnel::test
