#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPaintDevice;
class QTextDocument;

namespace varnel::print {

// Device units per inch of the pages the program prints. The documents place
// their text at fixed distances in device units (a decision is printed 200
// units from the left and right edges, a list column is 9 units per
// character); those distances were made for a page of about this
// resolution. The PDF files, the preview and the printer are all set to it,
// so that the three give the same page. Fonts are given in points and scale
// with the resolution by themselves.
constexpr int PageResolution = 150;

// Distances from the edges of the page, in device units.
struct PageMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A page device: where every print of the program goes. Everything is in
// device units, the units in which the device reports its page size and the
// extents of text, so a layout scales with the device's resolution.
//
// One print is one job: the title and the number of copies are set first,
// beginJob() opens the first page, newPage() ends the current page and opens
// the next, endJob() ends the last page and sends the job. Drawing is only
// allowed while a job is open.
//
// Implementations: PainterPageDevice (a QPainter over a PDF file or a
// printer) and RecordingPageDevice (records what is drawn, for tests and for
// a text dump of a print).
class PageDevice {
public:
    virtual ~PageDevice() = default;

    // The job.
    void setJobTitle(const QString &title) { m_title = title; }
    QString jobTitle() const { return m_title; }
    // Copies of the whole job (at least 1), collated.
    void setCopies(int copies) { m_copies = copies < 1 ? 1 : copies; }
    int copies() const { return m_copies; }
    // How many times a document must be drawn into the job to give the
    // copies: once when the device makes the copies itself (a printer),
    // otherwise once for each copy (a PDF file).
    virtual int copiesToRender() const { return m_copies; }

    // False when the device cannot start a job; errorString() says why.
    bool beginJob();
    void newPage();
    // False when the job could not be finished (a file that could not be
    // written); errorString() says why.
    bool endJob();
    bool isJobOpen() const { return m_open; }
    // Pages of the job begun so far (also after it ended).
    int pageNumber() const { return m_page; }
    QString errorString() const { return m_error; }

    // The page.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    // The part of the page inside the margins.
    QRect area(const PageMargins &m) const {
        return QRect(QPoint(m.left, m.top), QPoint(pageWidth() - m.right - 1, pageHeight() - m.bottom - 1));
    }

    // Text, in the current font (given in points).
    virtual void setFont(const QFont &font) = 0;
    virtual QFont font() const = 0;
    // Width and height of a text in the current font: the width it advances,
    // the height of the font's line (ascent and descent).
    virtual QSize textExtent(const QString &text) const = 0;
    // The text with the top left corner of its line at (x, y).
    virtual void drawText(int x, int y, const QString &text) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;

    // Rich text. A document to be drawn here is laid out with the font
    // metrics of layoutDevice() (see RichTextPages); drawDocument draws the
    // part `part` of it (in the document's coordinates) with its top left
    // corner at `at`.
    virtual QPaintDevice *layoutDevice() = 0;
    virtual void drawDocument(const QTextDocument &document, const QRectF &part, QPoint at) = 0;

protected:
    // The device's side of the job; false with setError() on a failure.
    virtual bool startJob() = 0;
    virtual void startPage() = 0;
    virtual bool finishJob() = 0;
    void setError(const QString &text) { m_error = text; }
    // Drawing outside a job is a fault of the caller.
    void requireJob() const;

private:
    QString m_title;
    int m_copies = 1;
    bool m_open = false;
    int m_page = 0;
    QString m_error;
};

}  // namespace varnel::print
