#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QWidget;

namespace varnel::core {
struct Context;
}
namespace varnel::data {
class Table;
}
namespace varnel::print {
class PageDevice;
class PrintActions;
}
namespace varnel::ui {
class UpDown;
}

namespace varnel::templates {

// The print window of a decision ("Drukowanie decyzji"): the decision of
// the current application, filled from the template chosen, which the clerk
// reads, corrects by hand and prints in one or more copies. The corrections
// are not stored: every opening fills the template afresh. Beside "Drukuj"
// the decision can be previewed and saved as a PDF file. The copy count
// stays as it was last left for the next decision of the run.
class TFormPrtDec : public QDialog {
    Q_OBJECT
public:
    // applications: the register's view, whose current row is printed.
    TFormPrtDec(core::Context &ctx, data::Table &applications, QWidget *parent = nullptr);
    ~TFormPrtDec() override;

    // Fills the decision from the template file and shows the window
    // modally. A template that cannot be read is told with the file's error
    // (a table that cannot, with the engine's) and the window does not open:
    // false then.
    bool ShowModal(const QString &templateFile);
    // The filling alone: template, metric line, footer, placeholders, the
    // caret at the start. False, told, when it failed.
    bool FormShow(const QString &templateFile);

    // "Drukuj": the copy count is read (a text that is not a number of
    // copies is told and the window stays open), the print dialog chooses
    // the printer, the decision goes to it as one job titled "Decyzja", and
    // the window closes. The printer chosen is the run's for the next print.
    void ButtonPrintClick();
    // "Cofnij": closes the window; nothing is printed.
    void ButtonPrintEscClick();

    // The copy count of the window, or nothing, told, when its text is not
    // a number of copies.
    std::optional<int> readCopies();

    QWidget *Panel = nullptr;
    QTextEdit *REdit = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *EditLKopii = nullptr;
    ui::UpDown *UpDown = nullptr;
    QPushButton *ButtonPrint = nullptr;
    QPushButton *ButtonPreview = nullptr;
    QPushButton *ButtonPdf = nullptr;
    QPushButton *ButtonPrintEsc = nullptr;

    print::PrintActions &actions() const { return *m_actions; }
    QPrinter &printer() { return m_printer; }
    // How the printer is chosen for "Drukuj": the platform's print dialog
    // (tests choose without a screen). The dialog shows the window's copy
    // count, and a count changed there is the window's from then on.
    std::function<bool(QPrinter &printer, QWidget *parent)> choosePrinter;
    // F1 opens the help file at the topic of decision printing.
    std::function<void(int topic)> showHelp;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormResize();
    void render(print::PageDevice &device);
    void wrapAtPrintedWidth();
    void keepPrinterForTheRun();

    core::Context &m_ctx;
    data::Table &m_applications;
    QPrinter m_printer;
    print::PrintActions *m_actions = nullptr;
    QWidget *m_copiesRow = nullptr;
    QWidget *m_buttonRow = nullptr;
    int m_copies = 1;
};

}  // namespace varnel::templates
