#include "lists/ListSettings.h"

#include "data/Table.h"
#include "data/Values.h"

namespace varnel::lists {

QStringList kogoItems() {
    return {QStringLiteral("Wszystkich"), QStringLiteral("Tylko z dodatkiem"), QStringLiteral("Z wypłatą dla zarządcy "),
            QStringLiteral("Z wyplatą ryczałtu")};
}

QStringList sortItems() { return {QStringLiteral("Alfabetycznie"), QStringLiteral("W/g n-ru decyzji")}; }

namespace {

QString withoutTrailingBlanks(QString s) {
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

}  // namespace

int itemIndex(const QStringList &items, const QString &chosen) {
    const QString c = withoutTrailingBlanks(chosen);
    for (int i = 0; i < items.size(); ++i)
        if (withoutTrailingBlanks(items[i]) == c)
            return i;
    return -1;
}

ListSettings readListSettings(data::Database &db) {
    data::Table t(db, QStringLiteral("skladlist"));
    t.open();
    t.first();
    if (t.eof())
        return ListSettings();
    return listSettingsOf(t);
}

ListSettings listSettingsOf(data::Table &t) {
    ListSettings s;
    s.kogo = t.field(QStringLiteral("Kogo")).asString();
    s.sort = t.field(QStringLiteral("Sort")).asString();
    s.ramki = t.field(QStringLiteral("WygladRamki")).asBoolean();
    s.nrStrony = t.field(QStringLiteral("WygladNrStrony")).asBoolean();
    s.podkrWiersz = t.field(QStringLiteral("PodkrWiersz")).asBoolean();
    s.wszyscy = t.field(QStringLiteral("Wszyscy")).asBoolean();
    s.dlaZarzadcy = t.field(QStringLiteral("DlaZarzadcy")).asString();
    s.ctrlOkres = t.field(QStringLiteral("CtrlOkres")).asBoolean();
    s.dataPrzyslOd = t.field(QStringLiteral("DataPrzyslOd")).asDate();
    s.dataPrzyslDo = t.field(QStringLiteral("DataPrzyslDo")).asDate();
    return s;
}

QStringList ListFooter::lines() const {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

ListFooter readListFooter(data::Database &db) {
    ListFooter f;
    data::Table t(db, QStringLiteral("param"));
    t.open();
    t.first();
    if (t.eof())
        return f;
    f.print = t.field(QStringLiteral("DrukujStopke")).asBoolean();
    f.text = t.field(QStringLiteral("Stopka")).asString();
    f.fontName = t.field(QStringLiteral("StopkaFontName")).asString();
    const qint64 size = t.field(QStringLiteral("StopkaFontHeight")).asInteger();
    f.fontSize = size > 0 ? int(size) : 10;
    return f;
}

bool isSelected(const ListSettings &s, data::Table &a) {
    switch (itemIndex(kogoItems(), s.kogo)) {
    case 0:
        break;
    case 1:
        if (!(a.field(QStringLiteral("Wyplata_calosc")).asFloat() > 0))
            return false;
        break;
    case 2:
        if (!(a.field(QStringLiteral("Wyplata_zarzadca")).asFloat() > 0))
            return false;
        break;
    case 3:
        if (!(a.field(QStringLiteral("Wyplata_ryczalt")).asFloat() > 0))
            return false;
        break;
    default:
        return false;
    }
    if (!s.wszyscy && a.field(QStringLiteral("Zarzadca")).asString() != s.dlaZarzadcy)
        return false;
    if (s.ctrlOkres) {
        const auto day = [](const QDate &d) { return data::isBlankDate(d) ? data::zeroDate() : d; };
        const QDate od = day(a.field(QStringLiteral("Okres_od")).asDate());
        if (od < day(s.dataPrzyslOd) || od > day(s.dataPrzyslDo))
            return false;
    }
    return true;
}

QString orderIndex(const ListSettings &s) {
    switch (itemIndex(sortItems(), s.sort)) {
    case 0:
        return QStringLiteral("NazwNdx");
    case 1:
        return QStringLiteral("NrDecNdx");
    default:
        return QString();
    }
}

}  // namespace varnel::lists
