#include "print/PdfFile.h"

#include "core/PrivateFile.h"
#include "print/PainterPageDevice.h"
#include "print/RecordingPageDevice.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfWriter>

namespace varnel::print {

namespace {

void setUp(QPdfWriter &writer) {
    writer.setResolution(PageResolution);
    writer.setPageLayout(pdfPageLayout());
    writer.setCreator(QStringLiteral("Varnel"));
}

// A PDF writer keeps the job's title as the document's title.
class PdfPageDevice : public PainterPageDevice {
public:
    PdfPageDevice(QPdfWriter &writer, QString path) : PainterPageDevice(writer), m_writer(writer), m_path(std::move(path)) {}

protected:
    void prepareJob() override { m_writer.setTitle(jobTitle()); }
    QString deviceName() const override { return QStringLiteral("pliku %1").arg(m_path); }

private:
    QPdfWriter &m_writer;
    QString m_path;
};

// A PDF writer over a buffer that is never written: it only lends its page
// and metrics.
struct UnusedBuffer {
    QBuffer buffer;
};
class MetricsPdf : private UnusedBuffer, public QPdfWriter {
public:
    MetricsPdf() : QPdfWriter(&buffer) { setUp(*this); }
};

}  // namespace

QPageLayout pdfPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

std::unique_ptr<RecordingPageDevice> pdfLikeRecordingDevice() {
    return std::make_unique<RecordingPageDevice>(std::make_unique<MetricsPdf>());
}

PdfOutcome writePdfFile(const QString &path, const RenderFunction &render) {
    PdfOutcome outcome;
    // Owner-only from the moment it exists, written aside, never onto a
    // device or a pipe; a file not committed is removed again.
    core::PrivateFile file(path);
    if (!file.open()) {
        outcome.error = file.errorString();
        return outcome;
    }
    int pages = 0;
    bool printed = false;
    {
        QPdfWriter writer(file.device());
        setUp(writer);
        PdfPageDevice device(writer, path);
        render(device);
        if (device.isJobOpen()) {
            outcome.error = QStringLiteral("Wydruk do pliku %1 nie został dokończony.").arg(path);
            return outcome;
        }
        if (!device.errorString().isEmpty()) {
            outcome.error = device.errorString();
            return outcome;
        }
        pages = device.pageNumber();
        printed = pages > 0;
    }
    if (!printed) {
        outcome.kind = PdfOutcome::NothingPrinted;
        return outcome;
    }
    if (!file.commit()) {
        outcome.error = file.errorString();
        return outcome;
    }
    outcome.kind = PdfOutcome::Written;
    outcome.pages = pages;
    return outcome;
}

}  // namespace varnel::print
