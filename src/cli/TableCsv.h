#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

class QIODevice;
class QTextStream;

namespace varnel::data {
class Database;
}

namespace varnel::cli {

// Tables as CSV files: UTF-8, a header row of field names, dates as
// yyyy-MM-dd, numbers with a point, booleans as 1/0, an empty cell a blank.

// Writes every row of a stored table, all its fields in table order, in
// the order of its primary index, as one state of the table (one read
// transaction). Returns the number of rows written.
int exportTableCsv(varnel::data::Database &db, const QString &table, QTextStream &out);

// A file that cannot be imported: where and why. line and column count from
// 1; column is 0 when the fault is of a whole row.
class ImportError : public std::runtime_error {
public:
    ImportError(int line, int column, const QString &columnName, const QString &reason);
    int line() const { return m_line; }
    int column() const { return m_column; }
    const QString &reason() const { return m_reason; }
    // "Wiersz 3, kolumna 2 (Imie): <reason>"
    const QString &message() const { return m_message; }

private:
    int m_line;
    int m_column;
    QString m_reason;
    QString m_message;
};

struct ImportResult {
    int rows = 0;
    QStringList skippedColumns;  // autoinc columns: their numbers are given anew
    int cutTexts = 0;            // texts longer than their field, cut to its size
    int firstCutLine = 0;
    int firstCutColumn = 0;
};

// Appends the rows of a CSV file to a stored table through the table engine,
// so the field rules apply (text cut to its size in whole characters,
// numbers checked for range, required fields, no control characters, no date
// before 1.01.1900, a text of spaces only is a blank). Columns are matched to fields by header name without
// regard to case; the columns of an autoinc field are skipped. All rows or
// none: the first fault throws ImportError and no row of the file remains.
ImportResult importTableCsv(varnel::data::Database &db, const QString &table, const QByteArray &content);
// The same, reading the file from a device (from its start, which it must be
// able to seek back to) piece by piece: the memory it takes does not grow
// with the file.
ImportResult importTableCsv(varnel::data::Database &db, const QString &table, QIODevice &file);

}  // namespace varnel::cli
