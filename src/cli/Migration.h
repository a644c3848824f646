#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QTextStream;

namespace varnel::cli {

// One table brought over from the old database directory.
struct MigratedTable {
    QString table;      // its name in the new database
    QString file;       // its file in the old directory
    int read = 0;       // records read from the file
    int written = 0;    // rows written into the new database
    QStringList upgrades;  // layout upgrade steps applied, with the values they wrote
    QString codePage;   // the code page its texts were read in
    bool unknownDriver = false;  // the file's language driver is not a Polish one
    QString driver;     // the language driver as the file records it
    QStringList notes;  // fields left out or left blank, layout kept as stored
};

// A value that did not fit the field rules of the new database and was cut,
// rounded or left blank.
struct ChangedValue {
    QString table;
    int record = 0;  // record number in the old file, from 1
    QString key;     // "NrEw 17" when the table numbers its rows
    QString field;
    QString before;  // the value as read
    QString after;   // the value written; empty for a blank
    QString reason;
};

struct MigrationReport {
    QString oldDirectory;
    QString newDirectory;
    QVector<MigratedTable> tables;
    QVector<ChangedValue> changes;
    QStringList templates;     // template files copied unchanged
    QStringList skippedFiles;  // files named *.db that are no Paradox tables, with why
    QStringList startingTables;  // tables the old directory lacks: filled as a new database
    QStringList notes;         // anything else worth the administrator's eye
};

// Brings an office over from the old system: creates a new database in
// `newDirectory` exactly as a new office database is created, without its
// starting rows in the tables the old directory has, and fills it from every
// Paradox table there (the register, the archives with their list, the
// parameters, dictionaries, users and settings) under the names and layouts
// the program expects. Tables of an older layout go through the program's own
// upgrade steps; row numbers (NrEw, Auto) stay as they were. The decision and
// list templates (*.fmz, *.lsa) are copied beside the new database unchanged.
//
// The old directory is only read. The new directory must be new or empty.
// Everything is one transaction: after any failure (a table that cannot be
// read, a damaged file, a required value missing) the new directory holds no
// database and no copied file, and the error says why. `say` is told what is
// being done, table by table.
MigrationReport migrateOffice(const QString &oldDirectory, const QString &newDirectory,
                              const std::function<void(const QString &)> &say = {});

// The report in the form varnel-admin prints it: per table the records read
// and the rows written, the code page and the upgrades, then every value
// changed, the templates and the files passed over.
void printMigrationReport(const MigrationReport &report, QTextStream &out);

}  // namespace varnel::cli
