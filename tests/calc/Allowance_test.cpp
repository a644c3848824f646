// The calculation by the current rules, without a table.
#include "calc/Allowance.h"
#include "support/ScriptedQuestions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace varnel::calc;
using varnel::test::ScriptedQuestions;
using Kind = ScriptedQuestions::Kind;
using Answer = ScriptedQuestions::Answer;

namespace {

const QPoint Pos(200, 300);

// One person, 30 m², rent 300, income 900, lowest pension 600, W = 70, 2006.
AllowanceInput onePerson() {
    AllowanceInput in;
    in.liczbaOsob = 1;
    in.powUzytk = 30;
    in.dochodRazem = 900;
    in.wydatkiCzynsz = 300;
    in.najnEmeryt = 600;
    in.kosztKwh = 0.5;
    in.wskProc = 70;
    in.rokOkresuOd = 2006;
    in.powKuchniPonad60 = QStringLiteral("Nie");
    in.tytulPrawny = QStringLiteral("najem");
    return in;
}

// Three persons, 50 m², rent 400 + 50, CO and CW at 0.50, income 2400, 2006.
AllowanceInput threePersons() {
    AllowanceInput in = onePerson();
    in.liczbaOsob = 3;
    in.powUzytk = 50;
    in.wydatkiCzynsz = 400;
    in.oplatyDodatkowe = 50;
    in.ryczaltCO = true;
    in.ryczaltWoda = true;
    in.dochodRazem = 2400;
    in.ryczaltDoRak = true;
    return in;
}

AllowanceResult run(const AllowanceInput &in, ScriptedQuestions &q, bool showMessages = true, bool showResults = true) {
    return computeAllowance(in, CalcRequest{showResults, Pos, showMessages}, q);
}

void expectFailureValues(const AllowanceResult &r) {
    EXPECT_FALSE(r.valid);
    EXPECT_FALSE(r.stored.obliczeniaOK);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);
    EXPECT_EQ(r.stored.wydatkiRazem, 0);
    EXPECT_EQ(r.stored.dodatekWylicz, 0);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_FALSE(r.writesWydatkiRazem90);
    EXPECT_EQ(r.display.panelResults, Visibility::Hidden);
    EXPECT_EQ(r.display.labelM07, QString());
    EXPECT_EQ(r.display.labelC09, QString());
    EXPECT_FALSE(r.display.labelProcentDochodow);
}

}  // namespace

TEST(AllowanceExamples, OnePersonInTheHigherBand) {
    ScriptedQuestions q;
    const auto r = run(onePerson(), q);
    ASSERT_TRUE(r.valid);
    EXPECT_TRUE(q.asked().empty());
    EXPECT_EQ(r.powNormatywna, std::optional<double>(35));
    EXPECT_EQ(r.work.share, 20);
    EXPECT_EQ(r.stored.wydatkiRazem, 300);
    EXPECT_EQ(r.stored.wydatkiRazem90, 270);
    EXPECT_EQ(r.stored.wyplataCalosc, 90);
    EXPECT_EQ(r.stored.wyplataZarzadca, 90);
    EXPECT_EQ(r.stored.dodatekWylicz, 90);
    EXPECT_TRUE(r.stored.obliczeniaOK);
    EXPECT_DOUBLE_EQ(r.work.m, 210);
    EXPECT_EQ(r.display.labelProcentDochodow, QStringLiteral("20% dochodów gospodarstwa:"));
    EXPECT_EQ(r.display.editNadwyzka, QStringLiteral("nie ma"));
    EXPECT_EQ(r.display.labelNadwyzka, QStringLiteral("Nadwyżka pon.175% najn.emeryt."));
    EXPECT_EQ(r.display.editProcDoch, QStringLiteral("  180.00"));
    EXPECT_EQ(r.display.editWysDod, QStringLiteral("   90.00"));
    EXPECT_EQ(r.display.editDochNaCzlonka, QStringLiteral("  900.00"));
    EXPECT_FALSE(r.display.dodBezWarVisible);
    EXPECT_EQ(r.display.labelM07, QStringLiteral("*0.70= 210.00"));
    EXPECT_EQ(r.display.labelRyczProc, QStringLiteral("Ryczałt za brak c.o./c.w."));
    EXPECT_EQ(r.display.panelResults, Visibility::Shown);
}

TEST(AllowanceExamples, ThreePersonsWithLumpSumsToTheApplicant) {
    ScriptedQuestions q;
    const auto r = run(threePersons(), q);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.powNormatywna, std::optional<double>(45));
    const StoredAmounts &s = r.stored;
    EXPECT_EQ(s.wydatkiWgPow, 405.00);
    EXPECT_EQ(s.ryczaltMax, 142.50);
    EXPECT_EQ(s.wydatkiRazem, 547.50);
    EXPECT_EQ(s.wydatkiRazem90, 507.00);
    EXPECT_EQ(s.ryczaltProcent, 26.03);
    EXPECT_EQ(s.wyplataCalosc, 169.00);
    EXPECT_EQ(s.wyplataRyczalt, 43.99);
    EXPECT_EQ(s.wyplataZarzadca, 125.01);
    EXPECT_EQ(s.dodatekWylicz, 219.00);
    EXPECT_TRUE(r.writesWydatkiRazem90);
    EXPECT_EQ(r.work.share, 12);
    EXPECT_EQ(r.display.labelM07, QStringLiteral("*0.70= 383.25"));
    EXPECT_EQ(r.display.labelC09, QStringLiteral("*0,9= 364.50"));
    EXPECT_EQ(r.display.editNadwyzka, QStringLiteral("   50.00"));
    EXPECT_EQ(r.display.labelRyczProc, QStringLiteral("Ryczałt za brak c.o./c.w. wypłac. do rąk wnioskodawcy:"));
    EXPECT_TRUE(r.display.workingLabelsVisible);
}

TEST(AllowanceNormativeArea, ByPersonsAndWheelchairUsers) {
    const std::pair<int, double> table[] = {{1, 35}, {2, 40}, {3, 45}, {4, 55}, {5, 65}, {6, 70}, {7, 75}, {10, 90}};
    for (auto [n, area] : table) {
        AllowanceInput in = onePerson();
        in.liczbaOsob = n;
        ScriptedQuestions q;
        EXPECT_EQ(run(in, q).powNormatywna, std::optional<double>(area)) << n;
        in.ilOsobNaWozku = 2;
        EXPECT_EQ(run(in, q).powNormatywna, std::optional<double>(area + 30)) << n;
    }
}

TEST(AllowanceAreaLimit, OneAndAHalfOrOnePointThreeTimesTheNorm) {
    struct Case {
        const char *kitchen;
        double area;  // N = 45 for three persons
        bool ok;
    } cases[] = {{"Nie", 67.5, true}, {"Nie", 67.51, false}, {"", 67.5, true}, {"tak", 67.5, true},
                 {"Tak", 58.0, true}, {"Tak", 1.31 * 45, false}};
    for (const auto &c : cases) {
        AllowanceInput in = threePersons();
        in.powKuchniPonad60 = QString::fromLatin1(c.kitchen);
        in.powUzytk = c.area;
        ScriptedQuestions q;
        const auto r = run(in, q);
        EXPECT_EQ(r.valid, c.ok) << c.kitchen << " " << c.area;
        if (!c.ok) {
            expectFailureValues(r);
            EXPECT_EQ(r.powNormatywna, std::optional<double>(45));  // written before the limit
            EXPECT_EQ(q.texts(Kind::KontynuujPrzerwij), QStringList{QStringLiteral("Przekroczona norma powierzchni !")});
        }
    }
}

TEST(AllowanceBands, PeriodDecidesBandExcessAndLabel) {
    struct Case {
        std::optional<int> year;
        int persons;
        int share;
        const char *label;
    } cases[] = {{2004, 1, 20, "Nadwyżka pon.160% najn.emeryt."}, {2002, 1, 15, "Nadwyżka pon.150% najn.emeryt."},
                 {std::nullopt, 1, 15, "Nadwyżka pon.150% najn.emeryt."},
                 {2003, 2, 15, "Nadwyżka pon.110% najn.emeryt."}, {2005, 2, 15, "Nadwyżka pon.125% najn.emeryt."},
                 {2001, 2, 12, "Nadwyżka pon.100% najn.emeryt."}};
    for (const auto &c : cases) {
        AllowanceInput in = onePerson();
        in.rokOkresuOd = c.year;
        in.liczbaOsob = c.persons;
        in.dochodRazem = 900 * c.persons / (c.persons == 1 ? 1.0 : 1.5);  // 1.5 E or E per member
        ScriptedQuestions q;
        const auto r = run(in, q);
        ASSERT_TRUE(r.valid);
        EXPECT_EQ(r.work.share, c.share) << c.year.value_or(0) << "/" << c.persons;
        EXPECT_EQ(r.display.labelNadwyzka, QString::fromUtf8(c.label));
        EXPECT_EQ(r.work.x, 0);  // 1.5 E (one person) or E per member is never above the threshold
    }
}

TEST(AllowanceExcess, NegativeAllowanceShowsTheComputedOne) {
    AllowanceInput in = onePerson();
    in.dochodRazem = 1300;  // p = 15 (above 1.75 E), U = 195, A0 = 75, X = 1300 - 1050 = 250
    ScriptedQuestions q;
    const auto r = run(in, q);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);
    EXPECT_EQ(r.stored.dodatekWylicz, -175);  // T90 - U - X
    EXPECT_TRUE(r.display.dodBezWarVisible);
    EXPECT_EQ(r.display.editDodBezWar, QStringLiteral(" -175.00"));
    EXPECT_EQ(r.display.editNadwyzka, QStringLiteral("  250.00"));
}

TEST(AllowanceMinimum, TwoPercentOfThePensionIsPaidLessIsNot) {
    AllowanceInput in = onePerson();
    in.dochodRazem = 0;
    in.najnEmeryt = 450;  // 2 % = 9
    in.wskProc = 90;
    in.wydatkiCzynsz = 10;  // T90 = M = 9
    ScriptedQuestions q;
    auto r = run(in, q);
    EXPECT_EQ(r.stored.wyplataCalosc, 9);
    EXPECT_TRUE(q.asked().empty());

    in.wydatkiCzynsz = 9.99;  // T90 = 8.991
    r = run(in, q);
    EXPECT_TRUE(r.valid);
    EXPECT_TRUE(r.stored.obliczeniaOK);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_EQ(r.stored.dodatekWylicz, 8.99);  // D - X with X = 0
    EXPECT_TRUE(r.display.dodBezWarVisible);
    EXPECT_EQ(q.texts(Kind::KontynuujPrzerwij), QStringList{QStringLiteral("Wartość dodatku mniejsza od 2% najn.emeryt")});
    EXPECT_EQ(q.asked().front().pos, Pos);

    // With an income excess, the computed allowance loses the excess too.
    in = onePerson();
    in.najnEmeryt = 500;     // 2 % = 10, 1.75 E = 875
    in.dochodRazem = 900;    // p = 15, U = 135, X = 25
    in.wydatkiCzynsz = 150;  // T90 = 135 + 30
    in.ryczaltGaz = true;
    in.kosztKwh = 3;
    r = run(in, q);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);     // A = 30 - 25 = 5 < 10
    EXPECT_EQ(r.stored.dodatekWylicz, 5);     // 30 - 25
}

TEST(AllowanceCeiling, CappedAfterTheMinimumTest) {
    AllowanceInput in = onePerson();
    in.dochodRazem = 0;
    in.wydatkiCzynsz = 20;  // T = 20, T90 = 18 >= 12 passes the minimum, then M = 10
    in.wskProc = 50;
    ScriptedQuestions q;
    const auto r = run(in, q);
    EXPECT_EQ(r.stored.wyplataCalosc, 10);
    EXPECT_TRUE(q.asked().empty());
}

TEST(AllowanceCeiling, IndexOutOfRangeWarnsEvenWithoutMessages) {
    AllowanceInput in = threePersons();
    in.wskProc = 40;
    ScriptedQuestions q(Answer::No);
    const auto r = run(in, q, /*showMessages=*/false);
    EXPECT_TRUE(r.valid);
    EXPECT_TRUE(r.goOn);
    EXPECT_EQ(q.texts(Kind::Inform), QStringList{QStringLiteral("Uwaga! Współcz. procentowy powinien mieć warość 50-90% !")});
    EXPECT_DOUBLE_EQ(r.work.m, 0.4 * 547.5);
    EXPECT_EQ(r.stored.wyplataCalosc, 169);  // 169 < 219
    EXPECT_EQ(r.display.labelM07, QStringLiteral("*0.40= 219.00"));
    for (int w : {50, 90}) {
        in.wskProc = w;
        q.clear();
        run(in, q, false);
        EXPECT_EQ(q.count(Kind::Inform), 0) << w;
    }
}

TEST(AllowanceLegalTitle, NoTitleMeansNothingPaidButValid) {
    AllowanceInput in = threePersons();
    in.tytulPrawny = QStringLiteral("brak tytułu prawnego");
    ScriptedQuestions q;
    const auto r = run(in, q);
    EXPECT_TRUE(r.stored.obliczeniaOK);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);
    EXPECT_EQ(r.stored.wyplataRyczalt, 0);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_EQ(r.stored.dodatekWylicz, 219);  // unchanged
    EXPECT_EQ(q.texts(), QStringList{QStringLiteral("Brak tytułu prawnego")});

    in.tytulPrawny = QStringLiteral("Brak tytułu prawnego");  // only the exact text counts
    q.clear();
    EXPECT_EQ(run(in, q).stored.wyplataCalosc, 169);
}

TEST(AllowanceSplit, WholeToApplicantLumpSumOnlyOrAllToManager) {
    struct Case {
        bool calosc, ryczalt;
        double ar, az;
    } cases[] = {{true, true, 169, 0}, {true, false, 169, 0}, {false, true, 43.99, 125.01}, {false, false, 0, 169}};
    for (const auto &c : cases) {
        AllowanceInput in = threePersons();
        in.caloscDoRak = c.calosc;
        in.ryczaltDoRak = c.ryczalt;
        ScriptedQuestions q;
        const auto r = run(in, q);
        EXPECT_EQ(r.stored.wyplataRyczalt, c.ar) << c.calosc << c.ryczalt;
        EXPECT_EQ(r.stored.wyplataZarzadca, c.az) << c.calosc << c.ryczalt;
    }
}

TEST(AllowanceSplit, NoExpensesAtAllGiveNoLumpSumShare) {
    // Lump sums claimed at a kWh cost of 0 and no rent: T = 0.
    AllowanceInput in = onePerson();
    in.wydatkiCzynsz = 0;
    in.ryczaltCO = true;
    in.ryczaltDoRak = true;
    in.kosztKwh = 0;
    ScriptedQuestions q;
    auto r = run(in, q);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.work.t, 0);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_EQ(r.stored.wyplataRyczalt, 0);
    EXPECT_EQ(r.stored.wyplataCalosc, 0);

    // Charges cancelling the rent: T = 0 with a lump sum of 0.
    in = onePerson();
    in.oplatyDodatkowe = -300;
    in.ryczaltDoRak = true;
    r = run(in, q);
    EXPECT_TRUE(r.valid);
    EXPECT_EQ(r.stored.ryczaltProcent, 0);
    EXPECT_FALSE(std::isnan(r.work.p));
}

struct CheckCase {
    const char *what;
    void (*change)(AllowanceInput &);
    const char *message;
};

void PrintTo(const CheckCase &c, std::ostream *os) { *os << c.what; }

class AllowanceChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(AllowanceChecks, FailWithTheirMessage) {
    AllowanceInput in = onePerson();
    GetParam().change(in);
    ScriptedQuestions q;
    const auto r = run(in, q);
    expectFailureValues(r);
    EXPECT_FALSE(r.powNormatywna);
    ASSERT_EQ(q.asked().size(), 1u);
    EXPECT_EQ(q.asked()[0].kind, Kind::KontynuujPrzerwij);
    EXPECT_EQ(q.asked()[0].text, QString::fromUtf8(GetParam().message));
    EXPECT_EQ(q.asked()[0].pos, Pos);

    ScriptedQuestions silent;  // messages off: same result, nothing asked
    const auto quiet = run(in, silent, false);
    EXPECT_FALSE(quiet.valid);
    EXPECT_TRUE(quiet.goOn);
    EXPECT_TRUE(silent.asked().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Allowance, AllowanceChecks,
    ::testing::Values(
        CheckCase{"NoPersons", [](AllowanceInput &in) { in.liczbaOsob = 0; }, "Nie wprowadzono liczby osób w gosp. domowym!"},
        CheckCase{"NegativePersons", [](AllowanceInput &in) { in.liczbaOsob = -2; },
                  "Nie wprowadzono liczby osób w gosp. domowym!"},
        CheckCase{"NoArea", [](AllowanceInput &in) { in.powUzytk = 0; }, "Nie wprowadzono powierzchni użytk. lokalu!"},
        CheckCase{"NegativeRent", [](AllowanceInput &in) { in.wydatkiCzynsz = -0.01; }, "Nieprawidłowa wartość kwoty czynszu !"},
        CheckCase{"NoPension", [](AllowanceInput &in) { in.najnEmeryt = 0; }, "Brak danych o najniższej emeryturze !"},
        CheckCase{"NoCostsDespiteCharges",
                  [](AllowanceInput &in) {
                      in.wydatkiCzynsz = 0;
                      in.oplatyDodatkowe = 50;
                  },
                  "Nie wprowadzono żadnych kosztów !"}),
    [](const auto &info) { return std::string(info.param.what); });

TEST(AllowanceChecksOrder, ZeroRentWithGasOnlyIsAccepted) {
    AllowanceInput in = onePerson();
    in.wydatkiCzynsz = 0;
    in.ryczaltGaz = true;
    ScriptedQuestions q;
    EXPECT_TRUE(run(in, q).valid);
}

TEST(AllowanceGoOn, KontynuujAsksEveryFailedCheckPrzerwijStopsTheChecks) {
    AllowanceInput in = onePerson();
    in.liczbaOsob = 0;
    in.powUzytk = 0;
    in.najnEmeryt = 0;
    ScriptedQuestions q;  // answers "Kontynuuj"
    auto r = run(in, q);
    EXPECT_EQ(q.texts(), (QStringList{QStringLiteral("Nie wprowadzono liczby osób w gosp. domowym!"),
                                      QStringLiteral("Nie wprowadzono powierzchni użytk. lokalu!"),
                                      QStringLiteral("Brak danych o najniższej emeryturze !")}));
    EXPECT_TRUE(r.goOn);

    ScriptedQuestions stop(Answer::No);
    r = run(in, stop);
    EXPECT_EQ(stop.asked().size(), 1u);
    EXPECT_FALSE(r.goOn);
    expectFailureValues(r);
}

TEST(AllowanceGoOn, PrzerwijAfterTheChecksOnlyTellsTheCaller) {
    AllowanceInput in = onePerson();
    in.dochodRazem = 0;
    in.wydatkiCzynsz = 13.3;  // below the minimum
    in.tytulPrawny = QStringLiteral("brak tytułu prawnego");
    ScriptedQuestions q(Answer::No);
    const auto r = run(in, q);
    EXPECT_TRUE(r.valid);
    EXPECT_FALSE(r.goOn);
    EXPECT_EQ(q.asked().size(), 2u);  // the title is asked about after "Przerwij" too
    EXPECT_TRUE(r.stored.obliczeniaOK);
}

TEST(AllowanceDisplay, ResultPanelOnlyOnRequestPercentLabelWhenValid) {
    ScriptedQuestions q;
    const auto r = run(threePersons(), q, true, /*showResults=*/false);
    EXPECT_EQ(r.display.panelResults, Visibility::Unchanged);
    EXPECT_FALSE(r.display.resultsFilled);
    EXPECT_EQ(r.display.labelProcentDochodow, QStringLiteral("12% dochodów gospodarstwa:"));
    EXPECT_EQ(r.display.labelC09, QStringLiteral("*0,9= 364.50"));
}

TEST(AllowanceRange, AllowanceBeyondThirtyTwoBitsOfGroszeIsInvalid) {
    AllowanceInput in = onePerson();
    in.dochodRazem = 0;
    in.wskProc = 90;
    in.wydatkiCzynsz = 2e7;  // A = 1.8e7: fits
    ScriptedQuestions q;
    EXPECT_EQ(run(in, q).stored.wyplataCalosc, 1.8e7);

    in.wydatkiCzynsz = 3e7;  // A = 2.7e7 zł = 2.7e9 grosze
    const auto r = run(in, q);
    expectFailureValues(r);
    EXPECT_EQ(r.powNormatywna, std::optional<double>(35));
    EXPECT_EQ(q.texts().last(),
              QStringLiteral("Wyliczona wysokość dodatku przekracza dopuszczalny zakres kwot - sprawdź dane wniosku !"));
}

TEST(AllowanceRange, AmountsThatCannotBeRoundedAreInvalid) {
    AllowanceInput in = onePerson();
    in.wydatkiCzynsz = 1e17;  // nothing paid for lack of title, but the expenses cannot be stored
    in.tytulPrawny = QStringLiteral("brak tytułu prawnego");
    ScriptedQuestions q;
    auto r = run(in, q);
    expectFailureValues(r);
    EXPECT_EQ(q.texts().last(),
              QStringLiteral("Wyliczone kwoty przekraczają dopuszczalny zakres - sprawdź powierzchnię i kwoty wniosku !"));

    in = onePerson();
    in.ryczaltCO = true;
    in.kosztKwh = std::nan("");
    r = run(in, q, false);
    EXPECT_FALSE(r.valid);
}
