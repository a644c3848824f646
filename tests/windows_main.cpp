#include "ui/GuardedApplication.h"
#include "ui/Translations.h"

#include <gtest/gtest.h>

// Window tests run on the offscreen platform: no X server is needed, also
// when CTest lists the tests at build time. They run under the program's own
// application object, with its boundary for failures.
int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    varnel::ui::GuardedApplication app(argc, argv);
    // Qt's own dialogs speak Polish, as in the program.
    varnel::ui::installPolishTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
