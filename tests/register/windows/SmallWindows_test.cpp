#include "data/Layouts.h"
#include "data/Table.h"
#include "data/Upgrade.h"
#include "register/windows/TFormAbout.h"
#include "register/windows/TFormProgress.h"
#include "register/windows/TFormSplash.h"
#include "support/OldLayouts.h"
#include "support/TempDatabase.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;

namespace {

// Watches the progress window while a rebuild drives it.
struct Watched : core::Progress {
    reg::TFormProgress &window;
    bool shownAtFirstStep = false;
    bool stayedAfterEsc = false;
    int steps = 0;
    explicit Watched(reg::TFormProgress &w) : window(w) {}
    void start(int max) override { window.start(max); }
    void step() override {
        window.step();
        if (++steps == 1) {
            shownAtFirstStep = window.isVisible();
            QTest::keyClick(&window, Qt::Key_Escape);
            window.close();
            stayedAfterEsc = window.isVisible();
        }
    }
    void finish() override { window.finish(); }
};

}  // namespace

TEST(SmallWindows, ProgressWindowShowsTheRebuildToItsEndAndCannotBeClosedMeanwhile) {
    test::TempDatabase db;
    db->createTable(test::without(data::applicationTableDef(), {"WskProc"}));
    for (int i = 0; i < 120; ++i)
        test::addApplication(*db, QStringLiteral("Aktualne"), QStringLiteral("N%1").arg(i));

    reg::TFormProgress window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Aktualizacja baz danych"));
    Watched watched(window);
    data::Upgrade116Dane(*db, QStringLiteral("Aktualne"), watched);
    EXPECT_TRUE(watched.shownAtFirstStep);
    EXPECT_TRUE(watched.stayedAfterEsc);
    EXPECT_EQ(window.ProgressBar->maximum(), 120);
    EXPECT_EQ(window.ProgressBar->value(), 120);
    EXPECT_FALSE(window.isVisible());
}

TEST(SmallWindows, SplashBarStopsAtItsEnd) {
    reg::TFormSplash splash;
    splash.showNow();
    EXPECT_EQ(splash.LabelVersion->text(), QStringLiteral("Ver. 1.18b"));
    for (int i = 0; i < 40; ++i)
        splash.advance(3);
    EXPECT_EQ(splash.position(), 100);
}

TEST(SmallWindows, AboutIsCentredOnItsParentAndClosedByOK) {
    QWidget main;
    main.setGeometry(100, 80, 900, 600);
    main.show();
    reg::TFormAbout about(&main);
    about.show();
    // Within the width of the window frames.
    EXPECT_LE((about.frameGeometry().center() - main.frameGeometry().center()).manhattanLength(), 8);
    about.ButtonOK->click();
    EXPECT_FALSE(about.isVisible());
}
