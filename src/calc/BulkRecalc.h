#pragma once

#include "calc/Allowance.h"
#include "core/Questions.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::calc {

// Answers the questions of a run that nobody watches. With messages off the
// calculation asks nothing but the percentage-index warning (an information
// box that never changes a result); it is collected here so that a run over
// many records does not stop at it. Should anything else be asked, the
// answers are the ones that keep the data as it is and the run going:
// "Kontynuuj" (the application is then listed as failed anyway), "Nie" to a
// confirmation and "Cofnij" where it is offered. Everything asked is kept in
// `asked`, errors also in `errors`.
class HeadlessQuestions : public core::Questions {
public:
    void inform(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    bool takNie(const QString &text) override;
    bool takNieCofnij(const QString &text, bool &cancelled) override;
    bool kontynuujPrzerwij(const QString &text, QPoint pos) override;

    QStringList asked;
    QStringList errors;
    int informCount = 0;
};

struct BulkRecalcResult {
    int rows = 0;           // applications computed
    int invalid = 0;        // of which not valid
    int indexWarnings = 0;  // percentage-index warnings met (headless run only)
    bool stopped = false;   // the user answered "Przerwij"
};

struct BulkRecalcCallbacks {
    // "Nazwisko Imie" of each application whose result is not valid.
    std::function<void(const QString &nazwiskoImie)> invalid;
    // Runs from 0 to the number of records, one step per application.
    core::Progress *progress = nullptr;
};

// The walk of the bulk recalculation over an open application table: switches
// it to the index NazwNdx (it stays there), computes every record in that
// order with show results off, the given dialog position and messages flag,
// and stops after an application whose question was answered "Przerwij". The
// whole run is one walk (data/Walk.h) that keeps what is done: committed at
// the end, and also when the engine fails half-way (the records computed
// before the failure stay computed, as when each was saved on its own)
// before the error passes on. The table's controls are quiet meanwhile.
BulkRecalcResult recalcTable(data::Table &table, Rules rules, QPoint dialogPos, bool showMessages,
                             core::Questions &q, const BulkRecalcCallbacks &callbacks = {});

// The headless bulk recalculation (varnel-admin recalc): every row of the
// table (default "Aktualne") by the current or the earlier rules, messages
// off, questions answered by HeadlessQuestions. All or nothing: a failure
// midway rolls back every application computed before it, since nobody
// watches the run to see how far it got.
// The rows are computed in the order they are stored; onInvalid hears of
// the applications without a valid result after the walk, in the order of
// the index NazwNdx.
BulkRecalcResult recalcAll(data::Database &db, const QString &tableName = QStringLiteral("Aktualne"),
                           Rules rules = Rules::Current,
                           const std::function<void(const QString &nazwiskoImie)> &onInvalid = {});

}  // namespace varnel::calc
