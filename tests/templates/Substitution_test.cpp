// SeekBase, one step of the filling of placeholders, on plain text.
#include "templates/Substitution.h"

#include <gtest/gtest.h>

#include <QHash>

using namespace varnel::templates;

namespace {

Substitution::Lookup values(const QHash<QString, QString> &map) {
    return [map](const QString &name) { return map.value(name, QStringLiteral("?")); };
}

TEST(SeekBase, FillsEachPlaceholderAndUnknownNamesWithAQuestionMark) {
    StringPlaceholderText t(QStringLiteral("Pan(i) @<Imię>@ @<Nazwisko>@, @<imię>@ @<>@."));
    Substitution s(t, values({{QStringLiteral("Imię"), QStringLiteral("Jan")},
                              {QStringLiteral("Nazwisko"), QStringLiteral("Kowalski")}}));
    EXPECT_TRUE(s.SeekBase());
    EXPECT_EQ(t.result(), QStringLiteral("Pan(i) Jan @<Nazwisko>@, @<imię>@ @<>@."));
    EXPECT_EQ(s.scanPosition(), 8);  // b + 1
    EXPECT_EQ(s.fillAll(), 4);
    EXPECT_EQ(t.result(), QStringLiteral("Pan(i) Jan Kowalski, ? ?."));
    EXPECT_FALSE(s.SeekBase());
}

TEST(SeekBase, AValueHoldingAPlaceholderIsFilledInTurn) {
    const QString out = fillPlaceholders(QStringLiteral("[@<A>@]"),
                                         values({{QStringLiteral("A"), QStringLiteral("x@<B>@y")},
                                                 {QStringLiteral("B"), QStringLiteral("-@<C>@")},
                                                 {QStringLiteral("C"), QStringLiteral("c")}}));
    EXPECT_EQ(out, QStringLiteral("[x-cy]"));
    // The scan goes on one character after the start of the value just put
    // in, so a placeholder at the very start of a value stays as it is.
    EXPECT_EQ(fillPlaceholders(QStringLiteral("[@<A>@]"), values({{QStringLiteral("A"), QStringLiteral("@<C>@")},
                                                                 {QStringLiteral("C"), QStringLiteral("c")}})),
              QStringLiteral("[@<C>@]"));
}

TEST(SeekBase, AnUnclosedPlaceholderEndsTheFilling) {
    StringPlaceholderText t(QStringLiteral("@<A>@ i @<B bez końca, potem @<A>@"));
    Substitution s(t, values({{QStringLiteral("A"), QStringLiteral("a")}}));
    EXPECT_EQ(s.fillAll(), 2);
    // The search for ">@" goes on from the unclosed "@<" and finds the end of
    // the later placeholder: the stretch between is one unknown name.
    EXPECT_EQ(t.result(), QStringLiteral("a i ?"));

    EXPECT_EQ(fillPlaceholders(QStringLiteral("@<A>@ i @<B"), values({{QStringLiteral("A"), QStringLiteral("a")}})),
              QStringLiteral("a i @<B"));
    EXPECT_EQ(fillPlaceholders(QStringLiteral("@<@<A>@"), values({{QStringLiteral("A"), QStringLiteral("a")}})),
              QStringLiteral("?"));
}

TEST(SeekBase, AValueHoldingItsOwnPlaceholderEndsAfterAFewRounds) {
    // Filled in turn for ever without a bound: "x@<N>@" -> "xx@<N>@" -> ...
    const QString out = fillPlaceholders(QStringLiteral("@<N>@!"), values({{QStringLiteral("N"), QStringLiteral("x@<N>@")}}));
    EXPECT_EQ(out, QString(Substitution::MaxNesting, QLatin1Char('x')) + QStringLiteral("@<N>@!"));

    // A value doubling itself stays within the bounds too.
    StringPlaceholderText t(QStringLiteral("@<D>@"));
    Substitution s(t, values({{QStringLiteral("D"), QStringLiteral("@<D>@@<D>@@<D>@@<D>@@<D>@@<D>@")}}));
    const int n = s.fillAll();
    EXPECT_LE(n, Substitution::MaxReplacements);
    EXPECT_GT(n, 1);

    // A value that is the placeholder itself is filled once: the scan goes on after it.
    EXPECT_EQ(fillPlaceholders(QStringLiteral("@<S>@ @<T>@"),
                               values({{QStringLiteral("S"), QStringLiteral("@<S>@")}, {QStringLiteral("T"), QStringLiteral("t")}})),
              QStringLiteral("@<S>@ t"));
}

TEST(SeekBase, PlaceholdersAfterANestedValueAreFilledAtFullDepth) {
    // The nesting bound counts the depth of each value, not the placeholders met.
    QHash<QString, QString> map;
    map.insert(QStringLiteral("N"), QStringLiteral("n@<N>@"));
    map.insert(QStringLiteral("A"), QStringLiteral("(@<B>@)"));
    map.insert(QStringLiteral("B"), QStringLiteral("b"));
    const QString out = fillPlaceholders(QStringLiteral("@<N>@ @<A>@"), values(map));
    EXPECT_EQ(out, QString(Substitution::MaxNesting, QLatin1Char('n')) + QStringLiteral("@<N>@ (b)"));
}

}  // namespace
