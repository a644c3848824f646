#pragma once

#include "core/Context.h"
#include "core/FileDialogs.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QStringList>
#include <gtest/gtest.h>
#include <utility>

namespace varnel::test {

// File dialogs answered without a screen: every dialog asked is recorded,
// and the file chosen is `chosen`: none unless a test sets one.
class ScriptedFiles : public core::FileDialogs {
public:
    struct Dialog {
        bool save = false;  // a save dialog (else an open dialog)
        bool directoryOnly = false;  // a choice of a directory
        QString directory;
        QString filter;
        QString suffix;
    };
    QString chosen;
    QString chosenDirectory;  // what a choice of a directory gives
    QList<Dialog> asked;

    QString openFile(QWidget *, const QString &directory, const QString &filter, const QString &suffix) override {
        asked.append({false, false, directory, filter, suffix});
        return chosen;
    }
    QString saveFile(QWidget *, const QString &directory, const QString &filter, const QString &suffix) override {
        asked.append({true, false, directory, filter, suffix});
        return chosen;
    }
    QString chooseDirectory(QWidget *, const QString &directory) override {
        asked.append({false, true, directory, QString(), QString()});
        return chosenDirectory;
    }
};

// Creates every table a new database is delivered with, empty.
void createDeliveredTables(data::Database &db);

// Sets fields of the parameter row ("param"), adding the row when the table
// has none.
void setParameters(data::Database &db, const QList<std::pair<QString, QVariant>> &fields);

// Adds rows to a dictionary in this order: the text (Opis) and whether it
// has been used on an application (BylModi).
void fillDictionary(data::Database &db, const QString &table, const QList<std::pair<QString, bool>> &rows);
// Adds unused texts to a dictionary in this order.
void fillDictionary(data::Database &db, const QString &table, const QStringList &texts);

// Adds a building manager to zarzadcy: its text (Opis) and whether its
// dwellings are municipal property (Wlasn_gminy).
void addManager(data::Database &db, const QString &opis, bool wlasnGminy);

// Sets the payments of the current applications (Aktualne) in surname
// order: the first `paid` are paid 100, 101, ... in full and to the manager,
// the others nothing; no lump sums. Returns the first surname.
QString payFirstApplications(data::Database &db, int paid);

// A run of the program on a new, empty database: the context every window
// receives, with questions and file dialogs answered from a script.
class ProgramTest : public ::testing::Test {
protected:
    TempDatabase db;
    ScriptedQuestions questions;
    ScriptedFiles files;
    core::Context ctx{*db, questions, files, {}};
};

}  // namespace varnel::test
