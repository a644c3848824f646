#include "data/Upgrade.h"

#include "data/Database.h"
#include "core/DbError.h"
#include "data/RowWriter.h"
#include "data/Table.h"
#include "core/Progress.h"
#include "data/Walk.h"

#include <cmath>
#include <functional>

namespace varnel::data {

namespace {

const QString WorkTable = QString::fromLatin1(UpgradeWorkTable);

// Writes the added fields of one row into `row` (the values of the work
// table's fields after the first), from position `first` on.
using FillAdded = std::function<void(Table &source, QVector<QVariant> &row, int first)>;

QString rebuild(Database &db, const QString &tableName, const QVector<FieldDef> &added, const FillAdded &fill,
                const QString &ending, core::Progress &progress) {
    // One transaction from the work table's creation to the last rename: the
    // table is either as it was or fully rebuilt, and the rows are written
    // without a flush each.
    Transaction tx(db);
    const TableDef def = db.tableDef(Database::tableNameOf(tableName));
    const QString name = def.name;  // the stored spelling

    TableDef work = def;
    work.name = WorkTable;
    work.fields += added;
    db.createTable(work);  // replaces a work table left by anything earlier

    {
        Table source(db, name);  // every stored field, in primary-key order
        source.open();
        // The first field is the autoincrement number: it is not written, so
        // the work table numbers the rows afresh in the order they are copied.
        QStringList names;
        for (int i = 1; i < work.fields.size(); ++i)
            names << work.fields[i].name;
        RowWriter target(db, WorkTable, names);
        const int stored = int(def.fields.size());
        QVector<QVariant> row(names.size());

        WalkOptions options;
        options.progress = &progress;
        walk(
            source,
            [&](Table &from) {
                for (int i = 1; i < stored; ++i)
                    row[i - 1] = from.value(i);
                fill(from, row, stored - 1);
                target.add(row);
                return true;
            },
            options);
    }

    const QString backup = freeBackupName(db, name + ending);
    db.renameTable(name, backup);
    db.renameTable(WorkTable, name);
    tx.commit();
    return backup;
}

FieldDef added(const char *name, FieldType type) { return FieldDef{QString::fromLatin1(name), type, 0, false}; }

}  // namespace

double roundTo4Places(double value) { return std::round(value * 10000.0) / 10000.0; }

QString freeBackupName(const Database &db, const QString &wanted) {
    if (!db.tableExists(wanted))
        return wanted;
    for (int n = 1;; ++n) {
        const QString name = wanted + QLatin1Char('_') + QString::number(n);
        if (!db.tableExists(name))
            return name;
    }
}

QString Upgrade1141(Database &db, const QString &tableName, bool withCaloscDoRak, double najnEmeryt,
                    double kosztKwh, core::Progress &progress) {
    QVector<FieldDef> fields;
    if (withCaloscDoRak)
        fields << added("Calosc_do_rak", FieldType::Boolean);
    fields << added("KosztKwh", FieldType::Float) << added("NajnEmeryt", FieldType::Currency);
    const double pension = roundTo4Places(najnEmeryt);
    return rebuild(
        db, tableName, fields,
        [&](Table &, QVector<QVariant> &row, int first) {
            int i = first;
            if (withCaloscDoRak)
                row[i++] = false;
            row[i++] = kosztKwh;
            row[i] = pension;
        },
        QStringLiteral("_1140"), progress);
}

QString Upgrade1152(Database &db, const QString &tableName, core::Progress &progress) {
    // The source is opened with every stored field: its field positions are
    // those of the stored layout.
    const TableDef def = db.tableDef(Database::tableNameOf(tableName));
    const int wheelchair = def.fieldIndex(QStringLiteral("Osoba_na_wozku"));
    if (wheelchair < 0)
        throw core::MissingFieldError(def.name, QStringLiteral("Osoba_na_wozku"));
    return rebuild(
        db, tableName, {added("IlOsobNaWozku", FieldType::SmallInt)},
        [&](Table &source, QVector<QVariant> &row, int first) {
            // Exactly "Tak": any other spelling counts as no wheelchair user.
            const bool tak = source.value(wheelchair).toString() == QLatin1String("Tak");
            row[first] = tak ? 1 : 0;
        },
        QStringLiteral("_1151"), progress);
}

QString Upgrade116Dane(Database &db, const QString &tableName, core::Progress &progress) {
    return rebuild(
        db, tableName, {added("WskProc", FieldType::SmallInt)},
        [](Table &, QVector<QVariant> &row, int first) { row[first] = 70; }, QStringLiteral("_1153"), progress);
}

QString Upgrade116Param(Database &db) {
    core::NoProgress none;
    return rebuild(
        db, QStringLiteral("param"), {added("WskaznikProc", FieldType::SmallInt)},
        [](Table &, QVector<QVariant> &row, int first) { row[first] = 70; }, QStringLiteral("_1153"), none);
}

}  // namespace varnel::data
