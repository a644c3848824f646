#include "register/windows/QtQuestions.h"

#include "register/windows/TFormPytanie.h"

#include <QMessageBox>
#include <QPushButton>

namespace varnel::reg {

namespace {
const QString AppTitle = QStringLiteral("Varnel");
}

QtQuestions::QtQuestions(reg::TFormPytanie &pytanie, QWidget *parent) : m_pytanie(pytanie), m_parent(parent) {}

void QtQuestions::inform(const QString &text) {
    QMessageBox box(QMessageBox::Information, AppTitle, text, QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

void QtQuestions::error(const QString &text) {
    QMessageBox box(QMessageBox::Critical, AppTitle, text, QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

bool QtQuestions::confirm(const QString &text) { return confirmBox(text, true); }

bool QtQuestions::confirmDelete(const QString &text) { return confirmBox(text, false); }

bool QtQuestions::confirmBox(const QString &text, bool defaultYes) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Potwierdzenie"), text, QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *tak = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton *nie = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    box.setDefaultButton(defaultYes ? tak : nie);
    box.setEscapeButton(nie);
    box.exec();
    return box.clickedButton() == tak;
}

core::Questions::Choice QtQuestions::confirmOrCancel(const QString &text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Potwierdzenie"), text, QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton *tak = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    QPushButton *nie = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
    QPushButton *anuluj = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(tak);
    box.setEscapeButton(anuluj);
    box.exec();
    if (box.clickedButton() == tak)
        return Choice::Yes;
    return box.clickedButton() == nie ? Choice::No : Choice::Cancel;
}

bool QtQuestions::takNie(const QString &text) { return m_pytanie.TakNie(text); }

bool QtQuestions::takNieCofnij(const QString &text, bool &cancelled) {
    return m_pytanie.TakNieCofnij(text, cancelled);
}

bool QtQuestions::kontynuujPrzerwij(const QString &text, QPoint pos) {
    return m_pytanie.KontynuujPrzerwij(text, pos.x(), pos.y());
}

}  // namespace varnel::reg
