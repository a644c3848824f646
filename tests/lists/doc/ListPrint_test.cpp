#include "calc/Money.h"
#include "core/Progress.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "lists/ListCellValues.h"
#include "lists/doc/ListPrint.h"
#include "print/RecordingPageDevice.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::lists;
using Recorder = print::RecordingPageDevice;

namespace {

struct CountingProgress : core::Progress {
    int max = -1, steps = 0, finished = 0;
    void start(int m) override { max = m; }
    void step() override { ++steps; }
    void finish() override { ++finished; }
};

struct App {
    App(QString n, double w = 100, QString z = QStringLiteral("ZGM"), QDate od = QDate())
        : nazwisko(std::move(n)), wyplata(w), zarzadca(std::move(z)), okresOd(od) {}
    QString nazwisko;
    double wyplata;
    QString zarzadca;
    QDate okresOd;
};

// Fixed metrics: a 10 pt character is 10 units wide, its line 20 high. The
// template: two header lines with no spacing, rows with no spacing, the
// columns "Lp." (6 characters: 54 units), "Nazwisko" (10: 90 units) and
// "Wypłata (całość)" (12: 108 units, totalled). So the titles stand at y
// 110, the rows from 130 every 20 units, the text of the columns at x 100,
// 154 and 244, their frame lines at 73, 127, 217 and 325. On a page 400
// high a page holds 11 rows: after a row at 330, y is 350 and 350 + 3 × 20
// passes 400.
class ListPrintTest : public ::testing::Test {
protected:
    void SetUp() override { db->createTable(data::applicationTableDef()); }

    void add(const std::vector<App> &apps) {
        data::Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        for (const App &a : apps) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(a.nazwisko);
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Wyplata_calosc")).setCurrency(a.wyplata);
            t.field(QStringLiteral("Zarzadca")).setString(a.zarzadca);
            t.field(QStringLiteral("Okres_od")).setDate(a.okresOd);
            t.field(QStringLiteral("IndexNrSupport")).setString(QString::number(900 - t.recordCount()));
            t.post();
        }
    }
    // n applications "N001" ... in surname order, each paying 100 + its number.
    void addNumbered(int n) {
        std::vector<App> apps;
        for (int i = 1; i <= n; ++i)
            apps.push_back(App{QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0')), 100.0 + i});
        add(apps);
    }

    ListPrintJob job() const {
        ListPrintJob j;
        j.tmpl.headerFont = ListFont{QStringLiteral("Arial"), 10};
        j.tmpl.headerSpacing = 0;
        j.tmpl.headerLines = {QStringLiteral("LISTA WYPŁAT"), QStringLiteral("dla zarządcy")};
        j.tmpl.rowFont = ListFont{QStringLiteral("Arial"), 10};
        j.tmpl.rowSpacing = 0;
        j.tmpl.columns = {{QStringLiteral("Lp."), 6, QString()},
                          {QStringLiteral("Nazwisko"), 10, QString()},
                          {QStringLiteral("Wypłata (całość)"), 12, QStringLiteral("+")}};
        j.settings.kogo = QStringLiteral("Wszystkich");
        j.settings.sort = QStringLiteral("Alfabetycznie");
        j.settings.ramki = true;
        j.settings.nrStrony = true;
        j.settings.wszyscy = true;
        j.cellValue = &listCellValue;
        return j;
    }

    ListPrintResult print(const ListPrintJob &j) {
        data::Table apps(*db, QStringLiteral("Aktualne"));
        apps.setFieldNames(data::applicationFieldNames());
        apps.open();
        return printList(apps, j, device(), progress);
    }

    static QStringList texts(const Recorder::Page &p) {
        QStringList l;
        for (const auto &t : p.texts)
            l << t.text;
        return l;
    }
    static QStringList textsAt(const Recorder::Page &p, int x) {
        QStringList l;
        for (const auto &t : p.texts)
            if (t.x == x)
                l << t.text;
        return l;
    }
    static bool hasLine(const Recorder::Page &p, int x1, int y1, int x2, int y2) {
        for (const auto &l : p.lines)
            if (l.x1 == x1 && l.y1 == y1 && l.x2 == x2 && l.y2 == y2)
                return true;
        return false;
    }

    Recorder &device() { return *m_device; }
    void freshDevice() { m_device = std::make_unique<Recorder>(QSize(1000, 400)); }

    test::TempDatabase db;
    std::unique_ptr<Recorder> m_device = std::make_unique<Recorder>(QSize(1000, 400));
    CountingProgress progress;
};

}  // namespace

TEST_F(ListPrintTest, OnePageWithHeaderTitlesCutToTheColumnFrameTotalsAndPageNumber) {
    add({{QStringLiteral("Grzegorzewska"), 312.5}, {QStringLiteral("Nowak"), 100.25}, {QStringLiteral("Ba"), 0}});
    const ListPrintResult r = print(job());
    ASSERT_EQ(r.outcome, ListPrintResult::Printed);
    ASSERT_EQ(device().jobs().size(), 1);
    EXPECT_EQ(device().jobs()[0].title, QStringLiteral("Lista"));
    EXPECT_EQ(device().jobs()[0].copies, 1);
    const auto pages = device().pages();
    ASSERT_EQ(pages.size(), 1);
    const auto &p = pages[0];

    QVector<QPair<QPoint, QString>> got;
    for (const auto &t : p.texts)
        got.append({QPoint(t.x, t.y), t.text});
    const QVector<QPair<QPoint, QString>> expected = {
        {{100, 50}, QStringLiteral("LISTA WYPŁAT")},
        {{100, 70}, QStringLiteral("dla zarządcy")},
        // Titles cut to the column less 27 units: 27, 63 and 81 units.
        {{100, 110}, QStringLiteral("Lp")},
        {{154, 110}, QStringLiteral("Nazwis")},
        {{244, 110}, QStringLiteral("Wypłata ")},
        {{100, 130}, QStringLiteral("1")},
        {{154, 130}, QStringLiteral("Ba")},
        {{244, 130}, QStringLiteral("  0.00 z")},
        {{100, 150}, QStringLiteral("2")},
        {{154, 150}, QStringLiteral("Grzego")},
        {{244, 150}, QStringLiteral("312.50 z")},
        {{100, 170}, QStringLiteral("3")},
        {{154, 170}, QStringLiteral("Nowak")},
        {{244, 170}, QStringLiteral("100.25 z")},
        // The total at the column's left frame line, 10 characters, under the frame.
        {{217, 194}, QStringLiteral("    412.75")},
        // The page number at the middle, one line above the bottom.
        {{500, 380}, QStringLiteral("1")},
    };
    EXPECT_EQ(got, expected);

    // The frame: top 27 units above the titles, bottom under the last row.
    for (int b : {73, 127, 217, 325})
        EXPECT_TRUE(hasLine(p, b, 83, b, 190)) << b;
    EXPECT_TRUE(hasLine(p, 73, 83, 325, 83));
    EXPECT_TRUE(hasLine(p, 73, 190, 325, 190));
    EXPECT_TRUE(hasLine(p, 73, 130, 325, 130));  // under the titles
    EXPECT_EQ(p.lines.size(), 4 + 4);

    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(r.pages, 1);
    EXPECT_DOUBLE_EQ(r.sums[2], 412.75);
    EXPECT_EQ(progress.max, 3);
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(ListPrintTest, CellsAreCutOneCharacterAtATimeButNeverBelowOne) {
    add({{QStringLiteral("Wiśniewski"), 1}});
    ListPrintJob j = job();
    j.tmpl.columns = {{QStringLiteral("Nazwisko"), 3, QString()},    // 27 - 27 = 0 units: one character
                      {QStringLiteral("Nazwisko"), 6, QString()},    // 27 units: two characters
                      {QStringLiteral("Nazwisko"), 0, QString()},    // no width at all: still one
                      {QStringLiteral("Nazwisko"), 20, QString()}};  // wide enough
    j.settings.ramki = false;
    print(j);
    const auto p = device().pages().value(0);
    EXPECT_EQ(texts(p).mid(2, 8), (QStringList{QStringLiteral("N"), QStringLiteral("Na"), QStringLiteral("N"),
                                               QStringLiteral("Nazwisko"), QStringLiteral("W"), QStringLiteral("Wi"),
                                               QStringLiteral("W"), QStringLiteral("Wiśniewski")}));
}

TEST_F(ListPrintTest, APageEndsAtTheThresholdWithNoEmptyPageAfterTheLast) {
    addNumbered(22);
    print(job());
    auto pages = device().pages();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(textsAt(pages[1], 154).mid(1), QStringList() << [] {
        QStringList l;
        for (int i = 12; i <= 22; ++i)
            l << QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0'));
        return l;
    }());
    // The running number goes on over the pages; each page has its number.
    EXPECT_EQ(textsAt(pages[1], 100).value(3), QStringLiteral("12"));
    EXPECT_EQ(textsAt(pages[0], 500), QStringList{QStringLiteral("1")});
    EXPECT_EQ(textsAt(pages[1], 500), QStringList{QStringLiteral("2")});

    // One more application: a third page with it alone.
    addNumbered(1);
    freshDevice();
    print(job());
    pages = device().pages();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(device().jobs().size(), 1);  // one job with its pages
}

TEST_F(ListPrintTest, AHeaderOnlyPageWhenTheApplicationsLeftAreDeselected) {
    std::vector<App> apps;
    for (int i = 1; i <= 22; ++i)
        apps.push_back(App{QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0')), i <= 11 ? 50.0 : 0.0});
    add(apps);
    ListPrintJob j = job();
    j.settings.kogo = QStringLiteral("Tylko z dodatkiem");
    const ListPrintResult r = print(j);
    const auto pages = device().pages();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(r.rows, 11);
    EXPECT_EQ(texts(pages[1]), (QStringList{QStringLiteral("LISTA WYPŁAT"), QStringLiteral("dla zarządcy"),
                                            QStringLiteral("Lp"), QStringLiteral("Nazwis"), QStringLiteral("Wypłata "),
                                            QStringLiteral("    550.00"), QStringLiteral("2")}));
    // The frame of the titles alone.
    EXPECT_TRUE(hasLine(pages[1], 73, 83, 73, 130));
}

TEST_F(ListPrintTest, PagesBeforeTheFirstToPrintAreLaidOutButNotPrinted) {
    addNumbered(55);  // five pages of 11
    print(job());
    const auto all = device().pages();
    ASSERT_EQ(all.size(), 5);

    freshDevice();
    ListPrintJob j = job();
    j.fromPage = 3;
    const ListPrintResult r = print(j);
    EXPECT_EQ(r.outcome, ListPrintResult::Printed);
    EXPECT_EQ(r.pages, 5);
    EXPECT_EQ(r.firstPrintedPage, 3);
    ASSERT_EQ(device().jobs().size(), 1);
    const auto printed = device().pages();
    ASSERT_EQ(printed.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts(printed[i]), texts(all[i + 2])) << "page " << i + 3;
        EXPECT_EQ(printed[i].lines.size(), all[i + 2].lines.size());
    }
    EXPECT_EQ(textsAt(printed[0], 500), QStringList{QStringLiteral("3")});
    EXPECT_EQ(textsAt(printed[0], 100).value(3), QStringLiteral("23"));
    EXPECT_DOUBLE_EQ(r.sums[2], 55 * 100.0 + 55 * 56 / 2);

    // 0 and 1 print from the first page; past the last page nothing.
    for (int from : {0, 1}) {
        freshDevice();
        j.fromPage = from;
        print(j);
        EXPECT_EQ(device().pages().size(), 5);
    }
    freshDevice();
    j.fromPage = 6;
    const ListPrintResult beyond = print(j);
    EXPECT_EQ(beyond.outcome, ListPrintResult::BeyondLastPage);
    EXPECT_TRUE(device().jobs().isEmpty());
    EXPECT_EQ(beyond.message(), QStringLiteral("Lista kończy się na stronie 5: od strony 6 nie ma czego drukować."));
}

TEST_F(ListPrintTest, UnderlinedRowsTakeFiveUnitsMoreAndTheFrameHasNoBottomLine) {
    add({{QStringLiteral("Adam")}, {QStringLiteral("Bartek")}, {QStringLiteral("Celina")}});
    ListPrintJob j = job();
    j.settings.podkrWiersz = true;
    print(j);
    const auto p = device().pages().value(0);
    EXPECT_EQ(textsAt(p, 154), (QStringList{QStringLiteral("Nazwis"), QStringLiteral("Adam"), QStringLiteral("Bartek"),
                                            QStringLiteral("Celina")}));
    QVector<int> rowYs;
    for (const auto &t : p.texts)
        if (t.x == 154)
            rowYs << t.y;
    EXPECT_EQ(rowYs, (QVector<int>{110, 130, 155, 180}));
    for (int y : {150, 175, 200})
        EXPECT_TRUE(hasLine(p, 73, y, 325, y)) << y;
    // The frame ends 5 units under the last underline, with no line of its own there.
    EXPECT_TRUE(hasLine(p, 73, 83, 73, 205));
    for (const auto &l : p.lines)
        EXPECT_FALSE(l.y1 == 205 && l.y2 == 205);
    EXPECT_EQ(p.lines.size(), 3 + 4 + 1 + 1 + 1);
}

TEST_F(ListPrintTest, TotalsAreTheSumOverTheListedRows) {
    add({{QStringLiteral("A"), 10.10, QStringLiteral("ZGM")},
         {QStringLiteral("B"), 20.20, QStringLiteral("SM Zgoda")},
         {QStringLiteral("C"), 30.33, QStringLiteral("ZGM")},
         {QStringLiteral("D"), 0, QStringLiteral("ZGM")}});
    ListPrintJob j = job();
    j.settings.wszyscy = false;
    j.settings.dlaZarzadcy = QStringLiteral("ZGM");
    // An item without a number totals 0.00.
    j.tmpl.columns.append({QStringLiteral("Nazwisko"), 12, QStringLiteral("+")});
    const ListPrintResult r = print(j);
    EXPECT_EQ(r.rows, 3);
    EXPECT_NEAR(r.sums[2], 40.43, 1e-9);
    const auto p = device().pages().value(0);
    const QStringList totals = textsAt(p, 217);
    EXPECT_EQ(totals, QStringList{QStringLiteral("     40.43")});
    EXPECT_EQ(textsAt(p, 325), QStringList{QStringLiteral("      0.00")});
}

TEST_F(ListPrintTest, ManagerAndPeriodFiltersAreExact) {
    add({{QStringLiteral("A"), 1, QStringLiteral("Spółdzielnia Zgoda"), QDate(2005, 1, 1)},
         {QStringLiteral("B"), 1, QStringLiteral("spółdzielnia zgoda"), QDate(2005, 3, 1)},
         {QStringLiteral("C"), 1, QStringLiteral("Spółdzielnia Zgoda"), QDate(2005, 3, 31)},
         {QStringLiteral("D"), 1, QStringLiteral("Spółdzielnia Zgoda"), QDate()},
         {QStringLiteral("E"), 1, QStringLiteral("Spółdzielnia Zgoda "), QDate(2005, 4, 1)}});
    const auto listed = [this](const ListSettings &s) {
        freshDevice();
        ListPrintJob j = job();
        j.settings = s;
        const ListPrintResult r = print(j);
        if (r.outcome != ListPrintResult::Printed)
            return QStringList{r.message()};
        return textsAt(device().pages().value(0), 154).mid(1);
    };
    ListSettings s = job().settings;
    s.wszyscy = false;
    s.dlaZarzadcy = QStringLiteral("Spółdzielnia Zgoda");
    EXPECT_EQ(listed(s), (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")}));

    s.wszyscy = true;
    s.ctrlOkres = true;
    s.dataPrzyslOd = QDate(2005, 3, 1);
    s.dataPrzyslDo = QDate(2005, 3, 31);
    EXPECT_EQ(listed(s), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
    // Both bounds empty: only the applications without a period start.
    s.dataPrzyslOd = QDate();
    s.dataPrzyslDo = QDate();
    EXPECT_EQ(listed(s), QStringList{QStringLiteral("D")});
    // A start bound and no end: none at all, and it is said.
    s.dataPrzyslOd = QDate(2005, 1, 1);
    EXPECT_EQ(listed(s), QStringList{QStringLiteral("Brak wniosków spełniających warunki listy.")});
    EXPECT_TRUE(device().jobs().isEmpty());
    // No item chosen in "Lista:": none either.
    s = job().settings;
    s.kogo.clear();
    EXPECT_EQ(listed(s), QStringList{QStringLiteral("Brak wniosków spełniających warunki listy.")});
}

TEST_F(ListPrintTest, OrderByDecisionNumberStaysSet) {
    add({{QStringLiteral("A")}, {QStringLiteral("B")}, {QStringLiteral("C")}});  // decision keys 900, 899, 898
    ListPrintJob j = job();
    j.settings.sort = QStringLiteral("W/g n-ru decyzji");
    data::Table apps(*db, QStringLiteral("Aktualne"));
    apps.open();
    apps.moveTo(2);
    const qint64 row = apps.rowId();
    printList(apps, j, device(), progress);
    EXPECT_EQ(textsAt(device().pages().value(0), 154).mid(1),
              (QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")}));
    EXPECT_EQ(apps.indexName(), QStringLiteral("NrDecNdx"));
    EXPECT_EQ(apps.rowId(), row);  // the register keeps its current application
}

TEST_F(ListPrintTest, FooterInItsOwnFontAndNoEmptyPageAfterIt) {
    addNumbered(3);
    ListPrintJob j = job();
    j.footer.print = true;
    j.footer.text = QStringLiteral("Sporządził: ....\r\nZatwierdził: ....");
    j.footer.fontName = QStringLiteral("Times New Roman");
    j.footer.fontSize = 8;
    print(j);
    auto p = device().pages().value(0);
    // Totals at 194; the footer 2 lines of the row font under them, each
    // footer line 16 + 7 units.
    ASSERT_GE(p.texts.size(), 3);
    const auto &first = p.texts[p.texts.size() - 3];
    const auto &second = p.texts[p.texts.size() - 2];
    EXPECT_EQ(first.text, QStringLiteral("Sporządził: ...."));
    EXPECT_EQ(QPoint(first.x, first.y), QPoint(100, 234));
    EXPECT_EQ(first.font.family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(first.font.pointSize(), 8);
    EXPECT_FALSE(first.font.bold());
    EXPECT_EQ(QPoint(second.x, second.y), QPoint(100, 257));
    EXPECT_EQ(p.texts.last().font.family(), QStringLiteral("Arial"));  // the page number in the row font

    // A footer that reaches the page end goes on on a new page, and its last
    // line leaves no empty page behind.
    freshDevice();
    j.footer.text = QStringLiteral("1\n2\n3\n4\n5\n6\n7");
    const ListPrintResult r = print(j);
    const auto pages = device().pages();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(r.pages, 2);
    // At 234, 257, 280, 303 and 326; the sixth would start at 349, where
    // fewer than three row lines are left.
    EXPECT_EQ(textsAt(pages[0], 100).mid(6), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                                         QStringLiteral("4"), QStringLiteral("5")}));
    EXPECT_EQ(textsAt(pages[1], 100), (QStringList{QStringLiteral("6"), QStringLiteral("7")}));
    EXPECT_EQ(pages[1].texts.first().y, 50);
    EXPECT_EQ(textsAt(pages[1], 500), QStringList{QStringLiteral("2")});

    freshDevice();
    j.footer.text = QStringLiteral("1\n2\n3\n4\n5");  // the last line passes the threshold
    print(j);
    EXPECT_EQ(device().pages().size(), 1);
}

TEST_F(ListPrintTest, NothingToListPrintsNothingAndSaysSo) {
    const ListPrintResult r = print(job());
    EXPECT_EQ(r.outcome, ListPrintResult::NoApplications);
    EXPECT_EQ(r.message(), QStringLiteral("Brak wniosków spełniających warunki listy."));
    EXPECT_TRUE(device().jobs().isEmpty());
}

TEST_F(ListPrintTest, WhetherAnythingIsListedIsAskedWithoutMovingTheCurrentRow) {
    add({{QStringLiteral("Adamska"), 0}, {QStringLiteral("Nowak"), 0, QStringLiteral("MZBM")}});
    data::Table apps(*db, QStringLiteral("Aktualne"));
    apps.open();
    apps.last();
    const qint64 row = apps.rowId();
    ListSettings s = job().settings;
    EXPECT_TRUE(hasListedApplications(apps, s));
    s.kogo = QStringLiteral("Tylko z dodatkiem");  // nobody is paid
    EXPECT_FALSE(hasListedApplications(apps, s));
    s.kogo = QStringLiteral("Wszystkich");
    s.wszyscy = false;
    s.dlaZarzadcy = QStringLiteral("mzbm");  // letter case counts
    EXPECT_FALSE(hasListedApplications(apps, s));
    s.dlaZarzadcy = QStringLiteral("MZBM");
    EXPECT_TRUE(hasListedApplications(apps, s));
    EXPECT_EQ(apps.rowId(), row);
}
