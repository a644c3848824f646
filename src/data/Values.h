#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace varnel::data {

// The zero date: what a blank date reads as, earlier than every real date.
inline QDate zeroDate() { return QDate(1899, 12, 30); }
inline bool isBlankDate(const QDate &d) { return !d.isValid() || d <= zeroDate(); }
// The earliest date a field takes: 1.01.1900. Before it lies only the zero
// date, which stands for a blank.
inline QDate earliestDate() { return QDate(1900, 1, 1); }

// Texts count whole characters: a character outside the basic plane or a
// letter with a combining accent is one character and is never split.
// The number of characters (code points) of a text.
qsizetype characterCount(QStringView text);
// The text cut to at most `size` characters, at a character boundary.
QString cutToCharacters(const QString &text, qsizetype size);
// The position of the first character a field may not hold: control
// characters (NUL, escape...) never, a memo excepted for tab and line
// breaks. -1 when there is none.
qsizetype forbiddenCharacterAt(const QString &text, bool memo);
// A character for messages: "U+001B".
QString characterCode(QChar c);

// The short date format of the program: dd.MM.yyyy.
QString formatDate(const QDate &d);
// Reads a date typed as dd.MM.yyyy (also d.M.yyyy, with "-" or "/" between
// the parts) or as ISO yyyy-MM-dd. Empty -> nullopt with ok = true.
std::optional<QDate> parseDate(const QString &text, bool *ok = nullptr);
// Reads a number typed with a point or a comma as decimal separator, blanks
// around allowed. Empty -> nullopt with ok = true.
std::optional<double> parseNumber(const QString &text, bool *ok = nullptr);
// Reads a whole number. Empty -> nullopt with ok = true.
std::optional<qint64> parseInteger(const QString &text, bool *ok = nullptr);
// "1", "true", "tak", "t", "yes" / "0", "false", "nie", "f", "no" (any case).
std::optional<bool> parseBoolean(const QString &text, bool *ok = nullptr);

// A floating point value as text: shortest form that reads back the same,
// point as separator, no exponent for ordinary amounts.
QString formatFloat(double v);
// The same text as ASCII, written into `out` (FloatTextSize bytes at least);
// returns its length. For work that writes many numbers as bytes.
constexpr int FloatTextSize = 32;
int formatFloatTo(char *out, double v);

}  // namespace varnel::data
