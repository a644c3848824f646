#pragma once

#include "print/PageDevice.h"

#include <QRect>
#include <memory>

class QTextDocument;

namespace varnel::print {

// A rich-text document laid out page by page inside a rectangle of a page
// device. The document is copied, so the caller's document (an editor's)
// keeps its own layout. The copy is laid out with the device's fonts, no
// document margin, and pages as high as the rectangle: a line never
// straddles two pages, and a paragraph asking for a page break gets one.
// Its lengths in pixels of 1/96 inch (indents, spacing, table padding,
// borders, fixed widths) are scaled to the device, as its fonts are.
//
// Written here rather than using QTextDocument::print, which adds page
// numbers and margins of its own.
class RichTextPages {
public:
    RichTextPages(PageDevice &device, const QTextDocument &document, const QRect &area);
    ~RichTextPages();
    RichTextPages(const RichTextPages &) = delete;
    RichTextPages &operator=(const RichTextPages &) = delete;

    int pageCount() const;
    QRect area() const { return m_area; }
    // Draws page `index` (from 0) on the device's current page.
    void draw(PageDevice &device, int index) const;

private:
    std::unique_ptr<QTextDocument> m_document;
    QRect m_area;
};

// Prints a document as one job: every page of it inside `area`, the whole
// document once for each copy the device does not make itself, each page
// after the first on a new page. The job takes the title and copies set on
// the device. False when the job could not be begun or finished (the
// device's errorString() says why).
bool printRichText(PageDevice &device, const QTextDocument &document, const QRect &area);

// The printed rectangle of a decision: 200 units from the left and right
// edges, 50 from the top and bottom.
constexpr PageMargins DecisionMargins{200, 50, 200, 50};

}  // namespace varnel::print
