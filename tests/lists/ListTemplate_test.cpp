#include "lists/ListTemplate.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace varnel::lists;

namespace {

ListTemplate sample() {
    ListTemplate t;
    t.headerFont = ListFont{QStringLiteral("Times New Roman"), 12, true, false, false};
    t.headerSpacing = 0;
    t.headerLines = {QStringLiteral("LISTA WYPŁAT DODATKÓW MIESZKANIOWYCH"), QString(), QStringLiteral("  za miesiąc ....  ")};
    t.rowFont = ListFont{QStringLiteral("Arial"), 8, false, true, true};
    t.rowSpacing = 6;
    t.columns = {{QStringLiteral("Lp."), 4, QString()},
                 {QStringLiteral("Nazwisko i imię"), 28, QString()},
                 {QStringLiteral("Wypłata (całość)"), 13, QStringLiteral("+")},
                 {QStringLiteral("Czynsz/pow."), 11, QStringLiteral("-")}};
    return t;
}

QByteArray cp1250(const QString &s) { return QStringEncoder("windows-1250").encode(s); }

QByteArray lines(std::initializer_list<const char *> ls) {
    QByteArray b;
    for (const char *l : ls)
        b += QByteArray(l) + "\r\n";
    return b;
}

}  // namespace

TEST(ListTemplateFormat, WritesTheOldLayoutInWindows1250AndReadsItBack) {
    const QByteArray bytes = writeListTemplate(sample());
    const QByteArray expected = cp1250(QStringLiteral(
        "Biu12Times New Roman\r\n0\r\n3\r\nLISTA WYPŁAT DODATKÓW MIESZKANIOWYCH\r\n\r\n  za miesiąc ....  \r\n"
        "bIU08Arial\r\n6\r\n4/N/Lp.\r\n28/N/Nazwisko i imię\r\n13/+/Wypłata (całość)\r\n11/-/Czynsz/pow.\r\n"));
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(bytes.contains('\xb3'));  // "ł" in Windows-1250

    const ListTemplateReading r = readListTemplate(bytes, QStringLiteral("lista.lsa"));
    ASSERT_TRUE(r.loaded()) << r.error.toStdString();
    EXPECT_EQ(r.tmpl, sample());
    EXPECT_EQ(r.tmpl.rowFont.size, 8);
    EXPECT_EQ(r.tmpl.columns[0].sum, QString());  // "N" reads back as a blank mark
    EXPECT_EQ(r.tmpl.columns[3].name, QStringLiteral("Czynsz/pow."));
}

TEST(ListTemplateFormat, NoHeaderLinesAndNoColumns) {
    ListTemplate t = sample();
    t.headerLines.clear();
    t.columns.clear();
    const QByteArray bytes = writeListTemplate(t);
    EXPECT_TRUE(bytes.startsWith("Biu12Times New Roman\r\n0\r\n0\r\nbIU08Arial\r\n6\r\n"));
    const ListTemplateReading r = readListTemplate(bytes, QStringLiteral("x.lsa"));
    ASSERT_TRUE(r.loaded());
    EXPECT_TRUE(r.tmpl.headerLines.isEmpty());
    EXPECT_TRUE(r.tmpl.columns.isEmpty());
}

TEST(ListTemplateFormat, FontDescriptors) {
    ListFont f;
    ASSERT_TRUE(parseFontDescriptor(QStringLiteral("BiU08Courier New"), &f));
    EXPECT_EQ(f, (ListFont{QStringLiteral("Courier New"), 8, true, false, true}));
    // Any case of the three letters counts; the rest may be missing.
    ASSERT_TRUE(parseFontDescriptor(QStringLiteral("biu1"), &f));
    EXPECT_EQ(f.size, 1);
    EXPECT_EQ(f.name, QString());
    EXPECT_FALSE(parseFontDescriptor(QStringLiteral("BIU"), &f));
    EXPECT_FALSE(parseFontDescriptor(QStringLiteral("BUI10Arial"), &f));
    ASSERT_TRUE(parseFontDescriptor(QStringLiteral("BIUxxArial"), &f));
    EXPECT_EQ(f.size, 0);  // no size in digits: the windows put in their default
    EXPECT_EQ(fontDescriptor(ListFont{QStringLiteral("Arial"), 9, false, false, false}), QStringLiteral("biu09Arial"));
}

TEST(ListTemplateFormat, ABadSecondDescriptorKeepsTheHeaderOnly) {
    const QByteArray bytes = lines({"BIU14Arial", "2", "1", "Nagłówek", "BIU", "20/+/Wypłata (całość)"});
    const ListTemplateReading r = readListTemplate(bytes, QStringLiteral("/baza/zla.lsa"));
    EXPECT_EQ(r.read, ListTemplateReading::Read::Header);
    EXPECT_EQ(r.tmpl.headerLines, QStringList{QStringLiteral("Nagłówek")});
    EXPECT_EQ(r.tmpl.headerFont, (ListFont{QStringLiteral("Arial"), 14, true, true, true}));
    EXPECT_EQ(r.tmpl.headerSpacing, 2);
    EXPECT_TRUE(r.tmpl.columns.isEmpty());
    EXPECT_EQ(r.error, QStringLiteral("Zbiór: /baza/zla.lsa nie zawiera opisu listy!!"));

    const ListTemplateReading first = readListTemplate(lines({"Lista płac", "1"}), QStringLiteral("a.lsa"));
    EXPECT_EQ(first.read, ListTemplateReading::Read::Nothing);
    EXPECT_EQ(first.error, QStringLiteral("Zbiór: a.lsa nie zawiera opisu listy!!"));
    EXPECT_EQ(readListTemplate(QByteArray(), QStringLiteral("a.lsa")).read, ListTemplateReading::Read::Nothing);
}

TEST(ListTemplateFormat, BadSpacingsCountsAndColumnLinesAreRefusedNamingTheLine) {
    struct Case {
        QByteArray file;
        ListTemplateReading::Read read;
        const char *message;
    } cases[] = {
        {lines({"biu10Arial", "7", "0", "biu10Arial", "1"}), ListTemplateReading::Read::Nothing, "wiersz 2: indeks odstępu „7”"},
        {lines({"biu10Arial", "-1", "0"}), ListTemplateReading::Read::Nothing, "wiersz 2"},
        {lines({"biu10Arial", "1", "dwa", "biu10Arial", "1"}), ListTemplateReading::Read::Nothing,
         "wiersz 3: liczba wierszy nagłówka „dwa”"},
        {lines({"biu10Arial", "1", "3", "jeden"}), ListTemplateReading::Read::Nothing, "wiersz 5"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "a"}), ListTemplateReading::Read::Header, "wiersz 5: indeks odstępu"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "1", "20/+/Nazwisko", "Nazwisko"}), ListTemplateReading::Read::Header,
         "wiersz 7: „Nazwisko” nie jest opisem kolumny"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "1", "", "20/-/Czynsz"}), ListTemplateReading::Read::Header, "wiersz 6"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "1", "dwa/-/Czynsz"}), ListTemplateReading::Read::Header, "wiersz 6"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "1", "20/-Czynsz"}), ListTemplateReading::Read::Header, "wiersz 6"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "1", "20/-/"}), ListTemplateReading::Read::Header, "wiersz 6"},
        {lines({"biu10Arial", "1", "0", "biu10Arial", "1", "20/-/Nazwa o wiele dłuższa niż trzydzieści znaków"}),
         ListTemplateReading::Read::Header, "wiersz 6"},
    };
    for (const Case &c : cases) {
        const ListTemplateReading r = readListTemplate(c.file, QStringLiteral("w.lsa"));
        EXPECT_EQ(r.read, c.read) << c.file.constData();
        EXPECT_TRUE(r.error.startsWith(QStringLiteral("Zbiór: w.lsa, ")) &&
                    r.error.contains(QString::fromUtf8(c.message)))
            << c.file.constData() << " -> " << r.error.toStdString();
        EXPECT_TRUE(r.tmpl.columns.isEmpty());  // nothing half-read
    }
}

TEST(ListTemplateFormat, LenientAboutLineEndsBlanksAtTheEndAndSpacesInWidths) {
    const QByteArray unix = "biu10Arial\n1\n0\nbiu10Arial\n1\n 12 /+/Czynsz\n4/N/Lp.\n\n\r\n";
    const ListTemplateReading r = readListTemplate(unix, QStringLiteral("u.lsa"));
    ASSERT_TRUE(r.loaded()) << r.error.toStdString();
    ASSERT_EQ(r.tmpl.columns.size(), 2);
    EXPECT_EQ(r.tmpl.columns[0], (ListColumn{QStringLiteral("Czynsz"), 12, QStringLiteral("+")}));
}

TEST(ListTemplateFormat, Utf8AndWindows1250FilesAreToldApart) {
    const QString text = QStringLiteral("biu10Arial\r\n1\r\n1\r\nZażółć gęślą jaźń ŻÓŁĆ\r\nbiu10Arial\r\n1\r\n20/+/Wypłata (całość)\r\n");
    for (const QByteArray &bytes : {text.toUtf8(), cp1250(text), QByteArray("\xef\xbb\xbf") + text.toUtf8()}) {
        const ListTemplateReading r = readListTemplate(bytes, QStringLiteral("p.lsa"));
        ASSERT_TRUE(r.loaded()) << r.error.toStdString();
        EXPECT_EQ(r.tmpl.headerLines, QStringList{QStringLiteral("Zażółć gęślą jaźń ŻÓŁĆ")});
        EXPECT_EQ(r.tmpl.columns.value(0).name, QStringLiteral("Wypłata (całość)"));
    }

    // A letter Windows-1250 lacks: written in UTF-8, nothing lost.
    ListTemplate t = sample();
    t.headerLines = {QStringLiteral("Лист → №1")};
    const ListTemplateReading back = readListTemplate(writeListTemplate(t), QStringLiteral("r.lsa"));
    ASSERT_TRUE(back.loaded());
    EXPECT_EQ(back.tmpl, t);
}

TEST(ListTemplateFormat, SpacingTable) {
    EXPECT_EQ(spacingLabels(), (QStringList{QStringLiteral("0 linii"), QStringLiteral("1/4 linii"), QStringLiteral("1/3 linii"),
                                            QStringLiteral("1/2 linii"), QStringLiteral("2/3 linii"), QStringLiteral("1 linia"),
                                            QStringLiteral("1 i 1/2 linii")}));
    EXPECT_DOUBLE_EQ(spacingFactor(2), 0.333);
    EXPECT_DOUBLE_EQ(spacingFactor(4), 0.66);
    EXPECT_DOUBLE_EQ(spacingFactor(6), 1.5);
}
