#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace varnel::reg {

// What the question dialog's layout depends on, in pixels. All buttons are
// as wide as the first.
struct PytanieMetrics {
    int buttonWidth = 75;   // w
    int buttonHeight = 25;
    int textWidth = 0;      // t, the question text in the dialog's font
    int textHeight = 0;
    QRect icon{16, 16, 16, 16};
    bool threeButtons = false;
};

struct PytanieLayout {
    QSize size;            // client area of the dialog
    QPoint textPos;        // top-left corner of the question text
    int buttonLeft[3] = {0, 0, 0};
    int buttonTop = 0;
};

// The layout done before each question. With r = the icon's right edge
// (left + width) and needed = r + 30 + t + 30:
//  - two buttons: minimum = 2w + 76; a wider question makes the width needed
//    and puts the first button at width/2 - 8 - w, otherwise the width is the
//    minimum and the first button stands at 30; the second at first + w + 16;
//  - three buttons: minimum = 3w + 92, width = max(needed, minimum); the
//    second button centred at width/2 - w/2, the first w + 16 to its left,
//    the third w + 16 to its right;
//  - the text centred at width/2 - t/2.
// Halvings round toward zero. The height fits the icon or the text (the
// taller), then the buttons.
PytanieLayout layoutPytanie(const PytanieMetrics &m);

// Top-left corner of a window centred on a screen: screen/2 - window/2 in
// each direction, halvings toward zero.
QPoint centredOrigin(QSize screen, QSize window);

}  // namespace varnel::reg
