#include "lists/ListCellValues.h"

#include "calc/IncomeShare.h"
#include "calc/Money.h"
#include "data/Table.h"
#include "data/Values.h"

#include <QDate>
#include <QHash>

namespace varnel::lists {

namespace {

using calc::formatN;

struct Row {
    data::Table &t;
    double num(const char *f) const { return t.field(QString::fromLatin1(f)).asFloat(); }
    QString text(const char *f) const { return t.field(QString::fromLatin1(f)).asString(); }
    bool flag(const char *f) const { return t.field(QString::fromLatin1(f)).asBoolean(); }
    QString date(const char *f) const { return data::formatDate(t.field(QString::fromLatin1(f)).asDate()); }
    double normative() const { return num("Pow_normatywna"); }
    double usable() const { return num("Pow_uzytk"); }
    double largerArea() const { return normative() >= usable() ? normative() : usable(); }
    double smallerArea() const { return normative() >= usable() ? usable() : normative(); }
    double persons() const { return num("Liczba_osob"); }
    int incomeShare() const {
        const QDate od = t.field(QStringLiteral("Okres_od")).asDate();
        return calc::OkreslProcDochodu(int(persons()), num("Dochod_razem"), num("NajnEmeryt"),
                                       data::isBlankDate(od) ? std::nullopt : std::optional<int>(od.year()));
    }
};

const QString Zl = QStringLiteral(" zł");

CellValue amount(double v, int width, const QString &unit = Zl) { return {formatN(v, width, 2) + unit, v}; }
CellValue unknown() { return {QStringLiteral("?"), 0}; }
CellValue text(const QString &s) { return {s, 0}; }

using Rule = CellValue (*)(const Row &);

const QHash<QString, Rule> &rules() {
    static const QHash<QString, Rule> r = {
        {QStringLiteral("Adres"),
         [](const Row &a) {
             QString s = a.text("Adres_miejsc");
             if (!a.text("Adres_ulica").isEmpty())
                 s += QStringLiteral(" ul.") + a.text("Adres_ulica");
             return text(s + QLatin1Char(' ') + a.text("Adres_nr"));
         }},
        {QStringLiteral("Czynsz"), [](const Row &a) { return amount(a.num("Wydatki_czynsz"), 7); }},
        {QStringLiteral("Czynsz wg pow."), [](const Row &a) { return amount(a.num("Wydatki_wg_pow"), 6, QString()); }},
        {QStringLiteral("Czynsz/pow."),
         [](const Row &a) { return a.largerArea() == 0 ? unknown() : amount(a.num("Wydatki_czynsz") / a.largerArea(), 6); }},
        {QStringLiteral("Data urodz."), [](const Row &a) { return text(a.date("Data_urodz")); }},
        {QStringLiteral("Data złoż. wniosku"), [](const Row &a) { return text(a.date("Data_zlozenia")); }},
        {QStringLiteral("Dochód na osobę"),
         [](const Row &a) { return a.persons() == 0 ? unknown() : amount(a.num("Dochod_razem") / a.persons(), 6); }},
        {QStringLiteral("Dzisiejsza data"), [](const Row &) { return text(data::formatDate(QDate::currentDate())); }},
        {QStringLiteral("Imię"), [](const Row &a) { return text(a.text("Imie")); }},
        {QStringLiteral("Koszt kWh"),
         [](const Row &a) {
             QString s = formatN(a.num("KosztKwh"), 7, 4);
             while (s.size() > 1 && s.endsWith(QLatin1Char('0')))
                 s.chop(1);
             return text(s);
         }},
        {QStringLiteral("Liczba osób"), [](const Row &a) { return CellValue{formatN(a.persons(), 3, 0), a.persons()}; }},
        {QStringLiteral("Łączny dochód"), [](const Row &a) { return amount(a.num("Dochod_razem"), 7); }},
        {QStringLiteral("Nazwisko"), [](const Row &a) { return text(a.text("Nazwisko")); }},
        {QStringLiteral("Nazwisko i imię"),
         [](const Row &a) { return text(a.text("Nazwisko") + QLatin1Char(' ') + a.text("Imie")); }},
        {QStringLiteral("Nr wniosku"), [](const Row &a) { return text(a.text("Numer_decyzji")); }},
        {QStringLiteral("Okres - do"), [](const Row &a) { return text(a.date("Okres_do")); }},
        {QStringLiteral("Okres - od"), [](const Row &a) { return text(a.date("Okres_od")); }},
        {QStringLiteral("Podpis"), [](const Row &) { return text(QStringLiteral(" ")); }},
        {QStringLiteral("Uwagi"), [](const Row &) { return text(QStringLiteral(" ")); }},
        {QStringLiteral("Pow. max."),
         [](const Row &a) {
             const bool kitchen = a.text("PowKuchniPonad60") == QLatin1String("Tak");
             return amount(a.normative() * (kitchen ? 1.3 : 1.5), 6, QString());
         }},
        {QStringLiteral("Pow. normatywna"), [](const Row &a) { return CellValue{formatN(a.normative(), 3, 0), a.normative()}; }},
        {QStringLiteral("Pow. użytkowa"), [](const Row &a) { return amount(a.usable(), 6, QString()); }},
        {QStringLiteral("Pow.lok. lub pow.normat."), [](const Row &a) { return amount(a.largerArea(), 6, QString()); }},
        {QStringLiteral("Ryczałt CO"),
         [](const Row &a) {
             return a.flag("Ryczalt_CO") ? amount(a.smallerArea() * 5 * a.num("KosztKwh"), 6) : text(QStringLiteral(" - "));
         }},
        {QStringLiteral("Ryczałt CW"),
         [](const Row &a) {
             return a.flag("Ryczalt_woda") ? amount(20 * a.persons() * a.num("KosztKwh"), 6) : text(QStringLiteral(" - "));
         }},
        {QStringLiteral("Termin płatn."), [](const Row &a) { return text(a.text("Termin_platnosci")); }},
        {QStringLiteral("Wydatki mieszk. [%]"),
         [](const Row &a) {
             if (a.persons() == 0)
                 return unknown();
             const int p = a.incomeShare();
             return CellValue{QString::number(p), double(p)};
         }},
        {QStringLiteral("Wydatki mieszk. [zł]"),
         [](const Row &a) {
             return a.persons() == 0 ? unknown() : amount(a.num("Dochod_razem") * a.incomeShare() / 100, 6);
         }},
        {QStringLiteral("Wypłata (całość)"), [](const Row &a) { return amount(a.num("Wyplata_calosc"), 6); }},
        {QStringLiteral("Wypłata (ryczałt)"), [](const Row &a) { return amount(a.num("Wyplata_ryczalt"), 6); }},
        {QStringLiteral("Wypłata (zarządca)"), [](const Row &a) { return amount(a.num("Wyplata_zarzadca"), 6); }},
        {QStringLiteral("Zarządca lokalu"), [](const Row &a) { return text(a.text("Zarzadca")); }},
    };
    return r;
}

}  // namespace

CellValue listCellValue(data::Table &applications, const QString &item) {
    const Rule rule = rules().value(item);
    return rule ? rule(Row{applications}) : unknown();
}

}  // namespace varnel::lists
