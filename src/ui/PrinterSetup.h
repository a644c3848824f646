#pragma once

#include "core/PrinterSettings.h"

class QPrinter;
class QWidget;

namespace varnel::ui {

// The run's printer set-up (core::PrinterSettings) on a real printer: every
// print makes its QPrinter from the settings, and the printer set-up dialog
// stores what was chosen back into them.

// Sets up a printer by the settings; settings not chosen yet leave the
// printer at the system's defaults.
void applyPrinterSettings(const core::PrinterSettings &settings, QPrinter &printer);
// The settings a printer stands at (chosen).
core::PrinterSettings printerSettingsOf(const QPrinter &printer);

// "Ustawienia drukarki": the platform's printer set-up dialog on the run's
// settings; "OK" keeps what was chosen for every print after it, cancelling
// changes nothing. True when the user accepted.
bool showPrinterSetup(core::PrinterSettings &settings, QWidget *parent);

}  // namespace varnel::ui
