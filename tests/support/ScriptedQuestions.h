#pragma once

#include "core/Questions.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <deque>
#include <initializer_list>
#include <vector>

namespace varnel::test {

// Questions answered from a script, with no screen: every question asked is
// recorded (kind, text, position), and each one that wants an answer takes
// the next from the queue, or the default answer when the queue is empty.
class ScriptedQuestions : public core::Questions {
public:
    enum class Kind { Inform, Error, Confirm, TakNie, TakNieCofnij, KontynuujPrzerwij, ConfirmOrCancel };
    // Yes: "Tak" / "Kontynuuj"; No: "Nie" / "Przerwij"; Cancel: "Cofnij" or
    // "Anuluj" (for the questions without either it counts as No).
    enum class Answer { Yes, No, Cancel };

    struct Asked {
        Kind kind;
        QString text;
        QPoint pos;  // kontynuujPrzerwij only
        bool defaultNo = false;  // a confirmation whose default button is "Nie" (confirmDelete)
    };

    explicit ScriptedQuestions(Answer defaultAnswer = Answer::Yes) : m_default(defaultAnswer) {}

    void answer(Answer a) { m_queue.push_back(a); }
    void answer(std::initializer_list<Answer> as) { m_queue.insert(m_queue.end(), as); }
    void setDefaultAnswer(Answer a) { m_default = a; }
    void clear() { m_asked.clear(); m_queue.clear(); }

    const std::vector<Asked> &asked() const { return m_asked; }
    QStringList texts() const;            // every question, in order
    QStringList texts(Kind kind) const;   // of one kind, in order
    int count(Kind kind) const;
    int pending() const { return static_cast<int>(m_queue.size()); }

    void inform(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    // Recorded as a confirmation (Kind::Confirm) with defaultNo set.
    bool confirmDelete(const QString &text) override;
    Choice confirmOrCancel(const QString &text) override;
    bool takNie(const QString &text) override;
    bool takNieCofnij(const QString &text, bool &cancelled) override;
    bool kontynuujPrzerwij(const QString &text, QPoint pos) override;

private:
    Answer next();

    std::vector<Asked> m_asked;
    std::deque<Answer> m_queue;
    Answer m_default;
};

}  // namespace varnel::test
