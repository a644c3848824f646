#pragma once

#include "core/Questions.h"

class QWidget;

namespace varnel::reg {

class TFormPytanie;

// The program's answers to Questions: message boxes and the question dialog.
//  - inform: information box "Varnel" with OK;
//  - error: critical box "Varnel" with the engine's (or file's) own text;
//  - confirm: box "Potwierdzenie" with "Tak" and "Nie" and a question icon,
//    "Tak" the default; confirmDelete: the same with "Nie" the default;
//  - confirmOrCancel: the same with "Anuluj" as well;
//  - takNie, takNieCofnij, kontynuujPrzerwij: the question dialog.
// A question dialog whose icon file is missing throws reg::PytanieFileError
// before anything is shown; the operation that asked is abandoned and shows
// the error.
class QtQuestions : public core::Questions {
public:
    explicit QtQuestions(TFormPytanie &pytanie, QWidget *parent = nullptr);

    void inform(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    bool confirmDelete(const QString &text) override;
    Choice confirmOrCancel(const QString &text) override;
    bool takNie(const QString &text) override;
    bool takNieCofnij(const QString &text, bool &cancelled) override;
    bool kontynuujPrzerwij(const QString &text, QPoint pos) override;

private:
    bool confirmBox(const QString &text, bool defaultYes);

    reg::TFormPytanie &m_pytanie;
    QWidget *m_parent;
};

}  // namespace varnel::reg
