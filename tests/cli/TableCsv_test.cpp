#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "cli/TableCsv.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/TempDatabase.h"

#include <QIODevice>
#include <QTemporaryFile>
#include <QTextStream>
#include <functional>
#include <gtest/gtest.h>

using namespace varnel::cli;
using namespace varnel::data;
using varnel::test::TempDatabase;

namespace {

// A table with a field of every type.
TableDef everyType(const QString &name) {
    TableDef t;
    t.name = name;
    t.fields = {{QStringLiteral("Nr"), FieldType::AutoInc, 0, false},
                {QStringLiteral("Nazwisko"), FieldType::Text, 12, true},
                {QStringLiteral("Uwagi"), FieldType::Memo, 0, false},
                {QStringLiteral("Osoby"), FieldType::SmallInt, 0, false},
                {QStringLiteral("Licznik"), FieldType::Integer, 0, false},
                {QStringLiteral("Pow"), FieldType::Float, 0, false},
                {QStringLiteral("Kwota"), FieldType::Currency, 0, false},
                {QStringLiteral("Od"), FieldType::Date, 0, false},
                {QStringLiteral("Ryczalt"), FieldType::Boolean, 0, false}};
    t.indexes = {{QString(), {QStringLiteral("Nr")}, IndexPrimary | IndexUnique},
                 {QStringLiteral("NazwNdx"), {QStringLiteral("Nazwisko")}, IndexCaseInsensitive}};
    return t;
}

QString exportOf(Database &db, const QString &table) {
    QString text;
    QTextStream out(&text);
    exportTableCsv(db, table, out);
    out.flush();
    return text;
}

// An output that runs something once, when the first data reaches it.
class OutputWithHook : public QIODevice {
public:
    explicit OutputWithHook(std::function<void()> hook) : m_hook(std::move(hook)) { open(QIODevice::WriteOnly); }
    QByteArray data;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *bytes, qint64 size) override {
        if (m_hook)
            std::exchange(m_hook, nullptr)();
        data.append(bytes, size);
        return size;
    }

private:
    std::function<void()> m_hook;
};

int rowsOf(Database &db, const QString &table) {
    Table t(db, table);
    t.open();
    return t.recordCount();
}

class CsvImport : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(everyType(QStringLiteral("Wzor")));
        // One row that every refused file must leave alone.
        importTableCsv(*db, QStringLiteral("Wzor"), "Nazwisko\nStały\n");
    }

    // The fault of a refused file, as (line, column); the table unchanged.
    std::pair<int, int> refusal(const QByteArray &csv) {
        try {
            importTableCsv(*db, QStringLiteral("Wzor"), csv);
        } catch (const ImportError &e) {
            lastMessage = e.message();
            EXPECT_EQ(rowsOf(*db, QStringLiteral("Wzor")), 1) << csv.constData();
            return {e.line(), e.column()};
        }
        ADD_FAILURE() << "accepted: " << csv.constData();
        return {0, 0};
    }

    TempDatabase db;
    QString lastMessage;
};

}  // namespace

TEST(CsvTable, ExportThenImportIntoAnEmptyCopyGivesTheSameRows) {
    TempDatabase db;
    db->createTable(everyType(QStringLiteral("Zrodlo")));
    db->createTable(everyType(QStringLiteral("Kopia")));
    {
        Table t(*db, QStringLiteral("Zrodlo"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Łoś, \"Żak\""));
        t.field(QStringLiteral("Uwagi")).setString(QStringLiteral("wiersz 1\nwiersz 2, ze \"znakami\"\r\nkoniec"));
        t.field(QStringLiteral("Osoby")).setInteger(-32768);
        t.field(QStringLiteral("Licznik")).setInteger(2147483647);
        t.field(QStringLiteral("Pow")).setFloat(48.37);
        t.field(QStringLiteral("Kwota")).setCurrency(0.1 + 0.2);
        t.field(QStringLiteral("Od")).setDate(QDate(2024, 2, 29));
        t.field(QStringLiteral("Ryczalt")).setBoolean(false);
        t.post();
        t.insert();  // blanks everywhere but the required field
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Ćwiek"));
        t.post();
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral(" spacja "));
        t.field(QStringLiteral("Kwota")).setCurrency(-1234.5);
        t.field(QStringLiteral("Pow")).setFloat(1e-7);
        t.field(QStringLiteral("Ryczalt")).setBoolean(true);
        t.post();
    }
    const QString csv = exportOf(*db, QStringLiteral("Zrodlo"));
    EXPECT_TRUE(csv.startsWith(QLatin1String("Nr,Nazwisko,Uwagi,Osoby,Licznik,Pow,Kwota,Od,Ryczalt\r\n")));
    EXPECT_TRUE(csv.contains(QLatin1String(",2024-02-29,0\r\n")));
    EXPECT_TRUE(csv.contains(QStringLiteral("2,Ćwiek,,,,,,,\r\n")));

    const ImportResult r = importTableCsv(*db, QStringLiteral("Kopia"), csv.toUtf8());
    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(r.skippedColumns, QStringList({QStringLiteral("Nr")}));
    EXPECT_EQ(exportOf(*db, QStringLiteral("Kopia")), csv);

    Table t(*db, QStringLiteral("Kopia"));
    t.open();
    t.first();
    EXPECT_DOUBLE_EQ(t.field(QStringLiteral("Kwota")).asCurrency(), 0.1 + 0.2);  // no digits lost
    t.next();
    EXPECT_TRUE(t.field(QStringLiteral("Od")).isNull());
    EXPECT_TRUE(t.field(QStringLiteral("Ryczalt")).isNull());
}

TEST(CsvTable, DemoApplicationsSurviveARoundTrip) {
    QTemporaryDir dir;
    auto db = createOfficeDatabase(dir.path());
    addDemoApplications(*db, 150, 11);
    db->createTable(applicationTableDef(QStringLiteral("ar012025")));
    const QString csv = exportOf(*db, QStringLiteral("Aktualne"));
    importTableCsv(*db, QStringLiteral("ar012025"), csv.toUtf8());
    EXPECT_EQ(exportOf(*db, QStringLiteral("ar012025")), csv);
}

TEST_F(CsvImport, ColumnsGoByHeaderNameInAnyOrderAndCaseAndAutoincNumbersAreGivenAnew) {
    const ImportResult r = importTableCsv(*db, QStringLiteral("Wzor"),
                                          "ryczalt,OSOBY,nr,nazwisko,od\n"
                                          "TRUE,3,500,Nowak,2025-01-31\n"
                                          "false,,501,Kowalska-Wiśniewska,\n");
    EXPECT_EQ(r.rows, 2);
    EXPECT_EQ(r.cutTexts, 1);  // a surname longer than 12 characters is cut
    EXPECT_EQ(r.firstCutLine, 3);
    EXPECT_EQ(r.firstCutColumn, 4);
    Table t(*db, QStringLiteral("Wzor"));
    t.open();
    t.last();
    EXPECT_EQ(t.field(QStringLiteral("Nr")).asInteger(), 3);
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Kowalska-Wiś"));
    EXPECT_FALSE(t.field(QStringLiteral("Ryczalt")).asBoolean());
    EXPECT_FALSE(t.field(QStringLiteral("Ryczalt")).isNull());
    t.prior();
    EXPECT_EQ(t.field(QStringLiteral("Nr")).asInteger(), 2);
    EXPECT_EQ(t.field(QStringLiteral("Osoby")).asInteger(), 3);
    EXPECT_EQ(t.field(QStringLiteral("Od")).asDate(), QDate(2025, 1, 31));
    EXPECT_TRUE(t.field(QStringLiteral("Ryczalt")).asBoolean());
}

TEST_F(CsvImport, RefusedFilesNameLineAndColumnAndLeaveNoRow) {
    // Each file has a good row first, so a refusal must undo a written row.
    EXPECT_EQ(refusal("Nazwisko,Pesel\nNowak,1\n"), std::make_pair(1, 2));
    EXPECT_TRUE(lastMessage.contains(QLatin1String("Pesel")));
    EXPECT_EQ(refusal("Nazwisko,Kwota\nNowak,1.5\nLis,\"12,50\"\n"), std::make_pair(3, 2));
    EXPECT_TRUE(lastMessage.contains(QStringLiteral("kropka")));
    EXPECT_EQ(refusal("Nazwisko,Kwota\nNowak,1.5\nLis,12zł\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Nazwisko,Od\nNowak,2024-02-29\nLis,2023-02-29\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Nazwisko,Od\nNowak,2024-02-29\nLis,01.02.2024\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Nazwisko,Osoby\nNowak,32767\nLis,32768\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Nazwisko,Licznik\nNowak,1\nLis,2147483648\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Nazwisko,Osoby\nNowak,1\nLis,2.5\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Nazwisko,Ryczalt\nNowak,1\nLis,tak\n"), std::make_pair(3, 2));
    EXPECT_EQ(refusal("Osoby,Nazwisko\n1,Nowak\n2,\n"), std::make_pair(3, 2));  // required field blank
    EXPECT_TRUE(lastMessage.contains(QLatin1String("Nazwisko")));
    EXPECT_EQ(refusal("Osoby\n1\n").first, 1);  // required field has no column at all
    EXPECT_EQ(refusal("Nazwisko,Osoby\nNowak,1\nLis\n"), std::make_pair(3, 0));  // cell count
    EXPECT_EQ(refusal("Nazwisko,nazwisko\nNowak,Lis\n"), std::make_pair(1, 2));  // a field twice
    EXPECT_EQ(refusal("Nazwisko,Uwagi\nNowak,\"bez końca\nLis,x\n"), std::make_pair(2, 2));  // unterminated quote
    EXPECT_EQ(refusal("Nazwisko\nNowak\nLis\xC5\n").first, 3);  // not UTF-8
    EXPECT_EQ(refusal("").first, 1);  // no header
    EXPECT_TRUE(lastMessage.startsWith(QLatin1String("Wiersz 1")));
}

TEST(CsvTable, AnExportIsOneStateOfTheTableWhileAnotherConnectionCommits) {
    QTemporaryDir dir;
    auto db = createOfficeDatabase(dir.path());
    addDemoApplications(*db, 600, 5);
    const QString before = exportOf(*db, QStringLiteral("Aktualne"));
    auto writer = db->openSecondConnection();
    OutputWithHook out([&] {
        // Midway through the export: every application changes, one goes, one comes.
        writer->exec(QStringLiteral("UPDATE Aktualne SET Liczba_osob = Liczba_osob + 1, Adres_nr = 'zmieniony'"));
        writer->exec(QStringLiteral("DELETE FROM Aktualne WHERE NrEw = 600"));
        writer->exec(QStringLiteral("INSERT INTO Aktualne (Nazwisko, Imie) VALUES ('Nowy', 'Jan')"));
    });
    QTextStream stream(&out);
    EXPECT_EQ(exportTableCsv(*db, QStringLiteral("Aktualne"), stream), 600);
    stream.flush();
    ASSERT_GT(out.data.size(), 100000);  // written in many pieces, the hook ran early
    EXPECT_EQ(QString::fromUtf8(out.data), before);
    EXPECT_NE(exportOf(*db, QStringLiteral("Aktualne")), before);
}

TEST_F(CsvImport, EarlyDatesControlCharactersAndBlankRequiredTextsAreRefusedWithTheirPlace) {
    for (const char *early : {"0001-01-01", "1800-05-01", "1899-12-30", "1899-12-31"}) {
        EXPECT_EQ(refusal(QByteArray("Nazwisko,Od\nNowak,1900-01-01\nLis,") + early + "\n"), std::make_pair(3, 2)) << early;
        EXPECT_TRUE(lastMessage.contains(QStringLiteral("wcześniejsza niż 1900-01-01"))) << lastMessage.toStdString();
    }
    static const char nul[] = "Nazwisko,Uwagi\nNowak,x\nLis,a\0b\n";
    EXPECT_EQ(refusal(QByteArray(nul, sizeof nul - 1)), std::make_pair(3, 2));
    EXPECT_TRUE(lastMessage.contains(QStringLiteral("U+0000"))) << lastMessage.toStdString();
    EXPECT_EQ(refusal("Nazwisko\nNowak\n\"Lis\x1b[2J\"\n"), std::make_pair(3, 1));
    EXPECT_TRUE(lastMessage.contains(QStringLiteral("U+001B"))) << lastMessage.toStdString();
    EXPECT_EQ(refusal("Nazwisko\nNowak\n\"Lis\tKot\"\n"), std::make_pair(3, 1));  // tab: only in a memo
    EXPECT_EQ(refusal("Osoby,Nazwisko\n1,Nowak\n2,   \n"), std::make_pair(3, 2));
    EXPECT_TRUE(lastMessage.contains(QStringLiteral("spacji"))) << lastMessage.toStdString();

    // A memo keeps tab and line breaks; characters outside the basic plane
    // are cut whole and counted as one.
    QString clefs;
    for (int i = 0; i < 14; ++i)
        clefs += QString::fromUcs4(U"\U0001D11E");
    const ImportResult r = importTableCsv(*db, QStringLiteral("Wzor"),
                                          "Nazwisko,Uwagi,Od\n" + clefs.toUtf8() + ",\"a\tb\r\nc\",1900-01-01\n");
    EXPECT_EQ(r.rows, 1);
    EXPECT_EQ(r.cutTexts, 1);
    Table t(*db, QStringLiteral("Wzor"));
    t.open();
    t.last();
    EXPECT_EQ(t.field(QStringLiteral("Nazwisko")).asString(), clefs.left(24));
    EXPECT_EQ(t.field(QStringLiteral("Uwagi")).asString(), QStringLiteral("a\tb\r\nc"));
    EXPECT_EQ(t.field(QStringLiteral("Od")).asDate(), QDate(1900, 1, 1));
}

TEST_F(CsvImport, AFileReadPieceByPieceWritesNothingWhenItsLastLineIsBad) {
    // Many pieces of the file are read and their rows written before the
    // last line is met; none of them may remain.
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("Nazwisko,Osoby,Uwagi\n");
    int line = 1;
    for (int i = 0; i < 50000; ++i, ++line)
        file.write(QStringLiteral("Nowak%1,%2,\"uwaga, długa\"\n").arg(i).arg(i % 9).toUtf8());
    file.write("Lis,dwie,x\n");
    ++line;
    ASSERT_TRUE(file.flush());
    ASSERT_GT(file.size(), 1024 * 1024);
    ASSERT_TRUE(file.seek(0));
    try {
        importTableCsv(*db, QStringLiteral("Wzor"), file);
        ADD_FAILURE() << "accepted";
    } catch (const ImportError &e) {
        EXPECT_EQ(e.line(), line);
        EXPECT_EQ(e.column(), 2);
    }
    EXPECT_EQ(rowsOf(*db, QStringLiteral("Wzor")), 1);

    // The same file with a good last line is imported whole.
    ASSERT_TRUE(file.resize(file.size() - 11));
    ASSERT_TRUE(file.seek(file.size()));
    file.write("Lis,2,x\n");
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.seek(0));
    EXPECT_EQ(importTableCsv(*db, QStringLiteral("Wzor"), file).rows, 50001);
    EXPECT_EQ(rowsOf(*db, QStringLiteral("Wzor")), 50002);
}

TEST_F(CsvImport, NumbersAndDatesAreReadInTheirOneWrittenForm) {
    for (const char *bad : {"1e", ".", "1.2.3", "e5", "+", "1 2", "\xd9\xa3"})  // the last: an Arabic-Indic digit
        EXPECT_EQ(refusal(QByteArray("Nazwisko,Kwota\nNowak,1\nLis,") + bad + "\n"), std::make_pair(3, 2)) << bad;
    for (const char *bad : {"+1-", "1+", "\xd9\xa3", "1.0"})
        EXPECT_EQ(refusal(QByteArray("Nazwisko,Osoby\nNowak,1\nLis,") + bad + "\n"), std::make_pair(3, 2)) << bad;
    for (const char *bad : {"2024-2-29", "24-02-29", "2024-02-291", "2024/02/29"})
        EXPECT_EQ(refusal(QByteArray("Nazwisko,Od\nNowak,2024-02-29\nLis,") + bad + "\n"), std::make_pair(3, 2)) << bad;

    const ImportResult r = importTableCsv(*db, QStringLiteral("Wzor"),
                                          "Nazwisko,Kwota,Osoby,Od\n"
                                          "A,1e3,+7,2024-02-29\n"
                                          "B,.5,-7,\n"
                                          "C,5.,0,\n"
                                          "D,-.25E-2,12,\n");
    EXPECT_EQ(r.rows, 4);
    Table t(*db, QStringLiteral("Wzor"));
    t.open();
    std::vector<double> amounts;
    for (t.moveTo(2); !t.eof(); t.next())
        amounts.push_back(t.field(QStringLiteral("Kwota")).asFloat());
    EXPECT_EQ(amounts, (std::vector<double>{1000, 0.5, 5, -0.0025}));
}
