#pragma once

#include <QString>

namespace varnel::core {

// The printer set-up of the run ("Ustawienia drukarki"): chosen once in the
// printer set-up dialog and taken by every print after it. Plain values, so
// that the core and the documents tier can hold them; the windows tier turns
// them into a printer and back (ui/PrinterSetup.h). Kept for the run only,
// as the printer set-up always was.
struct PrinterSettings {
    bool chosen = false;   // false: nothing chosen yet, the system's defaults apply
    QString printerName;   // empty: the system's default printer
    int pageSizeId = -1;   // a QPageSize::PageSizeId; -1: the printer's default
    bool landscape = false;
    int copies = 1;
    bool collate = false;
    bool color = true;
    int duplex = 0;        // a QPrinter::DuplexMode
    int paperSource = -1;  // a QPrinter::PaperSource; -1: the printer's default
};

}  // namespace varnel::core
