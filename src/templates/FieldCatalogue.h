#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace varnel::data {
class Table;
}

namespace varnel::templates {

// A placeholder in a template: "@<", the name, ">@".
inline const QString PlaceholderStart = QStringLiteral("@<");
inline const QString PlaceholderEnd = QStringLiteral(">@");
inline QString placeholder(const QString &name) { return PlaceholderStart + name + PlaceholderEnd; }

// The names of the catalogue, in its order. The decision template editor
// offers the 38 decision names (it shows them sorted); the list template
// editor offers those and the three extra names; all 41 work anywhere.
const QStringList &decisionFieldNames();  // 38: "Adres" ... "Zarządca lokalu"
const QStringList &extraFieldNames();     // "Nazwisko i imię", "Uwagi", "Podpis"
const QStringList &allFieldNames();       // the 38 and the 3, 41 names

// The value of a placeholder: the text put in its place, and the number that
// payment lists add into column sums (0 for names without one).
struct FieldValue {
    QString text;
    double number = 0;
};

// The value routine of templates (`ObsluzBaze`): the text and number of each
// placeholder name for the current row of an application table cursor
// (Aktualne or an archive; its edit buffer while the row is being edited).
// It reads that row and nothing else, and keeps nothing between calls.
//
// Names are matched exactly (case, Polish letters, spaces, punctuation); any
// other name, an empty one too, gives "?" and 0. Numbers are shown as N(w,d)
// (calc::formatN: halves to even, a point, left padding), amounts followed
// by " zł"; dates as dd.MM.yyyy, a blank date as the zero date 30.12.1899;
// a lump sum whose switch is off as " - " and 0. Where a value divides by the
// number of persons or by the area and that is 0 (and where a result is not
// a finite number), the text is "?" and the number 0.
//
// A field the table lacks (an archive of an older layout) makes the name that
// needs it throw the engine's core::DbError naming the field.
class FieldCatalogue {
public:
    // `today` is the date of "Dzisiejsza data".
    explicit FieldCatalogue(data::Table &applications, const QDate &today = QDate::currentDate());

    FieldValue ObsluzBaze(const QString &name) const;
    FieldValue operator()(const QString &name) const { return ObsluzBaze(name); }

private:
    data::Table &m_table;
    QDate m_today;
};

}  // namespace varnel::templates
