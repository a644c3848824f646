#include "register/windows/TFormPytanie.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace varnel::reg {

namespace {
const QString IconQuestion = QStringLiteral("pytajnik.bmp");
const QString IconWarning = QStringLiteral("wykrzyknik.bmp");
constexpr int MinButtonWidth = 75;
constexpr int ButtonHeight = 25;
}  // namespace

TFormPytanie::TFormPytanie(const QString &programDir, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_programDir(programDir),
      m_iconFile(IconQuestion) {
    setObjectName(QStringLiteral("FormPytanie"));
    setModal(true);
    setWindowTitle(QStringLiteral("Potwierdzenie"));

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setWordWrap(false);
    Label1->setTextFormat(Qt::PlainText);

    ButtonTak = new QPushButton(QStringLiteral("Tak"), this);
    ButtonTak->setObjectName(QStringLiteral("ButtonTak"));
    ButtonNie = new QPushButton(QStringLiteral("Nie"), this);
    ButtonNie->setObjectName(QStringLiteral("ButtonNie"));
    ButtonCofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    ButtonTak->setDefault(true);

    connect(ButtonTak, &QPushButton::clicked, this, [this] {
        m_yes = true;
        done(QDialog::Accepted);
    });
    connect(ButtonNie, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(ButtonCofnij, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        done(QDialog::Rejected);
    });
}

bool TFormPytanie::TakNie(const QString &text) {
    setUp(QStringLiteral("Potwierdzenie"), QStringLiteral("Tak"), QStringLiteral("Nie"), IconQuestion);
    return PotwTakNie(text, 0, 0, true);
}

bool TFormPytanie::TakNieCofnij(const QString &text, bool &cancelled) {
    setUp(QStringLiteral("Potwierdzenie"), QStringLiteral("Tak"), QStringLiteral("Nie"), IconQuestion);
    return PotwTakNieCofnij(text, 0, 0, true, cancelled);
}

bool TFormPytanie::KontynuujPrzerwij(const QString &text, int x, int y) {
    setUp(QStringLiteral("Uwaga!"), QStringLiteral("Kontynuuj"), QStringLiteral("Przerwij"), IconWarning);
    return PotwTakNie(text, x, y, false);
}

bool TFormPytanie::PotwTakNie(const QString &text, int x, int y, bool centred) {
    return ask(text, x, y, centred, false);
}

bool TFormPytanie::PotwTakNieCofnij(const QString &text, int x, int y, bool centred, bool &cancelled) {
    const bool yes = ask(text, x, y, centred, true);
    cancelled = m_cancelled;
    return yes;
}

void TFormPytanie::setUp(const QString &caption, const QString &first, const QString &second,
                         const QString &iconFile) {
    setWindowTitle(caption);
    ButtonTak->setText(first);
    ButtonNie->setText(second);
    ButtonCofnij->setText(QStringLiteral("Cofnij"));
    m_iconFile = iconFile;
}

void TFormPytanie::loadIcon() {
    const QString path = QDir(m_programDir).filePath(m_iconFile);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw PytanieFileError(path, QStringLiteral("Nie można otworzyć pliku \"%1\". Nie ma takiego pliku.")
                                         .arg(QDir::toNativeSeparators(path)));
    QPixmap pixmap;
    if (!pixmap.load(path))
        throw PytanieFileError(path, QStringLiteral("Nie można odczytać pliku \"%1\". Nieprawidłowy format obrazu.")
                                         .arg(QDir::toNativeSeparators(path)));
    Image->setPixmap(pixmap);
}

void TFormPytanie::arrange(const QString &text, bool threeButtons) {
    ButtonCofnij->setVisible(threeButtons);

    PytanieMetrics m;
    int w = MinButtonWidth;
    for (QPushButton *b : {ButtonTak, ButtonNie, ButtonCofnij})
        if (b == ButtonTak || b == ButtonNie || threeButtons)
            w = std::max(w, b->sizeHint().width());
    m.buttonWidth = w;
    m.buttonHeight = ButtonHeight;
    const QFontMetrics fm(Label1->font());
    const QRect textRect = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text);
    m.textWidth = textRect.width();
    m.textHeight = textRect.height();
    m.icon = QRect(16, 16, 16, 16);
    m.threeButtons = threeButtons;
    m_layout = layoutPytanie(m);

    Image->setGeometry(m.icon);
    Label1->setText(text);
    Label1->setGeometry(QRect(m_layout.textPos, QSize(m.textWidth, m.textHeight)));
    QPushButton *buttons[3] = {ButtonTak, ButtonNie, ButtonCofnij};
    for (int k = 0; k < 3; ++k)
        buttons[k]->setGeometry(m_layout.buttonLeft[k], m_layout.buttonTop, w, ButtonHeight);
    setFixedSize(m_layout.size);
}

bool TFormPytanie::ask(const QString &text, int x, int y, bool centred, bool threeButtons) {
    m_yes = false;
    m_cancelled = false;
    loadIcon();  // before anything is shown: a missing file stops the question
    m_threeButtons = threeButtons;
    arrange(text, threeButtons);

    if (centred) {
        QScreen *screen = QGuiApplication::primaryScreen();
        const QRect g = screen ? screen->geometry() : QRect(0, 0, 0, 0);
        move(g.topLeft() + centredOrigin(g.size(), m_layout.size));
    } else {
        move(x, y);
    }
    exec();
    return m_yes;
}

void TFormPytanie::reject() {
    // Esc: "Cofnij" when it is offered, otherwise nothing.
    if (m_threeButtons && ButtonCofnij->isVisible())
        ButtonCofnij->click();
}

void TFormPytanie::closeEvent(QCloseEvent *event) {
    // Only the buttons close the window.
    if (isVisible())
        event->ignore();
    else
        event->accept();
}

void TFormPytanie::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    ButtonTak->setFocus(Qt::OtherFocusReason);
}

}  // namespace varnel::reg
