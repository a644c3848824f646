#include "data/Rebuild.h"

#include "core/DbError.h"
#include "data/Database.h"
#include "data/RowWriter.h"
#include "data/Table.h"
#include "data/Walk.h"

#include <QVector>

namespace varnel::data {

RebuildResult rebuildTable(Database &db, const QString &table, const TableDef &layout, const QString &workTable,
                           core::Progress *progress) {
    const TableDef old = db.tableDef(table);  // fails when the table is missing
    const QString work = Database::tableNameOf(workTable);
    if (old.name.compare(work, Qt::CaseInsensitive) == 0)
        throw core::DbError(QStringLiteral("Tabela %1 jest tabelą roboczą przebudowy i sama nie może być przebudowana.").arg(old.name));

    TableDef def = layout;
    def.name = work;
    // The work table gets its secondary indexes only under the table's name:
    // built once over all rows, and named after the table they belong to.
    TableDef bare = def;
    bare.indexes.clear();
    if (const IndexDef *pk = def.primaryIndex())
        bare.indexes << *pk;

    // Which stored field goes where.
    QVector<int> sources;
    QVector<FieldDef> targets;
    QStringList targetNames;
    for (int c = 0; c < old.fields.size(); ++c) {
        if (old.fields[c].type == FieldType::AutoInc)
            continue;
        const int j = def.fieldIndex(old.fields[c].name);
        if (j < 0 || def.fields[j].type == FieldType::AutoInc)
            continue;
        sources << c;
        targets << def.fields[j];
        targetNames << def.fields[j].name;
    }

    RebuildResult result;
    Transaction tx(db);
    db.createTable(bare);
    {
        Table source(db, old.name);
        source.open();
        RowWriter out(db, work, targetNames);
        WalkOptions options;
        options.progress = progress;
        QVector<QVariant> values(targets.size());
        const WalkResult walked = walk(
            source,
            [&](Table &t) {
                for (int k = 0; k < targets.size(); ++k) {
                    try {
                        values[k] = Table::coerce(targets[k], t.value(sources[k]));
                    } catch (const core::DbError &e) {
                        throw core::DbError(QStringLiteral("Tabela %1, rekord %2, pole %3: %4 (tabela pozostała bez zmian)")
                                                .arg(old.name)
                                                .arg(t.recNo())
                                                .arg(old.fields[sources[k]].name, e.message()));
                    }
                }
                out.add(values);
                return true;
            },
            options);
        if (walked.stopped) {
            result.stopped = true;
            return result;  // rolled back: the table stays as it was
        }
        result.rows = out.count();
    }
    db.deleteTable(old.name);
    db.renameTable(work, old.name);
    for (const IndexDef &ix : def.indexes)
        if (!ix.isPrimary())
            db.addIndex(old.name, ix);
    tx.commit();
    return result;
}

}  // namespace varnel::data
