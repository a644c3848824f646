#pragma once

#include "print/PainterPageDevice.h"

class QPrinter;

namespace varnel::print {

// A page device over a QPrinter: a printer chosen in the platform's print
// dialog (CUPS printers included), the print preview, or the printer's own
// PDF output. The job takes the printer's document name from the job title;
// a printer that makes copies itself gets the copy count, for any other
// output the document is drawn once per copy. The printer is set to
// PageResolution when the device is made.
class PrinterPageDevice : public PainterPageDevice {
public:
    explicit PrinterPageDevice(QPrinter &printer);

    int copiesToRender() const override;

protected:
    void prepareJob() override;
    QString deviceName() const override;

private:
    bool printerMakesCopies() const;

    QPrinter &m_printer;
};

}  // namespace varnel::print
