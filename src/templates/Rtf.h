#pragma once

#include "templates/RichText.h"

#include <QByteArray>

namespace varnel::templates {

// RTF, the format of decision templates (*.fmz), read and written here.
//
// No packaged C++ RTF library fits: Qt reads and writes HTML and ODF but not
// RTF, and the RTF code of the office suites is not a library one can link.
// The reader and the writer are therefore our own, written from Microsoft's
// published description of the format (RTF 1.9.1) and limited to what
// decision templates use.

// True when the data begins with "{\rtf", the mark of an RTF file. Anything
// else is loaded as plain text (see TemplateFile.h).
bool isRtf(const QByteArray &data);

// Limits of the reader: no input makes it run long or take much memory.
// Input beyond them is dropped and the result is marked `truncated`.
struct RtfReadLimits {
    static constexpr int MaxGroupDepth = 200;      // deeper groups are skipped whole
    static constexpr int MaxParagraphs = 100000;   // paragraphs and table cells together
    static constexpr int MaxRuns = 500000;         // formatted runs together
    static constexpr int MaxFonts = 4096;          // entries of the font table
    static constexpr int MaxColors = 4096;         // entries of the colour table
    static constexpr int MaxColumns = 64;          // cells of a table row; further cells join the last one
    static constexpr int MaxTableCells = 20000;    // cells of one table; further rows become paragraphs
};

struct RtfReadResult {
    RichText text;
    bool truncated = false;  // a limit above was reached and the rest was dropped
};

// Reads an RTF document. It never fails: groups and words it does not use
// are skipped, and damaged input gives whatever text could be recovered.
//
// Understood: groups; \plain and \pard; the font table with \fcharset and
// \cpg; \ansi, \ansicpgN, \mac, \pc, \pca and \'xx escapes in the code page
// of the font in use (a font without a charset, or with the ANSI one, takes
// the document's code page; \ansi without \ansicpg means Windows-1250, the
// code page of the Polish workstations the templates come from); \uN with
// its \ucN fallback; \fs, \f, \b, \i, \ul (and its kinds), \ulnone,
// \strike, \super, \sub, \nosupersub, \up, \dn with their off forms; the colour table
// and \cf; \ql, \qc, \qr, \qj, \li, \ri, \fi, \sb, \sa, \pagebb, \page; \par,
// \line, \tab and the named special characters (\emdash, \endash, \lquote,
// \rquote, \ldblquote, \rdblquote, \bullet, \~, \-, \_ and the spaces);
// table rows \trowd, \cellx, \intbl, \cell, \row with cell borders.
// Skipped: \* destinations, \stylesheet, \info, \pict, \object, headers,
// footers, footnotes, field instructions (their results are kept), list
// tables, \binN data, unknown words. A nested table keeps its text in the
// outer cell, paragraph by paragraph.
RtfReadResult readRtf(const QByteArray &data);

// Writes a document as RTF: \ansi\ansicpg1250, a font table (every font with
// \fcharset238), a colour table, one group per run with its font, size,
// styles and colour, paragraphs with their alignment, indents and spacing,
// tables as \trowd rows. Polish letters (and everything else Windows-1250
// holds) are written as \'xx escapes, anything outside that code page as
// \uN with "?" for readers without Unicode.
QByteArray writeRtf(const RichText &text);

}  // namespace varnel::templates
