// The calculation by the rules before 2002, without a table.
#include "calc/Allowance.h"
#include "support/ScriptedQuestions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace varnel::calc;
using varnel::test::ScriptedQuestions;
using Kind = ScriptedQuestions::Kind;
using Answer = ScriptedQuestions::Answer;

namespace {

// Two persons, 40 m², rent 200, no lump sums, income 1000, lowest pension 500.
AllowanceInput twoPersons() {
    AllowanceInput in;
    in.liczbaOsob = 2;
    in.powUzytk = 40;
    in.wydatkiCzynsz = 200;
    in.dochodRazem = 1000;
    in.najnEmeryt = 500;
    in.kosztKwh = 0.5;
    in.wskProc = 70;
    in.tytulPrawny = QStringLiteral("najem");
    return in;
}

AllowanceResult run(const AllowanceInput &in, ScriptedQuestions &q, bool showMessages = true) {
    return computeAllowanceOld(in, CalcRequest{true, QPoint(200, 300), showMessages}, q);
}

}  // namespace

TEST(AllowanceOldExamples, TwoPersonsWithoutLumpSums) {
    ScriptedQuestions q;
    const auto r = run(twoPersons(), q);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.powNormatywna, std::optional<double>(40));
    EXPECT_EQ(r.stored.wydatkiRazem, 200);
    EXPECT_EQ(r.stored.wyplataCalosc, 80);
    EXPECT_EQ(r.stored.dodatekWylicz, 80);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_FALSE(r.writesWydatkiRazem90);
    EXPECT_FALSE(r.display.labelM07);
    EXPECT_FALSE(r.display.labelC09);
    EXPECT_FALSE(r.display.workingLabelsVisible);
    EXPECT_EQ(r.display.labelProcentDochodow, QStringLiteral("12% dochodów gospodarstwa:"));
    EXPECT_EQ(r.display.labelNadwyzka, QStringLiteral("Nadwyżka pon.100% najn.emeryt."));
    EXPECT_EQ(r.display.editNadwyzka, QStringLiteral("nie ma"));
    EXPECT_TRUE(q.asked().empty());
}

TEST(AllowanceOldExamples, ChargesOnALargerAreaCountWithTheLumpSums) {
    AllowanceInput in = twoPersons();
    in.powUzytk = 50;  // 1.25 N
    in.oplatyDodatkowe = 50;
    in.ryczaltDoRak = true;
    ScriptedQuestions q;
    const auto r = run(in, q);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.stored.wydatkiWgPow, 160);  // 200 * 40 / 50
    EXPECT_EQ(r.stored.ryczaltMax, 40);
    EXPECT_EQ(r.stored.wydatkiRazem, 200);
    EXPECT_EQ(r.stored.ryczaltProcent, 20);
    EXPECT_EQ(r.stored.wyplataCalosc, 80);
    EXPECT_EQ(r.stored.wyplataRyczalt, 16);
    EXPECT_EQ(r.stored.wyplataZarzadca, 64);

    in.ryczaltCO = true;   // 7 * 40 * 0.5 = 140
    in.ryczaltWoda = true; // 30 * 2 * 0.5 = 30
    in.ryczaltGaz = true;  // not read by these rules
    EXPECT_EQ(run(in, q).stored.ryczaltMax, 210);
}

TEST(AllowanceOldRules, NormAndAreaLimitFromWheelchairAndBuildingAge) {
    struct Case {
        int n;
        const char *wheelchair, *after45;
        double area;
        bool ok;
        double norm;
    } cases[] = {{1, "Tak", "Nie", 30, true, 45},  {1, "Nie", "Nie", 52.5, true, 35},
                 {1, "Nie", "Nie", 52.6, false, 35}, {1, "Nie", "Tak", 46, false, 35},
                 {1, "Tak", "Tak", 58, true, 45}, {7, "", "", 75, true, 75}};
    for (const auto &c : cases) {
        AllowanceInput in = twoPersons();
        in.liczbaOsob = c.n;
        in.osobaNaWozku = QString::fromLatin1(c.wheelchair);
        in.budowaPo45r = QString::fromLatin1(c.after45);
        in.ilOsobNaWozku = 3;                            // current rules only
        in.powKuchniPonad60 = QStringLiteral("Tak");     // current rules only
        in.powUzytk = c.area;
        ScriptedQuestions q;
        const auto r = run(in, q);
        EXPECT_EQ(r.valid, c.ok) << c.n << c.wheelchair << c.after45 << c.area;
        EXPECT_EQ(r.powNormatywna, std::optional<double>(c.norm));
        if (!c.ok) {
            EXPECT_EQ(q.texts(), QStringList{QStringLiteral("Przekroczona norma powierzchni !")});
        }
    }
}

TEST(AllowanceOldRules, ShareAndExcessIgnoreThePeriod) {
    AllowanceInput in = twoPersons();
    in.liczbaOsob = 1;
    in.powUzytk = 30;
    in.najnEmeryt = 600;
    in.dochodRazem = 900;
    in.rokOkresuOd = 2006;  // would be the higher band by the current rules
    in.wskProc = 20;        // no warning by these rules
    ScriptedQuestions q;
    const auto r = run(in, q);
    EXPECT_EQ(r.work.share, 15);
    EXPECT_EQ(r.stored.wyplataCalosc, 65);  // 200 - 135, X = 900 - 900 = 0
    EXPECT_EQ(r.display.labelNadwyzka, QStringLiteral("Nadwyżka pon.150% najn.emeryt."));
    EXPECT_TRUE(q.asked().empty());
}

TEST(AllowanceOldChecks, RentOfZeroFailsEvenWithLumpSums) {
    AllowanceInput in = twoPersons();
    in.wydatkiCzynsz = 0;
    in.ryczaltCO = true;
    ScriptedQuestions q;
    const auto r = run(in, q);
    EXPECT_FALSE(r.valid);
    EXPECT_FALSE(r.powNormatywna);
    EXPECT_EQ(q.texts(), QStringList{QStringLiteral("Nie wprowadzono kwoty czynszu !")});
    EXPECT_EQ(r.display.panelResults, Visibility::Hidden);
    EXPECT_FALSE(r.display.labelM07);  // untouched by these rules
}

TEST(AllowanceOldChecks, NoPersonsAndPrzerwijComputeNothing) {
    AllowanceInput in = twoPersons();
    in.liczbaOsob = 0;
    in.powUzytk = 0;
    ScriptedQuestions stop(Answer::No);
    auto r = run(in, stop);
    EXPECT_EQ(stop.asked().size(), 1u);
    EXPECT_FALSE(r.goOn);
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);
    EXPECT_FALSE(std::isnan(r.work.i));

    ScriptedQuestions silent;
    r = run(in, silent, false);
    EXPECT_FALSE(r.valid);
    EXPECT_TRUE(silent.asked().empty());
}

TEST(AllowanceOldMinimum, ComputedAllowanceStaysAsItIs) {
    AllowanceInput in = twoPersons();
    in.liczbaOsob = 1;
    in.powUzytk = 30;
    in.wydatkiCzynsz = 175;
    in.dochodRazem = 800;  // U = 120, A0 = 55, X = 800 - 750 = 50, A = 5 < 10
    ScriptedQuestions q;
    const auto r = run(in, q);
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);
    EXPECT_EQ(r.stored.dodatekWylicz, 55);
    EXPECT_EQ(q.texts(), QStringList{QStringLiteral("Wartość dodatku mniejsza od 2% najn.emeryt")});
}

TEST(AllowanceOldSplit, PaymentsRoundedSeparatelyMayMissAGrosz) {
    AllowanceInput in = twoPersons();
    in.wydatkiCzynsz = 100;
    in.oplatyDodatkowe = 100;  // P = 50
    in.dochodRazem = 833.28;   // U = 99.9936, A = 100.0064
    in.ryczaltDoRak = true;
    in.caloscDoRak = true;     // not read by these rules
    ScriptedQuestions q;
    const auto r = run(in, q);
    EXPECT_EQ(r.stored.wyplataCalosc, 100.01);
    EXPECT_EQ(r.stored.wyplataRyczalt, 50.00);
    EXPECT_EQ(r.stored.wyplataZarzadca, 50.00);
}

TEST(AllowanceOldSplit, NoExpensesAtAllGiveNoLumpSumShare) {
    AllowanceInput in = twoPersons();
    in.liczbaOsob = 1;
    in.powUzytk = 30;
    in.wydatkiCzynsz = 30;
    in.ryczaltWoda = true;
    in.kosztKwh = -1;  // R = -30: T = 0
    in.dochodRazem = 0;
    in.ryczaltDoRak = true;
    ScriptedQuestions q;
    const auto r = run(in, q);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.work.t, 0);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_EQ(r.stored.wyplataRyczalt, 0);
}
