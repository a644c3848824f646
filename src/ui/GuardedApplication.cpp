#include "ui/GuardedApplication.h"

#include "core/DbError.h"
#include "core/Questions.h"

#include <cstdio>
#include <exception>

namespace varnel::ui {

GuardedApplication::GuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const core::DbError &e) {
        tell(e.message());
    } catch (const std::exception &e) {
        tell(QString::fromUtf8(e.what()));
    } catch (...) {
        tell(QStringLiteral("Nieoczekiwany błąd programu."));
    }
    return false;
}

void GuardedApplication::tell(const QString &message) {
    if (!m_questions || m_telling) {
        std::fprintf(stderr, "varnel: %s\n", qPrintable(message));
        return;
    }
    m_telling = true;
    try {
        m_questions->error(message);
    } catch (...) {
        std::fprintf(stderr, "varnel: %s\n", qPrintable(message));
    }
    m_telling = false;
}

}  // namespace varnel::ui
