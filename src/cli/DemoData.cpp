#include "cli/DemoData.h"

#include "admin/Dictionaries.h"
#include "calc/Allowance.h"
#include "calc/BulkRecalc.h"
#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "data/Table.h"
#include "data/Values.h"

#include <QDate>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <set>
#include <cmath>
#include <sqlite3.h>
#include <vector>

namespace varnel::cli {

using data::Database;
using data::Table;

namespace {

// Surnames in their masculine form; the feminine one is derived.
const char *const Surnames[] = {
    "Nowak",      "Kowalski",   "Wiśniewski", "Wójcik",      "Kowalczyk",  "Kamiński",   "Lewandowski", "Zieliński",
    "Szymański",  "Woźniak",    "Dąbrowski",  "Kozłowski",   "Jankowski",  "Mazur",      "Wojciechowski", "Kwiatkowski",
    "Krawczyk",   "Kaczmarek",  "Piotrowski", "Grabowski",   "Zając",      "Pawłowski",  "Michalski",   "Król",
    "Wieczorek",  "Jabłoński",  "Wróbel",     "Nowakowski",  "Majewski",   "Olszewski",  "Stępień",     "Malinowski",
    "Jaworski",   "Adamczyk",   "Dudek",      "Nowicki",     "Pawlak",     "Górski",     "Witkowski",   "Sikora",
    "Walczak",    "Baran",      "Rutkowski",  "Michalak",    "Szewczyk",   "Ostrowski",  "Tomaszewski", "Pietrzak",
    "Marciniak",  "Wróblewski", "Zalewski",   "Jakubowski",  "Jasiński",   "Zawadzki",   "Sadowski",    "Bąk",
    "Chmielewski", "Włodarczyk", "Borkowski", "Czarnecki",   "Sawicki",    "Sokołowski", "Urbański",    "Kubiak",
    "Maciejewski", "Szczepański", "Kucharski", "Wilk",       "Kalinowski", "Lis",        "Mazurek",     "Wysocki",
    "Adamski",    "Kaźmierczak", "Wasilewski", "Sobczak",    "Czerwiński", "Andrzejewski", "Cieślak",   "Głowacki",
    "Zakrzewski", "Kołodziej",  "Sikorski",   "Krajewski",   "Gajewski",   "Szulc",      "Szymczak",    "Baranowski",
    "Laskowski",  "Brzeziński", "Makowski",   "Ziółkowski",  "Przybylski", "Łukasik",    "Żak",         "Łuczak",
    "Ćwiek",      "Śliwa",      "Żukowski",   "Łoś",         "Ślusarczyk", "Żmuda",      "Łagoda",      "Ożóg",
};
const char *const MaleNames[] = {
    "Jan",      "Andrzej",   "Piotr",     "Krzysztof", "Stanisław", "Tomasz",  "Paweł",    "Józef",    "Marcin",
    "Marek",    "Michał",    "Grzegorz",  "Jerzy",     "Tadeusz",   "Adam",    "Łukasz",   "Zbigniew", "Ryszard",
    "Dariusz",  "Henryk",    "Mariusz",   "Kazimierz", "Wojciech",  "Robert",  "Mateusz",  "Marian",   "Rafał",
    "Jacek",    "Janusz",    "Mirosław",  "Maciej",    "Sławomir",  "Jarosław", "Kamil",   "Wiesław",  "Roman",
    "Władysław", "Jakub",    "Artur",     "Zdzisław",  "Edward",    "Mieczysław", "Damian", "Dawid",   "Przemysław",
    "Sebastian", "Czesław",  "Leszek",    "Daniel",    "Waldemar",
};
const char *const FemaleNames[] = {
    "Anna",     "Maria",     "Katarzyna", "Małgorzata", "Agnieszka", "Barbara", "Ewa",      "Krystyna", "Elżbieta",
    "Zofia",    "Teresa",    "Magdalena", "Joanna",     "Janina",    "Monika",  "Danuta",   "Jadwiga",  "Aleksandra",
    "Halina",   "Irena",     "Beata",     "Marta",      "Dorota",    "Helena",  "Karolina", "Jolanta",  "Iwona",
    "Marianna", "Grażyna",   "Natalia",   "Bożena",     "Stanisława", "Urszula", "Justyna", "Renata",   "Alicja",
    "Paulina",  "Sylwia",    "Agata",     "Wiesława",   "Józefa",    "Genowefa", "Łucja",   "Żaneta",
};
// The town of the office and the villages of the municipality.
const char *const Town = "Żyrardów";
const char *const Villages[] = {
    "Wiskitki", "Radziwiłłów", "Miedniewice", "Jesionka", "Międzyborów", "Guzów", "Mszczonów", "Puszcza Mariańska",
};
// Streets as the register stores them: the name alone, since the address
// printed on a decision puts "ul." before it.
const char *const Streets[] = {
    "Mickiewicza",    "Słowackiego",  "Kościuszki",    "Żeromskiego",   "Piłsudskiego",  "Długa",
    "Krótka",         "Ogrodowa",     "Polna",         "Leśna",         "Szkolna",       "Kolejowa",
    "Łąkowa",         "Źródlana",     "Świętokrzyska", "Wojska Polskiego", "3 Maja",     "1 Maja",
    "Parkowa",        "Narutowicza",  "Okrzei",        "Reymonta",      "Konopnickiej",  "Chopina",
    "Jana Pawła II",  "Sienkiewicza", "Prusa",         "Wyszyńskiego",  "Żwirki i Wigury", "Traugutta",
    "Limanowskiego",  "Dittricha",    "Hiellego",      "Waryńskiego",   "Nowy Świat",
};

QString u(const char *s) { return QString::fromUtf8(s); }

template <size_t N>
QStringList listOf(const char *const (&items)[N]) {
    QStringList out;
    for (const char *s : items)
        out << u(s);
    return out;
}

QString feminine(const QString &surname) {
    if (surname.endsWith(QLatin1String("ski")) || surname.endsWith(QLatin1String("cki"))
        || surname.endsWith(QLatin1String("dzki")))
        return surname.left(surname.size() - 1) + QLatin1Char('a');
    return surname;
}

// Normative floor area by household size, plus 15 m² per wheelchair user.
double normativeArea(int persons, int wheelchairUsers) {
    static const int table[] = {0, 35, 40, 45, 55, 65, 70};
    const int base = persons <= 6 ? table[persons] : 70 + 5 * (persons - 6);
    return base + 15.0 * wheelchairUsers;
}

double round2(double v) { return std::nearbyint(v * 100.0) / 100.0; }

struct Parameters {
    double minEmeryt = 0;
    double kosztKwh = 0;
    QString wzorNrDec;
    QString wzorPlatneDo;
    int wskaznikProc = 70;
    QDate periodStart;  // blank when the office set no default period
};

Parameters readParameters(Database &db) {
    const StartingParameters start = startingParameters();
    Parameters p{start.minEmeryt, start.kosztKwh, start.wzorNrDec, start.wzorPlatneDo, start.wskaznikProc, QDate()};
    if (!db.tableExists(QStringLiteral("param")))
        return p;
    Table t(db, QStringLiteral("param"));
    t.open();
    t.first();
    if (t.eof())
        return p;
    p.minEmeryt = t.field(QStringLiteral("Min_emeryt")).asCurrency();
    p.kosztKwh = t.field(QStringLiteral("Koszt_kwh")).asFloat();
    p.wzorNrDec = t.field(QStringLiteral("Wzor_NrDec")).asString();
    p.wzorPlatneDo = t.field(QStringLiteral("Wzor_PlatneDo")).asString();
    if (!t.field(QStringLiteral("WskaznikProc")).isNull())
        p.wskaznikProc = int(t.field(QStringLiteral("WskaznikProc")).asInteger());
    const QDate from = t.field(QStringLiteral("Wzor_OkresOd")).asDate();
    if (!data::isBlankDate(from))
        p.periodStart = from;
    return p;
}

struct Entry {
    QString opis;
    bool municipal = false;
};

// The rows of a dictionary in table order; none when the table is missing.
std::vector<Entry> readDictionary(Database &db, const QString &table) {
    std::vector<Entry> out;
    if (!db.tableExists(table))
        return out;
    Table t(db, table);
    t.open();
    const int municipal = t.fieldIndex(QStringLiteral("Wlasn_gminy"));
    for (t.first(); !t.eof(); t.next()) {
        const QString opis = t.field(QStringLiteral("Opis")).asString();
        if (!opis.isEmpty())
            out.push_back({opis, municipal >= 0 && t.field(municipal).asBoolean()});
    }
    return out;
}

// The highest running number among the sort keys of the zero-padded kind.
qint64 highestRunningNumber(Database &db) {
    const char *sql =
        "SELECT max(CAST(IndexNrSupport AS INTEGER)) FROM Aktualne "
        "WHERE length(IndexNrSupport) = 10 AND IndexNrSupport NOT GLOB '*[^0-9]*'";
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &s, nullptr) != SQLITE_OK)
        db.fail();
    qint64 n = 0;
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        n = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        db.fail();
    return n;
}

// What the allowance calculation makes of a demo application. About four in
// five are granted, as in a real register; the others are refused or invalid
// for one plain reason each.
enum class Outcome {
    Granted,
    HighIncome,  // the income per member is far above the threshold: allowance 0
    OverArea,    // the dwelling exceeds the area norm: not computed
    NoTitle,     // "brak tytułu prawnego": allowance 0
    NoCosts,     // no rent and no lump sum: not computed
};
const std::vector<int> OutcomeWeights = {80, 8, 5, 4, 3};
const QString NoLegalTitle = QStringLiteral("brak tytułu prawnego");

// The income per member above which the excess takes the allowance, as a
// multiple of the lowest pension (rules from 2005).
double incomeThreshold(int persons) { return persons == 1 ? 1.75 : 1.25; }

bool granted(const calc::AllowanceInput &in) {
    calc::HeadlessQuestions quiet;
    const calc::AllowanceResult r = calc::computeAllowance(in, calc::CalcRequest{}, quiet);
    return r.valid && r.stored.wyplataCalosc > 0;
}

class Dice {
public:
    explicit Dice(quint32 seed) : m_rng(seed) {}
    int below(int n) { return n > 0 ? int(m_rng.bounded(quint32(n))) : 0; }
    bool chance(double p) { return m_rng.generateDouble() < p; }
    double between(double lo, double hi) { return lo + (hi - lo) * m_rng.generateDouble(); }
    const QString &pick(const QStringList &items) { return items[below(int(items.size()))]; }
    // An index drawn by weights.
    int weighted(const std::vector<int> &weights) {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = below(total);
        for (size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return int(i);
            r -= weights[i];
        }
        return int(weights.size()) - 1;
    }

private:
    QRandomGenerator m_rng;
};

}  // namespace

void addDemoApplications(Database &db, int count, quint32 seed) {
    if (count <= 0)
        return;
    if (!db.tableExists(QStringLiteral("Aktualne")))
        throw core::DbError(QStringLiteral("W bazie danych %1 nie ma tabeli Aktualne").arg(db.directory()));
    const Parameters param = readParameters(db);
    const std::vector<Entry> managers = readDictionary(db, QStringLiteral("zarzadcy"));
    const std::vector<Entry> titles = readDictionary(db, QStringLiteral("tytprawn"));
    const std::vector<Entry> statuses = readDictionary(db, QStringLiteral("statlok"));
    const std::vector<Entry> dwellingHeating = readDictionary(db, QStringLiteral("ogrzlok"));
    const std::vector<Entry> waterHeating = readDictionary(db, QStringLiteral("ogrzwody"));

    // Legal titles and statuses are drawn by how common they are in a
    // municipal register; entries the office added count as ordinary ones.
    std::vector<int> titleWeights, statusWeights;
    int noTitle = -1;
    for (const Entry &e : titles) {
        if (e.opis == NoLegalTitle) {
            noTitle = int(titleWeights.size());
            titleWeights.push_back(0);  // only where it is the reason of a refusal
        } else if (e.opis == QLatin1String("najem"))
            titleWeights.push_back(30);
        else
            titleWeights.push_back(8);
    }
    for (const Entry &e : statuses) {
        if (e.opis == QLatin1String("komunalne"))
            statusWeights.push_back(45);
        else if (e.opis == u("spółdzielcze"))
            statusWeights.push_back(30);
        else if (e.opis == u("zakładowe"))
            statusWeights.push_back(6);
        else
            statusWeights.push_back(4);
    }
    std::vector<const Entry *> municipalManagers, otherManagers;
    for (const Entry &e : managers)
        (e.municipal ? municipalManagers : otherManagers).push_back(&e);
    const std::vector<int> householdWeights = {0, 25, 22, 20, 16, 9, 4, 2, 1, 1};

    const QStringList surnames = listOf(Surnames);
    const QStringList maleNames = listOf(MaleNames);
    const QStringList femaleNames = listOf(FemaleNames);
    const QStringList villages = listOf(Villages);
    const QStringList streets = listOf(Streets);
    const QString town = u(Town);

    // Applications are filed over the year before the default period start,
    // or before the first day of this month when there is none, in the order
    // of their decision numbers; so the latest periods still run.
    const QDate today = QDate::currentDate();
    const QDate reference = param.periodStart.isValid() ? param.periodStart : QDate(today.year(), today.month(), 1);
    const QDate firstFiling = reference.addMonths(-12);
    const qint64 filingDays = firstFiling.daysTo(reference);
    const qint64 firstNumber = highestRunningNumber(db) + 1;

    Table t(db, QStringLiteral("Aktualne"));
    t.open();
    auto column = [&](const char *name) { return t.field(QString::fromLatin1(name)).index(); };
    const int cNumerDecyzji = column("Numer_decyzji"), cNazwisko = column("Nazwisko"), cImie = column("Imie"),
              cMiejsc = column("Adres_miejsc"), cUlica = column("Adres_ulica"), cNr = column("Adres_nr"),
              cDataUrodz = column("Data_urodz"), cDochod = column("Dochod_razem"), cOsoby = column("Liczba_osob"),
              cTytul = column("Tytul_prawny"), cOgrzWody = column("Spos_ogrz_wody"),
              cOgrzLok = column("Spos_ogrz_lok"), cPow = column("Pow_uzytk"), cUreg = column("Ureg_stan_prawny"),
              cStatus = column("Status_lokalu"), cPo45 = column("Budowa_po_45r"), cWozek = column("Osoba_na_wozku"),
              cZlozenia = column("Data_zlozenia"), cOd = column("Okres_od"), cDo = column("Okres_do"),
              cTermin = column("Termin_platnosci"), cZarzadca = column("Zarzadca"), cCO = column("Ryczalt_CO"),
              cWoda = column("Ryczalt_woda"), cCzynsz = column("Wydatki_czynsz"), cDoRak = column("Ryczalt_do_rak"),
              cOplaty = column("OplatyDodatkowe"), cIndex = column("IndexNrSupport"),
              cKuchnia = column("PowKuchniPonad60"), cGaz = column("Ryczalt_gaz"), cCalosc = column("Calosc_do_rak"),
              cKwh = column("KosztKwh"), cEmeryt = column("NajnEmeryt"), cIlWozek = column("IlOsobNaWozku"),
              cWsk = column("WskProc");

    Dice dice(seed);
    std::set<QString> usedManagers;
    data::Transaction tx(db);
    for (int i = 0; i < count; ++i) {
        const qint64 number = firstNumber + i;
        const QDate filed =
            std::min(firstFiling.addDays(qint64(i) * filingDays / count + dice.below(3)), reference.addDays(-1));
        const QDate from = QDate(filed.year(), filed.month(), 1).addMonths(1);

        Outcome outcome = Outcome(dice.weighted(OutcomeWeights));
        if (outcome == Outcome::NoTitle && noTitle < 0)
            outcome = Outcome::HighIncome;
        const bool woman = dice.chance(0.58);
        const QString surname = dice.pick(surnames);
        const int persons = dice.weighted(householdWeights);
        const int wheelchairUsers = dice.chance(0.015) ? 1 : 0;
        const bool kitchenOver60 = dice.chance(0.7);
        const double norm = normativeArea(persons, wheelchairUsers);
        // Dwellings keep within the area limit unless that is the reason.
        const double area = round2(norm * (outcome == Outcome::OverArea ? dice.between(1.55, 1.8)
                                                                         : dice.between(0.6, kitchenOver60 ? 1.28 : 1.45)));
        const bool noCosts = outcome == Outcome::NoCosts;
        const bool lumpCO = !noCosts && dice.chance(0.2), lumpWater = !noCosts && dice.chance(0.25),
                   lumpGas = !noCosts && dice.chance(0.35);
        const double rent = noCosts ? 0.0 : round2(area * dice.between(7.0, 15.0));
        const double charges = dice.chance(0.45) ? 0.0 : round2(dice.between(15.0, 220.0));
        const bool wholeToApplicant = dice.chance(0.03);
        QString title;
        if (outcome == Outcome::NoTitle)
            title = titles[noTitle].opis;
        else if (!titles.empty())
            title = titles[dice.weighted(titleWeights)].opis;

        // The income: low enough for an allowance, or far above the threshold
        // for a refusal; checked with the calculation itself.
        calc::AllowanceInput in;
        in.liczbaOsob = persons;
        in.powUzytk = area;
        in.wydatkiCzynsz = rent;
        in.oplatyDodatkowe = charges;
        in.ryczaltCO = lumpCO;
        in.ryczaltWoda = lumpWater;
        in.ryczaltGaz = lumpGas;
        in.najnEmeryt = param.minEmeryt;
        in.kosztKwh = param.kosztKwh;
        in.wskProc = param.wskaznikProc;
        in.ilOsobNaWozku = wheelchairUsers;
        in.powKuchniPonad60 = kitchenOver60 ? QStringLiteral("Tak") : QStringLiteral("Nie");
        in.rokOkresuOd = from.year();
        in.tytulPrawny = title;
        in.caloscDoRak = wholeToApplicant;
        in.ryczaltDoRak = true;
        auto incomeFor = [&](double perMember) { return round2(perMember * persons); };
        double perMember = 0;
        if (outcome == Outcome::HighIncome) {
            perMember = param.minEmeryt * incomeThreshold(persons) * dice.between(1.3, 2.0);
            for (int tries = 0; tries < 20 && (in.dochodRazem = incomeFor(perMember), granted(in)); ++tries)
                perMember *= 1.25;
        } else {
            perMember = param.minEmeryt * (persons == 1 ? dice.between(0.5, 1.5) : dice.between(0.3, 0.95));
            if (outcome == Outcome::Granted)
                for (int tries = 0; tries < 25 && (in.dochodRazem = incomeFor(perMember), !granted(in)); ++tries)
                    perMember *= 0.85;
        }
        in.dochodRazem = incomeFor(perMember);

        t.insert();
        t.setValue(cNumerDecyzji, param.wzorNrDec + QString::number(number) + QLatin1Char('/') + QString::number(filed.year()));
        t.setValue(cIndex, QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0')));
        t.setValue(cNazwisko, woman ? feminine(surname) : surname);
        t.setValue(cImie, dice.pick(woman ? femaleNames : maleNames));
        const bool inTown = dice.chance(0.78);
        QString houseNumber = QString::number(1 + dice.below(120));
        if (dice.chance(0.05))
            houseNumber += QLatin1Char('A' + dice.below(3));
        if (inTown) {
            t.setValue(cMiejsc, town);
            t.setValue(cUlica, dice.pick(streets));
            if (dice.chance(0.85))
                houseNumber += QLatin1Char('/') + QString::number(1 + dice.below(60));
        } else {
            t.setValue(cMiejsc, dice.pick(villages));
            if (dice.chance(0.4))
                t.setValue(cUlica, dice.pick(streets));
        }
        t.setValue(cNr, houseNumber);
        const int age = 19 + dice.below(71);
        const int dayOfYear = dice.below(365);
        t.setValue(cDataUrodz, filed.addDays(-(365 * age + dayOfYear)));
        t.setValue(cOsoby, persons);
        t.setValue(cDochod, in.dochodRazem);

        if (!statuses.empty()) {
            const Entry &status = statuses[dice.weighted(statusWeights)];
            t.setValue(cStatus, status.opis);
            const auto &fitting = status.opis == QLatin1String("komunalne") ? municipalManagers : otherManagers;
            const auto &pool = fitting.empty() ? (municipalManagers.empty() ? otherManagers : municipalManagers) : fitting;
            if (!pool.empty()) {
                const QString &manager = pool[dice.below(int(pool.size()))]->opis;
                t.setValue(cZarzadca, manager);
                usedManagers.insert(manager);
            }
        }
        if (!title.isEmpty())
            t.setValue(cTytul, title);
        if (!dwellingHeating.empty())
            t.setValue(cOgrzLok, dwellingHeating[dice.below(int(dwellingHeating.size()))].opis);
        if (!waterHeating.empty())
            t.setValue(cOgrzWody, waterHeating[dice.below(int(waterHeating.size()))].opis);

        t.setValue(cPow, area);
        t.setValue(cKuchnia, in.powKuchniPonad60);
        t.setValue(cUreg, dice.chance(0.95) ? QStringLiteral("Tak") : QStringLiteral("Nie"));
        t.setValue(cPo45, dice.chance(0.75) ? QStringLiteral("Tak") : QStringLiteral("Nie"));
        t.setValue(cWozek, wheelchairUsers > 0 ? QStringLiteral("Tak") : QStringLiteral("Nie"));
        t.setValue(cIlWozek, wheelchairUsers);

        t.setValue(cZlozenia, filed);
        t.setValue(cOd, from);
        t.setValue(cDo, from.addMonths(6).addDays(-1));
        t.setValue(cTermin, param.wzorPlatneDo);

        t.setValue(cCzynsz, rent);
        t.setValue(cOplaty, charges);
        t.setValue(cCO, lumpCO);
        t.setValue(cWoda, lumpWater);
        t.setValue(cGaz, lumpGas);
        t.setValue(cDoRak, true);
        t.setValue(cCalosc, wholeToApplicant);

        t.setValue(cKwh, param.kosztKwh);
        t.setValue(cEmeryt, param.minEmeryt);
        t.setValue(cWsk, param.wskaznikProc);
        t.post();
    }
    // The managers of the applications are used, as saving each application
    // in the form would have marked them.
    for (const QString &manager : usedManagers)
        admin::markManagerUsed(db, manager);
    tx.commit();
}

}  // namespace varnel::cli
