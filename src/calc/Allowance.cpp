#include "calc/Allowance.h"

#include "calc/IncomeShare.h"
#include "calc/Money.h"
#include "core/Questions.h"

#include <algorithm>

namespace varnel::calc {

namespace {

// Texts of the calculation, as the user sees them.
const QString MsgWskProc = QStringLiteral("Uwaga! Współcz. procentowy powinien mieć warość 50-90% !");
const QString MsgNoPersons = QStringLiteral("Nie wprowadzono liczby osób w gosp. domowym!");
const QString MsgNoArea = QStringLiteral("Nie wprowadzono powierzchni użytk. lokalu!");
const QString MsgBadRent = QStringLiteral("Nieprawidłowa wartość kwoty czynszu !");
const QString MsgNoRent = QStringLiteral("Nie wprowadzono kwoty czynszu !");
const QString MsgNoPension = QStringLiteral("Brak danych o najniższej emeryturze !");
const QString MsgNoCosts = QStringLiteral("Nie wprowadzono żadnych kosztów !");
const QString MsgAreaLimit = QStringLiteral("Przekroczona norma powierzchni !");
const QString MsgMinimum = QStringLiteral("Wartość dodatku mniejsza od 2% najn.emeryt");
const QString MsgNoTitle = QStringLiteral("Brak tytułu prawnego");
const QString MsgAllowanceRange =
    QStringLiteral("Wyliczona wysokość dodatku przekracza dopuszczalny zakres kwot - sprawdź dane wniosku !");
const QString MsgAmountsRange =
    QStringLiteral("Wyliczone kwoty przekraczają dopuszczalny zakres - sprawdź powierzchnię i kwoty wniosku !");

const QString TitleNone = QStringLiteral("brak tytułu prawnego");
const QString Yes = QStringLiteral("Tak");

// One calculation in progress: the result being built and the way its
// questions are asked.
class Run {
public:
    Run(const CalcRequest &request, core::Questions &q) : m_req(request), m_q(q) {}

    AllowanceResult res;

    // MessCont: asked only when messages are shown; the answer is the go-on flag.
    void messCont(const QString &text) {
        if (m_req.showMessages)
            res.goOn = m_q.kontynuujPrzerwij(text, m_req.dialogPos);
    }
    void failCheck(const QString &text) {
        res.valid = false;
        messCont(text);
    }
    void inform(const QString &text) { m_q.inform(text); }
    const CalcRequest &request() const { return m_req; }

private:
    const CalcRequest &m_req;
    core::Questions &m_q;
};

// Normative area before any wheelchair addition.
double normativeAreaBase(int n) {
    static const int table[] = {0, 35, 40, 45, 55, 65, 70};
    if (n >= 1 && n <= 6)
        return table[n];
    return 70.0 + 5.0 * (n - 6);
}

QString shown(double v) { return formatN(v, 8, 2); }


QString procentLabel(int share) { return QString::number(share) + QStringLiteral("% dochodów gospodarstwa:"); }

QString nadwyzkaLabel(RulePeriod period, int n) {
    const bool one = n == 1;
    switch (period) {
    case RulePeriod::Before2003:
        return one ? QStringLiteral("Nadwyżka pon.150% najn.emeryt.") : QStringLiteral("Nadwyżka pon.100% najn.emeryt.");
    case RulePeriod::Years2003To2004:
        return one ? QStringLiteral("Nadwyżka pon.160% najn.emeryt.") : QStringLiteral("Nadwyżka pon.110% najn.emeryt.");
    case RulePeriod::From2005:
        break;
    }
    return one ? QStringLiteral("Nadwyżka pon.175% najn.emeryt.") : QStringLiteral("Nadwyżka pon.125% najn.emeryt.");
}

// Rounds the amounts to be stored; false when one of them cannot be rounded
// to whole grosze.
bool roundAmounts(const WorkingValues &w, bool current, StoredAmounts &out) {
    const double in[] = {w.wn, w.r, w.t, current ? w.t90 : 0.0, w.p, w.a, w.ar, w.az, w.d};
    double r[9];
    for (int k = 0; k < 9; ++k) {
        const auto c = centsOf(in[k]);
        if (!c)
            return false;
        r[k] = static_cast<double>(*c) / 100.0;
    }
    out.wydatkiWgPow = r[0];
    out.ryczaltMax = r[1];
    out.wydatkiRazem = r[2];
    out.wydatkiRazem90 = r[3];
    out.ryczaltProcent = r[4];
    out.wyplataCalosc = r[5];
    out.wyplataRyczalt = r[6];
    out.wyplataZarzadca = r[7];
    out.dodatekWylicz = r[8];
    out.obliczeniaOK = true;
    return true;
}

// Steps 23 and 24 of a failed calculation: the failure values, the result
// panel hidden, the working labels emptied (current rules only).
AllowanceResult invalid(Run &run, bool current, bool ryczaltDoRak) {
    AllowanceResult &res = run.res;
    res.valid = false;
    res.stored = StoredAmounts{};
    res.writesWydatkiRazem90 = false;
    res.display = AllowanceDisplay{};
    res.display.panelResults = Visibility::Hidden;
    res.display.labelRyczProc = ryczProcLabel(ryczaltDoRak);
    if (current) {
        res.display.labelM07 = QString();
        res.display.labelC09 = QString();
        res.display.workingLabelsVisible = true;
    }
    return res;
}

// Step 21 and 22 of a valid calculation.
void fillDisplay(Run &run, const QString &labelNadwyzka) {
    AllowanceResult &res = run.res;
    const WorkingValues &w = res.work;
    AllowanceDisplay &d = res.display;
    if (run.request().showResults) {
        d.panelResults = Visibility::Shown;
        d.resultsFilled = true;
        d.editProcDoch = shown(w.u);
        d.editWysDod = shown(w.a0);
        d.editDochNaCzlonka = shown(w.i);
        d.labelNadwyzka = labelNadwyzka;
        d.editNadwyzka = w.x == 0 ? QStringLiteral("nie ma") : shown(w.x);
        d.dodBezWarVisible = w.zeroed;
        d.editDodBezWar = shown(w.d);
    }
    d.labelProcentDochodow = procentLabel(w.share);
}

}  // namespace

QString ryczProcLabel(bool ryczaltDoRak) {
    QString s = QStringLiteral("Ryczałt za brak c.o./c.w.");
    if (ryczaltDoRak)
        s += QStringLiteral(" wypłac. do rąk wnioskodawcy:");
    return s;
}

AllowanceResult computeAllowance(const AllowanceInput &in, const CalcRequest &request, core::Questions &q) {
    Run run(request, q);
    AllowanceResult &res = run.res;
    WorkingValues &w = res.work;

    const int n = in.liczbaOsob;
    const double S = in.powUzytk;
    const double I = in.dochodRazem;
    const double C = in.wydatkiCzynsz;
    const double O = in.oplatyDodatkowe;
    const double E = in.najnEmeryt;
    const double K = in.kosztKwh;
    const int W = in.wskProc;

    // Percentage index: a warning only, whatever the messages flag says.
    if (W < 50 || W > 90)
        run.inform(MsgWskProc);

    // Input checks: the first always, each later one while the user goes on.
    // A household of fewer than one person counts as not entered.
    if (n < 1)
        run.failCheck(MsgNoPersons);
    if (res.goOn && !(S > 0))
        run.failCheck(MsgNoArea);
    if (res.goOn && C < 0)
        run.failCheck(MsgBadRent);
    if (res.goOn && !(E > 0))
        run.failCheck(MsgNoPension);
    if (res.goOn && C == 0 && !in.ryczaltCO && !in.ryczaltWoda && !in.ryczaltGaz)
        run.failCheck(MsgNoCosts);
    if (!res.valid)
        return invalid(run, true, in.ryczaltDoRak);

    // Normative area, written at once.
    const double N = normativeAreaBase(n) + 15.0 * in.ilOsobNaWozku;
    w.normArea = N;
    res.powNormatywna = N;

    // Area limit.
    const double factor = in.powKuchniPonad60 == Yes ? 1.3 : 1.5;
    if (!(S <= factor * N)) {
        res.valid = false;
        run.messCont(MsgAreaLimit);
        return invalid(run, true, in.ryczaltDoRak);
    }

    // Expenses on the normative area and lump sums.
    w.wn = S <= N ? C + O : (C + O) * N / S;
    double R = 0;
    if (in.ryczaltCO)
        R += 5 * std::min(S, N) * K;
    if (in.ryczaltWoda)
        R += 20 * n * K;
    if (in.ryczaltGaz)
        R += 10 * K + 2 * (n - 1) * K;
    w.r = R;

    // Totals. With no expenses at all (T = 0) the lump sums are no share of
    // them: P = 0, so nothing of the split goes to the applicant's lump sum.
    w.t = w.wn + R;
    w.t90 = 0.9 * w.wn + R;
    w.p = w.t == 0 ? 0.0 : 100 * R / w.t;
    w.m = (W / 100.0) * w.t;

    // Income per member and the household's share.
    w.i = I / n;
    w.share = OkreslProcDochodu(n, I, E, in.rokOkresuOd);
    w.u = w.share * I / 100;

    // Allowance before the excess.
    double A0 = w.t90 - w.u;
    w.d = A0;
    w.zeroed = false;
    if (A0 < 0) {
        A0 = 0;
        w.zeroed = true;
    }
    w.a0 = A0;

    // Income excess.
    const RulePeriod period = rulePeriodOf(in.rokOkresuOd);
    double t;
    if (n == 1)
        t = period == RulePeriod::Before2003 ? 1.5 : period == RulePeriod::Years2003To2004 ? 1.6 : 1.75;
    else
        t = period == RulePeriod::Before2003 ? 1.0 : period == RulePeriod::Years2003To2004 ? 1.1 : 1.25;
    w.x = w.i - t * E;
    if (!(w.x > 0))
        w.x = 0;

    double A = A0 - w.x;
    if (A < 0) {
        A = 0;
        w.d = w.d - w.x;
        w.zeroed = true;
    }

    // Minimum of 2 % of the lowest pension.
    if (0 < A && A < 0.02 * E) {
        run.messCont(MsgMinimum);
        w.p = 0;
        A = 0;
        w.d = w.d - w.x;
        w.zeroed = true;
    }

    // No legal title to the dwelling.
    if (in.tytulPrawny == TitleNone) {
        run.messCont(MsgNoTitle);
        w.p = 0;
        A = 0;
        w.zeroed = true;
    }

    // Ceiling, applied after the minimum test.
    if (A > w.m)
        A = w.m;

    // Whole grosze; the paid allowance must fit a 32-bit number of grosze.
    const auto rounded = round2Checked(A);
    if (!rounded) {
        w.a = A;
        res.valid = false;
        run.messCont(MsgAllowanceRange);
        return invalid(run, true, in.ryczaltDoRak);
    }
    A = *rounded;
    w.a = A;

    // Split between the applicant and the manager.
    if (in.caloscDoRak) {
        w.ar = A;
        w.az = 0;
    } else {
        w.ar = 0;
        if (in.ryczaltDoRak) {
            const auto c = centsOf(A * w.p / 100);
            w.ar = c ? static_cast<double>(*c) / 100.0 : A * w.p / 100;
        }
        w.az = A - w.ar;
    }

    StoredAmounts amounts;
    if (!roundAmounts(w, true, amounts)) {
        res.valid = false;
        run.messCont(MsgAmountsRange);
        return invalid(run, true, in.ryczaltDoRak);
    }
    amounts.wyplataCalosc = A;

    fillDisplay(run, nadwyzkaLabel(period, n));
    res.display.labelRyczProc = ryczProcLabel(in.ryczaltDoRak);
    res.stored = amounts;
    res.writesWydatkiRazem90 = true;
    res.display.labelM07 = QStringLiteral("*") + formatN(W / 100.0, 4, 2) + QStringLiteral("=") + formatN(w.m, 7, 2);
    res.display.labelC09 = QStringLiteral("*0,9=") + formatN(0.9 * w.wn, 7, 2);
    res.display.workingLabelsVisible = true;
    return res;
}

AllowanceResult computeAllowanceOld(const AllowanceInput &in, const CalcRequest &request, core::Questions &q) {
    Run run(request, q);
    AllowanceResult &res = run.res;
    WorkingValues &w = res.work;

    const int n = in.liczbaOsob;
    const double S = in.powUzytk;
    const double I = in.dochodRazem;
    const double C = in.wydatkiCzynsz;
    const double O = in.oplatyDodatkowe;
    const double E = in.najnEmeryt;
    const double K = in.kosztKwh;

    // Input checks; a rent of 0 fails too, and there is no check of costs.
    if (n < 1)
        run.failCheck(MsgNoPersons);
    if (res.goOn && !(S > 0))
        run.failCheck(MsgNoArea);
    if (res.goOn && !(C > 0))
        run.failCheck(MsgNoRent);
    if (res.goOn && !(E > 0))
        run.failCheck(MsgNoPension);
    if (!res.valid)
        return invalid(run, false, in.ryczaltDoRak);

    // Normative area: 10 m² once for a wheelchair user.
    const double N = normativeAreaBase(n) + (in.osobaNaWozku == Yes ? 10.0 : 0.0);
    w.normArea = N;
    res.powNormatywna = N;

    // Area limit by the age of the building.
    const double factor = in.budowaPo45r == Yes ? 1.3 : 1.5;
    if (!(S <= factor * N)) {
        res.valid = false;
        run.messCont(MsgAreaLimit);
        return invalid(run, false, in.ryczaltDoRak);
    }

    // The rent alone on the normative area; additional charges count with the
    // lump sums.
    w.wn = S <= N ? C : C * N / S;
    if (in.ryczaltCO || in.ryczaltWoda || O > 0) {
        double R = 0;
        if (in.ryczaltCO)
            R += 7 * std::min(S, N) * K;
        if (in.ryczaltWoda)
            R += 30 * n * K;
        if (O > 0)
            R += S <= N ? O : O * N / S;
        w.r = R;
        w.t = w.wn + R;
        w.p = w.t == 0 ? 0.0 : 100 * R / w.t;
    } else {
        w.r = 0;
        w.t = w.wn;
        w.p = 0;
    }

    w.i = I / n;
    w.share = ordinaryIncomeShare(n);
    w.u = w.share * I / 100;

    double A0 = w.t - w.u;
    w.d = A0;
    w.zeroed = false;
    if (A0 < 0) {
        A0 = 0;
        w.zeroed = true;
    }
    w.a0 = A0;

    w.x = w.i - (n == 1 ? 1.5 * E : E);
    if (!(w.x > 0))
        w.x = 0;

    double A = A0 - w.x;
    if (A < 0) {
        A = 0;
        w.d = w.d - w.x;
        w.zeroed = true;
    }

    // Minimum; the computed allowance stays as it is.
    if (0 < A && A < 0.02 * E) {
        run.messCont(MsgMinimum);
        w.p = 0;
        A = 0;
        w.zeroed = true;
    }

    if (in.tytulPrawny == TitleNone) {
        run.messCont(MsgNoTitle);
        w.p = 0;
        A = 0;
        w.zeroed = true;
    }

    // No ceiling; the split works on the unrounded allowance.
    w.a = A;
    w.ar = in.ryczaltDoRak ? A * w.p / 100 : 0;
    w.az = A - w.ar;

    if (!cents32Of(A)) {
        res.valid = false;
        run.messCont(MsgAllowanceRange);
        return invalid(run, false, in.ryczaltDoRak);
    }
    StoredAmounts amounts;
    if (!roundAmounts(w, false, amounts)) {
        res.valid = false;
        run.messCont(MsgAmountsRange);
        return invalid(run, false, in.ryczaltDoRak);
    }

    fillDisplay(run, n == 1 ? QStringLiteral("Nadwyżka pon.150% najn.emeryt.")
                            : QStringLiteral("Nadwyżka pon.100% najn.emeryt."));
    res.display.labelRyczProc = ryczProcLabel(in.ryczaltDoRak);
    res.stored = amounts;
    res.writesWydatkiRazem90 = false;
    return res;
}

AllowanceResult computeAllowance(Rules rules, const AllowanceInput &in, const CalcRequest &request, core::Questions &q) {
    return rules == Rules::Current ? computeAllowance(in, request, q) : computeAllowanceOld(in, request, q);
}

}  // namespace varnel::calc
