#include "calc/BulkRecalc.h"

#include "calc/AllowanceRecord.h"
#include "data/Database.h"
#include "data/Table.h"
#include "data/Walk.h"

#include <QHash>
#include <vector>

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

namespace {

const QString SurnameIndex = QStringLiteral("NazwNdx");

// The walk of the recalculation in the order of the cursor's index.
BulkRecalcResult recalcInOrder(data::Table &table, Rules rules, QPoint dialogPos, bool showMessages, core::Questions &q,
                               const BulkRecalcCallbacks &cb) {
    BulkRecalcResult result;
    const ApplicationFields fields(table);
    const int nazwisko = table.fieldIndex(QStringLiteral("Nazwisko"));
    const int imie = table.fieldIndex(QStringLiteral("Imie"));
    const CalcRequest request{false, dialogPos, showMessages};

    data::WalkOptions options;
    options.progress = cb.progress;
    options.onFailure = data::WalkFailure::KeepDone;
    options.reads = fields.names(table) << QStringLiteral("Nazwisko") << QStringLiteral("Imie");
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

}  // namespace

BulkRecalcResult recalcTable(data::Table &table, Rules rules, QPoint dialogPos, bool showMessages,
                             core::Questions &q, const BulkRecalcCallbacks &cb) {
    if (table.isEditing())
        table.post();
    table.setIndexName(SurnameIndex);
    return recalcInOrder(table, rules, dialogPos, showMessages, q, cb);
}

BulkRecalcResult recalcAll(data::Database &db, const QString &tableName, Rules rules,
                           const std::function<void(const QString &)> &onInvalid) {
    // The walk's own transaction becomes a savepoint of this one, so what
    // it keeps after a failure is rolled back here.
    data::Transaction all(db);
    data::Table table(db, tableName);
    table.open();
    // Nobody answers a question here and nothing stops the run, so the order
    // of the rows does not change any result: they are written in the order
    // they are stored (row id), which touches each page of the table once,
    // and the applications without a valid result are told afterwards in
    // the order of the surname index, as a walk in that order tells them.
    bool hasSurnameIndex = false;
    for (const data::IndexDef &ix : table.indexDefs())
        hasSurnameIndex = hasSurnameIndex || ix.name.compare(SurnameIndex, Qt::CaseInsensitive) == 0;
    if (!hasSurnameIndex)
        table.setIndexName(SurnameIndex);  // refused as the walk in surname order refuses it
    HeadlessQuestions q;
    std::vector<qint64> invalidIds;
    QHash<qint64, QString> invalidNames;
    BulkRecalcCallbacks cb;
    if (onInvalid)
        cb.invalid = [&](const QString &who) {
            invalidIds.push_back(table.rowId());
            invalidNames.insert(invalidIds.back(), who);
        };
    BulkRecalcResult result = recalcInOrder(table, rules, QPoint(), false, q, cb);
    result.indexWarnings = q.informCount;
    if (onInvalid)
        for (const qint64 id : table.sortedByIndex(SurnameIndex, std::move(invalidIds)))
            onInvalid(invalidNames.value(id));
    table.close();
    all.commit();
    return result;
}

}  // namespace varnel::calc
