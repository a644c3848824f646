#include "support/ScriptedQuestions.h"

namespace varnel::test {

ScriptedQuestions::Answer ScriptedQuestions::next() {
    if (m_queue.empty())
        return m_default;
    const Answer a = m_queue.front();
    m_queue.pop_front();
    return a;
}

QStringList ScriptedQuestions::texts() const {
    QStringList out;
    for (const auto &a : m_asked)
        out << a.text;
    return out;
}

QStringList ScriptedQuestions::texts(Kind kind) const {
    QStringList out;
    for (const auto &a : m_asked)
        if (a.kind == kind)
            out << a.text;
    return out;
}

int ScriptedQuestions::count(Kind kind) const {
    int n = 0;
    for (const auto &a : m_asked)
        n += a.kind == kind;
    return n;
}

void ScriptedQuestions::inform(const QString &text) { m_asked.push_back({Kind::Inform, text, {}}); }

void ScriptedQuestions::error(const QString &text) { m_asked.push_back({Kind::Error, text, {}}); }

bool ScriptedQuestions::confirm(const QString &text) {
    m_asked.push_back({Kind::Confirm, text, {}});
    return next() == Answer::Yes;
}

bool ScriptedQuestions::confirmDelete(const QString &text) {
    m_asked.push_back({Kind::Confirm, text, {}, true});
    return next() == Answer::Yes;
}

core::Questions::Choice ScriptedQuestions::confirmOrCancel(const QString &text) {
    m_asked.push_back({Kind::ConfirmOrCancel, text, {}});
    switch (next()) {
    case Answer::Yes: return Choice::Yes;
    case Answer::No: return Choice::No;
    case Answer::Cancel: break;
    }
    return Choice::Cancel;
}

bool ScriptedQuestions::takNie(const QString &text) {
    m_asked.push_back({Kind::TakNie, text, {}});
    return next() == Answer::Yes;
}

bool ScriptedQuestions::takNieCofnij(const QString &text, bool &cancelled) {
    m_asked.push_back({Kind::TakNieCofnij, text, {}});
    const Answer a = next();
    cancelled = a == Answer::Cancel;
    return a == Answer::Yes;
}

bool ScriptedQuestions::kontynuujPrzerwij(const QString &text, QPoint pos) {
    m_asked.push_back({Kind::KontynuujPrzerwij, text, pos});
    return next() == Answer::Yes;
}

}  // namespace varnel::test
