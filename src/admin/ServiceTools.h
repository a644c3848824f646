#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Table;
}

namespace varnel::admin {

// The bulk corrections of the service window. Each works on the register's
// view of the application table in use (the current applications or the
// archive shown) in one walk (data/Walk.h), in the order of the view's
// index, advancing the progress by one per record: a failure midway leaves
// the table as it was, and the view stands afterwards on the row it stood
// on before. No allowance is recalculated. Each returns the number of
// records changed.

// "Pow.użytk. (zaokrąglenia)": the question asked before the rounding.
inline const QString AreaRoundingQuestion = QStringLiteral("Zaokrąglić pow. użytkowe ?");

// The usable area rounded to two decimals: area × 100 to the nearest whole
// number (an exact half to the even one), ÷ 100. Empty when the hundredths
// do not fit a signed 32-bit number.
std::optional<double> roundedArea(double area);

// Rounds Pow_uzytk of every record to two decimals. A blank area stays
// blank. An area that cannot be rounded stops the walk with a message
// naming the application, and nothing is changed.
int ZaokraglijPowUzytk(data::Table &applications, core::Progress *progress = nullptr);

// The fields that the menu "Inicjacja pól" sets in every application
// (TFormRyczaltDoRak), by kind 1 to 6.
struct FieldSetting {
    int kind = 0;
    QString caption;    // of the window
    QString field;      // of the application record
    QString parameter;  // kinds 5 and 6: the field of param.db whose value is written
    bool asText = false;  // kind 2: "Tak" / "Nie" instead of True / False

    bool fromParameter() const { return !parameter.isEmpty(); }
    // The value written for "wartość TAK" (yes) or "wartość NIE" (kinds 1 to 4).
    QVariant choiceValue(bool yes) const;
};

inline constexpr int FirstFieldKind = 1;
inline constexpr int LastFieldKind = 6;
// nullptr for a kind outside 1 to 6.
const FieldSetting *fieldSetting(int kind);

// Sets `field` of every record to `value` (stored by the field's rules; a
// value that does not fit is refused before any record is changed).
int UstawPole(data::Table &applications, const QString &field, const QVariant &value,
              core::Progress *progress = nullptr);

// "Odkręć 90%": for every record whose Okres_od is on or after `from`,
// Wydatki_czynsz and OplatyDodatkowe are multiplied by 10 and divided by 9,
// not rounded (a blank amount stays blank). A record without Okres_od is not
// converted. `from` must be a valid date.
int Odkrec90proc(data::Table &applications, const QDate &from, core::Progress *progress = nullptr);

}  // namespace varnel::admin
