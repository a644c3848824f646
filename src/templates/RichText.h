#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <variant>
#include <vector>

namespace varnel::templates {

// A rich-text document as decision templates hold it, independent of any
// text widget: paragraphs of formatted runs and simple tables. The RTF
// reader produces it, the RTF writer writes it, and the documents tier turns
// it into a QTextDocument and back (templates/doc/RichTextDocument.h).
//
// Lengths (indents, spacing, column boundaries) are in twips, 1/1440 inch,
// the unit of RTF.

// The text width of an A4 page with margins of 2.5 cm, in twips: what table
// widths are measured against where a document gives them as a share.
inline constexpr int DefaultTextWidth = 11906 - 2 * 1417;

// The look of a run of characters.
struct CharStyle {
    QString font;                  // family name; empty: the document's default font
    double pointSize = 0;          // 0: the document's default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int vertical = 0;              // 1 superscript, -1 subscript, 0 on the line
    std::optional<quint32> color;  // 0xRRGGBB; none: automatic (black)

    friend bool operator==(const CharStyle &, const CharStyle &) = default;
};

enum class Alignment { Left, Center, Right, Justify };

struct TextRun {
    QString text;  // may hold '\t' and U+2028 (a line break inside the paragraph)
    CharStyle style;
};

struct Paragraph {
    std::vector<TextRun> runs;
    CharStyle markStyle;  // the style of the paragraph mark: the height of an empty line
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;  // relative to leftIndent, may be negative
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool pageBreakBefore = false;

    QString text() const;
    // Adds text in a style, joining it to the last run when the style is the same.
    void append(const QString &text, const CharStyle &style);
};

struct TableCell {
    std::vector<Paragraph> paragraphs;
    int rightBoundary = 0;  // right edge of the cell from the row's left edge; 0: not given
};

struct TableRow {
    std::vector<TableCell> cells;
};

struct TextTable {
    std::vector<TableRow> rows;
    bool borders = false;  // cells framed by single lines
    int columnCount() const;
};

using Block = std::variant<Paragraph, TextTable>;

struct RichText {
    std::vector<Block> blocks;
    QString defaultFont = QStringLiteral("Times New Roman");
    double defaultPointSize = 12;

    // The text in reading order: paragraphs ended by "\n", each table cell's
    // paragraphs followed by "\n" as well.
    QString plainText() const;
};

}  // namespace varnel::templates
