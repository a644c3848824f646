#include "cli/TableCsv.h"

#include "cli/Csv.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "data/Table.h"
#include "data/Values.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextStream>
#include <cmath>
#include <limits>

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
        static const QRegularExpression whole(QStringLiteral(R"(^[+-]?\d+$)"));
        if (!whole.match(s).hasMatch())
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
        static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?$)"));
        if (!number.match(s).hasMatch()) {
            if (s.contains(QLatin1Char(',')))
                throw CellFault{QStringLiteral("%1 nie jest liczbą: separatorem dziesiętnym ma być kropka").arg(quotedText(s))};
            throw CellFault{QStringLiteral("%1 nie jest liczbą").arg(quotedText(s))};
        }
        const double d = s.toDouble();
        if (!std::isfinite(d))
            throw CellFault{QStringLiteral("liczba %1 jest za duża").arg(s)};
        return d;
    }
    case FieldType::Date: {
        static const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d{2}-\d{2}$)"));
        const QDate d = iso.match(s).hasMatch() ? QDate::fromString(s, Qt::ISODate) : QDate();
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

// The text of a file that must be UTF-8; a fault is told with its line.
QString decodeUtf8(const QByteArray &content) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(content);
    if (!decoder.hasError())
        return text;
    const QList<QByteArray> lines = content.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder one(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = one.decode(lines[i]);  // decoding happens on conversion to QString
        if (one.hasError())
            throw ImportError(i + 1, 0, QString(), QStringLiteral("plik nie jest zapisany w kodowaniu UTF-8"));
    }
    throw ImportError(int(lines.size()), 0, QString(), QStringLiteral("plik nie jest zapisany w kodowaniu UTF-8"));
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
    const QVector<FieldDef> fields = t.fieldDefs();
    writeCsvRecord(out, t.fieldNames());
    int rows = 0;
    QStringList cells;
    for (t.first(); !t.eof(); t.next()) {
        cells.clear();
        for (int i = 0; i < fields.size(); ++i)
            cells << cellText(t.value(i), fields[i].type);
        writeCsvRecord(out, cells);
        ++rows;
    }
    return rows;
}

ImportResult importTableCsv(Database &db, const QString &table, const QByteArray &content) {
    CsvReader reader(decodeUtf8(content));
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

    data::Transaction tx(db);
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
        t.insert();
        for (int k = 0; k < record.cells.size(); ++k) {
            const int f = target[k];
            if (f < 0)
                continue;
            const FieldDef &def = fields[f];
            const QString &cell = record.cells[k];
            try {
                t.setValue(f, cellValue(def, cell));
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
            if (fields[f].required && fields[f].type != FieldType::AutoInc && t.field(f).isNull()) {
                const bool spaces = !record.cells.value(columnOfField[f] - 1).isEmpty();
                throw ImportError(record.line, columnOfField[f], fields[f].name,
                                  spaces ? QStringLiteral("pole wymagane nie może być puste (tekst z samych spacji "
                                                          "jest wartością pustą)")
                                         : QStringLiteral("pole wymagane nie może być puste"));
            }
        }
        try {
            t.post();
        } catch (const core::DbError &e) {
            throw ImportError(record.line, 0, QString(), QStringLiteral("nie można zapisać wiersza: ") + e.message());
        }
        ++result.rows;
    }
    tx.commit();
    return result;
}

}  // namespace varnel::cli
