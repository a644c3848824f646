#include "templates/windows/TFormPrtDec.h"

#include "core/Context.h"
#include "core/Guard.h"
#include "core/HelpTopics.h"
#include "core/Questions.h"
#include "data/Table.h"
#include "print/RichTextPrint.h"
#include "print/windows/PrintActions.h"
#include "templates/DecisionPrint.h"
#include "templates/doc/DecisionDocument.h"
#include "templates/doc/DecisionPrinting.h"
#include "ui/PrinterSetup.h"
#include "ui/UpDown.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

namespace varnel::templates {

namespace {
constexpr int ScreenMargin = 10;
}

TFormPrtDec::TFormPrtDec(core::Context &ctx, data::Table &applications, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_applications(applications) {
    setObjectName(QStringLiteral("TFormPrtDec"));
    setWindowTitle(PrtDecCaption);
    setSizeGripEnabled(true);

    Panel = new QWidget(this);
    Panel->setObjectName(QStringLiteral("Panel1"));
    REdit = new QTextEdit(Panel);
    REdit->setObjectName(QStringLiteral("REdit"));
    REdit->setAcceptRichText(true);
    REdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    REdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_copiesRow = new QWidget(Panel);
    Label1 = new QLabel(QStringLiteral("Liczba kopii:"), m_copiesRow);
    Label1->setObjectName(QStringLiteral("Label1"));
    EditLKopii = new QLineEdit(CopiesStartText, m_copiesRow);
    EditLKopii->setObjectName(QStringLiteral("EditLKopii"));
    EditLKopii->setFixedWidth(EditLKopii->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    Label1->setBuddy(EditLKopii);
    UpDown = new ui::UpDown(EditLKopii, SpinCopiesMin, SpinCopiesMax, m_copiesRow);
    UpDown->setObjectName(QStringLiteral("UpDown"));
    auto *copies = new QHBoxLayout(m_copiesRow);
    copies->setContentsMargins(6, 3, 6, 3);
    copies->setSpacing(4);
    copies->addWidget(Label1);
    copies->addWidget(EditLKopii);
    copies->addWidget(UpDown);
    copies->addStretch();

    m_buttonRow = new QWidget(this);
    auto *buttons = new QHBoxLayout(m_buttonRow);
    buttons->setContentsMargins(6, 2, 6, 2);
    m_actions = new print::PrintActions(this, ctx, m_printer, [this](print::PageDevice &d) { render(d); });
    buttons->addStretch();
    m_actions->addButtons(buttons);
    ButtonPrint = m_actions->printButton();
    ButtonPrint->setObjectName(QStringLiteral("ButtonPrint"));
    ButtonPreview = m_actions->previewButton();
    ButtonPreview->setObjectName(QStringLiteral("ButtonPreview"));
    ButtonPdf = m_actions->pdfButton();
    ButtonPdf->setObjectName(QStringLiteral("ButtonPdf"));
    ButtonPrintEsc = new QPushButton(QStringLiteral("Cofnij"), m_buttonRow);
    ButtonPrintEsc->setObjectName(QStringLiteral("ButtonPrintEsc"));
    buttons->addWidget(ButtonPrintEsc);
    for (QPushButton *b : {ButtonPrint, ButtonPreview, ButtonPdf, ButtonPrintEsc})
        b->setAutoDefault(false);
    connect(ButtonPrintEsc, &QPushButton::clicked, this, &TFormPrtDec::ButtonPrintEscClick);

    // Each of the three reads the copy count first.
    m_actions->check = [this] {
        const std::optional<int> n = readCopies();
        if (n)
            m_copies = *n;
        return n.has_value();
    };
    choosePrinter = m_actions->choosePrinter;
    m_actions->choosePrinter = [this](QPrinter &p, QWidget *owner) {
        p.setCopyCount(m_copies);
        if (!choosePrinter(p, owner))
            return false;
        if (p.copyCount() != m_copies) {
            m_copies = std::max(1, p.copyCount());
            EditLKopii->setText(QString::number(m_copies));
        }
        return true;
    };
    connect(m_actions, &print::PrintActions::printed, this, [this] {
        keepPrinterForTheRun();
        accept();
    });

    resize(780, 640);
}

TFormPrtDec::~TFormPrtDec() = default;

bool TFormPrtDec::FormShow(const QString &templateFile) {
    // The printer set-up may have changed since the last decision.
    ui::applyPrinterSettings(m_ctx.values.printer, m_printer);
    const bool filled = core::guarded(m_ctx.questions, [&] {
        doc::assembleDecision(*REdit->document(), templateFile, m_applications, m_ctx.values.userName);
    });
    if (!filled)
        return false;
    // A little white around the text on the screen; the print lays out a
    // copy of its own without it.
    REdit->document()->setDocumentMargin(ScreenMargin);
    wrapAtPrintedWidth();
    QTextCursor start(REdit->document());
    start.movePosition(QTextCursor::Start);
    REdit->setTextCursor(start);
    REdit->ensureCursorVisible();
    REdit->setFocus();
    return true;
}

bool TFormPrtDec::ShowModal(const QString &templateFile) {
    if (!FormShow(templateFile))
        return false;
    exec();
    return true;
}

// The editor breaks its lines where the printed page will, so that the
// clerk corrects the decision as it is going to look.
void TFormPrtDec::wrapAtPrintedWidth() {
    const QRect page = m_printer.pageLayout().paintRectPixels(print::PageResolution);
    const int printedUnits = page.width() - print::DecisionMargins.left - print::DecisionMargins.right;
    if (printedUnits <= 0) {
        REdit->setLineWrapMode(QTextEdit::WidgetWidth);
        return;
    }
    const qreal margins = 2 * REdit->document()->documentMargin();
    const int pixels = qRound(qreal(printedUnits) / print::PageResolution * REdit->logicalDpiX() + margins);
    REdit->setLineWrapMode(QTextEdit::FixedPixelWidth);
    REdit->setLineWrapColumnOrWidth(pixels);
}

std::optional<int> TFormPrtDec::readCopies() {
    const std::optional<int> n = copiesOf(EditLKopii->text());
    if (!n) {
        m_ctx.questions.inform(CopiesErrorText);
        EditLKopii->setFocus();
        EditLKopii->selectAll();
    }
    return n;
}

void TFormPrtDec::render(print::PageDevice &device) { doc::printDecision(device, *REdit->document(), m_copies); }

void TFormPrtDec::ButtonPrintClick() { m_actions->print(); }

void TFormPrtDec::ButtonPrintEscClick() { reject(); }

// The printer chosen for a decision is the one the next print of the run
// starts from; the copy count of the run's set-up stays its own.
void TFormPrtDec::keepPrinterForTheRun() {
    const int copies = m_ctx.values.printer.copies;
    m_ctx.values.printer = ui::printerSettingsOf(m_printer);
    m_ctx.values.printer.copies = copies;
}

void TFormPrtDec::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1 && showHelp) {
        showHelp(help::PrintDecision);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormPrtDec::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TFormPrtDec::FormResize() {
    const PrtDecLayout l = prtDecLayout(size());
    Panel->setGeometry(l.panel);
    REdit->setGeometry(l.editor);
    m_copiesRow->setGeometry(l.copiesRow);
    m_buttonRow->setGeometry(l.buttonRow);
}

}  // namespace varnel::templates
