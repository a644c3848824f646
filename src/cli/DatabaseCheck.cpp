#include "cli/DatabaseCheck.h"

#include "data/Database.h"
#include "data/Layouts.h"

#include <QRegularExpression>

namespace varnel::cli {

using data::FieldDef;
using data::IndexDef;
using data::TableDef;

namespace {

QString fieldText(const FieldDef &f) {
    QString s = data::fieldTypeName(f.type);
    if (f.type == data::FieldType::Text && f.size > 0)
        s += QStringLiteral("(%1)").arg(f.size);
    return s;
}

const FieldDef *findField(const TableDef &def, const QString &name) {
    const int i = def.fieldIndex(name);
    return i < 0 ? nullptr : &def.fields[i];
}

const IndexDef *findIndex(const TableDef &def, const IndexDef &like) {
    return like.isPrimary() ? def.primaryIndex() : def.index(like.name);
}

QString indexName(const IndexDef &ix) { return ix.isPrimary() ? QStringLiteral("główny") : ix.name; }

bool sameFields(const QStringList &a, const QStringList &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

void compareTable(CheckReport &report, const data::Database &db, const TableDef &expected, const QString &stored,
                  const QStringList &added, const QString &upgradedWhen) {
    bool older = false;
    const QStringList diffs = layoutDifferences(expected, db.tableDef(stored), added, older);
    for (const QString &d : diffs)
        report.findings << QStringLiteral("%1: %2").arg(stored, d);
    if (older && diffs.isEmpty())
        report.notes << QStringLiteral("%1: układ sprzed aktualizacji programu (bez pól dodanych później); %2.")
                            .arg(stored, upgradedWhen);
}

}  // namespace

QString indexOptionsText(unsigned options) {
    QStringList words;
    if (options & data::IndexPrimary)
        words << QStringLiteral("główny");
    if (options & data::IndexUnique)
        words << QStringLiteral("unikalny");
    if (options & data::IndexDescending)
        words << QStringLiteral("malejący");
    if (options & data::IndexCaseInsensitive)
        words << QStringLiteral("polski porządek bez względu na wielkość liter");
    return words.isEmpty() ? QStringLiteral("bez opcji") : words.join(QStringLiteral(", "));
}

bool isArchiveName(const QString &table) {
    static const QRegularExpression archive(QStringLiteral("^ar(0[1-9]|1[0-2])\\d{4}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return archive.match(table).hasMatch();
}

QStringList layoutDifferences(const TableDef &expected, const TableDef &stored, const QStringList &addedByUpgrades,
                              bool &olderLayout) {
    QStringList diffs;
    QStringList missing;
    for (const FieldDef &f : expected.fields)
        if (!findField(stored, f.name))
            missing << f.name;
    // Only a tail of the fields the upgrades added may be missing: the
    // upgrade steps add them in that order.
    olderLayout = false;
    if (!missing.isEmpty() && missing.size() <= addedByUpgrades.size()
        && sameFields(missing, addedByUpgrades.mid(addedByUpgrades.size() - missing.size())))
        olderLayout = true;
    if (!olderLayout)
        for (const QString &name : missing)
            diffs << QStringLiteral("brak pola %1 (%2)").arg(name, fieldText(*findField(expected, name)));

    QStringList storedOrder, expectedOrder;
    for (const FieldDef &f : stored.fields) {
        const FieldDef *e = findField(expected, f.name);
        if (!e) {
            diffs << QStringLiteral("pole %1 (%2), którego program nie zna").arg(f.name, fieldText(f));
            continue;
        }
        storedOrder << e->name;
        if (f.type != e->type || (f.type == data::FieldType::Text && f.size != e->size))
            diffs << QStringLiteral("pole %1: typ %2 zamiast %3").arg(e->name, fieldText(f), fieldText(*e));
        else if (f.required != e->required)
            diffs << QStringLiteral("pole %1: %2").arg(e->name, e->required ? QStringLiteral("nie jest wymagane, a powinno")
                                                                           : QStringLiteral("jest wymagane, a nie powinno"));
    }
    for (const FieldDef &f : expected.fields)
        if (storedOrder.contains(f.name))
            expectedOrder << f.name;
    if (storedOrder != expectedOrder)
        diffs << QStringLiteral("pola w innej kolejności: %1 zamiast %2")
                     .arg(storedOrder.join(QStringLiteral(", ")), expectedOrder.join(QStringLiteral(", ")));

    for (const IndexDef &ix : expected.indexes) {
        const IndexDef *s = findIndex(stored, ix);
        if (!s) {
            diffs << QStringLiteral("brak indeksu %1 (%2)").arg(indexName(ix), ix.fields.join(QStringLiteral(", ")));
            continue;
        }
        if (!sameFields(s->fields, ix.fields))
            diffs << QStringLiteral("indeks %1: pola %2 zamiast %3")
                         .arg(indexName(ix), s->fields.join(QStringLiteral(", ")), ix.fields.join(QStringLiteral(", ")));
        if (s->options != ix.options)
            diffs << QStringLiteral("indeks %1: %2 zamiast %3")
                         .arg(indexName(ix), indexOptionsText(s->options), indexOptionsText(ix.options));
    }
    for (const IndexDef &ix : stored.indexes)
        if (!findIndex(expected, ix))
            diffs << QStringLiteral("indeks %1 (%2), którego program nie zna").arg(indexName(ix), ix.fields.join(QStringLiteral(", ")));
    return diffs;
}

CheckReport checkDatabase(const data::Database &db) {
    CheckReport report;
    for (const QString &problem : db.integrityProblems())
        report.findings << QStringLiteral("spójność pliku: %1").arg(problem);

    const QStringList names = db.tableNames();
    auto storedName = [&](const QString &name) {
        for (const QString &n : names)
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return n;
        return QString();
    };
    for (const TableDef &expected : data::deliveredTables()) {
        const QString stored = storedName(expected.name);
        if (stored.isEmpty()) {
            report.findings << QStringLiteral("brak tabeli %1").arg(expected.name);
            continue;
        }
        ++report.tables;
        const bool application = expected.name == QLatin1String("Aktualne");
        const bool param = expected.name == QLatin1String("param");
        compareTable(report, db, expected, stored,
                     application ? data::applicationFieldsAddedByUpgrades()
                                 : (param ? data::paramFieldsAddedByUpgrades() : QStringList()),
                     QStringLiteral("program uaktualni ją przy najbliższym uruchomieniu"));
    }
    for (const QString &name : names) {
        if (!isArchiveName(name))
            continue;
        ++report.archives;
        compareTable(report, db, data::applicationTableDef(name), name, data::applicationFieldsAddedByUpgrades(),
                     QStringLiteral("program uaktualni je przy otwarciu archiwum"));
    }
    return report;
}

}  // namespace varnel::cli
