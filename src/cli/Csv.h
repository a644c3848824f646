#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <stdexcept>
#include <string_view>

class QIODevice;
class QTextStream;

namespace varnel::cli {

// CSV as RFC 4180 writes it: cells separated by commas, a cell holding a
// comma, a quote or a line break enclosed in quotes, a quote inside doubled.
// Qt has no CSV reader, so this small one is our own.

// A malformed file, with the line (counted from 1, as an editor shows it)
// and the cell (counted from 1) where reading stopped.
class CsvError : public std::runtime_error {
public:
    CsvError(int line, int column, const QString &message);
    int line() const { return m_line; }
    int column() const { return m_column; }
    const QString &message() const { return m_message; }

private:
    int m_line;
    int m_column;
    QString m_message;
};

struct CsvRecord {
    int line = 0;        // line of the file where the record starts
    QStringList cells;
    bool blank = false;  // an empty line: one empty cell and nothing else
};

// Reads records one by one from the whole text of a file. Line breaks may be
// CRLF, LF or CR; a line break inside a quoted cell belongs to the cell.
class CsvReader {
public:
    explicit CsvReader(const QString &text);
    // Reads the UTF-8 text of a device piece by piece, holding no more of it
    // than the record being read (the device must outlive the reader).
    explicit CsvReader(QIODevice &device);
    // The next record; false at the end of the text. Throws CsvError.
    bool next(CsvRecord &record);

private:
    bool atLineBreak() const;
    void skipLineBreak();
    bool refill();
    bool have(qsizetype n);

    QIODevice *m_device = nullptr;
    QStringDecoder m_decoder;
    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// A cell as it is written: quoted only when it has to be.
QString csvCell(const QString &value);
// The same cell for a text given as UTF-8 bytes, appended to `out` as bytes.
void appendCsvCell(QByteArray &out, std::string_view utf8);
inline void appendCsvCell(QByteArray &out, const QByteArray &utf8) {
    appendCsvCell(out, std::string_view(utf8.constData(), size_t(utf8.size())));
}
// Writes one record ended by CRLF.
void writeCsvRecord(QTextStream &out, const QStringList &cells);

}  // namespace varnel::cli
