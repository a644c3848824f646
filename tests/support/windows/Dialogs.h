#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QAbstractButton;
class QWidget;

namespace varnel::test {

// Types text into a control as key presses, one character at a time, Polish
// letters included.
void typeText(QWidget *control, const QString &text);

// The button of a window (or of any widget under it) with this caption; the
// '&' of a shortcut does not count. nullptr when there is none.
QAbstractButton *findButton(QWidget *window, const QString &caption);
// Clicks the button with this caption. A window without it fails the test
// (and false is returned).
bool clickButton(QWidget *window, const QString &caption);
// The button row of a dialog: "OK" and "Cofnij".
inline bool pressOK(QWidget *dialog) { return clickButton(dialog, QStringLiteral("OK")); }
inline bool pressCofnij(QWidget *dialog) { return clickButton(dialog, QStringLiteral("Cofnij")); }

// Runs `open` (a click, a menu item, a key) and, once the modal dialog it
// shows is up, `act` on that dialog. Returns whether a modal dialog was
// shown. A dialog that `act` leaves open fails the test and is rejected, so
// that a failing test cannot hang.
bool answerModal(const std::function<void()> &open, const std::function<void(QDialog &)> &act);

// The same for a dialog of a given class; another dialog fails the test.
template <class Dialog>
bool answerModalOf(const std::function<void()> &open, const std::function<void(Dialog &)> &act) {
    bool right = false;
    const bool shown = answerModal(open, [&](QDialog &d) {
        if (auto *typed = qobject_cast<Dialog *>(&d)) {
            right = true;
            act(*typed);
        }
    });
    return shown && right;
}

}  // namespace varnel::test
