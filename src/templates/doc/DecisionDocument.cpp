#include "templates/doc/DecisionDocument.h"

#include "data/Table.h"
#include "templates/FieldCatalogue.h"
#include "templates/TemplateFile.h"
#include "templates/doc/RichTextDocument.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace varnel::templates::doc {

namespace {

QTextCharFormat metricFormat() {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{MetricFontFamily});
    f.setFontPointSize(MetricPointSize);
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    f.setFontUnderline(false);
    f.setFontStrikeOut(false);
    f.setForeground(QColor(Qt::black));
    return f;
}

void appendLine(QTextCursor &end, const QString &text, const QTextCharFormat &format) {
    end.insertBlock(QTextBlockFormat(), format);
    if (!text.isEmpty())
        end.insertText(text, format);
}

QTextCursor endOf(QTextDocument &doc) {
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    return c;
}

// The table cell a position stands in, or none outside tables.
std::pair<QTextTable *, int> cellAt(QTextDocument &doc, int position) {
    QTextCursor c(&doc);
    c.setPosition(position);
    QTextTable *table = c.currentTable();
    if (!table)
        return {nullptr, -1};
    const QTextTableCell cell = table->cellAt(c);
    return {table, cell.row() * table->columns() + cell.column()};
}

}  // namespace

void loadTemplate(QTextDocument &doc, const QString &path) { setRichText(doc, readTemplateFile(path)); }

void saveTemplate(const QTextDocument &doc, const QString &path) { writeTemplateFile(path, richTextOf(doc)); }

int DocumentPlaceholderText::indexOf(const QString &what, int from) const {
    const QTextCursor found = m_doc.find(what, from, QTextDocument::FindCaseSensitively);
    return found.isNull() ? -1 : found.selectionStart();
}

QString DocumentPlaceholderText::text(int from, int to) const {
    QTextCursor c(&m_doc);
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    return c.selectedText();
}

bool DocumentPlaceholderText::replace(int from, int to, const QString &value) {
    if (cellAt(m_doc, from) != cellAt(m_doc, to))
        return false;
    QTextCursor c(&m_doc);
    c.setPosition(from + 1);
    QTextCharFormat format = c.charFormat();  // of the character before the cursor: the "@"
    format.setForeground(QColor(Qt::black));
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    c.insertText(value, format);
    return true;
}

int fillPlaceholders(QTextDocument &doc, const FieldCatalogue &catalogue) {
    DocumentPlaceholderText text(doc);
    Substitution s(text, [&catalogue](const QString &name) { return catalogue.ObsluzBaze(name).text; });
    return s.fillAll();
}

void appendMetricLine(QTextDocument &doc, const QString &line) {
    QTextCursor end = endOf(doc);
    end.beginEditBlock();
    const QTextCharFormat f = metricFormat();
    appendLine(end, line, f);
    for (int i = 0; i < EmptyLinesAfterMetric; ++i)
        appendLine(end, QString(), f);
    end.endEditBlock();
}

void appendFooter(QTextDocument &doc, const QStringList &lines) {
    QTextCursor end = endOf(doc);
    end.beginEditBlock();
    const QTextCharFormat f = metricFormat();
    for (int i = 0; i < EmptyLinesBeforeFooter; ++i)
        appendLine(end, QString(), f);
    for (const QString &line : lines)
        appendLine(end, line, f);
    end.endEditBlock();
}

void assembleDecision(QTextDocument &doc, const RichText &templateText, data::Table &applications,
                      const DecisionOptions &options) {
    setRichText(doc, templateText);
    if (options.switches.drukujMetryczke)
        appendMetricLine(doc, metricLine(applications, options.userName, options.today));
    if (options.switches.drukujStopke)
        appendFooter(doc, footerLines(options.switches.stopka));
    fillPlaceholders(doc, FieldCatalogue(applications, options.today));
    doc.clearUndoRedoStacks();  // the clerk's corrections start from the filled decision
    doc.setModified(false);
}

void assembleDecision(QTextDocument &doc, const QString &templatePath, data::Table &applications,
                      const QString &userName) {
    const RichText templateText = readTemplateFile(templatePath);
    DecisionOptions options;
    options.switches = readDecisionPrintSwitches(applications.database());
    options.userName = userName;
    assembleDecision(doc, templateText, applications, options);
}

}  // namespace varnel::templates::doc
