#include "calc/AllowanceRecord.h"

#include "calc/IncomeShare.h"
#include "data/Table.h"

namespace varnel::calc {

namespace {

int need(data::Table &table, const char *name) {
    const QString n = QString::fromLatin1(name);
    const int i = table.fieldIndex(n);
    if (i < 0)
        table.field(n);  // throws the engine's error naming the field
    return i;
}

// A blank date reads as the zero date of 1899: the rules before 2003.
std::optional<int> yearOf(const data::Field &okresOd) {
    if (okresOd.isNull())
        return std::nullopt;
    const QDate d = okresOd.asDate();
    if (!d.isValid())
        return std::nullopt;
    return d.year();
}

}  // namespace

ApplicationFields::ApplicationFields(data::Table &t)
    : liczbaOsob(need(t, "Liczba_osob")),
      powUzytk(need(t, "Pow_uzytk")),
      dochodRazem(need(t, "Dochod_razem")),
      wydatkiCzynsz(need(t, "Wydatki_czynsz")),
      oplatyDodatkowe(need(t, "OplatyDodatkowe")),
      ryczaltCO(need(t, "Ryczalt_CO")),
      ryczaltWoda(need(t, "Ryczalt_woda")),
      ryczaltGaz(need(t, "Ryczalt_gaz")),
      najnEmeryt(need(t, "NajnEmeryt")),
      kosztKwh(need(t, "KosztKwh")),
      wskProc(need(t, "WskProc")),
      ilOsobNaWozku(need(t, "IlOsobNaWozku")),
      powKuchniPonad60(need(t, "PowKuchniPonad60")),
      okresOd(need(t, "Okres_od")),
      tytulPrawny(need(t, "Tytul_prawny")),
      caloscDoRak(need(t, "Calosc_do_rak")),
      ryczaltDoRak(need(t, "Ryczalt_do_rak")),
      osobaNaWozku(need(t, "Osoba_na_wozku")),
      budowaPo45r(need(t, "Budowa_po_45r")),
      powNormatywna(need(t, "Pow_normatywna")),
      wydatkiWgPow(need(t, "Wydatki_wg_pow")),
      ryczaltMax(need(t, "RyczaltMax")),
      wydatkiRazem(need(t, "Wydatki_razem")),
      wydatkiRazem90(need(t, "Wydatki_razem90")),
      ryczaltProcent(need(t, "Ryczalt_procent")),
      wyplataCalosc(need(t, "Wyplata_calosc")),
      wyplataRyczalt(need(t, "Wyplata_ryczalt")),
      wyplataZarzadca(need(t, "Wyplata_zarzadca")),
      dodatekWylicz(need(t, "Dodatek_wylicz")),
      obliczeniaOK(need(t, "ObliczeniaOK")) {}

QStringList ApplicationFields::names(const data::Table &t) const {
    QStringList out;
    for (const int i : {liczbaOsob, powUzytk, dochodRazem, wydatkiCzynsz, oplatyDodatkowe, ryczaltCO, ryczaltWoda, ryczaltGaz,
                        najnEmeryt, kosztKwh, wskProc, ilOsobNaWozku, powKuchniPonad60, okresOd, tytulPrawny, caloscDoRak,
                        ryczaltDoRak, osobaNaWozku, budowaPo45r, powNormatywna, wydatkiWgPow, ryczaltMax, wydatkiRazem,
                        wydatkiRazem90, ryczaltProcent, wyplataCalosc, wyplataRyczalt, wyplataZarzadca, dodatekWylicz,
                        obliczeniaOK})
        out << t.fieldDef(i).name;
    return out;
}

AllowanceInput readAllowanceInput(data::Table &t, const ApplicationFields &f) {
    AllowanceInput in;
    in.liczbaOsob = static_cast<int>(t.field(f.liczbaOsob).asInteger());
    in.powUzytk = t.field(f.powUzytk).asFloat();
    in.dochodRazem = t.field(f.dochodRazem).asCurrency();
    in.wydatkiCzynsz = t.field(f.wydatkiCzynsz).asCurrency();
    in.oplatyDodatkowe = t.field(f.oplatyDodatkowe).asCurrency();
    in.ryczaltCO = t.field(f.ryczaltCO).asBoolean();
    in.ryczaltWoda = t.field(f.ryczaltWoda).asBoolean();
    in.ryczaltGaz = t.field(f.ryczaltGaz).asBoolean();
    in.najnEmeryt = t.field(f.najnEmeryt).asCurrency();
    in.kosztKwh = t.field(f.kosztKwh).asFloat();
    in.wskProc = static_cast<int>(t.field(f.wskProc).asInteger());
    in.ilOsobNaWozku = static_cast<int>(t.field(f.ilOsobNaWozku).asInteger());
    in.powKuchniPonad60 = t.field(f.powKuchniPonad60).asString();
    in.rokOkresuOd = yearOf(t.field(f.okresOd));
    in.tytulPrawny = t.field(f.tytulPrawny).asString();
    in.caloscDoRak = t.field(f.caloscDoRak).asBoolean();
    in.ryczaltDoRak = t.field(f.ryczaltDoRak).asBoolean();
    in.osobaNaWozku = t.field(f.osobaNaWozku).asString();
    in.budowaPo45r = t.field(f.budowaPo45r).asString();
    return in;
}

std::optional<int> rokOkresuOd(data::Table &t) { return yearOf(t.field(QStringLiteral("Okres_od"))); }

int OkreslProcDochodu(data::Table &t) {
    return OkreslProcDochodu(static_cast<int>(t.field(QStringLiteral("Liczba_osob")).asInteger()),
                             t.field(QStringLiteral("Dochod_razem")).asCurrency(),
                             t.field(QStringLiteral("NajnEmeryt")).asCurrency(), rokOkresuOd(t));
}

AllowanceDisplay runAllowance(data::Table &t, const ApplicationFields &f, Rules rules, const CalcRequest &request,
                              bool &valid, bool &goOn, core::Questions &q) {
    valid = true;
    goOn = true;

    // A record being edited is saved first, then (or otherwise) edited.
    if (t.isEditing())
        t.post();
    t.edit();

    try {
        const AllowanceInput in = readAllowanceInput(t, f);
        const AllowanceResult res = computeAllowance(rules, in, request, q);
        valid = res.valid;
        goOn = res.goOn;

        if (res.powNormatywna)
            t.field(f.powNormatywna).setFloat(*res.powNormatywna);

        if (!t.isEditing())
            t.edit();
        const StoredAmounts &s = res.stored;
        t.field(f.wydatkiWgPow).setCurrency(s.wydatkiWgPow);
        t.field(f.ryczaltMax).setCurrency(s.ryczaltMax);
        t.field(f.wydatkiRazem).setCurrency(s.wydatkiRazem);
        if (res.writesWydatkiRazem90)
            t.field(f.wydatkiRazem90).setCurrency(s.wydatkiRazem90);
        t.field(f.ryczaltProcent).setFloat(s.ryczaltProcent);
        t.field(f.wyplataCalosc).setCurrency(s.wyplataCalosc);
        t.field(f.wyplataRyczalt).setCurrency(s.wyplataRyczalt);
        t.field(f.wyplataZarzadca).setCurrency(s.wyplataZarzadca);
        t.field(f.dodatekWylicz).setCurrency(s.dodatekWylicz);
        t.field(f.obliczeniaOK).setBoolean(s.obliczeniaOK);

        t.post();
        return res.display;
    } catch (...) {
        if (t.isEditing())
            t.cancel();
        throw;
    }
}

AllowanceDisplay LiczDodatek(data::Table &table, bool showResults, QPoint pos, bool showMessages, bool &valid,
                             bool &goOn, core::Questions &q) {
    const ApplicationFields fields(table);
    return runAllowance(table, fields, Rules::Current, CalcRequest{showResults, pos, showMessages}, valid, goOn, q);
}

AllowanceDisplay LiczDodatekOld(data::Table &table, bool showResults, QPoint pos, bool showMessages, bool &valid,
                                bool &goOn, core::Questions &q) {
    const ApplicationFields fields(table);
    return runAllowance(table, fields, Rules::Before2002, CalcRequest{showResults, pos, showMessages}, valid, goOn,
                        q);
}

}  // namespace varnel::calc
