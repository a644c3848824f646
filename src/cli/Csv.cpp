#include "cli/Csv.h"

#include <QIODevice>
#include <QTextStream>

namespace varnel::cli {

CsvError::CsvError(int line, int column, const QString &message)
    : std::runtime_error(message.toStdString()), m_line(line), m_column(column), m_message(message) {}

CsvReader::CsvReader(const QString &text) : m_text(text) {}

CsvReader::CsvReader(QIODevice &device) : m_device(&device), m_decoder(QStringDecoder::Utf8) {}

// Reads the next piece of the file onto the end of the text; false at its end.
bool CsvReader::refill() {
    if (!m_device)
        return false;
    constexpr qint64 Piece = 64 * 1024;
    const QByteArray bytes = m_device->read(Piece);
    if (bytes.isEmpty())
        return false;
    m_text += m_decoder.decode(bytes);
    return true;
}

// Whether the text holds n more characters from the position on, reading
// further pieces of the file as needed.
bool CsvReader::have(qsizetype n) {
    while (m_pos + n > m_text.size())
        if (!refill())
            return false;
    return true;
}

bool CsvReader::atLineBreak() const {
    const QChar c = m_text.at(m_pos);
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

void CsvReader::skipLineBreak() {
    if (m_text.at(m_pos) == QLatin1Char('\r') && have(2) && m_text.at(m_pos + 1) == QLatin1Char('\n'))
        ++m_pos;
    ++m_pos;
    ++m_line;
}

bool CsvReader::next(CsvRecord &record) {
    // A file read piece by piece keeps only what is not read yet (dropped
    // once it is more than half the text, so each character moves at most
    // once or twice).
    if (m_device && m_pos > 4096 && m_pos >= m_text.size() / 2) {
        m_text.remove(0, m_pos);
        m_pos = 0;
    }
    if (!have(1))
        return false;
    record.line = m_line;
    record.cells.clear();
    record.blank = atLineBreak();

    const QChar quote = QLatin1Char('"');
    const QChar comma = QLatin1Char(',');
    for (;;) {
        QString cell;
        const int column = int(record.cells.size()) + 1;
        if (have(1) && m_text.at(m_pos) == quote) {
            const int startLine = m_line;
            ++m_pos;
            for (;;) {
                if (!have(1))
                    throw CsvError(startLine, column,
                                   QStringLiteral("cudzysłów otwarty w tym miejscu nie został zamknięty do końca pliku"));
                // The characters up to a quote or a line break go in at once.
                const QChar *text = m_text.constData();
                qsizetype end = m_pos;
                while (end < m_text.size() && text[end] != quote && text[end] != QLatin1Char('\r')
                       && text[end] != QLatin1Char('\n'))
                    ++end;
                if (end > m_pos) {
                    cell.append(text + m_pos, end - m_pos);
                    m_pos = end;
                    continue;
                }
                const QChar c = m_text.at(m_pos);
                if (c == quote) {
                    if (have(2) && m_text.at(m_pos + 1) == quote) {
                        cell += quote;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                    // Kept as it stands; only the line count follows it.
                    const qsizetype from = m_pos;
                    skipLineBreak();
                    cell += m_text.mid(from, m_pos - from);
                    continue;
                }
                cell += c;
                ++m_pos;
            }
            if (have(1) && m_text.at(m_pos) != comma && !atLineBreak())
                throw CsvError(m_line, column,
                               QStringLiteral("po zamykającym cudzysłowie oczekiwano przecinka albo końca wiersza"));
        } else {
            const qsizetype from = m_pos;
            // To the end of the cell, reading further pieces as needed (the
            // text only grows meanwhile: `from` stays where it was).
            for (;;) {
                const QChar *text = m_text.constData();
                const qsizetype size = m_text.size();
                while (m_pos < size && text[m_pos] != comma && text[m_pos] != QLatin1Char('\n')
                       && text[m_pos] != QLatin1Char('\r')) {
                    if (text[m_pos] == quote)
                        throw CsvError(m_line, column,
                                       QStringLiteral("cudzysłów wewnątrz komórki, która nie jest ujęta w cudzysłów "
                                                      "(taką komórkę trzeba ująć w cudzysłów, a cudzysłów w niej podwoić)"));
                    ++m_pos;
                }
                if (m_pos < size || !refill())
                    break;
            }
            cell = m_text.mid(from, m_pos - from);
        }
        record.cells << cell;
        if (!have(1))
            return true;
        if (m_text.at(m_pos) == comma) {
            ++m_pos;
            continue;
        }
        skipLineBreak();
        return true;
    }
}

QString csvCell(const QString &value) {
    bool needsQuotes = false;
    for (const QChar c : value) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return value;
    QString s = value;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void appendCsvCell(QByteArray &out, std::string_view utf8) {
    // The bytes of the characters that call for quotes are never part of a
    // character of several bytes in UTF-8.
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(utf8.data(), qsizetype(utf8.size()));
        return;
    }
    out.append('"');
    for (size_t from = 0;;) {
        const size_t quote = utf8.find('"', from);
        if (quote == std::string_view::npos) {
            out.append(utf8.data() + from, qsizetype(utf8.size() - from));
            break;
        }
        out.append(utf8.data() + from, qsizetype(quote + 1 - from));
        out.append('"');
        from = quote + 1;
    }
    out.append('"');
}

void writeCsvRecord(QTextStream &out, const QStringList &cells) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out << ',';
        out << csvCell(cells[i]);
    }
    out << "\r\n";
}

}  // namespace varnel::cli
