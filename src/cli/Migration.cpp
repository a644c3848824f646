#include "cli/Migration.h"

#include "cli/AdminTool.h"
#include "cli/OfficeDatabase.h"
#include "cli/ParadoxTable.h"
#include "core/DbError.h"
#include "core/Progress.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/RowWriter.h"
#include "data/Table.h"
#include "data/Upgrade.h"
#include "data/Values.h"
#include "lists/ExampleTemplates.h"
#include "templates/ExampleTemplate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace varnel::cli {

using data::Database;
using data::FieldDef;
using data::FieldType;
using data::TableDef;

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

// ---------------------------------------------------------------------------
// What the old directory holds

enum class Kind { Delivered, Archive, Other };

struct SourceTable {
    Kind kind = Kind::Other;
    QString name;  // the table's name in the new database
    TableDef target;  // the layout it gets (Delivered and Archive)
    std::unique_ptr<ParadoxTable> file;
};

// "ar" + month + year: a monthly archive of the register.
bool isArchiveName(const QString &base) {
    static const QRegularExpression re(QStringLiteral("^ar(0[1-9]|1[0-2])\\d{4}$"), QRegularExpression::CaseInsensitiveOption);
    return re.match(base).hasMatch();
}

// The order the tables are brought over in: the parameters first (their
// amounts go into upgraded applications), the archive list before the
// archives (their amounts), then the rest; tables of no known layout last.
int orderOf(const SourceTable &t) {
    if (t.kind == Kind::Other)
        return 9;
    if (t.kind == Kind::Archive)
        return 3;
    const QString n = t.name.toLower();
    if (n == QLatin1String("param"))
        return 0;
    if (n == QLatin1String("arclista"))
        return 1;
    if (n == QLatin1String("aktualne"))
        return 2;
    return 4;
}

// ---------------------------------------------------------------------------
// Values and the field rules

QString shownValue(const QVariant &v) {
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate: return data::formatDate(v.toDate());
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    case QMetaType::QTime: return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double: return data::formatFloat(v.toDouble());
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("prawda") : QStringLiteral("fałsz");
    case QMetaType::QByteArray: return QStringLiteral("(%1 B danych binarnych)").arg(v.toByteArray().size());
    default: break;
    }
    QString s = v.toString();
    s.replace(QLatin1String("\r\n"), QLatin1String("⏎")).replace(QLatin1Char('\n'), QLatin1String("⏎"));
    return s.size() > 80 ? s.left(77) + QStringLiteral("...") : s;
}

// A value read from the old file as the field of the new layout keeps it:
// the field rules of the table engine, and no date before 1900 (a date that
// early is a typing slip or a damaged value; the program reads dates up to
// 30.12.1899 as blank). `reason` is set when the value written is not the
// value read.
QVariant fitValue(const FieldDef &field, const QVariant &old, QString *reason) {
    reason->clear();
    if (!old.isValid() || old.isNull())
        return QVariant();
    QVariant v = old;
    if (old.typeId() == QMetaType::QByteArray) {
        *reason = u("dane binarne nie mają odpowiednika w polu %1: pole zostaje puste").arg(data::fieldTypeName(field.type));
        return QVariant();
    }
    if (field.type == FieldType::Date) {
        if (old.typeId() == QMetaType::LongLong) {  // a day number no calendar has
            *reason = u("niepoprawna data: pole zostaje puste");
            return QVariant();
        }
        if (old.typeId() == QMetaType::QDateTime) {
            v = old.toDateTime().date();
            if (old.toDateTime().time() != QTime(0, 0))
                *reason = u("pole daty nie przechowuje godziny: pominięto ją");
        }
        if (v.typeId() == QMetaType::QDate && v.toDate() < QDate(1900, 1, 1)) {
            *reason = u("data sprzed 1900 r.: pole zostaje puste");
            return QVariant();
        }
    } else if (old.typeId() == QMetaType::QDateTime || old.typeId() == QMetaType::QTime) {
        v = shownValue(old);
    }
    QVariant fitted;
    try {
        // A value brought over as it was stored: the rules for values typed
        // or imported anew (control characters refused...) do not apply.
        fitted = data::Table::coerce(field, v, data::ValueRules::Stored);
    } catch (const core::FieldValueError &) {
        switch (field.type) {
        case FieldType::SmallInt: *reason = u("liczba spoza zakresu pola (od -32768 do 32767): pole zostaje puste"); break;
        case FieldType::Integer:
        case FieldType::AutoInc: *reason = u("liczba spoza zakresu pola liczb całkowitych: pole zostaje puste"); break;
        default: *reason = u("wartość niepoprawna dla pola typu %1: pole zostaje puste").arg(data::fieldTypeName(field.type));
        }
        return QVariant();
    }
    if (!reason->isEmpty())
        return fitted;
    if (data::isTextual(field.type)) {
        const QString before = v.typeId() == QMetaType::QString ? v.toString() : fitted.toString();
        if (fitted.toString().size() < before.size())
            *reason = u("tekst dłuższy niż pole (%1 znaków): obcięty").arg(field.size);
    } else if (field.type == FieldType::SmallInt || field.type == FieldType::Integer || field.type == FieldType::AutoInc) {
        if (v.typeId() == QMetaType::Double && v.toDouble() != std::floor(v.toDouble()))
            *reason = u("pole liczb całkowitych: część ułamkowa zaokrąglona");
    }
    return fitted;
}

// The field of the new database for a field of an old table kept as stored.
bool storedField(const ParadoxField &f, bool singleAutoIncKey, FieldDef *out) {
    out->name = f.name;
    out->size = 0;
    out->required = false;
    switch (f.type) {
    case ParadoxType::Alpha: out->type = FieldType::Text; out->size = f.length; return true;
    case ParadoxType::Date: out->type = FieldType::Date; return true;
    case ParadoxType::Short: out->type = FieldType::SmallInt; return true;
    case ParadoxType::Long: out->type = FieldType::Integer; return true;
    case ParadoxType::AutoInc: out->type = singleAutoIncKey ? FieldType::AutoInc : FieldType::Integer; return true;
    case ParadoxType::Currency: out->type = FieldType::Currency; return true;
    case ParadoxType::Number:
    case ParadoxType::Bcd: out->type = FieldType::Float; return true;
    case ParadoxType::Logical: out->type = FieldType::Boolean; return true;
    case ParadoxType::Memo:
    case ParadoxType::FormattedMemo: out->type = FieldType::Memo; return true;
    case ParadoxType::Time: out->type = FieldType::Text; out->size = 8; return true;
    case ParadoxType::Timestamp: out->type = FieldType::Text; out->size = 19; return true;
    case ParadoxType::Binary:
    case ParadoxType::Bytes: return false;
    }
    return false;
}

QString paradoxTypeName(ParadoxType t) {
    switch (t) {
    case ParadoxType::Alpha: return QStringLiteral("alpha");
    case ParadoxType::Date: return QStringLiteral("date");
    case ParadoxType::Short: return QStringLiteral("short");
    case ParadoxType::Long: return QStringLiteral("long integer");
    case ParadoxType::Currency: return QStringLiteral("money");
    case ParadoxType::Number: return QStringLiteral("number");
    case ParadoxType::Logical: return QStringLiteral("logical");
    case ParadoxType::Memo: return QStringLiteral("memo");
    case ParadoxType::FormattedMemo: return QStringLiteral("formatted memo");
    case ParadoxType::Binary: return QStringLiteral("binary");
    case ParadoxType::Time: return QStringLiteral("time");
    case ParadoxType::Timestamp: return QStringLiteral("timestamp");
    case ParadoxType::AutoInc: return QStringLiteral("autoincrement");
    case ParadoxType::Bcd: return QStringLiteral("BCD");
    case ParadoxType::Bytes: return QStringLiteral("bytes");
    }
    return QString();
}

// ---------------------------------------------------------------------------
// Bringing one table over

class Migrator {
public:
    Migrator(Database &db, MigrationReport &report, const std::function<void(const QString &)> &say)
        : m_db(db), m_report(report), m_say(say) {}

    void run(SourceTable &source);

private:
    struct Plan {
        QVector<int> sourceOf;   // for each field of `layout`: the field of the old file
        TableDef layout;         // the fields the rows are first written with
        int autoIncField = -1;   // in layout
    };
    struct Step {
        QString name;            // "1.14.1 (pełna)"
        std::function<QString(const QString &table)> run;  // returns the backup name
    };

    Plan planFor(const SourceTable &source, const TableDef &target, MigratedTable &entry);
    QVector<Step> upgradeSteps(const SourceTable &source, const Plan &plan, MigratedTable &entry);
    QVector<qint64> writeRows(ParadoxTable &file, const QString &table, const Plan &plan, MigratedTable &entry);
    void copyRenumbered(const QString &from, const TableDef &target, const QVector<qint64> &ids);
    std::pair<double, double> amountsFor(const SourceTable &source, MigratedTable &entry);
    QString freeName(const QString &wanted) const;

    Database &m_db;
    MigrationReport &m_report;
    std::function<void(const QString &)> m_say;
};

QString Migrator::freeName(const QString &wanted) const { return data::freeBackupName(m_db, wanted); }

// Which fields of the old file go where. Fields the program does not know
// are left out (and said so); fields the program expects and the file lacks
// stay blank unless an upgrade step adds them.
Migrator::Plan Migrator::planFor(const SourceTable &source, const TableDef &target, MigratedTable &entry) {
    Plan plan;
    plan.layout.name = target.name;
    const ParadoxTable &file = *source.file;
    for (int i = 0; i < file.fields().size(); ++i) {
        const ParadoxField &f = file.fields()[i];
        const int t = target.fieldIndex(f.name);
        if (t < 0) {
            entry.notes << u("pole %1 (%2) nie należy do układu tabeli w programie: jego wartości nie przeniesiono")
                               .arg(f.name, paradoxTypeName(f.type));
            continue;
        }
        if (plan.layout.fieldIndex(f.name) >= 0)
            throw ParadoxError(u("%1: pole %2 występuje w pliku dwa razy").arg(file.fileName(), f.name));
        plan.sourceOf << i;
        plan.layout.fields << target.fields[t];
        if (target.fields[t].type == FieldType::AutoInc)
            plan.autoIncField = plan.layout.fields.size() - 1;
    }
    if (const data::IndexDef *pk = target.primaryIndex()) {
        bool all = true;
        for (const QString &k : pk->fields)
            all = all && plan.layout.fieldIndex(k) >= 0;
        if (all)
            plan.layout.indexes << *pk;
    }
    return plan;
}

// The program's own upgrade steps that the old layout needs, in the order
// the program would take them over successive starts.
QVector<Migrator::Step> Migrator::upgradeSteps(const SourceTable &source, const Plan &plan, MigratedTable &entry) {
    QVector<Step> steps;
    const auto has = [&](const char *field) { return plan.layout.fieldIndex(QString::fromLatin1(field)) >= 0; };
    if (source.name.compare(QLatin1String("param"), Qt::CaseInsensitive) == 0) {
        if (!has("WskaznikProc"))
            steps << Step{u("1.16 parametry (WskaznikProc 70)"), [this](const QString &) { return data::Upgrade116Param(m_db); }};
        return steps;
    }
    if (!(source.kind == Kind::Archive || source.name.compare(QLatin1String("Aktualne"), Qt::CaseInsensitive) == 0))
        return steps;
    core::NoProgress none;
    const bool needs1141 = !has("Calosc_do_rak") || !has("KosztKwh");
    if (needs1141) {
        const bool full = !has("Calosc_do_rak");
        const auto [pension, kwh] = amountsFor(source, entry);
        steps << Step{u("1.14.1 (%1; KosztKwh %2, NajnEmeryt %3)")
                          .arg(full ? u("pełna") : u("częściowa"), data::formatFloat(kwh),
                               data::formatFloat(data::roundTo4Places(pension))),
                      [this, full, pension, kwh](const QString &t) {
                          core::NoProgress p;
                          return data::Upgrade1141(m_db, t, full, pension, kwh, p);
                      }};
    }
    if (!has("IlOsobNaWozku"))
        steps << Step{u("1.15.2 (IlOsobNaWozku z Osoba_na_wozku)"), [this](const QString &t) {
                          core::NoProgress p;
                          return data::Upgrade1152(m_db, t, p);
                      }};
    if (!has("WskProc"))
        steps << Step{u("1.16 (WskProc 70)"), [this](const QString &t) {
                          core::NoProgress p;
                          return data::Upgrade116Dane(m_db, t, p);
                      }};
    return steps;
}

// The kWh cost and the lowest pension a 1.14.1 upgrade writes: for the
// register those of the parameter row, for an archive those its row in the
// archive list kept from the month's close.
std::pair<double, double> Migrator::amountsFor(const SourceTable &source, MigratedTable &entry) {
    if (source.kind == Kind::Archive) {
        data::Table list(m_db, QStringLiteral("ArcLista"));
        list.open();
        for (list.first(); !list.eof(); list.next()) {
            const QString file = Database::tableNameOf(list.field(QStringLiteral("FileName")).asString());
            if (file.compare(source.name, Qt::CaseInsensitive) == 0)
                return {list.field(QStringLiteral("NajnEmer")).asFloat(), list.field(QStringLiteral("KosztKwh")).asFloat()};
        }
        entry.notes << u("archiwum nie ma wiersza w ArcLista: aktualizacja 1.14.1 wpisała KosztKwh i NajnEmeryt równe 0");
        return {0.0, 0.0};
    }
    data::Table param(m_db, QStringLiteral("param"));
    param.open();
    param.first();
    if (param.eof()) {
        entry.notes << u("tabela param nie ma wiersza: aktualizacja 1.14.1 wpisała KosztKwh i NajnEmeryt równe 0");
        return {0.0, 0.0};
    }
    return {param.field(QStringLiteral("Min_emeryt")).asFloat(), param.field(QStringLiteral("Koszt_kwh")).asFloat()};
}

// Reads every record of the old file into `table` (whose layout is
// plan.layout), applying the field rules; returns the row ids written, in
// the order of the file. A required field left blank stops the migration
// with the list of every such record.
QVector<qint64> Migrator::writeRows(ParadoxTable &file, const QString &table, const Plan &plan, MigratedTable &entry) {
    QStringList names;
    for (const FieldDef &f : plan.layout.fields)
        names << f.name;
    data::RowWriter writer(m_db, table, names);
    const FieldDef *autoField = plan.autoIncField >= 0 ? &plan.layout.fields[plan.autoIncField] : nullptr;

    // Old fields that have no place in the new layout: their values are
    // counted as changed.
    QVector<int> dropped;
    for (int i = 0; i < file.fields().size(); ++i)
        if (!plan.sourceOf.contains(i))
            dropped << i;

    QVector<QVariant> raw;
    QVector<QVariant> row(plan.layout.fields.size());
    QVector<int> lossy;
    QVector<qint64> ids;
    ids.reserve(file.recordCount());
    QStringList missingRequired;
    QString reason;
    for (int r = 0; r < file.recordCount(); ++r) {
        file.read(r, raw, &lossy);
        ++entry.read;
        // The number the record is known by, for the report.
        const auto key = [&] {
            return autoField && raw[plan.sourceOf[plan.autoIncField]].isValid()
                       ? QStringLiteral("%1 %2").arg(autoField->name, raw[plan.sourceOf[plan.autoIncField]].toString())
                       : QString();
        };
        const auto changed = [&](const QString &field, const QVariant &before, const QVariant &after, const QString &why) {
            m_report.changes << ChangedValue{entry.table, r + 1, key(), field, shownValue(before), shownValue(after), why};
        };
        bool blankRequired = false;
        for (int c = 0; c < row.size(); ++c) {
            const int s = plan.sourceOf[c];
            const FieldDef &f = plan.layout.fields[c];
            row[c] = fitValue(f, raw[s], &reason);
            if (lossy.contains(s))
                changed(f.name, raw[s], row[c],
                        u("znak spoza strony kodowej %1 zastąpiono znakiem �").arg(file.codePage().name()));
            if (!reason.isEmpty())
                changed(f.name, raw[s], row[c], reason);
            if (f.required && !row[c].isValid()) {
                missingRequired << u("rekord %1%2: pole %3").arg(r + 1).arg(key().isEmpty() ? QString() : u(" (%1)").arg(key()), f.name);
                blankRequired = true;
            }
        }
        for (int s : dropped)
            if (raw[s].isValid())
                changed(file.fields()[s].name, raw[s], QVariant(), u("pole nie należy do układu tabeli: wartość pominięta"));
        if (blankRequired)
            continue;
        const qint64 id = writer.add(row);
        if (autoField && !row[plan.autoIncField].isValid())
            changed(autoField->name, QVariant(), QVariant(id), u("rekord bez numeru: nadano kolejny wolny numer"));
        ids << id;
    }
    if (!missingRequired.isEmpty())
        throw CommandError(u("tabela %1 (plik %2): pola wymagane w programie są puste, a program nie zapisze wniosku bez "
                             "nich. Uzupełnij je w starym systemie i powtórz przeniesienie:\n  %3")
                               .arg(entry.table, file.fileName(), missingRequired.join(QStringLiteral("\n  "))));
    return ids;
}

// Copies the rows of `from` in primary-key order into the table of `target`
// by field name. The upgrade steps numbered the rows afresh 1, 2, 3, ... in
// the same order, so the k-th row gets back the k-th of the numbers it had
// (`ids` ascending).
void Migrator::copyRenumbered(const QString &from, const TableDef &target, const QVector<qint64> &ids) {
    data::Table source(m_db, from);
    source.open();
    if (source.recordCount() != ids.size())
        throw core::DbError(u("%1: po aktualizacji jest %2 wierszy zamiast %3").arg(target.name).arg(source.recordCount()).arg(ids.size()));
    QStringList names;
    QVector<int> columns;
    int autoField = -1;
    for (const FieldDef &f : target.fields) {
        const int c = source.fieldIndex(f.name);
        if (c < 0 && f.type != FieldType::AutoInc)
            continue;
        if (f.type == FieldType::AutoInc)
            autoField = int(names.size());
        names << f.name;
        columns << c;
    }
    data::RowWriter writer(m_db, target.name, names);
    QVector<QVariant> row(names.size());
    int k = 0;
    for (source.first(); !source.eof(); source.next(), ++k) {
        for (int i = 0; i < row.size(); ++i)
            row[i] = i == autoField ? QVariant(ids[k]) : source.value(columns[i]);
        writer.add(row);
    }
}

void Migrator::run(SourceTable &source) {
    ParadoxTable &file = *source.file;
    MigratedTable entry;
    entry.file = file.fileName();
    entry.codePage = file.codePage().name();
    entry.unknownDriver = !file.knownDriver();
    entry.driver = file.recordedCodePage() > 0
                       ? u("strona kodowa %1, porządek sortowania 0x%2").arg(file.recordedCodePage()).arg(file.sortOrder(), 2, 16, QLatin1Char('0'))
                       : u("bez strony kodowej, porządek sortowania 0x%1").arg(file.sortOrder(), 2, 16, QLatin1Char('0'));
    if (m_say)
        m_say(u("%1: %2").arg(file.fileName(), polishCount(file.recordCount(), u("rekord"), u("rekordy"), u("rekordów"))));

    if (source.kind == Kind::Other) {
        // A table the program does not know (a backup of an upgrade, a work
        // table, a table of the office's own): kept as stored.
        TableDef def;
        def.name = freeName(source.name);
        entry.table = def.name;
        Plan plan;
        const bool autoKey = file.keyFieldCount() == 1 && !file.fields().isEmpty()
                             && file.fields().first().type == ParadoxType::AutoInc;
        for (int i = 0; i < file.fields().size(); ++i) {
            FieldDef f;
            if (!storedField(file.fields()[i], autoKey && i == 0, &f)) {
                entry.notes << u("pole %1 (%2) nie ma odpowiednika w bazie programu: jego wartości nie przeniesiono")
                                   .arg(file.fields()[i].name, paradoxTypeName(file.fields()[i].type));
                continue;
            }
            if (def.fieldIndex(f.name) >= 0)
                throw ParadoxError(u("%1: pole %2 występuje w pliku dwa razy").arg(file.fileName(), f.name));
            def.fields << f;
            plan.sourceOf << i;
            if (f.type == FieldType::AutoInc)
                plan.autoIncField = def.fields.size() - 1;
        }
        if (def.fields.isEmpty())
            throw ParadoxError(u("%1: tabela nie ma pól, które dałoby się przenieść").arg(file.fileName()));
        if (file.keyFieldCount() > 0) {
            data::IndexDef pk{QString(), {}, data::IndexPrimary | data::IndexUnique};
            for (int i = 0; i < file.keyFieldCount(); ++i)
                if (def.fieldIndex(file.fields()[i].name) >= 0)
                    pk.fields << file.fields()[i].name;
            if (!pk.fields.isEmpty())
                def.indexes << pk;
        }
        entry.notes << u("tabela spoza układu programu: przeniesiona w układzie pliku jako %1").arg(def.name);
        plan.layout = def;
        m_db.createTable(def);
        entry.written = int(writeRows(file, def.name, plan, entry).size());
        data::keepAutoIncAbove(m_db, def.name, file.autoIncCounter());
        m_report.tables << entry;
        return;
    }

    const TableDef &target = source.target;
    entry.table = target.name;
    Plan plan = planFor(source, target, entry);
    const QVector<Step> steps = upgradeSteps(source, plan, entry);
    for (const FieldDef &f : target.fields) {
        if (plan.layout.fieldIndex(f.name) >= 0)
            continue;
        bool added = false;
        for (const char *n : {"Calosc_do_rak", "KosztKwh", "NajnEmeryt", "IlOsobNaWozku", "WskProc", "WskaznikProc"})
            added = added || (!steps.isEmpty() && f.name == QLatin1String(n));
        if (!added)
            entry.notes << u("pole %1 nie występuje w starej tabeli: pozostaje puste").arg(f.name);
    }

    // The table is made anew without the starting rows of a new database and
    // without its secondary indexes: they are built once over all the rows,
    // which is much faster than keeping them up to date row by row.
    TableDef bare = target;
    bare.indexes.clear();
    if (const data::IndexDef *pk = target.primaryIndex())
        bare.indexes << *pk;
    m_db.createTable(bare);
    data::emptyTable(m_db, target.name);

    if (!steps.isEmpty() && (target.fields.first().type != FieldType::AutoInc || plan.autoIncField != 0))
        throw ParadoxError(u("%1: tabela w starszym układzie musi mieć pierwsze pole %2, a go nie ma")
                               .arg(file.fileName(), target.fields.first().name));
    if (steps.isEmpty()) {
        // The current layout: the rows go straight in, with their numbers.
        entry.written = int(writeRows(file, target.name, plan, entry).size());
    } else {
        const bool isParam = target.name.compare(QLatin1String("param"), Qt::CaseInsensitive) == 0;
        QString stage = isParam ? target.name : freeName(target.name + QStringLiteral("_przeniesienie"));
        // An older layout: written first in the layout of the file, brought
        // up to date by the program's own steps (which number the rows afresh
        // 1, 2, 3, ... in the order of their numbers), then given back the
        // numbers they had.
        if (isParam)
            m_db.deleteTable(target.name);  // the parameter step works on "param" itself
        m_db.createTable(TableDef{stage, plan.layout.fields, plan.layout.indexes});
        QVector<qint64> ids = writeRows(file, stage, plan, entry);
        std::sort(ids.begin(), ids.end());
        QStringList backups;
        for (const Step &step : steps) {
            backups << step.run(stage);
            entry.upgrades << step.name;
        }
        if (m_db.tableDef(stage).fields == target.fields) {
            // The steps gave the current layout itself (the usual case: the
            // old table had the fields of its time in the program's order):
            // the rebuilt table takes the place and gets its numbers back.
            if (!isParam) {
                m_db.deleteTable(target.name);
                m_db.renameTable(stage, target.name);
            }
            data::renumberRows(m_db, target.name, ids);
        } else {
            if (isParam) {
                const QString upgraded = freeName(QStringLiteral("param_przeniesienie"));
                m_db.renameTable(stage, upgraded);
                stage = upgraded;
                m_db.createTable(bare);
            }
            copyRenumbered(stage, target, ids);
            m_db.deleteTable(stage);
        }
        entry.written = int(ids.size());
        // The copies the steps keep of the old layout belong to this run
        // only: the old directory is the office's copy of the old tables.
        for (const QString &b : backups)
            m_db.deleteTable(b);
    }
    for (const data::IndexDef &ix : target.indexes)
        if (!ix.isPrimary())
            m_db.addIndex(target.name, ix);
    data::keepAutoIncAbove(m_db, target.name, file.autoIncCounter());
    m_report.tables << entry;
}

// ---------------------------------------------------------------------------
// The directory

QStringList filesWithSuffix(const QDir &dir, const QStringList &patterns) {
    return dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name);
}

std::vector<SourceTable> findTables(const QString &oldDir, MigrationReport &report) {
    const QDir dir(oldDir);
    QVector<TableDef> delivered = data::deliveredTables();
    std::vector<SourceTable> tables;
    std::map<QString, QString> seen;  // table name, lower case -> file
    for (const QString &name : filesWithSuffix(dir, {QStringLiteral("*.db")})) {
        const QString base = QFileInfo(name).completeBaseName();
        const QString lower = base.toLower();
        if (auto it = seen.find(lower); it != seen.end())
            throw CommandError(u("w katalogu %1 są dwa pliki jednej tabeli: %2 i %3 (program nie rozróżnia wielkości liter); "
                                 "zostaw jeden z nich")
                                   .arg(oldDir, it->second, name));
        seen[lower] = name;
        SourceTable t;
        for (const TableDef &d : delivered)
            if (d.name.compare(base, Qt::CaseInsensitive) == 0) {
                t.kind = Kind::Delivered;
                t.target = d;
                t.name = d.name;
            }
        if (t.kind == Kind::Other && isArchiveName(base)) {
            t.kind = Kind::Archive;
            t.name = base.toLower();
            t.target = data::applicationTableDef(t.name);
        }
        if (t.kind == Kind::Other)
            t.name = base;
        try {
            t.file = std::make_unique<ParadoxTable>(dir.filePath(name));
        } catch (const ParadoxError &e) {
            // A file of another program that merely ends in .db (Windows
            // keeps its picture caches in Thumbs.db) is passed over; a table
            // the program needs is not.
            if (t.kind == Kind::Other && e.notATable()) {
                report.skippedFiles << u("%1: %2").arg(name, e.message());
                continue;
            }
            throw;
        }
        tables.push_back(std::move(t));
    }
    std::stable_sort(tables.begin(), tables.end(),
                     [](const SourceTable &a, const SourceTable &b) { return orderOf(a) < orderOf(b); });
    for (const TableDef &d : delivered) {
        bool found = false;
        for (const SourceTable &t : tables)
            found = found || (t.kind == Kind::Delivered && t.name == d.name);
        if (!found)
            report.startingTables << d.name;
    }
    return tables;
}

// Copies the templates; `copied` gets every file made, for removal after a
// failure.
void copyTemplates(const QString &oldDir, const QString &newDir, MigrationReport &report, QStringList &copied) {
    const QDir from(oldDir);
    const QDir to(newDir);
    for (const QString &name : filesWithSuffix(from, {QStringLiteral("*.fmz"), QStringLiteral("*.lsa")})) {
        const QString target = to.filePath(name);
        // A starting template of the new database gives way to the office's own.
        if (QFileInfo::exists(target) && !QFile::remove(target))
            throw CommandError(u("nie można zastąpić pliku %1").arg(target));
        QFile source(from.filePath(name));
        if (!source.copy(target))
            throw CommandError(u("nie można skopiować szablonu %1 do %2: %3").arg(source.fileName(), newDir, source.errorString()));
        copied << target;
        report.templates << name;
    }
}

// Rows of the archive list whose archive table the old directory does not
// have: the program could not open them.
void noteArchivesWithoutTables(Database &db, MigrationReport &report) {
    data::Table list(db, QStringLiteral("ArcLista"));
    list.open();
    for (list.first(); !list.eof(); list.next()) {
        const QString file = Database::tableNameOf(list.field(QStringLiteral("FileName")).asString());
        if (!file.isEmpty() && !db.tableExists(file))
            report.notes << u("ArcLista: archiwum %1 (%2) jest na liście, ale jego tabeli nie ma w starym katalogu")
                                .arg(file, list.field(QStringLiteral("Data_str")).asString());
    }
}

void removeFiles(const QStringList &files) {
    for (const QString &f : files)
        QFile::remove(f);
}

}  // namespace

MigrationReport migrateOffice(const QString &oldDirectory, const QString &newDirectory,
                              const std::function<void(const QString &)> &say) {
    MigrationReport report;
    const QFileInfo oldInfo(oldDirectory);
    if (!oldInfo.isDir())
        throw CommandError(u("katalog starej bazy %1 nie istnieje").arg(oldDirectory));
    report.oldDirectory = oldInfo.canonicalFilePath();
    report.newDirectory = QFileInfo(newDirectory).absoluteFilePath();
    const QString newCanonical = QFileInfo(newDirectory).exists() ? QFileInfo(newDirectory).canonicalFilePath()
                                                                   : QDir::cleanPath(report.newDirectory);
    if (newCanonical == report.oldDirectory || newCanonical.startsWith(report.oldDirectory + QLatin1Char('/')))
        throw CommandError(u("nowa baza nie może powstać w katalogu starej bazy %1: stary katalog jest tylko czytany")
                               .arg(report.oldDirectory));
    const QFileInfo newInfo(report.newDirectory);
    if (newInfo.exists() && (!newInfo.isDir() || !QDir(report.newDirectory).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)))
        throw CommandError(u("katalog %1 nie jest pusty: nowa baza powstaje w nowym albo pustym katalogu").arg(report.newDirectory));
    const bool directoryExisted = newInfo.isDir();

    // Every table is opened and checked before anything is made.
    std::vector<SourceTable> tables;
    try {
        tables = findTables(report.oldDirectory, report);
    } catch (const ParadoxError &e) {
        throw CommandError(e.message() + u("\nNowej bazy nie utworzono."));
    }
    if (tables.empty())
        throw CommandError(u("w katalogu %1 nie ma tabel Paradoksu (plików *.DB)").arg(report.oldDirectory));

    QStringList copied;
    // After a failure: the database is gone already (its creation cleans up
    // after itself); the copied templates and a directory made for them go too.
    const auto cleanUp = [&] {
        removeFiles(copied);
        if (!directoryExisted && QDir(report.newDirectory).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            QDir().rmdir(report.newDirectory);
    };
    try {
        createOfficeDatabase(report.newDirectory, [&](Database &db) {
            Migrator migrator(db, report, say);
            for (SourceTable &t : tables) {
                try {
                    migrator.run(t);
                } catch (const core::DbError &e) {
                    throw CommandError(u("tabela %1 (plik %2): %3").arg(t.name, t.file->fileName(), e.message()));
                }
                t.file.reset();  // its files are closed as soon as it is read
            }
            noteArchivesWithoutTables(db, report);
            copyTemplates(report.oldDirectory, report.newDirectory, report, copied);
        });
    } catch (const ParadoxError &e) {
        cleanUp();
        throw CommandError(e.message() + u("\nNowej bazy nie utworzono."));
    } catch (const CommandError &e) {
        cleanUp();
        throw CommandError(e.message() + u("\nNowej bazy nie utworzono."));
    } catch (const core::DbError &e) {
        cleanUp();
        throw CommandError(e.message() + u("\nNowej bazy nie utworzono."));
    } catch (...) {
        cleanUp();
        throw;
    }
    // The office's own templates take the place of the examples a new
    // database starts with (a file of an example's name is the office's own
    // and stays).
    bool ownLists = false;
    bool ownDecisions = false;
    for (const QString &t : report.templates) {
        ownLists = ownLists || t.endsWith(QLatin1String(".lsa"), Qt::CaseInsensitive);
        ownDecisions = ownDecisions || t.endsWith(QLatin1String(".fmz"), Qt::CaseInsensitive);
    }
    if (ownLists) {
        lists::removeExampleListTemplates(report.newDirectory);
        report.notes << u("przykładowych szablonów list nowej bazy nie dodano: są szablony list ze starego katalogu");
    }
    if (ownDecisions) {
        templates::removeExampleDecision(report.newDirectory);
        report.notes << u("przykładowego szablonu decyzji nowej bazy nie dodano: są szablony decyzji ze starego katalogu");
    }
    return report;
}

void printMigrationReport(const MigrationReport &r, QTextStream &out) {
    out << u("Przeniesiono bazę danych z katalogu %1 do %2.\n\n").arg(r.oldDirectory, r.newDirectory);
    QList<QStringList> rows{{u("Tabela"), u("Plik"), u("Odczytano"), u("Zapisano"), u("Strona kodowa"), u("Aktualizacje")}};
    for (const MigratedTable &t : r.tables)
        rows << QStringList{t.table, t.file, QString::number(t.read), QString::number(t.written),
                            t.codePage + (t.unknownDriver ? u(" (!)") : QString()),
                            t.upgrades.isEmpty() ? u("-") : t.upgrades.join(QStringLiteral(", "))};
    QList<qsizetype> widths(rows.first().size(), 0);
    for (const QStringList &row : rows)
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        out << line << '\n';
    }

    QStringList notes;
    for (const MigratedTable &t : r.tables) {
        if (t.unknownDriver)
            notes << u("%1: nieznany sterownik języka (%2): teksty odczytano jako Windows-1250").arg(t.file, t.driver);
        for (const QString &n : t.notes)
            notes << u("%1: %2").arg(t.table, n);
    }
    if (!r.startingTables.isEmpty())
        notes << u("tabel %1 nie ma w starym katalogu: mają dane startowe nowej bazy").arg(r.startingTables.join(QStringLiteral(", ")));
    for (const QString &s : r.skippedFiles)
        notes << u("pominięto plik %1").arg(s);
    notes << r.notes;
    if (!notes.isEmpty()) {
        out << u("\nUwagi:\n");
        for (const QString &n : notes)
            out << u("  ") << n << '\n';
    }

    out << u("\nZmienione wartości: %1\n").arg(r.changes.size());
    for (const ChangedValue &c : r.changes)
        out << u("  %1, rekord %2%3, pole %4: „%5” → %6 (%7)\n")
                   .arg(c.table)
                   .arg(c.record)
                   .arg(c.key.isEmpty() ? QString() : u(" (%1)").arg(c.key), c.field, c.before,
                        c.after.isEmpty() ? u("puste") : u("„%1”").arg(c.after), c.reason);

    out << u("\nSzablony skopiowane bez zmian: %1\n")
               .arg(r.templates.isEmpty() ? u("brak") : u("%1 (%2)").arg(r.templates.size()).arg(r.templates.join(QStringLiteral(", "))));
}

}  // namespace varnel::cli
