#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace varnel::lists {

// The font of a section of a list (header or rows): face, size in points,
// styles. A size of 0 stands for a size the template did not give in digits.
struct ListFont {
    QString name;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const ListFont &) const = default;
};

// One column of a list: the data item it shows, its width in characters and
// its sum mark: "+" totalled, "-" can be totalled but is not, "" cannot be.
struct ListColumn {
    QString name;
    int width = 20;
    QString sum;

    bool operator==(const ListColumn &) const = default;
};

// A list template: the header lines with their font and spacing, the row
// font and spacing, the columns from left to right. Spacings are indexes
// into the spacing table below.
struct ListTemplate {
    ListFont headerFont;
    int headerSpacing = 1;
    QStringList headerLines;
    ListFont rowFont;
    int rowSpacing = 1;
    QVector<ListColumn> columns;

    bool operator==(const ListTemplate &) const = default;
};

// The spacing table: seven entries, each a label and a factor (the extra
// space between lines as a fraction of the text height), written as text
// and used as written ("0.66", not 2/3).
constexpr int SpacingCount = 7;
QString spacingLabel(int index);  // "0 linii" ... "1 i 1/2 linii"
double spacingFactor(int index);  // 0, 0.25, 0.333, 0.5, 0.66, 1, 1.5
QStringList spacingLabels();

// The font sizes the template editor offers; 10 is the default.
QVector<int> offeredFontSizes();

// Font descriptor: "B"/"b" bold, "I"/"i" italic, "U"/"u" underlined, the
// size in exactly two digits ("08"), the face name to the end of the line.
QString fontDescriptor(const ListFont &font);
// A line is a descriptor when it has at least four characters whose first
// three, upper-cased, read "BIU"; each style is on when its letter is upper
// case, the size is characters 4-5, the face the rest. Returns false for any
// other line.
bool parseFontDescriptor(const QString &line, ListFont *font);

// The file: header descriptor, header spacing index, number of header
// lines, the header lines, row descriptor, row spacing index, one line per
// column "width/sum/name" (sum "N" for an empty mark), every line ended by
// CR LF. Written in Windows-1250 as the old files are; a template with a
// character Windows-1250 lacks is written in UTF-8, so nothing is lost (the
// reader tells the two apart).
QByteArray writeListTemplate(const ListTemplate &t);

// What reading a template file gave. The file has two parts, each read whole
// or not at all: the header (descriptor, spacing, count, lines) and the rows
// (descriptor, spacing, columns). When the header was read and the rows were
// not, the header is kept (the windows keep it) and the columns are not
// touched.
struct ListTemplateReading {
    enum class Read { Nothing, Header, Whole };
    Read read = Read::Nothing;
    ListTemplate tmpl;
    QString error;  // the message when not read whole
    bool fileError = false;  // the file itself could not be read (error is the file's error)

    bool loaded() const { return read == Read::Whole; }
    bool headerRead() const { return read != Read::Nothing; }
};

// Reads a template from the file's bytes; `path` names the file in
// messages. Text that is valid UTF-8 with a non-ASCII letter is read as
// UTF-8, any other as Windows-1250; lines may end in CR LF or LF. Refused,
// with the message: a first or second line that is not a font descriptor
// ("Zbiór: <path> nie zawiera opisu listy!!"), a spacing index outside 0..6,
// a count of header lines that is not a whole number, and a column line
// that is not width "/" character "/" name (each naming the line). Blank
// lines at the end of the file are ignored.
ListTemplateReading readListTemplate(const QByteArray &bytes, const QString &path);
// Reads a file; an unreadable file is not read at all, with the file error.
ListTemplateReading readListTemplateFile(const QString &path);
// Writes a file in place of an old one only once it is whole. Empty text on
// success, otherwise the reason.
QString writeListTemplateFile(const QString &path, const ListTemplate &t);

// The message for a file that is not a list template.
QString notAListTemplateMessage(const QString &path);

}  // namespace varnel::lists
