#pragma once

#include <QString>

namespace varnel::data {
class Database;
}

namespace varnel::core {

class Questions;
class FileDialogs;

// Values held for the whole run.
struct RunValues {
    QString programDir;          // directory of the program file, with a trailing "/"
    QString helpFile;            // programDir + "kalvo2a.hlp"
    bool serviceSwitch = false;  // first argument "a" or "A": the menu item "Serwis" shows
    QString decisionPattern;     // Wzor_NrDec in force
    int sortAlgorithm = 1;       // AlgorytmSortowania in force (1 or 2)
    QString currentTableName = QStringLiteral("Aktualne");

    bool showsArchive() const { return currentTableName.compare(QLatin1String("Aktualne"), Qt::CaseInsensitive) != 0; }
};

// What every window of the run receives: the database, the way questions and
// file dialogs are put to the user, and the run-wide values.
struct Context {
    data::Database &db;
    Questions &questions;
    FileDialogs &files;
    RunValues values;
};

}  // namespace varnel::core
