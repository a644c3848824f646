#include "cli/Csv.h"

#include <QTextStream>

namespace varnel::cli {

CsvError::CsvError(int line, int column, const QString &message)
    : std::runtime_error(message.toStdString()), m_line(line), m_column(column), m_message(message) {}

CsvReader::CsvReader(const QString &text) : m_text(text) {}

bool CsvReader::atLineBreak() const {
    const QChar c = m_text.at(m_pos);
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

void CsvReader::skipLineBreak() {
    if (m_text.at(m_pos) == QLatin1Char('\r') && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('\n'))
        ++m_pos;
    ++m_pos;
    ++m_line;
}

bool CsvReader::next(CsvRecord &record) {
    const qsizetype size = m_text.size();
    if (m_pos >= size)
        return false;
    record.line = m_line;
    record.cells.clear();
    record.blank = atLineBreak();

    const QChar quote = QLatin1Char('"');
    const QChar comma = QLatin1Char(',');
    for (;;) {
        QString cell;
        const int column = int(record.cells.size()) + 1;
        if (m_pos < size && m_text.at(m_pos) == quote) {
            const int startLine = m_line;
            ++m_pos;
            for (;;) {
                if (m_pos >= size)
                    throw CsvError(startLine, column,
                                   QStringLiteral("cudzysłów otwarty w tym miejscu nie został zamknięty do końca pliku"));
                const QChar c = m_text.at(m_pos);
                if (c == quote) {
                    if (m_pos + 1 < size && m_text.at(m_pos + 1) == quote) {
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
            if (m_pos < size && m_text.at(m_pos) != comma && !atLineBreak())
                throw CsvError(m_line, column,
                               QStringLiteral("po zamykającym cudzysłowie oczekiwano przecinka albo końca wiersza"));
        } else {
            const qsizetype from = m_pos;
            while (m_pos < size && m_text.at(m_pos) != comma && !atLineBreak()) {
                if (m_text.at(m_pos) == quote)
                    throw CsvError(m_line, column,
                                   QStringLiteral("cudzysłów wewnątrz komórki, która nie jest ujęta w cudzysłów "
                                                  "(taką komórkę trzeba ująć w cudzysłów, a cudzysłów w niej podwoić)"));
                ++m_pos;
            }
            cell = m_text.mid(from, m_pos - from);
        }
        record.cells << cell;
        if (m_pos >= size)
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

void writeCsvRecord(QTextStream &out, const QStringList &cells) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out << ',';
        out << csvCell(cells[i]);
    }
    out << "\r\n";
}

}  // namespace varnel::cli
