// Template files: RTF or plain text, file errors, the example template of a
// new database.
#include "templates/TemplateFile.h"

#include "cli/OfficeDatabase.h"
#include "data/Database.h"
#include "templates/ExampleTemplate.h"
#include "templates/FieldCatalogue.h"
#include "templates/Rtf.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace varnel::templates;

namespace {

void writeFile(const QString &path, const QByteArray &data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

TEST(PlainTextTemplates, AreUtf8WhenValidOtherwiseWindows1250) {
    const QString polish = QStringLiteral("Zażółć gęślą jaźń ŻÓŁW");
    EXPECT_EQ(decodePlainText(polish.toUtf8()), polish);
    EXPECT_EQ(decodePlainText(QByteArray("\xEF\xBB\xBF") + polish.toUtf8()), polish);
    QStringEncoder cp1250("windows-1250");
    const QByteArray bytes = cp1250.encode(polish);
    ASSERT_EQ(bytes.size(), polish.size());
    EXPECT_EQ(decodePlainText(bytes), polish);
    // Every Polish letter both ways through the code page.
    const QString letters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(decodePlainText(cp1250.encode(letters)), letters);
}

TEST(PlainTextTemplates, BecomeOneParagraphALine) {
    const RichText t = parseTemplate("Pan(i) @<Imi\xC4\x99>@\r\nlinia\rdruga\n\ntrzecia\x01\n", QStringLiteral("x.txt"));
    EXPECT_EQ(t.plainText(), QStringLiteral("Pan(i) @<Imię>@\nlinia\ndruga\n\ntrzecia\n"));
    EXPECT_EQ(textLines(QString()), QStringList());
    EXPECT_EQ(textLines(QStringLiteral("a\r\n")), QStringList{QStringLiteral("a")});
    EXPECT_EQ(textLines(QStringLiteral("a\n\n")), (QStringList{QStringLiteral("a"), QString()}));
    // Only "{\rtf" at the very start makes RTF.
    EXPECT_EQ(parseTemplate(" {\\rtf1 a}", QStringLiteral("x")).plainText(), QStringLiteral(" {\\rtf1 a}\n"));
    EXPECT_EQ(parseTemplate("{\\rtf1 a}", QStringLiteral("x")).plainText(), QStringLiteral("a\n"));
}

TEST(TemplateFiles, AFileThatCannotBeReadIsToldWithItsError) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("brak.fmz"));
    try {
        readTemplateFile(missing);
        FAIL() << "read a missing file";
    } catch (const TemplateFileError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Nie można otworzyć pliku ") + missing + QStringLiteral(": ")))
            << e.message().toStdString();
        EXPECT_GT(e.message().size(), (QStringLiteral("Nie można otworzyć pliku ") + missing + QStringLiteral(": ")).size());
    }
    EXPECT_THROW(readTemplateFile(dir.path()), TemplateFileError);  // a directory

    // A file larger than any template is refused, not read.
    const QString big = dir.filePath(QStringLiteral("duzy.fmz"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(MaxTemplateFileSize + 1));
    }
    try {
        readTemplateFile(big);
        FAIL() << "read a file beyond the limit";
    } catch (const TemplateFileError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("zbyt duży"))) << e.message().toStdString();
    }
}

TEST(TemplateFiles, ASaveThatFailsIsToldWithItsError) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wzor.fmz"));
    RichText t;
    Paragraph p;
    p.append(QStringLiteral("pierwszy"), CharStyle());
    t.blocks.emplace_back(p);
    writeTemplateFile(path, t);
    EXPECT_EQ(readTemplateFile(path).plainText(), QStringLiteral("pierwszy\n"));

    const QString nowhere = dir.filePath(QStringLiteral("nie/ma/katalogu.fmz"));
    try {
        writeTemplateFile(nowhere, t);
        FAIL() << "saved into a missing directory";
    } catch (const TemplateFileError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Nie można zapisać pliku ") + nowhere + QStringLiteral(": ")))
            << e.message().toStdString();
    }
    // A directory in the way of the file stays as it is.
    const QString folder = dir.filePath(QStringLiteral("katalog.fmz"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_THROW(writeTemplateFile(folder, t), TemplateFileError);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(ExampleTemplate, EveryNewDatabaseGetsOneWithKnownPlaceholders) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("baza"));
    varnel::cli::createOfficeDatabase(base);
    const QString path = QDir(base).filePath(ExampleDecisionFile);
    ASSERT_TRUE(QFileInfo::exists(path));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250"));
    const QString text = readTemplateFile(path).plainText();
    EXPECT_TRUE(text.contains(QStringLiteral("w sprawie przyznania dodatku mieszkaniowego")));
    static const QRegularExpression ph(QStringLiteral("@<([^>]*)>@"));
    QStringList used;
    for (auto it = ph.globalMatch(text); it.hasNext();)
        used << it.next().captured(1);
    for (const QString &name : {QStringLiteral("Imię"), QStringLiteral("Nazwisko"), QStringLiteral("Adres"),
                                QStringLiteral("Okres - od"), QStringLiteral("Okres - do"),
                                QStringLiteral("Wypłata (całość)"), QStringLiteral("Wypłata (zarządca)"),
                                QStringLiteral("Termin płatn.")})
        EXPECT_TRUE(used.contains(name)) << name.toStdString();
    for (const QString &name : used)
        EXPECT_TRUE(allFieldNames().contains(name)) << name.toStdString();

    // An office's own template of that name is never replaced.
    writeFile(path, "moj wzor");
    writeExampleDecision(base);
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("moj wzor"));
}

}  // namespace
