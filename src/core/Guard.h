#pragma once

#include "core/DbError.h"
#include "core/Questions.h"

#include <exception>

namespace varnel::core {

// Runs one user operation; a failure of the table engine or any other error
// it does not handle itself is shown with its own message, the operation is
// abandoned and the program goes on. Returns false when it failed.
template <typename F>
bool guarded(Questions &questions, F &&operation) {
    try {
        operation();
        return true;
    } catch (const DbError &e) {
        questions.error(e.message());
    } catch (const std::exception &e) {
        questions.error(QString::fromUtf8(e.what()));
    }
    return false;
}

}  // namespace varnel::core
