#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace varnel::data {

class Database;

// Summaries of a whole table computed by the engine in one query, for
// statements over many rows (the expenditure totals over a range of
// archives): no cursor is opened and no row is brought over one by one.
// Texts compare exactly, letter case included; a blank text is "".

// A condition every row of a summary meets.
struct RowCondition {
    enum Kind {
        Positive,     // the number field is greater than 0 (a blank is not)
        EqualsText,   // the text field equals `text` exactly (blank = "")
        TextIn,       // the text field is one of `texts` exactly (blank = "")
        DateBetween,  // from <= the date field <= to; a blank date, and a
                      // blank bound, count as the zero date 30.12.1899
    };
    Kind kind = Positive;
    QString field;
    QString text;
    QStringList texts;
    QDate from, to;

    static RowCondition positive(const QString &field) { return {Positive, field, {}, {}, {}, {}}; }
    static RowCondition equalsText(const QString &field, const QString &text) { return {EqualsText, field, text, {}, {}, {}}; }
    static RowCondition textIn(const QString &field, const QStringList &texts) { return {TextIn, field, {}, texts, {}, {}}; }
    static RowCondition dateBetween(const QString &field, const QDate &from, const QDate &to) {
        return {DateBetween, field, {}, {}, from, to};
    }
};

// A sum of a money field over the rows of a group, or only over those whose
// text field `ifField` equals `ifText` exactly.
struct MoneySum {
    QString field;
    QString ifField;  // empty: every row
    QString ifText;
};

// One group of rows with equal texts in the grouping fields.
struct GroupTotal {
    QStringList keys;       // the texts of the grouping fields, in their order
    qint64 count = 0;       // rows
    QVector<qint64> cents;  // the sums of the money fields, in whole grosze
};

// The rows of `table` that meet every condition, grouped by the text fields
// `groupBy` (none: one group of every row), counted, and the sums computed,
// each value rounded to whole grosze first (a blank counts 0), so that the
// sums are exact. Groups without rows are left out. Throws
// core::MissingFieldError for a field the table lacks.
QVector<GroupTotal> totalsByGroup(Database &db, const QString &table, const QVector<RowCondition> &where,
                                  const QStringList &groupBy, const QVector<MoneySum> &sums);

// The texts of `fields` of every row of `table` that meets the conditions,
// in the order of the table's key, one call per row.
void forEachRowTexts(Database &db, const QString &table, const QVector<RowCondition> &where, const QStringList &fields,
                     const std::function<void(const QStringList &texts)> &row);

}  // namespace varnel::data
