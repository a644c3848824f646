#pragma once

#include <QPoint>
#include <QString>
#include <optional>

namespace varnel::core {
class Questions;
}

namespace varnel::calc {

// Which rules compute an application: the current ones ("Wg zasad po
// 1.01.2002 r.", LiczDodatek) or those in force before 2002 ("Wg starych
// zasad", LiczDodatekOld).
enum class Rules { Current, Before2002 };

// The fields of an application record that the calculation reads. Letters as
// in the rules: n, S, I, C, O, E, K, W, w, Y.
struct AllowanceInput {
    int liczbaOsob = 0;            // Liczba_osob, n
    double powUzytk = 0;           // Pow_uzytk, S
    double dochodRazem = 0;        // Dochod_razem, I
    double wydatkiCzynsz = 0;      // Wydatki_czynsz, C
    double oplatyDodatkowe = 0;    // OplatyDodatkowe, O
    bool ryczaltCO = false;        // Ryczalt_CO
    bool ryczaltWoda = false;      // Ryczalt_woda
    bool ryczaltGaz = false;       // Ryczalt_gaz (current rules only)
    double najnEmeryt = 0;         // NajnEmeryt, E
    double kosztKwh = 0;           // KosztKwh, K
    int wskProc = 0;               // WskProc, W (current rules only)
    int ilOsobNaWozku = 0;         // IlOsobNaWozku, w (current rules only)
    QString powKuchniPonad60;      // PowKuchniPonad60 (current rules only)
    std::optional<int> rokOkresuOd;  // year of Okres_od, Y; empty: no date (current rules only)
    QString tytulPrawny;           // Tytul_prawny
    bool caloscDoRak = false;      // Calosc_do_rak (current rules only)
    bool ryczaltDoRak = false;     // Ryczalt_do_rak
    QString osobaNaWozku;          // Osoba_na_wozku (earlier rules only)
    QString budowaPo45r;           // Budowa_po_45r (earlier rules only)
};

// How a caller runs the calculation: whether the form's result panel is
// filled, where the question dialogs appear, and whether the problems are
// asked about at all (the percentage-index warning is shown regardless).
struct CalcRequest {
    bool showResults = false;
    QPoint dialogPos;
    bool showMessages = false;
};

// The amounts written into the record; on failure the failure values (all 0,
// ObliczeniaOK False).
struct StoredAmounts {
    double wydatkiWgPow = 0;     // Wydatki_wg_pow
    double ryczaltMax = 0;       // RyczaltMax
    double wydatkiRazem = 0;     // Wydatki_razem
    double wydatkiRazem90 = 0;   // Wydatki_razem90 (see writesWydatkiRazem90)
    double ryczaltProcent = 0;   // Ryczalt_procent
    double wyplataCalosc = 0;    // Wyplata_calosc
    double wyplataRyczalt = 0;   // Wyplata_ryczalt
    double wyplataZarzadca = 0;  // Wyplata_zarzadca
    double dodatekWylicz = 0;    // Dodatek_wylicz
    bool obliczeniaOK = false;   // ObliczeniaOK
};

enum class Visibility { Unchanged, Shown, Hidden };

// What the application form shows after a calculation. Texts are formatted
// as the form shows them (point, two decimals, width 8).
struct AllowanceDisplay {
    // PanelResults: shown by a valid calculation with show results, hidden
    // by a failed one, otherwise left as it is.
    Visibility panelResults = Visibility::Unchanged;

    // The intermediate results, filled only when `resultsFilled` (show results
    // set and the result valid); otherwise the controls keep their contents.
    bool resultsFilled = false;
    QString editProcDoch;        // EditProcDoch: U
    QString editWysDod;          // EditWysDod: A0 before the excess
    QString editDochNaCzlonka;   // EditDochNaCzlonka: i
    QString labelNadwyzka;       // LabelNadwyzka
    QString editNadwyzka;        // EditNadwyzka: X or "nie ma"
    bool dodBezWarVisible = false;  // LabelDotBezWar and EditDodBezWar
    QString editDodBezWar;       // EditDodBezWar: D (meaningful when visible)

    // LabelProcentDochodow: set whenever the result is valid.
    std::optional<QString> labelProcentDochodow;
    // LabelRyczProc: always set.
    QString labelRyczProc;
    // LabelM07 and LabelC09: set (emptied on failure) by the current rules,
    // untouched (empty optional) by the earlier ones; made visible when
    // `workingLabelsVisible`.
    std::optional<QString> labelM07;
    std::optional<QString> labelC09;
    bool workingLabelsVisible = false;
};

// The working values of one calculation (for the form's tests and for
// diagnostics); meaningful as far as the calculation got.
struct WorkingValues {
    double normArea = 0;  // N, normative area
    double wn = 0;      // expenses on the normative area
    double r = 0;       // lump sums
    double t = 0;       // all expenses
    double t90 = 0;     // corrected expenses (current rules)
    double p = 0;       // lump sums as a percentage of all expenses
    double m = 0;       // ceiling (current rules)
    double i = 0;       // income per member
    int share = 0;      // p, share of income in whole percent
    double u = 0;       // household share
    double a0 = 0;      // allowance before the excess, after step 13
    double x = 0;       // income excess
    double a = 0;       // allowance
    double d = 0;       // computed allowance (Dodatek_wylicz)
    double ar = 0;      // to the applicant
    double az = 0;      // to the manager
    bool zeroed = false;
};

struct AllowanceResult {
    bool valid = true;
    bool goOn = true;  // false once "Przerwij" was answered
    // Pow_normatywna: written as soon as the input checks pass.
    std::optional<double> powNormatywna;
    StoredAmounts stored;
    // Wydatki_razem90 is written only by a valid calculation of the current
    // rules; otherwise the field keeps its value.
    bool writesWydatkiRazem90 = false;
    AllowanceDisplay display;
    WorkingValues work;
};

// The calculation of one application, asking its questions through `q`:
// the problems through kontynuujPrzerwij at request.dialogPos (MessCont) when
// request.showMessages, the percentage-index warning through inform always.
// Nothing else is touched; the caller writes the result into the record.
AllowanceResult computeAllowance(const AllowanceInput &in, const CalcRequest &request, core::Questions &q);

// The label of the lump-sum percentage (LabelRyczProc) as a calculation
// leaves it: "Ryczałt za brak c.o./c.w.", and when the lump sum is paid to
// the applicant "Ryczałt za brak c.o./c.w. wypłac. do rąk wnioskodawcy:",
// the form's own caption of the field.
QString ryczProcLabel(bool ryczaltDoRak);
AllowanceResult computeAllowanceOld(const AllowanceInput &in, const CalcRequest &request, core::Questions &q);
AllowanceResult computeAllowance(Rules rules, const AllowanceInput &in, const CalcRequest &request, core::Questions &q);

}  // namespace varnel::calc
