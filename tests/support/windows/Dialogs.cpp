#include "support/windows/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace varnel::test {

void typeText(QWidget *control, const QString &text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(control, &release);
    }
}

QAbstractButton *findButton(QWidget *window, const QString &caption) {
    if (!window)
        return nullptr;
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
        if (QString(b->text()).remove(QLatin1Char('&')) == caption)
            return b;
    return nullptr;
}

bool clickButton(QWidget *window, const QString &caption) {
    QAbstractButton *b = findButton(window, caption);
    if (!b) {
        ADD_FAILURE() << "no button \"" << caption.toStdString() << "\" in "
                      << (window ? window->objectName().toStdString() : std::string("(no window)"));
        return false;
    }
    b->click();
    return true;
}

bool answerModal(const std::function<void()> &open, const std::function<void(QDialog &)> &act) {
    bool shown = false;
    // The check runs once the dialog's own loop is running; it is dropped
    // when `open` comes back without having shown one.
    auto guard = std::make_unique<QObject>();
    QTimer::singleShot(0, guard.get(), [&] {
        QPointer<QDialog> d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d)
            return;
        shown = true;
        act(*d);
        if (d && d->isVisible()) {
            ADD_FAILURE() << "the dialog " << d->objectName().toStdString() << " stayed open";
            d->QDialog::done(QDialog::Rejected);
        }
    });
    open();
    guard.reset();
    return shown;
}

}  // namespace varnel::test
