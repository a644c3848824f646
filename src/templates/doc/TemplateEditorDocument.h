#pragma once

#include "templates/TemplateEditing.h"

#include <QFont>
#include <QString>
#include <QStringList>

class QTextCursor;
class QTextDocument;

namespace varnel::templates::doc {

// The template editor's work on its QTextDocument, the same document model
// the print window fills and prints (templates/doc/RichTextDocument.h).

// A placeholder as the editor inserts it: "@<" name ">@" in red (the colour
// value 255 of the old rich-text control: pure red), then one space in black.
inline constexpr quint32 PlaceholderRgb = 0xFF0000;
inline constexpr quint32 AfterPlaceholderRgb = 0x000000;

// Replaces the cursor's selection (or inserts at its position) with the
// placeholder of `name` in red, in the character format the cursor has,
// followed by one black space. The cursor ends after the space.
void insertPlaceholder(QTextCursor &cursor, const QString &name);

// The formatting of the selection. Each changes only the selected text:
// with nothing selected the document stays as it is (false).
bool setSelectionFontFamily(QTextCursor &cursor, const QString &family);
bool setSelectionPointSize(QTextCursor &cursor, double points);
// Bold, italic and underline of the selection, all three at once.
bool setSelectionStyles(QTextCursor &cursor, bool bold, bool italic, bool underline);

// The font families of the screen for "Krój pisma": sorted regardless of
// case, each name once, without the foundry that the font system adds where
// two foundries make a family of the same name ("Nimbus Sans [urw]"): a
// template names its fonts as office suites know them.
QStringList screenFontFamilies();

// The caret's line and column, 1-based, as the status bar shows them. Lines
// are the lines the text is laid out in (a paragraph wider than the editor
// makes several), counted from the start of the document, table cells
// included; a paragraph not laid out yet counts as one line. The column is
// the caret's position less that of the start of its line, plus 1.
struct CaretPlace {
    int line = 1;
    int column = 1;
};
CaretPlace caretPlace(const QTextDocument &document, int position);

// The edited template on a QTextDocument: loading and saving through the
// template files (RTF), emptying in the editor's default font, the
// document's own modified flag.
class TemplateEditorDocument : public EditedTemplate {
public:
    explicit TemplateEditorDocument(QTextDocument &document);

    // The font a new, empty document is written in.
    void setDefaultFont(const QFont &font) { m_defaultFont = font; }
    const QFont &defaultFont() const { return m_defaultFont; }

    bool isModified() const override;
    void setModified(bool modified) override;
    void clear() override;
    void loadFile(const QString &path) override;
    void saveFile(const QString &path) override;

private:
    QTextDocument &m_document;
    QFont m_defaultFont;
};

}  // namespace varnel::templates::doc
