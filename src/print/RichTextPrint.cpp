#include "print/RichTextPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace varnel::print {

namespace {

// Lengths in a document (indents, paragraph spacing, table padding and
// borders, fixed widths) are pixels of 1/96 inch, as editors show them and
// templates store them. Laid out on a device they are scaled to its
// resolution, as the fonts given in points are.
constexpr qreal DocumentDpi = 96;

QTextLength scaled(const QTextLength &l, qreal f) {
    return l.type() == QTextLength::FixedLength ? QTextLength(QTextLength::FixedLength, l.rawValue() * f) : l;
}

template <typename Format>
void scaleFrameLengths(Format &ff, qreal f) {
    ff.setBorder(ff.border() * f);
    ff.setPadding(ff.padding() * f);
    ff.setTopMargin(ff.topMargin() * f);
    ff.setBottomMargin(ff.bottomMargin() * f);
    ff.setLeftMargin(ff.leftMargin() * f);
    ff.setRightMargin(ff.rightMargin() * f);
    ff.setWidth(scaled(ff.width(), f));
}

void scaleFrames(QTextFrame *frame, qreal f) {
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            QTextTableFormat tf = table->format();
            scaleFrameLengths(tf, f);
            tf.setCellPadding(tf.cellPadding() * f);
            tf.setCellSpacing(tf.cellSpacing() * f);
            QVector<QTextLength> widths = tf.columnWidthConstraints();
            for (QTextLength &w : widths)
                w = scaled(w, f);
            tf.setColumnWidthConstraints(widths);
            table->setFormat(tf);
        } else {
            QTextFrameFormat ff = child->frameFormat();
            scaleFrameLengths(ff, f);
            child->setFrameFormat(ff);
        }
        scaleFrames(child, f);
    }
}

void scaleLengths(QTextDocument &doc, qreal f) {
    if (qFuzzyCompare(f, qreal(1)))
        return;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        if (bf.leftMargin() == 0 && bf.rightMargin() == 0 && bf.topMargin() == 0 && bf.bottomMargin() == 0 &&
            bf.textIndent() == 0)
            continue;
        bf.setLeftMargin(bf.leftMargin() * f);
        bf.setRightMargin(bf.rightMargin() * f);
        bf.setTopMargin(bf.topMargin() * f);
        bf.setBottomMargin(bf.bottomMargin() * f);
        bf.setTextIndent(bf.textIndent() * f);
        QTextCursor(b).setBlockFormat(bf);
    }
    scaleFrames(doc.rootFrame(), f);
}

}  // namespace

RichTextPages::RichTextPages(PageDevice &device, const QTextDocument &document, const QRect &area)
    : m_document(document.clone()), m_area(area) {
    // The paint device must be set before anything is laid out, so that
    // sizes in points become device units of this device.
    QPaintDevice *layout = device.layoutDevice();
    m_document->documentLayout()->setPaintDevice(layout);
    if (layout)
        scaleLengths(*m_document, layout->logicalDpiY() / DocumentDpi);
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
