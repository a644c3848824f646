#include "print/RichTextPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>

namespace varnel::print {

RichTextPages::RichTextPages(PageDevice &device, const QTextDocument &document, const QRect &area)
    : m_document(document.clone()), m_area(area) {
    // The paint device must be set before anything is laid out, so that
    // sizes in points become device units of this device.
    m_document->documentLayout()->setPaintDevice(device.layoutDevice());
    m_document->setDocumentMargin(0);
    m_document->setPageSize(QSizeF(area.width(), area.height()));
}

RichTextPages::~RichTextPages() = default;

int RichTextPages::pageCount() const { return m_document->pageCount(); }

void RichTextPages::draw(PageDevice &device, int index) const {
    const QRectF part(0, qreal(index) * m_area.height(), m_area.width(), m_area.height());
    device.drawDocument(*m_document, part, m_area.topLeft());
}

bool printRichText(PageDevice &device, const QTextDocument &document, const QRect &area) {
    const RichTextPages pages(device, document, area);
    if (!device.beginJob())
        return false;
    const int copies = device.copiesToRender();
    for (int copy = 0; copy < copies; ++copy)
        for (int page = 0; page < pages.pageCount(); ++page) {
            if (copy > 0 || page > 0)
                device.newPage();
            pages.draw(device, page);
        }
    return device.endJob();
}

}  // namespace varnel::print
