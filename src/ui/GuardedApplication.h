#pragma once

#include <QApplication>

namespace varnel::core {
class Questions;
}

namespace varnel::ui {

// The program's application object and the one boundary for failures no
// operation handled: an exception that leaves an event handler, a slot
// called by a signal or a modal dialog's loop reaches notify(), where its
// message is shown through the run's Questions (the engine's own text for
// a core::DbError). The event is dropped, so the operation it began is
// abandoned, and the program goes on.
//
// Code that Qt runs where it cannot unwind (a model's data(), a paint)
// must not throw at all; the boundary is for the rest.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int &argc, char **argv);

    // Where failures are shown; without it they are written to stderr.
    void setQuestions(core::Questions *questions) { m_questions = questions; }
    core::Questions *questions() const { return m_questions; }

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows a failure as the boundary does: through the Questions, or on
    // stderr while one is being shown already (a failure in repainting
    // behind the message box must not open box after box).
    void tell(const QString &message);

private:
    core::Questions *m_questions = nullptr;
    bool m_telling = false;
};

}  // namespace varnel::ui
