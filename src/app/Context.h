#pragma once

#include <QString>

namespace varnel::data {
class Database;
}
namespace varnel::ui {
class Questions;
class FileDialogs;
}

namespace varnel::app {

// Rights of the user logged in for this run.
struct Rights {
    bool modiUsers = true;  // may manage users
    bool modiDict = true;   // may change dictionaries and amount parameters
};

// Values held for the whole run.
struct RunValues {
    QString programDir;          // directory of the program file, with a trailing "/"
    QString helpFile;            // programDir + "kalvo2a.hlp"
    bool serviceSwitch = false;  // first argument "a" or "A": the menu item "Serwis" shows
    QString decisionPattern;     // Wzor_NrDec in force
    int sortAlgorithm = 1;       // AlgorytmSortowania in force (1 or 2)
    QString currentTableName = QStringLiteral("Aktualne");
    Rights rights;

    bool showsArchive() const { return currentTableName.compare(QLatin1String("Aktualne"), Qt::CaseInsensitive) != 0; }
};

// What every window of the run receives: the database, the way questions and
// file dialogs are put to the user, and the run-wide values.
struct Context {
    data::Database &db;
    ui::Questions &questions;
    ui::FileDialogs &files;
    RunValues values;
};

}  // namespace varnel::app
