#include "lists/ListItems.h"

namespace varnel::lists {

namespace {

struct Item {
    const char *name;
    bool summable;
};

const Item Items[] = {
    {"Adres", false},
    {"Czynsz", true},
    {"Czynsz wg pow.", true},
    {"Czynsz/pow.", true},
    {"Data urodz.", false},
    {"Data złoż. wniosku", false},
    {"Dochód na osobę", true},
    {"Dzisiejsza data", false},
    {"Imię", false},
    {"Koszt kWh", false},
    {"Liczba osób", true},
    {"Lp.", false},
    {"Łączny dochód", true},
    {"Nazwisko", false},
    {"Nazwisko i imię", false},
    {"Nr wniosku", false},
    {"Okres - do", false},
    {"Okres - od", false},
    {"Podpis", false},
    {"Pow. max.", true},
    {"Pow. normatywna", true},
    {"Pow. użytkowa", true},
    {"Pow.lok. lub pow.normat.", true},
    {"Ryczałt CO", true},
    {"Ryczałt CW", true},
    {"Termin płatn.", false},
    {"Uwagi", false},
    {"Wydatki mieszk. [%]", true},
    {"Wydatki mieszk. [zł]", true},
    {"Wypłata (całość)", true},
    {"Wypłata (ryczałt)", true},
    {"Wypłata (zarządca)", true},
    {"Zarządca lokalu", false},
};

}  // namespace

QStringList listItems() {
    QStringList names;
    for (const Item &i : Items)
        names << QString::fromUtf8(i.name);
    return names;
}

bool isSummable(const QString &item) {
    for (const Item &i : Items)
        if (i.summable && item == QString::fromUtf8(i.name))
            return true;
    return false;
}

}  // namespace varnel::lists
