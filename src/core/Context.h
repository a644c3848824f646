#pragma once

#include "core/PrinterSettings.h"

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
    PrinterSettings printer;     // the printer set-up every print takes
    QString userName;            // the user logged in (in capitals), empty before the log-in
};

// What every window of the run receives: the database, the way questions and
// file dialogs are put to the user, and the run-wide values. The table in
// view and everything about it is the register's (register/Register.h).
struct Context {
    data::Database &db;
    Questions &questions;
    FileDialogs &files;
    RunValues values;
};

}  // namespace varnel::core
