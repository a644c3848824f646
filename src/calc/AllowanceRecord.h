#pragma once

#include "calc/Allowance.h"

#include <QPoint>

namespace varnel::data {
class Table;
}
namespace varnel::core {
class Questions;
}

namespace varnel::calc {

// Positions of the fields the calculation reads and writes in the cursor of
// an application table, looked up once. Throws core::DbError naming a field the
// table lacks.
struct ApplicationFields {
    explicit ApplicationFields(data::Table &table);
    // The names of all of them in the table's cursor: what the calculation
    // of a record reads and writes.
    QStringList names(const data::Table &table) const;

    // read
    int liczbaOsob, powUzytk, dochodRazem, wydatkiCzynsz, oplatyDodatkowe;
    int ryczaltCO, ryczaltWoda, ryczaltGaz, najnEmeryt, kosztKwh, wskProc, ilOsobNaWozku;
    int powKuchniPonad60, okresOd, tytulPrawny, caloscDoRak, ryczaltDoRak, osobaNaWozku, budowaPo45r;
    // written
    int powNormatywna, wydatkiWgPow, ryczaltMax, wydatkiRazem, wydatkiRazem90, ryczaltProcent;
    int wyplataCalosc, wyplataRyczalt, wyplataZarzadca, dodatekWylicz, obliczeniaOK;
};

// The inputs of the calculation from the current record (edit buffer while
// editing).
AllowanceInput readAllowanceInput(data::Table &table, const ApplicationFields &f);

// The year of the current record's Okres_od; empty for a blank date (the
// rules before 2003).
std::optional<int> rokOkresuOd(data::Table &table);

// The income-percentage rule on the current record: the share of income, in
// whole percent, its household bears, from Liczba_osob, Dochod_razem,
// NajnEmeryt and the year of Okres_od, read as the calculation reads them.
// Decision templates show it ("Wydatki mieszk. [%]").
int OkreslProcDochodu(data::Table &table);

// The calculation of the current record of an application table, with the
// record handling of the form's LiczDodatek / LiczDodatekOld:
//  - valid and goOn are set True on entry; a record being edited or inserted
//    is saved first and put back into editing, otherwise put into editing;
//  - Pow_normatywna is written once the input checks pass, the amounts (or
//    their failure values) and ObliczeniaOK after the calculation,
//    Wydatki_razem90 only by a valid calculation of the current rules;
//  - the record is saved at the end, valid or not.
// Returns what the application form shows. A failure of the table engine
// (core::DbError) or of a question (for instance a missing icon file) abandons the
// calculation: the edit begun here is cancelled and the exception passes on
// to the caller, which shows it.
AllowanceDisplay runAllowance(data::Table &table, const ApplicationFields &fields, Rules rules,
                              const CalcRequest &request, bool &valid, bool &goOn, core::Questions &q);

// The calculation by the current rules ("Wg zasad po 1.01.2002 r.").
AllowanceDisplay LiczDodatek(data::Table &table, bool showResults, QPoint pos, bool showMessages, bool &valid,
                             bool &goOn, core::Questions &q);
// The calculation by the rules before 2002 ("Wg starych zasad").
AllowanceDisplay LiczDodatekOld(data::Table &table, bool showResults, QPoint pos, bool showMessages, bool &valid,
                                bool &goOn, core::Questions &q);

}  // namespace varnel::calc
