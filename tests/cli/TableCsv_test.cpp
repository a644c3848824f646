#include "cli/Csv.h"
#include "cli/DemoData.h"
#include "cli/OfficeDatabase.h"
#include "cli/TableCsv.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/ReferenceFloatText.h"
#include "support/TempDatabase.h"

#include <QBuffer>
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

// The export as it was made before cells were written from the engine's own
// bytes and numbers: every cell read by the cursor as a value of its field,
// made a text and quoted where it must be.
QString exportThroughTheCursor(Database &db, const QString &table) {
    Table t(db, table);
    t.open();
    QString text;
    QTextStream out(&text);
    writeCsvRecord(out, t.fieldNames());
    for (t.first(); !t.eof(); t.next()) {
        QStringList cells;
        for (int i = 0; i < t.fieldCount(); ++i) {
            const QVariant v = t.value(i);
            QString cell;
            if (v.isValid() && !v.isNull()) {
                switch (t.fieldDef(i).type) {
                case FieldType::Text:
                case FieldType::Memo: cell = v.toString(); break;
                case FieldType::SmallInt:
                case FieldType::Integer:
                case FieldType::AutoInc: cell = QString::number(v.toLongLong()); break;
                case FieldType::Float:
                case FieldType::Currency: cell = varnel::test::referenceFloatText(v.toDouble()); break;
                case FieldType::Date: cell = v.toDate().toString(Qt::ISODate); break;
                case FieldType::Boolean: cell = v.toBool() ? QStringLiteral("1") : QStringLiteral("0"); break;
                }
            }
            cells << cell;
        }
        writeCsvRecord(out, cells);
    }
    out.flush();
    return text;
}

// An output whose writes fail once it holds `room` bytes.
class FullOutput : public QIODevice {
public:
    explicit FullOutput(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    qint64 written = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override {
        if (written + size > m_room)
            return -1;
        written += size;
        return size;
    }

private:
    qint64 m_room;
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

TEST(CsvTable, EveryCellIsWrittenAsTheCursorReadsItWhateverTheEngineHolds) {
    TempDatabase db;
    db->createTable(everyType(QStringLiteral("Zrodlo")));
    {
        Table t(*db, QStringLiteral("Zrodlo"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Żółć, \"Gęś\""));
        t.field(QStringLiteral("Uwagi")).setString(QStringLiteral("Łąka\r\nźdźbło\tjaźń, \"cytat\"\nkoniec"));
        t.field(QStringLiteral("Osoby")).setInteger(-32768);
        t.field(QStringLiteral("Licznik")).setInteger(2147483647);
        t.field(QStringLiteral("Pow")).setFloat(0.1);
        t.field(QStringLiteral("Kwota")).setCurrency(1780.96);
        t.field(QStringLiteral("Od")).setDate(QDate(2024, 2, 29));
        t.field(QStringLiteral("Ryczalt")).setBoolean(true);
        t.post();
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Ćma"));
        t.field(QStringLiteral("Pow")).setFloat(1e-7);
        t.field(QStringLiteral("Kwota")).setCurrency(0.1 + 0.2);
        t.field(QStringLiteral("Od")).setDate(QDate(1900, 1, 1));
        t.field(QStringLiteral("Ryczalt")).setBoolean(false);
        t.post();
        t.insert();  // blanks but the required field
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral(" spacje "));
        t.post();
    }
    // Cells as other programs may have stored them: bytes that are not
    // UTF-8 (or begin with a byte order mark), numbers in text fields and
    // texts in number fields, integers beyond the field, halfway and
    // infinite floating point values, dates in other forms.
    db->exec(QString::fromUtf8(R"(INSERT INTO Zrodlo (Nazwisko, Uwagi, Osoby, Licznik, Pow, Kwota, Od, Ryczalt) VALUES
        (CAST(X'C5' AS TEXT), CAST(X'EFBBBF616263' AS TEXT), 'abc', -2147483648, 58941677313525.8125, -0.01, '1899-12-30', 2),
        (CAST(X'EDA080' AS TEXT), CAST(X'F4908080' AS TEXT), 2.7, 9007199254740993, 1e300, -0.0, '2023-02-29', -1),
        (CAST(X'C0AF2C' AS TEXT), 'x' || char(0) || 'y', 4294967297, '12abc', 9e999, -9e999, '2024-2-3', 'x'),
        (123, 1.5, '', 5.5, 'abc', '1.5', '0999-01-01', 0.5),
        ('a,b', CAST(X'E282AC22' AS TEXT), 7, 8, 123456789012345.6, 5e-324, 20240101, '1'),
        ('"', char(10), NULL, NULL, 3, 1e15, '2024-02-29T10:00:00', NULL),
        (X'616263', X'C582', NULL, NULL, X'00', NULL, ' 2024-01-01', NULL),
        (CAST(X'F09D849E' AS TEXT), CAST(X'EFBFBE' AS TEXT), NULL, NULL, NULL, NULL, '2024-01-01 ', NULL),
        ('a' || CAST(X'EFBBBF' AS TEXT), NULL, NULL, NULL, NULL, NULL, '+2024-01-01', NULL))"));

    const QString expected = exportThroughTheCursor(*db, QStringLiteral("Zrodlo"));
    ASSERT_EQ(expected.count(QStringLiteral("\r\n")) - expected.count(QStringLiteral("\r\nźdźbło")), 13);
    EXPECT_TRUE(expected.contains(QChar(0xFFFD)));  // the bytes that are not UTF-8 were met
    EXPECT_TRUE(expected.contains(QStringLiteral(",58941677313525.813,")));
    EXPECT_TRUE(expected.contains(QStringLiteral("\"Łąka\r\nźdźbło\tjaźń, \"\"cytat\"\"\nkoniec\"")));
    EXPECT_EQ(exportOf(*db, QStringLiteral("Zrodlo")), expected);

    // Written to a device the bytes go to it directly.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextStream stream(&buffer);
    stream << "przed\n";
    EXPECT_EQ(exportTableCsv(*db, QStringLiteral("Zrodlo"), stream), 12);
    stream << "po\n";
    stream.flush();
    EXPECT_EQ(buffer.data(), "przed\n" + expected.toUtf8() + "po\n");
}

TEST(CsvTable, AnExportToAFullOutputTellsTheStreamThatItsWritingFailed) {
    QTemporaryDir dir;
    auto db = createOfficeDatabase(dir.path());
    addDemoApplications(*db, 600, 5);
    for (const qint64 room : {0, 1000, 100000}) {
        FullOutput out(room);
        QTextStream stream(&out);
        exportTableCsv(*db, QStringLiteral("Aktualne"), stream);
        stream.flush();
        EXPECT_EQ(stream.status(), QTextStream::WriteFailed) << room;
        EXPECT_LE(out.written, room);
    }
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
    ASSERT_EQ(before, exportThroughTheCursor(*db, QStringLiteral("Aktualne")));  // written in pieces, none lost or repeated
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

TEST_F(CsvImport, AFileEndingInsideACharacterIsRefusedAndACharacterAcrossPiecesIsRead) {
    for (const char *cut : {"\xC5", "\xE2\x82", "\xF0\x9F\x98"}) {
        EXPECT_EQ(refusal(QByteArray("Nazwisko,Uwagi\nNowak,x\nLis,Ala") + cut), std::make_pair(3, 0)) << cut;
        EXPECT_TRUE(lastMessage.contains(QStringLiteral("UTF-8"))) << lastMessage.toStdString();
    }
    // The file ends with whole characters of two, three and four bytes.
    EXPECT_EQ(importTableCsv(*db, QStringLiteral("Wzor"), "Nazwisko\nŁoś\n€\n\xF0\x9F\x98\x80").rows, 3);

    // Characters of several bytes standing across the pieces the file is
    // read in, the first at the end of 64 KiB.
    QByteArray big = "Nazwisko,Uwagi\nNowak,\"";
    big += QByteArray(65535 - big.size(), 'a');
    for (int i = 0; i < 40000; ++i)
        big += i % 7 ? "ł" : "\xF0\x9F\x98\x80";
    big += "\"\n";
    const ImportResult r = importTableCsv(*db, QStringLiteral("Wzor"), big);
    EXPECT_EQ(r.rows, 1);
    Table t(*db, QStringLiteral("Wzor"));
    t.open();
    t.last();
    EXPECT_EQ(t.field(QStringLiteral("Uwagi")).asString().toUtf8(), big.mid(22, big.size() - 24));
}

TEST_F(CsvImport, NumbersAreTheValuesQtReadsFromTheirText) {
    EXPECT_EQ(refusal("Nazwisko,Pow\nNowak,1\nLis,1e999\n"), std::make_pair(3, 2));
    EXPECT_TRUE(lastMessage.contains(QStringLiteral("za duża"))) << lastMessage.toStdString();
    const QList<QByteArray> numbers = {"0.1", "-0", "+0", ".5", "5.", "-.25E-2", "+7.5", "00012.5000", "1780.96",
                                       "9007199254740993", "123456789012345678901234567890", "5e-324", "2e-324",
                                       "1e-400", "2.2250738585072011e-308", "1.7976931348623158e308", "0.30000000000000004",
                                       "58941677313525.8125", "1" + QByteArray(70, '0') + ".5", "0." + QByteArray(80, '0') + "1"};
    QByteArray csv = "Nazwisko,Pow\n";
    for (const QByteArray &n : numbers)
        csv += "N," + n + "\n";
    importTableCsv(*db, QStringLiteral("Wzor"), csv);
    Table t(*db, QStringLiteral("Wzor"));
    t.open();
    t.moveTo(2);
    for (const QByteArray &n : numbers) {
        ASSERT_FALSE(t.eof());
        const double stored = t.field(QStringLiteral("Pow")).asFloat();
        const double expected = QString::fromLatin1(n).toDouble();
        EXPECT_EQ(stored, expected) << n.constData();
        t.next();
    }
}
