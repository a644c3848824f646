#include "register/windows/TFormAbout.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace varnel::reg {

namespace {

QLabel *panel(QWidget *parent, const char *name, const QString &text, QFrame::Shadow shadow) {
    auto *p = new QLabel(text, parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameStyle(QFrame::Panel | shadow);
    p->setLineWidth(1);
    p->setAlignment(Qt::AlignCenter);
    p->setMargin(10);
    return p;
}

}  // namespace

TFormAbout::TFormAbout(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormAbout"));
    setWindowTitle(QStringLiteral("O programie"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    PanelTop = panel(this, "PanelTop", QStringLiteral("Varnel - ver.1.18b"), QFrame::Raised);
    QFont big = PanelTop->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    PanelTop->setFont(big);
    PanelTop->setMargin(14);

    Panel1 = panel(this, "Panel1",
                   QStringLiteral("Program do obsługi dodatków mieszkaniowych:\n"
                                  "rejestr wniosków, wyliczanie dodatków,\n"
                                  "druk decyzji i list wypłat, archiwum miesięczne\n"
                                  "oraz zestawienia wydatków na dodatki."),
                   QFrame::Sunken);
    Panel2 = panel(this, "Panel2",
                   QStringLiteral("Przeznaczony dla sekcji dodatków mieszkaniowych\n"
                                  "urzędu miasta i gminy.\n"
                                  "Dane programu przechowywane są w katalogu bazy danych."),
                   QFrame::Sunken);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(PanelTop);
    layout->addWidget(Panel1);
    layout->addWidget(Panel2);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TFormAbout::showEvent(QShowEvent *e) {
    const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = over ? over->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
    move(area.left() + area.width() / 2 - width() / 2, area.top() + area.height() / 2 - height() / 2);
    QDialog::showEvent(e);
}

}  // namespace varnel::reg
