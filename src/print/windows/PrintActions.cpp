#include "print/windows/PrintActions.h"

#include "core/Context.h"
#include "core/FileDialogs.h"
#include "core/Guard.h"
#include "data/Database.h"
#include "print/windows/PrinterPageDevice.h"

#include <QBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

namespace varnel::print {

const QString PrintActions::PdfFilter = QStringLiteral("Dokument PDF (*.pdf)|*.pdf");

PrintActions::PrintActions(QWidget *window, core::Context &context, QPrinter &printer, RenderFunction render)
    : QObject(window), m_window(window), m_context(context), m_printer(printer), m_render(std::move(render)) {
    choosePrinter = [](QPrinter &p, QWidget *parent) {
        QPrintDialog dialog(&p, parent);
        dialog.setWindowTitle(QStringLiteral("Drukowanie"));
        return dialog.exec() == QDialog::Accepted;
    };
    showPreview = [](QPrintPreviewDialog &dialog) { dialog.exec(); };
}

bool PrintActions::renderToPrinter(QPrinter &printer) {
    PrinterPageDevice device(printer);
    const bool ran = core::guarded(m_context.questions, [&] { m_render(device); });
    if (device.isJobOpen()) {
        // The render function failed halfway: nothing of it goes out.
        printer.abort();
        return false;
    }
    if (!ran)
        return false;
    if (!device.errorString().isEmpty()) {
        m_context.questions.error(device.errorString());
        return false;
    }
    return device.pageNumber() > 0;
}

bool PrintActions::print() {
    if (check && !check())
        return false;
    if (!choosePrinter(m_printer, m_window))
        return false;
    const bool done = renderToPrinter(m_printer);
    if (done)
        emit printed();
    return done;
}

bool PrintActions::preview() {
    if (check && !check())
        return false;
    QPrintPreviewDialog dialog(&m_printer, m_window);
    dialog.setWindowTitle(QStringLiteral("Podgląd wydruku"));
    bool done = false;
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [this, &done](QPrinter *printer) { done = renderToPrinter(*printer) || done; });
    showPreview(dialog);
    return done;
}

bool PrintActions::savePdf() {
    if (check && !check())
        return false;
    const QString path =
        m_context.files.saveFile(m_window, m_context.db.directory(), PdfFilter, QStringLiteral("pdf"));
    if (path.isEmpty())
        return false;
    if (data::Database::isOwnPath(m_context.db.directory(), path)) {
        m_context.questions.error(QStringLiteral("Plik %1 jest plikiem bazy danych; wydruku nie można w nim zapisać. "
                                                 "Wybierz inną nazwę pliku.")
                                      .arg(path));
        return false;
    }
    PdfOutcome outcome;
    if (!core::guarded(m_context.questions, [&] { outcome = writePdfFile(path, m_render); }))
        return false;
    if (outcome.kind == PdfOutcome::Failed) {
        m_context.questions.error(outcome.error);
        return false;
    }
    return outcome.kind == PdfOutcome::Written;
}

void PrintActions::addButtons(QBoxLayout *layout) {
    m_print = new QPushButton(QStringLiteral("Drukuj"), m_window);
    m_preview = new QPushButton(QStringLiteral("Podgląd"), m_window);
    m_pdf = new QPushButton(QStringLiteral("Zapisz PDF"), m_window);
    connect(m_print, &QPushButton::clicked, this, [this] { print(); });
    connect(m_preview, &QPushButton::clicked, this, [this] { preview(); });
    connect(m_pdf, &QPushButton::clicked, this, [this] { savePdf(); });
    layout->addWidget(m_print);
    layout->addWidget(m_preview);
    layout->addWidget(m_pdf);
}

}  // namespace varnel::print
