#include "templates/doc/RichTextDocument.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace varnel::templates::doc {

namespace {

constexpr double TwipsPerPixel = 15;

double pixels(int twips) { return twips / TwipsPerPixel; }
int twipsOf(double px) { return static_cast<int>(std::lround(std::clamp(px, -1e6, 1e6) * TwipsPerPixel)); }

void insertRuns(QTextCursor &cursor, const Paragraph &p, const RichText &defaults) {
    for (const TextRun &r : p.runs)
        cursor.insertText(r.text, charFormatOf(r.style, defaults));
}

// Fills the paragraph that `cursor` stands in (empty) and adds the others
// after it.
void insertParagraphs(QTextCursor &cursor, const std::vector<Paragraph> &paragraphs, const RichText &defaults) {
    bool first = true;
    for (const Paragraph &p : paragraphs) {
        const QTextCharFormat mark = charFormatOf(p.markStyle, defaults);
        if (first) {
            cursor.setBlockFormat(blockFormatOf(p));
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(blockFormatOf(p), mark);
        }
        insertRuns(cursor, p, defaults);
    }
}

QTextTableFormat tableFormatOf(const TextTable &t) {
    QTextTableFormat f;
    f.setCellSpacing(0);
    f.setCellPadding(3);
    f.setBorderCollapse(true);
    f.setBorder(t.borders ? 1 : 0);
    f.setBorderStyle(t.borders ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
    f.setBorderBrush(QColor(Qt::black));
    f.setAlignment(Qt::AlignLeft);

    // Column widths from the row with the most cells whose boundaries are
    // all given and rising.
    const TableRow *widest = nullptr;
    for (const TableRow &row : t.rows) {
        bool rising = !row.cells.empty();
        int previous = 0;
        for (const TableCell &c : row.cells) {
            if (c.rightBoundary <= previous)
                rising = false;
            previous = c.rightBoundary;
        }
        if (rising && (!widest || row.cells.size() > widest->cells.size()))
            widest = &row;
    }
    const int columns = t.columnCount();
    if (widest && static_cast<int>(widest->cells.size()) == columns) {
        const double total = widest->cells.back().rightBoundary;
        QVector<QTextLength> widths;
        int previous = 0;
        for (const TableCell &c : widest->cells) {
            widths << QTextLength(QTextLength::PercentageLength, 100.0 * (c.rightBoundary - previous) / total);
            previous = c.rightBoundary;
        }
        f.setColumnWidthConstraints(widths);
        f.setWidth(QTextLength(QTextLength::PercentageLength, std::min(100.0, 100.0 * total / DefaultTextWidth)));
    } else {
        f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    }
    return f;
}

void insertTable(QTextCursor &cursor, const TextTable &t, const RichText &defaults) {
    const int rows = static_cast<int>(t.rows.size());
    const int columns = t.columnCount();
    if (rows == 0 || columns == 0)
        return;
    QTextTable *table = cursor.insertTable(rows, columns, tableFormatOf(t));
    for (int r = 0; r < rows; ++r) {
        const TableRow &row = t.rows[static_cast<size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            QTextCursor cell = table->cellAt(r, c).firstCursorPosition();
            insertParagraphs(cell, row.cells[static_cast<size_t>(c)].paragraphs, defaults);
        }
    }
}

Alignment alignmentOf(Qt::Alignment a) {
    const Qt::Alignment h = a & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        return Alignment::Center;
    if (h & (Qt::AlignRight | Qt::AlignTrailing))
        return Alignment::Right;
    if (h & Qt::AlignJustify)
        return Alignment::Justify;
    return Alignment::Left;
}

Paragraph paragraphOf(const QTextBlock &block) {
    Paragraph p;
    const QTextBlockFormat f = block.blockFormat();
    p.alignment = alignmentOf(f.alignment());
    p.leftIndent = twipsOf(f.leftMargin());
    p.rightIndent = twipsOf(f.rightMargin());
    p.firstLineIndent = twipsOf(f.textIndent());
    p.spaceBefore = std::max(0, twipsOf(f.topMargin()));
    p.spaceAfter = std::max(0, twipsOf(f.bottomMargin()));
    p.pageBreakBefore = f.pageBreakPolicy().testFlag(QTextFormat::PageBreak_AlwaysBefore);
    p.markStyle = charStyleOf(block.charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (frag.isValid())
            p.append(frag.text(), charStyleOf(frag.charFormat()));
    }
    return p;
}

// The paragraphs of a frame (a table cell), tables inside it flattened.
void collectParagraphs(QTextFrame::iterator it, std::vector<Paragraph> &out) {
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame)) {
                for (int r = 0; r < table->rows(); ++r)
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextTableCell cell = table->cellAt(r, c);
                        if (cell.row() == r && cell.column() == c)
                            collectParagraphs(cell.begin(), out);
                    }
            } else {
                collectParagraphs(frame->begin(), out);
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (block.isValid())
            out.push_back(paragraphOf(block));
    }
}

TextTable tableOf(const QTextTable &table) {
    TextTable t;
    const QTextTableFormat f = table.format();
    t.borders = f.border() > 0 && f.borderStyle() != QTextFrameFormat::BorderStyle_None;

    // Column boundaries from the width constraints.
    const QVector<QTextLength> widths = f.columnWidthConstraints();
    std::vector<int> boundaries(static_cast<size_t>(table.columns()), 0);
    if (widths.size() == table.columns()) {
        double tableWidth = DefaultTextWidth;
        if (f.width().type() == QTextLength::PercentageLength)
            tableWidth = DefaultTextWidth * f.width().rawValue() / 100.0;
        else if (f.width().type() == QTextLength::FixedLength)
            tableWidth = f.width().rawValue() * TwipsPerPixel;
        double at = 0;
        bool known = true;
        for (int c = 0; c < table.columns(); ++c) {
            const QTextLength w = widths[c];
            if (w.type() == QTextLength::PercentageLength)
                at += tableWidth * w.rawValue() / 100.0;
            else if (w.type() == QTextLength::FixedLength)
                at += w.rawValue() * TwipsPerPixel;
            else
                known = false;
            boundaries[static_cast<size_t>(c)] = known ? static_cast<int>(std::lround(at)) : 0;
        }
    }

    for (int r = 0; r < table.rows(); ++r) {
        TableRow row;
        for (int c = 0; c < table.columns(); ++c) {
            TableCell cell;
            cell.rightBoundary = boundaries[static_cast<size_t>(c)];
            const QTextTableCell qcell = table.cellAt(r, c);
            if (qcell.row() == r && qcell.column() == c)  // a cell covered by a span stays empty
                collectParagraphs(qcell.begin(), cell.paragraphs);
            row.cells.push_back(std::move(cell));
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

bool isBareParagraph(const Block &b) {
    const Paragraph *p = std::get_if<Paragraph>(&b);
    return p && p->runs.empty();
}

}  // namespace

QTextCharFormat charFormatOf(const CharStyle &s, const RichText &defaults) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{s.font.isEmpty() ? defaults.defaultFont : s.font});
    f.setFontPointSize(s.pointSize > 0 ? s.pointSize : defaults.defaultPointSize);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setFontStrikeOut(s.strike);
    if (s.vertical > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (s.vertical < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (s.color)
        f.setForeground(QColor::fromRgb(static_cast<QRgb>(*s.color | 0xFF000000u)));
    return f;
}

CharStyle charStyleOf(const QTextCharFormat &f) {
    CharStyle s;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        s.font = families.first();
    else if (f.hasProperty(QTextFormat::FontFamily))
        s.font = f.property(QTextFormat::FontFamily).toString();
    if (f.hasProperty(QTextFormat::FontPointSize))
        s.pointSize = f.fontPointSize();
    else if (f.hasProperty(QTextFormat::FontPixelSize))
        s.pointSize = f.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
    s.bold = f.fontWeight() >= QFont::DemiBold;
    s.italic = f.fontItalic();
    s.underline = f.fontUnderline();
    s.strike = f.fontStrikeOut();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s.vertical = 1;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s.vertical = -1;
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        s.color = static_cast<quint32>(f.foreground().color().rgb()) & 0xFFFFFFu;
    return s;
}

QTextBlockFormat blockFormatOf(const Paragraph &p) {
    QTextBlockFormat f;
    switch (p.alignment) {
    case Alignment::Left: f.setAlignment(Qt::AlignLeft); break;
    case Alignment::Center: f.setAlignment(Qt::AlignHCenter); break;
    case Alignment::Right: f.setAlignment(Qt::AlignRight); break;
    case Alignment::Justify: f.setAlignment(Qt::AlignJustify); break;
    }
    if (p.leftIndent)
        f.setLeftMargin(pixels(p.leftIndent));
    if (p.rightIndent)
        f.setRightMargin(pixels(p.rightIndent));
    if (p.firstLineIndent)
        f.setTextIndent(pixels(p.firstLineIndent));
    if (p.spaceBefore)
        f.setTopMargin(pixels(p.spaceBefore));
    if (p.spaceAfter)
        f.setBottomMargin(pixels(p.spaceAfter));
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

void setRichText(QTextDocument &doc, const RichText &text) {
    // Loading is no step the user could undo.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QFont font(text.defaultFont);
    font.setPointSizeF(text.defaultPointSize > 0 ? text.defaultPointSize : 12);
    doc.setDefaultFont(font);

    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    bool fresh = true;  // the cursor stands in an empty paragraph nothing has used yet
    for (const Block &b : text.blocks) {
        if (const Paragraph *p = std::get_if<Paragraph>(&b)) {
            const QTextCharFormat mark = charFormatOf(p->markStyle, text);
            if (fresh) {
                cursor.setBlockFormat(blockFormatOf(*p));
                cursor.setBlockCharFormat(mark);
            } else {
                cursor.insertBlock(blockFormatOf(*p), mark);
            }
            insertRuns(cursor, *p, text);
            fresh = false;
            continue;
        }
        // A table goes after the paragraph the cursor is in; the document
        // then goes on in the paragraph that follows the table.
        insertTable(cursor, std::get<TextTable>(b), text);
        cursor = QTextCursor(&doc);
        cursor.movePosition(QTextCursor::End);
        fresh = true;
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
}

RichText richTextOf(const QTextDocument &doc) {
    RichText text;
    const QFont font = doc.defaultFont();
    text.defaultFont = font.family();
    text.defaultPointSize = font.pointSizeF() > 0 ? font.pointSizeF() : 12;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame)) {
                text.blocks.emplace_back(tableOf(*table));
            } else {
                std::vector<Paragraph> paragraphs;
                collectParagraphs(frame->begin(), paragraphs);
                for (Paragraph &p : paragraphs)
                    text.blocks.emplace_back(std::move(p));
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (block.isValid())
            text.blocks.emplace_back(paragraphOf(block));
    }
    // A document cannot begin or end with a table: it keeps an empty
    // paragraph before and after one, which the template does not hold.
    auto isTable = [](const Block &b) { return std::holds_alternative<TextTable>(b); };
    if (text.blocks.size() >= 2 && isBareParagraph(text.blocks.back()) && isTable(text.blocks[text.blocks.size() - 2]))
        text.blocks.pop_back();
    if (text.blocks.size() >= 2 && isBareParagraph(text.blocks.front()) && isTable(text.blocks[1]))
        text.blocks.erase(text.blocks.begin());
    return text;
}

}  // namespace varnel::templates::doc
