#include "calc/ArchiveList.h"

#include "data/Table.h"
#include "register/RegisterRules.h"

namespace varnel::calc {

std::unique_ptr<data::Table> openArchiveList(data::Database &db) {
    auto list = std::make_unique<data::Table>(db, QStringLiteral("ArcLista"));
    list->open();
    list->setIndexName(QString());
    return list;
}

QVector<ArchiveEntry> readArchiveList(data::Database &db) {
    std::unique_ptr<data::Table> list = openArchiveList(db);
    const int key = list->fieldIndex(QStringLiteral("Data_Key"));
    const int file = list->fieldIndex(QStringLiteral("FileName"));
    const int str = list->fieldIndex(QStringLiteral("Data_str"));
    const int emer = list->fieldIndex(QStringLiteral("NajnEmer"));
    const int kwh = list->fieldIndex(QStringLiteral("KosztKwh"));
    QVector<ArchiveEntry> out;
    for (list->first(); !list->eof(); list->next()) {
        ArchiveEntry e;
        e.key = list->field(key).asDate();
        e.fileName = list->field(file).asString();
        e.dataStr = list->field(str).asString();
        e.najnEmer = list->field(emer).asFloat();
        e.kosztKwh = list->field(kwh).asFloat();
        out << e;
    }
    return out;
}

std::optional<QDate> archiveMonthOf(const QString &tableName) {
    const reg::ArchiveMonth m = reg::decodeArchiveName(tableName);
    if (!m.month || !m.year)
        return std::nullopt;
    const QDate d(*m.year, *m.month, 1);
    if (!d.isValid())
        return std::nullopt;
    return d;
}

}  // namespace varnel::calc
