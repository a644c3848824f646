#pragma once

#include "register/Register.h"
#include "register/windows/TFormVarnelMain.h"
#include "support/Program.h"

#include <memory>

namespace varnel::test {

// The program's register and its main window on a database the test has
// filled: makeMainWindow() creates them, logged in with no rights (tests
// set their own log-in before the first showing).
class MainWindowTest : public ProgramTest {
protected:
    void makeMainWindow() {
        main.reset();
        reg = std::make_unique<reg::Register>(ctx);
        main = std::make_unique<reg::TFormVarnelMain>(ctx, *reg);
        main->logIn = [] { return std::optional<admin::Rights>(admin::Rights{}); };
    }
    data::Table &view() { return reg->TableWnioski(); }

    std::unique_ptr<reg::Register> reg;
    std::unique_ptr<reg::TFormVarnelMain> main;
};

}  // namespace varnel::test
