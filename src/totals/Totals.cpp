#include "totals/Totals.h"

#include "data/Aggregate.h"
#include "data/Database.h"
#include "data/Table.h"
#include "data/Values.h"
#include "lists/ListSettings.h"
#include "register/RegisterRules.h"

#include <map>

namespace varnel::totals {

namespace {

const QString Settings = QStringLiteral("skladlic");

QString csvCell(const QString &text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString dateText(const QDate &d) {
    return d.isValid() && d != QDate(1899, 12, 30) ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

// The managers of zarzadcy found by Opis on OpisNdx, each looked up once.
class Managers {
public:
    explicit Managers(data::Database &db) : m_table(db, QStringLiteral("zarzadcy")) {
        m_table.open();
        m_table.setIndexName(QStringLiteral("OpisNdx"));
        m_gminy = m_table.fieldIndex(QStringLiteral("Wlasn_gminy"));
    }
    // Wlasn_gminy of the manager, or nothing when the dictionary lacks it.
    std::optional<bool> find(const QString &opis) {
        const auto it = m_known.find(opis);
        if (it != m_known.end())
            return it->second;
        std::optional<bool> found;
        if (m_table.findKey({opis}))
            found = m_gminy >= 0 && m_table.field(m_gminy).asBoolean();
        m_known.emplace(opis, found);
        return found;
    }

private:
    data::Table m_table;
    int m_gminy = -1;
    std::map<QString, std::optional<bool>> m_known;
};

}  // namespace

QStringList kogoItems() { return lists::kogoItems(); }

QStringList wzorItems() {
    return {QStringLiteral("automatycznie"), QStringLiteral("wg wzoru:  0 dk + 0,7 dp"),
            QStringLiteral("wg wzoru:  0,2 dk + 0,5 dp"), QStringLiteral("wg wzoru:  0,4 dk + 0,3 dp")};
}

TotalsOptions totalsOptionsOf(data::Table &t) {
    TotalsOptions o;
    o.kogo = t.field(QStringLiteral("Kogo")).asString();
    o.ctrlOkres = t.field(QStringLiteral("CtrlOkres")).asBoolean();
    o.dataPrzyslOd = t.field(QStringLiteral("DataPrzyslOd")).asDate();
    o.dataPrzyslDo = t.field(QStringLiteral("DataPrzyslDo")).asDate();
    o.wszyscy = t.field(QStringLiteral("Wszyscy")).asBoolean();
    o.dlaZarzadcy = t.field(QStringLiteral("DlaZarzadcy")).asString();
    o.liczDotacje = t.field(QStringLiteral("LiczDotacje")).asBoolean();
    o.wzor = t.field(QStringLiteral("Wzor")).asString();
    return o;
}

TotalsOptions readTotalsOptions(data::Database &db) {
    data::Table t(db, Settings);
    t.open();
    t.first();
    if (t.eof())
        return {};
    return totalsOptionsOf(t);
}

void setTotalsOptions(data::Table &t, const TotalsOptions &o) {
    t.field(QStringLiteral("Kogo")).setString(o.kogo);
    t.field(QStringLiteral("CtrlOkres")).setBoolean(o.ctrlOkres);
    t.field(QStringLiteral("DataPrzyslOd")).setDate(o.dataPrzyslOd);
    t.field(QStringLiteral("DataPrzyslDo")).setDate(o.dataPrzyslDo);
    t.field(QStringLiteral("Wszyscy")).setBoolean(o.wszyscy);
    t.field(QStringLiteral("DlaZarzadcy")).setString(o.dlaZarzadcy);
    t.field(QStringLiteral("LiczDotacje")).setBoolean(o.liczDotacje);
    t.field(QStringLiteral("Wzor")).setString(o.wzor);
}

void addTable(data::Database &db, const QString &table, const TotalsOptions &o, RunningTotals &totals,
              const RecordMessage &message) {
    using data::RowCondition;
    QVector<RowCondition> where;
    switch (lists::itemIndex(kogoItems(), o.kogo)) {
    case 0:
        break;
    case 1:
        where << RowCondition::positive(QStringLiteral("Wyplata_calosc"));
        break;
    case 2:
        where << RowCondition::positive(QStringLiteral("Wyplata_zarzadca"));
        break;
    case 3:
        where << RowCondition::positive(QStringLiteral("Wyplata_ryczalt"));
        break;
    default:
        return;  // no item chosen: nothing counts
    }
    if (!o.wszyscy)
        where << RowCondition::equalsText(QStringLiteral("Zarzadca"), o.dlaZarzadcy);
    if (o.ctrlOkres)
        where << RowCondition::dateBetween(QStringLiteral("Okres_od"), o.dataPrzyslOd, o.dataPrzyslDo);

    // One query: the count and the sums by status, per manager when the
    // demand needs the managers, else over the whole table.
    QStringList groupBy;
    if (o.liczDotacje)
        groupBy << QStringLiteral("Zarzadca");
    const QString calosc = QStringLiteral("Wyplata_calosc");
    const QString status = QStringLiteral("Status_lokalu");
    const QVector<data::GroupTotal> groups = data::totalsByGroup(
        db, table, where, groupBy,
        {{calosc, {}, {}},
         {calosc, status, QStringLiteral("komunalne")},
         {calosc, status, QStringLiteral("spółdzielcze")},
         {calosc, status, QStringLiteral("zakładowe")}});

    std::optional<Managers> managers;
    QStringList missing;  // the Zarzadca texts of no manager or an unknown one
    for (const data::GroupTotal &g : groups) {
        const qint64 amount = g.cents.value(0);
        totals.count += g.count;
        totals.suma += amount;
        totals.komunal += g.cents.value(1);
        totals.spoldz += g.cents.value(2);
        totals.zaklad += g.cents.value(3);
        // Any other status, letter case counting: "innych".
        totals.inne += amount - g.cents.value(1) - g.cents.value(2) - g.cents.value(3);
        if (!o.liczDotacje)
            continue;
        const QString &zarzadca = g.keys[0];
        if (zarzadca.isEmpty()) {
            totals.noManager = true;
            if (!missing.contains(zarzadca))
                missing << zarzadca;
            continue;
        }
        if (!managers)
            managers.emplace(db);
        if (const std::optional<bool> gminy = managers->find(zarzadca)) {
            (*gminy ? totals.dk : totals.dp) += amount;
        } else {
            totals.unknownManager = true;
            if (!missing.contains(zarzadca))
                missing << zarzadca;
        }
    }
    if (!message || missing.isEmpty())
        return;
    where << RowCondition::textIn(QStringLiteral("Zarzadca"), missing);
    data::forEachRowTexts(db, table, where,
                          {QStringLiteral("Nazwisko"), QStringLiteral("Imie"), QStringLiteral("Zarzadca")},
                          [&message](const QStringList &r) {
                              const QString who = reg::nazwIm(r[0], r[1]);
                              if (r[2].isEmpty())
                                  message(QStringLiteral("Brak zarządcy we wniosku: ") + who);
                              else
                                  message(QStringLiteral("Nie istniejący zarządca  ") + r[2] + QStringLiteral("  we wniosku: ") + who);
                          });
}

Statement finishStatement(const RunningTotals &t, const TotalsOptions &o) {
    Statement s;
    s.totals = t;
    s.liczDotacje = o.liczDotacje;
    if (o.liczDotacje && t.suma > 0) {
        // r = dk / Suma compared with 0.25 and 0.4 exactly: 4·dk < Suma and
        // 5·dk < 2·Suma on the sums in grosze.
        const Formula automatic = 4 * t.dk < t.suma ? Formula::Dp07
                                  : 5 * t.dk < 2 * t.suma ? Formula::Dk02Dp05
                                                          : Formula::Dk04Dp03;
        const int chosen = lists::itemIndex(wzorItems(), o.wzor);
        s.formula = chosen == 0 ? automatic : chosen > 0 ? Formula(chosen) : Formula::None;
        const double dk = double(t.dk) / 100.0;
        const double dp = double(t.dp) / 100.0;
        switch (s.formula) {
        case Formula::Dp07:
            s.dotacja = 0.7 * dp;
            break;
        case Formula::Dk02Dp05:
            s.dotacja = 0.2 * dk + 0.5 * dp;
            break;
        case Formula::Dk04Dp03:
            s.dotacja = 0.4 * dk + 0.3 * dp;
            break;
        case Formula::None:
            break;
        }
        s.demandComputed = s.formula != Formula::None;
        s.procent = double(t.dk) * 100.0 / double(t.suma);
        s.labelProc = QStringLiteral("tj ") + QString::asprintf("%3.2f", s.procent) + QStringLiteral(" %");
        // The label names the formula chosen, or for "automatycznie" the one
        // q = dk·100 / Suma gives (the same thresholds).
        switch (chosen == 0 ? automatic : s.formula) {
        case Formula::Dp07:
            s.labelDotacja = QStringLiteral("(0 dk + 0,7 dp)");
            break;
        case Formula::Dk02Dp05:
            s.labelDotacja = QStringLiteral("(0,2 dk + 0,5 dp)");
            break;
        case Formula::Dk04Dp03:
            s.labelDotacja = QStringLiteral("(0,4 dk + 0,3 dp)");
            break;
        case Formula::None:
            break;
        }
    }
    if (t.noManager)
        s.warnings << WarningNoManager;
    if (t.unknownManager)
        s.warnings << WarningUnknownManager;
    if (t.noManager || t.unknownManager)
        s.warnings << WarningDemand;
    return s;
}

QString formatAmount(qint64 cents) { return QString::asprintf("%8.2f", double(cents) / 100.0); }
QString formatAmount(double zloty) { return QString::asprintf("%8.2f", zloty); }
QString plainAmount(qint64 cents) { return QString::asprintf("%.2f", double(cents) / 100.0); }
QString plainAmount(double zloty) { return QString::asprintf("%.2f", zloty); }

QString monthCaption(const QString &tableName) {
    QString c = QStringLiteral("Zestawienie wydatków: ");
    if (tableName.compare(QLatin1String("Aktualne"), Qt::CaseInsensitive) == 0)
        return c + QStringLiteral("wnioski bieżące");
    const reg::ArchiveMonth m = reg::decodeArchiveName(tableName);
    return c + reg::monthName(m.month.value_or(0)) + QLatin1Char(' ') + m.yearText;
}

QString rangeCaption(const QDate &from, const QDate &to) {
    return QStringLiteral("Zest. wydatków: ") + QStringLiteral("  ") + reg::monthName(from.month()) + QLatin1Char(' ')
           + QString::number(from.year()) + QStringLiteral(" - ") + reg::monthName(to.month()) + QStringLiteral("  ")
           + QString::number(to.year());
}

QVector<calc::ArchiveEntry> rangeEntries(const QVector<calc::ArchiveEntry> &entries, const QDate &from, const QDate &to) {
    QVector<calc::ArchiveEntry> out;
    int i = 0;
    while (i < entries.size() && entries[i].key != from)
        ++i;
    for (; i < entries.size() && !(entries[i].key > to); ++i)
        out << entries[i];
    return out;
}

Statement computeStatement(data::Database &db, const QStringList &tables, const TotalsOptions &options,
                           const RecordMessage &message) {
    data::ReadTransaction read(db);
    RunningTotals totals;
    for (const QString &t : tables)
        addTable(db, t, options, totals, message);
    return finishStatement(totals, options);
}

QList<std::pair<QString, QString>> statementOptionLines(const TotalsOptions &o) {
    QList<std::pair<QString, QString>> lines;
    lines << std::pair(QStringLiteral("Lista:"), o.kogo.trimmed());
    lines << std::pair(QStringLiteral("Zarządca:"), o.wszyscy ? QStringLiteral("wszyscy") : o.dlaZarzadcy);
    lines << std::pair(QStringLiteral("Początek okresu przysługiwania:"),
                       o.ctrlOkres ? QStringLiteral("pomiędzy %1 a %2").arg(dateText(o.dataPrzyslOd), dateText(o.dataPrzyslDo))
                                   : QStringLiteral("bez ograniczenia"));
    lines << std::pair(QStringLiteral("Zapotrzebowanie na dotację:"), o.liczDotacje ? o.wzor : QStringLiteral("nie obliczano"));
    return lines;
}

QList<std::pair<QString, QString>> statementFigureLines(const Statement &s, bool padded) {
    const auto amount = [padded](qint64 cents) { return padded ? formatAmount(cents) : plainAmount(cents); };
    const RunningTotals &t = s.totals;
    QList<std::pair<QString, QString>> lines;
    lines << std::pair(QStringLiteral("Znaleziono wniosków:"), QString::number(t.count));
    lines << std::pair(QStringLiteral("Kwota przyzn. dodatków :"), amount(t.suma));
    lines << std::pair(QStringLiteral("komunalnych"), amount(t.komunal));
    lines << std::pair(QStringLiteral("spółdzielczych"), amount(t.spoldz));
    lines << std::pair(QStringLiteral("zakładowych"), amount(t.zaklad));
    lines << std::pair(QStringLiteral("innych"), amount(t.inne));
    if (s.liczDotacje) {
        lines << std::pair(QStringLiteral("(dk) suma we własności gminy:"), amount(t.dk));
        lines << std::pair(QStringLiteral("(dp) suma dla pozostałych:"), amount(t.dp));
        if (t.suma > 0) {
            lines << std::pair(QStringLiteral("udział dk:"), s.labelProc);
            lines << std::pair(QStringLiteral("dotacja: ") + s.labelDotacja,
                               padded ? formatAmount(s.dotacja) : plainAmount(s.dotacja));
        }
    }
    for (const QString &w : s.warnings)
        lines << std::pair(QStringLiteral("Uwaga:"), w);
    return lines;
}

QByteArray statementCsv(const QString &caption, const TotalsOptions &options, const Statement &statement) {
    QString out = QStringLiteral("pozycja,wartość\r\n");
    out += csvCell(QStringLiteral("Zestawienie")) + QLatin1Char(',') + csvCell(caption) + QStringLiteral("\r\n");
    for (const auto &[label, value] : statementOptionLines(options) + statementFigureLines(statement, false))
        out += csvCell(label) + QLatin1Char(',') + csvCell(value) + QStringLiteral("\r\n");
    return out.toUtf8();
}

}  // namespace varnel::totals
