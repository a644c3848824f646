#pragma once

#include <QDate>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data

namespace varnel::calc {

// The list of monthly archives, ArcLista: one entry per archived month, in
// the order of its key Data_Key (the first day of the month). This is the one
// place of the amount windows and the totals that reads it.
struct ArchiveEntry {
    QDate key;         // Data_Key
    QString fileName;  // FileName, e.g. "ar041999"
    QString dataStr;   // Data_str, e.g. "kwiecień 1999"
    double najnEmer = 0;
    double kosztKwh = 0;
};

// Every entry in month order.
QVector<ArchiveEntry> readArchiveList(data::Database &db);

// The first day of the month an archive table name "arMMYYYY" stands for;
// nothing when the name does not encode a month.
std::optional<QDate> archiveMonthOf(const QString &tableName);

// A cursor on ArcLista on its primary index, open.
std::unique_ptr<data::Table> openArchiveList(data::Database &db);

}  // namespace varnel::calc
