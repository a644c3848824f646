#include "print/PainterPageDevice.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QTextDocument>
#include <QtMath>

namespace varnel::print {

PainterPageDevice::PainterPageDevice(QPagedPaintDevice &device) : m_device(device) { setFont(QFont()); }

PainterPageDevice::~PainterPageDevice() {
    if (m_painter.isActive())
        m_painter.end();
}

int PainterPageDevice::pageWidth() const { return m_device.width(); }
int PainterPageDevice::pageHeight() const { return m_device.height(); }

void PainterPageDevice::setFont(const QFont &font) {
    m_font = font;
    m_metrics.emplace(font, &m_device);
    if (m_painter.isActive())
        m_painter.setFont(font);
}

QSize PainterPageDevice::textExtent(const QString &text) const {
    return QSize(qRound(m_metrics->horizontalAdvance(text)), qRound(m_metrics->height()));
}

void PainterPageDevice::drawText(int x, int y, const QString &text) {
    requireJob();
    m_painter.drawText(QPointF(x, y + m_metrics->ascent()), text);
}

void PainterPageDevice::drawLine(int x1, int y1, int x2, int y2) {
    requireJob();
    m_painter.drawLine(x1, y1, x2, y2);
}

QPaintDevice *PainterPageDevice::layoutDevice() { return &m_device; }

void PainterPageDevice::drawDocument(const QTextDocument &document, const QRectF &part, QPoint at) {
    requireJob();
    m_painter.save();
    m_painter.translate(QPointF(at) - part.topLeft());
    m_painter.setClipRect(part);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = part;
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&m_painter, context);
    m_painter.restore();
}

QString PainterPageDevice::deviceName() const { return QStringLiteral("urządzeniu"); }

bool PainterPageDevice::startJob() {
    prepareJob();
    if (!m_painter.begin(&m_device)) {
        setError(QStringLiteral("Nie można rozpocząć wydruku na %1.").arg(deviceName()));
        return false;
    }
    m_painter.setPen(QPen(Qt::black, 1));
    m_painter.setFont(m_font);
    // Metrics taken before the job may differ once the device is set up.
    m_metrics.emplace(m_font, &m_device);
    return true;
}

void PainterPageDevice::startPage() {
    m_device.newPage();
    // A new page of some devices starts with the painter's state reset.
    m_painter.setPen(QPen(Qt::black, 1));
    m_painter.setFont(m_font);
}

bool PainterPageDevice::finishJob() {
    if (!m_painter.end()) {
        setError(QStringLiteral("Nie można dokończyć wydruku na %1.").arg(deviceName()));
        return false;
    }
    return true;
}

}  // namespace varnel::print
