#include "archive/ExpiredList.h"

#include "data/Database.h"
#include "data/RowWriter.h"
#include "data/Table.h"
#include "data/Values.h"
#include "data/Walk.h"

namespace varnel::archive {

using data::Table;

bool isCurrentPeriod(const QDate &od, const QDate &doDnia, const QDate &today) {
    const bool noStart = data::isBlankDate(od);
    const bool noEnd = data::isBlankDate(doDnia);
    if (noStart && noEnd)
        return false;
    return (noEnd || today <= doDnia) && (noStart || od <= today);
}

bool isListed(ExpiryFilter filter, const QDate &od, const QDate &doDnia, const QDate &today) {
    if (isCurrentPeriod(od, doDnia, today))
        return false;
    if (filter == ExpiryFilter::NotCurrentOnly)
        return !data::isBlankDate(od) || !data::isBlankDate(doDnia);
    return true;
}

data::TableDef expiredListDef(const data::TableDef &applications) {
    data::TableDef def = applications;
    def.name = ExpiredListTable;
    for (data::FieldDef &f : def.fields)
        if (f.type == data::FieldType::AutoInc)
            f.type = data::FieldType::Integer;
    return def;
}

void forEachExpired(Table &applications, ExpiryFilter filter, const QDate &today, core::Progress *progress,
                    const std::function<void(Table &applications)> &listed) {
    const data::Field od = applications.field(QStringLiteral("Okres_od"));
    const data::Field doDnia = applications.field(QStringLiteral("Okres_do"));
    data::WalkOptions options;
    options.progress = progress;
    data::walk(
        applications,
        [&](Table &t) {
            if (isListed(filter, od.asDate(), doDnia.asDate(), today))
                listed(t);
            return true;
        },
        options);
}

int buildExpiredList(Table &applications, ExpiryFilter filter, const QDate &today, core::Progress *progress) {
    data::Database &db = applications.database();
    data::Transaction tx(db);
    const data::TableDef def = expiredListDef(db.tableDef(applications.tableName()));
    db.createTable(def);

    // Every field into the field of the same name; NrEw keeps the number.
    QStringList names;
    QVector<int> from;
    for (const data::FieldDef &f : def.fields) {
        const int i = applications.fieldIndex(f.name);
        if (i < 0 || applications.isCalculated(i))
            continue;
        names << f.name;
        from << i;
    }
    data::RowWriter list(db, ExpiredListTable, names);
    QVector<QVariant> row(names.size());
    forEachExpired(applications, filter, today, progress, [&](Table &t) {
        for (int k = 0; k < from.size(); ++k)
            row[k] = t.value(from[k]);
        list.add(row);
    });
    const int count = list.count();
    tx.commit();
    return count;
}

int deleteExpired(Table &applications, ExpiryFilter filter, const QDate &today, core::Progress *progress,
                  const std::function<void(Table &applications)> &deleted) {
    int count = 0;
    forEachExpired(applications, filter, today, progress, [&](Table &t) {
        if (deleted)
            deleted(t);
        t.remove();
        ++count;
    });
    return count;
}

DeletionResult deleteListed(Table &list, Table &applications, core::Progress *progress,
                            const std::function<void(qint64 nrEw)> &missing) {
    if (&list.database() != &applications.database())
        throw core::DbError(QStringLiteral("The list and the applications must be on one connection"));
    DeletionResult r;
    applications.setIndexName(QString());  // the primary index: NrEw
    data::QuietControls quiet(applications);
    const data::Field nrEw = list.field(QStringLiteral("NrEw"));
    data::WalkOptions options;
    options.progress = progress;
    const data::WalkResult walked = data::walk(
        list,
        [&](Table &) {
            const qint64 nr = nrEw.asInteger();
            if (applications.findKey({QVariant(qlonglong(nr))})) {
                applications.remove();
                ++r.deleted;
            } else {
                r.missing << nr;
                if (missing)
                    missing(nr);
            }
            return true;
        },
        options);
    r.listed = walked.total;
    return r;
}

}  // namespace varnel::archive
