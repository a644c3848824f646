#pragma once

#include <QPoint>
#include <QString>

namespace varnel::core {

// Every question and message box of the program goes through this interface:
// windows and rules ask here, the program answers with real dialogs
// (QtQuestions), tests answer from a script without a screen.
class Questions {
public:
    virtual ~Questions() = default;

    // Plain information box with an OK button.
    virtual void inform(const QString &text) = 0;
    // A failure of the table engine or of a file, shown with its own message.
    virtual void error(const QString &text) = 0;
    // Message box titled "Potwierdzenie" with Tak and Nie and a question icon.
    virtual bool confirm(const QString &text) = 0;
    // The confirmation of a delete: the same box, but "Nie" is its default
    // button, so an Enter pressed out of habit deletes nothing.
    virtual bool confirmDelete(const QString &text) { return confirm(text); }

    enum class Choice { Yes, No, Cancel };
    // Message box titled "Potwierdzenie" with Tak, Nie and Anuluj and a
    // question icon. Where no one can cancel (a run nobody watches), the
    // question is put as a confirmation.
    virtual Choice confirmOrCancel(const QString &text) { return confirm(text) ? Choice::Yes : Choice::No; }

    // The question dialog: "Potwierdzenie", "Tak"/"Nie", centred.
    virtual bool takNie(const QString &text) = 0;
    // "Potwierdzenie", "Tak"/"Nie"/"Cofnij", centred; cancelled tells "Cofnij".
    virtual bool takNieCofnij(const QString &text, bool &cancelled) = 0;
    // "Uwaga!", "Kontynuuj"/"Przerwij", top-left corner at pos; true = "Kontynuuj".
    virtual bool kontynuujPrzerwij(const QString &text, QPoint pos) = 0;
};

}  // namespace varnel::core
