#include "print/windows/PrinterPageDevice.h"

#include <QPrinter>

namespace varnel::print {

PrinterPageDevice::PrinterPageDevice(QPrinter &printer) : PainterPageDevice(printer), m_printer(printer) {
    // Before anything is measured or laid out on it.
    m_printer.setResolution(PageResolution);
    setFont(font());
}

bool PrinterPageDevice::printerMakesCopies() const {
    return m_printer.outputFormat() == QPrinter::NativeFormat && m_printer.supportsMultipleCopies();
}

int PrinterPageDevice::copiesToRender() const { return printerMakesCopies() ? 1 : copies(); }

void PrinterPageDevice::prepareJob() {
    m_printer.setDocName(jobTitle());
    m_printer.setCopyCount(printerMakesCopies() ? copies() : 1);
}

QString PrinterPageDevice::deviceName() const {
    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("pliku %1").arg(m_printer.outputFileName());
    return m_printer.printerName().isEmpty() ? QStringLiteral("drukarce")
                                             : QStringLiteral("drukarce %1").arg(m_printer.printerName());
}

}  // namespace varnel::print
