#pragma once

#include "calc/ArchiveList.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <utility>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::totals {

// The statement of expenditure ("Zestawienie wydatków"): the allowances
// granted (Wyplata_calosc) of one application table or of a range of
// archived months, split by the status of the dwelling, with the demand for
// the municipal subsidy estimated from the split between managers whose
// dwellings are municipal property (dk) and the others (dp). Each table is
// totalled by the engine in one query, never row by row through a cursor.

// The items of "Lista:" (as in the payment lists) and of the formula group,
// in their order; the settings keep the text of the chosen item.
QStringList kogoItems();  // "Wszystkich", "Tylko z dodatkiem", "Z wypłatą dla zarządcy ", "Z wyplatą ryczałtu"
QStringList wzorItems();  // "automatycznie", "wg wzoru:  0 dk + 0,7 dp", "wg wzoru:  0,2 dk + 0,5 dp", "wg wzoru:  0,4 dk + 0,3 dp"

// The options of a statement: the row of skladlic.
struct TotalsOptions {
    QString kogo = QStringLiteral("Wszystkich");  // which applications count
    bool ctrlOkres = false;                       // only those whose Okres_od lies in the bounds
    QDate dataPrzyslOd, dataPrzyslDo;             // inclusive; a blank counts as the zero date
    bool wszyscy = true;                          // every manager
    QString dlaZarzadcy;                          // else only this one (exact text)
    bool liczDotacje = false;                     // estimate the subsidy demand
    QString wzor = QStringLiteral("automatycznie");
};

// The first row of skladlic (the defaults above when it has none), and the
// options of the current row of a cursor over it (the row being edited
// included).
TotalsOptions readTotalsOptions(data::Database &db);
TotalsOptions totalsOptionsOf(data::Table &settingsRow);
// Writes the options into the current row of a cursor over skladlic, which
// must be in editing.
void setTotalsOptions(data::Table &settingsRow, const TotalsOptions &options);

// The running totals of one run; amounts in whole grosze.
struct RunningTotals {
    qint64 count = 0;
    qint64 suma = 0;
    qint64 komunal = 0, spoldz = 0, zaklad = 0, inne = 0;
    qint64 dk = 0;  // managers with Wlasn_gminy
    qint64 dp = 0;  // the other known managers
    bool noManager = false;       // an application counted had no Zarzadca
    bool unknownManager = false;  // one named a manager the dictionary lacks
};

// The messages told for each application counted without a manager or with
// an unknown one ("Pełna inform. o błędach"), in the order of the table's key.
using RecordMessage = std::function<void(const QString &message)>;

// Adds the applications of one table that the options count to the totals.
// With the subsidy demand, the managers are looked up in zarzadcy by Opis
// (as its index OpisNdx finds them); `message`, when given, is told of every
// application counted without a manager or with an unknown one. Throws
// core::DbError when the table cannot be read.
void addTable(data::Database &db, const QString &table, const TotalsOptions &options, RunningTotals &totals,
              const RecordMessage &message = {});

// The formulas of the demand, by the position of their item.
enum class Formula { None = 0, Dp07 = 1, Dk02Dp05 = 2, Dk04Dp03 = 3 };

// The statement of a run: the totals, the demand and the texts the window
// shows.
struct Statement {
    RunningTotals totals;
    bool liczDotacje = false;
    bool demandComputed = false;  // with the demand and Suma > 0
    Formula formula = Formula::None;
    double dotacja = 0;           // złoty
    double procent = 0;           // dk·100 / Suma
    QString labelProc;            // "tj " + q + " %", or empty
    QString labelDotacja;         // "(0 dk + 0,7 dp)"..., or empty
    QStringList warnings;         // in the order they are shown
};

// The demand and the texts from the final totals: 0.7·dp, 0.2·dk + 0.5·dp or
// 0.4·dk + 0.3·dp by the formula chosen, or automatically by r = dk / Suma
// (r < 0.25, 0.25 ≤ r < 0.4, r ≥ 0.4, compared exactly on the sums in
// grosze); then the three warnings about managers.
Statement finishStatement(const RunningTotals &totals, const TotalsOptions &options);

// The warnings.
inline const QString WarningNoManager = QStringLiteral("Uwaga! Istnieją wnioski z niewypełnionym polem \"Zarządca\"!");
inline const QString WarningUnknownManager = QStringLiteral("Uwaga! Istnieją wnioski z błędną zawartością pola \"Zarządca\"!");
inline const QString WarningDemand = QStringLiteral("Uwaga! Zapotrzebowanie na dotację może być obliczone błędnie!");

// An amount as the results show it: two decimals and a point, right-aligned
// in 8 characters (wider amounts take the room they need).
QString formatAmount(qint64 cents);
QString formatAmount(double zloty);
// The same with no padding, for the command line and CSV.
QString plainAmount(qint64 cents);
QString plainAmount(double zloty);

// The captions: "Zestawienie wydatków: wnioski bieżące" or "Zestawienie
// wydatków: kwiecień 1999" for the table the register shows; for a range
// "Zest. wydatków:   styczeń 1999 - marzec  1999" (two blanks before the
// start month and before the end year).
QString monthCaption(const QString &tableName);
QString rangeCaption(const QDate &from, const QDate &to);

// The entries of a range: from the entry whose key is `from` on, in month
// order, while the key is not after `to`. No entry for `from`: none.
QVector<calc::ArchiveEntry> rangeEntries(const QVector<calc::ArchiveEntry> &entries, const QDate &from, const QDate &to);

// The statement of a list of tables, read in one read transaction (one
// state of the database), for a run nobody watches.
Statement computeStatement(data::Database &db, const QStringList &tables, const TotalsOptions &options,
                           const RecordMessage &message = {});

// The statement as lines of a label and a value, as it is printed and
// exported: the options used, then every figure.
QList<std::pair<QString, QString>> statementOptionLines(const TotalsOptions &options);
// Amounts right-aligned in 8 characters when `padded`, else bare.
QList<std::pair<QString, QString>> statementFigureLines(const Statement &statement, bool padded = true);
// The statement as CSV (UTF-8, RFC 4180 quoting, a header row "pozycja,wartość").
QByteArray statementCsv(const QString &caption, const TotalsOptions &options, const Statement &statement);

}  // namespace varnel::totals
