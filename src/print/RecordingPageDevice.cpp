#include "print/RecordingPageDevice.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>
#include <memory>
#include <optional>

namespace varnel::print {

RecordingPageDevice::RecordingPageDevice(QSize page, int resolution)
    : m_page(page), m_metrics(&RecordingPageDevice::fixedExtent), m_layoutImage(1, 1, QImage::Format_RGB32) {
    const int dotsPerMeter = qRound(resolution / 0.0254);
    m_layoutImage.setDotsPerMeterX(dotsPerMeter);
    m_layoutImage.setDotsPerMeterY(dotsPerMeter);
}

RecordingPageDevice::RecordingPageDevice(std::unique_ptr<QPaintDevice> metricsDevice)
    : m_page(metricsDevice->width(), metricsDevice->height()), m_metricsDevice(std::move(metricsDevice)) {
    // Metrics are made again only when the font changes: making them is
    // far dearer than measuring a text.
    QPaintDevice *device = m_metricsDevice.get();
    auto cache = std::make_shared<std::pair<QFont, std::optional<QFontMetricsF>>>();
    m_metrics = [device, cache](const QFont &font, const QString &text) {
        if (!cache->second || cache->first != font) {
            cache->first = font;
            cache->second.emplace(font, device);
        }
        return QSize(qRound(cache->second->horizontalAdvance(text)), qRound(cache->second->height()));
    };
}

RecordingPageDevice::~RecordingPageDevice() = default;

QSize RecordingPageDevice::fixedExtent(const QFont &font, const QString &text) {
    const int size = font.pointSize() > 0 ? font.pointSize() : 10;
    return QSize(int(text.size()) * size, 2 * size);
}

void RecordingPageDevice::drawText(int x, int y, const QString &text) {
    requireJob();
    current().texts.append(Text{x, y, text, m_font, textExtent(text).height()});
}

void RecordingPageDevice::drawLine(int x1, int y1, int x2, int y2) {
    requireJob();
    current().lines.append(Line{x1, y1, x2, y2});
}

QPaintDevice *RecordingPageDevice::layoutDevice() {
    return m_metricsDevice ? m_metricsDevice.get() : static_cast<QPaintDevice *>(&m_layoutImage);
}

void RecordingPageDevice::drawDocument(const QTextDocument &document, const QRectF &part, QPoint at) {
    requireJob();
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *lines = block.layout();
        if (!lines)
            continue;
        const QPointF origin = layout->blockBoundingRect(block).topLeft();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const QRectF r = line.rect().translated(origin);
            if (r.top() < part.top() - 0.5 || r.bottom() > part.bottom() + 0.5)
                continue;
            QString text = block.text().mid(line.textStart(), line.textLength());
            text.replace(QChar::LineSeparator, QLatin1Char(' '));
            while (!text.isEmpty() && text.back().isSpace())
                text.chop(1);
            if (text.isEmpty())
                continue;
            QFont font = document.defaultFont();
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.position() + f.length() > block.position() + line.textStart()) {
                    font = f.charFormat().font();
                    break;
                }
            }
            current().texts.append(Text{at.x() + qRound(r.left() - part.left()), at.y() + qRound(r.top() - part.top()),
                                        text, font, qRound(r.height())});
        }
    }
}

bool RecordingPageDevice::startJob() {
    m_jobs.append(Job{jobTitle(), copies(), {Page()}});
    return true;
}

void RecordingPageDevice::startPage() { m_jobs.last().pages.append(Page()); }

}  // namespace varnel::print
