#include "register/PytanieLayout.h"

#include <gtest/gtest.h>

using namespace varnel::reg;

namespace {
PytanieMetrics metrics(int textWidth, bool three, int buttonWidth = 75) {
    PytanieMetrics m;
    m.buttonWidth = buttonWidth;
    m.textWidth = textWidth;
    m.textHeight = 14;
    m.icon = QRect(16, 16, 16, 16);  // r = 32, needed = 92 + t
    m.threeButtons = three;
    return m;
}
}  // namespace

TEST(PytanieLayout, TwoButtonsShortTextGivesTheMinimumWidth) {
    const auto l = layoutPytanie(metrics(40, false));
    EXPECT_EQ(l.size.width(), 2 * 75 + 76);
    EXPECT_EQ(l.buttonLeft[0], 30);
    EXPECT_EQ(l.buttonLeft[1], 30 + 75 + 16);
    EXPECT_EQ(l.textPos.x(), 226 / 2 - 40 / 2);
    // needed = minimum is not wider
    EXPECT_EQ(layoutPytanie(metrics(226 - 92, false)).buttonLeft[0], 30);
}

TEST(PytanieLayout, TwoButtonsLongTextCentresTheButtons) {
    const auto l = layoutPytanie(metrics(301, false));  // needed = 393
    EXPECT_EQ(l.size.width(), 393);
    EXPECT_EQ(l.buttonLeft[0], 196 - 8 - 75);  // halving toward zero
    EXPECT_EQ(l.buttonLeft[1], 196 - 8 + 16);
    EXPECT_EQ(l.textPos.x(), 196 - 150);
}

TEST(PytanieLayout, ThreeButtonsAroundTheMiddle) {
    auto l = layoutPytanie(metrics(40, true, 81));  // minimum = 335
    EXPECT_EQ(l.size.width(), 335);
    EXPECT_EQ(l.buttonLeft[1], 167 - 40);
    EXPECT_EQ(l.buttonLeft[0], 127 - 81 - 16);
    EXPECT_EQ(l.buttonLeft[2], 127 + 81 + 16);

    l = layoutPytanie(metrics(400, true));  // needed = 492
    EXPECT_EQ(l.size.width(), 492);
    EXPECT_EQ(l.buttonLeft[1], 246 - 37);
}

TEST(PytanieLayout, CentredOnTheScreenHalvingEachSize) {
    EXPECT_EQ(centredOrigin(QSize(1280, 800), QSize(227, 101)), QPoint(640 - 113, 400 - 50));
    EXPECT_EQ(centredOrigin(QSize(1025, 769), QSize(300, 100)), QPoint(512 - 150, 384 - 50));
}
