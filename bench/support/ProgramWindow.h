#pragma once

#include "calc/BulkRecalc.h"
#include "core/Context.h"
#include "register/Register.h"
#include "register/windows/TFormVarnelMain.h"
#include "ui/GuardedApplication.h"
#include "ui/QtFileDialogs.h"

namespace varnel::bench {

// The register and its main window shown on a database, logged in, with
// questions answered as a run nobody watches answers them and the full
// information on errors off: the program as a window benchmark drives it.
struct ProgramWindow {
    ProgramWindow(ui::GuardedApplication &app, data::Database &db) : m_app(app), ctx{db, questions, files, {}} {
        m_app.setQuestions(&questions);
        main.logIn = [] { return std::optional<admin::Rights>(admin::Rights{}); };
        main.FormShow();
        main.show();
        reg.setPelnaInformacja(false);
    }
    ~ProgramWindow() { m_app.setQuestions(nullptr); }

    ui::GuardedApplication &m_app;
    calc::HeadlessQuestions questions;
    ui::QtFileDialogs files;
    core::Context ctx;
    reg::Register reg{ctx};
    reg::TFormVarnelMain main{ctx, reg};
};

}  // namespace varnel::bench
