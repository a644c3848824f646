#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::templates {

// What the parameter row says about printing a decision: the metric line,
// the footer and the footer's text.
struct DecisionPrintSwitches {
    bool drukujMetryczke = false;  // DrukujMetryczke
    bool drukujStopke = false;     // DrukujStopke
    QString stopka;                // Stopka, any number of lines
};

// Reads the switches from the first row of param.db through its own cursor,
// opened and closed here; a table without a row gives them all off. Throws
// core::DbError when the table cannot be read.
DecisionPrintSwitches readDecisionPrintSwitches(data::Database &db);

// The metric line and the footer are printed in this font, whatever the
// template uses.
inline const QString MetricFontFamily = QStringLiteral("Courier New");
inline constexpr double MetricPointSize = 8;
// Empty lines after the metric line, and before the footer's lines.
inline constexpr int EmptyLinesAfterMetric = 4;
inline constexpr int EmptyLinesBeforeFooter = 2;

// The metric line of a decision: where it comes from, for the office's
// files. For the current row of an application table:
//   "Wniosek nr ew. 17 | decyzja nr DM.5342.17.2024 | wystawił: ADMIN | 05.03.2024"
// (the registry number NrEw, the decision number as stored, the user logged
// in and the date of printing).
QString metricLine(data::Table &applications, const QString &userName, const QDate &today);

// The lines of the footer text, in order; line ends of any system.
QStringList footerLines(const QString &stopka);

}  // namespace varnel::templates
