#pragma once

#include "data/FieldDef.h"

#include <QStringList>

namespace varnel::data {

// Layouts of the tables delivered with a database, field by field as the
// program expects them.

// The application record: current applications ("Aktualne") and the monthly
// archive tables "arMMYYYY", 47 fields with the primary index on NrEw and the
// indexes NazwNdx, AdresNdx, WyplataNdx, NrDecNdx.
TableDef applicationTableDef(const QString &name = QStringLiteral("Aktualne"));
// The field names of the application record in order: the field list the
// register opens the table with.
QStringList applicationFieldNames();

TableDef paramTableDef();                          // "param"
TableDef managerDictionaryDef();                   // "zarzadcy"
TableDef valueDictionaryDef(const QString &name);  // "tytprawn", "ogrzlok", "ogrzwody", "statlok"
TableDef usersTableDef();                          // "uspass"
TableDef archiveListDef();                         // "ArcLista"
TableDef listTemplateDef();                        // "WzorList"
TableDef listSettingsDef();                        // "skladlist"
TableDef totalsSettingsDef();                      // "skladlic"

// Every delivered table, in the order a new database creates them.
QVector<TableDef> deliveredTables();

// The fields the upgrades (1.14.1 to 1.16) added at the end of a layout, in
// order: of the application record ("Aktualne", the archives) and of
// "param". A table that lacks only some of them is in an earlier layout,
// which the program brings up to date itself (at start, or when an archive
// is opened).
QStringList applicationFieldsAddedByUpgrades();
QStringList paramFieldsAddedByUpgrades();

}  // namespace varnel::data
