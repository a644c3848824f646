#include "templates/doc/TemplateEditorDocument.h"

#include "templates/FieldCatalogue.h"
#include "templates/doc/DecisionDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace varnel::templates::doc {

namespace {

QColor colorOf(quint32 rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u)); }

bool mergeIntoSelection(QTextCursor &cursor, const QTextCharFormat &format) {
    if (!cursor.hasSelection())
        return false;
    cursor.mergeCharFormat(format);
    return true;
}

}  // namespace

void insertPlaceholder(QTextCursor &cursor, const QString &name) {
    // The look of the text replaced (its first character), or of the text
    // before the caret.
    QTextCharFormat format = cursor.charFormat();
    if (cursor.hasSelection()) {
        QTextCursor first(cursor.document());
        first.setPosition(cursor.selectionStart() + 1);
        format = first.charFormat();
    }
    cursor.beginEditBlock();
    format.setForeground(colorOf(PlaceholderRgb));
    cursor.insertText(placeholder(name), format);
    format.setForeground(colorOf(AfterPlaceholderRgb));
    cursor.insertText(QStringLiteral(" "), format);
    cursor.endEditBlock();
}

bool setSelectionFontFamily(QTextCursor &cursor, const QString &family) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    return mergeIntoSelection(cursor, f);
}

bool setSelectionPointSize(QTextCursor &cursor, double points) {
    if (points <= 0)
        return false;
    QTextCharFormat f;
    f.setFontPointSize(points);
    return mergeIntoSelection(cursor, f);
}

bool setSelectionStyles(QTextCursor &cursor, bool bold, bool italic, bool underline) {
    QTextCharFormat f;
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    return mergeIntoSelection(cursor, f);
}

QStringList screenFontFamilies() {
    QStringList families;
    for (QString family : QFontDatabase::families()) {
        const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
        if (foundry > 0 && family.endsWith(QLatin1Char(']')))
            family.truncate(foundry);
        families << family;
    }
    families.removeDuplicates();
    std::sort(families.begin(), families.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return families;
}

CaretPlace caretPlace(const QTextDocument &document, int position) {
    auto linesOf = [](const QTextBlock &b) {
        const QTextLayout *layout = b.layout();
        const int n = layout ? layout->lineCount() : 0;
        return n > 0 ? n : 1;
    };
    const QTextBlock target = document.findBlock(position);
    CaretPlace place;
    if (!target.isValid())
        return place;
    // Lays the document out as far as the caret's paragraph, where that
    // is not done yet (a document outside an editor, or a long one that
    // the editor is still laying out).
    if (QAbstractTextDocumentLayout *layout = document.documentLayout())
        layout->blockBoundingRect(target);
    int line = 0;
    for (QTextBlock b = document.begin(); b.isValid() && b != target; b = b.next())
        line += linesOf(b);

    const int inBlock = position - target.position();
    const QTextLayout *layout = target.layout();
    QTextLine textLine;
    if (layout && layout->lineCount() > 0)
        textLine = layout->lineForTextPosition(inBlock);
    if (textLine.isValid()) {
        place.line = line + textLine.lineNumber() + 1;
        place.column = inBlock - textLine.textStart() + 1;
    } else {
        place.line = line + 1;
        place.column = inBlock + 1;
    }
    return place;
}

TemplateEditorDocument::TemplateEditorDocument(QTextDocument &document)
    : m_document(document), m_defaultFont(document.defaultFont()) {}

bool TemplateEditorDocument::isModified() const { return m_document.isModified(); }

void TemplateEditorDocument::setModified(bool modified) { m_document.setModified(modified); }

void TemplateEditorDocument::clear() {
    m_document.clear();
    m_document.setDefaultFont(m_defaultFont);
    m_document.setModified(false);
}

void TemplateEditorDocument::loadFile(const QString &path) { loadTemplate(m_document, path); }

void TemplateEditorDocument::saveFile(const QString &path) { saveTemplate(m_document, path); }

}  // namespace varnel::templates::doc
