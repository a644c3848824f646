#pragma once

#include "print/PageDevice.h"
#include "print/RecordingPageDevice.h"

#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

class QPdfWriter;

namespace varnel::print {

// What draws a print into a page device: it sets the job's title and
// copies, begins the job (or, having nothing to print, does not), draws and
// ends it. Every printing window and command has one; the printer, the
// preview, a PDF file and a recording all take the same function.
using RenderFunction = std::function<void(PageDevice &device)>;

// The page of the PDF files: A4 upright with margins of 5 mm, like the
// printable area of a printer, at PageResolution.
QPageLayout pdfPageLayout();

// A page device with the metrics, page size and resolution of a PDF page,
// which records instead of writing (for a text dump that matches the PDF).
std::unique_ptr<RecordingPageDevice> pdfLikeRecordingDevice();

struct PdfOutcome {
    enum Kind { Written, NothingPrinted, Failed };
    Kind kind = Failed;
    QString error;  // for Failed
    int pages = 0;  // for Written
};

// Writes what `render` prints into the PDF file `path`. The file is written
// aside and put in place only when the render function printed a job that
// ended well; it is readable and writable by its owner only, since a print
// holds personal data. A render function that began no job leaves no file
// (NothingPrinted); a failure leaves the old file, if any, as it was. An
// exception of the render function leaves no file and goes on to the caller.
PdfOutcome writePdfFile(const QString &path, const RenderFunction &render);

}  // namespace varnel::print
