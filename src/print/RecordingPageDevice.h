#pragma once

#include "print/PageDevice.h"

#include <QImage>
#include <QVector>
#include <functional>
#include <memory>

namespace varnel::print {

// A page device that draws nothing and records what is drawn: every text
// with its position and font, every line, every page break, and the title
// and copies of every job. Tests lay documents out on it; `varnel-admin`
// writes a print as text from it.
//
// Text extents come from a metrics function: fixed metrics for tests (every
// character as wide as the font's point size, a line twice as high), or the
// font metrics of a real paint device, so that a recording has the
// positions that device would give. Rich text is laid out with the real
// fonts of a paint device either way, and recorded line by line.
class RecordingPageDevice : public PageDevice {
public:
    using Metrics = std::function<QSize(const QFont &font, const QString &text)>;

    struct Text {
        int x = 0;
        int y = 0;
        QString text;
        QFont font;
        int height = 0;  // of its line
    };
    struct Line {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };
    struct Page {
        QVector<Text> texts;
        QVector<Line> lines;
    };
    struct Job {
        QString title;
        int copies = 1;
        QVector<Page> pages;
    };

    // Fixed metrics, a page of the given size; rich text laid out at
    // `resolution` dots per inch.
    explicit RecordingPageDevice(QSize page, int resolution = PageResolution);
    // Metrics, page size and resolution of a real paint device, which this
    // object keeps.
    explicit RecordingPageDevice(std::unique_ptr<QPaintDevice> metricsDevice);
    ~RecordingPageDevice() override;

    // Every character `pointSize` units wide, the line 2 × `pointSize` high.
    static QSize fixedExtent(const QFont &font, const QString &text);

    // Whether the device makes the copies itself (as a printer does), so
    // that a document is drawn into the job once; off by default.
    void setMakesCopies(bool on) { m_makesCopies = on; }
    int copiesToRender() const override { return m_makesCopies ? 1 : copies(); }

    const QVector<Job> &jobs() const { return m_jobs; }
    // The pages of the last job (none before the first).
    QVector<Page> pages() const { return m_jobs.isEmpty() ? QVector<Page>() : m_jobs.last().pages; }

    int pageWidth() const override { return m_page.width(); }
    int pageHeight() const override { return m_page.height(); }

    void setFont(const QFont &font) override { m_font = font; }
    QFont font() const override { return m_font; }
    QSize textExtent(const QString &text) const override { return m_metrics(m_font, text); }
    void drawText(int x, int y, const QString &text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;

    QPaintDevice *layoutDevice() override;
    // Records each laid-out line of text inside `part`: its text (without
    // trailing blanks), the position of its line and the font it starts in.
    void drawDocument(const QTextDocument &document, const QRectF &part, QPoint at) override;

protected:
    bool startJob() override;
    void startPage() override;
    bool finishJob() override { return true; }

private:
    Page &current() { return m_jobs.last().pages.last(); }

    QSize m_page;
    Metrics m_metrics;
    std::unique_ptr<QPaintDevice> m_metricsDevice;
    QImage m_layoutImage;  // the layout device when there is no real one
    QFont m_font;
    bool m_makesCopies = false;
    QVector<Job> m_jobs;
};

}  // namespace varnel::print
