#pragma once

#include "print/PdfFile.h"

#include <QObject>
#include <functional>

class QBoxLayout;
class QPrintPreviewDialog;
class QPrinter;
class QPushButton;
class QWidget;

namespace varnel::core {
struct Context;
}

namespace varnel::print {

// The three ways every printing window prints, over one render function:
// "Drukuj" (the platform's print dialog, then the job on the printer
// chosen), "Podgląd" (the print preview, from which the user may print as
// well) and "Zapisz PDF" (a save dialog in the database directory, then a
// PDF file readable by its owner only). The window keeps the printer (the
// run's printer settings) and the render function; messages go through the
// context's questions.
class PrintActions : public QObject {
    Q_OBJECT
public:
    PrintActions(QWidget *window, core::Context &context, QPrinter &printer, RenderFunction render);

    // Each returns whether a job was printed. A window with checks of its
    // own (a copy count to read) runs them first and then calls these.
    bool print();
    bool preview();
    bool savePdf();

    // The three buttons "Drukuj", "Podgląd" and "Zapisz PDF", connected to
    // the three actions, added to `layout` in that order.
    void addButtons(QBoxLayout *layout);
    QPushButton *printButton() const { return m_print; }
    QPushButton *previewButton() const { return m_preview; }
    QPushButton *pdfButton() const { return m_pdf; }

    static const QString PdfFilter;  // "Dokument PDF (*.pdf)|*.pdf"

    // Run before each of the three (a copy count read from the window, for
    // instance); false stops the action. None by default.
    std::function<bool()> check;

    // How the printer is chosen: the platform's print dialog; tests choose
    // without a screen. False: the user gave up.
    std::function<bool(QPrinter &printer, QWidget *parent)> choosePrinter;
    // How the preview is shown: modally; tests look into it and close it.
    std::function<void(QPrintPreviewDialog &dialog)> showPreview;

signals:
    // A job went to the printer ("Drukuj").
    void printed();

private:
    // Renders into the printer; true when a job was printed.
    bool renderToPrinter(QPrinter &printer);

    QWidget *m_window;
    core::Context &m_context;
    QPrinter &m_printer;
    RenderFunction m_render;
    QPushButton *m_print = nullptr;
    QPushButton *m_preview = nullptr;
    QPushButton *m_pdf = nullptr;
};

}  // namespace varnel::print
