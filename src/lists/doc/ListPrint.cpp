#include "lists/doc/ListPrint.h"

#include "calc/Money.h"
#include "core/Progress.h"
#include "data/Database.h"
#include "data/Table.h"
#include "print/PageDevice.h"

#include <QtMath>

namespace varnel::lists {

namespace {

constexpr int UnitsPerCharacter = 9;
constexpr int TextLeft = 100;   // x of the header lines and the first column's text
constexpr int FrameLeft = 73;   // x of the frame's first vertical line
constexpr int FrameGap = 27;    // from a column's frame line to its text
constexpr int PageTop = 50;
constexpr int UnderlineGap = 5;
constexpr int TotalsGap = 4;
constexpr int FooterLineGap = 7;

// Round halves to even.
int roundEven(double v) { return int(std::nearbyint(v)); }

// Keeps the table quiet and its row where it was, whatever happens.
class TableGuard {
public:
    explicit TableGuard(data::Table &t) : m_t(t), m_row(t.rowId()) { m_t.disableControls(); }
    ~TableGuard() {
        try {
            if (m_row != 0)
                m_t.gotoRowId(m_row);
        } catch (...) {
        }
        m_t.enableControls();
    }

private:
    data::Table &m_t;
    qint64 m_row;
};

class ProgressGuard {
public:
    ProgressGuard(core::Progress &p, int max) : m_p(p) { m_p.start(max); }
    ~ProgressGuard() { m_p.finish(); }

private:
    core::Progress &m_p;
};

bool anySelected(data::Table &applications, const ListSettings &settings) {
    for (applications.first(); !applications.eof(); applications.next())
        if (isSelected(settings, applications))
            return true;
    return false;
}

// The device could not begin the job.
struct DeviceFailure {};

// One list being laid out: the state of the algorithm.
class ListLayout {
public:
    ListLayout(data::Table &apps, const ListPrintJob &job, print::PageDevice &dev, core::Progress &progress)
        : m_apps(apps), m_job(job), m_s(job.settings), m_dev(dev), m_progress(progress),
          m_fh(spacingFactor(job.tmpl.headerSpacing)), m_fr(spacingFactor(job.tmpl.rowSpacing)),
          m_headerFont(listFont(job.tmpl.headerFont)), m_rowFont(listFont(job.tmpl.rowFont)) {
        m_result.sums.fill(0.0, job.tmpl.columns.size());
    }

    ListPrintResult run();

private:
    int textHeight() const { return m_dev.textExtent(QStringLiteral("Śy")).height(); }
    int widthOf(const ListColumn &c) const { return c.width * UnitsPerCharacter; }
    void print(int x, int y, const QString &text) {
        if (m_on)
            m_dev.drawText(x, y, text);
    }
    QString cut(QString text, int width) const;
    void header();
    void titles();
    void row();
    void frame();
    void pageNumber();
    void footer();
    // The page P has ended; the next begins (in the one job once it prints).
    void nextPage();
    void startPrintingIfDue();

    data::Table &m_apps;
    const ListPrintJob &m_job;
    const ListSettings &m_s;
    print::PageDevice &m_dev;
    core::Progress &m_progress;
    const double m_fh, m_fr;
    const QFont m_headerFont, m_rowFont;

    int m_page = 1;  // P
    bool m_on = false;
    int m_y = 0;
    int m_lp = 1;
    bool m_sumsOn = false;
    int m_h = 0;
    QVector<int> m_bounds;  // the column boundary list of the page
    int m_frameTop = 0, m_frameBottom = 0, m_titleLine = 0;
    ListPrintResult m_result;
};

QString ListLayout::cut(QString text, int width) const {
    while (text.size() > 1 && m_dev.textExtent(text).width() > width - FrameGap) {
        text.chop(text.size() > 2 && text.back().isLowSurrogate() ? 2 : 1);
    }
    return text;
}

void ListLayout::startPrintingIfDue() {
    if (m_page < m_job.fromPage) {
        m_on = false;
        return;
    }
    if (m_dev.isJobOpen()) {
        m_dev.newPage();
    } else {
        if (!m_dev.beginJob())
            throw DeviceFailure();
        m_result.firstPrintedPage = m_page;
    }
    m_on = true;
}

void ListLayout::nextPage() {
    ++m_page;
    startPrintingIfDue();
}

void ListLayout::header() {
    m_dev.setFont(m_headerFont);
    m_h = textHeight();
    m_y = PageTop;
    const int step = roundEven((m_fh + 1) * m_h);
    for (const QString &line : m_job.tmpl.headerLines) {
        print(TextLeft, m_y, line);
        m_y += step;
    }
    m_y += step;
}

void ListLayout::titles() {
    m_dev.setFont(m_rowFont);
    m_h = textHeight();
    m_bounds = {FrameLeft};
    m_frameTop = m_y - FrameGap;
    int x = TextLeft;
    for (const ListColumn &c : m_job.tmpl.columns) {
        if (c.sum == QLatin1String("+"))
            m_sumsOn = true;
        const int w = widthOf(c);
        print(x, m_y, cut(c.name, w));
        x += w;
        m_bounds << x - FrameGap;
    }
    m_y += roundEven((m_fr / 2 + 1) * m_h);
    m_titleLine = m_y;
    m_y += roundEven(m_h * m_fr / 2);
}

void ListLayout::row() {
    int x = TextLeft;
    for (qsizetype i = 0; i < m_job.tmpl.columns.size(); ++i) {
        const ListColumn &c = m_job.tmpl.columns[i];
        CellValue v;
        if (c.name == RunningNumberItem)
            v.text = QString::number(m_lp);
        else
            v = m_job.cellValue(m_apps, c.name);
        if (m_sumsOn && c.sum == QLatin1String("+"))
            m_result.sums[i] += v.number;
        const int w = widthOf(c);
        print(x, m_y, cut(v.text, w));
        x += w;
    }
    m_y += roundEven((m_fr + 1) * m_h);
    if (m_s.podkrWiersz) {
        if (m_on)
            m_dev.drawLine(m_bounds.first(), m_y, m_bounds.last(), m_y);
        m_y += UnderlineGap;
    }
    ++m_lp;
    ++m_result.rows;
}

// KreslRamke.
void ListLayout::frame() {
    const int first = m_bounds.first(), last = m_bounds.last();
    for (int b : m_bounds)
        m_dev.drawLine(b, m_frameTop, b, m_frameBottom);
    m_dev.drawLine(first, m_frameTop, last, m_frameTop);
    m_dev.drawLine(first, m_frameTop, first, m_frameBottom);
    if (!m_s.podkrWiersz)
        m_dev.drawLine(first, m_frameBottom, last, m_frameBottom);
    m_dev.drawLine(first, m_titleLine, last, m_titleLine);
}

void ListLayout::pageNumber() {
    if (m_s.nrStrony && m_on)
        m_dev.drawText(m_dev.pageWidth() / 2, m_dev.pageHeight() - m_h, QString::number(m_page));
}

void ListLayout::footer() {
    if (!m_on || !m_job.footer.print)
        return;
    m_y += 2 * m_h;
    m_dev.setFont(footerFont(m_job.footer));
    const int step = m_dev.textExtent(QStringLiteral("TŚyj")).height() + FooterLineGap;
    const QStringList lines = m_job.footer.lines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // A page is broken only before a line that follows, so that the
        // footer's last line never leaves an empty page after it.
        if (i > 0 && m_dev.pageHeight() < m_y + 3 * m_h) {
            m_dev.newPage();
            ++m_page;
            m_y = PageTop;
        }
        m_dev.drawText(TextLeft, m_y, lines[i]);
        m_y += step;
    }
    m_dev.setFont(m_rowFont);
}

ListPrintResult ListLayout::run() {
    m_dev.setCopies(1);
    m_dev.setJobTitle(QStringLiteral("Lista"));
    startPrintingIfDue();

    const QString index = orderIndex(m_s);
    if (!index.isEmpty())
        m_apps.setIndexName(index);
    m_apps.first();
    bool more = !m_apps.eof();
    while (more) {
        header();
        titles();
        for (;;) {
            if (isSelected(m_s, m_apps))
                row();
            m_progress.step();
            m_apps.next();
            if (m_apps.eof()) {
                more = false;
                break;
            }
            if (m_dev.pageHeight() < m_y + 3 * m_h) {
                m_frameBottom = m_y;
                if (m_on && m_s.ramki)
                    frame();
                pageNumber();
                nextPage();
                break;
            }
        }
    }
    m_frameBottom = m_y;
    if (m_on && m_s.ramki)
        frame();
    if (m_sumsOn) {
        int x = FrameLeft;
        m_y += TotalsGap;
        for (qsizetype i = 0; i < m_job.tmpl.columns.size(); ++i) {
            const ListColumn &c = m_job.tmpl.columns[i];
            if (c.sum == QLatin1String("+"))
                print(x, m_y, calc::formatN(m_result.sums[i], 10, 2));
            x += widthOf(c);
        }
    }
    footer();
    pageNumber();
    m_result.pages = m_page;
    m_result.outcome = m_result.firstPrintedPage > 0 ? ListPrintResult::Printed : ListPrintResult::BeyondLastPage;
    return m_result;
}

}  // namespace

QString ListPrintResult::message() const {
    switch (outcome) {
    case Printed:
        return QString();
    case NoApplications:
        return QStringLiteral("Brak wniosków spełniających warunki listy.");
    case BeyondLastPage:
        return QStringLiteral("Lista kończy się na stronie %1: od strony %2 nie ma czego drukować.")
            .arg(pages)
            .arg(fromPage);
    case DeviceFailed:
        return error;
    }
    return QString();
}

QFont listFont(const ListFont &f) {
    QFont font(f.name);
    font.setPointSize(f.size > 0 ? f.size : 10);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    return font;
}

QFont footerFont(const ListFooter &f) {
    QFont font(f.fontName);
    font.setPointSize(f.fontSize > 0 ? f.fontSize : 10);
    return font;
}

bool hasListedApplications(data::Table &applications, const ListSettings &settings) {
    TableGuard guard(applications);
    data::Transaction tx(applications.database());
    const bool any = anySelected(applications, settings);
    tx.commit();
    return any;
}

ListPrintResult printList(data::Table &applications, const ListPrintJob &job, print::PageDevice &device,
                          core::Progress &progress) {
    TableGuard guard(applications);
    data::Transaction tx(applications.database());
    ListPrintResult result;
    if (!anySelected(applications, job.settings))
        return result;

    ProgressGuard steps(progress, applications.recordCount());
    ListLayout layout(applications, job, device, progress);
    try {
        result = layout.run();
        if (device.isJobOpen() && !device.endJob())
            throw DeviceFailure();
    } catch (const DeviceFailure &) {
        result.outcome = ListPrintResult::DeviceFailed;
        result.error = device.errorString();
    }
    result.fromPage = job.fromPage;
    tx.commit();
    return result;
}

}  // namespace varnel::lists
