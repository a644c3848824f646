#pragma once

#include <QString>
#include <memory>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::calc {

// The amounts of "Parametry" › "Kwoty": the lowest pension and the kWh cost
// are edited in the parameter row while the register shows the current
// applications, and in the archive's entry of ArcLista while it shows an
// archive; the percentage index is always the parameter row's.
enum class Amount { MinEmeryt, KosztKwh };

// The row an amount window edits, put into editing.
struct AmountRow {
    std::unique_ptr<data::Table> table;  // param or ArcLista, open
    QString field;                       // Min_emeryt / Koszt_kwh, or NajnEmer / KosztKwh
    QString caption;                     // of the window
    bool found = true;                   // false: no ArcLista entry for the archive shown
};

// Opens the row for the table the register shows ("Aktualne" or an archive
// arMMYYYY). For the current applications the first row of param is put
// into editing, or a row is inserted when the table is empty. For an
// archive the entry of its month is put into editing; when there is none
// the row is not found (the window says "Błąd w odczycie archiwum!") and
// nothing is being edited.
AmountRow openAmountRow(data::Database &db, Amount amount, const QString &currentTableName);

// The captions: "Najniższa emerytura", "Kilowatogodzina".
QString amountCaption(Amount amount);

// The percentage index the council may set: 50 to 90.
constexpr int WskaznikMin = 50;
constexpr int WskaznikMax = 90;
inline bool wskaznikInRange(int value) { return value >= WskaznikMin && value <= WskaznikMax; }
inline const QString WskaznikOutOfRange = QStringLiteral("   Oczekiwano wartości z zakresu: 50-90 !  ");
inline const QString WskaznikRewriteQuestion =
    QStringLiteral("Zaktualizować wartość wskaźnika procentowego we wszystkich wnioskach ?");

// The first row of param put into editing (a row inserted when there is none).
std::unique_ptr<data::Table> openParameterRow(data::Database &db);

// Writes the percentage index into WskProc of every record of an open
// application table: one walk, one transaction, so a failure midway leaves
// every record as it was. No allowance is computed again. Returns the
// records written.
int rewriteWskProc(data::Table &applications, int value, core::Progress *progress);

}  // namespace varnel::calc
