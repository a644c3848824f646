#pragma once

#include "core/Context.h"

#include <QStringList>
#include <memory>

namespace varnel::data {
class Database;
}
namespace varnel::reg {
class Register;
class TFormPytanie;
class TFormVarnelMain;
class TFormWnioski;
}
namespace varnel::calc {
class TFormLiczWszystko;
}
namespace varnel::totals {
class TFormDotacja;
}
namespace varnel::admin {
class TFormSlownZarz;
class TFormSlowniki;
}
namespace varnel::help {
class TFormPomoc;
}
namespace varnel::lists {
class TFormPrtLista;
class TFormWzorListy;
}
namespace varnel::reg {
class QtQuestions;
}
namespace varnel::templates {
class TFormPrtDec;
class TFormWzorDec;
}
namespace varnel::ui {
class QtFileDialogs;
}

namespace varnel::app {

using core::Context;
using core::RunValues;

// The run of the program: the windows are created (the main window first),
// the main window's first showing logs the user in and opens the register,
// and the event loop runs until the main window closes.
class RunProgram {
public:
    // arguments: the command line (the first argument after the program
    // "a" or "A" turns on the service switch).
    explicit RunProgram(const QStringList &arguments);
    ~RunProgram();

    // Returns the exit code of the program.
    int exec();

    // The values of a run as the command line sets them.
    static RunValues valuesFor(const QStringList &arguments, const QString &programDir);

private:
    void wireMainWindow();

    RunValues m_values;
    std::unique_ptr<reg::TFormPytanie> m_pytanie;
    std::unique_ptr<reg::QtQuestions> m_questions;
    std::unique_ptr<ui::QtFileDialogs> m_files;
    std::unique_ptr<data::Database> m_db;
    std::unique_ptr<Context> m_context;
    std::unique_ptr<reg::Register> m_register;
    std::unique_ptr<reg::TFormVarnelMain> m_main;
    // Windows made on first use and kept for the run.
    std::unique_ptr<reg::TFormWnioski> m_wnioski;
    std::unique_ptr<admin::TFormSlownZarz> m_slownZarz;
    std::unique_ptr<admin::TFormSlowniki> m_slowniki;
    std::unique_ptr<help::TFormPomoc> m_pomoc;
    std::unique_ptr<templates::TFormPrtDec> m_prtDec;  // keeps its copy count for the run
    std::unique_ptr<lists::TFormWzorListy> m_wzorListy;
    std::unique_ptr<lists::TFormPrtLista> m_prtLista;
    std::unique_ptr<templates::TFormWzorDec> m_wzorDec;
    std::unique_ptr<calc::TFormLiczWszystko> m_liczWszystko;
    std::unique_ptr<totals::TFormDotacja> m_dotacja;

    reg::TFormWnioski &wnioski();
    totals::TFormDotacja &dotacja();
    templates::TFormPrtDec &prtDec();
    help::TFormPomoc &pomoc();
    void showHelp(int topic);
};

}  // namespace varnel::app
