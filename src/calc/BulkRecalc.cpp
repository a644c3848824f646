#include "calc/BulkRecalc.h"

#include "calc/AllowanceRecord.h"
#include "data/Database.h"
#include "data/Table.h"
#include "data/Walk.h"

namespace varnel::calc {

void HeadlessQuestions::inform(const QString &text) {
    ++informCount;
    asked << text;
}

void HeadlessQuestions::error(const QString &text) {
    asked << text;
    errors << text;
}

bool HeadlessQuestions::confirm(const QString &text) {
    asked << text;
    return false;
}

bool HeadlessQuestions::takNie(const QString &text) {
    asked << text;
    return false;
}

bool HeadlessQuestions::takNieCofnij(const QString &text, bool &cancelled) {
    asked << text;
    cancelled = true;
    return false;
}

bool HeadlessQuestions::kontynuujPrzerwij(const QString &text, QPoint) {
    asked << text;
    return true;
}

BulkRecalcResult recalcTable(data::Table &table, Rules rules, QPoint dialogPos, bool showMessages,
                             core::Questions &q, const BulkRecalcCallbacks &cb) {
    BulkRecalcResult result;
    if (table.isEditing())
        table.post();
    table.setIndexName(QStringLiteral("NazwNdx"));
    const ApplicationFields fields(table);
    const int nazwisko = table.fieldIndex(QStringLiteral("Nazwisko"));
    const int imie = table.fieldIndex(QStringLiteral("Imie"));
    const CalcRequest request{false, dialogPos, showMessages};

    data::WalkOptions options;
    options.progress = cb.progress;
    options.onFailure = data::WalkFailure::KeepDone;
    const data::WalkResult walked = data::walk(
        table,
        [&](data::Table &t) {
            bool valid = true;
            bool goOn = true;
            runAllowance(t, fields, rules, request, valid, goOn, q);
            ++result.rows;
            if (!valid) {
                ++result.invalid;
                if (cb.invalid)
                    cb.invalid(t.field(nazwisko).asString() + QLatin1Char(' ') + t.field(imie).asString());
            }
            return goOn;
        },
        options);
    result.stopped = walked.stopped;
    return result;
}

BulkRecalcResult recalcAll(data::Database &db, const QString &tableName, Rules rules,
                           const std::function<void(const QString &)> &onInvalid) {
    // The walk's own transaction becomes a savepoint of this one, so what
    // it keeps after a failure is rolled back here.
    data::Transaction all(db);
    data::Table table(db, tableName);
    table.open();
    HeadlessQuestions q;
    BulkRecalcCallbacks cb;
    cb.invalid = onInvalid;
    BulkRecalcResult result = recalcTable(table, rules, QPoint(), false, q, cb);
    result.indexWarnings = q.informCount;
    table.close();
    all.commit();
    return result;
}

}  // namespace varnel::calc
