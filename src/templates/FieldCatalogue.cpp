#include "templates/FieldCatalogue.h"

#include "calc/AllowanceRecord.h"
#include "calc/Money.h"
#include "data/Table.h"
#include "data/Values.h"

#include <QHash>
#include <cmath>

namespace varnel::templates {

namespace {

// The catalogue, in its order: the 38 names of the decision template editor,
// then the three that the list template editor adds.
enum class Name {
    Adres,
    Czynsz,
    Czynsz90,
    CzynszWgPow,
    CzynszWgPow90,
    CzynszNaPow,
    DataUrodz,
    DataZlozenia,
    DochodNaOsobe,
    DodatekWyliczony,
    DzisiejszaData,
    Imie,
    KosztKwh,
    LiczbaOsob,
    LacznaKwotaWydatkow,
    LacznyDochod,
    Nazwisko,
    NrWniosku,
    OkresDo,
    OkresOd,
    OplataDodatkowa,
    PowMax,
    PowNormatywna,
    PowUzytkowa,
    PowWieksza,
    RyczaltProcent,
    RyczaltCO,
    RyczaltCW,
    RyczaltGaz,
    TerminPlatnosci,
    Wydatki70,
    WydatkiMieszkProc,
    WydatkiMieszkZl,
    WydatkiPrzelicz90,
    WyplataCalosc,
    WyplataRyczalt,
    WyplataZarzadca,
    ZarzadcaLokalu,
    // the three extra names
    NazwiskoImie,
    Uwagi,
    Podpis,
};

constexpr int DecisionNameCount = 38;

const QStringList &names() {
    static const QStringList list = {
        QStringLiteral("Adres"),
        QStringLiteral("Czynsz"),
        QStringLiteral("Czynsz 90% (z opł.dod.)"),
        QStringLiteral("Czynsz wg pow."),
        QStringLiteral("Czynsz wg pow.90% (z opł.dod.)"),
        QStringLiteral("Czynsz/pow."),
        QStringLiteral("Data urodz."),
        QStringLiteral("Data złoż. wniosku"),
        QStringLiteral("Dochód na osobę"),
        QStringLiteral("Dodatek wyliczony"),
        QStringLiteral("Dzisiejsza data"),
        QStringLiteral("Imię"),
        QStringLiteral("Koszt kWh"),
        QStringLiteral("Liczba osób"),
        QStringLiteral("Łączna kwota wydatk."),
        QStringLiteral("Łączny dochód"),
        QStringLiteral("Nazwisko"),
        QStringLiteral("Nr wniosku"),
        QStringLiteral("Okres - do"),
        QStringLiteral("Okres - od"),
        QStringLiteral("Opłata dodatkowa"),
        QStringLiteral("Pow. max."),
        QStringLiteral("Pow. normatywna"),
        QStringLiteral("Pow. użytkowa"),
        QStringLiteral("Pow.lok. lub pow.normat."),
        QStringLiteral("Ryczałt [udział %]"),
        QStringLiteral("Ryczałt CO"),
        QStringLiteral("Ryczałt CW"),
        QStringLiteral("Ryczałt gaz"),
        QStringLiteral("Termin płatn."),
        QStringLiteral("Wydatki 70%"),
        QStringLiteral("Wydatki mieszk. [%]"),
        QStringLiteral("Wydatki mieszk. [zł]"),
        QStringLiteral("Wydatki przelicz.90%"),
        QStringLiteral("Wypłata (całość)"),
        QStringLiteral("Wypłata (ryczałt)"),
        QStringLiteral("Wypłata (zarządca)"),
        QStringLiteral("Zarządca lokalu"),
        QStringLiteral("Nazwisko i imię"),
        QStringLiteral("Uwagi"),
        QStringLiteral("Podpis"),
    };
    return list;
}

const QHash<QString, Name> &nameIndex() {
    static const QHash<QString, Name> index = [] {
        QHash<QString, Name> h;
        const QStringList &n = names();
        for (int i = 0; i < n.size(); ++i)
            h.insert(n[i], static_cast<Name>(i));
        return h;
    }();
    return index;
}

const QString Zl = QStringLiteral(" zł");
const QString NoLumpSum = QStringLiteral(" - ");

FieldValue unknown() { return FieldValue{QStringLiteral("?"), 0}; }

// N(w,d) of an amount, the value as its number; "?" and 0 for a value that is
// not a finite number (a division by zero).
FieldValue number(double v, int width, int decimals, const QString &unit = QString()) {
    if (!std::isfinite(v))
        return unknown();
    return FieldValue{calc::formatN(v, width, decimals) + unit, v};
}

// The same, where the number of a list column stays 0.
FieldValue shownOnly(double v, int width, int decimals) {
    FieldValue f = number(v, width, decimals);
    f.number = 0;
    return f;
}

class Row {
public:
    explicit Row(data::Table &t) : m_t(t) {}
    QString text(const char *field) const { return m_t.field(QString::fromLatin1(field)).asString(); }
    double num(const char *field) const { return m_t.field(QString::fromLatin1(field)).asFloat(); }
    int integer(const char *field) const { return static_cast<int>(m_t.field(QString::fromLatin1(field)).asInteger()); }
    bool flag(const char *field) const { return m_t.field(QString::fromLatin1(field)).asBoolean(); }
    // D: the short date; a blank date is the zero date.
    QString date(const char *field) const {
        const data::Field f = m_t.field(QString::fromLatin1(field));
        return data::formatDate(f.isNull() ? data::zeroDate() : f.asDate());
    }
    // The larger of the normative and the usable area.
    double largerArea() const {
        const double norm = num("Pow_normatywna"), usable = num("Pow_uzytk");
        return norm >= usable ? norm : usable;
    }
    double smallerArea() const {
        const double norm = num("Pow_normatywna"), usable = num("Pow_uzytk");
        return norm >= usable ? usable : norm;
    }
    data::Table &table() const { return m_t; }

private:
    data::Table &m_t;
};

FieldValue lumpSum(bool on, double amount) {
    if (!on)
        return FieldValue{NoLumpSum, 0};
    return number(amount, 6, 2, Zl);
}

}  // namespace

const QStringList &decisionFieldNames() {
    static const QStringList list = names().mid(0, DecisionNameCount);
    return list;
}

const QStringList &extraFieldNames() {
    static const QStringList list = names().mid(DecisionNameCount);
    return list;
}

const QStringList &allFieldNames() { return names(); }

FieldCatalogue::FieldCatalogue(data::Table &applications, const QDate &today)
    : m_table(applications), m_today(today) {}

FieldValue FieldCatalogue::ObsluzBaze(const QString &name) const {
    const auto it = nameIndex().constFind(name);
    if (it == nameIndex().constEnd())
        return unknown();
    const Row r(m_table);
    switch (*it) {
    case Name::Adres: {
        QString a = r.text("Adres_miejsc");
        const QString street = r.text("Adres_ulica");
        if (!street.isEmpty())
            a += QStringLiteral(" ul.") + street;
        return FieldValue{a + QLatin1Char(' ') + r.text("Adres_nr"), 0};
    }
    case Name::Czynsz:
        return number(r.num("Wydatki_czynsz"), 7, 2, Zl);
    case Name::Czynsz90:
        return number(0.9 * (r.num("Wydatki_czynsz") + r.num("OplatyDodatkowe")), 7, 2, Zl);
    case Name::CzynszWgPow:
        return number(r.num("Wydatki_wg_pow"), 6, 2);
    case Name::CzynszWgPow90:
        return number(0.9 * r.num("Wydatki_wg_pow"), 7, 2, Zl);
    case Name::CzynszNaPow: {
        const double area = r.largerArea();
        if (area == 0)
            return unknown();
        return number(r.num("Wydatki_czynsz") / area, 6, 2, Zl);
    }
    case Name::DataUrodz:
        return FieldValue{r.date("Data_urodz"), 0};
    case Name::DataZlozenia:
        return FieldValue{r.date("Data_zlozenia"), 0};
    case Name::DochodNaOsobe: {
        const int n = r.integer("Liczba_osob");
        if (n == 0)
            return unknown();
        return number(r.num("Dochod_razem") / n, 6, 2, Zl);
    }
    case Name::DodatekWyliczony:
        return number(r.num("Dodatek_wylicz"), 7, 2, Zl);
    case Name::DzisiejszaData:
        return FieldValue{data::formatDate(m_today), 0};
    case Name::Imie:
        return FieldValue{r.text("Imie"), 0};
    case Name::KosztKwh: {
        // N(7,4) without its trailing zeros, the point kept: 0.25 -> " 0.25", 1 -> " 1."
        FieldValue f = shownOnly(r.num("KosztKwh"), 7, 4);
        if (f.text != QLatin1String("?"))
            while (f.text.size() > 1 && f.text.endsWith(QLatin1Char('0')))
                f.text.chop(1);
        return f;
    }
    case Name::LiczbaOsob: {
        const int n = r.integer("Liczba_osob");
        return number(n, 3, 0);
    }
    case Name::LacznaKwotaWydatkow:
        return number(r.num("Wydatki_razem"), 7, 2, Zl);
    case Name::LacznyDochod:
        return number(r.num("Dochod_razem"), 7, 2, Zl);
    case Name::Nazwisko:
        return FieldValue{r.text("Nazwisko"), 0};
    case Name::NrWniosku:
        return FieldValue{r.text("Numer_decyzji"), 0};
    case Name::OkresDo:
        return FieldValue{r.date("Okres_do"), 0};
    case Name::OkresOd:
        return FieldValue{r.date("Okres_od"), 0};
    case Name::OplataDodatkowa:
        return number(r.num("OplatyDodatkowe"), 7, 2);
    case Name::PowMax: {
        const double factor = r.text("PowKuchniPonad60") == QLatin1String("Tak") ? 1.3 : 1.5;
        return number(r.num("Pow_normatywna") * factor, 6, 2);
    }
    case Name::PowNormatywna:
        return number(r.num("Pow_normatywna"), 3, 0);
    case Name::PowUzytkowa:
        return number(r.num("Pow_uzytk"), 6, 2);
    case Name::PowWieksza:
        return number(r.largerArea(), 6, 2);
    case Name::RyczaltProcent:
        return number(r.num("Ryczalt_procent"), 4, 2);
    case Name::RyczaltCO: {
        if (!r.flag("Ryczalt_CO"))
            return lumpSum(false, 0);
        return lumpSum(true, r.smallerArea() * 5 * r.num("KosztKwh"));
    }
    case Name::RyczaltCW: {
        if (!r.flag("Ryczalt_woda"))
            return lumpSum(false, 0);
        return lumpSum(true, 20.0 * r.integer("Liczba_osob") * r.num("KosztKwh"));
    }
    case Name::RyczaltGaz: {
        if (!r.flag("Ryczalt_gaz"))
            return lumpSum(false, 0);
        const double k = r.num("KosztKwh");
        return lumpSum(true, 2.0 * (r.integer("Liczba_osob") - 1) * k + 10 * k);
    }
    case Name::TerminPlatnosci:
        return FieldValue{r.text("Termin_platnosci"), 0};
    case Name::Wydatki70:
        return number(0.7 * r.num("Wydatki_razem"), 7, 2, Zl);
    case Name::WydatkiMieszkProc: {
        // The percentage rests on the income per member: none without persons.
        if (r.integer("Liczba_osob") == 0)
            return unknown();
        const int p = calc::OkreslProcDochodu(r.table());
        return FieldValue{QString::number(p), static_cast<double>(p)};
    }
    case Name::WydatkiMieszkZl: {
        if (r.integer("Liczba_osob") == 0)
            return unknown();
        const int p = calc::OkreslProcDochodu(r.table());
        return number(r.num("Dochod_razem") * p / 100, 6, 2, Zl);
    }
    case Name::WydatkiPrzelicz90:
        return number(r.num("Wydatki_razem90"), 7, 2, Zl);
    case Name::WyplataCalosc:
        return number(r.num("Wyplata_calosc"), 6, 2, Zl);
    case Name::WyplataRyczalt:
        return number(r.num("Wyplata_ryczalt"), 6, 2, Zl);
    case Name::WyplataZarzadca:
        return number(r.num("Wyplata_zarzadca"), 6, 2, Zl);
    case Name::ZarzadcaLokalu:
        return FieldValue{r.text("Zarzadca"), 0};
    case Name::NazwiskoImie:
        return FieldValue{r.text("Nazwisko") + QLatin1Char(' ') + r.text("Imie"), 0};
    case Name::Uwagi:
    case Name::Podpis:
        return FieldValue{QStringLiteral(" "), 0};
    }
    return unknown();
}

}  // namespace varnel::templates
