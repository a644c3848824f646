#pragma once

#include "templates/RichText.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>

class QTextDocument;

namespace varnel::templates::doc {

// A template document (templates/RichText.h) in a QTextDocument and back,
// what the print window, the template editor and the headless printing
// show, edit and lay out.
//
// Lengths are twips in the template and pixels of 1/96 inch in the document
// (one pixel is 15 twips); table columns become shares of the table's width.
// Every run gets its font family and size set, so the document does not
// depend on the application's font; the template's default font becomes the
// document's default font.

// Replaces the content of `doc` with `text`; the document is then
// unmodified, with nothing to undo.
void setRichText(QTextDocument &doc, const RichText &text);

// The content of `doc` as a template document. Tables inside table cells
// keep their text, cell by cell, as paragraphs of the outer cell; images are
// dropped.
RichText richTextOf(const QTextDocument &doc);

// Character and paragraph formats of the template styles, and back.
QTextCharFormat charFormatOf(const CharStyle &style, const RichText &defaults);
CharStyle charStyleOf(const QTextCharFormat &format);
QTextBlockFormat blockFormatOf(const Paragraph &paragraph);

}  // namespace varnel::templates::doc
