#pragma once

#include "print/PageDevice.h"

#include <QFontMetricsF>
#include <QPainter>
#include <optional>

class QPagedPaintDevice;

namespace varnel::print {

// A page device that paints with a QPainter on any paged paint device: a
// QPdfWriter for a PDF file, a QPrinter for a printer or the print preview
// (see print/windows/PrinterPageDevice). The paint device is the caller's
// and must outlive this object. Page size and resolution are those of the
// paint device; the job's title and copies are handed to it by
// prepareJob() of a subclass before painting begins.
class PainterPageDevice : public PageDevice {
public:
    explicit PainterPageDevice(QPagedPaintDevice &device);
    ~PainterPageDevice() override;

    int pageWidth() const override;
    int pageHeight() const override;

    void setFont(const QFont &font) override;
    QFont font() const override { return m_font; }
    QSize textExtent(const QString &text) const override;
    void drawText(int x, int y, const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;

    QPaintDevice *layoutDevice() override;
    void drawDocument(const QTextDocument &document, const QRectF &part, QPoint at) override;

protected:
    // Called before painting begins: hand the title and copies to the
    // device (a QPdfWriter has no copies; a QPrinter has both).
    virtual void prepareJob() {}
    // What the device's name is in a message ("pliku x.pdf").
    virtual QString deviceName() const;

    bool startJob() override;
    void startPage() override;
    bool finishJob() override;

    QPagedPaintDevice &device() { return m_device; }

private:
    QPagedPaintDevice &m_device;
    QPainter m_painter;
    QFont m_font;
    std::optional<QFontMetricsF> m_metrics;  // of m_font on the device
};

}  // namespace varnel::print
