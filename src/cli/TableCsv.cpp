#include "cli/TableCsv.h"

#include "cli/Csv.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "data/Table.h"
#include "data/Values.h"
#include "data/RowWriter.h"
#include "data/StoredRows.h"

#include <QBuffer>
#include <QFileDevice>
#include <QIODevice>

#include <QDate>
#include <QStringDecoder>
#include <QTextStream>
#include <charconv>
#include <cmath>
#include <string_view>
#include <limits>
#include <vector>

namespace varnel::cli {

using data::Database;
using core::DbError;
using data::FieldDef;
using data::FieldType;
using data::Table;

namespace {

QString quotedText(const QString &s) { return QStringLiteral("„%1”").arg(s); }

QString cellText(const QVariant &v, FieldType type) {
    if (!v.isValid() || v.isNull())
        return QString();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: return v.toString();
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc: return QString::number(v.toLongLong());
    case FieldType::Float:
    case FieldType::Currency: return data::formatFloat(v.toDouble());
    case FieldType::Date: return v.toDate().toString(Qt::ISODate);
    case FieldType::Boolean: return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return v.toString();
}

// Whether UTF-8 bytes read into a QString and written out again stay the
// same bytes: well-formed (no overlong form, no surrogate, nothing past
// U+10FFFF, no sequence cut off) and not beginning with a byte order mark,
// which the reading drops. Anything else is read with the replacement
// character for what is not UTF-8, so it goes through that reading.
bool readsBackUnchanged(std::string_view s) {
    const auto *p = reinterpret_cast<const unsigned char *>(s.data());
    const auto *const end = p + s.size();
    if (s.size() >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return false;
    const auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        const ptrdiff_t left = end - p;
        if (c >= 0xC2 && c <= 0xDF) {
            if (left < 2 || !continuation(p[1]))
                return false;
            p += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            // E0 A0..BF (no overlong form), ED 80..9F (no surrogate).
            if (left < 3 || !continuation(p[1]) || !continuation(p[2]) || (c == 0xE0 && p[1] < 0xA0)
                || (c == 0xED && p[1] > 0x9F))
                return false;
            p += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            // F0 90..BF (no overlong form), F4 80..8F (up to U+10FFFF).
            if (left < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3]) || (c == 0xF0 && p[1] < 0x90)
                || (c == 0xF4 && p[1] > 0x8F))
                return false;
            p += 4;
        } else {
            return false;
        }
    }
    return true;
}

bool isDigitByte(char c) { return c >= '0' && c <= '9'; }

// A stored date yyyy-MM-dd that reads as a date and is written back as the
// same ten characters (a year of four digits from 1000 on).
bool isPlainIsoDate(std::string_view s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-' || s[0] == '0')
        return false;
    for (const size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!isDigitByte(s[i]))
            return false;
    const auto number = [&](size_t from, size_t length) {
        int n = 0;
        for (size_t i = from; i < from + length; ++i)
            n = n * 10 + (s[i] - '0');
        return n;
    };
    return QDate::isValid(number(0, 4), number(5, 2), number(8, 2));
}

template <typename Integer>
void appendNumber(QByteArray &out, Integer n) {
    char text[24];
    const std::to_chars_result r = std::to_chars(text, text + sizeof text, n);
    out.append(text, qsizetype(r.ptr - text));
}

// One cell of the export appended to `out`, the text it has always had
// (cellText of the cell as the cursor reads it, quoted as csvCell quotes
// it), written from the engine's own bytes or number without making a
// QVariant and a QString of it wherever those give the same text.
void appendCell(QByteArray &out, const data::StoredCells &row, int column, FieldType type) {
    if (row.isBlank(column))
        return;
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const std::string_view text = row.text(column);
        if (readsBackUnchanged(text))
            appendCsvCell(out, text);
        else
            appendCsvCell(out, row.value(column).toString().toUtf8());
        return;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc:
        // The cursor reads these fields as an int.
        appendNumber(out, static_cast<int>(row.integer(column)));
        return;
    case FieldType::Float:
    case FieldType::Currency: {
        char text[data::FloatTextSize];
        out.append(text, data::formatFloatTo(text, row.real(column)));
        return;
    }
    case FieldType::Boolean:
        out.append(row.integer(column) != 0 ? '1' : '0');
        return;
    case FieldType::Date: {
        const std::string_view text = row.text(column);
        if (isPlainIsoDate(text))
            out.append(text.data(), qsizetype(text.size()));
        else
            appendCsvCell(out, cellText(row.value(column), type).toUtf8());
        return;
    }
    }
    appendCsvCell(out, cellText(row.value(column), type).toUtf8());
}

// The bytes of an export gathered and handed on in large pieces, each of
// whole records: straight to the device of a stream that writes UTF-8 to
// one (after the text the stream holds), otherwise as text through the
// stream. A failed write sets the stream's status, as the stream's own
// writing would.
class ExportOutput {
public:
    explicit ExportOutput(QTextStream &out) : m_out(out), m_device(out.device()) {
        if (m_device && (out.encoding() != QStringConverter::Utf8 || out.generateByteOrderMark()))
            m_device = nullptr;
        if (m_device)
            m_out.flush();
        m_bytes.reserve(Piece + Piece / 4);
    }

    QByteArray &bytes() { return m_bytes; }

    // Hands the bytes on once they make a piece; false when writing failed.
    bool endRecord() { return m_bytes.size() < Piece || handOn(); }

    bool finish() {
        if (!handOn())
            return false;
        if (auto *file = qobject_cast<QFileDevice *>(m_device); file && !file->flush()) {
            m_out.setStatus(QTextStream::WriteFailed);
            return false;
        }
        return true;
    }

private:
    static constexpr qsizetype Piece = 64 * 1024;

    bool handOn() {
        if (m_out.status() != QTextStream::Ok)
            return false;
        if (m_device) {
            if (m_device->write(m_bytes) != m_bytes.size())
                m_out.setStatus(QTextStream::WriteFailed);
        } else {
            m_out << QString::fromUtf8(m_bytes);
        }
        m_bytes.resize(0);
        return m_out.status() == QTextStream::Ok;
    }

    QTextStream &m_out;
    QIODevice *m_device;
    QByteArray m_bytes;
};

// The forms a cell of a number or a date must have, checked by hand: they
// are met in every cell of a large file, where a regular expression costs
// more than the rest of the row. Digits are ASCII digits only.
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

qsizetype digitsFrom(const QString &s, qsizetype i) {
    qsizetype j = i;
    while (j < s.size() && isDigit(s[j]))
        ++j;
    return j - i;
}

qsizetype afterSign(const QString &s) {
    return !s.isEmpty() && (s[0] == QLatin1Char('+') || s[0] == QLatin1Char('-')) ? 1 : 0;
}

// [+-]?digits
bool isWholeNumber(const QString &s) {
    const qsizetype i = afterSign(s);
    const qsizetype n = digitsFrom(s, i);
    return n > 0 && i + n == s.size();
}

// [+-]?(digits(.digits?)?|.digits)([eE][+-]?digits)?
bool isDecimalNumber(const QString &s) {
    qsizetype i = afterSign(s);
    const qsizetype whole = digitsFrom(s, i);
    i += whole;
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        const qsizetype fraction = digitsFrom(s, i);
        if (whole == 0 && fraction == 0)
            return false;
        i += fraction;
    } else if (whole == 0) {
        return false;
    }
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            ++i;
        const qsizetype exponent = digitsFrom(s, i);
        if (exponent == 0)
            return false;
        i += exponent;
    }
    return i == s.size();
}

// dddd-dd-dd
bool isIsoDateForm(const QString &s) {
    return s.size() == 10 && digitsFrom(s, 0) == 4 && s[4] == QLatin1Char('-') && digitsFrom(s, 5) == 2
           && s[7] == QLatin1Char('-') && digitsFrom(s, 8) == 2;
}

// The value of a number of the form isDecimalNumber accepts (ASCII only).
// std::from_chars gives the nearest double as QString::toDouble does,
// without a conversion of the text of its own; a number beyond the range of
// a double (or a very long one) is left to Qt, which reads it as infinite or
// zero.
double decimalValue(const QString &s) {
    char bytes[64];
    if (s.size() < qsizetype(sizeof bytes)) {
        qsizetype n = 0;
        for (const QChar c : s)
            bytes[n++] = char(c.unicode());
        const char *from = bytes[0] == '+' ? bytes + 1 : bytes;
        double d = 0;
        const std::from_chars_result r = std::from_chars(from, bytes + n, d);
        if (r.ec == std::errc() && r.ptr == bytes + n)
            return d;
    }
    return s.toDouble();
}

// Why a cell does not fit its field.
struct CellFault {
    QString reason;
};

// The value of one cell for a field, read strictly by the file format (a
// comma in a number or a date as dd.MM.yyyy would be guesswork). Throws
// CellFault.
QVariant cellValue(const FieldDef &f, const QString &cell) {
    if (f.type == FieldType::Text || f.type == FieldType::Memo) {
        const qsizetype bad = data::forbiddenCharacterAt(cell, f.type == FieldType::Memo);
        if (bad >= 0)
            throw CellFault{QStringLiteral("tekst zawiera znak sterujący %1 (na pozycji %2), którego pole nie przyjmuje%3")
                                .arg(data::characterCode(cell[bad]))
                                .arg(data::characterCount(QStringView(cell).left(bad)) + 1)
                                .arg(f.type == FieldType::Memo ? QString()
                                                               : QStringLiteral("; tabulator i koniec wiersza "
                                                                                "przyjmują tylko pola typu memo"))};
        return cell.isEmpty() ? QVariant() : QVariant(cell);
    }
    const QString s = cell.trimmed();
    if (s.isEmpty())
        return QVariant();
    switch (f.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoInc: {
        if (!isWholeNumber(s))
            throw CellFault{QStringLiteral("%1 nie jest liczbą całkowitą").arg(quotedText(s))};
        bool ok = false;
        const qint64 n = s.toLongLong(&ok);
        const qint64 lo = f.type == FieldType::SmallInt ? -32768 : std::numeric_limits<qint32>::min();
        const qint64 hi = f.type == FieldType::SmallInt ? 32767 : std::numeric_limits<qint32>::max();
        if (!ok || n < lo || n > hi)
            throw CellFault{QStringLiteral("liczba %1 nie mieści się w polu typu %2 (dozwolone od %3 do %4)")
                .arg(s, data::fieldTypeName(f.type))
                .arg(lo)
                .arg(hi)};
        return n;
    }
    case FieldType::Float:
    case FieldType::Currency: {
        if (!isDecimalNumber(s)) {
            if (s.contains(QLatin1Char(',')))
                throw CellFault{QStringLiteral("%1 nie jest liczbą: separatorem dziesiętnym ma być kropka").arg(quotedText(s))};
            throw CellFault{QStringLiteral("%1 nie jest liczbą").arg(quotedText(s))};
        }
        const double d = decimalValue(s);
        if (!std::isfinite(d))
            throw CellFault{QStringLiteral("liczba %1 jest za duża").arg(s)};
        return d;
    }
    case FieldType::Date: {
        const QDate d = isIsoDateForm(s) ? QDate::fromString(s, Qt::ISODate) : QDate();
        if (!d.isValid())
            throw CellFault{QStringLiteral("%1 nie jest datą w postaci RRRR-MM-DD").arg(quotedText(s))};
        // A blank date is an empty cell; a date before the earliest one
        // (the zero date included) would be lost as a blank.
        if (d < data::earliestDate())
            throw CellFault{QStringLiteral("data %1 jest wcześniejsza niż %2, najwcześniejsza data, jaką przyjmuje pole; "
                                           "datę pustą zapisuje się jako pustą komórkę")
                                .arg(s, data::earliestDate().toString(Qt::ISODate))};
        return d;
    }
    case FieldType::Boolean: {
        const QString b = s.toLower();
        if (b == QLatin1String("1") || b == QLatin1String("true"))
            return true;
        if (b == QLatin1String("0") || b == QLatin1String("false"))
            return false;
        throw CellFault{QStringLiteral("%1 nie jest wartością logiczną (1, 0, true albo false)").arg(quotedText(s))};
    }
    case FieldType::Text:
    case FieldType::Memo: break;
    }
    return cell;
}

// Whether UTF-8 text ends inside a character: its last bytes are the start
// of a character of more bytes than follow it. A decoder reading piece by
// piece waits for the rest of such a character and never finds it wrong.
bool endsInsideACharacter(QByteArrayView tail) {
    int following = 0;  // continuation bytes at the end
    for (qsizetype i = tail.size() - 1; i >= 0 && following < 4; --i) {
        const auto c = static_cast<unsigned char>(tail[i]);
        if ((c & 0xC0) == 0x80) {
            ++following;
            continue;
        }
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return following + 1 < length;
    }
    return false;
}

// A file that must be UTF-8, checked whole before anything is read from it
// (a fault is told with its line), then read again from its start. Only a
// piece of the file is held at a time, decoded into one buffer used again.
void checkUtf8(QIODevice &file) {
    constexpr qint64 Piece = 64 * 1024;
    const auto rewind = [&] {
        if (!file.seek(0))
            throw ImportError(1, 0, QString(), QStringLiteral("nie można odczytać pliku od początku: ") + file.errorString());
    };
    bool bad = false;
    {
        QStringDecoder decoder(QStringDecoder::Utf8);
        std::vector<char> piece(static_cast<size_t>(Piece));
        std::vector<QChar> decoded;
        QByteArray tail;  // the last bytes read
        for (;;) {
            const qint64 n = file.read(piece.data(), Piece);
            if (n <= 0)
                break;
            const QByteArrayView bytes(piece.data(), n);
            decoded.resize(size_t(decoder.requiredSpace(n)));
            decoder.appendToBuffer(decoded.data(), bytes);
            if (decoder.hasError()) {
                bad = true;
                break;
            }
            tail = (tail + bytes.last(std::min<qsizetype>(n, 4)).toByteArray()).right(4);
        }
        // A character cut off by the end of the file.
        bad = bad || endsInsideACharacter(tail);
    }
    rewind();
    if (!bad)
        return;
    int line = 0;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine();
        ++line;
        QStringDecoder one(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = one.decode(text.endsWith('\n') ? text.chopped(1) : text);
        if (one.hasError())
            throw ImportError(line, 0, QString(), QStringLiteral("plik nie jest zapisany w kodowaniu UTF-8"));
    }
    throw ImportError(std::max(line, 1), 0, QString(), QStringLiteral("plik nie jest zapisany w kodowaniu UTF-8"));
}

}  // namespace

ImportError::ImportError(int line, int column, const QString &columnName, const QString &reason)
    : std::runtime_error(reason.toStdString()), m_line(line), m_column(column), m_reason(reason) {
    m_message = QStringLiteral("Wiersz %1").arg(line);
    if (column > 0) {
        m_message += QStringLiteral(", kolumna %1").arg(column);
        if (!columnName.isEmpty())
            m_message += QStringLiteral(" (%1)").arg(columnName);
    }
    m_message += QStringLiteral(": ") + reason;
}

int exportTableCsv(Database &db, const QString &table, QTextStream &out) {
    // One read transaction: the file is one state of the table, however
    // long the writing takes and whatever other processes commit meanwhile.
    data::ReadTransaction read(db);
    Table t(db, table);
    t.open();
    const QVector<FieldDef> &fields = t.storedDef().fields;
    ExportOutput output(out);
    QByteArray &bytes = output.bytes();
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            bytes.append(',');
        appendCsvCell(bytes, fields[i].name.toUtf8());
    }
    bytes.append("\r\n");
    bool written = output.endRecord();
    const int rows = !written ? 0 : data::scanStoredRows(t, [&](const data::StoredCells &row) {
        for (int i = 0; i < fields.size(); ++i) {
            if (i > 0)
                bytes.append(',');
            appendCell(bytes, row, i, fields[i].type);
        }
        bytes.append("\r\n");
        written = output.endRecord();
        return written;
    });
    if (written)
        output.finish();
    return rows;
}

ImportResult importTableCsv(Database &db, const QString &table, const QByteArray &content) {
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return importTableCsv(db, table, buffer);
}

ImportResult importTableCsv(Database &db, const QString &table, QIODevice &file) {
    checkUtf8(file);
    CsvReader reader(file);
    Table t(db, table);
    t.open();
    const QVector<FieldDef> fields = t.fieldDefs();
    ImportResult result;

    CsvRecord header;
    try {
        while (reader.next(header) && header.blank) {
        }
    } catch (const CsvError &e) {
        throw ImportError(e.line(), e.column(), QString(), e.message());
    }
    if (header.cells.isEmpty() || header.blank)
        throw ImportError(1, 0, QString(), QStringLiteral("plik jest pusty: brak wiersza nagłówka z nazwami pól"));

    // Column k of the file goes to field target[k] of the cursor, or nowhere (-1).
    QVector<int> target(header.cells.size(), -1);
    QVector<int> columnOfField(fields.size(), 0);
    for (int k = 0; k < header.cells.size(); ++k) {
        const QString name = header.cells[k].trimmed();
        if (name.isEmpty())
            throw ImportError(header.line, k + 1, QString(), QStringLiteral("kolumna bez nazwy pola w nagłówku"));
        const int f = t.fieldIndex(name);
        if (f < 0)
            throw ImportError(header.line, k + 1, name,
                              QStringLiteral("tabela %1 nie ma pola o tej nazwie").arg(t.tableName()));
        if (columnOfField[f] > 0)
            throw ImportError(header.line, k + 1, name,
                              QStringLiteral("pole %1 jest już w kolumnie %2").arg(fields[f].name).arg(columnOfField[f]));
        columnOfField[f] = k + 1;
        if (fields[f].type == FieldType::AutoInc)
            result.skippedColumns << fields[f].name;
        else
            target[k] = f;
    }
    for (int f = 0; f < fields.size(); ++f) {
        if (fields[f].required && fields[f].type != FieldType::AutoInc && columnOfField[f] == 0)
            throw ImportError(header.line, 0, QString(),
                              QStringLiteral("brak kolumny wymaganego pola %1").arg(fields[f].name));
    }

    // SQLite's own page cache: a larger one would be faster on a large file
    // but would make the memory of the import far more than its rows need.
    // The rows go in through one prepared statement of every stored field,
    // each value as the cursor would store it (Table::coerce, the rules of
    // entered values); the fields without a column and the autoinc field
    // stay blank, so the database numbers the rows.
    data::Transaction tx(db);
    data::RowWriter writer(db, t.tableName(), t.fieldNames());
    QVector<QVariant> values(fields.size());
    CsvRecord record;
    for (;;) {
        try {
            if (!reader.next(record))
                break;
        } catch (const CsvError &e) {
            throw ImportError(e.line(), e.column(), QString(), e.message());
        }
        if (record.blank)
            continue;
        if (record.cells.size() != header.cells.size())
            throw ImportError(record.line, 0, QString(),
                              QStringLiteral("wiersz ma %1 komórek, a nagłówek %2 kolumn")
                                  .arg(record.cells.size())
                                  .arg(header.cells.size()));
        values.fill(QVariant());
        for (int k = 0; k < record.cells.size(); ++k) {
            const int f = target[k];
            if (f < 0)
                continue;
            const FieldDef &def = fields[f];
            const QString &cell = record.cells[k];
            try {
                values[f] = Table::coerce(def, cellValue(def, cell));
            } catch (const CellFault &fault) {
                throw ImportError(record.line, k + 1, def.name, fault.reason);
            } catch (const core::DbError &e) {
                throw ImportError(record.line, k + 1, def.name, e.message());
            }
            if (def.type == FieldType::Text && def.size > 0 && data::characterCount(cell) > def.size) {
                if (result.cutTexts++ == 0) {
                    result.firstCutLine = record.line;
                    result.firstCutColumn = k + 1;
                }
            }
        }
        for (int f = 0; f < fields.size(); ++f) {
            const QVariant &v = values[f];
            if (fields[f].required && fields[f].type != FieldType::AutoInc && (!v.isValid() || v.isNull())) {
                const bool spaces = !record.cells.value(columnOfField[f] - 1).isEmpty();
                throw ImportError(record.line, columnOfField[f], fields[f].name,
                                  spaces ? QStringLiteral("pole wymagane nie może być puste (tekst z samych spacji "
                                                          "jest wartością pustą)")
                                         : QStringLiteral("pole wymagane nie może być puste"));
            }
        }
        try {
            writer.add(values);
        } catch (const core::DbError &e) {
            throw ImportError(record.line, 0, QString(), QStringLiteral("nie można zapisać wiersza: ") + e.message());
        }
        ++result.rows;
    }
    // A file that could not be read to its end is not imported in part.
    if (const auto *f = qobject_cast<const QFileDevice *>(&file); f && f->error() != QFileDevice::NoError)
        throw ImportError(record.line + 1, 0, QString(), QStringLiteral("nie można odczytać pliku: ") + f->errorString());
    tx.commit();
    return result;
}

}  // namespace varnel::cli
