#include "archive/ArchiveList.h"

#include "data/Database.h"
#include "data/Table.h"

namespace varnel::archive {

using data::Table;

const QStringList &monthNames() {
    static const QStringList names = {
        QStringLiteral("styczeń"),  QStringLiteral("luty"),     QStringLiteral("marzec"),
        QStringLiteral("kwiecień"), QStringLiteral("maj"),      QStringLiteral("czerwiec"),
        QStringLiteral("lipiec"),   QStringLiteral("sierpień"), QStringLiteral("wrzesień"),
        QStringLiteral("październik"), QStringLiteral("listopad"), QStringLiteral("grudzień"),
    };
    return names;
}

QString monthName(int month) { return month >= 1 && month <= 12 ? monthNames()[month - 1] : QStringLiteral("?"); }

QString monthText(int month, int year) { return monthName(month) + QLatin1Char(' ') + QString::number(year); }
QString monthText(const QDate &month) { return monthText(month.month(), month.year()); }

QString archiveTableName(int month, int year) {
    return QStringLiteral("ar%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(year, 4, 10, QLatin1Char('0'));
}
QString archiveTableName(const QDate &month) { return archiveTableName(month.month(), month.year()); }

namespace {

std::optional<int> number(const QString &text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::optional<double> amount(const data::Field &f) {
    return f.isNull() ? std::nullopt : std::optional<double>(f.asFloat());
}

QVariant amountValue(const std::optional<double> &v) { return v ? QVariant(*v) : QVariant(); }

}  // namespace

ArchiveMonth decodeArchiveName(const QString &tableName) {
    ArchiveMonth m;
    m.monthText = tableName.mid(2, 2);
    m.yearText = tableName.mid(4, 4);
    m.month = number(m.monthText);
    m.year = number(m.yearText);
    return m;
}

std::optional<QDate> monthOfArchiveName(const QString &tableName) {
    const ArchiveMonth m = decodeArchiveName(tableName);
    if (!m.month || !m.year)
        return std::nullopt;
    const QDate key(*m.year, *m.month, 1);
    return key.isValid() ? std::optional<QDate>(key) : std::nullopt;
}

std::unique_ptr<Table> openArchiveList(data::Database &db) {
    auto list = std::make_unique<Table>(db, ArchiveListTable);
    list->open();
    return list;
}

ArchiveEntry entryAt(Table &list) {
    ArchiveEntry e;
    e.key = list.field(QStringLiteral("Data_Key")).asDate();
    e.fileName = list.field(QStringLiteral("FileName")).asString();
    e.dataStr = list.field(QStringLiteral("Data_str")).asString();
    e.najnEmer = amount(list.field(QStringLiteral("NajnEmer")));
    e.kosztKwh = amount(list.field(QStringLiteral("KosztKwh")));
    return e;
}

QVector<ArchiveEntry> archiveEntries(data::Database &db) {
    Table list(db, ArchiveListTable);
    list.open();  // on its primary index: in month order
    QVector<ArchiveEntry> entries;
    entries.reserve(list.recordCount());
    for (list.first(); !list.eof(); list.next())
        entries << entryAt(list);
    return entries;
}

std::optional<ArchiveEntry> archiveEntry(data::Database &db, const QDate &month) {
    if (!month.isValid())
        return std::nullopt;
    Table list(db, ArchiveListTable);
    list.open();
    if (!list.findKey({QDate(month.year(), month.month(), 1)}))
        return std::nullopt;
    return entryAt(list);
}

void writeArchiveEntry(data::Database &db, const ArchiveEntry &entry) {
    const QDate key(entry.key.year(), entry.key.month(), 1);
    Table list(db, ArchiveListTable);
    list.open();
    if (list.findKey({key}))
        list.edit();
    else
        list.insert();
    list.field(QStringLiteral("Data_Key")).setDate(key);
    list.field(QStringLiteral("FileName")).setString(entry.fileName);
    list.field(QStringLiteral("Data_str")).setString(entry.dataStr);
    list.field(QStringLiteral("NajnEmer")).setVariant(amountValue(entry.najnEmer));
    list.field(QStringLiteral("KosztKwh")).setVariant(amountValue(entry.kosztKwh));
    list.post();
}

}  // namespace varnel::archive
