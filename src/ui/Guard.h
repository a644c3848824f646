#pragma once

#include "data/DbError.h"
#include "ui/Questions.h"

#include <exception>

namespace varnel::ui {

// Runs one user operation; a failure of the table engine or any other error
// it does not handle itself is shown with its own message, the operation is
// abandoned and the program goes on. Returns false when it failed.
template <typename F>
bool guarded(Questions &questions, F &&operation) {
    try {
        operation();
        return true;
    } catch (const data::DbError &e) {
        questions.error(e.message());
    } catch (const std::exception &e) {
        questions.error(QString::fromUtf8(e.what()));
    }
    return false;
}

}  // namespace varnel::ui
