#include "ui/PrinterSetup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace varnel::ui {

void applyPrinterSettings(const core::PrinterSettings &s, QPrinter &printer) {
    if (!s.chosen)
        return;
    // An empty name would turn the printer into a PDF writer: the default
    // printer is kept instead.
    if (!s.printerName.isEmpty())
        printer.setPrinterName(s.printerName);
    if (s.pageSizeId >= 0 && s.pageSizeId != QPageSize::Custom)
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(s.pageSizeId)));
    printer.setPageOrientation(s.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(std::max(1, s.copies));
    printer.setCollateCopies(s.collate);
    printer.setColorMode(s.color ? QPrinter::Color : QPrinter::GrayScale);
    printer.setDuplex(QPrinter::DuplexMode(s.duplex));
    if (s.paperSource >= 0)
        printer.setPaperSource(QPrinter::PaperSource(s.paperSource));
}

core::PrinterSettings printerSettingsOf(const QPrinter &printer) {
    core::PrinterSettings s;
    s.chosen = true;
    s.printerName = printer.printerName();
    s.pageSizeId = int(printer.pageLayout().pageSize().id());
    s.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    s.copies = printer.copyCount();
    s.collate = printer.collateCopies();
    s.color = printer.colorMode() == QPrinter::Color;
    s.duplex = int(printer.duplex());
    s.paperSource = int(printer.paperSource());
    return s;
}

bool showPrinterSetup(core::PrinterSettings &settings, QWidget *parent) {
    QPrinter printer(QPrinter::HighResolution);
    applyPrinterSettings(settings, printer);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = printerSettingsOf(printer);
    return true;
}

}  // namespace varnel::ui
